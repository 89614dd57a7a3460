#include "PrizeTiers.h"
#include "TestSupport.h"

#include <vector>

namespace {

// Every 6-number bet contained in `game`, tallied by its hits among `draw`.
PrizeTiers bruteForce(const std::vector<int>& game, NumberMask draw) {
    PrizeTiers t;
    const int n = static_cast<int>(game.size());
    if (n < 6)
        return t;
    std::vector<int> pick{0, 1, 2, 3, 4, 5};
    for (;;) {
        int hits = 0;
        for (const int p : pick)
            hits += (draw >> game[static_cast<std::size_t>(p)]) & 1U ? 1 : 0;
        t.senas += hits == 6 ? 1 : 0;
        t.quinas += hits == 5 ? 1 : 0;
        t.quadras += hits == 4 ? 1 : 0;
        // The next combination in lexicographic order.
        int i = 5;
        while (i >= 0 && pick[static_cast<std::size_t>(i)] == n - 6 + i)
            --i;
        if (i < 0)
            return t;
        ++pick[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < 6; ++j)
            pick[static_cast<std::size_t>(j)] = pick[static_cast<std::size_t>(j - 1)] + 1;
    }
}

} // namespace

class TestPrizeTiers : public QObject {
    Q_OBJECT

private slots:
    void formulaMatchesEveryContainedBet_data();
    void formulaMatchesEveryContainedBet();
    void examples_data();
    void examples();
    void masks();
};

void TestPrizeTiers::formulaMatchesEveryContainedBet_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("hits");
    for (int n = 6; n <= 15; ++n)
        for (int k = 0; k <= 6; ++k)
            QTest::addRow("%d numbers, %d hits", n, k) << n << k;
}

void TestPrizeTiers::formulaMatchesEveryContainedBet() {
    QFETCH(int, size);
    QFETCH(int, hits);
    // The draw is 11, 22, 33, 44, 55, 60; the game takes `hits` of them and fills up with misses
    // spread over the board, so that the order of the numbers plays no part.
    const std::vector<int> drawn{11, 22, 33, 44, 55, 60};
    const NumberMask draw = MaskOf(drawn);
    std::vector<int> game(drawn.begin(), drawn.begin() + hits);
    for (int m = 1; static_cast<int>(game.size()) < size; m += 3)
        if (!((draw >> m) & 1U))
            game.push_back(m);
    const NumberMask mask = MaskOf(game);
    QCOMPARE(CountOf(mask), size);
    QCOMPARE(CountOf(mask & draw), hits);

    const PrizeTiers expected = bruteForce(game, draw);
    QCOMPARE(PrizeTiersOf(size, hits), expected);
    QCOMPARE(PrizeTiersOf(mask, draw), expected);
    QCOMPARE(expected.any(), hits >= 4); // four hits always hold a quadra in a game of six or more
}

void TestPrizeTiers::examples_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("hits");
    QTest::addColumn<qint64>("senas");
    QTest::addColumn<qint64>("quinas");
    QTest::addColumn<qint64>("quadras");
    QTest::newRow("10 numbers, 5 hits") << 10 << 5 << qint64{0} << qint64{5} << qint64{50};
    QTest::newRow("7 numbers, 6 hits") << 7 << 6 << qint64{1} << qint64{6} << qint64{0};
    QTest::newRow("6 numbers, 6 hits: the sena alone") << 6 << 6 << qint64{1} << qint64{0} << qint64{0};
    QTest::newRow("15 numbers, 6 hits") << 15 << 6 << qint64{1} << qint64{54} << qint64{540};
    QTest::newRow("15 numbers, 4 hits") << 15 << 4 << qint64{0} << qint64{0} << qint64{55};
    QTest::newRow("5 numbers hold no bet") << 5 << 5 << qint64{0} << qint64{0} << qint64{0};
    QTest::newRow("more hits than numbers") << 6 << 7 << qint64{0} << qint64{0} << qint64{0};
}

void TestPrizeTiers::examples() {
    QFETCH(int, size);
    QFETCH(int, hits);
    QFETCH(qint64, senas);
    QFETCH(qint64, quinas);
    QFETCH(qint64, quadras);
    QCOMPARE(PrizeTiersOf(size, hits), (PrizeTiers{senas, quinas, quadras}));
}

void TestPrizeTiers::masks() {
    const std::vector<int> numbers{1, 60, 60, 0, 61, -3, 30};
    const NumberMask m = MaskOf(numbers);
    QCOMPARE(CountOf(m), 3);
    QCOMPARE(m, (NumberMask{1} << 1) | (NumberMask{1} << 30) | (NumberMask{1} << 60));
    QCOMPARE(Choose(9, 2), qint64{36});
    QCOMPARE(Choose(60, 6), qint64{50063860});
    QCOMPARE(Choose(3, 4), qint64{0});
}

QUINABEL_CORE_TEST_MAIN(TestPrizeTiers)
#include "tst_PrizeTiers.moc"
