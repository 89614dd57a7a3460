#include "GamePrizes.h"

#include "DrawEntry.h"
#include "GamesTable.h"

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

// Four games at a time: each draw is read once for the four.
constexpr std::size_t kBlock = 4;

void tally(GameHistory& h, unsigned tiers, qint32 draw) {
    if (tiers == 0)
        return;
    h.senaDraws += static_cast<qint32>(tiers & 1U);
    h.quinaDraws += static_cast<qint32>((tiers >> 1) & 1U);
    h.quadraDraws += static_cast<qint32>((tiers >> 2) & 1U);
    h.lastDraw = std::max(h.lastDraw, draw);
}

struct Block {
    std::array<NumberMask, kBlock> games;
    std::array<const quint8*, kBlock> tiers; // by hits, the tiers a draw gives each game
};

// A block of games against every draw. Fewer than four hits never win anything, and that is
// nearly every draw, so each draw costs four population counts, one OR and one branch: a count is
// at most six, so it reaches four exactly when its bit 2 is set.
[[gnu::always_inline]] inline void meetEveryDraw(const Block& b, const NumberMask* draws,
                                                 const qint32* numbers, std::size_t count,
                                                 std::array<GameHistory, kBlock>& out) {
    const NumberMask g0 = b.games[0], g1 = b.games[1], g2 = b.games[2], g3 = b.games[3];
    for (std::size_t i = 0; i < count; ++i) {
        const NumberMask d = draws[i];
        const auto h0 = static_cast<unsigned>(__builtin_popcountll(g0 & d));
        const auto h1 = static_cast<unsigned>(__builtin_popcountll(g1 & d));
        const auto h2 = static_cast<unsigned>(__builtin_popcountll(g2 & d));
        const auto h3 = static_cast<unsigned>(__builtin_popcountll(g3 & d));
        if (((h0 | h1 | h2 | h3) & 4U) == 0)
            continue;
        const std::array<unsigned, kBlock> hits{h0, h1, h2, h3};
        for (std::size_t j = 0; j < kBlock; ++j)
            if (hits[j] >= 4)
                tally(out[j], b.tiers[j][hits[j]], numbers[i]);
    }
}

// The same loop compiled twice, with the processor's popcnt instruction and without it, and the
// one the processor can run chosen once.
[[gnu::target("popcnt")]] void meetEveryDrawPopcnt(const Block& b, const NumberMask* draws,
                                                   const qint32* numbers, std::size_t count,
                                                   std::array<GameHistory, kBlock>& out) {
    meetEveryDraw(b, draws, numbers, count, out);
}

void meetEveryDrawPortable(const Block& b, const NumberMask* draws, const qint32* numbers, std::size_t count,
                           std::array<GameHistory, kBlock>& out) {
    meetEveryDraw(b, draws, numbers, count, out);
}

void historyOfBlock(const Block& b, const NumberMask* draws, const qint32* numbers, std::size_t count,
                    std::array<GameHistory, kBlock>& out) {
    static const bool popcnt = __builtin_cpu_supports("popcnt");
    if (popcnt)
        meetEveryDrawPopcnt(b, draws, numbers, count, out);
    else
        meetEveryDrawPortable(b, draws, numbers, count, out);
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

std::optional<HistoryPrizes> PrizesInHistory(std::span<const GameNumbers> games,
                                             std::span<const ResultDraw> draws, Progress& progress) {
    static const TierFlags tiers;
    std::vector<NumberMask> masks(draws.size());
    std::vector<qint32> numbers(draws.size());
    for (std::size_t i = 0; i < draws.size(); ++i) {
        masks[i] = draws[i].mask;
        numbers[i] = draws[i].concurso;
    }

    HistoryPrizes out;
    out.draws = static_cast<qint64>(draws.size());
    const qint64 total = static_cast<qint64>(games.size());
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
            block.tiers[j] = tiers.bySizeAndHits[static_cast<std::size_t>(CountOf(block.games[j]))].data();
        }
        std::array<GameHistory, kBlock> found{};
        historyOfBlock(block, masks.data(), numbers.data(), masks.size(), found);
        for (std::size_t j = 0; j < kBlock && first + j < games.size(); ++j) {
            GameHistory& h = found[j];
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
    sortByPrize(out.winners, games,
                [](const GameHistory& h) { return std::tuple(h.senaDraws, h.quinaDraws, h.quadraDraws); });
    return out;
}
