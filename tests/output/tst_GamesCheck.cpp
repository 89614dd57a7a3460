#include "GamesCheck.h"
#include "OutputFixture.h"
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QList<int> kDraw{4, 15, 23, 37, 41, 58};
const std::array<int, 6> kDrawNumbers{4, 15, 23, 37, 41, 58};

QStringList flags(const QString& first, int more = 0, const QString& rest = QStringLiteral("N")) {
    QStringList out = first.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < more; ++i)
        out << rest;
    return out;
}

void setAllFlags(Table& car, const QString& value) {
    car.first();
    while (!car.eof()) {
        car.edit();
        for (int i = 1; i <= 15; ++i)
            car.setText(car.fieldIndex(QStringLiteral("ad%1").arg(i)), value);
        car.next();
    }
}
} // namespace

class TestGamesCheck : public QObject {
    Q_OBJECT

private slots:
    void checksOneGame_data();
    void checksOneGame();
    void secondCheckGivesTheSame();
    void orderDoesNotMatter();
    void flowListsByHitsOnTheLastGame();
    void flowWithoutGamesFileDoesNothing();
    void flowWithEmptyGamesTable();
    void flowWithoutDrawTellsWhyAndKeepsGames();
    void orderSwitch();
    void orderSwitchIgnoresErrors();
    void deletesTheCurrentGame_data();
    void deletesTheCurrentGame();
    void deleteWithoutCurrentGame();
};

void TestGamesCheck::checksOneGame_data() {
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("before"); // every flag before the check
    QTest::addColumn<int>("hits");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("three hits of six")
        << QList<int>{4, 10, 15, 20, 41, 59} << QString() << 3 << flags(QStringLiteral("S N S N S N"), 9);
    QTest::newRow("six numbers: ad7..ad15 N")
        << QList<int>{1, 2, 3, 5, 6, 7} << QStringLiteral("S") << 0 << flags(QString(), 15);
    QTest::newRow("0 in position 8 ends the scan")
        << QList<int>{4, 10, 15, 20, 41, 59, 60, 0} << QStringLiteral("S") << 3
        << flags(QStringLiteral("S N S N S N N"), 8, QStringLiteral("S"));
    QTest::newRow("0 in position 1 keeps every flag")
        << QList<int>{0, 4, 15} << QStringLiteral("N") << 0 << flags(QString(), 15);
    QTest::newRow("fifteen numbers with all six")
        << QList<int>{1, 2, 4, 5, 15, 16, 23, 24, 37, 38, 41, 42, 58, 59, 60} << QString() << 6
        << flags(QStringLiteral("N N S N S N S N S N S N S N N"));
    QTest::newRow("unsorted numbers are matched exactly")
        << QList<int>{58, 4, 40, 14} << QString() << 2 << flags(QStringLiteral("S S N N"), 11);
}

void TestGamesCheck::checksOneGame() {
    QFETCH(QList<int>, numbers);
    QFETCH(QString, before);
    QFETCH(int, hits);
    QFETCH(QStringList, after);

    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, 1, numbers);
    if (!before.isEmpty())
        setAllFlags(t.TableCar, before);

    CheckGamesAgainstDraw(t.TableCar, kDrawNumbers);

    t.TableCar.first();
    QCOMPARE(t.TableCar.integer(t.TableCar.fieldIndex(u"Acertos")), hits);
    QCOMPARE(flagsOf(t.TableCar), after);
}

void TestGamesCheck::secondCheckGivesTheSame() {
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, 1, {4, 10, 15, 20, 41, 59});
    addGame(t.TableCar, 2, {1, 2, 4, 5, 15, 16, 23, 24, 37, 38, 41, 42, 58, 59, 60});
    addGame(t.TableCar, 3, {7, 8, 9, 10, 11, 12, 13});

    CheckGamesAgainstDraw(t.TableCar, kDrawNumbers);
    QList<QStringList> first;
    for (t.TableCar.first(); !t.TableCar.eof(); t.TableCar.next())
        first << (flagsOf(t.TableCar) << t.TableCar.text(u"Acertos"));

    CheckGamesAgainstDraw(t.TableCar, kDrawNumbers);
    QList<QStringList> second;
    for (t.TableCar.first(); !t.TableCar.eof(); t.TableCar.next())
        second << (flagsOf(t.TableCar) << t.TableCar.text(u"Acertos"));

    QCOMPARE(second, first);
    QCOMPARE(first[0].last(), QStringLiteral("3"));
    QCOMPARE(first[1].last(), QStringLiteral("6"));
    QCOMPARE(first[2].last(), QStringLiteral("0"));
}

void TestGamesCheck::orderDoesNotMatter() {
    // In hit order every check moves rows; each game must still be checked exactly once.
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    for (int g = 1; g <= 40; ++g)
        addGame(t.TableCar, g, {g, g + 1, g + 2, g + 3, g + 4, g + 5});
    t.TableCar.setIndexFieldNames(QStringLiteral("Acertos"));

    CheckGamesAgainstDraw(t.TableCar, kDrawNumbers);

    QCOMPARE(t.TableCar.indexFieldNames(), QStringLiteral("Acertos"));
    QCOMPARE(t.TableCar.rowCount(), 40);
    for (t.TableCar.first(); !t.TableCar.eof(); t.TableCar.next()) {
        const int g = t.TableCar.integer(u"Cartao");
        int expected = 0;
        for (int n = g; n < g + 6; ++n)
            expected += kDraw.contains(n) ? 1 : 0;
        QCOMPARE(t.TableCar.integer(u"Acertos"), expected);
    }
}

void TestGamesCheck::flowListsByHitsOnTheLastGame() {
    WorkFolder w;
    {
        Tables t(w.path());
        createResults(t);
        addDraw(t, 1, {1, 2, 3, 4, 5, 6});
        addDraw(t, 3, kDraw);
        addDraw(t, 2, {7, 8, 9, 10, 11, 12});
        t.TableRes.first();
        createGames(t);
        addGame(t.TableCar, 1, {4, 10, 15, 20, 41, 59}); // 3
        addGame(t.TableCar, 2, {4, 15, 23, 37, 41, 58}); // 6
        addGame(t.TableCar, 3, {1, 2, 3, 5, 6, 7});      // 0
        addGame(t.TableCar, 4, {4, 5, 6, 7, 8, 9, 10});  // 1

        QCOMPARE(CheckGamesWithLastDraw(t), std::nullopt);

        QCOMPARE(t.TableCar.indexFieldNames(), QStringLiteral("Acertos"));
        QCOMPARE(gameNumbers(t.TableCar), (QList<int>{3, 4, 1, 2}));
        QCOMPARE(t.TableCar.position(), 3);
        QCOMPARE(t.TableCar.integer(u"Acertos"), 6);
        QCOMPARE(t.TableRes.integer(u"Concurso"), 3);
        QCOMPARE(t.TableOrd.rowCount(), 6);
        // The check itself writes nothing; the commit at the end of the operation stores the hits.
        QCOMPARE(QFileInfo(w.file(Schemas::kGamesFile)).exists(), false);
        QVERIFY(t.commitChanges().isEmpty());
    }
    // The counts reached the file.
    Tables again(w.path());
    again.TableCar.open();
    QVERIFY(again.TableCar.locate(u"Cartao", 1));
    QCOMPARE(again.TableCar.integer(u"Acertos"), 3);
    QCOMPARE(flagsOf(again.TableCar).mid(0, 6), flags(QStringLiteral("S N S N S N")));
}

void TestGamesCheck::flowWithoutGamesFileDoesNothing() {
    WorkFolder w;
    Tables t(w.path());
    createResults(t);
    addDraw(t, 1, kDraw);
    addDraw(t, 2, {1, 2, 3, 4, 5, 6});
    t.TableRes.first();

    QCOMPARE(CheckGamesWithLastDraw(t), std::nullopt);

    QVERIFY(!t.TableCar.isOpen());
    QVERIFY(!QFile::exists(w.file(Schemas::kGamesFile)));
    QVERIFY(!t.TableOrd.isOpen());
    QCOMPARE(t.TableRes.integer(u"Concurso"), 1);
}

void TestGamesCheck::flowWithEmptyGamesTable() {
    WorkFolder w;
    Tables t(w.path());
    createResults(t);
    addDraw(t, 1, kDraw);
    createGames(t);
    addGame(t.TableCar, 1, {1, 2, 3, 4, 5, 6});
    t.TableCar.commitChanges();
    t.TableCar.close();
    t.TableCar.open();
    t.TableCar.remove();
    t.TableCar.commitChanges();
    t.TableCar.close(); // an existing games file without games

    QCOMPARE(CheckGamesWithLastDraw(t), std::nullopt);

    QVERIFY(t.TableCar.isOpen());
    QCOMPARE(t.TableCar.rowCount(), 0);
    QCOMPARE(t.TableCar.indexFieldNames(), QStringLiteral("Acertos"));
}

void TestGamesCheck::flowWithoutDrawTellsWhyAndKeepsGames() {
    WorkFolder w;
    Tables t(w.path());
    createResults(t);
    createGames(t);
    addGame(t.TableCar, 1, {4, 10, 15, 20, 41, 59});
    addGame(t.TableCar, 2, {4, 15, 23, 37, 41, 58});
    t.TableCar.first();
    t.TableCar.edit();
    t.TableCar.setInteger(t.TableCar.fieldIndex(u"Acertos"), 2);
    t.TableCar.post();

    const auto notice = CheckGamesWithLastDraw(t);

    QVERIFY(notice);
    QCOMPARE(notice->title, QStringLiteral("Conferência dos jogos"));
    QCOMPARE(notice->text, QStringLiteral("Não há concurso cadastrado para conferir os jogos."));
    QVERIFY(t.TableCar.locate(u"Cartao", 1));
    QCOMPARE(t.TableCar.integer(u"Acertos"), 2);
    QCOMPARE(flagsOf(t.TableCar), QStringList(15, QString()));
    QVERIFY(t.TableCar.locate(u"Cartao", 2));
    QVERIFY(t.TableCar.isEmpty(t.TableCar.fieldIndex(u"Acertos")));
}

void TestGamesCheck::orderSwitch() {
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, 1, {1, 2, 3, 4, 5, 6});
    addGame(t.TableCar, 2, {4, 15, 23, 37, 41, 58});
    addGame(t.TableCar, 3, {4, 15, 23, 7, 8, 9});
    CheckGamesAgainstDraw(t.TableCar, kDrawNumbers);
    addGame(t.TableCar, 4, {7, 8, 9, 10, 11, 12}); // no check yet: empty hits come first

    SetGamesOrder(t.TableCar, GamesOrder::ByHits);
    QCOMPARE(gameNumbers(t.TableCar), (QList<int>{4, 1, 3, 2}));
    QCOMPARE(t.TableCar.position(), 0);

    SetGamesOrder(t.TableCar, GamesOrder::ByGame);
    QCOMPARE(gameNumbers(t.TableCar), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(t.TableCar.position(), 0);
}

void TestGamesCheck::orderSwitchIgnoresErrors() {
    WorkFolder w;
    Tables t(w.path());
    SetGamesOrder(t.TableCar, GamesOrder::ByHits); // no games file: the open fails
    QVERIFY(!t.TableCar.isOpen());
}

void TestGamesCheck::deletesTheCurrentGame_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QList<int>>("left");
    QTest::newRow("yes") << true << QList<int>{1, 3};
    QTest::newRow("no") << false << QList<int>{1, 2, 3};
}

void TestGamesCheck::deletesTheCurrentGame() {
    QFETCH(bool, answer);
    QFETCH(QList<int>, left);

    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGamesOfSizes(t.TableCar, {6, 6, 6});
    QVERIFY(t.TableCar.locate(u"Cartao", 2));
    ScriptedPrompter prompter(answer);

    QCOMPARE(DeleteCurrentGame(t.TableCar, prompter), answer);

    QCOMPARE(prompter.asked.size(), 1);
    QCOMPARE(prompter.asked[0],
             (Message{QStringLiteral("Deleção de jogo"), QStringLiteral("Deleta mesmo o jogo marcado? ")}));
    QCOMPARE(gameNumbers(t.TableCar), left);
}

void TestGamesCheck::deleteWithoutCurrentGame() {
    WorkFolder w;
    Tables t(w.path());
    ScriptedPrompter prompter(true);
    QVERIFY(!DeleteCurrentGame(t.TableCar, prompter)); // games table closed

    createGames(t);
    QVERIFY(!DeleteCurrentGame(t.TableCar, prompter)); // no games
    QVERIFY(prompter.asked.isEmpty());
    QCOMPARE(t.TableCar.rowCount(), 0);
}

QUINABEL_CORE_TEST_MAIN(TestGamesCheck)
#include "tst_GamesCheck.moc"
