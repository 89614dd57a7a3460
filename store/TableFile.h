#pragma once

#include "FieldDef.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class RecordLayout;
class RecordStore;

// What identifies one state of a file on disk: a rewrite gives a new inode, an append a new size,
// time and SQLite change counter. Two equal identities mean the file was not touched in between.
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::uint32_t changeCounter = 0;

    static FileIdentity of(const QString& path);
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The file encoding of a table: an SQLite 3 database holding one SQL table named `data`, whose
// columns are the fields in order (INTEGER, REAL or VARCHAR(n)) and whose rows, in rowid order,
// are the rows in order; an empty value is NULL. The application id and the format version make
// any other file recognisable, so it is refused instead of misread.
namespace TableFile {

inline constexpr std::int32_t kApplicationId = 0x514E424C; // "QNBL"
inline constexpr int kFormatVersion = 1;

// Loads the fields and rows of `path`; throws TableError naming the file when it cannot be read,
// is damaged (`PRAGMA quick_check`), or is not a table file of this format. The file is opened
// read-only and never changed, except that the journal of a write of ours that a crash cut short
// is rolled back first (SQLite needs write access for that). A file whose header is not ours is
// refused before SQLite touches it.
//
// Physical row p stands for rowid p + 1 afterwards: gaps that deletions left in the rowids are
// filled with dead records, so later writes can address the file's rows by their row numbers.
// Answers false when the rowids do not allow that (a file written by another tool); the next
// write of such a table is then a whole write.
bool load(const QString& path, RecordLayout& layout, RecordStore& rows);

// Replaces `path` by a file holding every live row, in one atomic step: the new content is
// written and flushed beside the old file and then renamed over it, so a crash at any moment
// leaves either the old file or the new one.
void writeWhole(const QString& path, const RecordLayout& layout, const RecordStore& rows);

// Writes what changed since `path` last matched the rows, in one SQLite transaction with the
// rollback journal and extra synchronous commits (the folder synced once the journal is gone), so
// after a crash or a power cut the file holds all of it or none of it: physical row p is rowid
// p + 1; the rows in `touched` (below `persisted`, each once, in ascending order) are updated when
// alive and deleted when dead, and the live rows from `persisted` on are inserted.
void writeChanges(const QString& path, const RecordLayout& layout, const RecordStore& rows,
                  std::uint32_t persisted, const std::vector<std::uint32_t>& touched);

// Removes the temporary files that whole writes of the files `tableFiles` cut short by a crash
// left in `folder`, and nothing else.
void removeLeftovers(const QString& folder, const QStringList& tableFiles);

// A file of ours that another program put in SQLite's write-ahead-log mode is brought back to the
// rollback journal with its log folded in, through SQLite, so that no later rename or write can
// meet a log that does not belong to it; "-wal" and "-shm" are gone afterwards. Nothing happens to
// a file in the rollback mode. Throws TableError naming the file when that cannot be done (a log
// that belongs to no state of the file included); the file is then as it was.
void settleWal(const QString& path);

// Declared type of a field's column, e.g. "VARCHAR(30)".
QString columnType(const FieldDef& f);

} // namespace TableFile
