#include "Distribution.h"
#include "GamePrice.h"
#include "GeneratorFixture.h"
#include "Tables.h"
#include "TestSupport.h"
#include "WheelGeneration.h"
#include "WheelGuarantee.h"
#include "WheelOrbitSearch.h"
#include "WheelSearch.h"
#include "WheelTable.h"

#include <QLocale>
#include <QTest>
#include <bit>
#include <cmath>
#include <random>
#include <set>

// The wheels: the exhaustive check of a guarantee against a brute force, the search's wheels
// against the check, the bounds, and a run that appends a wheel to the games table.
namespace {

WheelMask firstNumbers(int v) {
    return (WheelMask{1} << v) - 1;
}

// Every m-set of the numbers in `chosen` that no game meets in t numbers, by walking all subsets.
std::set<WheelMask> unmetByBruteForce(WheelMask chosen, const std::vector<WheelMask>& games, int t, int m) {
    std::set<WheelMask> unmet;
    const std::vector<int> numbers = WheelNumbersOf(chosen);
    const auto v = static_cast<unsigned>(numbers.size());
    for (std::uint32_t pick = 0; pick < (1u << v); ++pick) {
        if (std::popcount(pick) != m)
            continue;
        WheelMask set = 0;
        for (unsigned i = 0; i < v; ++i)
            if (pick & (1u << i))
                set |= WheelMask{1} << (numbers[i] - 1);
        bool met = false;
        for (const WheelMask g : games)
            met = met || std::popcount(set & g) >= t;
        if (!met)
            unmet.insert(set);
    }
    return unmet;
}

std::vector<WheelMask> randomGames(WheelMask chosen, int k, int count, unsigned seed) {
    std::mt19937 rng(seed);
    const std::vector<int> numbers = WheelNumbersOf(chosen);
    std::vector<WheelMask> games;
    for (int g = 0; g < count; ++g) {
        std::vector<int> pool = numbers;
        std::shuffle(pool.begin(), pool.end(), rng);
        pool.resize(static_cast<std::size_t>(k));
        games.push_back(WheelMaskOf(pool));
    }
    return games;
}

} // namespace

class WheelsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

    void checkAgreesWithBruteForce_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("games");
        QTest::newRow("8 numbers, terno") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << 6 << 3 << 3 << 4;
        QTest::newRow("9 scattered, quadra")
            << QList<int>{3, 11, 17, 24, 30, 41, 52, 59, 60} << 6 << 4 << 4 << 6;
        QTest::newRow("10, quadra if 5") << QList<int>{5, 6, 7, 8, 9, 10, 20, 30, 40, 50} << 6 << 4 << 5 << 5;
        QTest::newRow("12, terno if 6")
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << 6 << 3 << 6 << 3;
        QTest::newRow("11, games of 8")
            << QList<int>{2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22} << 8 << 5 << 5 << 9;
        QTest::newRow("7, sena") << QList<int>{1, 2, 3, 4, 5, 6, 7} << 6 << 6 << 6 << 5;
    }
    void checkAgreesWithBruteForce() {
        QFETCH(QList<int>, chosen);
        QFETCH(int, k);
        QFETCH(int, t);
        QFETCH(int, m);
        QFETCH(int, games);
        const std::vector<int> numbers(chosen.begin(), chosen.end());
        const WheelMask mask = WheelMaskOf(numbers);
        // Several random wheels of the size, some holding and some not.
        int held = 0;
        for (unsigned seed = 1; seed <= 40; ++seed) {
            const std::vector<WheelMask> wheel =
                randomGames(mask, k, games + static_cast<int>(seed % 7), seed);
            const std::set<WheelMask> unmet = unmetByBruteForce(mask, wheel, t, m);
            const WheelCheck c = CheckWheel(mask, wheel, t, m);
            QCOMPARE(c.holds, unmet.empty());
            if (c.holds) {
                ++held;
                QVERIFY(!c.failing);
                QCOMPARE(c.setsChecked, Binomial(static_cast<int>(numbers.size()), m));
            } else {
                QVERIFY(c.failing);
                QVERIFY(unmet.contains(*c.failing));
                QCOMPARE(std::popcount(*c.failing), m);
            }
        }
        Q_UNUSED(held);
    }

    // Every 6-set of 8 numbers is a game: removing any one leaves exactly that set unmet for a
    // sena, and the check names it.
    void checkCatchesEveryMissingGame() {
        const WheelMask chosen = WheelMaskOf(std::vector<int>{4, 9, 15, 16, 23, 42, 50, 60});
        std::vector<WheelMask> all;
        for (WheelMask out1 = chosen; out1; out1 &= out1 - 1)
            for (WheelMask out2 = out1 & (out1 - 1); out2; out2 &= out2 - 1)
                all.push_back(chosen & ~(out1 & ~(out1 - 1)) & ~(out2 & ~(out2 - 1)));
        QCOMPARE(all.size(), std::size_t{28});
        QVERIFY(CheckWheel(chosen, all, 6, 6).holds);
        for (std::size_t i = 0; i < all.size(); ++i) {
            std::vector<WheelMask> less = all;
            less.erase(less.begin() + static_cast<std::ptrdiff_t>(i));
            const WheelCheck c = CheckWheel(chosen, less, 6, 6);
            QVERIFY(!c.holds);
            QCOMPARE(*c.failing, all[i]);
        }
    }

    // A wheel the search found loses its guarantee with any game taken away that alone meets
    // some m-set, and the set the check names is met by that game only.
    void checkCatchesAGameRemovedFromAFoundWheel() {
        const WheelShape shape{12, 6, 4, 4};
        NoProgress quiet;
        WheelSearchOptions o;
        o.timeLimitMs = 500;
        const WheelSearchResult r = SearchWheel(shape, o, quiet);
        QVERIFY(CheckWheel(firstNumbers(12), r.games, 4, 4).holds);
        int caught = 0;
        for (std::size_t i = 0; i < r.games.size(); ++i) {
            std::vector<WheelMask> less = r.games;
            less.erase(less.begin() + static_cast<std::ptrdiff_t>(i));
            const WheelCheck c = CheckWheel(firstNumbers(12), less, 4, 4);
            if (c.holds)
                continue;
            ++caught;
            QVERIFY(std::popcount(*c.failing & r.games[i]) >= 4);
            for (const WheelMask g : less)
                QVERIFY(std::popcount(*c.failing & g) < 4);
        }
        QVERIFY(caught > 0);
        QCOMPARE(static_cast<std::size_t>(caught),
                 r.games.size()); // the search leaves no game that could go
    }

    void checkEdges() {
        const WheelMask chosen = firstNumbers(5);
        QVERIFY(CheckWheel(chosen, std::vector<WheelMask>{}, 3, 6).holds); // no 6-set of 5 numbers
        const WheelCheck none = CheckWheel(chosen, std::vector<WheelMask>{}, 3, 3);
        QVERIFY(!none.holds);
        QCOMPARE(*none.failing, WheelMaskOf(std::vector<int>{1, 2, 3}));
        // Numbers outside the chosen ones do not count.
        const WheelMask game = WheelMaskOf(std::vector<int>{1, 2, 40, 41, 42, 43});
        QVERIFY(!CheckWheel(chosen, std::vector<WheelMask>{game}, 3, 3).holds);
    }

    void searchedWheelsHoldTheirGuarantee_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("m");
        QTest::newRow("C(8,6,3)") << 8 << 6 << 3 << 3;
        QTest::newRow("C(10,6,4)") << 10 << 6 << 4 << 4;
        QTest::newRow("C(12,6,3)") << 12 << 6 << 3 << 3;
        QTest::newRow("12: terno if 4") << 12 << 6 << 3 << 4;
        QTest::newRow("13: quadra if 5") << 13 << 6 << 4 << 5;
        QTest::newRow("15: quadra if 6") << 15 << 6 << 4 << 6;
        QTest::newRow("C(9,6,6): every game") << 9 << 6 << 6 << 6;
        QTest::newRow("C(14,7,4)") << 14 << 7 << 4 << 4;
        QTest::newRow("16: games of 10, quina") << 16 << 10 << 5 << 5;
        QTest::newRow("20: games of 15, terno if 5") << 20 << 15 << 3 << 5;
        QTest::newRow("6 numbers, one game") << 6 << 6 << 3 << 3;
        QTest::newRow("30: terno if 6") << 30 << 6 << 3 << 6;
    }
    void searchedWheelsHoldTheirGuarantee() {
        QFETCH(int, v);
        QFETCH(int, k);
        QFETCH(int, t);
        QFETCH(int, m);
        const WheelShape shape{v, k, t, m};
        WheelSearchOptions o;
        o.timeLimitMs = 700;
        NoProgress quiet;
        const WheelSearchResult r = SearchWheel(shape, o, quiet);
        QVERIFY(!r.games.empty());
        QVERIFY(CheckWheel(firstNumbers(v), r.games, t, m).holds);
        QCOMPARE(std::set<WheelMask>(r.games.begin(), r.games.end()).size(), r.games.size());
        for (const WheelMask g : r.games) {
            QCOMPARE(std::popcount(g), k);
            QCOMPARE(g & ~firstNumbers(v), WheelMask{0});
        }
        QVERIFY(static_cast<qint64>(r.games.size()) >= WheelLowerBound(shape));
        QVERIFY(static_cast<int>(r.games.size()) <= r.greedyGames);
    }

    void searchReachesKnownOptima_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("games");
        QTest::newRow("C(12,6,3) = 15") << 12 << 3 << 15;
        QTest::newRow("C(12,6,5) = 132, the Steiner system") << 12 << 5 << 132;
    }
    void searchReachesKnownOptima() {
        QFETCH(int, v);
        QFETCH(int, t);
        QFETCH(int, games);
        WheelSearchOptions o;
        o.timeLimitMs = 20000;
        o.failuresToStop = 1000; // only the size or the clock ends it
        NoProgress quiet;
        const WheelSearchResult r = SearchWheel({v, 6, t, t}, o, quiet);
        QVERIFY(static_cast<int>(r.games.size()) <= games + 1);
        QVERIFY(CheckWheel(firstNumbers(v), r.games, t, t).holds);
    }

    void groupsFromTheirDescription_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("order");
        QTest::newRow("a 19-cycle and a fixed point") << 20 << QStringLiteral("19") << 19;
        QTest::newRow("six 3-cycles") << 20 << QStringLiteral("3x6") << 3;
        QTest::newRow("two cycle lengths") << 20 << QStringLiteral("5x2+4x2") << 20;
        QTest::newRow("the affine group of order 57") << 20 << QStringLiteral("19,19*7") << 57;
        QTest::newRow("the additive group of a field") << 25 << QStringLiteral("25^") << 25;
        QTest::newRow("the affine group of a field") << 25 << QStringLiteral("25^,25^1") << 600;
        QTest::newRow("a field of 16 and four fixed points") << 20 << QStringLiteral("16^,16^5") << 48;
        QTest::newRow("a prime field") << 20 << QStringLiteral("19^,19^6") << 57;
        QTest::newRow("with the field's automorphism") << 25 << QStringLiteral("25^,25^6,25^f") << 200;
        QTest::newRow("a field and a cycle together") << 20 << QStringLiteral("16^,16^5+3") << 48;
        QTest::newRow("a field and a longer cycle") << 20 << QStringLiteral("16^,16^5+2") << 96;
        QTest::newRow("not a prime power") << 25 << QStringLiteral("24^") << 0;
        QTest::newRow("too many positions") << 20 << QStringLiteral("7x3") << 0;
        QTest::newRow("not a permutation") << 20 << QStringLiteral("19*19") << 0;
        QTest::newRow("garbage") << 20 << QStringLiteral("abc") << 0;
    }
    void groupsFromTheirDescription() {
        QFETCH(int, v);
        QFETCH(QString, text);
        QFETCH(int, order);
        const WheelGroupParse parsed = ParseWheelGroup(v, text);
        if (order == 0) {
            QVERIFY(!parsed.error.isEmpty());
            QVERIFY(parsed.group.generators.empty());
            return;
        }
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
        QCOMPARE(static_cast<int>(GroupElements(parsed.group).size()), order);
    }

    // Wheels made of orbits: the Steiner system S(5, 6, 12) is invariant under an 11-cycle, and
    // groups with short orbits (a 6-set fixed by part of the group) still give a proven cover
    // whose games are whole orbits.
    void orbitSearchFindsInvariantCovers_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("t");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("atMost");
        QTest::addColumn<bool>("numberMovesFirst");
        QTest::newRow("S(5,6,12) under Z_11") << 12 << 5 << QStringLiteral("11") << 132 << false;
        QTest::newRow("C(12,6,3) under six 2-cycles") << 12 << 3 << QStringLiteral("2x6") << 16 << false;
        QTest::newRow("C(12,6,3), moves of one number first") << 12 << 3 << QStringLiteral("2x6") << 16 << true;
        QTest::newRow("C(15,6,4) under three 5-cycles") << 15 << 4 << QStringLiteral("5x3") << 140 << false;
        QTest::newRow("C(13,6,4) under a 6-cycle and two 3-cycles")
            << 13 << 4 << QStringLiteral("6+3x2") << 100 << false;
        QTest::newRow("C(16,6,3) under the affine maps of GF(16)")
            << 16 << 3 << QStringLiteral("16^,16^f") << 60 << false;
        QTest::newRow("C(20,6,3) under GF(16) and a 4-cycle")
            << 20 << 3 << QStringLiteral("16^,16^f+4") << 110 << false;
    }
    void orbitSearchFindsInvariantCovers() {
        QFETCH(int, v);
        QFETCH(int, t);
        QFETCH(QString, group);
        QFETCH(int, atMost);
        QFETCH(bool, numberMovesFirst);
        const WheelGroupParse parsed = ParseWheelGroup(v, group);
        QVERIFY(parsed.error.isEmpty());
        WheelOrbitOptions o;
        o.timeLimitMs = 3000;
        o.stopAt = atMost;
        o.numberMovesFirst = numberMovesFirst;
        NoProgress quiet;
        const WheelOrbitResult r = SearchOrbitWheel({v, 6, t, t}, parsed.group, o, quiet);
        QVERIFY(!r.games.empty());
        QVERIFY(static_cast<int>(r.games.size()) <= atMost);
        QVERIFY(CheckWheel(firstNumbers(v), r.games, t, t).holds);
        const std::set<WheelMask> games(r.games.begin(), r.games.end());
        QCOMPARE(games.size(), r.games.size());
        for (const auto& g : GroupElements(parsed.group))
            for (const WheelMask game : r.games) {
                WheelMask image = 0;
                for (const int n : WheelNumbersOf(game))
                    image |= WheelMask{1} << g[static_cast<std::size_t>(n - 1)];
                QVERIFY(games.contains(image));
            }
    }

    // A lotto design asks less than the covering of the same numbers, so it needs fewer games.
    void lottoDesignsNeedFewerGames() {
        WheelSearchOptions o;
        o.timeLimitMs = 1500;
        NoProgress quiet;
        const auto covering = SearchWheel({15, 6, 4, 4}, o, quiet);
        const auto lotto = SearchWheel({15, 6, 4, 5}, o, quiet);
        QVERIFY(lotto.games.size() < covering.games.size());
        QVERIFY(lotto.games.size() < 117);
        QVERIFY(CheckWheel(firstNumbers(15), lotto.games, 4, 5).holds);
    }

    // The same seed and shape give the same wheel when the search ends by itself.
    void sameSeedSameWheel() {
        WheelSearchOptions o;
        o.seed = 77;
        o.timeLimitMs = 60000;
        o.failuresToStop = 2;
        NoProgress quiet;
        const auto a = SearchWheel({10, 6, 4, 4}, o, quiet);
        const auto b = SearchWheel({10, 6, 4, 4}, o, quiet);
        QCOMPARE(a.games, b.games);
    }

    // A cancel keeps the best wheel proven so far.
    void cancelOffersTheBestProvenWheel() {
        ScriptedProgress progress(400); // past the first cover, into the annealing
        WheelSearchOptions o;
        o.timeLimitMs = 60000;
        o.failuresToStop = 1000;
        const WheelSearchResult r = SearchWheel({18, 6, 3, 3}, o, progress);
        QVERIFY(r.cancelled);
        QVERIFY(!r.games.empty());
        QVERIFY(CheckWheel(firstNumbers(18), r.games, 3, 3).holds);
    }

    // Every wheel found beforehand is read back whole and keeps its guarantee, and the search
    // never offers more games than it.
    void storedWheelsHoldTheirGuarantee() {
        for (const WheelShape& shape : StoredWheelShapes()) {
            const std::vector<WheelMask> games = StoredWheel(shape);
            QVERIFY(!games.empty());
            QVERIFY(CheckWheel(firstNumbers(shape.v), games, shape.t, shape.m).holds);
            for (const WheelMask g : games)
                QCOMPARE(std::popcount(g), shape.k);
            WheelSearchOptions o;
            o.timeLimitMs = 0;
            NoProgress quiet;
            QVERIFY(SearchWheel(shape, o, quiet).games.size() <= games.size());
        }
        QVERIFY(!StoredWheelShapes().empty());
        QVERIFY(StoredWheel({11, 6, 3, 3}).empty()); // a shape the table does not hold
    }

    // The table's wheels for the larger coverings are within 5 % of the smallest sizes known (the
    // La Jolla Covering Repository's), which the search alone does not reach in seconds.
    void storedWheelsAreNearTheBestKnown_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("bestKnown");
        QTest::newRow("C(15,6,4)") << 15 << 4 << 117;
        QTest::newRow("C(20,6,3)") << 20 << 3 << 71;
        QTest::newRow("C(20,6,4)") << 20 << 4 << 382;
        QTest::newRow("C(25,6,4)") << 25 << 4 << 992;
    }
    void storedWheelsAreNearTheBestKnown() {
        QFETCH(int, v);
        QFETCH(int, t);
        QFETCH(int, bestKnown);
        const std::vector<WheelMask> games = StoredWheel({v, 6, t, t});
        QVERIFY(!games.empty());
        QVERIFY2(static_cast<double>(games.size()) <= 1.05 * bestKnown,
                 qPrintable(QStringLiteral("%1 jogos").arg(games.size())));
    }

    void schonheimBound_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("t");
        QTest::addColumn<qint64>("bound");
        QTest::newRow("Fano plane") << 7 << 3 << 2 << qint64{7};
        QTest::newRow("C(10,6,4)") << 10 << 6 << 4 << qint64{19};
        QTest::newRow("C(12,6,5)") << 12 << 6 << 5 << qint64{132};
        QTest::newRow("C(15,6,4)") << 15 << 6 << 4 << qint64{93};
        QTest::newRow("C(18,6,3)") << 18 << 6 << 3 << qint64{42};
        QTest::newRow("C(20,6,3)") << 20 << 6 << 3 << qint64{64};
        QTest::newRow("C(25,6,4)") << 25 << 6 << 4 << qint64{921};
        QTest::newRow("t = 1") << 20 << 6 << 1 << qint64{4};
        QTest::newRow("every 6-set") << 9 << 6 << 6 << qint64{84};
    }
    void schonheimBound() {
        QFETCH(int, v);
        QFETCH(int, k);
        QFETCH(int, t);
        QFETCH(qint64, bound);
        QCOMPARE(SchonheimBound(v, k, t), bound);
    }

    void conditionChance() {
        QCOMPARE(ConditionChance(60, 6), 1.0);
        QCOMPARE(ConditionChance(6, 6), 1.0 / 50063860.0);
        // m or more of six drawn among 15: the hypergeometric tail.
        double tail = 0;
        for (int j = 4; j <= 6; ++j)
            tail += static_cast<double>(Binomial(15, j) * Binomial(45, 6 - j)) / 50063860.0;
        QCOMPARE(ConditionChance(15, 4), tail);
        QVERIFY(ConditionChance(15, 5) < ConditionChance(15, 4));
    }

    void refusals_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("m");
        QTest::addColumn<QString>("text");
        QTest::newRow("game too small")
            << 20 << 5 << 3 << 3 << QStringLiteral("O número de dezenas por jogo deve variar de 6 a 15.");
        QTest::newRow("game too big")
            << 20 << 16 << 3 << 3 << QStringLiteral("O número de dezenas por jogo deve variar de 6 a 15.");
        QTest::newRow("fewer chosen than a game")
            << 7 << 8 << 3 << 3
            << QStringLiteral(
                   "Há só 7 dezenas escolhidas: um jogo de 8 dezenas precisa de pelo menos 8 dezenas "
                   "escolhidas.");
        QTest::newRow("too many games")
            << 60 << 6 << 6 << 6
            << QStringLiteral("Esse fechamento teria pelo menos 50.063.860 jogos; o "
                              "programa faz fechamentos de até 10.000 jogos.");
    }
    void refusals() {
        QFETCH(int, v);
        QFETCH(int, k);
        QFETCH(int, t);
        QFETCH(int, m);
        QFETCH(QString, text);
        const auto no = RefuseWheel({v, k, t, m});
        QVERIFY(no);
        QCOMPARE(no->text, text);
        QVERIFY(!RefuseWheel({15, 6, 4, 4}));
    }

    // A run appends the wheel after the highest game number, with the fields the other
    // generators fill, and skips the games already in the table, saying how many there were.
    void runAppendsTheWheelOnce() {
        WorkFolder work;
        Tables t{work.path()};
        PrepareGamesTable(t);
        Table& car = t.TableCar;
        appendGame(car, 41, {1, 2, 3, 4, 5, 6}, true);
        WheelRequest request;
        request.board.valid = numbersFrom(1, 9);
        request.dezFecha = QStringLiteral(" 6 ");
        request.t = 4;
        request.m = 4;
        request.search.timeLimitMs = 60000; // ended by its failures, so both runs agree
        request.search.failuresToStop = 2;
        NoProgress quiet;
        ScriptedPrompter no({false});
        const WheelRunResult refused = RunWheel(car, request, no, quiet);
        QCOMPARE(car.rowCount(), 1);
        QVERIFY(refused.asked);
        QCOMPARE(refused.appended, 0);

        // A game of the wheel is put in the table beforehand, as game 50.
        const std::vector<int> first6{1, 2, 3, 4, 5, 6};
        const std::vector<int> early =
            refused.offer.games.front() != first6 ? refused.offer.games.front() : refused.offer.games.back();
        appendGame(car, 50, early, true);
        ScriptedPrompter yes({true});
        const WheelRunResult r = RunWheel(car, request, yes, quiet);
        QCOMPARE(r.offer.games, refused.offer.games); // the same seed gives the same wheel
        const int n = static_cast<int>(r.offer.games.size());
        const bool holdsFirst6 =
            std::find(r.offer.games.begin(), r.offer.games.end(), first6) != r.offer.games.end();
        const int before = 1 + (holdsFirst6 ? 1 : 0);
        QCOMPARE(r.offer.alreadyThere, before);
        QCOMPARE(r.appended, n - before);
        QCOMPARE(yes.asked.size(), 1);
        QCOMPARE(yes.asked.front().text, WheelQuestion({9, 6, 4, 4}, n, before).text);
        QCOMPARE(car.rowCount(), 2 + r.appended);
        const GameFields f(car);
        std::vector<WheelMask> stored;
        for (int i = 0; i < car.rowCount(); ++i) {
            const RowRef row = car.rowAt(i);
            const std::vector<int> g = gameAt(car, f, i);
            stored.push_back(WheelMaskOf(g));
            if (i < 2)
                continue;
            QCOMPARE(row.intValue(f.cartao), std::optional<int>(50 + i - 1));
            QCOMPARE(row.value(f.emite).toString(), QStringLiteral("S"));
            QCOMPARE(row.value(f.todos).toString(), TodosText(g));
            const GameMeasures m = MeasureGame(g);
            QCOMPARE(row.intValue(f.pares), std::optional<int>(m.pares));
            QCOMPARE(row.intValue(f.linhas), std::optional<int>(m.linhas));
            QCOMPARE(row.intValue(f.abaixo), std::optional<int>(m.abaixo));
            QCOMPARE(row.intValue(f.dezenas), std::optional<int>(6));
        }
        QVERIFY(CheckWheel(WheelMaskOf(numbersFrom(1, 9)), stored, 4, 4).holds);
        QCOMPARE(std::set<WheelMask>(stored.begin(), stored.end()).size(), stored.size());
    }

    void questionText() {
        QCOMPARE(WheelQuestion({15, 6, 4, 4}, 117, 0).text,
                 QStringLiteral(
                     "Fechamento de 15 dezenas em 117 jogos de 6 dezenas (R$ %1): garante pelo menos uma "
                     "quadra se saírem 4 das 15 dezenas escolhidas. Grava os jogos?")
                     .arg(FormatMoney(std::llround(GamePrice(6) * 100.0) * 117)));
        QVERIFY(
            WheelQuestion({15, 6, 6, 6}, 5005, 1)
                .text.contains(QStringLiteral(
                    "garante a sena se saírem 6 das 15 dezenas escolhidas. 1 desses jogos já está na lista e "
                    "não será gravado de novo. Grava os jogos?")));
        QVERIFY(WheelQuestion({15, 6, 4, 4}, 117, 0).yesByDefault);
    }
};

QTEST_GUILESS_MAIN(WheelsTest)
#include "tst_wheels.moc"
