#include "TableFile.h"

#include "FileCalls.h"
#include "FileErrorText.h"
#include "RecordStore.h"
#include "RowsSource.h"
#include "TableError.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The end of the name of a whole write's temporary file, so that one a crash left is known.
constexpr char kTempSuffix[] = ".tmp";

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

TableError unreadable(const QString& path, const QString& why) {
    return TableError(
        QStringLiteral("O arquivo \"%1\" não pôde ser lido: está danificado ou não é um arquivo de "
                       "tabela do Quinabel (%2). O arquivo não foi alterado; renomeie-o ou "
                       "remova-o para que o programa possa criar um novo.")
            .arg(shown(path), why));
}

// SQLite's own text is English: the reason the player reads comes from the code alone.
QString reasonOf(int code, const char* /*sqliteMessage*/) {
    return FileErrorText::ofSqlite(code);
}

TableError unwritable(const QString& path, const QString& why) {
    return TableError(FileErrorText::cannotWrite(path, why));
}

// Owns one database connection and turns SQLite failures into exceptions.
class Db {
public:
    Db(const QString& path, int flags, const char* vfs = nullptr) : path_(path) {
        // One connection per call and thread: SQLite need not lock every call on it.
        const int rc =
            sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags | SQLITE_OPEN_NOMUTEX, vfs);
        if (rc != SQLITE_OK) {
            code_ = rc;
            message_ = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }
    ~Db() { sqlite3_close(db_); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    bool ok() const { return db_ != nullptr; }
    int code() const { return code_; }
    QString message() const { return QString::fromUtf8(message_.c_str()); }
    sqlite3* get() const { return db_; }

    // Runs a statement that yields nothing; answers the SQLite code.
    int exec(const char* sql) {
        char* err = nullptr;
        const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &err);
        if (rc != SQLITE_OK) {
            code_ = rc;
            message_ = err ? err : sqlite3_errmsg(db_);
        }
        sqlite3_free(err);
        return rc;
    }
    void fail(int rc) {
        code_ = rc;
        message_ = sqlite3_errmsg(db_);
    }

private:
    QString path_;
    sqlite3* db_ = nullptr;
    int code_ = SQLITE_OK;
    std::string message_;
};

class Stmt {
public:
    Stmt(sqlite3* db, const QByteArray& sql) {
        rc_ = sqlite3_prepare_v2(db, sql.constData(), -1, &s_, nullptr);
    }
    ~Stmt() { sqlite3_finalize(s_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    bool ok() const { return rc_ == SQLITE_OK && s_; }
    int rc() const { return rc_; }
    sqlite3_stmt* get() const { return s_; }

private:
    sqlite3_stmt* s_ = nullptr;
    int rc_ = SQLITE_OK;
};

// A PRAGMA that answers one integer; nullopt when the file cannot answer it.
std::optional<qint64> pragmaInt(Db& db, const char* sql, int& rcOut) {
    Stmt s(db.get(), sql);
    if (!s.ok()) {
        rcOut = s.rc();
        return std::nullopt;
    }
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_ROW) {
        rcOut = rc;
        return std::nullopt;
    }
    return sqlite3_column_int64(s.get(), 0);
}

std::optional<FieldDef> fieldFromColumn(const QString& name, QString declared) {
    declared = declared.trimmed().toUpper();
    if (declared == QLatin1String("INTEGER") || declared == QLatin1String("INT"))
        return FieldDef::integer(name);
    if (declared == QLatin1String("REAL") || declared == QLatin1String("DOUBLE") ||
        declared == QLatin1String("FLOAT"))
        return FieldDef::real(name);
    if (declared.startsWith(QLatin1String("VARCHAR(")) && declared.endsWith(QLatin1Char(')'))) {
        bool ok = false;
        const int n = declared.mid(8, declared.size() - 9).trimmed().toInt(&ok);
        if (ok && n > 0 && n <= 8192)
            return FieldDef::string(name, n);
    }
    return std::nullopt;
}

QByteArray quoted(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return '"' + n.toUtf8() + '"';
}

QByteArray createSql(const RecordLayout& layout) {
    QByteArray sql = "CREATE TABLE data (";
    for (int f = 0; f < layout.fieldCount(); ++f) {
        if (f)
            sql += ", ";
        sql += quoted(layout.fields()[static_cast<std::size_t>(f)].name) + ' ' +
               TableFile::columnType(layout.fields()[static_cast<std::size_t>(f)]).toLatin1();
    }
    sql += ')';
    return sql;
}

// Binds the filled cells of physical row `p` to the parameters from `firstCol` on; the others
// are left as stepAndReset leaves them, NULL (a games row is half empty, and binding fewer values
// is a good part of what a whole write of a million rows costs).
void bindRow(sqlite3_stmt* s, const RecordLayout& layout, const RecordStore& rows, std::uint32_t p,
             int firstCol, QByteArray& spilled) {
    const std::uint8_t* rec = rows.record(p);
    const RecordLayout& chunk = rows.layoutOf(p);
    const int n = layout.fieldCount();
    for (int f = 0; f < n; ++f) {
        const int col = f + firstCol;
        if (!RecordLayout::has(rec, f))
            continue;
        switch (layout.type(f)) {
        case FieldType::Integer:
            sqlite3_bind_int(s, col, chunk.integerAt(rec, f));
            break;
        case FieldType::Float:
            sqlite3_bind_double(s, col, chunk.realAt(rec, f));
            break;
        case FieldType::String:
            if (chunk.spilled(rec, f)) {
                const QString* t = rows.spilledText(p, f);
                spilled = t ? t->toUtf8() : QByteArray();
                sqlite3_bind_text(s, col, spilled.constData(), static_cast<int>(spilled.size()),
                                  SQLITE_TRANSIENT);
            } else {
                const std::string_view v = chunk.inlineText(rec, f);
                sqlite3_bind_text(s, col, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
            }
            break;
        }
    }
}

// Runs the statement and makes it ready for the next row, every parameter NULL again.
int stepAndReset(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

QByteArray updateSql(const RecordLayout& layout) {
    QByteArray sql = "UPDATE data SET ";
    for (int f = 0; f < layout.fieldCount(); ++f)
        sql += (f ? ", " : "") + quoted(layout.fields()[static_cast<std::size_t>(f)].name) + "=?";
    sql += " WHERE rowid=?";
    return sql;
}

// The changes of one durable write (see TableFile::writeChanges); answers the SQLite code.
int applyChanges(sqlite3* db, const RecordLayout& layout, const RecordStore& rows, std::uint32_t persisted,
                 const std::vector<std::uint32_t>& touched) {
    const int n = layout.fieldCount();
    QByteArray spilled;
    if (!touched.empty()) {
        Stmt upd(db, updateSql(layout));
        Stmt del(db, "DELETE FROM data WHERE rowid=?");
        if (!upd.ok())
            return upd.rc();
        if (!del.ok())
            return del.rc();
        for (const std::uint32_t p : touched) {
            const sqlite3_int64 rowid = sqlite3_int64{p} + 1;
            int rc;
            if (RecordLayout::alive(rows.record(p))) {
                bindRow(upd.get(), layout, rows, p, 1, spilled);
                sqlite3_bind_int64(upd.get(), n + 1, rowid);
                rc = stepAndReset(upd.get());
            } else {
                sqlite3_bind_int64(del.get(), 1, rowid);
                rc = stepAndReset(del.get());
            }
            if (rc != SQLITE_OK)
                return rc;
        }
    }
    if (persisted < rows.size()) {
        QByteArray sql = "INSERT INTO data (rowid";
        for (int f = 0; f < n; ++f)
            sql += ", " + quoted(layout.fields()[static_cast<std::size_t>(f)].name);
        sql += ") VALUES (?";
        for (int f = 0; f < n; ++f)
            sql += ",?";
        sql += ')';
        Stmt ins(db, sql);
        if (!ins.ok())
            return ins.rc();
        for (std::uint32_t p = persisted; p < rows.size(); ++p) {
            if (!RecordLayout::alive(rows.record(p)))
                continue;
            sqlite3_bind_int64(ins.get(), 1, sqlite3_int64{p} + 1);
            bindRow(ins.get(), layout, rows, p, 2, spilled);
            if (const int rc = stepAndReset(ins.get()); rc != SQLITE_OK)
                return rc;
        }
    }
    return SQLITE_OK;
}

// A whole write's temporary file, removed unless it became the table file.
class TemporaryFile {
public:
    explicit TemporaryFile(QString path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept_)
            FileCalls::current().remove(path_);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const QString& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    QString path_;
    bool kept_ = false;
};

} // namespace

FileIdentity FileIdentity::of(const QString& path) {
    FileIdentity id;
    const QByteArray p = QFile::encodeName(path);
    struct stat st {};
    if (::stat(p.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return id;
    id.exists = true;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::int64_t>(st.st_size);
    id.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    const int fd = ::open(p.constData(), O_RDONLY);
    if (fd >= 0) {
        unsigned char b[4] = {};
        if (::pread(fd, b, 4, 24) == 4)
            id.changeCounter =
                (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
        ::close(fd);
    }
    return id;
}

QString TableFile::columnType(const FieldDef& f) {
    switch (f.type) {
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::Float:
        return QStringLiteral("REAL");
    case FieldType::String:
        return QStringLiteral("VARCHAR(%1)").arg(f.size);
    }
    return {};
}

namespace {
// The largest gap of deleted rowids a load fills with dead records beyond as many as the file has
// live rows: gaps that deletions of this program leave are no larger, and a file whose rowids jump
// further (written by another tool) is renumbered instead, so it cannot make a load allocate
// records for rowids that never held a row.
constexpr sqlite3_int64 kRowidGapFilledBeyondLive = 4096;

// Reads the 100-byte SQLite header without SQLite, so that a file that is not ours is refused
// before any SQLite connection could change it (a checkpoint, a journal rolled back).
enum class Header { Ours, Foreign, Unreadable };
Header headerOf(const QString& path, bool* walMode = nullptr) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return Header::Unreadable;
    unsigned char h[100] = {};
    const ssize_t n = ::pread(fd, h, sizeof h, 0);
    ::close(fd);
    if (n != static_cast<ssize_t>(sizeof h) || std::memcmp(h, "SQLite format 3", 16) != 0)
        return Header::Unreadable;
    const std::uint32_t id =
        (std::uint32_t{h[68]} << 24) | (std::uint32_t{h[69]} << 16) | (std::uint32_t{h[70]} << 8) | h[71];
    if (walMode)
        *walMode = h[18] == 2 || h[19] == 2; // the file format's read and write versions
    return id == static_cast<std::uint32_t>(TableFile::kApplicationId) ? Header::Ours : Header::Foreign;
}

// Whether the latest state of a file is in the file alone. Another program may have put it in
// SQLite's write-ahead-log mode, whose last changes wait in "<file>-wal" (and whose readers need
// "<file>-shm"); a "-wal" beside a file in the rollback mode belongs to no state of it, and any
// SQLite connection that opened the file read-write would copy it in, damaging the file.
enum class Wal { None, Pending, Stale };
Wal walOf(const QString& path, bool walMode) {
    const QFileInfo wal(path + QStringLiteral("-wal"));
    if (walMode)
        return Wal::Pending;
    return wal.exists() && wal.size() > 0 ? Wal::Stale : Wal::None;
}

TableError staleWal(const QString& path) {
    return TableError(
        QStringLiteral("Ao lado do arquivo \"%1\" há um arquivo \"%2\", deixado por outro programa, que não "
                       "pertence a ele e o danificaria. O arquivo não foi alterado; mova \"%2\" (e \"%3\", "
                       "se houver) para outra pasta e abra o Quinabel de novo.")
            .arg(shown(path), shown(path + QStringLiteral("-wal")), shown(path + QStringLiteral("-shm"))));
}

// A private copy of a file in the write-ahead-log mode and of its log, in a folder of its own
// outside the player's: SQLite reads it there with its last changes, and whatever files the
// reading needs are made there, never beside the player's file.
struct WalCopy {
    QTemporaryDir dir;
    QString path;
    bool make(const QString& original) {
        if (!dir.isValid())
            return false;
        path = dir.filePath(QStringLiteral("copia.cds"));
        if (!QFile::copy(original, path))
            return false;
        const QString wal = original + QStringLiteral("-wal");
        return !QFile::exists(wal) || QFile::copy(wal, path + QStringLiteral("-wal"));
    }
};

TableError foreign(const QString& path) {
    return TableError(
        QStringLiteral("O arquivo \"%1\" não é um arquivo de tabela do Quinabel. O arquivo não foi "
                       "alterado; renomeie-o ou remova-o para que o programa possa criar um novo.")
            .arg(shown(path)));
}

// What PRAGMA quick_check finds wrong in the file, on a connection of its own; nullopt when the
// file is whole.
std::optional<QString> damageIn(const QString& path, int flags) {
    Db db(path, flags);
    if (!db.ok())
        return reasonOf(db.code(), nullptr);
    Stmt check(db.get(), "PRAGMA quick_check(1)");
    if (!check.ok())
        return reasonOf(check.rc(), sqlite3_errmsg(db.get()));
    const int rc = sqlite3_step(check.get());
    const auto* verdict =
        rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)) : nullptr;
    if (!verdict)
        return reasonOf(rc, sqlite3_errmsg(db.get()));
    if (std::strcmp(verdict, "ok") != 0)
        return QStringLiteral("o arquivo está danificado");
    return std::nullopt;
}

// Reads the columns and rows of the file open on `db` into `layout` and `rows`; answers whether
// physical row p is rowid p + 1. Throws TableError naming `path`.
bool readRows(const QString& path, Db& db, RecordLayout& layout, RecordStore& rows) {
    int rc = SQLITE_OK;
    FieldList fields;
    {
        Stmt info(db.get(), "PRAGMA table_info(data)");
        if (!info.ok())
            throw unreadable(path, reasonOf(info.rc(), sqlite3_errmsg(db.get())));
        while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
            const QString name =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
            const QString type =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2)));
            auto f = fieldFromColumn(name, type);
            if (!f)
                throw unreadable(path,
                                 QStringLiteral("coluna \"%1\" de tipo \"%2\" desconhecido").arg(name, type));
            fields.push_back(*f);
        }
        if (rc != SQLITE_DONE)
            throw unreadable(path, reasonOf(rc, sqlite3_errmsg(db.get())));
    }
    if (fields.empty())
        throw unreadable(path, QStringLiteral("não há tabela \"data\""));

    layout.setFields(fields);
    rows.reset(layout);
    Stmt sel(db.get(), "SELECT rowid, * FROM data ORDER BY rowid");
    if (!sel.ok())
        throw unreadable(path, reasonOf(sel.rc(), sqlite3_errmsg(db.get())));
    sqlite3_stmt* s = sel.get();
    const int n = layout.fieldCount();
    std::vector<std::uint8_t> full(layout.recordSize());
    bool rowidsMatch = true;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        if (rowidsMatch) {
            // Rows deleted by earlier writes leave gaps in the rowids; dead records keep the row
            // numbers equal to them, as long as the gaps stay no larger than the rows themselves.
            const sqlite3_int64 rowid = sqlite3_column_int64(s, 0);
            const sqlite3_int64 expected = sqlite3_int64{rows.size()} + 1;
            if (rowid < expected ||
                rowid - expected > sqlite3_int64{rows.alive()} + kRowidGapFilledBeyondLive)
                rowidsMatch = false;
            else
                while (sqlite3_int64{rows.size()} + 1 < rowid)
                    rows.kill(rows.append());
        }
        const std::uint32_t p = rows.append();
        std::fill(full.begin(), full.end(), std::uint8_t{0});
        std::uint8_t* rec = full.data();
        RecordLayout::setBit(rec, 0, true);
        for (int f = 0; f < n; ++f) {
            const int col = f + 1;
            sqlite3_value* cell = sqlite3_column_value(s, col); // one look-up per cell, not one per call
            const int t = sqlite3_value_type(cell);
            if (t == SQLITE_NULL)
                continue;
            switch (layout.type(f)) {
            case FieldType::Integer: {
                const sqlite3_int64 v = sqlite3_value_int64(cell);
                if (t != SQLITE_INTEGER || v < std::numeric_limits<std::int32_t>::min() ||
                    v > std::numeric_limits<std::int32_t>::max())
                    throw unreadable(path, QStringLiteral("valor inválido no campo \"%1\", linha %2")
                                               .arg(fields[static_cast<std::size_t>(f)].name)
                                               .arg(rows.alive()));
                layout.putInteger(rec, f, static_cast<std::int32_t>(v));
                break;
            }
            case FieldType::Float:
                if (t != SQLITE_INTEGER && t != SQLITE_FLOAT)
                    throw unreadable(path, QStringLiteral("valor inválido no campo \"%1\", linha %2")
                                               .arg(fields[static_cast<std::size_t>(f)].name)
                                               .arg(rows.alive()));
                layout.putReal(rec, f, sqlite3_value_double(cell));
                break;
            case FieldType::String: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(cell));
                const int bytes = sqlite3_value_bytes(cell);
                const QByteArray utf8 = QByteArray::fromRawData(text, bytes);
                if (!layout.putText(rec, f, utf8))
                    rows.setSpilled(p, f, QString::fromUtf8(text, bytes));
                break;
            }
            }
        }
        rows.store(p, rec);
    }
    if (rc != SQLITE_DONE)
        throw unreadable(path, reasonOf(rc, sqlite3_errmsg(db.get())));
    if (!rowidsMatch && rows.alive() != rows.size()) {
        // The numbering was given up half-way: drop the dead records again.
        rows.compact();
    }
    return rowidsMatch;
}
} // namespace

bool TableFile::load(const QString& path, RecordLayout& layout, RecordStore& rows) {
    bool walMode = false;
    switch (headerOf(path, &walMode)) {
    case Header::Foreign:
        throw foreign(path);
    case Header::Unreadable:
        throw unreadable(path, QStringLiteral("cabeçalho inválido"));
    case Header::Ours:
        break;
    }
    // Read-only, so that reading never changes the file; read-write only when a journal says a
    // write of ours was cut short, which SQLite must roll back before the file can be read. A file
    // in the write-ahead-log mode is read from a private copy, with its log.
    const Wal wal = walOf(path, walMode);
    if (wal == Wal::Stale)
        throw staleWal(path);
    WalCopy copy;
    if (wal == Wal::Pending && !copy.make(path))
        throw unreadable(path, QStringLiteral("a cópia para a leitura não pôde ser feita"));
    const bool hotJournal = wal == Wal::None && QFileInfo(path + QStringLiteral("-journal")).size() > 0;
    const QString readPath = wal == Wal::Pending ? copy.path : path;
    const int readFlags = wal == Wal::Pending || hotJournal ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    auto conn = std::make_unique<Db>(readPath, readFlags);
    if (!conn->ok())
        throw unreadable(path, conn->message());
    Db& db = *conn;
    int rc = SQLITE_OK;
    const auto appId = pragmaInt(db, "PRAGMA application_id", rc);
    if (!appId)
        throw unreadable(path, reasonOf(rc, sqlite3_errmsg(db.get())));
    const auto version = pragmaInt(db, "PRAGMA user_version", rc);
    if (!version)
        throw unreadable(path, reasonOf(rc, sqlite3_errmsg(db.get())));
    if (*appId != kApplicationId)
        throw foreign(path);
    if (*version > kFormatVersion)
        throw TableError(
            QStringLiteral("O arquivo \"%1\" foi gravado por uma versão mais nova do Quinabel (formato "
                           "%2) e não pode ser lido por esta versão. O arquivo não foi alterado.")
                .arg(shown(path))
                .arg(*version));
    if (*version < kFormatVersion)
        throw unreadable(path, QStringLiteral("versão de formato %1 desconhecida").arg(*version));

    // The check of the whole file costs about as much as reading its rows, so it runs beside the
    // reading, on a connection of its own (the journal a cut write left, if any, was rolled back by
    // the reads above). Its verdict is the answer whenever it finds damage, as if it had run first.
    std::future<std::optional<QString>> damage =
        std::async(std::launch::async, [&readPath, readFlags] { return damageIn(readPath, readFlags); });
    bool numbered = false;
    try {
        numbered = readRows(path, db, layout, rows);
    } catch (const TableError&) {
        if (const auto why = damage.get())
            throw unreadable(path, *why);
        throw;
    }
    if (const auto why = damage.get())
        throw unreadable(path, *why);
    return numbered;
}

void TableFile::writeWhole(const QString& path, const RecordLayout& layout, const RecordStore& rows) {
    FileCalls& calls = FileCalls::current();
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    // The new file gets the permission bits of the one it replaces (a new one those of the umask),
    // not the private bits of a temporary file.
    mode_t mode;
    {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
            mode = st.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
    }
    QString created;
    if (const int err = calls.createUnique(folder + QStringLiteral("/.") + target.fileName() +
                                               QStringLiteral(".XXXXXX") + QLatin1String(kTempSuffix),
                                           static_cast<int>(sizeof kTempSuffix - 1), mode, created);
        err != 0)
        throw unwritable(path, FileErrorText::ofErrno(err));
    TemporaryFile tmp(created);
    const QString& tmpPath = tmp.path();
    {
        Db db(tmpPath, SQLITE_OPEN_READWRITE, calls.sqliteVfs());
        if (!db.ok())
            throw unwritable(path, reasonOf(db.code(), nullptr));
        // The file is private until the rename, so no journal is needed while it is built. Pages
        // are appended, never read back, so a small cache writes them out as they fill: a large
        // one only costs memory to zero and a long write at the commit.
        const QByteArray pragmas =
            QByteArrayLiteral(
                "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
                "PRAGMA locking_mode=EXCLUSIVE; PRAGMA cache_size=-2048; PRAGMA page_size=32768; "
                "PRAGMA application_id=") +
            QByteArray::number(kApplicationId) +
            "; PRAGMA user_version=" + QByteArray::number(kFormatVersion) + ';';
        if (db.exec(pragmas.constData()) != SQLITE_OK ||
            db.exec(createSql(layout).constData()) != SQLITE_OK || db.exec("BEGIN") != SQLITE_OK)
            throw unwritable(path, reasonOf(db.code(), db.message().toUtf8().constData()));
        // Every live row, numbered 1, 2, ... in order.
        const QByteArray copy = QByteArrayLiteral("INSERT INTO data SELECT * FROM ") + kRowsSource;
        int rc = attachRowsSource(db.get(), layout, rows);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db.get(), copy.constData(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            const QString why = reasonOf(rc, sqlite3_errmsg(db.get()));
            db.exec("ROLLBACK");
            throw unwritable(path, why);
        }
        if (db.exec("COMMIT") != SQLITE_OK)
            throw unwritable(path, reasonOf(db.code(), db.message().toUtf8().constData()));
    }
    // The content is on the disk before the new name points at it, and the new name before the
    // write is done: a power cut at any moment leaves the old file or the new one under the name.
    if (const int err = calls.syncFile(tmpPath); err != 0)
        throw unwritable(path, FileErrorText::ofErrno(err));
    // The new file must not meet the old one's write-ahead log: the log is folded into the old
    // file first, which SQLite does safely at any moment.
    settleWal(path);
    if (const int err = calls.rename(tmpPath, path); err != 0)
        throw unwritable(path, FileErrorText::ofErrno(err));
    tmp.keep();               // it is the table file now
    calls.syncFolder(folder); // some file systems cannot sync a folder; the rename is done anyway
}

void TableFile::writeChanges(const QString& path, const RecordLayout& layout, const RecordStore& rows,
                             std::uint32_t persisted, const std::vector<std::uint32_t>& touched) {
    settleWal(path); // a log another program left must not be copied into our write
    Db db(path, SQLITE_OPEN_READWRITE, FileCalls::current().sqliteVfs());
    if (!db.ok())
        throw unwritable(path, reasonOf(db.code(), nullptr));
    // The rollback journal, synced before the file is touched, makes the write all or nothing
    // whenever the machine stops; the file keeps the journal mode every SQLite tool reads. EXTRA
    // syncs the folder once the journal is removed: with FULL, a power cut soon after the write
    // could bring the journal back and undo the write that had been reported done.
    if (db.exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=EXTRA; PRAGMA cache_size=-16384") !=
            SQLITE_OK ||
        db.exec("BEGIN IMMEDIATE") != SQLITE_OK)
        throw unwritable(path, reasonOf(db.code(), db.message().toUtf8().constData()));
    const int rc = applyChanges(db.get(), layout, rows, persisted, touched);
    if (rc != SQLITE_OK) {
        const QString why = reasonOf(rc, sqlite3_errmsg(db.get()));
        db.exec("ROLLBACK");
        throw unwritable(path, why);
    }
    if (db.exec("COMMIT") != SQLITE_OK) {
        const QString why = reasonOf(db.code(), db.message().toUtf8().constData());
        db.exec("ROLLBACK");
        throw unwritable(path, why);
    }
}

void TableFile::settleWal(const QString& path) {
    bool walMode = false;
    if (headerOf(path, &walMode) != Header::Ours) {
        if (QFileInfo(path + QStringLiteral("-wal")).size() > 0)
            throw staleWal(path);
        return;
    }
    const Wal wal = walOf(path, walMode);
    if (wal == Wal::Stale)
        throw staleWal(path);
    if (wal == Wal::Pending) {
        Db db(path, SQLITE_OPEN_READWRITE);
        if (!db.ok())
            throw unwritable(path, reasonOf(db.code(), nullptr));
        // The checkpoint copies the log into the file; leaving the mode then removes the log. A cut
        // at any moment leaves the file with its log (read again the same) or the file alone.
        Stmt mode(db.get(), "PRAGMA journal_mode=DELETE");
        const int rc = mode.ok() ? sqlite3_step(mode.get()) : mode.rc();
        const char* now =
            rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(mode.get(), 0)) : nullptr;
        if (!now || std::strcmp(now, "delete") != 0)
            throw unwritable(path, rc == SQLITE_ROW
                                       ? QStringLiteral("o arquivo está em uso por outro programa")
                                       : reasonOf(rc, sqlite3_errmsg(db.get())));
    }
    // An index of a log no longer there; SQLite makes it again if it ever needs one.
    QFile::remove(path + QStringLiteral("-shm"));
}

void TableFile::removeLeftovers(const QString& folder, const QStringList& tableFiles) {
    // Exactly the names whole writes give their temporary files: ".<table file>.XXXXXX.tmp", six
    // letters or digits; the player's own hidden files are never touched.
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : names) {
        if (!n.startsWith(u'.') || !n.endsWith(QLatin1String(kTempSuffix)))
            continue;
        const QStringView middle = QStringView(n).sliced(1, n.size() - 1 - 4);
        if (middle.size() < 8 || middle.at(middle.size() - 7) != u'.')
            continue;
        const QStringView table = middle.chopped(7);
        const QStringView random = middle.last(6);
        if (!std::all_of(random.begin(), random.end(),
                         [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }))
            continue;
        if (std::any_of(tableFiles.begin(), tableFiles.end(), [&](const QString& f) { return table == f; }))
            QFile::remove(dir.filePath(n));
    }
}
