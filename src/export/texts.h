#pragma once

// Texts of the spreadsheet export and of its file writing, UTF-8, as the user reads them.

namespace sorakado::exporting::texts {

// Headings of the CSV files.
inline constexpr const char* kDate = "日付";
inline constexpr const char* kCategoryName = "項目名";
inline constexpr const char* kDescription = "詳細";
inline constexpr const char* kAmount = "金額";
inline constexpr const char* kEntryKey = "明細ID";
inline constexpr const char* kCategoryKey = "品目ID";
inline constexpr const char* kMonth = "年月";
inline constexpr const char* kMemberName = "名前";
inline constexpr const char* kIncome = "収入";
inline constexpr const char* kMemberKey = "名前ID";
inline constexpr const char* kSpending = "出費";
inline constexpr const char* kDifference = "差額";
inline constexpr const char* kRecurringKey = "定期ID";
inline constexpr const char* kDay = "日"; // 0: the month's last day
inline constexpr const char* kYearlyMonth = "毎年の月";
inline constexpr const char* kSchedule = "予定";
inline constexpr const char* kFirstMonth = "最初の月";
inline constexpr const char* kLastMonth = "最後の月";
inline constexpr const char* kPosted = "記入済";

// Messages of the file writing; each one line, the file or folder in 「」.
inline constexpr const char* kFolderMissing = "書き出し先のフォルダー「%1」がありません。";
inline constexpr const char* kNotAFolder = "書き出し先の「%1」はフォルダーではありません。";
inline constexpr const char* kFolderNotWritable = "書き出し先のフォルダー「%1」に書き込めません。（%2）";
inline constexpr const char* kFileExists =
    "「%1」はすでにあります。上書きするときは --force を付けてください。";
inline constexpr const char* kWriteFailed = "「%1」を書き出せません。（%2）";
inline constexpr const char* kNothingWritten = "何も書き出していません。";

} // namespace sorakado::exporting::texts
