#include "csv_records.h"

#include "texts.h"

namespace sorakado::statement {

namespace {

bool lineEnd(QChar c) {
    return c == u'\n' || c == u'\r';
}

// Moves past the line end at pos (CR LF counts as one) and counts the line.
qsizetype skipLineEnd(const QString& text, qsizetype pos, int& line) {
    if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
        ++pos;
    ++line;
    return pos + 1;
}

qsizetype nextLine(const QString& text, qsizetype pos) {
    while (pos < text.size() && !lineEnd(text[pos]))
        ++pos;
    return pos;
}

struct RecordRead {
    bool broken = false;
    QStringList fields;
    qsizetype end = 0; // position after the record's line end
    int nextLine = 0;  // line number of what follows
};

RecordRead readRecord(const QString& text, qsizetype pos, int line) {
    RecordRead r;
    QString field;
    bool quoted = false, afterQuote = false;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (quoted) {
            if (c == u'"') {
                if (pos + 1 < text.size() && text[pos + 1] == u'"') {
                    field += u'"';
                    pos += 2;
                    continue;
                }
                quoted = false;
                afterQuote = true;
                ++pos;
                continue;
            }
            if (lineEnd(c)) {
                field += u'\n';
                pos = skipLineEnd(text, pos, line);
                continue;
            }
            field += c;
            ++pos;
            continue;
        }
        if (c == u',') {
            r.fields.push_back(field);
            field.clear();
            afterQuote = false;
            ++pos;
            continue;
        }
        if (lineEnd(c)) {
            r.fields.push_back(field);
            r.end = skipLineEnd(text, pos, line);
            r.nextLine = line;
            return r;
        }
        if (afterQuote) {
            // Blanks after a closing quote are padding; anything else means the quotes do not pair.
            if (c == u' ' || c == u'\t') {
                ++pos;
                continue;
            }
            r.broken = true;
            return r;
        }
        if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
            ++pos;
            continue;
        }
        field += c;
        ++pos;
    }
    if (quoted) {
        r.broken = true;
        return r;
    }
    r.fields.push_back(field);
    r.end = pos;
    r.nextLine = line;
    return r;
}

bool blank(const QStringList& fields) {
    for (const auto& f : fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

CsvRecords splitCsv(const QString& text) {
    CsvRecords out;
    qsizetype pos = 0;
    int line = 1;
    while (pos < text.size()) {
        RecordRead r = readRecord(text, pos, line);
        if (r.broken) {
            out.problems.push_back({line, QString::fromUtf8(texts::kBrokenQuote)});
            pos = nextLine(text, pos);
            if (pos < text.size())
                pos = skipLineEnd(text, pos, line);
            continue;
        }
        if (!blank(r.fields))
            out.records.push_back({line, std::move(r.fields)});
        pos = r.end;
        line = r.nextLine;
    }
    return out;
}

} // namespace sorakado::statement
