#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace sorakado::statement {

// One record of a CSV file and the line it starts on (1 for the first line).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// A line the reader could not take, and why (a Japanese text for the user).
struct LineProblem {
    int line = 0;
    QString why;
};

struct CsvRecords {
    std::vector<CsvRecord> records;
    std::vector<LineProblem> problems;
};

// Splits decoded text into records as RFC 4180 has them, with the leniency banks' files need:
// CR LF, LF or CR alone end a line, a quote inside an unquoted field is a plain character, and
// blank lines are left out. A quoted field that is never closed, or that goes on after its
// closing quote, is a broken quote: its record is reported and left out, and reading goes on
// with the line after the one it started on, so one bad line never swallows the rest.
CsvRecords splitCsv(const QString& text);

} // namespace sorakado::statement
