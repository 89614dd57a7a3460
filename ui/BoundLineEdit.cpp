#include "BoundLineEdit.h"

#include "Table.h"
#include "TableError.h"

BoundLineEdit::BoundLineEdit(Table& table, QString field, QWidget* parent)
    : QLineEdit(parent), table_(table), field_(std::move(field)) {
    table_.addPendingEdit(this);
    connect(&table_, &Table::currentChanged, this, [this] { showCurrent(); });
    connect(&table_, &Table::reset, this, [this] { showCurrent(); });
    connect(&table_, &Table::rowChanged, this, [this] { showCurrent(); });
    connect(&table_, &Table::stateChanged, this, [this] {
        if (!table_.isEditing())
            showCurrent();
    });
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!table_.isOpen() || table_.position() < 0)
            return;
        table_.edit();
        typed_ = true;
    });
    showCurrent();
}

BoundLineEdit::~BoundLineEdit() {
    table_.removePendingEdit(this);
}

void BoundLineEdit::writeTyped() {
    if (!typed_ || !table_.isEditing())
        return;
    table_.setText(table_.fieldIndex(field_), text());
    typed_ = false;
}

void BoundLineEdit::storePendingEdit() {
    writeTyped();
}

void BoundLineEdit::showCurrent() {
    if (typed_ && table_.isEditing())
        return; // keep what the player is typing
    typed_ = false;
    const bool hasRow = table_.isOpen() && (table_.position() >= 0 || table_.isEditing());
    const auto f = table_.isOpen() ? table_.findField(field_) : std::nullopt;
    setText(hasRow && f ? table_.text(*f) : QString());
}

void BoundLineEdit::discardTyped() {
    typed_ = false;
    showCurrent();
}
