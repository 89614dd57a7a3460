#include "GamesCheck.h"
#include "GamesListing.h"
#include "OutputFixture.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QByteArray fileText(const WorkFolder& w) {
    QFile f(w.file(Schemas::kExportFile));
    if (!f.open(QIODevice::ReadOnly))
        return "<none>";
    return f.readAll();
}

QByteArray joined(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

QStringList relLines(Table& rel) {
    QStringList out;
    for (rel.first(); !rel.eof(); rel.next()) {
        if (rel.integer(u"Linha") != static_cast<int>(out.size()) + 1)
            return {QStringLiteral("<Linha out of order>")};
        out << rel.text(u"Detalhe");
    }
    return out;
}

void createListing(Tables& t) {
    t.TableRel.close();
    t.TableRel.defineFields(Schemas::listing());
    t.TableRel.create();
}
} // namespace

class TestGamesListing : public QObject {
    Q_OBJECT

private slots:
    void formatsLines_data();
    void formatsLines();
    void listsTheGamesInTheirOrder();
    void listsInHitOrderAfterACheck();
    void secondListingReplacesTheFirst();
    void emptyGamesTable();
    void unwritableFileNamesIt_data();
    void unwritableFileNamesIt();
    void gamesTableNotOpen();
    void exportLinkOutsideTheFolderIsRefused();
    void damagedGamesFileChangesNothing();
};

void TestGamesListing::formatsLines_data() {
    QTest::addColumn<double>("cartao");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("fields");

    QTest::newRow("game 12") << 12.0 << QList<int>{5, 11, 23, 34, 45, 56}
                             << QStringLiteral("0000012;05;11;23;34;45;56;") << 7;
    QTest::newRow("game 1") << 1.0 << QList<int>{1, 2, 3, 4, 5, 7}
                            << QStringLiteral("0000001;01;02;03;04;05;07;") << 7;
    QTest::newRow("seven numbers") << 3.0 << QList<int>{1, 2, 3, 4, 5, 6, 7}
                                   << QStringLiteral("0000003;01;02;03;04;05;06;07;") << 8;
    QTest::newRow("fifteen numbers, 53 characters")
        << 9999999.0 << QList<int>{1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 45, 49, 53, 60}
        << QStringLiteral("9999999;01;05;09;13;17;21;25;29;33;37;41;45;49;53;60;") << 16;
    QTest::newRow("eight digits") << 12345678.0 << QList<int>{5, 11, 23, 34, 45, 56}
                                  << QStringLiteral("12345678;05;11;23;34;45;56;") << 7;
    QTest::newRow("ten million") << 10000000.0 << QList<int>{1, 2, 3, 4, 5, 6}
                                 << QStringLiteral("10000000;01;02;03;04;05;06;") << 7;
    QTest::newRow("0 after d6 is left out")
        << 4.0 << QList<int>{1, 2, 3, 4, 5, 6, 0, 9} << QStringLiteral("0000004;01;02;03;04;05;06;09;") << 8;
    QTest::newRow("d1..d6 always written")
        << 5.0 << QList<int>{8, 9, 10, 11} << QStringLiteral("0000005;08;09;10;11;00;00;") << 7;
}

void TestGamesListing::formatsLines() {
    QFETCH(double, cartao);
    QFETCH(QList<int>, numbers);
    QFETCH(QString, line);
    QFETCH(int, fields);

    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, cartao, numbers);

    const QString got = FormatListingLine(t.TableCar.rowAt(0), GameFields(t.TableCar));

    QCOMPARE(got, line);
    QCOMPARE(got.count(QLatin1Char(';')), fields);
    if (numbers.size() == 15)
        QCOMPARE(got.size(), 53);
}

void TestGamesListing::listsTheGamesInTheirOrder() {
    WorkFolder w;
    Tables t(w.path());
    createListing(t);
    createGames(t);
    addGame(t.TableCar, 8, {1, 2, 3, 4, 5, 6});
    addGame(t.TableCar, 1, {10, 20, 30, 40, 50, 60, 7});
    addGame(t.TableCar, 3, {2, 4, 6, 8, 10, 12});
    // A change not yet posted is listed as it stands.
    QVERIFY(t.TableCar.locate(u"Cartao", 3));
    t.TableCar.edit();
    t.TableCar.setInteger(t.TableCar.fieldIndex(u"d6"), 14);

    QVERIFY(!BuildGamesListing(t));

    const QStringList lines{QStringLiteral("0000001;10;20;30;40;50;60;07;"),
                            QStringLiteral("0000003;02;04;06;08;10;14;"),
                            QStringLiteral("0000008;01;02;03;04;05;06;")};
    QCOMPARE(relLines(t.TableRel), lines);
    QCOMPARE(fileText(w), joined(lines));
    QCOMPARE(t.TableCar.position(), 2);
    QCOMPARE(t.TableCar.integer(u"Cartao"), 8);
}

void TestGamesListing::listsInHitOrderAfterACheck() {
    WorkFolder w;
    Tables t(w.path());
    createListing(t);
    createResults(t);
    addDraw(t, 1, {4, 15, 23, 37, 41, 58});
    createGames(t);
    addGame(t.TableCar, 1, {4, 15, 23, 37, 41, 59}); // 5
    addGame(t.TableCar, 2, {1, 2, 3, 5, 6, 7});      // 0
    addGame(t.TableCar, 3, {4, 10, 15, 20, 41, 59}); // 3
    QCOMPARE(CheckGamesWithLastDraw(t), std::nullopt);

    QVERIFY(!BuildGamesListing(t));

    const QStringList lines{QStringLiteral("0000002;01;02;03;05;06;07;"),
                            QStringLiteral("0000003;04;10;15;20;41;59;"),
                            QStringLiteral("0000001;04;15;23;37;41;59;")};
    QCOMPARE(relLines(t.TableRel), lines);
    QCOMPARE(fileText(w), joined(lines));
}

void TestGamesListing::secondListingReplacesTheFirst() {
    WorkFolder w;
    Tables t(w.path());
    createListing(t);
    createGames(t);
    addGame(t.TableCar, 1, {1, 2, 3, 4, 5, 6});
    addGame(t.TableCar, 2, {7, 8, 9, 10, 11, 12});

    QVERIFY(!BuildGamesListing(t));
    QVERIFY(!BuildGamesListing(t));

    const QStringList lines{QStringLiteral("0000001;01;02;03;04;05;06;"),
                            QStringLiteral("0000002;07;08;09;10;11;12;")};
    QCOMPARE(relLines(t.TableRel), lines);
    QCOMPARE(fileText(w), joined(lines));
}

void TestGamesListing::emptyGamesTable() {
    WorkFolder w;
    Tables t(w.path());
    createListing(t);
    createGames(t);
    QFile old(w.file(Schemas::kExportFile));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("0000001;01;02;03;04;05;06;\r\n");
    old.close();

    QVERIFY(!BuildGamesListing(t));

    QCOMPARE(fileText(w), QByteArray());
    QCOMPARE(t.TableRel.rowCount(), 0);
}

void TestGamesListing::unwritableFileNamesIt_data() {
    QTest::addColumn<bool>("folderMissing");
    QTest::newRow("Cartelas.csv is a folder") << false;
    QTest::newRow("no working folder") << true;
}

void TestGamesListing::unwritableFileNamesIt() {
    QFETCH(bool, folderMissing);
    WorkFolder w;
    const QString folder = folderMissing ? w.file(QStringLiteral("gone")) : w.path();
    Tables t(folder);
    createListing(t);
    createGames(t);
    addGame(t.TableCar, 1, {1, 2, 3, 4, 5, 6});
    t.TableRel.insert();
    t.TableRel.setInteger(t.TableRel.fieldIndex(u"Linha"), 1);
    t.TableRel.setText(t.TableRel.fieldIndex(u"Detalhe"), QStringLiteral("earlier"));
    t.TableRel.post();
    if (!folderMissing)
        QVERIFY(QDir(w.path()).mkdir(Schemas::kExportFile));

    try {
        (void)BuildGamesListing(t);
        QFAIL("the listing must fail");
    } catch (const TableError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("Cartelas.csv")), qPrintable(e.message()));
        QVERIFY2(e.message().startsWith(QStringLiteral("Não foi possível gravar o arquivo")),
                 qPrintable(e.message()));
    }
    QCOMPARE(relLines(t.TableRel), QStringList{QStringLiteral("earlier")});
}

// "Cartelas.csv" as a link to a file outside the folder: nothing is written through it.
void TestGamesListing::exportLinkOutsideTheFolderIsRefused() {
    WorkFolder w;
    WorkFolder outside;
    const QString foreign = outside.file(QStringLiteral("planilha.csv"));
    {
        QFile f(foreign);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("do jogador\r\n");
    }
    QVERIFY(QFile::link(foreign, w.file(Schemas::kExportFile)));
    Tables t(w.path());
    createListing(t);
    createGames(t);
    addGame(t.TableCar, 1, {1, 2, 3, 4, 5, 6});
    try {
        (void)BuildGamesListing(t);
        QFAIL("the listing must be refused");
    } catch (const TableError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("Cartelas.csv\" é um atalho (link simbólico) para")),
                 qPrintable(e.message()));
    }
    QFile f(foreign);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("do jogador\r\n"));
    QVERIFY(QFileInfo(w.file(Schemas::kExportFile)).isSymLink());
}

void TestGamesListing::gamesTableNotOpen() {
    WorkFolder w;
    Tables t(w.path());
    createListing(t);
    t.TableRel.insert();
    t.TableRel.setInteger(t.TableRel.fieldIndex(u"Linha"), 1);
    t.TableRel.setText(t.TableRel.fieldIndex(u"Detalhe"), QStringLiteral("earlier"));
    t.TableRel.post();
    QFile old(w.file(Schemas::kExportFile));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("0000001;01;02;03;04;05;06;\r\n");
    old.close();
    const QByteArray listingFile = [&] {
        t.TableRel.write();
        QFile f(w.file(Schemas::kListingFile));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QVERIFY(!listingFile.isEmpty());

    // No games file was ever made: nothing to list, and nothing changes.
    const std::optional<Message> said = BuildGamesListing(t);
    QVERIFY(said);
    QVERIFY2(said->text.startsWith(QStringLiteral("Não há jogos para listar.")), qPrintable(said->text));
    QCOMPARE(relLines(t.TableRel), QStringList{QStringLiteral("earlier")});
    QCOMPARE(fileText(w), QByteArray("0000001;01;02;03;04;05;06;\r\n"));
    t.TableRel.close();
    QFile f(w.file(Schemas::kListingFile));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), listingFile);
    QVERIFY(QDir(w.path()).entryList(QDir::Files | QDir::Hidden).size() == 2);
}

// A games file that could not be read at start-up stops the listing with its message; the listing
// and "Cartelas.csv" keep what they held.
void TestGamesListing::damagedGamesFileChangesNothing() {
    WorkFolder w;
    Tables t(w.path());
    createListing(t);
    t.TableRel.insert();
    t.TableRel.setInteger(t.TableRel.fieldIndex(u"Linha"), 1);
    t.TableRel.setText(t.TableRel.fieldIndex(u"Detalhe"), QStringLiteral("earlier"));
    t.TableRel.post();
    QFile old(w.file(Schemas::kExportFile));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("0000001;01;02;03;04;05;06;\r\n");
    old.close();
    QFile games(w.file(Schemas::kGamesFile));
    QVERIFY(games.open(QIODevice::WriteOnly));
    games.write(QByteArray(4096, 'x'));
    games.close();

    try {
        (void)BuildGamesListing(t);
        QFAIL("the listing must stop");
    } catch (const TableError& e) {
        QVERIFY2(e.message().contains(Schemas::kGamesFile), qPrintable(e.message()));
    }
    QCOMPARE(relLines(t.TableRel), QStringList{QStringLiteral("earlier")});
    QCOMPARE(fileText(w), QByteArray("0000001;01;02;03;04;05;06;\r\n"));
}

QUINABEL_CORE_TEST_MAIN(TestGamesListing)
#include "tst_GamesListing.moc"
