#pragma once

// What `sorakado-ledger` itself says: its help and the messages every verb shares. Japanese,
// like the window.

#include "sorakado_version.h"

#include <filesystem>
#include <string>

namespace sorakado::ledgertool::texts {

inline std::string quotePath(const std::filesystem::path& path) {
    return "「" + path.string() + "」";
}

inline constexpr const char* kVersion = "sorakado-ledger " SORAKADO_VERSION;

inline constexpr const char* kHelpHead =
    "使い方: sorakado-ledger コマンド [引数...]\n"
    "\n"
    "Sorakado "
    "の台帳ファイルを作成し、取り込み、守ります。台帳を省略すると、このプログラムと同じフォルダーの\n"
    "Sorakado.mdb（Sorakado が開く台帳）を使います。\n"
    "\n"
    "コマンド:";
inline constexpr const char* kHelpOptions = "  --help\n"
                                            "      この説明を表示します。\n"
                                            "  --version\n"
                                            "      版を表示します。";
inline constexpr const char* kHelpStatus =
    "終了ステータス:\n"
    "  0  完了しました。\n"
    "  1  できませんでした（check では台帳が壊れています）。理由を標準エラーに1行で表示します。\n"
    "     台帳は変更していません。\n"
    "  2  引数が正しくありません。\n"
    "  3  完了しましたが、注意が必要な行があります（import: 取り込めなかった行か判断が必要な行、\n"
    "     check: Sorakado の画面に表示されない行）。";

inline std::string unknownCommand(const std::string& verb) {
    return "コマンド「" + verb + "」はありません。使い方は sorakado-ledger --help で表示します。";
}
inline constexpr const char* kNoCommand =
    "コマンドを指定してください。使い方は sorakado-ledger --help で表示します。";
inline std::string wrongArguments(const std::string& verb, const std::string& synopsis) {
    return "引数が正しくありません。使い方: sorakado-ledger " + verb + (synopsis[0] ? " " : "") + synopsis;
}
inline std::string unexpectedError(const std::string& what) {
    return "予期しないエラーが起きました（" + what + "）。";
}

// create
inline std::string created(const std::filesystem::path& p) {
    return "台帳を作成しました: " + quotePath(p);
}

} // namespace sorakado::ledgertool::texts
