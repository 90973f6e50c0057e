#include "ledger.h"

#include "statement.h"

#include "month_key.h"
#include "month_sums_schema.h"

namespace sorakado {

std::int64_t Ledger::readFloor(const std::string& monthKey, const std::string& yearText) {
    std::int64_t values = 0;
    auto entries = Statement(
        db_, "SELECT DATAID, 年月日, 品目ID, 内容, 金額 FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2",
        "明細の読み込み");
    entries.bind(1, std::string_view(monthKey)).bind(2, prefixUpperBound(monthKey));
    while (entries.step()) {
        values += entries.int64(0) != 0;
        values += entries.text(1).has_value();
        values += entries.int64(2) != 0;
        values += entries.text(3).has_value();
        values += entries.amount(4).has_value();
    }
    for (const month_sums::Kind* kind : {&month_sums::incomes(), &month_sums::expenses()}) {
        auto figure =
            Statement(db_, std::string("SELECT 円, 万分の一 FROM ") + kind->table + " WHERE 年月 = ?1",
                      "月別合計の読み込み");
        for (int month = 1; month <= 12; ++month) {
            figure.reset();
            figure.bind(1, MonthKey::keyText(yearText, month));
            if (figure.step())
                values += figure.amount(0).has_value() + figure.amount(1).has_value();
        }
    }
    return values;
}

std::int64_t Ledger::searchFloor(const std::string& text) {
    Statement s(db_, "SELECT DATAID, 金額 FROM DATA WHERE 内容 LIKE ?1", "明細の検索");
    s.bind(1, "%" + text + "%");
    std::int64_t rows = 0;
    while (s.step()) {
        s.amount(1);
        ++rows;
    }
    return rows;
}

} // namespace sorakado
