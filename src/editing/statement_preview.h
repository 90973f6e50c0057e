#pragma once

#include <QDialog>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace sorakado::ui {
class DialogService;
}
namespace sorakado::statement {
struct ImportRow;
}

namespace sorakado::editing {

// The preview window 「明細の取り込み」: one row per payment of the statement with a check box,
// its date, a category chooser filled in with the guess, the description, the amount and its
// state; under the list, how many lines were no payment and which could not be read. OK
// (accepted()) once every checked row has a category; the caller writes chosenRows().
class StatementPreview : public QDialog {
    Q_OBJECT
public:
    // What it shows (statement_preview_contents.h).
    struct Contents;
    StatementPreview(ui::DialogService& dialogs, std::unique_ptr<Contents> contents, QWidget* parent);
    ~StatementPreview() override;

    enum Column { kCheck, kDate, kCategory, kDescription, kAmount, kState };
    QTableWidget* PreviewList;
    QLabel* SummaryLabel;
    QPlainTextEdit* ProblemList;
    QPushButton* OkButton;
    QPushButton* CancelButton;

    // The chooser of a row; its item data is the category key, 0 for none.
    QComboBox* categoryChooser(int row) const;
    bool isChecked(int row) const;
    // The checked rows, each with its chosen category.
    std::vector<statement::ImportRow> chosenRows() const;

    void OkButton_Click();

private:
    void categoryChosen(int row);
    void showState(int row);

    ui::DialogService& dialogs_;
    std::unique_ptr<Contents> contents_;
};

} // namespace sorakado::editing
