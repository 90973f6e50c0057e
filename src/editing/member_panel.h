#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

#include <cstdint>
#include <optional>

namespace sorakado::editing {

class SelectedRecord;

// Frame3: a member's name, registered or changed; and the income list's member commands.
class MemberPanel : public EditPanel {
    Q_OBJECT
public:
    explicit MemberPanel(QWidget* parent);
    // members: the income list's selected member (Label7).
    void attach(const PanelContext& context, SelectedRecord* members);

    // SyuMenu's member commands.
    void NameAdd_Click();
    void NameUp_Click();
    void NameDel_Click();
    // OK: registers the name, or renames the member the panel was opened for.
    void Command4_Click();

    QLabel* Label9;
    ui::TextBox* Text2;
    ui::Button* Command4;
    ui::Button* Command5;

private:
    SelectedRecord* members_ = nullptr;
    // The member a rename is for, and its name as listed when the panel opened.
    std::optional<std::int64_t> renaming_;
    QString renamingFrom_;
};

} // namespace sorakado::editing
