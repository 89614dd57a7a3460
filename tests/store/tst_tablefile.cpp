#include "Schemas.h"
#include "Table.h"
#include "TableError.h"
#include "TableFile.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <sqlite3.h>

// The file side of the tables: what a table file holds, files the program did not write, files it
// must refuse, writes that fail, and writes cut short by a killed process.
namespace {

FieldList sample() {
    return {FieldDef::real(QStringLiteral("Cartao")), FieldDef::integer(QStringLiteral("Versao")),
            FieldDef::string(QStringLiteral("Todos"), 30)};
}

// Runs SQL on a file directly, as another program would.
void sql(const QString& path, const char* statements) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* err = nullptr;
    const int rc = sqlite3_exec(db, statements, nullptr, nullptr, &err);
    const QByteArray message = err ? QByteArray(err) : QByteArray();
    sqlite3_free(err);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, message.constData());
}

QStringList query(const QString& path, const char* select) {
    QStringList out;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, select, -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        QStringList cols;
        for (int c = 0; c < sqlite3_column_count(s); ++c)
            cols << (sqlite3_column_type(s, c) == SQLITE_NULL
                         ? QStringLiteral("NULL")
                         : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, c))));
        out << cols.join(QLatin1Char('|'));
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

QByteArray digest(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void fill(Table& t, int from, int count, int version) {
    Table::BulkChange bulk(t);
    for (int i = from; i < from + count; ++i) {
        t.insert();
        t.setReal(0, i);
        t.setInteger(1, version);
        t.setText(2, QString::number(i));
        t.post();
    }
}

// The child process of the crash test: rewrites and appends to one file for ever, until killed.
// Every full version holds kRows rows, every append adds kBatch, all of one version number.
constexpr int kRows = 20000;
constexpr int kBatch = 3000;
[[noreturn]] void writeForever(const QString& folder) {
    Table t(QStringLiteral("T"), folder, QStringLiteral("crash.cds"));
    t.defineFields(sample());
    for (int version = 1;; ++version) {
        t.create();
        fill(t, 0, kRows, version);
        t.commitChanges();
        t.close(); // whole file
        t.open();
        fill(t, kRows, kBatch, version);
        t.commitChanges();
        t.close(); // appended
    }
}

} // namespace

class TableFileTest : public QObject {
    Q_OBJECT

private slots:
    void fileIsAnSqliteTableOfTheFields() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        t.insert();
        t.setReal(0, 2);
        t.setText(2, QStringLiteral("0102"));
        t.post();
        t.insert();
        t.setReal(0, 1);
        t.setInteger(1, 7);
        t.post();
        t.commitChanges();
        t.close();
        const QString path = w.file(QStringLiteral("t.cds"));
        QCOMPARE(query(path, "PRAGMA application_id"), QStringList{QString::number(0x514E424C)});
        QCOMPARE(query(path, "PRAGMA user_version"), QStringList{"1"});
        QCOMPARE(query(path, "SELECT name, type FROM pragma_table_info('data')"),
                 (QStringList{"Cartao|REAL", "Versao|INTEGER", "Todos|VARCHAR(30)"}));
        QCOMPARE(query(path, "SELECT * FROM data ORDER BY rowid"),
                 (QStringList{"2.0|NULL|0102", "1.0|7|NULL"}));
        QVERIFY(QDir(w.path()).entryList(QDir::Files | QDir::Hidden).size() == 1); // no temporary left
    }

    void fileWrittenByAnotherProgramOpens() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Cartelas.cds"));
        sql(path, "PRAGMA application_id=1364083276; PRAGMA user_version=1;"
                  "CREATE TABLE data (Cartao REAL, Versao INTEGER, Todos VARCHAR(30));"
                  "INSERT INTO data VALUES (5, NULL, 'a'), (3, 9, NULL);");
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("cartelas.cds"));
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.open();
        QCOMPARE(t.rowCount(), 2);
        QCOMPARE(t.integer(u"Versao"), 9);
        t.next();
        QVERIFY(t.isEmpty(1));
        QCOMPARE(t.text(u"todos"), QStringLiteral("a"));
    }

    void refusedFiles_data() {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("empty file") << QByteArray("empty")
                                    << QStringLiteral("não é um arquivo de tabela do Quinabel");
        QTest::newRow("text file") << QByteArray("text") << QStringLiteral("danificado");
        QTest::newRow("truncated copy") << QByteArray("truncated") << QStringLiteral("danificado");
        // Every row still reads; only the check of the whole file finds the fault.
        QTest::newRow("wrong free page count") << QByteArray("freelist") << QStringLiteral("danificado");
        QTest::newRow("another program's database")
            << QByteArray("foreign") << QStringLiteral("não é um arquivo de tabela do Quinabel");
        QTest::newRow("newer format") << QByteArray("newer") << QStringLiteral("versão mais nova");
        QTest::newRow("no data table") << QByteArray("nodata") << QStringLiteral("danificado");
        QTest::newRow("unknown column type") << QByteArray("badtype") << QStringLiteral("danificado");
        QTest::newRow("text in an integer column") << QByteArray("badvalue") << QStringLiteral("danificado");
    }
    void refusedFiles() {
        QFETCH(QByteArray, kind);
        QFETCH(QString, messagePart);
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Cartelas.cds"));
        if (kind == "empty" || kind == "text") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == "text")
                f.write("Cartao;d1;d2\n1;2;3\n");
        } else if (kind == "truncated" || kind == "freelist") {
            Table good(QStringLiteral("G"), w.path(), QStringLiteral("good.cds"));
            good.defineFields(Schemas::games());
            good.create();
            fill(good, 1, 3000, 1);
            good.commitChanges();
            good.close();
            QFile f(w.file(QStringLiteral("good.cds")));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QByteArray all = f.readAll();
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            if (kind == "truncated") {
                out.write(all.left(all.size() / 3));
            } else {
                all[39] = '\x05'; // the header's count of free pages, which the file has none of
                out.write(all);
            }
        } else if (kind == "foreign") {
            sql(path, "CREATE TABLE clientes (nome TEXT); INSERT INTO clientes VALUES ('x');");
        } else if (kind == "newer") {
            sql(path,
                "PRAGMA application_id=1364083276; PRAGMA user_version=2; CREATE TABLE data (Cartao REAL);");
        } else if (kind == "nodata") {
            sql(path,
                "PRAGMA application_id=1364083276; PRAGMA user_version=1; CREATE TABLE outra (Cartao REAL);");
        } else if (kind == "badtype") {
            sql(path,
                "PRAGMA application_id=1364083276; PRAGMA user_version=1; CREATE TABLE data (Cartao BLOB);");
        } else {
            sql(path,
                "PRAGMA application_id=1364083276; PRAGMA user_version=1; CREATE TABLE data (Cartao INTEGER);"
                "INSERT INTO data VALUES ('abc');");
        }
        const QByteArray before = digest(path);

        Table t(QStringLiteral("TableCar"), w.path(), QStringLiteral("Cartelas.cds"));
        t.defineFields(Schemas::games());
        try {
            t.open();
            QFAIL("a refused file must not open");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("Cartelas.cds")), qPrintable(e.message()));
        }
        QVERIFY(!t.isOpen());
        t.close(); // as at shutdown: a table that never opened writes nothing
        QCOMPARE(digest(path), before);
    }

    void failedWriteKeepsTheRowsAndTheOldFile() {
        WorkFolder w;
        const QString folder = w.file(QStringLiteral("gone"));
        QVERIFY(QDir().mkdir(folder));
        Table t(QStringLiteral("TableCar"), folder, QStringLiteral("Cartelas.cds"));
        t.defineFields(sample());
        t.create();
        fill(t, 1, 10, 1);
        t.commitChanges();
        t.close();
        t.open();
        fill(t, 11, 5, 1);
        // The folder disappears (a removed USB stick, say): the write must fail loudly.
        QVERIFY(QDir(folder).removeRecursively());
        try {
            t.commitChanges();
            QFAIL("the write must fail");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Cartelas.cds")), qPrintable(e.message()));
            QVERIFY2(e.message().startsWith(QStringLiteral("Não foi possível gravar")),
                     qPrintable(e.message()));
        }
        QVERIFY(t.isOpen());
        QCOMPARE(t.rowCount(), 15); // nothing lost: a later commit may still succeed
        QVERIFY(QDir().mkdir(folder));
        t.commitChanges();
        t.close();
        t.open();
        QCOMPARE(t.rowCount(), 15);
    }

    void appendingWritesOnlyTheNewRows() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("t.cds"));
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        fill(t, 1, 1000, 1);
        t.commitChanges();
        t.close();
        t.open();
        fill(t, 1001, 10, 2);
        const qint64 inodeBefore = static_cast<qint64>(FileIdentity::of(path).inode);
        t.commitChanges();
        t.close();
        QCOMPARE(static_cast<qint64>(FileIdentity::of(path).inode), inodeBefore); // appended in place
        QCOMPARE(query(path, "SELECT count(*), min(Cartao), max(Cartao), sum(Versao) FROM data"),
                 QStringList{"1010|1.0|1010.0|1020"});
        // Changes to rows already in the file are written in place, by rowid.
        t.open();
        t.first();
        t.edit();
        t.setInteger(1, 5);
        t.post();
        t.last();
        t.remove();
        t.commitChanges();
        t.close();
        QCOMPARE(static_cast<qint64>(FileIdentity::of(path).inode), inodeBefore);
        QCOMPARE(query(path, "SELECT count(*), sum(Versao) FROM data"), QStringList{"1009|1022"});
        QCOMPARE(query(path, "SELECT Cartao FROM data ORDER BY rowid LIMIT 2"), (QStringList{"1.0", "2.0"}));
    }

    // commitChanges writes what changed (updates, deletions, additions by rowid) into the file in
    // place, also after a reload that found the gaps deletions left; the file reads the same to
    // the store and to other SQLite tools.
    void commitChangesWritesOnlyWhatChanged() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("t.cds"));
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        fill(t, 1, 100, 1);
        t.write(); // a re-created table: whole
        const qint64 inode = static_cast<qint64>(FileIdentity::of(path).inode);
        for (int round = 0; round < 2; ++round) {
            QVERIFY(t.locate(u"Cartao", 10 + round));
            t.remove();
            QVERIFY(t.locate(u"Cartao", 50));
            t.edit();
            t.setInteger(1, 7 + round);
            t.post();
            fill(t, 200 + round, 1, 3);
            t.commitChanges();
            QVERIFY(t.isOpen());
            QCOMPARE(static_cast<qint64>(FileIdentity::of(path).inode), inode); // in place
            // What another reader sees, and what the store reads back after a restart.
            Table again(QStringLiteral("T2"), w.path(), QStringLiteral("t.cds"));
            again.setIndexFieldNames(QStringLiteral("Cartao"));
            again.open();
            QCOMPARE(again.rowCount(), 100);
            QVERIFY(!again.locate(u"Cartao", 10 + round));
            QVERIFY(again.locate(u"Cartao", 50));
            QCOMPARE(again.integer(1), 7 + round);
            QVERIFY(again.locate(u"Cartao", 200 + round));
            // The next round changes the file through a table that read it with its gaps.
            if (round == 0) {
                t.commitChanges();
                t.close();
                t.open();
            }
        }
        QCOMPARE(query(path, "PRAGMA integrity_check"), QStringList{"ok"});
        QCOMPARE(query(path, "SELECT count(*), sum(Versao) FROM data"), QStringList{"100|111"});
    }

    // A write that fails is told at once, naming the file; the change stays in memory and the next
    // write that succeeds writes it.
    void failedCommitIsToldAndWrittenLater() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Cartelas.cds"));
        Table t(QStringLiteral("TableCar"), w.path(), QStringLiteral("Cartelas.cds"));
        t.defineFields(sample());
        t.create();
        fill(t, 1, 10, 1);
        t.commitChanges();
        fill(t, 11, 1, 2);
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        try {
            t.commitChanges();
            QFAIL("the write must fail while another program holds the file");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Cartelas.cds")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("em uso")), qPrintable(e.message()));
        }
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(query(path, "SELECT count(*) FROM data"), QStringList{"10"});
        t.commitChanges();
        QCOMPARE(query(path, "SELECT count(*), sum(Versao) FROM data"), QStringList{"11|12"});
    }

    // A commit while a row is being edited writes the posted rows and leaves the edit pending,
    // also when the file changed meanwhile and the rows are renumbered by a whole write.
    void commitWhileEditingKeepsTheEdit() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        fill(t, 1, 10, 1);
        t.commitChanges();
        QVERIFY(t.locate(u"Cartao", 3));
        t.remove(); // a dead record before the row edited below
        QVERIFY(t.locate(u"Cartao", 8));
        t.edit();
        t.setInteger(1, 9);
        {
            // Another table of the program writes the same file: whoever writes last wins.
            Table other(QStringLiteral("U"), w.path(), QStringLiteral("t.cds"));
            other.open();
            QVERIFY(other.locate(u"Cartao", 1));
            other.edit();
            other.setInteger(1, 5);
            other.post();
            other.commitChanges();
        }
        t.commitChanges(); // the file changed: a whole write
        QVERIFY(t.isEditing());
        t.post();
        t.commitChanges();
        QCOMPARE(query(w.file(QStringLiteral("t.cds")), "SELECT count(*), sum(Versao) FROM data"),
                 QStringList{"9|17"});
        QCOMPARE(query(w.file(QStringLiteral("t.cds")), "SELECT Versao FROM data WHERE Cartao = 8"),
                 QStringList{"9"});
    }

    void rewriteKeepsThePermissionBits() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("t.cds"));
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        fill(t, 1, 5, 1);
        t.write();
        const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                          QFileDevice::ReadOther | QFileDevice::ReadUser | QFileDevice::WriteUser;
        QVERIFY(QFile::setPermissions(path, mode));
        t.emptyTable();
        fill(t, 1, 3, 2);
        t.write();
        QCOMPARE(QFile::permissions(path), mode);
        QCOMPARE(query(path, "SELECT count(*) FROM data"), QStringList{"3"});
    }

    // Reading a file never changes it: another program's database in WAL mode, with changes
    // still in its log, keeps its file and its log byte for byte.
    void readingAForeignWalFileChangesNothing() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Cartelas.cds"));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(
                     db,
                     "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; CREATE TABLE data (Cartao REAL);"
                     "INSERT INTO data VALUES (1);",
                     nullptr, nullptr, nullptr),
                 SQLITE_OK);
        // Copies of the file and its log as a crashed program would leave them.
        const QString copy = w.file(QStringLiteral("copy"));
        QVERIFY(QDir().mkdir(copy));
        QVERIFY(QFile::copy(path, copy + QStringLiteral("/Cartelas.cds")));
        QVERIFY(QFile::copy(path + QStringLiteral("-wal"), copy + QStringLiteral("/Cartelas.cds-wal")));
        sqlite3_close(db);
        const QString foreign = copy + QStringLiteral("/Cartelas.cds");
        const QByteArray before = digest(foreign);
        const QByteArray walBefore = digest(foreign + QStringLiteral("-wal"));
        Table t(QStringLiteral("TableCar"), copy, QStringLiteral("Cartelas.cds"));
        t.defineFields(Schemas::games());
        QVERIFY_THROWS_EXCEPTION(TableError, t.open());
        QCOMPARE(digest(foreign), before);
        QCOMPARE(digest(foreign + QStringLiteral("-wal")), walBefore);
    }

    void damageInsideTheFileIsFoundAtOpen() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Cartelas.cds"));
        {
            Table good(QStringLiteral("G"), w.path(), QStringLiteral("Cartelas.cds"));
            good.defineFields(Schemas::games());
            good.create();
            fill(good, 1, 20000, 1);
            good.commitChanges();
            good.close();
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        // Scribble over a page in the middle of the rows, leaving the header whole.
        f.seek(f.size() / 2 - (f.size() / 2) % 32768 + 8);
        f.write(QByteArray(2000, '\x5a'));
        f.close();
        const QByteArray before = digest(path);
        Table t(QStringLiteral("TableCar"), w.path(), QStringLiteral("Cartelas.cds"));
        t.defineFields(Schemas::games());
        try {
            t.open();
            QFAIL("a damaged file must not open");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Cartelas.cds")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("danificado")), qPrintable(e.message()));
        }
        QCOMPARE(digest(path), before);
    }

    // A table that only read its file never writes it, whatever it does with its rows in memory.
    void tableThatOnlyReadsNeverWritesItsFile() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Cartelas.cds"));
        {
            Table t(QStringLiteral("TableCar"), w.path(), QStringLiteral("Cartelas.cds"));
            t.defineFields(sample());
            t.create();
            fill(t, 1, 50, 1);
            t.write();
            t.commitChanges();
            t.close();
        }
        const QByteArray before = digest(path);
        const FileIdentity identity = FileIdentity::of(path);
        Table reader(QStringLiteral("TableCarImp"), w.path(), QStringLiteral("cartelas.cds"));
        reader.setIndexFieldNames(QStringLiteral("Versao;Cartao"));
        reader.open();
        QVERIFY(!reader.changedMark());
        for (reader.first(); !reader.eof(); reader.next())
            (void)reader.text(2);
        QVERIFY(reader.locate(u"Cartao", 7));
        reader.edit(); // an edit that changes nothing is dropped by the move
        reader.last();
        reader.setIndexFieldNames(QStringLiteral("Cartao"));
        reader.commitChanges();
        reader.close();
        reader.open();
        reader.close();
        QCOMPARE(FileIdentity::of(path), identity);
        QCOMPARE(digest(path), before);
    }

    // Closing never writes: rows changed, added and deleted since the last write are dropped with
    // the table, the file keeps its bytes, its inode and its time, and a reopen reads what it holds.
    // A table created and filled but never written leaves no file at all.
    void closeOfAChangedTableWritesNothing() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Cartelas.cds"));
        Table t(QStringLiteral("TableCar"), w.path(), QStringLiteral("Cartelas.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        fill(t, 1, 20, 1);
        t.commitChanges();
        t.commitChanges();
        t.close();
        const QByteArray before = digest(path);
        const FileIdentity identity = FileIdentity::of(path);
        QVERIFY(identity.exists);

        t.open();
        QVERIFY(t.locate(u"Cartao", 5));
        t.edit();
        t.setText(2, QStringLiteral("mudado"));
        t.post();
        QVERIFY(t.locate(u"Cartao", 9));
        t.remove();
        fill(t, 21, 3, 2);
        QVERIFY(t.changedMark());
        t.close();
        QCOMPARE(FileIdentity::of(path), identity);
        QCOMPARE(digest(path), before);

        t.open();
        QCOMPARE(t.rowCount(), 20);
        QVERIFY(t.locate(u"Cartao", 5));
        QVERIFY(t.text(2) != QStringLiteral("mudado"));
        QVERIFY(t.locate(u"Cartao", 9));
        t.close();
        QCOMPARE(digest(path), before);

        Table never(QStringLiteral("TableRel"), w.path(), QStringLiteral("Rel.cds"));
        never.defineFields(sample());
        never.create();
        fill(never, 1, 5, 1);
        never.close();
        QVERIFY(!QFile::exists(w.file(QStringLiteral("Rel.cds"))));
    }

    // A file that another program changed since the table read it is never written over: the
    // write is refused naming the file, the other program's rows stay, and the table keeps its
    // pending change, which a later write stores once the table has read the file again.
    void fileChangedBySomeoneElseIsNeverWrittenOver() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("Resultados.cds"));
        Table t(QStringLiteral("TableRes"), w.path(), QStringLiteral("Resultados.cds"));
        t.defineFields(sample());
        t.create();
        fill(t, 1, 3, 1);
        t.commitChanges();
        sql(path, "INSERT INTO data VALUES (4, 1, 'other')");
        fill(t, 5, 1, 2);
        try {
            t.commitChanges();
            QFAIL("the write must be refused");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("alterado por outro programa")),
                     qPrintable(e.message()));
        }
        QCOMPARE(query(path, "SELECT count(*), group_concat(CAST(Cartao AS INTEGER)) FROM data"),
                 QStringList{"4|1,2,3,4"});
        QVERIFY(t.changedMark());
        QCOMPARE(t.rowCount(), 4);
        QVERIFY(t.locate(u"Cartao", 5));
        try {
            t.commitChanges();
            QFAIL("a second try must not write over the file either");
        } catch (const TableError&) {
        }
        t.close(); // closing never writes
        QCOMPARE(query(path, "SELECT count(*) FROM data"), QStringList{"4"});
    }

    void reopeningAfterCloseSeesChangesMadeByOthers() {
        WorkFolder w;
        Table a(QStringLiteral("A"), w.path(), QStringLiteral("t.cds"));
        a.defineFields(sample());
        a.create();
        fill(a, 1, 5, 1);
        a.commitChanges();
        a.close(); // keeps its rows while they equal the file
        sql(w.file(QStringLiteral("t.cds")), "INSERT INTO data VALUES (99, 9, 'x')");
        a.open();
        QCOMPARE(a.rowCount(), 6);
    }

    void killedWriterLeavesOldOrNewContent() {
        WorkFolder w;
        const QString path = w.file(QStringLiteral("crash.cds"));
        auto* rng = QRandomGenerator::global();
        int checked = 0;
        for (int round = 0; round < 12; ++round) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QUINABEL_CRASH_WRITER"), w.path());
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            QThread::msleep(150u + rng->bounded(500u));
            child.kill();
            child.waitForFinished();
            if (!QFile::exists(path))
                continue; // killed before its first write
            Table t(QStringLiteral("T"), w.path(), QStringLiteral("crash.cds"));
            t.open();
            const int rows = t.rowCount();
            QVERIFY2(rows == kRows || rows == kRows + kBatch, qPrintable(QString::number(rows)));
            t.first();
            const int version = t.integer(1);
            for (int i = 0; i < rows; ++i)
                QCOMPARE(t.rowAt(i).intValue(1), std::optional<qint32>(version));
            ++checked;
        }
        QVERIFY(checked > 0);
    }
};

int main(int argc, char** argv) {
    useBrazilianLocale();
    QCoreApplication app(argc, argv);
    if (const QByteArray folder = qgetenv("QUINABEL_CRASH_WRITER"); !folder.isEmpty())
        writeForever(QString::fromLocal8Bit(folder));
    TableFileTest tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_tablefile.moc"
