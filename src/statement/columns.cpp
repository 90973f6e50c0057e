#include "columns.h"

#include "values.h"

#include <QRegularExpression>

#include <array>
#include <map>

namespace sorakado::statement {

namespace {

// Heading names in the folded form compare() gives them. Amount names are in order of
// preference: a card statement that has both the amount used and this month's share of it
// lists what was spent.
const std::array<QStringView, 11> kDateNames{
    u"日付",   u"年月日",   u"利用日", u"ご利用日", u"ご利用年月日", u"利用日/キャンセル日",
    u"取引日", u"お取引日", u"取扱日", u"お取扱日", u"ご利用日付"};
const std::array<QStringView, 15> kDescriptionNames{
    u"摘要",     u"摘要内容", u"内容",       u"お取り扱い内容", u"お取扱内容",
    u"取扱内容", u"利用店名", u"ご利用店名", u"ご利用箇所",     u"利用店名・商品名",
    u"ご利用先", u"利用先",   u"店名",       u"ご利用内容",     u"利用内容"};
const std::array<QStringView, 16> kAmountNames{u"利用金額",   u"ご利用金額", u"ご利用額", u"利用額",
                                               u"金額",       u"支払い金額", u"支払金額", u"お支払い金額",
                                               u"お支払金額", u"出金金額",   u"お引出し", u"お引き出し",
                                               u"引出金額",   u"出金",       u"お支払い", u"支払総額"};
const std::array<QStringView, 10> kDepositNames{u"預かり金額", u"預り金額",    u"お預かり金額", u"入金金額",
                                                u"お預入れ",   u"お預け入れ",  u"預入金額",     u"入金",
                                                u"お預入",     u"預け入れ金額"};

// Widths, blanks and a trailing unit in brackets fold away: 出金金額（円） is 出金金額, and
// 年月日（和暦） is 年月日.
QString compare(const QString& heading) {
    QString t = heading.normalized(QString::NormalizationForm_KC);
    t.remove(QRegularExpression(QStringLiteral(R"(\s)")));
    static const QRegularExpression unit(QStringLiteral(R"(\((?:円|和暦|西暦|税込)\)$)"));
    t.remove(unit);
    return t;
}

template <std::size_t N> int indexIn(const std::array<QStringView, N>& names, const QString& key) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == key)
            return int(i);
    return -1;
}

int amountPreference(const QString& heading) {
    return indexIn(kAmountNames, compare(heading));
}

bool mostly(int hits, int of) {
    return of > 0 && hits * 2 > of;
}

} // namespace

ColumnRole headingRole(const QString& heading) {
    const QString key = compare(heading);
    if (indexIn(kDateNames, key) >= 0)
        return ColumnRole::Date;
    if (indexIn(kDescriptionNames, key) >= 0)
        return ColumnRole::Description;
    if (indexIn(kAmountNames, key) >= 0)
        return ColumnRole::Amount;
    if (indexIn(kDepositNames, key) >= 0)
        return ColumnRole::Deposit;
    return ColumnRole::Other;
}

std::optional<HeadingMatch> matchHeading(const QStringList& fields) {
    HeadingMatch m;
    int bestAmount = -1;
    for (int i = 0; i < fields.size(); ++i) {
        switch (headingRole(fields[i])) {
        case ColumnRole::Date:
            if (m.map.date < 0)
                m.map.date = i;
            break;
        case ColumnRole::Description:
            m.map.descriptions.push_back(i);
            break;
        case ColumnRole::Amount: {
            const int preference = amountPreference(fields[i]);
            if (m.map.amount < 0 || preference < bestAmount) {
                m.map.amount = i;
                bestAmount = preference;
            }
            break;
        }
        case ColumnRole::Deposit:
            if (m.map.deposit < 0)
                m.map.deposit = i;
            break;
        case ColumnRole::Other:
            break;
        }
    }
    m.hasDate = m.map.date >= 0;
    m.hasAmount = m.map.amount >= 0;
    if (!m.hasDate && !m.hasAmount)
        return std::nullopt;
    return m;
}

std::optional<ColumnMap> recogniseColumns(const std::vector<CsvRecord>& records) {
    // Scores per column over the records that hold a date somewhere: preambles and subtotals
    // do not vote.
    std::map<int, int> dates, amounts, texts;
    int voters = 0;
    for (const auto& r : records) {
        bool anyDate = false;
        for (const auto& f : r.fields)
            anyDate = anyDate || readDate(f).kind == DateRead::Kind::Date;
        if (!anyDate)
            continue;
        ++voters;
        for (int i = 0; i < r.fields.size(); ++i) {
            const QString& f = r.fields[i];
            if (readDate(f).kind == DateRead::Kind::Date)
                ++dates[i];
            else if (readAmount(f).kind == AmountRead::Kind::Amount)
                ++amounts[i];
            else if (!f.trimmed().isEmpty())
                ++texts[i];
        }
    }
    ColumnMap map;
    for (const auto& [column, hits] : dates)
        if (mostly(hits, voters)) {
            map.date = column;
            break;
        }
    if (map.date < 0)
        return std::nullopt;
    for (const auto& [column, hits] : amounts)
        if (column > map.date && mostly(hits, voters)) {
            map.amount = column;
            break;
        }
    if (map.amount < 0)
        return std::nullopt;
    int description = -1;
    for (const auto& [column, hits] : texts)
        if (mostly(hits, voters) && (description < 0 || (column > map.date && column < map.amount))) {
            description = column;
            if (column > map.date && column < map.amount)
                break;
        }
    if (description >= 0)
        map.descriptions.push_back(description);
    return map;
}

} // namespace sorakado::statement
