#pragma once

// What `sorakado-ledger` itself says: its help and the messages every verb shares. Japanese,
// like the window.

#include "sorakado_version.h"
#include "store/ledger_error.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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
    "Sorakado.mdb（Sorakado が開く台帳）を使います。どのコマンドも --ledger 台帳 で台帳を指定できます。\n"
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
    "     check: Sorakado の画面に表示されない行か、行と合わない月ごとの合計）。";

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

inline std::string ledgerMissing(const std::filesystem::path& p) {
    return std::string(kLedgerMissing) + " " + quotePath(p);
}
inline std::string programRunning(const std::filesystem::path& ledger) {
    return "Sorakado がこの台帳を開いているため、何もしません。Sorakado を終了してからやり直してください: " +
           quotePath(ledger);
}
// holder: the other command's note, "sorakado-ledger restore" and the like.
inline std::string otherCommandRunning(const std::string& holder, const std::filesystem::path& ledger) {
    return "別のコマンド（" + holder +
           "）がこの台帳で作業中のため、何もしません。そのコマンドが終わってからやり直してください: " +
           quotePath(ledger);
}
inline std::string lockUnusable(const std::filesystem::path& lockFile, const std::string& why) {
    return "Sorakado がこの台帳を開いているかどうかを示すファイル " + quotePath(lockFile) +
           " を使えないため、何もしません（" + why +
           "）。Sorakado を終了し、そのファイルを削除してからやり直してください。";
}
inline std::string ledgerGivenTwice() {
    return "台帳は --ledger か引数のどちらか一方で指定してください。";
}

// What writers killed earlier left in a folder, tidied before a write.
inline std::string interruptedSetFinished(const std::vector<std::filesystem::path>& files) {
    std::string line = "中断されていた書き出しを最後まで済ませました:";
    for (const auto& f : files)
        line += " " + quotePath(f);
    return line;
}
inline std::string leftoversRemoved(const std::filesystem::path& folder,
                                    const std::vector<std::string>& names) {
    std::string line = "中断された書き込みが " +
                       quotePath(folder.empty() ? std::filesystem::path(".") : folder) +
                       " に残した一時ファイルを削除しました:";
    for (const auto& name : names)
        line += " " + name;
    return line;
}

// backup
inline std::string backupMade(const std::filesystem::path& p) {
    return "バックアップを作りました: " + quotePath(p);
}
inline std::string backupRemoved(const std::filesystem::path& p) {
    return "古いバックアップを削除しました: " + quotePath(p);
}
inline std::string backupFailed(const std::string& why) {
    return "バックアップを作れませんでした。" + why;
}

// restore
inline std::string restored(const std::filesystem::path& from, const std::filesystem::path& ledger) {
    return quotePath(from) + " から台帳 " + quotePath(ledger) + " を復元しました。";
}
inline std::string keptAsBackup(const std::filesystem::path& p) {
    return "それまでの台帳はバックアップとして残しました: " + quotePath(p);
}
inline std::string keptDamaged(const std::filesystem::path& p) {
    return "それまでの台帳は台帳として読めなかったため、そのままの中身で残しました: " + quotePath(p);
}

// check
inline std::string checkClean(const std::filesystem::path& p) {
    return "台帳に問題はありません: " + quotePath(p);
}
inline constexpr const char* kCheckDamageHeading = "台帳の壊れているところ:";
inline std::string checkMissingShape(const std::string& what) {
    return "表または列「" + what + "」がありません";
}
inline std::string checkDamaged(const std::filesystem::path& p, const std::string& first) {
    return "台帳が壊れています（" + first +
           "）。バックアップから sorakado-ledger restore で戻せます: " + quotePath(p);
}
inline std::string checkHiddenHeading(std::size_t n) {
    return "Sorakado の画面に表示されない行があります（" + std::to_string(n) + " 行）:";
}
inline constexpr const char* kCheckHiddenAdvice =
    "これらの行は台帳に残っていますが、どの一覧にも出ません。名前や品目を登録し直すか、年月・年月日を直すと表"
    "示されます。";
inline std::string badRecurringHeading(std::size_t n) {
    return "記入できない定期明細があります（" + std::to_string(n) + " 行）:";
}
inline constexpr const char* kBadRecurringAdvice =
    "これらの定期明細は記入されません。sorakado-ledger recurring remove で削除して登録し直してください。";
inline std::string sumDifferencesHeading(std::size_t n) {
    return "年の集計に使う月ごとの合計が、行から数え直した値と違います（" + std::to_string(n) + " か月）:";
}
inline std::string sumFigure(const std::optional<std::string>& amount, bool exact, std::int64_t count) {
    const std::string rows = "（" + std::to_string(count) + " 件）";
    if (!exact)
        return "合計できない金額を含む" + rows;
    return (amount ? *amount + " 円" : "なし") + rows;
}
inline std::string sumDifference(const std::string& table, const std::string& month,
                                 const std::string& stored, const std::string& counted) {
    return table + " " + month + ": 記録 " + stored + "、数え直し " + counted;
}
inline constexpr const char* kSumDifferencesAdvice =
    "これらの月は年の集計が違って表示されます。sorakado-ledger check --recount で行から数え直して直せます。";
inline std::string sumsRecounted(std::size_t n) {
    return "月ごとの合計を行から数え直しました（" + std::to_string(n) + " か月を直しました）。";
}
inline std::string replacedEmptyLedger(const std::filesystem::path& p) {
    return "行のない空の台帳 " + quotePath(p) + " を置き換えました。";
}

// history
inline constexpr const char* kHistorySynopsis = "[--all] [台帳]";
inline constexpr const char* kHistorySummary =
    "Sorakado "
    "で行った変更の履歴（元に戻せる手順）を新しい順に、日時・内容・変わった行の数とともに表示します。"
    "元に戻した手順には「取消済」と付けます。--all を付けなければ新しい "
    "20 件まで、付ければ残っているすべてを表示します。";
inline constexpr const char* kHistoryEmpty = "変更の履歴はありません。";
inline std::string historyLine(const std::string& when, const std::string& label, std::int64_t rows,
                               bool undone) {
    return when + "  " + label + "  " + std::to_string(rows) + " 行" + (undone ? "  取消済" : "");
}
inline std::string historyMore(std::size_t shown) {
    return "（新しい " + std::to_string(shown) + " 件を表示しました。すべては --all で表示します）";
}

} // namespace sorakado::ledgertool::texts
