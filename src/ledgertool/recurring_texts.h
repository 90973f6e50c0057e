#pragma once

// What `sorakado-ledger recurring` says.

#include <cstdint>
#include <string>

namespace sorakado::ledgertool::texts {

inline constexpr const char* kRecurringSynopsis =
    "list [台帳] | add --category 品目 --amount 金額 [--description 詳細] (--day 日 | --last-day) "
    "[--yearly 月] --from YYYY/MM [--until YYYY/MM] [台帳] | add --member 名前 --amount 金額 --from YYYY/MM "
    "[--until YYYY/MM] [台帳] | remove 定期ID [台帳]";
inline constexpr const char* kRecurringSummary =
    "定期明細（毎月・毎年の支出と毎月の収入）を一覧・登録・削除します。記入されるのは、次に Sorakado "
    "が台帳を開いたときです（今日までの分を一度だけ）。add と remove は Sorakado "
    "がその台帳を開いている間は何も"
    "しません。";

inline constexpr const char* kRecurringHeading =
    "定期ID\t品目・名前\t詳細\t金額\t予定\t最初の月\t最後の月\t次の日付";
inline constexpr const char* kRecurringNone = "定期明細はありません。";
inline std::string recurringAdded(std::int64_t key, const std::string& next) {
    return "定期明細を登録しました（定期ID " + std::to_string(key) + "）。" +
           (next.empty() ? std::string()
                         : "次の日付: " + next + "（Sorakado が台帳を開いたときに記入します）");
}
inline std::string recurringRemoved(std::int64_t key) {
    return "定期明細を削除しました（定期ID " + std::to_string(key) +
           "）。記入済みの明細・収入はそのまま残ります。";
}
inline std::string recurringMissingOption(const std::string& option) {
    return option + " を指定してください。";
}
inline std::string recurringBadValue(const std::string& option, const std::string& value) {
    return option + " の値が正しくありません: " + value;
}
inline constexpr const char* kRecurringDayOrLastDay =
    "--day と --last-day のどちらか一方を指定してください。";
inline constexpr const char* kRecurringCategoryOrMember =
    "--category と --member のどちらか一方を指定してください。";
inline constexpr const char* kRecurringIncomeOptions =
    "収入（--member）には --description、--day、--last-day、--yearly は指定できません。";
inline std::string recurringNoSuch(const char* what, const std::string& name) {
    return std::string(what) + "「" + name + "」は台帳にありません。";
}
inline std::string recurringAmbiguous(const char* what, const std::string& name) {
    return std::string(what) + "「" + name +
           "」が台帳に複数あります。Sorakado で名前を区別してからやり直してください。";
}
inline std::string recurringNoKey(std::int64_t key) {
    return "定期ID " + std::to_string(key) + " の定期明細は台帳にありません。";
}

} // namespace sorakado::ledgertool::texts
