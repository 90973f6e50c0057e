#pragma once

#include "panel_context.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace sorakado::editing {

class StatementPreview;

// 「明細の取り込み…」 of the expense list's menu, and a file dropped on the window: reads the
// statement, previews it, and on OK writes the checked rows as one change of the ledger, then
// shows the month of the latest entry written.
class StatementImport : public QObject {
    Q_OBJECT
public:
    StatementImport(QWidget* window, QObject* parent);
    void attach(const PanelContext& context) { context_ = context; }

    // Asks for a file, then importFile.
    void MeiImport_Click();
    // Reads path and opens the preview (window-modal), or says why it cannot.
    void importFile(const QString& path);
    // The preview on show, if any.
    StatementPreview* preview() const;

private:
    void write(StatementPreview* preview);

    QWidget* window_;
    PanelContext context_;
    QPointer<StatementPreview> preview_;
};

} // namespace sorakado::editing
