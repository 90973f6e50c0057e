#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

#include <cstdint>
#include <optional>

class QDateEdit;

namespace sorakado::editing {

class SelectedRecord;

// Frame5: an expense entry, added or changed; and the expense list's entry commands.
class EntryPanel : public EditPanel {
    Q_OBJECT
public:
    explicit EntryPanel(QWidget* parent);
    // entries: the expense list's selected entry (Label8); categoryPicker: Combo3, whose
    // categories the panel offers.
    void attach(const PanelContext& context, SelectedRecord* entries, QComboBox* categoryPicker);

    // MeiMenu's entry commands.
    void MeiAdd_Click();
    void MeiUp_Click();
    void MeiDel_Click();
    // A double click on the expense list: the change panel over the list's corner, on an entry row only.
    void ListView2_DblClick();
    // OK: checks the inputs, writes the entry and rebuilds the window.
    void Command9_Click();

    QLabel* Label10_1;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    ui::DateBox* DTPicker1;
    ui::DropDown* Combo4;
    ui::TextBox* Text4;
    ui::TextBox* Text5;
    ui::Button* Command9;
    ui::Button* Command10;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copyCategories();
    void pickFromOpenList();
    void openForChange(QPoint atTw);

    SelectedRecord* entries_ = nullptr;
    QComboBox* categoryPicker_ = nullptr;
    std::optional<std::int64_t> changing_; // the entry a change is for
};

} // namespace sorakado::editing
