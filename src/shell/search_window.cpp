#include "search_window.h"

#include "export/clipboard_text.h"
#include "monthly/month_figures.h"
#include "monthly/numeric_text.h"
#include "search/date_bound.h"
#include "search/entry_index.h"
#include "search/ledger_search.h"
#include "store/ledger.h"
#include "ui/clipboard.h"
#include "ui/controls.h"
#include "ui/design_look.h"
#include "ui/dialog_service.h"
#include "ui/fonts.h"
#include "ui/guarded.h"
#include "ui/report_list.h"
#include "ui/twips.h"

#include <QCursor>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QShortcut>

#include <memory>

namespace sorakado::shell {

namespace {

const QString kTitle = QStringLiteral("明細検索");
const QString kTextCaption = QStringLiteral("検索する文字（詳細・品目）");
const QString kDatesCaption = QStringLiteral("日付");
const QString kCategoryCaption = QStringLiteral("品目");
const QString kAmountsCaption = QStringLiteral("金額");
const QString kRangeWord = QStringLiteral("～");
const QString kAllCategories = QStringLiteral("すべての品目");
const QString kDatePlaceholder = QStringLiteral("2006/04/05");
const QString kReading = QStringLiteral("台帳を読み込んでいます…");
const QString kBadDate = QStringLiteral("日付は 2006/04/05、2006/04、2006 のように入力して下さい");
const QString kBadAmount = QStringLiteral("金額は数字のみ入力して下さい");
const QString kTotal = QStringLiteral("合計 %1件");
const QString kTotalHint = QStringLiteral("Enter・ダブルクリックでその月を表示");
const QString kCopyList = QStringLiteral("リスト内容をコピー");

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kLightBlue = 0x0000FF;
constexpr std::uint32_t kLightRed = 0xFF0000;

ui::ReportCell cell(const QString& text, std::uint32_t rgb, bool bold = false) {
    return ui::ReportCell{text, QColor::fromRgb(rgb), bold};
}

// The rows of the list: the entries found, alternating in the list colours, then the total.
ui::ReportRow resultRow(const search::EntryIndex& index, const search::SearchResult& result, int row) {
    if (row >= static_cast<int>(result.rows.size()))
        return {{},
                {cell(kTotal.arg(result.count), kLightRed, true), cell(QString(), kLightRed, true),
                 cell(QString(), kLightRed, true), cell(yenText(result.sum), kLightRed, true)}};
    const search::FoundEntry e = index.entry(result.rows[static_cast<std::size_t>(row)]);
    const std::uint32_t colour = row % 2 == 0 ? kBlack : kLightBlue;
    return {u'@' + QString::number(e.key),
            {cell(listDateText(e.date), colour), cell(e.categoryName.value_or(QString()), colour),
             cell(e.description, colour), cell(yenText(e.amount), colour)}};
}

ui::TextBox* makeTextBox(QWidget* parent, const char* name, bool japanese) {
    auto* t = new ui::TextBox(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setJapaneseInput(japanese);
    t->setSelectsAllOnFocus(!japanese);
    return t;
}

} // namespace

SearchWindow::SearchWindow(Ledger& ledger, search::LedgerSearch& search, ui::DialogService& dialogs,
                           QWidget* owner)
    : QWidget(owner, Qt::Window), ledger_(ledger), search_(search), dialogs_(dialogs) {
    buildLayout();
    ui::keepDesignColours(this);

    for (ui::TextBox* t : {textBox, fromDate, toDate, leastAmount, mostAmount})
        connect(t, &QLineEdit::textChanged, this, &SearchWindow::refresh);
    connect(category, &QComboBox::currentIndexChanged, this, &SearchWindow::refresh);
    // Enter walks the fields in order, as in the main window's panels; from the last, to the list.
    const std::vector<QWidget*> chain{textBox, fromDate, toDate, category, leastAmount, mostAmount, results};
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        QWidget* next = chain[i + 1];
        if (auto* t = qobject_cast<ui::TextBox*>(chain[i]))
            connect(t, &ui::TextBox::enterPressed, this, [next] { ui::focusByKeyboard(next); });
        else
            connect(category, &ui::DropDown::enterPressed, this, [next] { ui::focusByKeyboard(next); });
    }
    connect(results, &ui::ReportList::rowDoubleClicked, this, &SearchWindow::chooseCurrent);
    connect(results, &ui::ReportList::copyRequested, this, &SearchWindow::copyList);
    resultsMenu = new QMenu(this);
    resultsMenu->setObjectName(QStringLiteral("resultsMenu"));
    resultsMenu->setFont(ui::gothic(9));
    copyItem = resultsMenu->addAction(kCopyList);
    copyItem->setObjectName(QStringLiteral("copyItem"));
    connect(copyItem, &QAction::triggered, this, &SearchWindow::copyList);
    connect(results, &ui::ReportList::pressed, this, [this](Qt::MouseButton button, QPoint) {
        if (button == Qt::RightButton)
            resultsMenu->popup(QCursor::pos());
    });
    // The Menu key and Shift+F10 open it at the picked row, as in the main lists.
    connect(results, &ui::ReportList::menuKeyPressed, this,
            [this](QPoint at) { resultsMenu->popup(results->mapToGlobal(ui::pointTw(at.x(), at.y()))); });
    connect(&search_, &search::LedgerSearch::becameReady, this, &SearchWindow::refresh);
    connect(&search_, &search::LedgerSearch::failed, this, [this](const QString& description) {
        status->setText(QString());
        dialogs_.error(description);
    });
    textBox->installEventFilter(this);
    results->installEventFilter(this);
    refresh();
}

void SearchWindow::buildLayout() {
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    setFont(ui::gothic(9));

    auto* grid = new QGridLayout(this);
    auto caption = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setFont(ui::gothic(9, true));
        return l;
    };
    textBox = makeTextBox(this, "textBox", true);
    fromDate = makeTextBox(this, "fromDate", false);
    toDate = makeTextBox(this, "toDate", false);
    for (ui::TextBox* t : {fromDate, toDate})
        t->setPlaceholderText(kDatePlaceholder);
    category = new ui::DropDown(false, this);
    category->setObjectName(QStringLiteral("category"));
    leastAmount = makeTextBox(this, "leastAmount", false);
    mostAmount = makeTextBox(this, "mostAmount", false);
    for (ui::TextBox* t : {leastAmount, mostAmount})
        t->setAlignment(Qt::AlignRight);

    grid->addWidget(caption(kTextCaption), 0, 0);
    grid->addWidget(textBox, 0, 1, 1, 3);
    grid->addWidget(caption(kDatesCaption), 1, 0);
    grid->addWidget(fromDate, 1, 1);
    grid->addWidget(new QLabel(kRangeWord, this), 1, 2);
    grid->addWidget(toDate, 1, 3);
    grid->addWidget(caption(kCategoryCaption), 2, 0);
    grid->addWidget(category, 2, 1, 1, 3);
    grid->addWidget(caption(kAmountsCaption), 3, 0);
    grid->addWidget(leastAmount, 3, 1);
    grid->addWidget(new QLabel(kRangeWord, this), 3, 2);
    grid->addWidget(mostAmount, 3, 3);

    results = new ui::ReportList(this);
    results->setObjectName(QStringLiteral("results"));
    results->setFont(ui::gothic(12.75));
    {
        QPalette p = results->palette();
        p.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
        results->setPalette(p);
    }
    results->setColumns({{QStringLiteral("日付"), 2050, Qt::AlignLeft},
                         {QStringLiteral("品目"), 1730, Qt::AlignLeft},
                         {QStringLiteral("詳細"), 2500, Qt::AlignLeft},
                         {QStringLiteral("金額"), 1600, Qt::AlignRight}});
    results->setMinimumSize(ui::px(8300), ui::px(6000));
    grid->addWidget(results, 4, 0, 1, 4);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("status"));
    grid->addWidget(status, 5, 0, 1, 4);

    setTabOrder(textBox, fromDate);
    setTabOrder(fromDate, toDate);
    setTabOrder(toDate, category);
    setTabOrder(category, leastAmount);
    setTabOrder(leastAmount, mostAmount);
    setTabOrder(mostAmount, results);
    fillCategories();
}

void SearchWindow::fillCategories() {
    const std::vector<Category> categories = ledger_.categories();
    bool same = category->count() == static_cast<int>(categories.size()) + 1;
    for (std::size_t i = 0; same && i < categories.size(); ++i)
        same = category->itemData(static_cast<int>(i) + 1).toLongLong() == categories[i].key &&
               category->itemText(static_cast<int>(i) + 1) ==
                   QString::fromStdString(categories[i].name.value_or(std::string()));
    if (same)
        return;
    const QVariant picked = category->currentData();
    const QSignalBlocker quiet(category);
    category->clear();
    category->addItem(kAllCategories);
    for (const Category& c : categories)
        category->addItem(QString::fromStdString(c.name.value_or(std::string())), qint64(c.key));
    const int again = picked.isValid() ? category->findData(picked) : 0;
    category->setCurrentIndex(again < 0 ? 0 : again);
}

void SearchWindow::refresh() {
    ui::guarded(dialogs_, [this] {
        search_.catchUp();
        fillCategories();
        search::SearchQuery query;
        query.text = textBox->text();
        QString problem;
        auto dateEnd = [&](ui::TextBox* field, bool upper) -> std::optional<std::string> {
            if (field->text().trimmed().isEmpty())
                return std::nullopt;
            const auto prefix = search::datePrefix(field->text());
            if (!prefix) {
                problem = kBadDate;
                return std::nullopt;
            }
            return upper ? prefixUpperBound(*prefix) : *prefix;
        };
        auto amountEnd = [&](ui::TextBox* field) -> std::optional<Amount> {
            if (field->text().trimmed().isEmpty())
                return std::nullopt;
            const auto value = parseNumericText(field->text());
            const auto amount = value ? value->toAmount() : std::nullopt;
            if (!amount)
                problem = kBadAmount;
            return amount;
        };
        query.fromDate = dateEnd(fromDate, false);
        query.toDate = dateEnd(toDate, true);
        query.leastAmount = amountEnd(leastAmount);
        query.mostAmount = amountEnd(mostAmount);
        if (category->currentData().isValid())
            query.categoryKey = category->currentData().toLongLong();

        if (!problem.isEmpty() || !search_.ready()) {
            results->clearRows();
            status->setText(problem.isEmpty() ? kReading : problem);
            return;
        }
        showResult(search_.search(query));
    });
}

void SearchWindow::showResult(const search::SearchResult& found) {
    auto result = std::make_shared<const search::SearchResult>(found);
    const search::EntryIndex& index = search_.index();
    results->setRowSource(static_cast<int>(result->rows.size()) + 1,
                          [result, &index](int row) { return resultRow(index, *result, row); });
    status->setText(kTotalHint);
}

void SearchWindow::copyList() {
    std::vector<QStringList> rows;
    rows.reserve(static_cast<std::size_t>(results->rowCount()));
    for (int row = 0; row < results->rowCount(); ++row)
        rows.push_back(results->rowCells(row));
    ui::putOnClipboard(listClipboardText(results->headings(), rows));
}

void SearchWindow::chooseCurrent() {
    const int row = results->currentRow();
    const QString key = results->rowKey(row);
    if (row < 0 || !key.startsWith(u'@'))
        return;
    emit entryChosen(key.mid(1).toLongLong(), results->rowCells(row).value(0).left(10));
}

void SearchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == textBox && key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier) {
        ui::focusByKeyboard(results);
        if (results->currentRow() < 0 && results->rowCount() > 1)
            results->setCurrentRow(0);
        return true;
    }
    if (watched == results && ui::isEnterKey(key)) {
        chooseCurrent();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SearchWindow::changeEvent(QEvent* event) {
    // Coming back to the window after another program may have changed the ledger.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

} // namespace sorakado::shell
