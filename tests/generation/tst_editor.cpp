#include "DistributionEditor.h"
#include "GameMeasures.h"
#include "GamesSummary.h"
#include "GamesTable.h"
#include "Schemas.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QSignalSpy>

using Rows = std::vector<std::vector<int>>;

// The editor of dealt games: dropping chips onto rows, repacking the rows, and committing the rows
// to the games table.
class EditorTest : public QObject {
    Q_OBJECT

    static void fillWeights(Table& aval) {
        aval.create();
        for (int k = 1; k <= 60; ++k) {
            aval.insert();
            aval.setReal(aval.fieldIndex(u"Nota"), k);
            aval.setInteger(aval.fieldIndex(u"dezena"), k);
            aval.setInteger(aval.fieldIndex(u"Cartao"), 0);
            aval.post();
        }
    }

    static int cartaoOf(Table& aval, int number) {
        if (!aval.locate(u"Dezena", number))
            return -1;
        return aval.integer(aval.fieldIndex(u"Cartao"));
    }

    static void load(DistributionEditor& e, const Rows& rows) {
        NumberFlags inPlay{};
        for (const auto& r : rows)
            for (const int n : r)
                inPlay[static_cast<std::size_t>(n - 1)] = true;
        e.showInPlay(inPlay);
        e.placeRows(rows);
    }

    // Grabs the chip at (4, 7), moves it by (dx, dy) in two steps and drops it where it is.
    static void drag(DistributionEditor& e, Table& aval, int number, int dx, int dy) {
        e.press(number, 4, 7);
        e.move(number, 4 + dx / 2, 7 + dy / 2);
        e.move(number, 4 + dx - dx / 2, 7 + dy - dy / 2);
        e.release(aval, number, 4, 7);
    }

    static Rows sixPerRow() {
        Rows rows;
        for (int r = 0; r < 10; ++r)
            rows.push_back({r + 1, r + 11, r + 21, r + 31, r + 41, r + 51});
        return rows;
    }

    static QStringList games(const Table& car) {
        const GameFields f(car);
        QStringList out;
        for (int i = 0; i < car.rowCount(); ++i) {
            const RowRef r = car.rowAt(i);
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                       .arg(r.text(f.cartao), r.text(f.todos), r.text(f.dezenas), r.text(f.pares),
                            r.text(f.linhas), r.text(f.abaixo),
                            r.isEmpty(f.d[static_cast<std::size_t>(*r.intValue(f.dezenas))])
                                ? QStringLiteral("rest empty")
                                : QStringLiteral("rest filled"));
        }
        return out;
    }

    static void addStoredGame(Table& car, double cartao, const std::vector<int>& numbers) {
        const GameFields f(car);
        car.insert();
        car.setReal(f.cartao, cartao);
        car.setText(f.todos, TodosText(numbers));
        car.setInteger(f.dezenas, static_cast<int>(numbers.size()));
        for (std::size_t i = 0; i < numbers.size(); ++i)
            car.setInteger(f.d[i], numbers[i]);
        car.post();
    }

private slots:
    void snappedTop_data() {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("snapped");
        QTest::newRow("9: no row") << 9 << 9;
        QTest::newRow("10: row 1") << 10 << 25;
        QTest::newRow("36: row 1") << 36 << 25;
        QTest::newRow("37: row 2") << 37 << 50;
        QTest::newRow("256: row 10") << 256 << 250;
        QTest::newRow("257: no row") << 257 << 257;
        QTest::newRow("above the panel") << -30 << -30;
        QTest::newRow("far below") << 400 << 400;
        for (int r = 2; r <= 9; ++r) {
            QTest::addRow("row %d first", r) << 25 * r - 13 << 25 * r;
            QTest::addRow("row %d last", r) << 25 * r + 11 << 25 * r;
        }
        QTest::newRow("row 10 first") << 237 << 250;
    }
    void snappedTop() {
        QFETCH(int, top);
        QFETCH(int, snapped);
        QCOMPARE(SnappedTop(top), snapped);
    }

    // A chip of row 1 dropped with its Top at `top` joins the row SnappedTop gives, and TableAval
    // records Top ÷ 25 for it.
    void dropRecordsTheRow_data() {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("cartao");
        QTest::newRow("9") << 9 << 0 << 0;
        QTest::newRow("36") << 36 << 1 << 1;
        QTest::newRow("37") << 37 << 2 << 2;
        QTest::newRow("137") << 137 << 6 << 6;
        QTest::newRow("256") << 256 << 10 << 10;
        QTest::newRow("257") << 257 << 0 << 10;
        QTest::newRow("300") << 300 << 0 << 12;
    }
    void dropRecordsTheRow() {
        QFETCH(int, top);
        QFETCH(int, row);
        QFETCH(int, cartao);
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        DistributionEditor e;
        load(e, sixPerRow());
        drag(e, t.TableAval, 21, 0, top - 25);
        QCOMPARE(e.rowOf(21), row);
        QCOMPARE(cartaoOf(t.TableAval, 21), cartao);
        if (row == 1) {
            QCOMPARE(e.rowNumbers(1), (std::vector<int>{1, 11, 21, 31, 41, 51}));
            QCOMPARE(e.chip(21).left, 20 + 2 * 21);
        } else {
            QCOMPARE(e.rowNumbers(1), (std::vector<int>{1, 11, 31, 41, 51}));
            QCOMPARE(e.chip(51).left, 20 + 4 * 21); // the row closed its gap
        }
        if (row == 0)
            QCOMPARE(e.chip(21).top, top);
    }

    void dragProtocol() {
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        DistributionEditor e;
        load(e, sixPerRow());
        QSignalSpy moved(&e, &DistributionEditor::chipMoved);
        QSignalSpy started(&e, &DistributionEditor::dragStarted);
        QSignalSpy ended(&e, &DistributionEditor::dragEnded);
        QVERIFY(!e.Dragging());
        e.move(3, 10, 10); // no drag yet: nothing moves
        QCOMPARE(e.chip(3).top, 75);
        e.press(3, 5, 6);
        QVERIFY(e.Dragging());
        QCOMPARE(e.GrabX(), 5);
        QCOMPARE(e.GrabY(), 6);
        QCOMPARE(started.size(), 1);
        e.move(3, 15, 36);
        QCOMPARE(e.chip(3).left, 30);
        QCOMPARE(e.chip(3).top, 105);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved.first().first().toInt(), 3);
        e.release(t.TableAval, 3, 5, 30); // moved once more to Top 129, snapped onto row 5
        QVERIFY(!e.Dragging());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(e.chip(3).top, 125);
        QCOMPARE(e.rowNumbers(5), (std::vector<int>{3, 5, 15, 25, 35, 45, 55}));
        QCOMPARE(e.chip(3).left, 20);
        QCOMPARE(e.chip(55).left, 20 + 6 * 21);
        QCOMPARE(e.rowNumbers(3).size(), std::size_t{5});
        QCOMPARE(cartaoOf(t.TableAval, 3), 5);
    }

    void droppingIntoItsOwnRowKeepsIt() {
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        DistributionEditor e;
        load(e, sixPerRow());
        drag(e, t.TableAval, 24, 90, 8);
        QCOMPARE(e.rowNumbers(4), (std::vector<int>{4, 14, 24, 34, 44, 54}));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(e.chip(4 + 10 * i).left, 20 + 21 * i);
        QCOMPARE(cartaoOf(t.TableAval, 24), 4);
    }

    void sixteenthChipLandsPastTheBand() {
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        DistributionEditor e;
        load(e, Rows{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {16, 17, 18, 19, 20, 21, 22}});
        drag(e, t.TableAval, 22, 0, -25);
        QCOMPARE(e.rowNumbers(1).size(), std::size_t{16});
        QCOMPARE(e.chip(22).left, 335);
        QCOMPARE(e.NextChipLeft()[0], 356);
        QCOMPARE(e.NextChipLeft()[1], 20 + 6 * 21);
        QCOMPARE(e.NextChipLeft()[2], 20);

        PrepareGamesTable(t);
        QCOMPARE(CommitDistributedGames(t, e), 1); // only row 2, now of 6 numbers
        QCOMPARE(t.TableCar.rowAt(0).text(GameFields(t.TableCar).todos), QStringLiteral("161718192021"));
    }

    void hiddenChipsTakeNoPart() {
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        DistributionEditor e;
        load(e, sixPerRow());
        QSignalSpy shown(&e, &DistributionEditor::chipVisibilityChanged);
        NumberFlags inPlay{};
        inPlay.fill(true);
        inPlay[6] = false; // 7 is discarded this time
        e.showInPlay(inPlay);
        QVERIFY(!e.chip(7).visible);
        QVERIFY(e.chip(8).visible);
        QCOMPARE(shown.size(), 1);
        // No chip keeps the row of the earlier distribution until the layout places it.
        QCOMPARE(e.rowOf(8), 0);
        e.placeRows(Rows{{1, 2, 3, 4, 5, 6, 8}});
        QCOMPARE(e.rowNumbers(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 8}));
        QCOMPARE(e.chip(8).left, 20 + 6 * 21);
        e.press(7, 1, 1);
        QVERIFY(!e.Dragging());
        e.release(t.TableAval, 7, 1, 100);
        QCOMPARE(e.rowOf(7), 0);
        QCOMPARE(cartaoOf(t.TableAval, 7), 0);
    }

    void movingOneChipBetweenSixNumberRows() {
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        DistributionEditor e;
        load(e, sixPerRow());
        drag(e, t.TableAval, 32, 0, 25);
        QCOMPARE(e.rowNumbers(2).size(), std::size_t{5});
        QCOMPARE(e.rowNumbers(3), (std::vector<int>{3, 13, 23, 32, 33, 43, 53}));
        PrepareGamesTable(t);
        QCOMPARE(CommitDistributedGames(t, e), 9);
        FillDerivedFields(t.TableCar);
        const GameFields f(t.TableCar);
        QCOMPARE(t.TableCar.rowAt(1).text(f.todos), QStringLiteral("03132332334353"));
        QCOMPARE(t.TableCar.rowAt(1).text(f.dezenas), QStringLiteral("7"));
    }

    void commitWorkedExample() {
        WorkFolder w;
        Tables t(w.path());
        PrepareGamesTable(t);
        DistributionEditor e;
        load(e, Rows{{3, 8, 15, 22, 41, 57}, {5, 11, 19, 30, 44, 52, 60}, {12, 27, 33, 48}});
        QCOMPARE(CommitDistributedGames(t, e), 2);
        FillDerivedFields(t.TableCar);
        QCOMPARE(games(t.TableCar), (QStringList{QStringLiteral("1 030815224157 6 2 5 4 rest empty"),
                                                 QStringLiteral("2 05111930445260 7 4 5 4 rest empty")}));
        const GameFields f(t.TableCar);
        const RowRef second = t.TableCar.rowAt(1);
        QCOMPARE(second.intValue(f.d[0]), std::optional<qint32>(5));
        QCOMPARE(second.intValue(f.d[6]), std::optional<qint32>(60));
        QVERIFY(second.isEmpty(f.emite));
        QVERIFY(second.isEmpty(f.acertos));

        // Committing the same rows again adds nothing, and the summary is unchanged.
        const QStringList summary = RefreshGamesSummary(t.TableCar);
        QCOMPARE(CommitDistributedGames(t, e), 0);
        FillDerivedFields(t.TableCar);
        QCOMPARE(t.TableCar.rowCount(), 2);
        QCOMPARE(RefreshGamesSummary(t.TableCar), summary);
        QCOMPARE(summary.value(2), QStringLiteral("Total dos jogos:48,00"));
    }

    void newGamesNumberOnFromTheHighest() {
        WorkFolder w;
        Tables t(w.path());
        PrepareGamesTable(t);
        addStoredGame(t.TableCar, 12, {1, 2, 3, 4, 5, 6});
        addStoredGame(t.TableCar, 4, {1, 2, 3, 4, 5, 7});
        DistributionEditor e;
        load(e, Rows{{1, 2, 3, 4, 5, 6}, {10, 20, 30, 40, 50, 60}, {11, 12, 13, 14, 15, 16, 17}});
        QCOMPARE(CommitDistributedGames(t, e), 2); // row 1 stands in the table already
        QCOMPARE(t.TableCar.rowCount(), 4);
        const GameFields f(t.TableCar);
        QCOMPARE(t.TableCar.rowAt(2).text(f.cartao), QStringLiteral("13"));
        QCOMPARE(t.TableCar.rowAt(2).text(f.todos), QStringLiteral("102030405060"));
        QCOMPARE(t.TableCar.rowAt(3).text(f.cartao), QStringLiteral("14"));
        QCOMPARE(t.TableCar.rowAt(3).text(f.dezenas), QStringLiteral("7"));
    }

    // The games grid may be ordered by hits when the player commits; numbers still go on from the
    // highest game number.
    void newGamesNumberOnFromTheHighestInHitOrder() {
        WorkFolder w;
        Tables t(w.path());
        PrepareGamesTable(t);
        Table& car = t.TableCar;
        const GameFields f(car);
        addStoredGame(car, 12, {1, 2, 3, 4, 5, 6});
        addStoredGame(car, 4, {1, 2, 3, 4, 5, 7});
        car.locate(u"Cartao", 4.0);
        car.edit();
        car.setInteger(f.acertos, 3);
        car.post();
        car.setIndexFieldNames(QStringLiteral("Acertos"));
        DistributionEditor e;
        load(e, Rows{{10, 20, 30, 40, 50, 60}, {11, 12, 13, 14, 15, 16}});
        QCOMPARE(CommitDistributedGames(t, e), 2);
        car.setIndexFieldNames(QStringLiteral("Cartao"));
        QCOMPARE(car.rowAt(2).text(f.cartao), QStringLiteral("13"));
        QCOMPARE(car.rowAt(3).text(f.cartao), QStringLiteral("14"));
    }

    void fillDerivedFieldsLeavesFilledRows() {
        WorkFolder w;
        Tables t(w.path());
        PrepareGamesTable(t);
        Table& car = t.TableCar;
        const GameFields f(car);
        addStoredGame(car, 1, {2, 4, 6, 8, 10, 12});
        car.last();
        car.edit();
        car.setInteger(f.pares, 9);
        car.setInteger(f.abaixo, 0);
        car.post();
        addStoredGame(car, 2, {2, 13, 31, 0, 45, 58}); // 0 ends the game after 31
        addStoredGame(car, 3, {1, 3, 5, 7, 9, 11, 61});
        FillDerivedFields(car);
        const auto derived = [&](int row) {
            const RowRef r = car.rowAt(row);
            return QStringLiteral("%1 %2 %3").arg(r.text(f.pares), r.text(f.linhas), r.text(f.abaixo));
        };
        QCOMPARE(derived(0), QStringLiteral("9  0"));
        QCOMPARE(derived(1), QStringLiteral("1 3 2"));
        QCOMPARE(derived(2), QStringLiteral("0 2 6"));
    }

    // Rows must be looked at by their stored derived fields even when the table is ordered by one.
    void fillDerivedFieldsInADerivedOrder() {
        WorkFolder w;
        Tables t(w.path());
        PrepareGamesTable(t);
        Table& car = t.TableCar;
        addStoredGame(car, 1, {2, 4, 6, 8, 10, 12});
        addStoredGame(car, 2, {1, 3, 5, 7, 9, 11});
        addStoredGame(car, 3, {1, 2, 3, 5, 7, 9});
        car.setIndexFieldNames(QStringLiteral("Pares"));
        FillDerivedFields(car);
        const GameFields f(car);
        for (int i = 0; i < car.rowCount(); ++i)
            QVERIFY(!car.rowAt(i).isEmpty(f.abaixo));
        QCOMPARE(car.rowAt(0).text(f.cartao), QStringLiteral("2"));
        QCOMPARE(car.rowAt(2).text(f.pares), QStringLiteral("6"));
    }
};

QUINABEL_CORE_TEST_MAIN(EditorTest)
#include "tst_editor.moc"
