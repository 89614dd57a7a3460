#include "OutputFixture.h"
#include "SlipPrinting.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QFile>

namespace {
// The slips of TableCImp in Cartela order, each as J1, J2, J3 (0 for empty) and Dezenas.
QList<QList<int>> slipsOf(Table& slips) {
    QList<QList<int>> out;
    for (slips.first(); !slips.eof(); slips.next()) {
        out << QList<int>{slips.intValue(u"J1").value_or(0), slips.intValue(u"J2").value_or(0),
                          slips.intValue(u"J3").value_or(0), slips.integer(u"Dezenas")};
        if (slips.integer(u"Cartela") != static_cast<int>(out.size()))
            return {};
    }
    return out;
}

// The numbers marked in one block.
QList<int> markedIn(const SlipMarks& m, int block) {
    QList<int> out;
    for (int n = 1; n <= 60; ++n)
        if (m.number(block, n))
            out << n;
    return out;
}

QList<int> sizesMarked(const SlipMarks& m) {
    QList<int> out;
    for (int s = 6; s <= 15; ++s)
        if (m.size(s))
            out << s;
    return out;
}

// Writes the games to the games file and builds and packs the print tables.
void printRun(Tables& t) {
    BuildPrintNumbers(t);
    PackSlips(t.TableImp, t.TableCImp);
}

QList<int> range(int from, int count) {
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out << from + i;
    return out;
}
} // namespace

class TestSlipPrinting : public QObject {
    Q_OBJECT

private slots:
    void packsSlips_data();
    void packsSlips();
    void printNumbersFollowGameOrder();
    void marksTheGamesOfASlip();
    void marksTheSizeOfTheSlip_data();
    void marksTheSizeOfTheSlip();
    void teimosinha_data();
    void teimosinha();
    void faultyGamesMarkNothingForThemselves();
    void noGamesFile();
    void emptyGamesTable();
};

void TestSlipPrinting::packsSlips_data() {
    QTest::addColumn<QList<int>>("games");
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<QList<QList<int>>>("slips");

    QTest::newRow("seven of six") << range(1, 7) << QList<int>(7, 6)
                                  << QList<QList<int>>{{1, 2, 3, 6}, {4, 5, 6, 6}, {7, 0, 0, 6}};
    QTest::newRow("sizes 6 7 6") << range(1, 3) << QList<int>{6, 7, 6}
                                 << QList<QList<int>>{{1, 0, 0, 6}, {2, 0, 0, 7}, {3, 0, 0, 6}};
    QTest::newRow("sizes 6 6 7 7") << range(1, 4) << QList<int>{6, 6, 7, 7}
                                   << QList<QList<int>>{{1, 2, 0, 6}, {3, 4, 0, 7}};
    QTest::newRow("gaps 1 3 8") << QList<int>{1, 3, 8} << QList<int>{6, 6, 6}
                                << QList<QList<int>>{{1, 3, 8, 6}};
    QTest::newRow("first game of 15")
        << range(1, 2) << QList<int>{15, 15} << QList<QList<int>>{{1, 2, 0, 15}};
}

void TestSlipPrinting::packsSlips() {
    QFETCH(QList<int>, games);
    QFETCH(QList<int>, sizes);
    QFETCH(QList<QList<int>>, slips);

    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    for (int g = 0; g < games.size(); ++g)
        addGame(t.TableCar, games[g], range(1, sizes[g]));

    printRun(t);

    QCOMPARE(slipsOf(t.TableCImp), slips);
}

void TestSlipPrinting::printNumbersFollowGameOrder() {
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, 2, {3, 9, 12, 40, 50, 60, 7});
    addGame(t.TableCar, 1, {1, 2, 4, 5, 6, 8});

    BuildPrintNumbers(t);

    Table& imp = t.TableImp;
    QCOMPARE(imp.indexFieldNames(), QStringLiteral("Cartao;Quant;Dezena"));
    QCOMPARE(imp.rowCount(), 13);
    imp.first();
    QCOMPARE(imp.integer(u"Cartao"), 1);
    QCOMPARE(imp.integer(u"Quant"), 6);
    imp.last();
    QCOMPARE(imp.integer(u"Cartao"), 2);
    QCOMPARE(imp.integer(u"Quant"), 7);
    QVERIFY(imp.locate(u"Dezena", QStringLiteral("7"))); // no leading zero
    QVERIFY(!imp.locate(u"Dezena", QStringLiteral("07")));
    QVERIFY(t.TableCar.isOpen());
    // The print order is a view of the games table's rows: printing neither writes nor reads the
    // games file (these games were never stored).
    QVERIFY(!QFile::exists(w.file(Schemas::kGamesFile)));
}

void TestSlipPrinting::marksTheGamesOfASlip() {
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, 4, {2, 3, 4, 5, 6, 7});
    addGame(t.TableCar, 5, {1, 10, 11, 20, 30, 60});
    addGame(t.TableCar, 6, {12, 22, 32, 42, 52, 59});
    addGame(t.TableCar, 7, {1, 2, 3, 4, 5, 6});
    printRun(t);

    SlipMarks marks;
    ApplyTeimosinha(marks, 8);
    t.TableCImp.first();
    ApplySlipMarks(t.TableCImp, t.TableImp, marks);

    QCOMPARE(markedIn(marks, 1), (QList<int>{2, 3, 4, 5, 6, 7}));
    QCOMPARE(markedIn(marks, 2), (QList<int>{1, 10, 11, 20, 30, 60}));
    QVERIFY(marks.number(2, 1) && marks.number(2, 10) && marks.number(2, 11) && marks.number(2, 60));
    QCOMPARE(markedIn(marks, 3), (QList<int>{12, 22, 32, 42, 52, 59}));
    QCOMPARE(sizesMarked(marks), QList<int>{6});
    QVERIFY(marks.t8); // the teimosinha is not the slip's business

    // The next slip holds one game: blocks 2 and 3 come out blank.
    t.TableCImp.next();
    ApplySlipMarks(t.TableCImp, t.TableImp, marks);
    QCOMPARE(markedIn(marks, 1), range(1, 6));
    QVERIFY(markedIn(marks, 2).isEmpty());
    QVERIFY(markedIn(marks, 3).isEmpty());

    // Laying the slips out again (printing from the preview) gives the same marks.
    SlipMarks again;
    ApplyTeimosinha(again, 8);
    ApplySlipMarks(t.TableCImp, t.TableImp, again);
    QCOMPARE(again, marks);
}

void TestSlipPrinting::marksTheSizeOfTheSlip_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("6") << 6;
    QTest::newRow("10") << 10;
    QTest::newRow("15") << 15;
}

void TestSlipPrinting::marksTheSizeOfTheSlip() {
    QFETCH(int, size);
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, 1, range(46 - size, size));
    printRun(t);

    SlipMarks marks;
    marks.sizes.fill(true);
    t.TableCImp.first();
    ApplySlipMarks(t.TableCImp, t.TableImp, marks);

    QCOMPARE(sizesMarked(marks), QList<int>{size});
    QCOMPARE(markedIn(marks, 1), range(46 - size, size));
}

void TestSlipPrinting::teimosinha_data() {
    QTest::addColumn<int>("draws");
    QTest::addColumn<QList<bool>>("t248");
    QTest::newRow("sem teimosinha") << 0 << QList<bool>{false, false, false};
    QTest::newRow("2 concursos") << 2 << QList<bool>{true, false, false};
    QTest::newRow("4 concursos") << 4 << QList<bool>{false, true, false};
    QTest::newRow("8 concursos") << 8 << QList<bool>{false, false, true};
}

void TestSlipPrinting::teimosinha() {
    QFETCH(int, draws);
    QFETCH(QList<bool>, t248);
    SlipMarks marks;
    marks.t2 = marks.t4 = marks.t8 = true;
    ApplyTeimosinha(marks, draws);
    QCOMPARE((QList<bool>{marks.t2, marks.t4, marks.t8}), t248);
}

void TestSlipPrinting::faultyGamesMarkNothingForThemselves() {
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    Table& car = t.TableCar;
    addGame(car, 1, {1, 2, 3, 4, 5, 61});                                     // a number above 60
    addGame(car, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 16); // a size without a box
    addGame(car, 3, {7, 8, 9, 10, 11, 12}, -1);                               // no Dezenas: not printed
    addGame(car, 4, {20, 0, 22, 23, 24, 25});                                 // 0 inside the game
    addGame(car, 5, {30, 31, 32, 33, 34, 35});                                // d3 emptied below
    addGame(car, 6, {40, 41, 42, 43, 44, 45, 46, 47}, 3);                     // fewer numbers than it holds
    addGame(car, 7, {50, 51, 52, 53, 54, 55});                                // a sound game after them
    QVERIFY(car.locate(u"Cartao", 5));
    car.edit();
    car.setEmpty(car.fieldIndex(u"d3"));
    car.post();

    printRun(t);

    // Dezenas order 3, 6, 6, 6, 6, 16: slips by game number with size changes.
    QCOMPARE(slipsOf(t.TableCImp),
             (QList<QList<int>>{{1, 0, 0, 6}, {2, 0, 0, 16}, {4, 5, 0, 6}, {6, 0, 0, 3}, {7, 0, 0, 6}}));

    QList<QList<int>> blocks;
    QList<QList<int>> sizes;
    SlipMarks marks;
    for (t.TableCImp.first(); !t.TableCImp.eof(); t.TableCImp.next()) {
        ApplySlipMarks(t.TableCImp, t.TableImp, marks);
        blocks << markedIn(marks, 1) << markedIn(marks, 2);
        sizes << sizesMarked(marks);
    }
    QCOMPARE(blocks[0], range(1, 5));
    QCOMPARE(blocks[2], range(1, 15));
    QCOMPARE(blocks[4], (QList<int>{20, 22, 23, 24, 25}));
    QCOMPARE(blocks[5], (QList<int>{30, 31, 33, 34, 35}));
    QCOMPARE(blocks[6], (QList<int>{40, 41, 42}));
    QCOMPARE(blocks[8], range(50, 6));
    QCOMPARE(sizes, (QList<QList<int>>{{6}, {}, {6}, {}, {6}}));
}

void TestSlipPrinting::noGamesFile() {
    WorkFolder w;
    Tables t(w.path());
    QVERIFY_THROWS_EXCEPTION(TableError, BuildPrintNumbers(t));
    QVERIFY(t.TableImp.isOpen());
    QCOMPARE(t.TableImp.rowCount(), 0);
    QVERIFY(t.TableCImp.isOpen());
    QCOMPARE(t.TableCImp.rowCount(), 0);
}

void TestSlipPrinting::emptyGamesTable() {
    WorkFolder w;
    Tables t(w.path());
    createGames(t);
    addGame(t.TableCar, 1, range(1, 6));
    t.TableCar.commitChanges();
    t.TableCar.close();
    t.TableCar.open();
    t.TableCar.remove();

    printRun(t);

    QCOMPARE(t.TableImp.rowCount(), 0);
    QCOMPARE(t.TableCImp.rowCount(), 0);
}

QUINABEL_CORE_TEST_MAIN(TestSlipPrinting)
#include "tst_SlipPrinting.moc"
