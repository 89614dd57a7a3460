#include "FileNames.h"
#include "Schemas.h"
#include "TableError.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <sqlite3.h>

// The start-up of the results file: created when absent, rebuilt to the current fields in draw
// order when present, and never lost on the way.
namespace {
void sql(const QString& path, const char* statements) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    char* err = nullptr;
    sqlite3_exec(db, statements, nullptr, nullptr, &err);
    sqlite3_free(err);
    sqlite3_close(db);
}
QStringList fieldNames(const Table& t) {
    QStringList out;
    for (const FieldDef& f : t.fields())
        out << f.name;
    return out;
}
const QStringList kElevenFields{"Concurso", "d1",    "d2",      "d3",     "d4",   "d5",
                                "d6",       "pares", "impares", "abaixo", "acima"};
} // namespace

class ResultsFileTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartCreatesAnEmptyResultsTable() {
        WorkFolder w;
        Tables t(w.path());
        rebuildResultsFile(t);
        QVERIFY(t.TableRes.isOpen());
        QCOMPARE(t.TableRes.rowCount(), 0);
        QCOMPARE(fieldNames(t.TableRes), kElevenFields);
        QVERIFY(t.closeAll().isEmpty());
        QVERIFY(!QFile::exists(w.file(Schemas::kResultsFile))); // still no draw, so still no file
    }

    void rebuild_data() {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QStringList>("draws"); // Concurso:d1 in visiting order
        QTest::newRow("old file with only the numbers")
            << QByteArray(
                   "CREATE TABLE data (Concurso INTEGER, d1 INTEGER, d2 INTEGER, d3 INTEGER, d4 INTEGER,"
                   " d5 INTEGER, d6 INTEGER);"
                   "INSERT INTO data VALUES (3,30,2,3,4,5,6),(1,10,2,3,4,5,6),(2,20,2,3,4,5,6);")
            << QStringList{"1:10", "2:20", "3:30"};
        QTest::newRow("file with more fields")
            << QByteArray(
                   "CREATE TABLE data (Concurso INTEGER, d1 INTEGER, d2 INTEGER, d3 INTEGER, d4 INTEGER,"
                   " d5 INTEGER, d6 INTEGER, pares INTEGER, impares INTEGER, abaixo INTEGER, acima INTEGER,"
                   " extra VARCHAR(5));"
                   "INSERT INTO data VALUES (7,1,2,3,4,5,6,3,3,6,0,'x');")
            << QStringList{"7:1"};
        QTest::newRow("file without rows")
            << QByteArray(
                   "CREATE TABLE data (Concurso INTEGER, d1 INTEGER, d2 INTEGER, d3 INTEGER, d4 INTEGER,"
                   " d5 INTEGER, d6 INTEGER);")
            << QStringList{};
    }
    void rebuild() {
        QFETCH(QByteArray, sql);
        QFETCH(QStringList, draws);
        WorkFolder w;
        // Written by another program and spelled in other case: the same file.
        ::sql(w.file(QStringLiteral("resultados.cds")),
              (QByteArray("PRAGMA application_id=1364083276; PRAGMA user_version=1;") + sql).constData());
        Tables t(w.path());
        rebuildResultsFile(t);
        QCOMPARE(fieldNames(t.TableRes), kElevenFields);
        QStringList seen;
        for (int i = 0; i < t.TableRes.rowCount(); ++i)
            seen << t.TableRes.rowAt(i).text(0) + QLatin1Char(':') + t.TableRes.rowAt(i).text(1);
        QCOMPARE(seen, draws);
        QCOMPARE(t.TableRes.position(), static_cast<int>(draws.size()) - 1); // on the last draw
        if (!draws.isEmpty())
            QVERIFY(t.TableRes.isEmpty(u"pares")); // derived counts wait for the recomputation
        QVERIFY(!FileNames::exists(w.path(), Schemas::kScratchFile));
        QVERIFY(t.closeAll().isEmpty());
        Tables again(w.path());
        rebuildResultsFile(again);
        QCOMPARE(again.TableRes.rowCount(), draws.size());
    }

    void damagedResultsFileIsReportedAndKept() {
        WorkFolder w;
        const QString path = w.file(Schemas::kResultsFile);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'x'));
        f.close();
        Tables t(w.path());
        QVERIFY_THROWS_EXCEPTION(TableError, rebuildResultsFile(t));
        QVERIFY(t.closeAll().isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(5000, 'x'));
    }

    // The rebuild at every start keeps the file it replaces beside it, so the player can go back
    // one start; temporary files a killed write left are removed.
    void rebuildKeepsThePreviousFileAndClearsLeftovers() {
        WorkFolder w;
        {
            Tables t(w.path());
            t.TableRes.create();
            t.TableRes.insert();
            t.TableRes.setInteger(0, 1);
            t.TableRes.post();
            QVERIFY(t.closeAll().isEmpty());
        }
        const QString leftover = w.file(QStringLiteral(".Cartelas.cds.aB3dE9.tmp"));
        QFile l(leftover);
        QVERIFY(l.open(QIODevice::WriteOnly));
        l.close();
        auto bytes = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray first = bytes(w.file(Schemas::kResultsFile));
        {
            Tables t(w.path());
            rebuildResultsFile(t);
            QVERIFY(!QFile::exists(leftover));
            QCOMPARE(bytes(w.file(kPreviousResultsFile)), first);
            t.TableRes.insert();
            t.TableRes.setInteger(0, 2);
            t.TableRes.post();
            QVERIFY(t.commitChanges().isEmpty());
        }
        const QByteArray second = bytes(w.file(Schemas::kResultsFile));
        Tables t(w.path());
        rebuildResultsFile(t);
        QCOMPARE(bytes(w.file(kPreviousResultsFile)), second);
        QCOMPARE(t.TableRes.rowCount(), 2);
    }
};

QUINABEL_CORE_TEST_MAIN(ResultsFileTest)
#include "tst_resultsfile.moc"
