#include "recurring_message.h"

#include "monthly/month_figures.h"

namespace sorakado::editing {

namespace {

const QString kHead = QStringLiteral("定期明細を記入しました（%1件）。");
const QString kMore = QStringLiteral("ほか %1件");
const QString kIncomeOf = QStringLiteral("の収入");
const QString kGap = QStringLiteral("　");
const QString kLineBreak = QStringLiteral("\r\n");

QString line(const recurring::Posted& p) {
    QString out = QString::fromStdString(p.date) + kGap;
    if (p.memberName)
        return out + QString::fromStdString(*p.memberName) + kIncomeOf + kGap + yenText(p.amount);
    out += QString::fromStdString(p.categoryName.value_or(std::string())) + kGap;
    if (!p.description.empty())
        out += QString::fromStdString(p.description) + kGap;
    return out + yenText(p.amount);
}

} // namespace

QString postedMessage(const std::vector<recurring::Posted>& posted) {
    QString text = kHead.arg(posted.size());
    for (std::size_t i = 0; i < posted.size() && i < kPostedLinesShown; ++i)
        text += kLineBreak + line(posted[i]);
    if (posted.size() > kPostedLinesShown)
        text += kLineBreak + kMore.arg(posted.size() - kPostedLinesShown);
    return text;
}

} // namespace sorakado::editing
