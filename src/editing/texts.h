#pragma once

#include <QString>

// The messages, questions and titles of the edit panels, exactly as the user sees them.
namespace sorakado::editing::texts {

// Members.
inline const QString kNameAddTitle = QStringLiteral("名前入力");
inline const QString kNameChangeTitle = QStringLiteral("名前変更");
inline const QString kBlankName = QStringLiteral("名前は空白禁止！！");
inline const QString kDeleteNameSuffix = QStringLiteral(" 削除しますか？"); // name + this
// A second line when the member's incomes go with it: prefix + count + suffix.
inline const QString kNameIncomesGoPrefix = QStringLiteral("この名前の収入 ");
inline const QString kNameIncomesGoSuffix = QStringLiteral("件も削除されます。");
inline const QString kRenameNamePrefix = QStringLiteral("名前 "); // + old + を + new + …
inline const QString kRenameJoin = QStringLiteral("を");
inline const QString kRenameSuffix = QStringLiteral("に変更しますがいいですか？");

// Incomes.
inline const QString kIncomeTitleSuffix = QStringLiteral("の収入を入力"); // name + this
inline const QString kBlankAmount = QStringLiteral("金額は空白禁止！！");
inline const QString kDigitsOnly = QStringLiteral("数字のみ入力して下さい！！");
// An amount with five or more decimals: the ledger keeps four.
inline const QString kFourDecimalsAtMost = QStringLiteral("小数点以下は４桁までしか保存できません！！");

// Categories.
inline const QString kBlankCategory = QStringLiteral("空白はいけません！！");
inline const QString kDeleteSuffix = QStringLiteral("を削除しますか？"); // what + this
// A second line when the category's entries go with it: prefix + count + suffix.
inline const QString kCategoryEntriesGoPrefix = QStringLiteral("この品目の明細 ");
inline const QString kCategoryEntriesGoSuffix = QStringLiteral("件も削除されます。");

// Expense entries.
inline const QString kEntryAddTitle = QStringLiteral("明 細 追 加");
inline const QString kEntryChangeTitle = QStringLiteral("明 細 変 更");
inline const QString kAddCategoriesFirst = QStringLiteral("明細を追加する前に品目を追加して下さい");
inline const QString kPickACategory = QStringLiteral("品目は必ず選択して！！");
inline const QString kLineBreak = QStringLiteral("\r\n");

// Repeating entries.
inline const QString kRecurringMenuItem = QStringLiteral("定期明細…");
inline const QString kRecurringTitle = QStringLiteral("定期明細");
inline const QString kRecurringTargetHeading = QStringLiteral("品目・名前");
inline const QString kRecurringDescriptionHeading = QStringLiteral("詳細");
inline const QString kRecurringAmountHeading = QStringLiteral("金額");
inline const QString kRecurringScheduleHeading = QStringLiteral("予定");
inline const QString kRecurringFromHeading = QStringLiteral("最初の月");
inline const QString kRecurringUntilHeading = QStringLiteral("最後の月");
inline const QString kRecurringUntilCaption = QStringLiteral("最後の月（なければ空白）");
inline const QString kRecurringNextHeading = QStringLiteral("次の日付");
inline const QString kRecurringKindCaption = QStringLiteral("種類");
inline const QString kRecurringTargetCaption = QStringLiteral("品目・名前");
inline const QString kRecurringExpense = QStringLiteral("支出");
inline const QString kRecurringIncome = QStringLiteral("収入");
inline const QString kRecurringIncomeOf = QStringLiteral("の収入");
inline const QString kRecurringMonthly = QStringLiteral("毎月");
inline const QString kRecurringYearly = QStringLiteral("毎年");
inline const QString kRecurringMonthSuffix = QStringLiteral("月");
inline const QString kRecurringDaySuffix = QStringLiteral("日");
inline const QString kRecurringLastDay = QStringLiteral("末日");
inline const QString kRecurringAdd = QStringLiteral("追加");
inline const QString kRecurringChange = QStringLiteral("変更");
inline const QString kRecurringDelete = QStringLiteral("削除");
inline const QString kRecurringClose = QStringLiteral("閉じる");
inline const QString kRecurringPickAMember = QStringLiteral("名前は必ず選択して！！");
inline const QString kRecurringBadFrom = QStringLiteral("最初の月は 2006/04 のように入力して下さい");
inline const QString kRecurringBadUntil =
    QStringLiteral("最後の月は 2006/04 のように入力して下さい（終わりがなければ空白）");
inline const QString kRecurringDeleteSuffix = QStringLiteral(" の定期明細を削除しますか？");
// A second line when the category's (member's) repeating entries go with it: prefix + count + suffix.
inline const QString kCategoryRecurringGoPrefix = QStringLiteral("この品目の定期明細 ");
inline const QString kNameRecurringGoPrefix = QStringLiteral("この名前の定期明細 ");
inline const QString kRecurringGoSuffix = QStringLiteral("件も削除されます。");

// Importing statements.
inline const QString kImportMenuItem = QStringLiteral("明細の取り込み…");
inline const QString kImportTitle = QStringLiteral("明細の取り込み");
inline const QString kImportChooseFile = QStringLiteral("取り込む明細のファイル");
inline const QString kImportFileFilter =
    QStringLiteral("明細 (*.csv *.CSV *.txt *.TXT);;すべてのファイル (*)");
inline const QString kImportStateNew = QStringLiteral("新規");
inline const QString kImportStateRegistered = QStringLiteral("登録済み");
inline const QString kImportStateNeedsCategory = QStringLiteral("品目を選んで下さい");
inline const QString kImportCheckHeading = QStringLiteral("取込");
inline const QString kImportDateHeading = QStringLiteral("日付");
inline const QString kImportCategoryHeading = QStringLiteral("品目");
inline const QString kImportDescriptionHeading = QStringLiteral("詳細");
inline const QString kImportAmountHeading = QStringLiteral("金額");
inline const QString kImportStateHeading = QStringLiteral("状態");
inline const QString kImportOk = QStringLiteral("OK");
inline const QString kImportCancel = QStringLiteral("キャンセル");
inline const QString kImportPickCategory = QStringLiteral("品目を選んで下さい");
// 「file」 + this + why
inline const QString kImportFileUnreadable = QStringLiteral(" は取り込めません。\r\n");
inline const QString kImportNothing = QStringLiteral(" には取り込める支払いの明細がありません。");
inline QString importSummary(int rows, int notPayments, int unreadable) {
    return QStringLiteral(
               "支払いの明細 %1 件　支払いでない行 %2 行（入金・小計・区切りなど）　読めない行 %3 行")
        .arg(rows)
        .arg(notPayments)
        .arg(unreadable);
}
inline QString importProblem(int line, const QString& why) {
    return QStringLiteral("%1行目: %2").arg(line).arg(why);
}

} // namespace sorakado::editing::texts
