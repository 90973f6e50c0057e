#pragma once

#include "csv_records.h"
#include "decode.h"
#include "store/amount.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace sorakado::statement {

// A payment a statement lists (a refund is one with a negative amount).
struct StatementLine {
    int line = 0; // where its record starts in the file
    QDate date;
    QString description; // as the file has it, trimmed; two description columns joined by a space
    Amount amount;
};

struct StatementRead {
    Encoding encoding = Encoding::Utf8;
    std::optional<QString> fileError; // the file cannot be read at all: nothing of it is used
    std::vector<StatementLine> payments;
    int notPayments = 0; // deposits, dividers, subtotals, lines with no amount after the heading
    std::vector<LineProblem> problems; // lines that could not be read, by line number
};

// Reads a statement file as Japanese banks and card companies give it out: the encoding, a
// heading row after any preamble (or, failing one, the columns recognised from the contents),
// then one payment per line that has a date and an amount. Lines before the heading are the
// preamble; lines after it without a date are dividers or subtotals; a line whose date field
// is a date that does not exist, or whose amount cannot be read, is a problem.
StatementRead readStatement(const QByteArray& bytes);

// The same for a file; a file that cannot be opened, or is too large to be a month's statement,
// is a fileError.
StatementRead readStatementFile(const QString& path);

} // namespace sorakado::statement
