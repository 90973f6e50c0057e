#pragma once

// The text that names a step in the menus and in `sorakado-ledger history`: what was done and,
// where it is one record, which. "明細削除 (12/05 食費 \1200)", "品目削除 (食費、明細12件)".

#include "amount.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sorakado::history::labels {

inline constexpr const char* kMemberAdded = "名前登録";
inline constexpr const char* kMemberRenamed = "名前変更";
inline constexpr const char* kMemberDeleted = "名前削除";
inline constexpr const char* kIncomeAdded = "収入登録";
inline constexpr const char* kIncomeChanged = "収入変更";
inline constexpr const char* kIncomeRemoved = "収入削除";
inline constexpr const char* kCategoryAdded = "品目追加";
inline constexpr const char* kCategoryRenamed = "品目変更";
inline constexpr const char* kCategoryDeleted = "品目削除";
inline constexpr const char* kEntryAdded = "明細入力";
inline constexpr const char* kEntryChanged = "明細変更";
inline constexpr const char* kEntryDeleted = "明細削除";
inline constexpr const char* kRecurringAdded = "定期明細追加";
inline constexpr const char* kRecurringChanged = "定期明細変更";
inline constexpr const char* kRecurringDeleted = "定期明細削除";

// A name as a label shows it: at most kNameLength characters, a longer one cut with "…"; a
// Null name shows as nothing.
inline constexpr std::size_t kNameLength = 16;
std::string shortName(const std::optional<std::string>& name);

// "名前登録 (花子)", "名前変更 (花子 → はな)", "名前削除 (花子、収入3件)" (no count without incomes).
std::string member(const char* what, const std::optional<std::string>& name);
std::string memberRenamed(const std::optional<std::string>& from, const std::optional<std::string>& to);
std::string memberDeleted(const std::optional<std::string>& name, std::int64_t incomes);
// "収入変更 (2006/04 花子 \200000)"
std::string income(const char* what, const std::string& monthKey, const std::optional<std::string>& member,
                   std::optional<Amount> amount);
// "品目追加 (食費)", "品目変更 (食費 → 食料)", "品目削除 (食費、明細12件)".
std::string category(const char* what, const std::optional<std::string>& name);
std::string categoryRenamed(const std::optional<std::string>& from, const std::optional<std::string>& to);
std::string categoryDeleted(const std::optional<std::string>& name, std::int64_t entries);
// "明細削除 (12/05 食費 \1200)": the date without its year when it is "yyyy/mm/dd".
std::string entry(const char* what, const std::optional<std::string>& date,
                  const std::optional<std::string>& category, std::optional<Amount> amount);

// "定期明細追加 (家賃 \\80000)": the category's (member's) name and the amount.
std::string recurring(const char* what, const std::optional<std::string>& name, std::optional<Amount> amount);
// "定期明細の記入 (3件)": a posting run.
std::string recurringPosted(std::size_t written);

} // namespace sorakado::history::labels
