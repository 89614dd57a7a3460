#include "GamePrizes.h"
#include "GamesAndDraws.h"
#include "OutputFixture.h"
#include "TestSupport.h"

#include <random>

namespace {

std::vector<int> range(int from, int to) {
    std::vector<int> out;
    for (int n = from; n <= to; ++n)
        out.push_back(n);
    return out;
}

// Answers true `allowed` times, then false; counts the reports.
class ScriptedProgress final : public Progress {
public:
    explicit ScriptedProgress(int allowed = 1 << 30) : allowed_(allowed) {}
    bool report(qint64 done, qint64 total, qint64 games) override {
        ++reports;
        lastDone = done;
        lastTotal = total;
        lastGames = games;
        return reports <= allowed_;
    }
    int reports = 0;
    qint64 lastDone = -1, lastTotal = -1, lastGames = -1;

private:
    int allowed_;
};

} // namespace

class TestGamePrizes : public QObject {
    Q_OBJECT

private slots:
    void drawPrizesInPrizeOrder();
    void drawWithoutWinners();
    void historyOfAFixtureWithKnownAnswers();
    void historyMatchesDrawByDrawCounts();
    void historyCancelled();
    void winningsAtADrawsPrices();
    void historyInMoneyMatchesDrawByDraw();
    void readsTheTablesWithoutMovingThem();
};

void TestGamePrizes::drawPrizesInPrizeOrder() {
    const ResultDraw draw = drawOf(100, {1, 2, 3, 4, 5, 6});
    const std::vector<GameNumbers> games{
        gameOf(1, {1, 2, 3, 4, 50, 51}),             // quadra
        gameOf(2, {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}), // 5 quinas, 50 quadras
        gameOf(3, {40, 41, 42, 43, 44, 45}),         // nothing
        gameOf(4, {1, 2, 3, 4, 5, 6, 7}),            // sena, 6 quinas
        gameOf(5, {1, 2, 3, 50, 51, 52, 53, 54}),    // nothing (3 hits)
        gameOf(6, {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}), // the same as game 2
        gameOf(0, {1, 2, 3, 4, 5, 20}),              // quina
    };
    const DrawPrizes p = PrizesOfDraw(games, draw.mask);
    std::vector<qint64> order;
    for (const GamePrize& w : p.winners)
        order.push_back(games[w.game].game);
    QCOMPARE(order, (std::vector<qint64>{4, 2, 6, 0, 1}));
    QCOMPARE(p.winners[0].hits, 6);
    QCOMPARE(p.winners[0].tiers, (PrizeTiers{1, 6, 0}));
    QCOMPARE(p.winners[1].tiers, (PrizeTiers{0, 5, 50}));
    QCOMPARE(p.winners[3].tiers, (PrizeTiers{0, 1, 0}));
    QCOMPARE(p.winners[4].tiers, (PrizeTiers{0, 0, 1}));
    QCOMPARE(p.winners[4].hits, 4);
    QCOMPARE(p.totals, (PrizeTiers{1, 6 + 5 + 5 + 1, 50 + 50 + 1}));
    QCOMPARE(p.gamesWithout, qint64{2});
}

void TestGamePrizes::drawWithoutWinners() {
    const std::vector<GameNumbers> games{gameOf(1, range(1, 15)), gameOf(2, range(20, 25))};
    const DrawPrizes p = PrizesOfDraw(games, drawOf(7, {1, 2, 3, 30, 31, 32}).mask);
    QVERIFY(p.winners.empty());
    QCOMPARE(p.totals, PrizeTiers{});
    QCOMPARE(p.gamesWithout, qint64{2});
    QCOMPARE(PrizesOfDraw({}, 0).gamesWithout, qint64{0});
}

void TestGamePrizes::historyOfAFixtureWithKnownAnswers() {
    // Game 10: 1..6; game 20: 1..8; game 30: never more than two hits.
    const std::vector<GameNumbers> games{gameOf(10, range(1, 6)), gameOf(20, range(1, 8)),
                                         gameOf(30, range(50, 55))};
    const std::vector<ResultDraw> draws{
        drawOf(1, {1, 2, 3, 4, 5, 6}),    // 10: the sena alone; 20: sena, quinas and quadras
        drawOf(2, {1, 2, 3, 4, 5, 40}),   // 10: a quina alone; 20: quinas and quadras
        drawOf(3, {4, 3, 2, 1, 41, 42}),  // both: quadras
        drawOf(4, {1, 2, 3, 43, 44, 50}), // nothing
        drawOf(6, {7, 8, 1, 2, 3, 46}),   // 20: quinas and quadras
        drawOf(7, {50, 51, 1, 2, 9, 10}), // nothing
    };
    ScriptedProgress progress;
    const auto h = PrizesInHistory(games, draws, progress);
    QVERIFY(h);
    QCOMPARE(h->draws, qint64{6});
    QCOMPARE(h->gamesWithout, qint64{1});
    QCOMPARE(h->winners.size(), std::size_t{2});
    // Both have one sena draw; game 20 has more quina draws and comes first.
    QCOMPARE(h->winners[0], (GameHistory{1, 1, 3, 4, 6}));
    QCOMPARE(h->winners[1], (GameHistory{0, 1, 1, 1, 3}));
    QCOMPARE(progress.lastDone, qint64{3});
    QCOMPARE(progress.lastTotal, qint64{3});
    QCOMPARE(progress.lastGames, qint64{2});
}

void TestGamePrizes::historyMatchesDrawByDrawCounts() {
    // Random games of 6 to 15 numbers against a random history: every game's counts equal those of
    // checking it against one draw at a time.
    std::mt19937 rng(4242);
    std::vector<int> deck = range(1, 60);
    std::vector<GameNumbers> games;
    for (int g = 0; g < 300; ++g) {
        std::shuffle(deck.begin(), deck.end(), rng);
        const int size = 6 + g % 10;
        games.push_back(gameOf(1000 - g, std::vector<int>(deck.begin(), deck.begin() + size)));
    }
    // The draws come from twenty numbers only, and three more games are made of them, so that
    // senas and quinas happen often enough to count. The last block of four games is short.
    for (const int size : {15, 10, 8})
        games.push_back(gameOf(size, std::vector<int>(deck.begin(), deck.begin() + size)));
    std::vector<ResultDraw> draws;
    for (int d = 1; d <= 400; ++d) {
        std::array<int, 6> n{};
        std::shuffle(deck.begin(), deck.begin() + 20, rng);
        std::copy(deck.begin(), deck.begin() + 6, n.begin());
        draws.push_back(drawOf(d * 2, n));
    }
    ScriptedProgress progress;
    const auto h = PrizesInHistory(games, draws, progress);
    QVERIFY(h);
    QVERIFY(progress.reports >= 2);
    std::vector<GameHistory> expected;
    qint64 without = 0;
    for (std::size_t g = 0; g < games.size(); ++g) {
        GameHistory e;
        e.game = g;
        for (const ResultDraw& d : draws) {
            const DrawPrizes p = PrizesOfDraw(std::span<const GameNumbers>(&games[g], 1), d.mask);
            e.senaDraws += p.totals.senas > 0 ? 1 : 0;
            e.quinaDraws += p.totals.quinas > 0 ? 1 : 0;
            e.quadraDraws += p.totals.quadras > 0 ? 1 : 0;
            if (p.totals.any())
                e.lastDraw = d.concurso;
        }
        if (e.lastDraw == 0)
            ++without;
        else
            expected.push_back(e);
    }
    QCOMPARE(h->gamesWithout, without);
    QCOMPARE(h->winners.size(), expected.size());
    QVERIFY(expected.size() > 100);
    int senas = 0;
    for (const GameHistory& w : h->winners) {
        const auto e = std::find_if(expected.begin(), expected.end(),
                                    [&](const GameHistory& x) { return x.game == w.game; });
        QVERIFY(e != expected.end());
        QCOMPARE(w, *e);
        senas += w.senaDraws;
    }
    QVERIFY(senas > 0);
    for (std::size_t i = 1; i < h->winners.size(); ++i) {
        const GameHistory& a = h->winners[i - 1];
        const GameHistory& b = h->winners[i];
        const auto ka = std::tuple(a.senaDraws, a.quinaDraws, a.quadraDraws);
        const auto kb = std::tuple(b.senaDraws, b.quinaDraws, b.quadraDraws);
        QVERIFY(ka > kb || (ka == kb && games[a.game].game < games[b.game].game));
    }
}

// A 7-number game with 5 hits holds 2 quinas and 5 quadras; a tier nobody won pays nothing and is
// told apart.
void TestGamePrizes::winningsAtADrawsPrices() {
    const PrizeTiers t = PrizeTiersOf(7, 5);
    QCOMPARE(t, (PrizeTiers{0, 2, 5}));
    const auto prices = PricesOf({50, QString(), DrawTiers{{{0, 0}, {100, 3000000}, {5000, 90000}}}});
    QVERIFY(prices);
    QCOMPARE(prices->paid, (std::array<bool, 3>{false, true, true}));
    QCOMPARE(WinningsOf(t, *prices), (Winnings{2 * 3000000 + 5 * 90000, {}}));
    QCOMPARE(WinningsOf(PrizeTiersOf(7, 6), *prices), (Winnings{6 * 3000000, {1, 0, 0}}));
    QVERIFY(!PricesOf({50, QStringLiteral("2024-12-17"), std::nullopt}));

    const std::vector<ResultDraw> draws{drawOf(7, {1, 2, 3, 4, 5, 6}), drawOf(9, {1, 2, 3, 4, 5, 7})};
    const std::vector<DrawPayout> payouts{{9, QString(), DrawTiers{{{1, 100}, {2, 10}, {3, 1}}}},
                                          {8, QString(), DrawTiers{{{1, 5}, {2, 5}, {3, 5}}}}};
    const auto byDraw = PricesOfDraws(draws, payouts);
    QCOMPARE(byDraw.size(), std::size_t{2});
    QVERIFY(!byDraw[0]);
    QCOMPARE(byDraw[1], (std::optional<TierPrices>(TierPrices{{100, 10, 1}, {true, true, true}})));
}

// Random games against a random history whose prizes are known in two draws of three: what each
// game won and spent, the totals and the balance after each priced draw equal a draw-by-draw sum.
void TestGamePrizes::historyInMoneyMatchesDrawByDraw() {
    std::mt19937 rng(777);
    std::vector<int> deck = range(1, 60);
    std::vector<GameNumbers> games;
    for (int g = 0; g < 201; ++g) {
        std::shuffle(deck.begin(), deck.begin() + 20, rng);
        const int size = 6 + g % 10;
        games.push_back(gameOf(g + 1, std::vector<int>(deck.begin(), deck.begin() + size)));
    }
    std::vector<ResultDraw> draws;
    std::vector<std::optional<TierPrices>> prices;
    for (int d = 1; d <= 300; ++d) {
        std::array<int, 6> n{};
        std::shuffle(deck.begin(), deck.begin() + 20, rng);
        std::copy(deck.begin(), deck.begin() + 6, n.begin());
        draws.push_back(drawOf(d, n));
        if (d % 3 == 0)
            prices.emplace_back();
        else
            prices.push_back(TierPrices{{Centavos{100000000} + d, Centavos{3000000} + d, Centavos{90000} + d},
                                        {d % 5 != 0, true, true}});
    }
    constexpr Centavos kBet = 450;
    NoProgress none;
    const auto h = PrizesInHistory(games, draws, none, {prices, kBet});
    QVERIFY(h);
    QCOMPARE(h->pricedDraws, qint64{200});

    std::vector<Centavos> won(games.size(), 0);
    PrizeTiers unpaid;
    std::vector<BalancePoint> balance;
    Centavos perDraw = 0, running = 0;
    for (const GameNumbers& g : games)
        perDraw += kBet * Choose(g.size, 6);
    for (std::size_t d = 0; d < draws.size(); ++d) {
        if (!prices[d])
            continue;
        Centavos inDraw = 0;
        for (std::size_t g = 0; g < games.size(); ++g) {
            const Winnings w = WinningsOf(PrizeTiersOf(games[g].mask, draws[d].mask), *prices[d]);
            won[g] += w.amount;
            inDraw += w.amount;
            unpaid += w.unpaid;
        }
        running += inDraw - perDraw;
        balance.push_back({draws[d].concurso, running});
    }
    Centavos totalWon = 0, totalSpent = 0;
    for (std::size_t g = 0; g < games.size(); ++g) {
        totalWon += won[g];
        totalSpent += 200 * kBet * Choose(games[g].size, 6);
    }
    int checked = 0;
    for (const GameHistory& w : h->winners) {
        QCOMPARE(w.won, won[w.game]);
        QCOMPARE(w.spent, 200 * kBet * Choose(games[w.game].size, 6));
        QCOMPARE(w.balance(), w.won - w.spent);
        ++checked;
    }
    QVERIFY(checked > 100);
    QCOMPARE(h->won, totalWon);
    QCOMPARE(h->spent, totalSpent);
    QCOMPARE(h->unpaid, unpaid);
    QVERIFY(unpaid.senas > 0 && h->won > 0);
    QCOMPARE(h->balance, balance);
    QCOMPARE(h->balance.back().balance, h->balanceTotal());

    // Without prices nothing is won or spent, and the counts are those of a history without money.
    const auto plain = PrizesInHistory(games, draws, none);
    QCOMPARE(plain->pricedDraws, qint64{0});
    QCOMPARE(plain->won + plain->spent, Centavos{0});
    QVERIFY(plain->balance.empty());
    QCOMPARE(plain->winners.size(), h->winners.size());
    for (std::size_t i = 0; i < plain->winners.size(); ++i)
        QCOMPARE(std::tuple(plain->winners[i].senaDraws, plain->winners[i].lastDraw),
                 std::tuple(h->winners[i].senaDraws, h->winners[i].lastDraw));
}

void TestGamePrizes::historyCancelled() {
    std::vector<GameNumbers> games(5000, gameOf(1, range(1, 6)));
    const std::vector<ResultDraw> draws(3000, drawOf(1, {1, 2, 3, 4, 5, 6}));
    ScriptedProgress progress(1);
    QVERIFY(!PrizesInHistory(games, draws, progress));
    QCOMPARE(progress.reports, 2);
    QVERIFY(progress.lastDone > 0 && progress.lastDone < 5000);
}

void TestGamePrizes::readsTheTablesWithoutMovingThem() {
    WorkFolder folder;
    Tables t(folder.path());
    createGames(t);
    addGame(t.TableCar, 7, {5, 10, 15, 20, 25, 30, 35});
    addGame(t.TableCar, 3, {1, 2, 3, 4, 5, 6, 0, 9}); // a 0 ends the game
    addGame(t.TableCar, 5, {60, 59, 58, 57, 56, 55});
    t.TableCar.first();
    t.TableCar.next();
    createResults(t);
    addDraw(t, 12, {1, 2, 3, 4, 5, 6});
    addDraw(t, 9, {10, 20, 30, 40, 50, 60});
    t.TableRes.first();

    const std::vector<GameNumbers> games = ReadGames(t.TableCar);
    QCOMPARE(games.size(), std::size_t{3});
    QCOMPARE(games[0].game, qint64{3});
    QCOMPARE(games[0].size, quint8{6});
    QCOMPARE(games[0].mask, MaskOf(range(1, 6)));
    QCOMPARE(games[1].game, qint64{5});
    QCOMPARE(games[2].game, qint64{7});
    QCOMPARE(games[2].size, quint8{7});
    QCOMPARE(games[2].numbers[6], quint8{35});
    QCOMPARE(t.TableCar.position(), 1);

    const std::vector<ResultDraw> draws = ReadDraws(t.TableRes);
    QCOMPARE(draws.size(), std::size_t{2});
    QCOMPARE(draws[0].concurso, 9);
    QCOMPARE(draws[1], drawOf(12, {1, 2, 3, 4, 5, 6}));
    QCOMPARE(LastDraw(t.TableRes), std::optional<ResultDraw>(drawOf(12, {1, 2, 3, 4, 5, 6})));
    QCOMPARE(t.TableRes.position(), 0);

    t.TableRes.emptyTable();
    QVERIFY(!LastDraw(t.TableRes));
    t.TableCar.close();
    QVERIFY(ReadGames(t.TableCar).empty());
}

QUINABEL_CORE_TEST_MAIN(TestGamePrizes)
#include "tst_GamePrizes.moc"
