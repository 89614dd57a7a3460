#include "RowsSource.h"

#include "RecordStore.h"

#include <QByteArray>
#include <new>
#include <sqlite3.h>

namespace {

struct Source {
    const RecordLayout& layout;
    const RecordStore& rows;
};

struct SourceTable {
    sqlite3_vtab base; // first: SQLite hands back a pointer to it
    const Source* source;
};

struct Cursor {
    sqlite3_vtab_cursor base; // first, as above
    const Source* source;
    std::uint32_t phys = 0;
    const std::uint8_t* rec = nullptr;   // the record of row phys
    const RecordLayout* chunk = nullptr; // its layout
    QByteArray spilled;                  // the UTF-8 of a text kept aside, while SQLite copies it
};

// Moves the cursor to the first live row from its place on.
void skipDead(Cursor& c) {
    const RecordStore& rows = c.source->rows;
    for (; c.phys < rows.size(); ++c.phys) {
        c.rec = rows.record(c.phys);
        if (RecordLayout::alive(c.rec)) {
            c.chunk = &rows.layoutOf(c.phys);
            return;
        }
    }
}

int connectRows(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    const auto* source = static_cast<const Source*>(aux);
    // Columns without a type: the values keep the type of their cells, and the table written into
    // applies its own column types as it does to bound values.
    QByteArray sql = "CREATE TABLE x(";
    for (int f = 0; f < source->layout.fieldCount(); ++f)
        sql += (f ? ",c" : "c") + QByteArray::number(f);
    sql += ')';
    if (const int rc = sqlite3_declare_vtab(db, sql.constData()); rc != SQLITE_OK)
        return rc;
    sqlite3_vtab_config(db, SQLITE_VTAB_DIRECTONLY); // never reached from a schema or a trigger
    auto* t = new (std::nothrow) SourceTable{};
    if (!t)
        return SQLITE_NOMEM;
    t->source = source;
    *out = &t->base;
    return SQLITE_OK;
}

int disconnectRows(sqlite3_vtab* vt) {
    delete reinterpret_cast<SourceTable*>(vt);
    return SQLITE_OK;
}

int planRows(sqlite3_vtab*, sqlite3_index_info* info) {
    info->estimatedCost = 1e6; // one way to read: every row, in order
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab* vt, sqlite3_vtab_cursor** out) {
    auto* c = new (std::nothrow) Cursor{};
    if (!c)
        return SQLITE_NOMEM;
    c->source = reinterpret_cast<SourceTable*>(vt)->source;
    *out = &c->base;
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor* vc) {
    delete reinterpret_cast<Cursor*>(vc);
    return SQLITE_OK;
}

int startCursor(sqlite3_vtab_cursor* vc, int, const char*, int, sqlite3_value**) {
    auto& c = *reinterpret_cast<Cursor*>(vc);
    c.phys = 0;
    skipDead(c);
    return SQLITE_OK;
}

int nextRow(sqlite3_vtab_cursor* vc) {
    auto& c = *reinterpret_cast<Cursor*>(vc);
    ++c.phys;
    skipDead(c);
    return SQLITE_OK;
}

int pastLastRow(sqlite3_vtab_cursor* vc) {
    const auto& c = *reinterpret_cast<Cursor*>(vc);
    return c.phys >= c.source->rows.size() ? 1 : 0;
}

int cellOf(sqlite3_vtab_cursor* vc, sqlite3_context* ctx, int f) {
    auto& c = *reinterpret_cast<Cursor*>(vc);
    const std::uint8_t* rec = c.rec;
    if (!RecordLayout::has(rec, f))
        return SQLITE_OK; // NULL
    const RecordLayout& chunk = *c.chunk;
    switch (chunk.type(f)) {
    case FieldType::Integer:
        sqlite3_result_int(ctx, chunk.integerAt(rec, f));
        break;
    case FieldType::Float:
        sqlite3_result_double(ctx, chunk.realAt(rec, f));
        break;
    case FieldType::String:
        if (chunk.spilled(rec, f)) {
            const QString* t = c.source->rows.spilledText(c.phys, f);
            c.spilled = t ? t->toUtf8() : QByteArray();
            sqlite3_result_text(ctx, c.spilled.constData(), static_cast<int>(c.spilled.size()),
                                SQLITE_TRANSIENT);
        } else {
            const std::string_view v = chunk.inlineText(rec, f);
            sqlite3_result_text(ctx, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
        }
        break;
    }
    return SQLITE_OK;
}

int rowidOf(sqlite3_vtab_cursor* vc, sqlite3_int64* out) {
    *out = sqlite3_int64{reinterpret_cast<Cursor*>(vc)->phys} + 1;
    return SQLITE_OK;
}

// Eponymous only (no xCreate): the table exists on every connection the module is attached to
// and can never be made part of a file's schema.
const sqlite3_module kModule = {
    0,              // iVersion
    nullptr,        // xCreate
    connectRows,    // xConnect
    planRows,       // xBestIndex
    disconnectRows, // xDisconnect
    nullptr,        // xDestroy
    openCursor,     // xOpen
    closeCursor,    // xClose
    startCursor,    // xFilter
    nextRow,        // xNext
    pastLastRow,    // xEof
    cellOf,         // xColumn
    rowidOf,        // xRowid
    nullptr,        // xUpdate
    nullptr,        // xBegin
    nullptr,        // xSync
    nullptr,        // xCommit
    nullptr,        // xRollback
    nullptr,        // xFindFunction
    nullptr,        // xRename
    nullptr,        // xSavepoint
    nullptr,        // xRelease
    nullptr,        // xRollbackTo
    nullptr,        // xShadowName
};

} // namespace

int attachRowsSource(sqlite3* db, const RecordLayout& layout, const RecordStore& rows) {
    auto* source = new (std::nothrow) Source{layout, rows};
    if (!source)
        return SQLITE_NOMEM;
    // SQLite owns the source from here, and deletes it when the connection closes (or at once when
    // the module cannot be attached).
    return sqlite3_create_module_v2(db, kRowsSource, &kModule, source,
                                    [](void* p) { delete static_cast<Source*>(p); });
}
