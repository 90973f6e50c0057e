#pragma once

// What the export and report verbs of sorakado-ledger say, UTF-8, one line each.

#include "tool_texts.h"

#include <filesystem>
#include <string>

namespace sorakado::ledgertool::texts {

inline constexpr const char* kExportSynopsis = "[--year 年] [--force] [--ledger 台帳] フォルダー";
inline constexpr const char* kExportSummary =
    "台帳（--year では1年分）を表計算ソフトで開ける CSV ファイル（明細・収入・家族・項目・月別集計）として"
    "フォルダーに書き出します。既存のファイルは --force がなければ上書きしません。";
inline constexpr const char* kReportSynopsis = "[--force] [--ledger 台帳] 年 [出力.pdf]";
inline constexpr const char* kReportSummary =
    "1年分の収入と出費をグラフと表にした A4 の PDF を作ります（既定: sorakado-年.pdf）。既存のファイルは "
    "--force がなければ上書きしません。";

inline std::string badYear(const std::string& text) {
    return "年は1900から3000までの4桁の数字で指定してください（「" + text + "」は使えません）。";
}
inline std::string ledgerUnreadable(const std::string& description) {
    return description + " 何も書き出していません。";
}
inline std::string written(const std::filesystem::path& p) {
    return "書き出しました: " + quotePath(p);
}

} // namespace sorakado::ledgertool::texts
