#pragma once

// What `sorakado-ledger import` tells the user, in one place, in Japanese like the window.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace sorakado::legacy::import_texts {

inline std::string quotePath(const std::filesystem::path& path) {
    return "「" + path.string() + "」";
}

// Reading the old file.
inline constexpr const char* kLocaleFailed = "C ロケールが使えないため、数値を正しく読み取れません。";
inline constexpr const char* kIconvFailed = "UTF-16 から UTF-8 への文字コード変換が使えません。";
inline constexpr const char* kMemoDisabled =
    "環境変数 MDBOPTS に no_memo が含まれているため、長い文字列が空に"
    "なってしまいます。MDBOPTS を外してからやり直してください。";

inline std::string oldFileMissing(const std::filesystem::path& p) {
    return "旧台帳ファイルが見つかりません: " + quotePath(p);
}
inline std::string oldFileUnreadable(const std::filesystem::path& p, const std::string& why) {
    return "旧台帳ファイルを読み込めません（" + why + "）: " + quotePath(p);
}
inline std::string oldFileNotJet(const std::filesystem::path& p) {
    return quotePath(p) + " は Microsoft Access（Jet）のデータベースではありません。";
}
inline std::string oldFileNotJet4(const std::filesystem::path& p) {
    return quotePath(p) +
           " は Access のデータベースですが、旧版が使っていた Access 2000-2003（Jet 4.0）形式では"
           "ありません。";
}
inline std::string oldFileDamaged(const std::filesystem::path& p) {
    return quotePath(p) + " は途中で切れているか壊れています（ページを読み込めません）。";
}
inline std::string oldTableMissing(const std::filesystem::path& p, const std::string& table) {
    return quotePath(p) + " に表「" + table + "」がありません。Sorakado の台帳ではないか、壊れています。";
}
inline std::string oldColumnMissing(const std::filesystem::path& p, const std::string& table,
                                    const std::string& column) {
    return quotePath(p) + " の表「" + table + "」に列「" + column + "」がありません。";
}
inline std::string oldColumnType(const std::filesystem::path& p, const std::string& table,
                                 const std::string& column, const std::string& type) {
    return quotePath(p) + " の列「" + table + "." + column + "」は " + type + " 型のため、取り込めません。";
}
inline std::string oldRowsMissing(const std::filesystem::path& p, const std::string& table,
                                  std::uint64_t declared, std::uint64_t found) {
    return quotePath(p) + " は途中で切れているか壊れています（表「" + table + "」は " +
           std::to_string(declared) + " 行のはずですが、" + std::to_string(found) +
           " 行しか見つかりません）。";
}
inline std::string rowPlace(std::uint64_t page, int slot) {
    return "ページ " + std::to_string(page) + "、スロット " + std::to_string(slot);
}
// A row of a table without a key of its own (収入), or one whose key cannot be used.
inline std::string rowNumber(std::size_t number) {
    return std::to_string(number) + "行目";
}

// Writing the new ledger.
inline constexpr const char* kNothingWritten = "何も書き込んでいません。";
inline std::string targetExists(const std::filesystem::path& p) {
    return quotePath(p) +
           " はすでにあります。取り込みはファイルを上書きしません。別の名前を指定するか、先にこの"
           "ファイルを移動してください。";
}
inline std::string targetHasRows(const std::filesystem::path& p) {
    return quotePath(p) +
           " はすでにあり、行の入った台帳か、台帳ではないファイルです。取り込みが置き換えるのは行がひとつも"
           "ない空の台帳だけです。別の名前を指定するか、先にこのファイルを移動してください。";
}
inline std::string targetFolderMissing(const std::filesystem::path& p) {
    return "新しい台帳を置くフォルダーがありません: " + quotePath(p);
}
inline std::string writeFailed(const std::string& why) {
    return "新しい台帳を書き込めませんでした: " + why;
}
inline std::string checkFailed(const std::string& what) {
    return "新しい台帳を読み返すと、書き込んだ内容と一致しませんでした（" + what + "）。";
}
inline std::string publishFailed(const std::filesystem::path& p, const std::string& why) {
    return "新しい台帳に名前 " + quotePath(p) + " を付けられませんでした（" + why + "）。";
}

// Why a row was changed, kept out of view, refused or left for the user.
inline constexpr const char* kOneDigitMonth = "月が1桁のため、次のように書き直しました: ";
inline constexpr const char* kMemberGone = "その名前はもうありません";
inline constexpr const char* kMemberNull = "名前が指定されていません";
inline constexpr const char* kCategoryGone = "その品目はもうありません";
inline constexpr const char* kCategoryNull = "品目が指定されていません";
inline constexpr const char* kMonthKeyOdd = "年月が yyyy/mm の形ではありません";
inline constexpr const char* kDateOdd = "年月日が yyyy/mm/dd の形ではありません";
inline constexpr const char* kMonthShared = "同じ名前の月が1桁の行も同じ月を指しています。そのまま残しました";
inline constexpr const char* kKeyNull = "キーがありません";
inline constexpr const char* kKeyNotNumber = "キーが整数ではありません: ";
inline constexpr const char* kKeyTwice = "キーがそれより前の行ですでに使われています";
inline constexpr const char* kUnreadable = "旧台帳ファイルからこの行を読み込めませんでした";
inline constexpr const char* kAmountRounded = "金額の小数が4桁を超えるため、丸めました: ";
inline constexpr const char* kAmountNotNumber = "金額が数値ではありません: ";
inline constexpr const char* kAmountTooLarge = "金額が大きすぎて正確に保てません: ";
inline std::string monthCollision(const std::string& normalised) {
    return normalised + " と書き直すと、その名前にすでにある月と重なります。そのまま残しました";
}

// The report.
inline constexpr const char* kReportCounts = "表ごとの行数:";
inline std::string countLine(const std::string& table, std::size_t read, std::size_t written) {
    return "  " + table + ": 読み込み " + std::to_string(read) + " 行、書き込み " + std::to_string(written) +
           " 行";
}
inline constexpr const char* kReportChanged = "書き直して取り込んだ行";
inline constexpr const char* kReportHidden =
    "そのまま取り込んだものの、旧版と同じくプログラムには表示されない行";
inline constexpr const char* kReportNotImported = "取り込めなかった行";
inline constexpr const char* kReportDecisions = "判断が必要な行";
inline constexpr const char* kDecisionAdvice =
    "  "
    "これらの行はどれもそのまま残し、何も合算していません。プログラムは旧版と同じく、月が2桁（yyyy/"
    "mm）の行だけを"
    "表示します。1桁の行の金額もその月の分であれば、プログラムで表示されている収入に加えてください。";
inline constexpr const char* kReportComplete = "すべての行を取り込みました。";
inline constexpr const char* kReportIncomplete = "取り込めなかった行、または判断が必要な行があります（上を参"
                                                 "照）。それ以外はすべて新しい台帳に入っています。";
inline std::string reportTitle(const std::filesystem::path& from, const std::filesystem::path& to) {
    return quotePath(from) + " を " + quotePath(to) + " に取り込みました。";
}
// A section's heading: its title and how many rows it lists.
inline std::string rowCount(std::size_t n) {
    return "（" + std::to_string(n) + " 行）:";
}

// A damaged old file, found before the reading library follows a bad page pointer.
inline std::string oldCatalogueDamaged(const std::filesystem::path& p) {
    return quotePath(p) + " は途中で切れているか壊れています（表の一覧の定義（ページ "
                          "2）が、ファイルの中にないページか空の場所を"
                          "指しています）。";
}
inline std::string oldTableDamaged(const std::filesystem::path& p, const std::string& table,
                                   std::uint64_t page) {
    return quotePath(p) + " は途中で切れているか壊れています（表「" + table + "」の定義（ページ " +
           std::to_string(page) + "）が、ファイルの中にないページか空の場所を指しています）。";
}
inline std::string oldFileReadCrashed(const std::filesystem::path& p) {
    return quotePath(p) +
           " は壊れているため読み取れませんでした（読み取り中に読み取り処理が異常終了しました）。";
}
inline std::string importRunning(const std::filesystem::path& target) {
    return quotePath(target) +
           " への取り込みが別に実行中です。それが終わってから、もう一度実行してください。";
}
inline std::string importLockFailed(const std::filesystem::path& lock, const std::string& why) {
    return "取り込みの目印のファイル " + quotePath(lock) + " を作れません（" + why + "）。";
}
inline constexpr const char* kReportLeftoversRemoved =
    "中断された以前の取り込みが残したファイルを削除しました:";
inline constexpr const char* kReaderFailed = "旧台帳ファイルを読み取る処理を始められませんでした。";

} // namespace sorakado::legacy::import_texts
