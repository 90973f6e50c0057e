#include "reader.h"

#include "columns.h"
#include "texts.h"
#include "values.h"

#include <QFile>

#include <algorithm>

namespace sorakado::statement {

namespace {

// A heading row comes before the first payment; banks put at most a few lines of preamble above it.
constexpr std::size_t kHeadingSearch = 30;

QString field(const CsvRecord& r, int column) {
    return column >= 0 && column < r.fields.size() ? r.fields[column] : QString();
}

QString description(const CsvRecord& r, const ColumnMap& map) {
    QStringList parts;
    for (int column : map.descriptions) {
        const QString part = field(r, column).trimmed();
        if (!part.isEmpty())
            parts.push_back(part);
    }
    return parts.join(u' ');
}

void readRecord(const CsvRecord& r, const ColumnMap& map, StatementRead& out) {
    const QString dateText = field(r, map.date);
    const DateRead date = readDate(dateText);
    if (date.kind == DateRead::Kind::NoSuchDate) {
        out.problems.push_back({r.line, QString::fromUtf8(texts::kNoSuchDate) + dateText.trimmed()});
        return;
    }
    if (date.kind == DateRead::Kind::NotADate) {
        ++out.notPayments;
        return;
    }
    const QString paidText = field(r, map.amount);
    const AmountRead paid = readAmount(paidText);
    if (paid.kind == AmountRead::Kind::Unreadable) {
        out.problems.push_back({r.line, QString::fromUtf8(texts::kBadAmount) + paidText.trimmed()});
        return;
    }
    if (paid.kind == AmountRead::Kind::Empty || paid.amount == Amount()) {
        // A deposit, a carried-over balance or a note: no payment. A deposit column that cannot
        // be read is still worth telling, as the line may be a payment misplaced.
        if (map.deposit >= 0 && readAmount(field(r, map.deposit)).kind == AmountRead::Kind::Unreadable)
            out.problems.push_back(
                {r.line, QString::fromUtf8(texts::kBadAmount) + field(r, map.deposit).trimmed()});
        else
            ++out.notPayments;
        return;
    }
    out.payments.push_back({r.line, date.date, description(r, map), paid.amount});
}

} // namespace

StatementRead readStatement(const QByteArray& bytes) {
    StatementRead out;
    DecodedText decoded = decodeStatement(bytes);
    out.encoding = decoded.encoding;
    if (decoded.error) {
        out.fileError = decoded.error;
        return out;
    }
    CsvRecords csv = splitCsv(decoded.text);
    out.problems = std::move(csv.problems);

    std::optional<ColumnMap> map;
    std::size_t first = 0;
    const std::size_t search = std::min(csv.records.size(), kHeadingSearch);
    for (std::size_t i = 0; i < search; ++i) {
        auto heading = matchHeading(csv.records[i].fields);
        if (!heading)
            continue;
        // A preamble line such as "お支払日,2026/12/10" names a date but is no heading: a heading
        // names both, or names one and holds no date itself.
        bool holdsDate = false;
        for (const auto& f : csv.records[i].fields)
            holdsDate = holdsDate || readDate(f).kind != DateRead::Kind::NotADate;
        if (holdsDate)
            continue;
        if (!heading->hasDate || !heading->hasAmount) {
            if (heading->hasDate != heading->hasAmount && i + 1 < csv.records.size()) {
                out.fileError =
                    QString::fromUtf8(heading->hasDate ? texts::kNoAmountColumn : texts::kNoDateColumn);
                out.problems.clear();
                return out;
            }
            continue;
        }
        map = heading->map;
        first = i + 1;
        break;
    }
    if (!map) {
        map = recogniseColumns(csv.records);
        if (!map) {
            out.fileError = QString::fromUtf8(texts::kNoColumns);
            out.problems.clear();
            return out;
        }
        // Without a heading, whatever comes before the first dated line is preamble too.
        while (first < csv.records.size() &&
               readDate(field(csv.records[first], map->date)).kind == DateRead::Kind::NotADate)
            ++first;
    }
    for (std::size_t i = first; i < csv.records.size(); ++i)
        readRecord(csv.records[i], *map, out);
    std::sort(out.problems.begin(), out.problems.end(),
              [](const LineProblem& a, const LineProblem& b) { return a.line < b.line; });
    return out;
}

StatementRead readStatementFile(const QString& path) {
    // Years of a family's statements stay far below this; a larger file is something else, and
    // reading it whole would only make the user wait.
    constexpr qint64 kLargest = 64 * 1024 * 1024;
    QFile file(path);
    StatementRead out;
    if (!file.open(QIODevice::ReadOnly)) {
        out.fileError = QString::fromUtf8(texts::kCannotOpen) + file.errorString();
        return out;
    }
    if (file.size() > kLargest) {
        out.fileError = QString::fromUtf8(texts::kTooLarge);
        return out;
    }
    return readStatement(file.readAll());
}

} // namespace sorakado::statement
