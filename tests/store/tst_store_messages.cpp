#include "FileErrorText.h"
#include "FileNames.h"
#include "Schemas.h"
#include "TableError.h"
#include "TableFile.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <functional>
#include <sqlite3.h>

// Every message the store can put in front of the player, gathered in one list, is Portuguese: no
// English word of the system's, SQLite's or the old store's texts, no name of an internal table,
// and a Portuguese sentence.
class TestStoreMessages : public QObject {
    Q_OBJECT

private slots:
    void everyStoreMessageIsPortuguese_data();
    void everyStoreMessageIsPortuguese();
    void typedNumberNamesTheData();

private:
    static QStringList everyMessage();
};

namespace {

// The message a store call throws, or a note that it threw none.
QString thrown(const std::function<void()>& op) {
    try {
        op();
    } catch (const TableError& e) {
        return e.message();
    }
    return QStringLiteral("(no TableError thrown)");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

QStringList TestStoreMessages::everyMessage() {
    QStringList all;
    // Every table of the program, with each message the table layer makes from its name.
    WorkFolder names;
    Tables tables(names.path());
    for (Table* t : tables.all()) {
        const QString n = t->name();
        all << TableError::missingData(n, t->fileName()).message() << TableError::noFields(n).message()
            << TableError::notOpen(n).message() << TableError::noCurrentRow(n).message()
            << TableError::notEditing(n).message();
        for (const FieldDef& f : t->fields()) {
            all << TableError::fieldNotFound(n, t->fileName(), f.name).message()
                << TableError::notAnInteger(QStringLiteral("7a"), f.name).message()
                << TableError::notAnInteger(QStringLiteral("99999999999"), f.name).message()
                << TableError::notANumber(QStringLiteral("x"), f.name).message()
                << TableError::emptyAsNumber(f.name).message();
        }
    }
    // Every reason a file error can have, and the messages that carry them.
    for (int e = 0; e <= 133; ++e)
        all << FileErrorText::cannotWrite(QStringLiteral("/p/Cartelas.cds"), FileErrorText::ofErrno(e));
    for (int code = 0; code <= 28; ++code)
        all << FileErrorText::cannotWrite(QStringLiteral("/p/Cartelas.cds"), FileErrorText::ofSqlite(code));
    for (const int code : {SQLITE_IOERR_READ, SQLITE_IOERR_WRITE, SQLITE_IOERR_FSYNC, SQLITE_IOERR_SHORT_READ,
                           SQLITE_IOERR_NOMEM, SQLITE_CANTOPEN_ISDIR, SQLITE_READONLY_DBMOVED,
                           SQLITE_BUSY_TIMEOUT, SQLITE_CORRUPT_VTAB, SQLITE_CONSTRAINT_PRIMARYKEY})
        all << FileErrorText::ofSqlite(code, 0) << FileErrorText::ofSqlite(code, ENOSPC);
    all << FileErrorText::cannotRead(QStringLiteral("/p/Aval.cds"), FileErrorText::ofErrno(EACCES))
        << FileErrorText::cannotRemove(QStringLiteral("/p/Aval.cds"), FileErrorText::ofErrno(EBUSY))
        << FileErrorText::cannotRename(QStringLiteral("/p/a.cds"), QStringLiteral("/p/b.cds"),
                                       FileErrorText::ofErrno(EXDEV))
        << FileErrorText::ofUnknownWriteFailure();

    // The failures themselves, as the store meets them.
    WorkFolder w;
    Table t(QStringLiteral("TableCar"), w.path(), Schemas::kGamesFile);
    all << thrown([&] { t.open(); });
    all << thrown([&] { t.create(); });
    t.defineFields(Schemas::games());
    t.create();
    all << thrown([&] { t.fieldIndex(u"Acertoz"); });
    t.insert();
    all << thrown([&] { t.setText(t.fieldIndex(u"d3"), QStringLiteral("7a")); });
    all << thrown([&] { t.setText(t.fieldIndex(u"Cartao"), QStringLiteral("um")); });
    all << thrown([&] { t.setReal(t.fieldIndex(u"d3"), 2.5); });
    all << thrown([&] {
        t.post();
        (void)t.integer(t.fieldIndex(u"d3"));
    });
    t.setIndexFieldNames(QStringLiteral("Cartao"));
    t.first();
    all << thrown([&] { Table::FieldUpdate update(t, {t.fieldIndex(u"Cartao")}); });
    t.close();
    // Damaged, foreign and unreadable files.
    writeBytes(w.file(QStringLiteral("damaged.cds")), QByteArray(4096, 'x'));
    Table damaged(QStringLiteral("TableRes"), w.path(), QStringLiteral("damaged.cds"));
    all << thrown([&] { damaged.open(); });
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(w.file(QStringLiteral("foreign.cds"))).constData(), &db);
        sqlite3_exec(db, "CREATE TABLE data(x INTEGER); INSERT INTO data VALUES(1);", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    Table foreign(QStringLiteral("TableAval"), w.path(), QStringLiteral("foreign.cds"));
    all << thrown([&] { foreign.open(); });
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(w.file(QStringLiteral("newer.cds"))).constData(), &db);
        const QByteArray sql = "PRAGMA application_id=" + QByteArray::number(TableFile::kApplicationId) +
                               "; PRAGMA user_version=99; CREATE TABLE data(Dezena INTEGER);";
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    Table newer(QStringLiteral("TableDes"), w.path(), QStringLiteral("newer.cds"));
    all << thrown([&] { newer.open(); });
    // A file that cannot be written: a folder stands where it would go.
    QDir(w.path()).mkpath(QStringLiteral("Rel.cds/inside"));
    Table rel(QStringLiteral("TableRel"), w.path(), Schemas::kListingFile);
    rel.defineFields(Schemas::listing());
    rel.create();
    rel.insert();
    rel.setInteger(0, 1);
    rel.post();
    all << thrown([&] { rel.write(); });
    // A folder that does not exist.
    Table gone(QStringLiteral("TableDes"), w.file(QStringLiteral("gone")), Schemas::kDiscardedFile);
    gone.defineFields(Schemas::numberList());
    gone.create();
    gone.insert();
    gone.setInteger(0, 7);
    gone.post();
    all << thrown([&] { gone.write(); });
    all << thrown(
        [&] { FileNames::replace(w.path(), QStringLiteral("none.cds"), QStringLiteral("other.cds")); });
    all << thrown([&] { FileNames::remove(w.path(), QStringLiteral("Rel.cds")); });
    // The start-up rebuild over a results file that lacks a column.
    WorkFolder lacking;
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(lacking.file(Schemas::kResultsFile)).constData(), &db);
        const QByteArray sql = "PRAGMA application_id=" + QByteArray::number(TableFile::kApplicationId) +
                               "; PRAGMA user_version=1; CREATE TABLE data(Concurso INTEGER);"
                               " INSERT INTO data VALUES(1);";
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    Tables start(lacking.path());
    all << thrown([&] { rebuildResultsFile(start); });
    return all;
}

void TestStoreMessages::everyStoreMessageIsPortuguese_data() {
    QTest::addColumn<QString>("message");
    const QStringList all = everyMessage();
    QVERIFY(all.size() > 500);
    QSet<QString> seen;
    for (const QString& m : all)
        if (!seen.contains(m)) {
            seen.insert(m);
            QTest::newRow(qPrintable(m.left(90))) << m;
        }
}

void TestStoreMessages::everyStoreMessageIsPortuguese() {
    QFETCH(QString, message);
    QVERIFY2(!message.startsWith("(no TableError"), "the store call must fail");
    // Words of the English texts the system, SQLite and the old store would have shown.
    static const QRegularExpression english(
        QStringLiteral("\\b(the|is|not|valid|value|field|found|missing|provider|packet|defined|cannot|"
                       "dataset|file|disk|error|database|permission|denied|such|directory|read-only|"
                       "unable|failed|invalid|integer|floating|point|busy|locked|malformed|memory|"
                       "constraint|out|of|no such|space|left)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const auto hit = english.match(message);
    QVERIFY2(!hit.hasMatch(),
             qPrintable(QStringLiteral("English \"%1\" in: %2").arg(hit.captured(), message)));
    QVERIFY2(!message.contains(QRegularExpression(QStringLiteral("\\bTable[A-Z]"))), qPrintable(message));
    static const QRegularExpression portuguese(
        QStringLiteral("\\b(o|a|os|as|de|do|da|dos|das|um|uma|é|está|não|sem|há)\\b"),
        QRegularExpression::UseUnicodePropertiesOption);
    QVERIFY2(message.contains(portuguese), qPrintable(message));
}

// A number typed into a field is refused in the words of the data it belongs to.
void TestStoreMessages::typedNumberNamesTheData() {
    WorkFolder w;
    Tables t(w.path());
    t.TableRes.create();
    t.TableRes.insert();
    QCOMPARE(thrown([&] { t.TableRes.setText(t.TableRes.fieldIndex(u"d3"), QStringLiteral("7a")); }),
             QStringLiteral("O valor '7a' não é um número. Digite uma dezena de 1 a 60."));
    QCOMPARE(thrown([&] { t.TableRes.setText(t.TableRes.fieldIndex(u"Concurso"), QStringLiteral("x")); }),
             QStringLiteral("O valor 'x' não é um número. Digite o número do concurso."));
}

QUINABEL_CORE_TEST_MAIN(TestStoreMessages)
#include "tst_store_messages.moc"
