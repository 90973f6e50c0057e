#pragma once

// What `sorakado-ledger statement` says.

#include "tool_texts.h"

#include <QString>

#include <filesystem>
#include <string>

namespace sorakado::ledgertool::texts {

inline constexpr const char* kStatementSynopsis = "[--dry-run] [--ledger 台帳] 明細ファイル...";
inline constexpr const char* kStatementSummary =
    "銀行やカード会社の明細（CSV: UTF-8 か Shift_JIS）を読み、支払いの行ごとに 日付・品目・内容・金額・状態"
    "（新規/登録済み/"
    "品目未定）をタブ区切りで表示し、品目の決まった新しい行をすべてのファイルで1回の変更として"
    "台帳に書き込みます。品目は台帳の履歴から推測し、同じ日付・金額・内容の明細がすでにあれば書き込みません。"
    "--dry-run では書き込みません。すべて書き込んだか登録済みなら 0、品目未定や読めない行があれば 3、"
    "1件も書き込まなければ 1 で終わります（--dry-run では書き込むはずの行で数えます）。";

inline constexpr const char* kStateNew = "新規";
inline constexpr const char* kStateRegistered = "登録済み";
inline constexpr const char* kStateNeedsCategory = "品目未定";

inline std::string statementFileUnreadable(const std::filesystem::path& file, const QString& why) {
    return quotePath(file) + ": " + why.toStdString() + "。このファイルからは何も取り込みません。";
}

inline std::string statementLineUnreadable(const std::filesystem::path& file, int line, const QString& why) {
    return quotePath(file) + " " + std::to_string(line) + "行目: " + why.toStdString();
}

struct StatementCounts {
    std::size_t rows = 0, fresh = 0, registered = 0, waiting = 0, notPayments = 0, unreadableLines = 0,
                unreadableFiles = 0, written = 0;
};

inline std::string statementSummary(const StatementCounts& c, bool dryRun) {
    std::string s = "明細 " + std::to_string(c.rows) + " 件: 新規 " + std::to_string(c.fresh) +
                    " 件、登録済み " + std::to_string(c.registered) + " 件、品目未定 " +
                    std::to_string(c.waiting) + " 件。支払いでない行 " + std::to_string(c.notPayments) +
                    " 行、読めない行 " + std::to_string(c.unreadableLines) + " 行";
    if (c.unreadableFiles > 0)
        s += "、読めないファイル " + std::to_string(c.unreadableFiles) + " 個";
    s += "。";
    if (dryRun)
        s +=
            "--dry-run のため台帳には書き込んでいません（書き込むのは " + std::to_string(c.fresh) + " 件）。";
    else
        s += "台帳に " + std::to_string(c.written) + " 件を書き込みました。";
    return s;
}

} // namespace sorakado::ledgertool::texts
