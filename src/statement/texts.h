#pragma once

// What the statement reader says about a file or a line it cannot take. The caller names the file
// and the line; these say why.

namespace sorakado::statement::texts {

inline constexpr const char* kCannotOpen = "ファイルを開けません: ";
inline constexpr const char* kTooLarge = "明細のファイルとしては大きすぎます（64MB まで）";
inline constexpr const char* kEmptyFile = "ファイルが空です";
inline constexpr const char* kNotText = "文字のファイルではありません（UTF-8 でも Shift_JIS でも読めません）";
inline constexpr const char* kBrokenQuote = "引用符（\"）が閉じていません";
inline constexpr const char* kNoDateColumn = "日付の列が見つかりません";
inline constexpr const char* kNoAmountColumn = "金額の列が見つかりません";
inline constexpr const char* kNoColumns = "日付と金額の列が見つかりません";
inline constexpr const char* kNoSuchDate = "存在しない日付です: ";
inline constexpr const char* kBadAmount = "金額が読めません: ";
inline constexpr const char* kMissingAmount = "金額がありません";

} // namespace sorakado::statement::texts
