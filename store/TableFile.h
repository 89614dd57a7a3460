#pragma once

#include "FieldDef.h"

#include <QString>
#include <cstdint>

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
// is damaged, or is not a table file of this format.
void load(const QString& path, RecordLayout& layout, RecordStore& rows);

// Replaces `path` by a file holding every live row, in one atomic step: the new content is
// written and flushed beside the old file and then renamed over it, so a crash at any moment
// leaves either the old file or the new one.
void writeWhole(const QString& path, const RecordLayout& layout, const RecordStore& rows);

// Adds the live rows from physical row `from` on to the end of `path`, which holds the rows
// before them; one SQLite transaction, so the file has all of them or none after a crash.
void appendRows(const QString& path, const RecordLayout& layout, const RecordStore& rows, std::uint32_t from);

// Declared type of a field's column, e.g. "VARCHAR(30)".
QString columnType(const FieldDef& f);

} // namespace TableFile
