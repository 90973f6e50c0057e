#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

#include <cstdint>
#include <optional>

namespace sorakado::editing {

class SelectedRecord;

// Frame2: a member's income for the month on show.
class IncomePanel : public EditPanel {
    Q_OBJECT
public:
    explicit IncomePanel(QWidget* parent);
    // members: the income list's selected member (Label7).
    void attach(const PanelContext& context, SelectedRecord* members);

    // SyuMenu's 収入変更: the panel at the anchor.
    void SyuUp_Click();
    // A double click on the income list: the panel over the list's corner, on a member row only.
    void ListView1_DblClick();
    // OK: writes the income (a zero removes it) and rebuilds the window.
    void Command2_Click();

    // The caption's point size for its length in characters.
    static int captionPointSize(const QString& caption);

    QLabel* Label6;
    ui::TextBox* Text1;
    ui::Button* Command2;
    ui::Button* Command3;

private:
    void open(QPoint atTw);

    SelectedRecord* members_ = nullptr;
    std::optional<std::int64_t> member_; // the member the panel was opened for
};

} // namespace sorakado::editing
