// The history section of the check report: every game against every draw of the results.
// 10,000 games of 6 to 15 numbers against 3,000 draws (limit 1 s) and 1,000,000 six-number games
// against 3,000 draws (measured). References in the same run: the same counts by looking each game
// number up among the draw's numbers (no sets of bits), and one bare population count per pair,
// one game at a time (the floor of a loop that reads every draw once for each game). Also: reading
// a million games from the games table, and filling and laying out the report for the 10,000 games.
// The history in reais (every draw's prizes known) is timed beside the history in counts.
#include "BenchSupport.h"
#include "CheckReport.h"
#include "GamePrizes.h"
#include "GamesTable.h"
#include "ReportDocument.h"
#include "Schemas.h"
#include "Tables.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kDraws = 3000;

std::vector<int> pick(std::mt19937& rng, int size) {
    std::vector<int> deck(60);
    for (int i = 0; i < 60; ++i)
        deck[static_cast<std::size_t>(i)] = i + 1;
    std::shuffle(deck.begin(), deck.end(), rng);
    deck.resize(static_cast<std::size_t>(size));
    std::sort(deck.begin(), deck.end());
    return deck;
}

std::vector<GameNumbers> makeGames(std::mt19937& rng, int count, bool sixOnly) {
    std::vector<GameNumbers> games(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int size = sixOnly ? 6 : 6 + i % 10;
        const std::vector<int> n = pick(rng, size);
        GameNumbers& g = games[static_cast<std::size_t>(i)];
        g.game = i + 1;
        g.size = static_cast<quint8>(size);
        for (std::size_t p = 0; p < n.size(); ++p)
            g.numbers[p] = static_cast<quint8>(n[p]);
        g.mask = MaskOf(n);
    }
    return games;
}

std::vector<ResultDraw> makeDraws(std::mt19937& rng) {
    std::vector<ResultDraw> draws(kDraws);
    for (int i = 0; i < kDraws; ++i) {
        const std::vector<int> n = pick(rng, 6);
        ResultDraw& d = draws[static_cast<std::size_t>(i)];
        d.concurso = i + 1;
        std::copy(n.begin(), n.end(), d.numbers.begin());
        d.mask = MaskOf(n);
    }
    return draws;
}

// The reference: hits by looking every number of the game up among the six drawn.
qint64 lookUpReference(const std::vector<GameNumbers>& games, const std::vector<ResultDraw>& draws,
                       std::size_t count) {
    qint64 tiers = 0;
    for (std::size_t g = 0; g < count; ++g) {
        const GameNumbers& game = games[g];
        for (const ResultDraw& d : draws) {
            int hits = 0;
            for (std::size_t p = 0; p < game.size; ++p)
                hits +=
                    std::find(d.numbers.begin(), d.numbers.end(), game.numbers[p]) != d.numbers.end() ? 1 : 0;
            const PrizeTiers t = PrizeTiersOf(game.size, hits);
            tiers += (t.senas > 0) + (t.quinas > 0) + (t.quadras > 0);
        }
    }
    return tiers;
}

// The floor: one population count per pair and nothing else, with the popcnt instruction where
// the processor has it, as the history loop uses it.
[[gnu::always_inline]] inline qint64 countPairs(const std::vector<GameNumbers>& games,
                                                const std::vector<NumberMask>& masks) {
    qint64 sum = 0;
    for (const GameNumbers& g : games)
        for (const NumberMask m : masks)
            sum += __builtin_popcountll(g.mask & m) >= 4;
    return sum;
}
[[gnu::target("popcnt")]] qint64 countPairsPopcnt(const std::vector<GameNumbers>& games,
                                                  const std::vector<NumberMask>& masks) {
    return countPairs(games, masks);
}
qint64 popcountFloor(const std::vector<GameNumbers>& games, const std::vector<ResultDraw>& draws) {
    std::vector<NumberMask> masks;
    for (const ResultDraw& d : draws)
        masks.push_back(d.mask);
    return __builtin_cpu_supports("popcnt") ? countPairsPopcnt(games, masks) : countPairs(games, masks);
}

// The prizes of every draw: the sena won in one draw of five, the quina and the quadra always.
std::vector<std::optional<TierPrices>> makePrices(std::mt19937& rng) {
    std::uniform_int_distribution<Centavos> sena(1000000000, 30000000000), quina(2000000, 9000000),
        quadra(60000, 150000);
    std::vector<std::optional<TierPrices>> prices(kDraws);
    for (int i = 0; i < kDraws; ++i) {
        const bool senaWon = i % 5 == 0;
        prices[static_cast<std::size_t>(i)] =
            TierPrices{{senaWon ? sena(rng) : 0, quina(rng), quadra(rng)}, {senaWon, true, true}};
    }
    return prices;
}

qint64 tierDraws(const HistoryPrizes& h) {
    qint64 n = 0;
    for (const GameHistory& w : h.winners)
        n += w.senaDraws + w.quinaDraws + w.quadraDraws;
    return n;
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    std::mt19937 rng(20261210);
    const std::vector<ResultDraw> draws = makeDraws(rng);
    NoProgress none;
    QElapsedTimer timer;

    // 10,000 games of 6 to 15 numbers.
    const std::vector<GameNumbers> mixed = makeGames(rng, 10000, false);
    timer.start();
    const qint64 refTiers = lookUpReference(mixed, draws, mixed.size());
    const double reference = bench::ms(timer);
    timer.restart();
    const qint64 floorPairs = popcountFloor(mixed, draws);
    const double floor = bench::ms(timer);
    timer.restart();
    const HistoryPrizes h = *PrizesInHistory(mixed, draws, none);
    const double history = bench::ms(timer);
    std::printf("10,000 games of 6 to 15 numbers x %d draws\n", kDraws);
    std::printf("  reference, numbers looked up:     %8.1f ms (tier-draws %lld)\n", reference,
                static_cast<long long>(refTiers));
    std::printf("  reference, bare popcount per pair: %8.1f ms (pairs with 4+ hits %lld)\n", floor,
                static_cast<long long>(floorPairs));
    std::printf("  PrizesInHistory:                  %8.1f ms (limit 1000 ms; tier-draws %lld, %s)\n",
                history, static_cast<long long>(tierDraws(h)),
                tierDraws(h) == refTiers ? "same as reference" : "DIFFERENT");

    // In reais: every draw's prizes known, at 6,00 a simple bet; the history in counts above is
    // the reference.
    const std::vector<std::optional<TierPrices>> prices = makePrices(rng);
    timer.restart();
    const HistoryPrizes money = *PrizesInHistory(mixed, draws, none, {prices, 600});
    const double inReais = bench::ms(timer);
    std::printf("  PrizesInHistory in reais:         %8.1f ms (limit 1000 ms; won %s, spent %s, %zu balance "
                "points; counts %s)\n",
                inReais, qPrintable(FormatMoney(money.won)), qPrintable(FormatMoney(money.spent)),
                money.balance.size(), tierDraws(money) == tierDraws(h) ? "same as in counts" : "DIFFERENT");

    timer.restart();
    CheckReport report;
    report.fill({draws.back(), mixed, PrizesOfDraw(mixed, draws.back().mask), money, prices.back(), 600});
    const double fill = bench::ms(timer);
    timer.restart();
    const ReportDocument doc = layOutReport(report.layout(), report.rows(), report.rowPainter());
    const double layout = bench::ms(timer);
    timer.restart();
    const QImage lastPage = renderReportPage(doc, doc.pageCount() - 1, 150);
    const double chartPage = bench::ms(timer);
    std::printf("  report lines filled:              %8.1f ms (%d lines)\n", fill, report.rows().rowCount());
    std::printf("  report laid out:                  %8.1f ms (%d pages)\n", layout, doc.pageCount());
    std::printf("  last page, with the chart, drawn: %8.1f ms (%dx%d at 150 dpi)\n", chartPage,
                lastPage.width(), lastPage.height());

    // 1,000,000 six-number games.
    const std::vector<GameNumbers> six = makeGames(rng, 1000000, true);
    timer.restart();
    const qint64 sampleTiers = lookUpReference(six, draws, 10000);
    const double sample = bench::ms(timer);
    timer.restart();
    const qint64 sixFloor = popcountFloor(six, draws);
    const double sixFloorMs = bench::ms(timer);
    timer.restart();
    const HistoryPrizes big = *PrizesInHistory(six, draws, none);
    const double bigMs = bench::ms(timer);
    std::printf("1,000,000 six-number games x %d draws\n", kDraws);
    std::printf("  reference, numbers looked up:     %8.1f ms (measured on 10,000 games x 100; %lld)\n",
                sample * 100, static_cast<long long>(sampleTiers));
    std::printf("  reference, bare popcount per pair: %8.1f ms (%lld)\n", sixFloorMs,
                static_cast<long long>(sixFloor));
    std::printf("  PrizesInHistory:                  %8.1f ms (%zu games with a prize, %lld without)\n",
                bigMs, big.winners.size(), static_cast<long long>(big.gamesWithout));

    // Reading a million games from the games table, as the report does before it starts.
    QTemporaryDir dir;
    Tables t(dir.path());
    Table& car = t.TableCar;
    car.defineFields(Schemas::games());
    car.create();
    {
        const GameFields f(car);
        Table::BulkChange quiet(car);
        for (const GameNumbers& g : six) {
            car.insert();
            car.setReal(f.cartao, static_cast<double>(g.game));
            for (std::size_t p = 0; p < 6; ++p)
                car.setInteger(f.d[p], g.numbers[p]);
            car.post();
        }
    }
    timer.restart();
    const std::vector<GameNumbers> read = ReadGames(car);
    std::printf("  ReadGames from the games table:   %8.1f ms (%zu games)\n", bench::ms(timer), read.size());
    return 0;
}
