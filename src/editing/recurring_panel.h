#pragma once

#include "panel_context.h"
#include "store/recurring.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QLabel;

namespace sorakado::ui {
class Button;
class DropDown;
class ReportList;
class TextBox;
} // namespace sorakado::ui

namespace sorakado::editing {

// 定期明細: the repeating entries, listed with their next date, and the fields that add, change
// and delete them. A window of its own over the main window, which it keeps from other input
// while open. A saved entry writes at once whatever of it is due up to today.
class RecurringPanel : public QWidget {
    Q_OBJECT
public:
    RecurringPanel(const PanelContext& context, QWidget* owner);

    // Fills the list and the pickers from the ledger, clears the fields and shows the window.
    void open();

    // 追加, 変更, 削除: each checks the fields (refusing with the focus on the offending one),
    // writes, refills the list and rebuilds the main window.
    void addClicked();
    void changeClicked();
    void deleteClicked();

    ui::ReportList* list;
    ui::DropDown* kind;   // 支出 / 収入
    ui::DropDown* target; // the categories, or the members
    ui::TextBox* description;
    ui::TextBox* amount;
    ui::DropDown* every; // 毎月 / 毎年
    ui::DropDown* month; // 1月 .. 12月, for 毎年
    ui::DropDown* day;   // 1日 .. 31日, 末日
    ui::TextBox* from;
    ui::TextBox* until;
    ui::Button* addButton;
    ui::Button* changeButton;
    ui::Button* deleteButton;
    ui::Button* closeButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    void refill();
    void fillTargets();
    void kindChanged();
    void everyChanged();
    void rowPicked(int row);
    void clearFields();
    // The fields as a repeating entry, or nullopt after the refusal was shown.
    std::optional<recurring::Values> readFields();
    void save(std::optional<std::int64_t> key);

    PanelContext context_;
    std::vector<std::int64_t> keys_; // the list's rows
};

} // namespace sorakado::editing
