#pragma once

#include "ui/report_list.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace sorakado::editing {

// The record key of a list's current row, held in a hidden label (Label7 for members, Label8
// for expense entries) and kept in step with the row the user sees selected: every move of the
// current row (click, right press, keyboard) updates it, so a menu command and a panel always
// act on the row they show. When the list is refilled the same record is selected again if it
// is still listed; otherwise nothing is selected and the key is cleared.
class SelectedRecord : public QObject {
    Q_OBJECT
public:
    SelectedRecord(ui::ReportList* list, QLabel* holder, QObject* parent);

    // The record key of the current row; nullopt on a row without a key or with no row.
    std::optional<std::int64_t> key() const;
    // The cells of the current row when it stands for a record; empty otherwise.
    QStringList cells() const;
    ui::ReportList* list() const { return list_.data(); }
    // Makes the row of the record current and scrolls it into sight, as a press on it would;
    // nothing when the record is not listed.
    void select(std::int64_t key);

    // The key a row key ("@" and the record key, taken whole) stands for.
    static std::optional<std::int64_t> parseKey(const QString& text);

private:
    void currentMoved(int row);
    void refilled();

    // Guarded: the window takes its controls down one by one, and a list being destroyed still
    // reports its rows going.
    QPointer<ui::ReportList> list_;
    QPointer<QLabel> holder_;
    QString remembered_; // the selected record's key, kept across a refill of the list
};

} // namespace sorakado::editing
