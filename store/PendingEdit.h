#pragma once

// A value meant for a table's current row that is held outside the table and not yet set into it:
// the text typed into an edit field bound to the row, say. A holder registers with the table
// (Table::addPendingEdit), and the table asks every one registered to set its value before the
// row is posted or left, so the value reaches the row first; an exception thrown here (a text the
// field refuses) stops the post and the move. The table knows no more of the holder than this.
class PendingEdit {
public:
    virtual ~PendingEdit() = default;
    // Sets the held value into the table's pending row now, or does nothing when none is held.
    virtual void storePendingEdit() = 0;

protected:
    PendingEdit() = default;
    PendingEdit(const PendingEdit&) = default;
    PendingEdit& operator=(const PendingEdit&) = default;
};
