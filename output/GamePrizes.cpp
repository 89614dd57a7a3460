#include "GamePrizes.h"

#include "DrawEntry.h"
#include "GamePrice.h"
#include "GamesTable.h"

#include <QHash>
#include <QString>
#include <algorithm>
#include <cmath>

namespace {

std::optional<ResultDraw> drawAt(const Table& results, int position, int concurso,
                                 const std::array<int, 6>& fields) {
    const RowRef row = results.rowAt(position);
    const auto number = row.intValue(concurso);
    if (!number)
        return std::nullopt;
    ResultDraw d;
    d.concurso = *number;
    for (std::size_t i = 0; i < 6; ++i)
        d.numbers[i] = row.intValue(fields[i]).value_or(0);
    d.mask = MaskOf(d.numbers);
    return d;
}

std::array<int, 6> drawFields(const Table& results) {
    std::array<int, 6> f{};
    for (std::size_t i = 0; i < 6; ++i)
        f[i] = results.fieldIndex(QStringLiteral("d%1").arg(i + 1));
    return f;
}

// The order of both lists: the best prize first, then the lower game number, then the order read.
template <typename T, typename Key>
void sortByPrize(std::vector<T>& list, std::span<const GameNumbers> games, Key key) {
    std::stable_sort(list.begin(), list.end(), [&](const T& a, const T& b) {
        const auto ka = key(a);
        const auto kb = key(b);
        if (ka != kb)
            return ka > kb;
        return games[a.game].game < games[b.game].game;
    });
}

// Which tiers a draw gives a game of `size` numbers with `hits` of them drawn: bit 0 sena, bit 1
// quina, bit 2 quadra.
struct TierFlags {
    std::array<std::array<quint8, 7>, 61> bySizeAndHits{};
    TierFlags() {
        for (int n = 0; n <= 60; ++n)
            for (int k = 0; k <= 6; ++k) {
                const PrizeTiers t = PrizeTiersOf(n, k);
                bySizeAndHits[static_cast<std::size_t>(n)][static_cast<std::size_t>(k)] = static_cast<quint8>(
                    (t.senas > 0 ? 1 : 0) | (t.quinas > 0 ? 2 : 0) | (t.quadras > 0 ? 4 : 0));
            }
    }
};

// The prize tiers of a game of each size with each number of hits.
struct TierCounts {
    std::array<std::array<PrizeTiers, 7>, 61> bySizeAndHits{};
    TierCounts() {
        for (int n = 0; n <= 60; ++n)
            for (int k = 0; k <= 6; ++k)
                bySizeAndHits[static_cast<std::size_t>(n)][static_cast<std::size_t>(k)] = PrizeTiersOf(n, k);
    }
};

// Four games at a time: each draw is read once for the four.
constexpr std::size_t kBlock = 4;

// The draws as the loop reads them: their sets, numbers and, where known, their prices; and what
// the games won in each (added to as they win).
struct DrawArrays {
    const NumberMask* masks = nullptr;
    const qint32* numbers = nullptr;
    const TierPrices* const* prices = nullptr; // per draw, null where unknown
    Centavos* wonInDraw = nullptr;
    std::size_t count = 0;
};

struct Block {
    std::array<NumberMask, kBlock> games;
    std::array<const quint8*, kBlock> tiers;    // by hits, the tiers a draw gives each game
    std::array<const PrizeTiers*, kBlock> bets; // by hits, the winning bets of each tier
};

struct BlockOut {
    std::array<GameHistory, kBlock> games{};
    PrizeTiers unpaid;
};

// A game's win in one draw: the draws it won a tier in and, where the draw's prices are known,
// what the winning bets are worth.
[[gnu::noinline]] void win(GameHistory& h, unsigned tiers, const PrizeTiers& bets, const DrawArrays& d,
                           std::size_t i, PrizeTiers& unpaid) {
    if (tiers == 0)
        return;
    h.senaDraws += static_cast<qint32>(tiers & 1U);
    h.quinaDraws += static_cast<qint32>((tiers >> 1) & 1U);
    h.quadraDraws += static_cast<qint32>((tiers >> 2) & 1U);
    h.lastDraw = std::max(h.lastDraw, d.numbers[i]);
    if (const TierPrices* p = d.prices ? d.prices[i] : nullptr) {
        const Winnings w = WinningsOf(bets, *p);
        h.won += w.amount;
        d.wonInDraw[i] += w.amount;
        unpaid += w.unpaid;
    }
}

// A block of games against every draw. Fewer than four hits never win anything, and that is
// nearly every draw, so each draw costs four population counts, one OR and one branch: a count is
// at most six, so it reaches four exactly when its bit 2 is set.
[[gnu::always_inline]] inline void meetEveryDraw(const Block& b, const DrawArrays& d, BlockOut& out) {
    const NumberMask g0 = b.games[0], g1 = b.games[1], g2 = b.games[2], g3 = b.games[3];
    const NumberMask* draws = d.masks;
    for (std::size_t i = 0; i < d.count; ++i) {
        const NumberMask m = draws[i];
        const auto h0 = static_cast<unsigned>(__builtin_popcountll(g0 & m));
        const auto h1 = static_cast<unsigned>(__builtin_popcountll(g1 & m));
        const auto h2 = static_cast<unsigned>(__builtin_popcountll(g2 & m));
        const auto h3 = static_cast<unsigned>(__builtin_popcountll(g3 & m));
        if (((h0 | h1 | h2 | h3) & 4U) == 0)
            continue;
        const std::array<unsigned, kBlock> hits{h0, h1, h2, h3};
        for (std::size_t j = 0; j < kBlock; ++j)
            if (hits[j] >= 4)
                win(out.games[j], b.tiers[j][hits[j]], b.bets[j][hits[j]], d, i, out.unpaid);
    }
}

// The same loop compiled twice, with the processor's popcnt instruction and without it, and the
// one the processor can run chosen once.
[[gnu::target("popcnt")]] void meetEveryDrawPopcnt(const Block& b, const DrawArrays& d, BlockOut& out) {
    meetEveryDraw(b, d, out);
}

void meetEveryDrawPortable(const Block& b, const DrawArrays& d, BlockOut& out) {
    meetEveryDraw(b, d, out);
}

void historyOfBlock(const Block& b, const DrawArrays& d, BlockOut& out) {
    static const bool popcnt = __builtin_cpu_supports("popcnt");
    if (popcnt)
        meetEveryDrawPopcnt(b, d, out);
    else
        meetEveryDrawPortable(b, d, out);
}

} // namespace

std::vector<ResultDraw> ReadDraws(const Table& results) {
    std::vector<ResultDraw> draws;
    if (!results.isOpen())
        return draws;
    const int concurso = results.fieldIndex(u"Concurso");
    const std::array<int, 6> fields = drawFields(results);
    draws.reserve(static_cast<std::size_t>(results.rowCount()));
    for (int i = 0; i < results.rowCount(); ++i)
        if (auto d = drawAt(results, i, concurso, fields))
            draws.push_back(*d);
    return draws;
}

std::optional<ResultDraw> LastDraw(const Table& results) {
    const auto whole = LastWholeDrawPosition(results);
    if (!whole)
        return std::nullopt;
    return drawAt(results, *whole, results.fieldIndex(u"Concurso"), drawFields(results));
}

std::vector<GameNumbers> ReadGames(const Table& games) {
    std::vector<GameNumbers> list;
    if (!games.isOpen())
        return list;
    const GameFields f(games);
    list.reserve(static_cast<std::size_t>(games.rowCount()));
    std::array<int, 15> numbers{};
    for (int i = 0; i < games.rowCount(); ++i) {
        const RowRef row = games.rowAt(i);
        GameNumbers g;
        const auto number = row.realValue(f.cartao);
        g.game = number && std::isfinite(*number) ? static_cast<qint64>(*number) : 0;
        const int size = ReadGameNumbers(row, f, numbers);
        g.size = static_cast<quint8>(size);
        for (std::size_t p = 0; p < static_cast<std::size_t>(size); ++p)
            g.numbers[p] = static_cast<quint8>(std::clamp(numbers[p], 0, 255));
        g.mask = MaskOf(std::span<const int>(numbers.data(), static_cast<std::size_t>(size)));
        list.push_back(g);
    }
    return list;
}

DrawPrizes PrizesOfDraw(std::span<const GameNumbers> games, NumberMask draw) {
    DrawPrizes out;
    for (std::size_t i = 0; i < games.size(); ++i) {
        const PrizeTiers t = PrizeTiersOf(games[i].mask, draw);
        if (!t.any()) {
            ++out.gamesWithout;
            continue;
        }
        out.totals += t;
        out.winners.push_back({i, CountOf(games[i].mask & draw), t});
    }
    sortByPrize(out.winners, games, [](const GamePrize& p) {
        return std::tuple(p.tiers.senas, p.tiers.quinas, p.tiers.quadras);
    });
    return out;
}

std::optional<TierPrices> PricesOf(const DrawPayout& payout) {
    if (!payout.tiers)
        return std::nullopt;
    TierPrices p;
    for (std::size_t i = 0; i < 3; ++i) {
        const TierPayout& t = (*payout.tiers)[i];
        p.paid[i] = t.winners > 0;
        p.prize[i] = p.paid[i] ? t.prize : 0;
    }
    return p;
}

std::vector<std::optional<TierPrices>> PricesOfDraws(std::span<const ResultDraw> draws,
                                                     std::span<const DrawPayout> payouts) {
    QHash<qint32, std::size_t> byNumber;
    byNumber.reserve(static_cast<qsizetype>(payouts.size()));
    for (std::size_t i = 0; i < payouts.size(); ++i)
        byNumber.insert(payouts[i].concurso, i);
    std::vector<std::optional<TierPrices>> out(draws.size());
    for (std::size_t i = 0; i < draws.size(); ++i)
        if (const auto it = byNumber.constFind(draws[i].concurso); it != byNumber.constEnd())
            out[i] = PricesOf(payouts[*it]);
    return out;
}

Winnings WinningsOf(const PrizeTiers& tiers, const TierPrices& prices) {
    Winnings w;
    const std::array<qint64, 3> bets{tiers.senas, tiers.quinas, tiers.quadras};
    std::array<qint64, 3> unpaid{};
    for (std::size_t i = 0; i < 3; ++i) {
        if (prices.paid[i])
            w.amount += bets[i] * prices.prize[i];
        else
            unpaid[i] = bets[i];
    }
    w.unpaid = {unpaid[0], unpaid[1], unpaid[2]};
    return w;
}

std::optional<HistoryPrizes> PrizesInHistory(std::span<const GameNumbers> games,
                                             std::span<const ResultDraw> draws, Progress& progress,
                                             const HistoryMoney& money) {
    static const TierFlags tiers;
    static const TierCounts counts;
    std::vector<NumberMask> masks(draws.size());
    std::vector<qint32> numbers(draws.size());
    std::vector<const TierPrices*> prices(draws.size(), nullptr);
    std::vector<Centavos> wonInDraw(draws.size(), 0);
    HistoryPrizes out;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        masks[i] = draws[i].mask;
        numbers[i] = draws[i].concurso;
        if (i < money.prices.size() && money.prices[i]) {
            prices[i] = &*money.prices[i];
            ++out.pricedDraws;
        }
    }
    const DrawArrays arrays{masks.data(), numbers.data(), prices.data(), wonInDraw.data(), masks.size()};

    out.draws = static_cast<qint64>(draws.size());
    const qint64 total = static_cast<qint64>(games.size());
    // What playing every game in one draw costs.
    Centavos costPerDraw = 0;
    for (const GameNumbers& g : games)
        costPerDraw += GamePriceCents(CountOf(g.mask), money.betPrice);
    // About a million game-draw meetings between two reports: a few milliseconds.
    const std::size_t every =
        kBlock * std::max<std::size_t>(1, (std::size_t{1} << 18) / std::max<std::size_t>(1, draws.size()));
    for (std::size_t first = 0; first < games.size(); first += kBlock) {
        if (first % every == 0 &&
            !progress.report(static_cast<qint64>(first), total, static_cast<qint64>(out.winners.size())))
            return std::nullopt;
        // A short last block is filled with empty games, which never hit anything.
        Block block{};
        for (std::size_t j = 0; j < kBlock; ++j) {
            block.games[j] = first + j < games.size() ? games[first + j].mask : 0;
            const auto size = static_cast<std::size_t>(CountOf(block.games[j]));
            block.tiers[j] = tiers.bySizeAndHits[size].data();
            block.bets[j] = counts.bySizeAndHits[size].data();
        }
        BlockOut found;
        historyOfBlock(block, arrays, found);
        out.unpaid += found.unpaid;
        for (std::size_t j = 0; j < kBlock && first + j < games.size(); ++j) {
            GameHistory& h = found.games[j];
            h.spent = out.pricedDraws * GamePriceCents(CountOf(block.games[j]), money.betPrice);
            out.won += h.won;
            out.spent += h.spent;
            if (h.senaDraws == 0 && h.quinaDraws == 0 && h.quadraDraws == 0) {
                ++out.gamesWithout;
                continue;
            }
            h.game = first + j;
            out.winners.push_back(h);
        }
    }
    if (!progress.report(total, total, static_cast<qint64>(out.winners.size())))
        return std::nullopt;
    Centavos balance = 0;
    out.balance.reserve(static_cast<std::size_t>(out.pricedDraws));
    for (std::size_t i = 0; i < draws.size(); ++i)
        if (prices[i]) {
            balance += wonInDraw[i] - costPerDraw;
            out.balance.push_back({numbers[i], balance});
        }
    sortByPrize(out.winners, games,
                [](const GameHistory& h) { return std::tuple(h.senaDraws, h.quinaDraws, h.quadraDraws); });
    return out;
}
