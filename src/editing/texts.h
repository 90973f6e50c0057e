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

} // namespace sorakado::editing::texts
