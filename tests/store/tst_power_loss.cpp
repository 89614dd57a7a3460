#include "FileCalls.h"
#include "Table.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <optional>
#include <set>
#include <sqlite3.h>

// A power cut in the middle of a table write, at every moment the write makes something durable.
//
// A model of the disk stands between the store and the folder: the store's own calls (FileCalls:
// creating the temporary file, syncing a file or the folder, renaming) and SQLite's I/O (a VFS that
// wraps the default one) go to the real files and tell the model what they did. The model keeps, as
// the disk would, the content of every file as of its last sync and the folder's entries as of its
// last sync; whatever came after is not yet durable. At the chosen sync point the model takes a
// picture of what a power cut would leave there and then, while the write goes on to its end.
//
// What a cut keeps of what was not yet durable is up to the disk, so every case is tried: each file
// written since its last sync keeps all of that or none of it, and the folder keeps a first part of
// its changes since its last sync, in the order they were made (a file system journals its entries
// in order, but may write a file's data before or after them). The folder is then rebuilt as each
// case leaves it, and the table file must read back as the old rows or the new ones, and the new
// ones whenever the write had returned.
namespace {

class DiskModel {
public:
    explicit DiskModel(const QString& folder) : folder_(QDir(folder).absolutePath()) {
        for (const QString& n : QDir(folder_).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            const int id = nextId_++;
            current_[n] = id;
            content_[id] = read(n);
        }
        synced_ = current_;
    }

    // The power is cut after sync point `n` (0: before the first), at a moment before the next one:
    // the picture holds what was durable after sync n and, as candidates, all that was done until
    // the next sync (or the end of the write).
    void cutAfter(int n) { cutAfter_ = n; }
    int syncPoints() const { return syncs_; }
    bool madeTemporaryFile() const { return madeTemporary_; }

    // The name of `path` in the folder, or nothing for a file elsewhere.
    std::optional<QString> nameOf(const QString& path) const {
        const QFileInfo f(path);
        if (QDir(f.absolutePath()).absolutePath() != folder_)
            return std::nullopt;
        return f.fileName();
    }

    void created(const QString& name, bool temporary = false) {
        const int id = nextId_++;
        current_[name] = id;
        pending_.push_back({Op::Create, name, {}, id});
        madeTemporary_ = madeTemporary_ || temporary;
    }
    void removed(const QString& name) {
        current_.erase(name);
        pending_.push_back({Op::Remove, name, {}, 0});
    }
    void renamed(const QString& from, const QString& to) {
        const auto it = current_.find(from);
        if (it == current_.end())
            return;
        current_[to] = it->second;
        current_.erase(from);
        pending_.push_back({Op::Rename, from, to, 0});
    }
    void written(const QString& name) {
        if (const auto it = current_.find(name); it != current_.end())
            dirty_.insert(it->second);
    }
    void fileSynced(const QString& name) {
        beforeSync();
        if (const auto it = current_.find(name); it != current_.end()) {
            content_[it->second] = read(name);
            dirty_.erase(it->second);
        }
        syncPoint();
    }
    void folderSynced() {
        beforeSync();
        synced_ = current_;
        pending_.clear();
        syncPoint();
    }
    // The end of the operation: a picture not taken yet is taken now.
    void finish() {
        if (!picture_)
            takePicture();
    }

    // How many cases the picture allows.
    int cases() const {
        return (1 << picture_->dirty.size()) * static_cast<int>(picture_->pending.size() + 1);
    }
    // Rebuilds the folder as case `c` of the picture leaves it; answers what was kept, for messages.
    QString rebuild(int c) const {
        const Picture& p = *picture_;
        const int keptOps = c % static_cast<int>(p.pending.size() + 1);
        const int keptData = c / static_cast<int>(p.pending.size() + 1);
        std::map<QString, int> dir = p.synced;
        for (int i = 0; i < keptOps; ++i) {
            const Pending& op = p.pending[static_cast<std::size_t>(i)];
            switch (op.op) {
            case Op::Create:
                dir[op.name] = op.id;
                break;
            case Op::Remove:
                dir.erase(op.name);
                break;
            case Op::Rename:
                if (const auto it = dir.find(op.name); it != dir.end()) {
                    dir[op.to] = it->second;
                    dir.erase(op.name);
                }
                break;
            }
        }
        QDir d(folder_);
        for (const QString& n : d.entryList(QDir::Files | QDir::Hidden | QDir::System))
            QFile::remove(d.filePath(n));
        QStringList keptFiles;
        for (const auto& [name, id] : dir) {
            QByteArray bytes;
            int bit = 0;
            bool kept = false;
            for (const auto& [dirtyId, now] : p.dirty) {
                if (dirtyId == id && ((keptData >> bit) & 1)) {
                    bytes = now;
                    kept = true;
                }
                ++bit;
            }
            if (!kept)
                bytes = p.content.count(id) ? p.content.at(id) : QByteArray(); // never synced: empty
            QFile f(d.filePath(name));
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                qFatal("the folder cannot be rebuilt");
            keptFiles << name + (kept ? QStringLiteral(" (não sincronizado)") : QString());
        }
        return QStringLiteral("%1 de %2 mudanças da pasta; arquivos: %3")
            .arg(keptOps)
            .arg(p.pending.size())
            .arg(keptFiles.join(QStringLiteral(", ")));
    }

private:
    enum class Op { Create, Remove, Rename };
    struct Pending {
        Op op;
        QString name;
        QString to;
        int id;
    };
    struct Picture {
        std::map<QString, int> synced;
        std::vector<Pending> pending;
        std::map<int, QByteArray> content;
        std::vector<std::pair<int, QByteArray>> dirty; // what the files written since their sync hold now
    };

    QByteArray read(const QString& name) const {
        QFile f(QDir(folder_).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void beforeSync() {
        if (syncs_ == cutAfter_ && !picture_)
            takePicture();
    }
    void syncPoint() { ++syncs_; }
    void takePicture() {
        Picture p{synced_, pending_, content_, {}};
        for (const int id : dirty_)
            for (const auto& [name, cur] : current_)
                if (cur == id) {
                    p.dirty.emplace_back(id, read(name));
                    break;
                }
        picture_ = std::move(p);
    }

    QString folder_;
    int nextId_ = 1;
    std::map<QString, int> current_;    // the folder as the programs see it
    std::map<QString, int> synced_;     // the folder as the disk holds it
    std::vector<Pending> pending_;      // the folder's changes since its last sync
    std::map<int, QByteArray> content_; // each file's content as of its last sync
    std::set<int> dirty_;               // files written since their last sync
    int syncs_ = 0;
    int cutAfter_ = -1;
    bool madeTemporary_ = false;
    std::optional<Picture> picture_;
};

DiskModel* model = nullptr;

// ------------------------------------------------------------------ SQLite's side: a VFS shim

constexpr char kVfsName[] = "corte_de_energia";

struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
    QString* name;   // in the folder, or null
    bool syncFolder; // the default VFS syncs the folder at the first sync of a journal it created
};

ShimFile* shim(sqlite3_file* f) {
    return reinterpret_cast<ShimFile*>(f);
}

int shimClose(sqlite3_file* f) {
    const int rc = shim(f)->real->pMethods ? shim(f)->real->pMethods->xClose(shim(f)->real) : SQLITE_OK;
    delete shim(f)->name;
    return rc;
}
int shimRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
    return shim(f)->real->pMethods->xRead(shim(f)->real, buf, n, off);
}
int shimWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
    const int rc = shim(f)->real->pMethods->xWrite(shim(f)->real, buf, n, off);
    if (shim(f)->name && model)
        model->written(*shim(f)->name);
    return rc;
}
int shimTruncate(sqlite3_file* f, sqlite3_int64 size) {
    const int rc = shim(f)->real->pMethods->xTruncate(shim(f)->real, size);
    if (shim(f)->name && model)
        model->written(*shim(f)->name);
    return rc;
}
int shimSync(sqlite3_file* f, int flags) {
    const int rc = shim(f)->real->pMethods->xSync(shim(f)->real, flags);
    if (rc == SQLITE_OK && shim(f)->name && model) {
        model->fileSynced(*shim(f)->name);
        if (shim(f)->syncFolder)
            model->folderSynced();
    }
    shim(f)->syncFolder = false;
    return rc;
}
int shimFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return shim(f)->real->pMethods->xFileSize(shim(f)->real, size);
}
int shimLock(sqlite3_file* f, int level) {
    return shim(f)->real->pMethods->xLock(shim(f)->real, level);
}
int shimUnlock(sqlite3_file* f, int level) {
    return shim(f)->real->pMethods->xUnlock(shim(f)->real, level);
}
int shimCheckReservedLock(sqlite3_file* f, int* out) {
    return shim(f)->real->pMethods->xCheckReservedLock(shim(f)->real, out);
}
int shimFileControl(sqlite3_file* f, int op, void* arg) {
    return shim(f)->real->pMethods->xFileControl(shim(f)->real, op, arg);
}
int shimSectorSize(sqlite3_file* f) {
    return shim(f)->real->pMethods->xSectorSize(shim(f)->real);
}
int shimDeviceCharacteristics(sqlite3_file* f) {
    return shim(f)->real->pMethods->xDeviceCharacteristics(shim(f)->real);
}

const sqlite3_io_methods shimMethods = {1, // no shared memory, no mapping: the rollback journal only
                                        shimClose,
                                        shimRead,
                                        shimWrite,
                                        shimTruncate,
                                        shimSync,
                                        shimFileSize,
                                        shimLock,
                                        shimUnlock,
                                        shimCheckReservedLock,
                                        shimFileControl,
                                        shimSectorSize,
                                        shimDeviceCharacteristics,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr};

sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs shimVfs;

int shimOpen(sqlite3_vfs*, sqlite3_filename zName, sqlite3_file* f, int flags, int* outFlags) {
    ShimFile* s = shim(f);
    s->base.pMethods = nullptr;
    s->real = reinterpret_cast<sqlite3_file*>(s + 1);
    s->name = nullptr;
    s->syncFolder = false;
    const std::optional<QString> name =
        zName && model ? model->nameOf(QFile::decodeName(zName)) : std::optional<QString>();
    const bool existed = zName && QFileInfo::exists(QFile::decodeName(zName));
    const int rc = realVfs->xOpen(realVfs, zName, s->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (s->real->pMethods)
            s->real->pMethods->xClose(s->real);
        return rc;
    }
    if (name) {
        s->name = new QString(*name);
        if (!existed)
            model->created(*name);
        s->syncFolder = (flags & SQLITE_OPEN_CREATE) &&
                        (flags & (SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_SUPER_JOURNAL | SQLITE_OPEN_WAL));
    }
    s->base.pMethods = &shimMethods;
    return SQLITE_OK;
}

int shimDelete(sqlite3_vfs*, const char* zName, int syncDir) {
    const int rc = realVfs->xDelete(realVfs, zName, syncDir);
    if (rc == SQLITE_OK && model)
        if (const std::optional<QString> name = model->nameOf(QFile::decodeName(zName))) {
            model->removed(*name);
            if (syncDir)
                model->folderSynced();
        }
    return rc;
}

void registerShim() {
    if (realVfs)
        return;
    realVfs = sqlite3_vfs_find(nullptr);
    shimVfs = *realVfs;
    shimVfs.zName = kVfsName;
    shimVfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + realVfs->szOsFile;
    shimVfs.pNext = nullptr;
    shimVfs.xOpen = shimOpen;
    shimVfs.xDelete = shimDelete;
    if (sqlite3_vfs_register(&shimVfs, 0) != SQLITE_OK)
        qFatal("the VFS cannot be registered");
}

// ------------------------------------------------------------------ the store's side

class ModelCalls : public FileCalls {
public:
    int createUnique(const QString& pattern, int suffixLength, mode_t mode, QString& path) override {
        const int rc = FileCalls::createUnique(pattern, suffixLength, mode, path);
        if (rc == 0 && model)
            if (const auto name = model->nameOf(path))
                model->created(*name, true);
        return rc;
    }
    int syncFile(const QString& path) override {
        const int rc = FileCalls::syncFile(path);
        if (rc == 0 && model)
            if (const auto name = model->nameOf(path))
                model->fileSynced(*name);
        return rc;
    }
    int syncFolder(const QString& path) override {
        const int rc = FileCalls::syncFolder(path);
        if (rc == 0 && model && model->nameOf(path + QStringLiteral("/x")))
            model->folderSynced();
        return rc;
    }
    int rename(const QString& from, const QString& to) override {
        const int rc = FileCalls::rename(from, to);
        if (rc == 0 && model) {
            const auto a = model->nameOf(from);
            const auto b = model->nameOf(to);
            if (a && b)
                model->renamed(*a, *b);
        }
        return rc;
    }
    int remove(const QString& path) override {
        const int rc = FileCalls::remove(path);
        if (rc == 0 && model)
            if (const auto name = model->nameOf(path))
                model->removed(*name);
        return rc;
    }
    const char* sqliteVfs() const override { return kVfsName; }
};

// ------------------------------------------------------------------ the writes

const QString kFile = QStringLiteral("Jogos.cds");
const QString kOther = QStringLiteral("Outro.cds");

FieldList fields() {
    return {FieldDef::integer(QStringLiteral("Cartao")), FieldDef::string(QStringLiteral("Dezenas"), 40),
            FieldDef::integer(QStringLiteral("Acertos"))};
}

void addRow(Table& t, int n, const QString& text) {
    t.insert();
    t.setInteger(0, n);
    t.setText(1, text);
    t.setInteger(2, n % 7);
    t.post();
}

QStringList rowsOf(Table& t) {
    QStringList out;
    for (int i = 0; i < t.rowCount(); ++i) {
        const RowRef r = t.rowAt(i);
        out << QStringLiteral("%1/%2/%3").arg(r.text(0), r.text(1), r.text(2));
    }
    return out;
}

// The rows of the table file as a start-up would read them, or nothing when it cannot be read.
std::optional<QStringList> readBack(const QString& folder, const QString& file, QString& why) {
    Table t(QStringLiteral("T"), folder, file);
    try {
        t.open();
        return rowsOf(t);
    } catch (const TableError& e) {
        why = e.message();
        return std::nullopt;
    }
}

// The folder before the write: the table file with 3,000 rows, several pages of the file, and a file
// of another table the write must not touch.
void prepare(const QString& folder) {
    for (const QString& name : {kFile, kOther}) {
        Table t(QStringLiteral("T"), folder, name);
        t.defineFields(fields());
        t.create();
        const int rows = name == kFile ? 3000 : 10;
        for (int i = 1; i <= rows; ++i)
            addRow(t, i, QStringLiteral("%1 antes da gravação, linha %2").arg(name).arg(i));
        t.commitChanges();
    }
}

enum class Kind { Changes, Whole };

// Opens the table file, changes it and writes it the way `kind` says; answers the rows before and
// after.
std::pair<QStringList, QStringList> writeOnce(const QString& folder, Kind kind, DiskModel& disk, int cut) {
    Table t(QStringLiteral("T"), folder, kFile);
    t.open();
    const QStringList before = rowsOf(t);
    for (int p = 100; p < 700; p += 3) { // rows changed all over the file
        t.moveTo(p);
        t.edit();
        t.setText(1, QStringLiteral("mudada na gravação, linha %1").arg(p));
        t.post();
    }
    for (int i = 0; i < 5; ++i) { // rows deleted
        t.moveTo(2000 + 10 * i);
        t.remove();
    }
    for (int i = 0; i < 400; ++i) // rows added, beyond the file's last page
        addRow(t, 5000 + i, QStringLiteral("acrescentada na gravação, linha %1").arg(i));
    const QStringList after = rowsOf(t);

    ModelCalls calls;
    model = &disk;
    disk.cutAfter(cut);
    {
        FileCalls::Use use(calls);
        if (kind == Kind::Changes)
            t.commitChanges();
        else
            t.write();
    }
    disk.finish();
    model = nullptr;
    return {before, after};
}

} // namespace

class PowerLossTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { registerShim(); }

    // Every sync point of both writes, and a cut before the first; the sync points are counted on a
    // write made the same way.
    void cutAtEverySyncPoint_data() {
        registerShim();
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("cut");
        QTest::addColumn<int>("syncPoints");
        for (const Kind kind : {Kind::Changes, Kind::Whole}) {
            WorkFolder w;
            prepare(w.path());
            DiskModel disk(w.path());
            writeOnce(w.path(), kind, disk, -1);
            const int points = disk.syncPoints();
            const char* name = kind == Kind::Changes ? "alterações" : "inteira";
            for (int cut = 0; cut <= points; ++cut)
                QTest::addRow("%s, corte após a sincronização %d de %d", name, cut, points)
                    << static_cast<int>(kind) << cut << points;
        }
    }

    void cutAtEverySyncPoint() {
        QFETCH(int, kind);
        QFETCH(int, cut);
        QFETCH(int, syncPoints);
        WorkFolder w;
        prepare(w.path());
        QString why;
        const std::optional<QStringList> other = readBack(w.path(), kOther, why);
        QVERIFY(other);
        DiskModel disk(w.path());
        const auto [before, after] = writeOnce(w.path(), static_cast<Kind>(kind), disk, cut);
        QVERIFY(before != after);
        QCOMPARE(disk.syncPoints(), syncPoints);
        // The incremental write goes through SQLite's journal, the whole one through a file of its own.
        QCOMPARE(disk.madeTemporaryFile(), static_cast<Kind>(kind) == Kind::Whole);
        QVERIFY2(syncPoints >= 2, "a write that syncs fewer than twice cannot be atomic and durable");

        int sawBefore = 0;
        int sawAfter = 0;
        for (int c = 0; c < disk.cases(); ++c) {
            const QString kept = disk.rebuild(c);
            const std::optional<QStringList> rows = readBack(w.path(), kFile, why);
            QVERIFY2(rows, qPrintable(QStringLiteral("o arquivo não pôde ser lido (%1): %2").arg(kept, why)));
            const bool isBefore = *rows == before;
            const bool isAfter = *rows == after;
            QVERIFY2(isBefore || isAfter,
                     qPrintable(QStringLiteral("o arquivo não é nem o antigo nem o novo (%1)").arg(kept)));
            if (cut == syncPoints)
                QVERIFY2(isAfter,
                         qPrintable(QStringLiteral("a gravação terminada se perdeu (%1)").arg(kept)));
            sawBefore += isBefore;
            sawAfter += isAfter;
            QCOMPARE(readBack(w.path(), kOther, why), other);
        }
        QVERIFY(sawBefore + sawAfter > 0);
        if (cut == 0)
            QVERIFY2(sawAfter == 0, "nothing was durable before the first sync, yet the new rows were there");
    }
};

QUINABEL_CORE_TEST_MAIN(PowerLossTest)
#include "tst_power_loss.moc"
