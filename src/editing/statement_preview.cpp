#include "statement_preview.h"

#include "statement/import.h"
#include "statement_preview_contents.h"

#include "texts.h"
#include "ui/dialog_service.h"
#include "ui/fonts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace sorakado::editing {

namespace {

QString stateText(statement::RowState state) {
    switch (state) {
    case statement::RowState::New:
        return texts::kImportStateNew;
    case statement::RowState::Registered:
        return texts::kImportStateRegistered;
    case statement::RowState::NeedsCategory:
        return texts::kImportStateNeedsCategory;
    }
    return {};
}

QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

StatementPreview::StatementPreview(ui::DialogService& dialogs, std::unique_ptr<Contents> contents,
                                   QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), contents_(std::move(contents)) {
    setObjectName(QStringLiteral("StatementPreview"));
    setWindowTitle(texts::kImportTitle);
    setFont(ui::gothic(10.5));
    resize(860, 560);

    PreviewList = new QTableWidget(int(contents_->rows.size()), 6, this);
    PreviewList->setObjectName(QStringLiteral("PreviewList"));
    PreviewList->setHorizontalHeaderLabels({texts::kImportCheckHeading, texts::kImportDateHeading,
                                            texts::kImportCategoryHeading, texts::kImportDescriptionHeading,
                                            texts::kImportAmountHeading, texts::kImportStateHeading});
    PreviewList->verticalHeader()->hide();
    PreviewList->setSelectionBehavior(QAbstractItemView::SelectRows);
    PreviewList->setSelectionMode(QAbstractItemView::SingleSelection);
    PreviewList->setTabKeyNavigation(false);

    for (int row = 0; row < int(contents_->rows.size()); ++row) {
        const auto& r = contents_->rows[std::size_t(row)];
        auto* check = new QTableWidgetItem;
        check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        check->setCheckState(r.state == statement::RowState::New ? Qt::Checked : Qt::Unchecked);
        PreviewList->setItem(row, kCheck, check);
        PreviewList->setItem(row, kDate, fixedItem(r.line.date.toString(QStringLiteral("yyyy/MM/dd"))));
        PreviewList->setItem(row, kDescription, fixedItem(r.line.description));
        auto* amount = fixedItem(u'\\' + QString::fromStdString(r.line.amount.text()));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PreviewList->setItem(row, kAmount, amount);
        PreviewList->setItem(row, kState, fixedItem(stateText(r.state)));

        auto* chooser = new QComboBox;
        chooser->setObjectName(QStringLiteral("Category%1").arg(row));
        chooser->addItem(QString(), QVariant::fromValue<qlonglong>(0));
        for (const auto& category : contents_->categories)
            chooser->addItem(QString::fromStdString(category.name.value_or(std::string())),
                             QVariant::fromValue<qlonglong>(category.key));
        const int guessed = r.category ? chooser->findData(QVariant::fromValue<qlonglong>(*r.category)) : 0;
        chooser->setCurrentIndex(guessed < 0 ? 0 : guessed);
        connect(chooser, &QComboBox::currentIndexChanged, this, [this, row] { categoryChosen(row); });
        PreviewList->setCellWidget(row, kCategory, chooser);
    }
    PreviewList->resizeColumnsToContents();
    PreviewList->horizontalHeader()->setSectionResizeMode(kDescription, QHeaderView::Stretch);

    int unreadable = int(contents_->problems.size());
    SummaryLabel = new QLabel(
        texts::importSummary(int(contents_->rows.size()), contents_->notPayments, unreadable), this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    ProblemList = new QPlainTextEdit(this);
    ProblemList->setObjectName(QStringLiteral("ProblemList"));
    ProblemList->setReadOnly(true);
    QStringList problems;
    for (const auto& p : contents_->problems)
        problems << texts::importProblem(p.line, p.why);
    ProblemList->setPlainText(problems.join(u'\n'));
    ProblemList->setVisible(!problems.isEmpty());
    ProblemList->setMaximumHeight(90);

    OkButton = new QPushButton(texts::kImportOk, this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(texts::kImportCancel, this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &StatementPreview::OkButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PreviewList);
    layout->addWidget(SummaryLabel);
    layout->addWidget(ProblemList);
    layout->addLayout(buttons);
    PreviewList->setFocus();
    if (PreviewList->rowCount() > 0)
        PreviewList->setCurrentCell(0, kCheck);
}

StatementPreview::~StatementPreview() = default;

QComboBox* StatementPreview::categoryChooser(int row) const {
    return qobject_cast<QComboBox*>(PreviewList->cellWidget(row, kCategory));
}

bool StatementPreview::isChecked(int row) const {
    return PreviewList->item(row, kCheck)->checkState() == Qt::Checked;
}

void StatementPreview::categoryChosen(int row) {
    const bool chosen = categoryChooser(row)->currentData().toLongLong() != 0;
    auto& state = contents_->rows[std::size_t(row)].state;
    // A row the ledger already holds stays so whatever its category; for the others choosing a
    // category means "take it", and taking the category away means it waits again.
    if (state != statement::RowState::Registered) {
        const auto now = chosen ? statement::RowState::New : statement::RowState::NeedsCategory;
        if (now != state) {
            state = now;
            PreviewList->item(row, kCheck)->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
        }
    }
    showState(row);
}

void StatementPreview::showState(int row) {
    PreviewList->item(row, kState)->setText(stateText(contents_->rows[std::size_t(row)].state));
}

std::vector<statement::ImportRow> StatementPreview::chosenRows() const {
    std::vector<statement::ImportRow> out;
    for (int row = 0; row < PreviewList->rowCount(); ++row) {
        if (!isChecked(row))
            continue;
        const auto& line = contents_->rows[std::size_t(row)].line;
        out.push_back(
            {line.date, categoryChooser(row)->currentData().toLongLong(), line.description, line.amount});
    }
    return out;
}

void StatementPreview::OkButton_Click() {
    for (int row = 0; row < PreviewList->rowCount(); ++row) {
        if (isChecked(row) && categoryChooser(row)->currentData().toLongLong() == 0) {
            dialogs_.warn(texts::kImportPickCategory);
            PreviewList->setCurrentCell(row, kCategory);
            PreviewList->scrollToItem(PreviewList->item(row, kCheck));
            categoryChooser(row)->setFocus();
            return;
        }
    }
    accept();
}

} // namespace sorakado::editing
