#pragma once

#include "csv_records.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sorakado::statement {

// What a column of a statement holds, as far as an import cares.
enum class ColumnRole { Other, Date, Description, Amount, Deposit };

// The role a heading names: the names banks and card companies use, compared after folding widths
// and blanks (ご利用金額, 出金金額(円), 出金金額（円）). Balance, memo and payment-type columns are Other.
ColumnRole headingRole(const QString& heading);

// Where the fields an import reads stand in a row. descriptions keeps file order: a file with
// two description columns (摘要 and 摘要内容) gives both.
struct ColumnMap {
    int date = -1;
    std::vector<int> descriptions;
    int amount = -1;  // the payment (withdrawal) column, or the one signed amount column
    int deposit = -1; // a separate deposit column, when the file has one
};

// The map a heading row gives: the first date column, every description column, and the amount
// column whose name comes first in the order of preference (利用金額 before 支払総額). nullopt
// when the row names no date and no amount column (it is no heading row).
struct HeadingMatch {
    ColumnMap map;
    bool hasDate = false, hasAmount = false;
};
std::optional<HeadingMatch> matchHeading(const QStringList& fields);

// For a file without a heading row: the columns recognised from the records' contents. A date
// column holds dates in most records; the amount column is the first column after it holding
// amounts in most records; the description is the text column between them (or the first text
// column). nullopt when no date or no amount column stands out.
std::optional<ColumnMap> recogniseColumns(const std::vector<CsvRecord>& records);

} // namespace sorakado::statement
