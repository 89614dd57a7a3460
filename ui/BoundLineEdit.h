#pragma once

#include "PendingEdit.h"

#include <QLineEdit>

class Table;

// An edit field bound to one field of a table: it shows the current row's value; typing puts the
// table in the edit state, and the typed text is written into the row when the field loses the
// window's exit check accepts it (FocusExit) or when the table posts the row (before a move, for
// instance: the field is one of the table's PendingEdits, so the table asks it without knowing it
// is a widget). A text the field cannot take (letters in a number field) raises the table's error
// at that moment.
class BoundLineEdit : public QLineEdit, public PendingEdit {
    Q_OBJECT

public:
    BoundLineEdit(Table& table, QString field, QWidget* parent = nullptr);
    ~BoundLineEdit() override;

    // Writes typed text into the row now; throws TableError when the field refuses it.
    void writeTyped();
    bool hasTypedText() const { return typed_; }
    // Forgets the typed text (one the window refused) and shows the row's value again.
    void discardTyped();

    void storePendingEdit() override; // writeTyped, when the table posts or leaves the row

private:
    void showCurrent();

    Table& table_;
    QString field_;
    bool typed_ = false;
};
