#pragma once

#include <stdexcept>
#include <string>

namespace sorakado {

// A missing ledger's message: also how to make one.
inline constexpr const char* kLedgerMissing = "台帳ファイルが見つかりません。sorakado-ledger create "
                                              "で空の台帳を作るか、旧版の台帳を sorakado-ledger import で"
                                              "取り込んでください。";

// A folder has the ledger's name: no file to open, and nothing to replace it with either.
inline constexpr const char* kFolderInsteadOfLedger =
    "台帳ファイルの場所にあるのはフォルダーで、台帳ファイルではありません。フォルダーの名前を"
    "変えるか別の場所に移してから、やり直してください。";

// A ledger a later version of Sorakado has made: opened by this one, its changes would bypass
// what the later version keeps beside the rows, so it is left alone.
inline constexpr const char* kLedgerTooNew =
    "この台帳ファイルは新しい版の Sorakado で作られたため、この版では開け"
    "ません。新しい版の Sorakado を使ってください。";

// What went wrong with the ledger, told so the user can act on it. The description is
// Japanese and complete (what failed, and why, or the path); only the UI shows it.
class LedgerError : public std::runtime_error {
public:
    enum class Kind { Missing, ReadOnly, NoPermission, Locked, NotLedger, MissingTable, Exists, Failed };

    LedgerError(Kind kind, std::string description) : std::runtime_error(description), kind_(kind) {}

    Kind kind() const { return kind_; }
    std::string description() const { return what(); }

private:
    Kind kind_;
};

} // namespace sorakado
