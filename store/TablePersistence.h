#pragma once

#include "TableFile.h"

#include <QString>
#include <cstdint>
#include <vector>

class RecordLayout;
class RecordStore;

// What a table's file holds compared with the table's rows, and the one path by which the rows
// reach the file. Physical row p of the table is rowid p + 1 of the file while the two stay
// numbered alike (after a load or any write); the rows changed or deleted since the file last
// matched are remembered, so a write touches only them and the rows added since.
//
// A write is durable and atomic either way: the changes go in one SQLite transaction with the
// rollback journal and full synchronous commits; a whole write (a re-created or emptied table, a
// file changed by someone else since, a table whose rows are mostly dead, or a write that changes
// most of the file's rows) builds the new file beside the old one and renames it over it. A failed write leaves the file as it was and keeps
// what is pending, so the next write that succeeds writes it.
class TablePersistence {
public:
    // Nothing is known of the file: the next write is a whole one.
    void forget();
    // The rows were just read from `path`; `numbered` tells whether physical row p is rowid p + 1.
    void loaded(const QString& path, std::uint32_t rows, bool numbered);
    // A row was added, changed or deleted.
    void touched(std::uint32_t phys);
    // Every row was removed or replaced: the next write is a whole one.
    void replacedAll();

    // True when the rows equal what the file held when it was last read or written.
    bool sameAsFile() const { return sameAsFile_; }
    // True when the file is still the one the rows were last read from or written to.
    bool fileUntouched(const QString& path) const;

    // Brings the file to the rows: nothing when it already holds them (unless `whole`), the changes
    // when the file is numbered alike and untouched, else a whole write. A file that someone else
    // changed since these rows were read from it or written to it (another program; not another
    // table of this one, for which whoever writes last wins) is never written over: a TableError
    // naming it is thrown, and the rows keep their pending changes. A whole write drops the
    // dead records and answers the new number of each old row (empty when nothing was renumbered).
    // Throws TableError naming the file when it cannot write; nothing is forgotten then.
    std::vector<std::uint32_t> write(const QString& path, const RecordLayout& layout, RecordStore& rows,
                                     bool whole);

private:
    FileIdentity identity_;
    std::uint32_t persisted_ = 0;        // rows 0 .. persisted_ - 1 are (or were) rows of the file
    std::vector<std::uint32_t> touched_; // rows below persisted_ changed or deleted since
    bool numbered_ = false;              // physical row p is rowid p + 1 of the file
    bool sameAsFile_ = false;
};
