#include "year_report.h"

#include "canvas.h"
#include "table.h"
#include "texts.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace sorakado::report {

namespace {

constexpr int kDotsPerInch = 300;
constexpr double kMarginMm = 15;
constexpr std::size_t kMaxBars = 15;
constexpr double kBarRowMm = 7;
constexpr double kFooterMm = 8;

// The report's texts are written in the source as UTF-8; nothing here is translated.
QString utf8Text(const char* text) {
    return QString::fromUtf8(text);
}

QString yen(Amount amount) {
    return QString::fromStdString(yearly::groupedYen(amount));
}

std::optional<QColor> balanceColour(Amount difference) {
    if (difference.sign() < 0)
        return colours::kDeficit;
    if (difference.sign() > 0)
        return colours::kSurplus;
    return std::nullopt;
}

QString share(Amount part, Amount whole) {
    if (whole.sign() == 0)
        return QStringLiteral("—");
    double percent = double(part.tenThousandths()) / double(whole.tenThousandths()) * 100;
    return QString::number(percent, 'f', 1) + QLatin1Char('%');
}

class ReportPages {
public:
    ReportPages(QPdfWriter& writer, Canvas& canvas, const yearly::YearFigures& figures,
                const ReportInfo& info)
        : writer_(writer), c_(canvas), f_(figures), info_(info) {}

    void draw() {
        monthPage();
        categoryPages();
    }

private:
    void newPage() {
        writer_.newPage();
        ++page_;
    }

    void footer() {
        c_.line({0, c_.height() - kFooterMm + 2}, {c_.width(), c_.height() - kFooterMm + 2}, colours::kGrid,
                0.2);
        c_.text(QRectF(0, c_.height() - kFooterMm + 3, c_.width(), kFooterMm - 3), Qt::AlignCenter,
                utf8Text(texts::kFooter).arg(info_.programVersion).arg(f_.year).arg(page_), 7.5, false,
                colours::kMuted);
    }

    void sectionHeading(double y, const QString& text) {
        c_.text(QRectF(0, y, c_.width(), 7), Qt::AlignLeft | Qt::AlignVCenter, text, 11, true);
    }

    void totalBox(double x, double width, const char* label, Amount amount, std::optional<QColor> colour) {
        c_.fill(QRectF(x, 12, width, 15), colours::kStripe);
        c_.text(QRectF(x + 3, 13, width - 6, 5), Qt::AlignLeft | Qt::AlignVCenter, utf8Text(label), 8, false,
                colours::kMuted);
        // Smaller type for a figure too long for the box, never a cut one.
        double points = 13;
        while (points > 5 && c_.textWidth(yen(amount), points, true) > width - 6)
            points -= 0.5;
        c_.text(QRectF(x + 3, 18, width - 6, 8), Qt::AlignRight | Qt::AlignVCenter, yen(amount), points, true,
                colour.value_or(QColor(Qt::black)));
    }

    void monthPage() {
        c_.text(QRectF(0, 0, c_.width(), 9), Qt::AlignLeft | Qt::AlignVCenter,
                utf8Text(texts::kTitle).arg(f_.year), 16, true);
        c_.text(QRectF(0, 0, c_.width(), 9), Qt::AlignRight | Qt::AlignVCenter,
                utf8Text(texts::kCreatedOn).arg(info_.createdOn), 8, false, colours::kMuted);
        const double box = (c_.width() - 8) / 3;
        const Amount income = f_.incomeTotal(), spending = f_.spendingTotal();
        totalBox(0, box, texts::kYearIncome, income, colours::kIncome);
        totalBox(box + 4, box, texts::kYearSpending, spending, colours::kSpending);
        totalBox(2 * (box + 4), box, texts::kYearDifference, income - spending,
                 balanceColour(income - spending));

        sectionHeading(32, utf8Text(texts::kMonthChart));
        drawMonthChart(c_, QRectF(0, 41, c_.width(), 90), f_);

        sectionHeading(137, utf8Text(texts::kMonthTable));
        const double w = c_.width();
        std::vector<TableColumn> columns{{utf8Text(texts::kMonth), w * 0.16, Qt::AlignLeft},
                                         {utf8Text(texts::kIncome), w * 0.28, Qt::AlignRight},
                                         {utf8Text(texts::kSpending), w * 0.28, Qt::AlignRight},
                                         {utf8Text(texts::kDifference), w * 0.28, Qt::AlignRight}};
        std::vector<TableRow> rows;
        for (int m = 0; m < 12; ++m)
            rows.push_back({{utf8Text(texts::kMonthName).arg(m + 1), yen(f_.income[m]), yen(f_.spending[m]),
                             yen(f_.difference(m))},
                            false,
                            {std::nullopt, std::nullopt, std::nullopt, balanceColour(f_.difference(m))}});
        rows.push_back({{utf8Text(texts::kTotal), yen(income), yen(spending), yen(income - spending)},
                        true,
                        {std::nullopt, std::nullopt, std::nullopt, balanceColour(income - spending)}});
        drawTable(c_, {0, 145}, columns, rows);
        footer();
    }

    void categoryPages() {
        newPage();
        sectionHeading(0, utf8Text(texts::kCategoryChart));
        if (f_.categories.empty()) {
            c_.text(QRectF(0, 10, c_.width(), 8), Qt::AlignLeft | Qt::AlignVCenter,
                    utf8Text(texts::kNoSpending), 10);
            footer();
            return;
        }
        auto bars = categoryBars(f_.categories, kMaxBars);
        const double chartHeight = kBarRowMm * double(bars.size());
        drawCategoryChart(c_, QRectF(0, 9, c_.width(), chartHeight), bars);

        const double w = c_.width();
        std::vector<TableColumn> columns{{utf8Text(texts::kRank), w * 0.09, Qt::AlignRight},
                                         {utf8Text(texts::kCategory), w * 0.49, Qt::AlignLeft},
                                         {utf8Text(texts::kAmount), w * 0.26, Qt::AlignRight},
                                         {utf8Text(texts::kShare), w * 0.16, Qt::AlignRight}};
        const Amount total = f_.spendingTotal();
        std::vector<TableRow> rows;
        for (std::size_t i = 0; i < f_.categories.size(); ++i) {
            const auto& cat = f_.categories[i];
            rows.push_back(
                {{QString::number(i + 1), categoryLabel(cat), yen(cat.amount), share(cat.amount, total)},
                 false,
                 {}});
        }
        rows.push_back({{QString(), utf8Text(texts::kTotal), yen(total), share(total, total)}, true, {}});

        double top = 9 + chartHeight + 6;
        QString heading = utf8Text(texts::kCategoryTable);
        std::size_t next = 0;
        while (next < rows.size()) {
            sectionHeading(top, heading);
            const double tableTop = top + 8;
            auto fit = std::size_t((c_.height() - kFooterMm - 2 - tableTop) / kRowHeightMm) - 1;
            std::size_t count = std::min(fit, rows.size() - next);
            drawTable(c_, {0, tableTop}, columns,
                      std::vector<TableRow>(rows.begin() + long(next), rows.begin() + long(next + count)));
            next += count;
            footer();
            if (next < rows.size()) {
                newPage();
                top = 0;
                heading = utf8Text(texts::kContinued).arg(utf8Text(texts::kCategoryTable));
            }
        }
    }

    QPdfWriter& writer_;
    Canvas& c_;
    const yearly::YearFigures& f_;
    const ReportInfo& info_;
    int page_ = 1;
};

} // namespace

QString reportFontFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {"IPAPGothic", "Noto Sans CJK JP"})
        if (installed.contains(QString::fromLatin1(family)))
            return QString::fromLatin1(family);
    return {};
}

QString categoryLabel(const yearly::CategorySpending& category) {
    if (!category.key)
        return utf8Text(texts::kCategoryGone);
    if (!category.name)
        return utf8Text(texts::kNoName);
    return QString::fromStdString(*category.name);
}

std::vector<CategoryBar> categoryBars(const std::vector<yearly::CategorySpending>& categories,
                                      std::size_t maxBars) {
    std::vector<CategoryBar> bars;
    const bool fold = categories.size() > maxBars;
    const std::size_t shown = fold ? maxBars - 1 : categories.size();
    for (std::size_t i = 0; i < shown; ++i)
        bars.push_back({categoryLabel(categories[i]), categories[i].amount});
    if (fold) {
        Amount rest;
        for (std::size_t i = shown; i < categories.size(); ++i)
            rest += categories[i].amount;
        bars.push_back({utf8Text(texts::kOthers).arg(categories.size() - shown), rest});
    }
    return bars;
}

QByteArray renderYearReport(const yearly::YearFigures& figures, const ReportInfo& info) {
    const QString family = reportFontFamily();
    if (family.isEmpty())
        throw ReportError(texts::kNoFont);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
        writer.setResolution(kDotsPerInch);
        writer.setTitle(utf8Text(texts::kTitle).arg(figures.year));
        writer.setCreator(QStringLiteral("Sorakado ") + info.programVersion);

        const QRectF paper = writer.pageLayout().paintRect(QPageLayout::Millimeter);
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing);
        Canvas canvas(painter, kDotsPerInch / 25.4, family, paper.width(), paper.height());
        ReportPages(writer, canvas, figures, info).draw();
        painter.end();
    }
    return buffer.data();
}

} // namespace sorakado::report
