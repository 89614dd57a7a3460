#pragma once

#include "FieldDef.h"
#include "PendingEdit.h"
#include "RecordStore.h"
#include "TablePersistence.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class HashIndex;

// An in-memory table bound to one file of a folder: field definitions, rows kept in the order they
// were added, an index order, a cursor with an end flag, and a state. The file is read by open and
// written only by write and by commitChanges, which the program calls when an operation on the
// player's data ends (and an operation that fills a table of its own calls when it is done);
// closing never writes, and nothing else touches the disk. Rows
// loaded from the file are not changes, so a table that only reads its file never writes it, and
// a file that someone else changed since it was read is never written over. How the rows reach the
// file is TablePersistence's business.
//
// Rows are visited in index order: ascending by the index fields, an empty value before any other,
// numbers by value, texts by character codes, and ties in the order the rows stand in the table.
// Moving the cursor (first, last, next, prior, locate) while a row is pending posts it first, so
// code that edits a row and then moves on stores the row without an explicit post.
//
// The table emits change notifications so that views can follow it; a `BulkChange` folds the
// notifications of a long run of changes into one reset. A value typed for the row outside the
// table reaches it through a `PendingEdit` the table asks before it posts or moves.
//
// Table.cpp holds the life cycle, the cursor and the changes of rows; TableOrder.cpp the index
// order (sorting, a changed row's new place); TableLookup.cpp the fields by name and locate with
// its hash index; TableValues.cpp the typed values of the current row and their conversions;
// TableFieldUpdate.cpp the bulk update of fields outside the order.
class Table : public QObject {
    Q_OBJECT

public:
    enum class State { Closed, Browse, Edit, Insert };

    Table(QString name, QString folder, QString fileName, QObject* parent = nullptr);
    ~Table() override;

    const QString& name() const { return name_; }
    const QString& fileName() const { return fileName_; }
    QString filePath() const; // the file in its folder, matched without regard to letter case
    bool fileExists() const;

    // --- structure
    void defineFields(FieldList fields);
    const FieldList& fields() const { return layout_.fields(); }
    int fieldCount() const { return layout_.fieldCount(); }
    // The position of a field, matched without regard to case; throws TableError::fieldNotFound.
    int fieldIndex(QStringView name) const;
    std::optional<int> findField(QStringView name) const;
    void setIndexFieldNames(const QString& names);
    // The rules the file's values must keep (LoadChecks): a file that breaks them is refused by
    // open, which throws TableError naming the file and the fault and leaves the table closed.
    void setLoadCheck(std::function<std::optional<QString>(const FieldList&, const RecordStore&)> check) {
        loadCheck_ = std::move(check);
    }
    const QString& indexFieldNames() const { return indexNames_; }

    // --- life cycle
    void create();
    void open();
    // Closes without writing: changes not yet written by commitChanges or write are dropped.
    void close();
    void write();
    // Makes the posted changes since the last write durable now, writing only what changed (see
    // TablePersistence); the table stays open and a pending row stays pending. Nothing happens for a
    // closed table or one without changes. Throws TableError naming the file when it cannot write;
    // the changes stay in memory and the next write that succeeds writes them.
    void commitChanges();
    // Removes every row at once (the same as deleting them one by one, without the cost).
    void emptyTable();

    State state() const { return state_; }
    bool isOpen() const { return state_ != State::Closed; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    // True when rows were added, changed or deleted since create, open or the last write.
    bool changedMark() const { return changed_; }

    // --- cursor, in index order
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool locate(QStringView field, const QVariant& value) { return locate(fieldIndex(field), value); }
    bool locate(int field, const QVariant& value);
    int rowCount() const;
    // Bytes held for the rows, their order and the lookup indexes (what grows with the rows).
    std::size_t memoryBytes() const;
    int position() const { return pos_; } // -1 when there is no current row
    // Moves the cursor to the row at `position` in index order (a grid selection); posts first.
    void moveTo(int position);

    // --- changing rows
    void insert();
    void edit();
    void post();
    void cancel();
    void remove(); // "delete"

    // --- the current row (the pending one while inserting or editing)
    bool isEmpty(int field) const;
    bool isEmpty(QStringView field) const { return isEmpty(fieldIndex(field)); }
    QVariant value(int field) const; // invalid QVariant for an empty field
    QVariant value(QStringView field) const { return value(fieldIndex(field)); }
    QString text(int field) const; // decimal text for numbers, "" for empty
    QString text(QStringView field) const { return text(fieldIndex(field)); }
    // Reads a number; an empty field or a text that is not one throws.
    qint32 integer(int field) const;
    qint32 integer(QStringView field) const { return integer(fieldIndex(field)); }
    double real(int field) const;
    double real(QStringView field) const { return real(fieldIndex(field)); }
    // Reads a number, giving nothing for an empty field or a text that is not a whole number.
    std::optional<qint32> intValue(int field) const;
    std::optional<qint32> intValue(QStringView field) const { return intValue(fieldIndex(field)); }

    void setValue(int field, const QVariant& v);
    void setValue(QStringView field, const QVariant& v) { setValue(fieldIndex(field), v); }
    void setInteger(int field, qint32 v);
    void setReal(int field, double v);
    // For an Integer field the text must be a whole number, or TableError::notAnInteger is thrown.
    void setText(int field, const QString& v);
    void setText(QStringView field, const QString& v) { setText(fieldIndex(field), v); }
    void setEmpty(int field);

    // Values held outside the table for its current row (see PendingEdit): the table asks each one
    // registered to set its value before it posts the row or leaves it. The table does not own
    // them; a holder removes itself before it goes.
    void addPendingEdit(PendingEdit* edit);
    void removePendingEdit(PendingEdit* edit);

    // Read access to any row by its position in index order, without moving the cursor; for
    // loops that only read (summaries, listings) and for views.
    RowRef rowAt(int position) const;

    // Rewrites fields that no index order uses straight in the stored rows, for a long run of
    // changes (the hits of a check over millions of games): no pending row, no re-ordering, no
    // notification per row; the views reread everything once when the update ends. A changed row
    // is marked for the next write as a post marks it; a row set to what it holds is not changed.
    // Rows are addressed by their position in index order, which the update leaves as it is.
    class FieldUpdate {
    public:
        // Posts a pending row first. Throws TableError when the table is closed or the order uses
        // one of `fields`.
        FieldUpdate(Table& t, std::vector<int> fields);
        ~FieldUpdate();
        FieldUpdate(const FieldUpdate&) = delete;
        FieldUpdate& operator=(const FieldUpdate&) = delete;

        // Setting a cell to what it holds is no change. A String field keeps at most its size in
        // characters, as Table::setText keeps them. The cells set in one row are stored together,
        // where the row stands, when the update moves to another row or ends: until then the
        // table still reads the row's old values.
        void setInteger(int position, int field, qint32 v);
        void setReal(int position, int field, double v);
        void setText(int position, int field, QStringView v);

    private:
        quint32 rowFor(int position, int field);
        bool pending(int field) const;
        // The record, and its layout, that hold the value of `field` the update sees for row phys:
        // the cell held since, else the stored row.
        std::pair<const std::uint8_t*, const RecordLayout*> current(quint32 phys, int field) const;
        void hold(int field);
        void flush();

        Table& t_;
        std::vector<bool> open_;         // the fields the update was opened for
        std::optional<quint32> phys_;    // the row whose cells are held
        std::vector<int> held_;          // its cells set since, in cell_
        std::vector<std::uint8_t> cell_; // their values, in a record of the full layout
        std::vector<std::pair<int, QString>> aside_; // their texts too long to stay inline
    };

    // Folds every notification between construction and destruction into one reset.
    class BulkChange {
    public:
        explicit BulkChange(Table& t);
        ~BulkChange();
        BulkChange(const BulkChange&) = delete;
        BulkChange& operator=(const BulkChange&) = delete;

    private:
        Table& t_;
    };

signals:
    void aboutToReset();
    void reset();
    void rowsAboutToBeInserted(int position);
    void rowsInserted(int position);
    void rowsAboutToBeRemoved(int position);
    void rowsRemoved(int position);
    void rowAboutToMove(int from, int to);
    void rowMoved(int from, int to);
    void rowChanged(int position);
    void currentChanged(int position);
    void stateChanged();
    // Runs each time the cursor arrives on a row (also when a row is inserted).
    void afterScroll();

private:
    void requireOpen() const;
    void requireCurrent() const;
    void requireEditing() const;
    void checkBrowse(); // posts or drops a pending row before a move
    void setCursor(int position, bool scrolled = true);
    CellReader current() const; // the current row, the pending one while inserting or editing
    void setState(State s);
    void resortAll();
    bool countingSort(int field); // false when the values span too far for it
    std::vector<int> resolveIndex() const;
    bool less(quint32 a, quint32 b) const;
    int insertionPosition(quint32 phys) const;
    int placeAfterChange(int from) const; // the place of the row at `from` once its keys changed
    bool physicalOrderIsIndexOrder() const; // the live rows, as they stand, are in index order
    int positionOf(quint32 phys) const;
    void dropRows();
    void writeFile(bool force);
    void markChanged(quint32 phys);
    HashIndex& hashIndex(int field);
    void notifyReset();     // before the rows are replaced or reordered
    void notifyResetDone(); // after: views reread everything and the current row
    bool quiet() const { return bulkDepth_ > 0; }

    QString name_;
    QString folder_;
    QString fileName_;
    QString indexNames_;
    RecordLayout layout_;
    RecordStore rows_;
    std::vector<quint32> order_;                     // live physical rows in index order
    std::vector<int> keys_;                          // index fields, resolved when the table opens
    std::vector<std::unique_ptr<HashIndex>> hashes_; // per field, built by the first locate
    State state_ = State::Closed;
    int pos_ = -1;
    bool eof_ = true;
    bool changed_ = false;
    bool fieldsDefined_ = false;

    // The pending row while inserting or editing.
    PendingRecord pending_;
    quint32 editedPhys_ = 0;

    // What the file holds and how the rows reach it. A closed table keeps its rows while they equal
    // the file, so reopening needs no read.
    TablePersistence file_;
    std::function<std::optional<QString>(const FieldList&, const RecordStore&)> loadCheck_;
    bool cached_ = false;
    std::vector<int> cachedKeys_; // the index the kept rows are ordered by

    int bulkDepth_ = 0;
    std::vector<PendingEdit*> pendingEdits_;
    void runUpdaters(); // asks every PendingEdit to store its value
};
