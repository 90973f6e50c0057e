#pragma once

#include "store/amount.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorakado {

class Ledger;

// One cell of a list row as the window shows it.
struct FigureCell {
    QString text;
    std::optional<std::uint32_t> colour; // 0xRRGGBB; nullopt keeps the list's own text colour
    bool bold = false;

    bool operator==(const FigureCell&) const = default;
};

// One list row. cells holds exactly the cells the row has, column 1 first: a row may hold
// fewer cells than the list has columns (the clipboard copies exactly these).
struct FigureRow {
    QString key; // "@" and the record key; empty for separator, total, heading and summary rows
    std::vector<FigureCell> cells;

    bool operator==(const FigureRow&) const = default;
};

struct PickerEntry {
    QString text;
    std::int64_t data = 0; // the category key; 0 for the add-new entry

    bool operator==(const PickerEntry&) const = default;
};

// Everything one monthly rebuild puts on the window, computed before any control is touched,
// so a rebuild that fails changes nothing.
struct MonthFigures {
    QString incomeCaption;                   // Label1: 2006年4月の収入表示
    std::vector<FigureRow> incomeRows;       // ListView1
    std::vector<PickerEntry> categoryPicker; // Combo3: "追加==>" (0) first, then by name
    std::vector<FigureRow> categoryRows;     // ListView3
    std::vector<FigureRow> expenseRows;      // ListView2: month block, then the year summary
    QString incomeTotal;                     // Label20
    QString expenseTotal;                    // Label22
    QString difference;                      // Label24
    QString verdict;                         // Label25, two lines joined by CR LF
    std::uint32_t verdictColour = 0;         // Label25's text colour
};

// An amount as the lists show it: "\" and the amount; nothing at all reads "\0", as a zero does.
QString yenText(const std::optional<Amount>& amount);
// An entry's date as the lists show it: "2006/04/05" becomes "2006/04/05(水)"; a text that is not
// a real yyyy/mm/dd day is shown as it is stored.
QString listDateText(const std::optional<std::string>& storedDate);

// The income list's heading for a month: "2006", "04" give 2006年4月の収入表示.
QString incomeCaption(const QString& yearText, const QString& monthText);

// Reads the month from the ledger. yearText and monthText are the normalised selector texts
// ("2006", "04"). Returns nullopt when no member is registered: the window then asks the user
// to register one and leaves the category list, the picker and the status panel as they were.
// Throws LedgerError when a read fails.
// The key of a list row that stands for a record: "@" and the record key ("@12"); and the
// record key of a row key, empty for a row that stands for none.
QString rowKeyOf(const QString& recordKey);
QString recordKeyOf(const QString& rowKey);

std::optional<MonthFigures> buildMonth(Ledger& ledger, const QString& yearText, const QString& monthText);

} // namespace sorakado
