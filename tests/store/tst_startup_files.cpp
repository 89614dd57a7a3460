#include "FileNames.h"
#include "LoadChecks.h"
#include "Schemas.h"
#include "TableError.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

// What the start-up does with the files a folder may really hold: a results file another program
// left in SQLite's write-ahead-log mode, values a damaged disk changed, a folder where a side file
// should be, the player's own hidden files, links. Nothing is made corrupt, a refused file is
// never written, and a side file's trouble never costs the draws.
namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& b) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(b) != b.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Every entry of a folder (names, kinds, bytes), links not followed.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray v = info.isSymLink() ? "link:" + info.symLinkTarget().toUtf8()
                                        : (info.isDir() ? QByteArray("dir") : bytesOf(path));
        out.insert(QDir(folder).relativeFilePath(path), v);
    }
    return out;
}

sqlite3* openDb(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    return db;
}

void exec(sqlite3* db, const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK)
        qWarning("sql: %s", err);
    sqlite3_free(err);
}

qint64 scalar(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    qint64 v = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
        v = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    sqlite3_close(db);
    return v;
}

// A results file of `count` valid draws, written by the program.
void writeDraws(const QString& folder, int count) {
    Tables t(folder);
    rebuildResultsFile(t);
    Table& res = t.TableRes;
    for (int c = 1; c <= count; ++c) {
        res.insert();
        res.setInteger(0, c);
        for (int i = 0; i < 6; ++i)
            res.setInteger(1 + i, 1 + (c * 7 + i * 11) % 60);
        res.post();
    }
    if (!t.closeAll().isEmpty())
        qFatal("cannot write the draws");
}

// The draws as the rules see them: every check passes on what a table holds.
bool keepsTheRules(const Table& res) {
    QSet<int> seen;
    for (int i = 0; i < res.rowCount(); ++i) {
        const RowRef r = res.rowAt(i);
        const auto c = r.intValue(0);
        if (c && seen.contains(*c))
            return false;
        if (c)
            seen.insert(*c);
        quint64 bits = 0;
        for (int k = 1; k <= 6; ++k) {
            if (r.isEmpty(k))
                continue;
            const auto n = r.intValue(k);
            if (!n || *n < 1 || *n > 60 || (bits & (quint64{1} << *n)))
                return false;
            bits |= quint64{1} << *n;
        }
    }
    return true;
}

} // namespace

class StartupFilesTest : public QObject {
    Q_OBJECT

private slots:
    // A committed change still in "Resultados.cds-wal" is read, and the rebuilt file holds it in
    // the rollback mode with no -wal or -shm left; ".anterior" holds it too.
    void walFileIsReadAndWrittenBack() {
        WorkFolder other; // where the other program worked
        writeDraws(other.path(), 5);
        const QString src = other.file(Schemas::kResultsFile);
        sqlite3* db = openDb(src);
        exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                 "INSERT INTO data (Concurso, d1, d2, d3, d4, d5, d6) VALUES (6, 1, 2, 3, 4, 5, 6);");
        WorkFolder w; // the player's folder receives the three files as the other program left them
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QVERIFY(QFile::copy(src + suffix, w.file(Schemas::kResultsFile + suffix)));
        sqlite3_close(db);
        const QString path = w.file(Schemas::kResultsFile);
        QVERIFY(QFileInfo(path + QStringLiteral("-wal")).size() > 0);

        {
            // Reading alone creates nothing and changes nothing.
            QVERIFY(QFile::remove(path + QStringLiteral("-shm")));
            const auto before = snapshot(w.path());
            Table res(QStringLiteral("TableRes"), w.path(), Schemas::kResultsFile);
            res.open();
            QCOMPARE(res.rowCount(), 6);
            res.commitChanges();
            res.close();
            QCOMPARE(snapshot(w.path()), before);
        }

        Tables t(w.path());
        rebuildResultsFile(t);
        QCOMPARE(t.TableRes.rowCount(), 6);
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
        QVERIFY(!QFile::exists(path + QStringLiteral("-shm")));
        QCOMPARE(bytesOf(path).mid(18, 2), QByteArray("\x01\x01", 2)); // the rollback journal
        QCOMPARE(scalar(path, "SELECT count(*) FROM data"), 6);
        QCOMPARE(scalar(path, "SELECT count(*) FROM pragma_integrity_check WHERE integrity_check = 'ok'"), 1);
        const QString previous = w.file(kPreviousResultsFile);
        QCOMPARE(scalar(previous, "SELECT count(*) FROM data"), 6);
        QVERIFY(t.closeAll().isEmpty());

        // The next start finds a sound file.
        Tables again(w.path());
        rebuildResultsFile(again);
        QCOMPARE(again.TableRes.rowCount(), 6);
    }

    // A -wal beside a file in the rollback mode belongs to no state of it: refused, untouched.
    void strayWalIsRefusedUntouched() {
        WorkFolder w;
        writeDraws(w.path(), 3);
        WorkFolder other;
        writeDraws(other.path(), 9);
        sqlite3* db = openDb(other.file(Schemas::kResultsFile));
        exec(db,
             "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; DELETE FROM data WHERE Concurso > 2;");
        QVERIFY(QFile::copy(other.file(Schemas::kResultsFile) + QStringLiteral("-wal"),
                            w.file(Schemas::kResultsFile) + QStringLiteral("-wal")));
        sqlite3_close(db);
        const auto before = snapshot(w.path());
        Tables t(w.path());
        try {
            rebuildResultsFile(t);
            QFAIL("the stray log was not refused");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Resultados.cds-wal\", deixado por outro programa")),
                     qPrintable(e.message()));
        }
        QVERIFY(!t.TableRes.isOpen());
        QVERIFY(t.closeAll().isEmpty());
        QCOMPARE(snapshot(w.path()), before);
    }

    // Values the program never writes: the file is refused with the draw and the fault, stays
    // closed and is never written, not by a close, a commit or an import. Numbers no draw has, which
    // the window can store itself (a navigator move posts an unchecked number): the start-up tells
    // which draw, leaves the file as it is (neither rebuilt nor copied to ".anterior") and the draws
    // open for use.
    void damagedValuesAreRefused_data() {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("usable");
        QTest::newRow("text in a number")
            << QByteArray("UPDATE data SET d1 = 'abc' WHERE Concurso = 3")
            << QStringLiteral("O arquivo \"%1\" está danificado: o concurso 3 tem "
                              "a dezena \"abc\", que não é um número inteiro")
            << false;
        QTest::newRow("draw twice") << QByteArray("UPDATE data SET Concurso = 2 WHERE Concurso = 3")
                                    << QStringLiteral(
                                           "O arquivo \"%1\" está danificado: o concurso 2 aparece "
                                           "mais de uma vez")
                                    << false;
        QTest::newRow("fraction") << QByteArray("UPDATE data SET d1 = 4.5 WHERE Concurso = 1")
                                  << QStringLiteral("O arquivo \"%1\" não pôde ser lido") << false;
        QTest::newRow("99") << QByteArray("UPDATE data SET d6 = 99 WHERE Concurso = 2")
                            << QStringLiteral(
                                   "No arquivo dos resultados \"%1\", o concurso 2 tem a dezena 99, "
                                   "que não é um número de 1 a 60. O arquivo não foi alterado nem "
                                   "copiado; os resultados foram lidos dele e podem ser usados.")
                            << true;
        QTest::newRow("-1") << QByteArray("UPDATE data SET d4 = -1 WHERE Concurso = 4")
                            << QStringLiteral(
                                   "No arquivo dos resultados \"%1\", o concurso 4 tem a dezena -1, "
                                   "que não é um número de 1 a 60.")
                            << true;
        QTest::newRow("number twice")
            << QByteArray("UPDATE data SET d2 = d1 WHERE Concurso = 5")
            << QStringLiteral("No arquivo dos resultados \"%1\", o concurso 5 tem a "
                              "dezena")
            << true;
    }

    void damagedValuesAreRefused() {
        QFETCH(QByteArray, sql);
        QFETCH(QString, fault);
        QFETCH(bool, usable);
        WorkFolder w;
        writeDraws(w.path(), 6);
        const QString path = w.file(Schemas::kResultsFile);
        if (sql.contains("'abc'")) {
            // Another tool that declared the column as text.
            sqlite3* db = openDb(path);
            exec(db,
                 "ALTER TABLE data RENAME COLUMN d1 TO d1old; ALTER TABLE data ADD COLUMN d1 VARCHAR(5);");
            sqlite3_close(db);
        }
        {
            sqlite3* db = openDb(path);
            exec(db, sql.constData());
            sqlite3_close(db);
        }
        const auto before = snapshot(w.path());
        Tables t(w.path());
        try {
            rebuildResultsFile(t);
            QFAIL("the damaged file was accepted");
        } catch (const TableError& e) {
            QVERIFY2(e.message().startsWith(fault.arg(path)), qPrintable(e.message()));
        }
        QVERIFY(!QFile::exists(w.file(kPreviousResultsFile)));
        if (usable) {
            QVERIFY(t.TableRes.isOpen());
            QCOMPARE(t.TableRes.rowCount(), 6);
            QCOMPARE(t.TableRes.position(), 5);
            QVERIFY(t.closeAll().isEmpty());
            QCOMPARE(snapshot(w.path()), before);
            return;
        }
        QVERIFY(!t.TableRes.isOpen());
        QVERIFY(t.commitChanges().isEmpty());
        QVERIFY_THROWS_EXCEPTION(TableError, t.TableRes.open());
        QVERIFY(!t.TableRes.isOpen());
        QVERIFY(t.closeAll().isEmpty());
        QCOMPARE(snapshot(w.path()), before);
    }

    // Single bits flipped anywhere in the file: every flip is refused or told at start-up (the file
    // left as it was, not copied), or the rebuilt draws keep every rule; no number out of range or
    // repeated is ever carried into a new file.
    void flippedBitsNeverLoadBrokenDraws() {
        WorkFolder w;
        writeDraws(w.path(), 200);
        const QString path = w.file(Schemas::kResultsFile);
        const QByteArray good = bytesOf(path);
        // The flips go to the bytes that hold something (the header's and the rows'), not to the
        // free space of the pages.
        std::vector<qsizetype> filled;
        for (qsizetype i = 0; i < good.size(); ++i)
            if (good.at(i) != 0)
                filled.push_back(i);
        QRandomGenerator rng(1198);
        int refused = 0;
        int told = 0;
        int same = 0;
        int changed = 0;
        for (int i = 0; i < 200; ++i) {
            WorkFolder f;
            QByteArray flipped = good;
            const qsizetype at = filled[rng.bounded(static_cast<quint32>(filled.size()))];
            flipped[at] = static_cast<char>(flipped.at(at) ^ (1 << rng.bounded(8)));
            const QString p = f.file(Schemas::kResultsFile);
            writeBytes(p, flipped);
            Tables t(f.path());
            try {
                rebuildResultsFile(t);
            } catch (const TableError&) {
                // Refused (closed), or told (open on the draws): the file as it was, either way.
                (t.TableRes.isOpen() ? told : refused) += 1;
                QVERIFY(t.closeAll().isEmpty());
                QCOMPARE(bytesOf(p), flipped);
                continue;
            }
            QVERIFY2(keepsTheRules(t.TableRes), qPrintable(QStringLiteral("flip at %1").arg(at)));
            Tables original(w.path());
            original.TableRes.open();
            bool equal = original.TableRes.rowCount() == t.TableRes.rowCount();
            for (int r = 0; equal && r < t.TableRes.rowCount(); ++r)
                for (int k = 0; k < 7; ++k)
                    equal = equal && t.TableRes.rowAt(r).text(k) == original.TableRes.rowAt(r).text(k);
            (equal ? same : changed) += 1;
            t.TableRes.commitChanges();
            t.TableRes.close();
            original.TableRes.commitChanges();
            original.TableRes.close();
        }
        qInfo("200 flips: %d refused, %d told and left as they were, %d rebuilt unchanged, %d rebuilt with "
              "other draws that keep the rules",
              refused, told, same, changed);
        QVERIFY(refused > 0);
    }

    // The discarded numbers and the games keep their rules as well.
    void damagedDiscardedAndGamesAreRefused_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QString>("fault");
        QTest::newRow("discarded 99")
            << Schemas::kDiscardedFile << QByteArray("INSERT INTO data VALUES (99)")
            << QStringLiteral("está danificado: a dezena desprezada 99 não é um número de 1 a 60");
        QTest::newRow("discarded -3")
            << Schemas::kDiscardedFile << QByteArray("INSERT INTO data VALUES (-3)")
            << QStringLiteral("está danificado: a dezena desprezada -3 não é um número de 1 a 60");
        QTest::newRow("discarded twice")
            << Schemas::kDiscardedFile << QByteArray("INSERT INTO data VALUES (7)")
            << QStringLiteral("está danificado: a dezena 7 está desprezada mais de uma vez");
        // The games grid takes any whole number (the window's own rule), so only what it never
        // writes is refused there.
        QTest::newRow("game with a text in a number")
            << Schemas::kGamesFile << QByteArray("UPDATE data SET d3 = 'x7'")
            << QStringLiteral("não pôde ser lido: está danificado ou não é um arquivo de tabela do Quinabel "
                              "(valor inválido no campo \"d3\"");
    }

    void damagedDiscardedAndGamesAreRefused() {
        QFETCH(QString, file);
        QFETCH(QByteArray, sql);
        QFETCH(QString, fault);
        WorkFolder w;
        {
            Tables t(w.path());
            t.TableDes.create();
            t.TableDes.insert();
            t.TableDes.setInteger(0, 7);
            t.TableDes.post();
            t.TableCar.create();
            t.TableCar.insert();
            t.TableCar.setReal(t.TableCar.fieldIndex(u"Cartao"), 1);
            t.TableCar.setInteger(t.TableCar.fieldIndex(u"Dezenas"), 6);
            for (int i = 0; i < 6; ++i)
                t.TableCar.setInteger(t.TableCar.fieldIndex(QStringLiteral("d%1").arg(i + 1)), 5 + i);
            t.TableCar.post();
            QVERIFY(t.closeAll().isEmpty());
        }
        sqlite3* db = openDb(w.file(file));
        exec(db, sql.constData());
        sqlite3_close(db);
        const auto before = snapshot(w.path());
        Tables t(w.path());
        Table& table = file == Schemas::kDiscardedFile ? t.TableDes : t.TableCar;
        try {
            table.open();
            QFAIL("the damaged file was accepted");
        } catch (const TableError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("O arquivo \"%1\" ").arg(w.file(file))),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(fault), qPrintable(e.message()));
        }
        QVERIFY(!table.isOpen());
        QVERIFY(t.closeAll().isEmpty());
        QCOMPARE(snapshot(w.path()), before);
    }

    // A folder in the place of a side file of the rebuild: the reason is told, "Resultados.cds" is
    // as it was, and the draws are open for use.
    void sideFileFailureKeepsTheDraws_data() {
        QTest::addColumn<QString>("blocked");
        QTest::newRow("previous copy") << kPreviousResultsFile;
        QTest::newRow("scratch file") << Schemas::kScratchFile;
        QTest::newRow("read-only folder") << QString();
    }

    void sideFileFailureKeepsTheDraws() {
        QFETCH(QString, blocked);
        if (blocked.isEmpty() && ::geteuid() == 0)
            QSKIP("the superuser writes in a read-only folder");
        WorkFolder w;
        writeDraws(w.path(), 4);
        const QString path = w.file(Schemas::kResultsFile);
        if (!blocked.isEmpty())
            QVERIFY(QDir().mkpath(w.file(blocked) + QStringLiteral("/ocupado")));
        else
            QVERIFY(QFile::setPermissions(w.path(), QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray before = bytesOf(path);
        Tables t(w.path());
        try {
            rebuildResultsFile(t);
            QFAIL("the failure was not reported");
        } catch (const TableError& e) {
            QVERIFY2(
                e.message().startsWith(
                    QStringLiteral(
                        "O arquivo dos resultados \"%1\" não pôde ser renovado na abertura do programa, e "
                        "continua como estava; os resultados foram lidos dele e podem ser usados. Motivo: ")
                        .arg(path)),
                qPrintable(e.message()));
            if (!blocked.isEmpty())
                QVERIFY2(e.message().contains(blocked), qPrintable(e.message()));
        }
        QFile::setPermissions(w.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(t.TableRes.isOpen());
        QCOMPARE(t.TableRes.rowCount(), 4);
        QCOMPARE(t.TableRes.rowAt(3).intValue(0), std::optional<qint32>(4));
        QCOMPARE(bytesOf(path), before);
        QVERIFY(t.closeAll().isEmpty());
    }

    void rebuildKeepsThePermissionBits_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("0600") << 0600;
        QTest::newRow("0444") << 0444;
        QTest::newRow("0640") << 0640;
    }

    void rebuildKeepsThePermissionBits() {
        QFETCH(int, mode);
        WorkFolder w;
        writeDraws(w.path(), 2);
        const QByteArray path = QFile::encodeName(w.file(Schemas::kResultsFile));
        QCOMPARE(::chmod(path.constData(), static_cast<mode_t>(mode)), 0);
        Tables t(w.path());
        rebuildResultsFile(t);
        struct stat st {};
        QCOMPARE(::stat(path.constData(), &st), 0);
        QCOMPARE(static_cast<int>(st.st_mode & 07777), mode);
        QCOMPARE(t.TableRes.rowCount(), 2);
    }

    // Only the temporary files of the program's own writes are removed at start.
    void onlyTheProgramsLeftoversAreRemoved() {
        WorkFolder w;
        const QStringList own{QStringLiteral(".Cartelas.cds.aB3dE9.tmp"),
                              QStringLiteral(".Resultados.cds.Zz0099.tmp"),
                              QStringLiteral(".Limpares.cds.qwerty.tmp")};
        const QStringList players{
            QStringLiteral(".notas-do-jogador.tmp"),    QStringLiteral(".config.cds.backup"),
            QStringLiteral(".planilha.cds.abcdef.tmp"), QStringLiteral(".Cartelas.cds.tmp"),
            QStringLiteral(".Cartelas.cds.abc.tmp"),    QStringLiteral("Cartelas.cds.aB3dE9.tmp")};
        for (const QString& n : own + players)
            writeBytes(w.file(n), "x");
        Tables t(w.path());
        rebuildResultsFile(t);
        for (const QString& n : own)
            QVERIFY2(!QFile::exists(w.file(n)), qPrintable(n));
        for (const QString& n : players)
            QVERIFY2(QFile::exists(w.file(n)), qPrintable(n));
    }

    // A file of the folder that is a link: written where it points while that stays in the folder
    // (the link stays a link), refused with a message when it leads out.
    void linksInsideAreFollowedOutsideRefused() {
        WorkFolder w;
        WorkFolder outside;
        QVERIFY(QDir().mkpath(w.file(QStringLiteral("dados"))));
        writeDraws(w.file(QStringLiteral("dados")), 3);
        QVERIFY(QFile::link(QStringLiteral("dados/") + Schemas::kResultsFile, w.file(Schemas::kResultsFile)));
        writeBytes(outside.file(QStringLiteral("alheio.cds")), "do vizinho");
        QVERIFY(QFile::link(outside.file(QStringLiteral("alheio.cds")), w.file(Schemas::kDiscardedFile)));
        {
            Tables t(w.path());
            rebuildResultsFile(t);
            QVERIFY(QFileInfo(w.file(Schemas::kResultsFile)).isSymLink());
            QVERIFY(QFileInfo(w.file(kPreviousResultsFile)).isFile());
            QVERIFY(!QFileInfo(w.file(kPreviousResultsFile)).isSymLink());
            t.TableRes.insert();
            t.TableRes.setInteger(0, 4);
            t.TableRes.post();
            QVERIFY(t.commitChanges().isEmpty());
            QVERIFY(QFileInfo(w.file(Schemas::kResultsFile)).isSymLink());

            t.TableDes.commitChanges();
            t.TableDes.close();
            t.TableDes.create();
            t.TableDes.insert();
            t.TableDes.setInteger(0, 9);
            t.TableDes.post();
            try {
                t.TableDes.write();
                QFAIL("the write through the link was not refused");
            } catch (const TableError& e) {
                QVERIFY2(e.message().contains(QStringLiteral("é um atalho (link simbólico) para")),
                         qPrintable(e.message()));
            }
            t.TableDes.create();
        }
        QCOMPARE(bytesOf(outside.file(QStringLiteral("alheio.cds"))), QByteArray("do vizinho"));
        QVERIFY(QFileInfo(w.file(Schemas::kDiscardedFile)).isSymLink());
        Tables again(w.path());
        rebuildResultsFile(again);
        QCOMPARE(again.TableRes.rowCount(), 4);
    }
};

QUINABEL_CORE_TEST_MAIN(StartupFilesTest)
#include "tst_startup_files.moc"
