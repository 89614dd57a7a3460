#include "CombinationGeneration.h"

#include "CountText.h"
#include "GameMeasures.h"
#include "GamesTable.h"
#include "Table.h"

#include <algorithm>
#include <array>
#include <bit>
#include <set>

namespace {

// Combinations examined between two progress reports.
constexpr qint64 kReportEvery = qint64{1} << 16;
// A generating run saves the games after this many games written since the last save.
constexpr int kSaveAfter = 10000;

struct Candidate {
    int number;
    int even;     // 1 when even
    unsigned row; // the bit of its row of ten
    int below;    // 1 when 30 or less
    int fixed;    // 1 when Fixed
};

std::vector<Candidate> describe(const std::vector<int>& candidates, const std::vector<int>& fixed) {
    const std::set<int> fixedSet(fixed.begin(), fixed.end());
    std::vector<Candidate> out;
    out.reserve(candidates.size());
    for (const int n : candidates)
        out.push_back({n, n % 2 == 0 ? 1 : 0, n >= 1 && n <= 60 ? 1u << ((n - 1) / 10) : 0u, n <= 30 ? 1 : 0,
                       fixedSet.contains(n) ? 1 : 0});
    return out;
}

// Goes through the combinations i1 < ... < i6 in lexicographic order, measuring them as it goes,
// and calls `keep(numbers, measures)` for each one that holds every Fixed number and passes the
// filters. `tick(examined)` is called now and then; a false answer stops the walk. Answers false
// when stopped.
template <typename Keep, typename Tick>
bool enumerate(const std::vector<Candidate>& c, int fixedCount, const FilterSettings& s, Keep&& keep,
               Tick&& tick) {
    const int n = static_cast<int>(c.size());
    qint64 examined = 0;
    qint64 nextTick = kReportEvery;
    std::array<int, 6> numbers{};
    auto at = [&c](int i) -> const Candidate& { return c[static_cast<std::size_t>(i)]; };
    for (int i1 = 0; i1 < n - 5; ++i1) {
        const Candidate& a = at(i1);
        numbers[0] = a.number;
        for (int i2 = i1 + 1; i2 < n - 4; ++i2) {
            const Candidate& b = at(i2);
            numbers[1] = b.number;
            for (int i3 = i2 + 1; i3 < n - 3; ++i3) {
                const Candidate& d3 = at(i3);
                numbers[2] = d3.number;
                if (examined >= nextTick) {
                    nextTick = examined + kReportEvery;
                    if (!tick(examined))
                        return false;
                }
                const int e3 = a.even + b.even + d3.even;
                const unsigned r3 = a.row | b.row | d3.row;
                const int w3 = a.below + b.below + d3.below;
                const int f3 = a.fixed + b.fixed + d3.fixed;
                for (int i4 = i3 + 1; i4 < n - 2; ++i4) {
                    const Candidate& d4 = at(i4);
                    numbers[3] = d4.number;
                    for (int i5 = i4 + 1; i5 < n - 1; ++i5) {
                        const Candidate& d5 = at(i5);
                        numbers[4] = d5.number;
                        const int e5 = e3 + d4.even + d5.even;
                        const unsigned r5 = r3 | d4.row | d5.row;
                        const int w5 = w3 + d4.below + d5.below;
                        const int f5 = f3 + d4.fixed + d5.fixed;
                        examined += n - 1 - i5;
                        for (int i6 = i5 + 1; i6 < n; ++i6) {
                            const Candidate& d6 = at(i6);
                            if (f5 + d6.fixed < fixedCount)
                                continue;
                            GameMeasures m;
                            m.pares = e5 + d6.even;
                            m.linhas = std::popcount(r5 | d6.row);
                            m.abaixo = w5 + d6.below;
                            m.first = a.number;
                            m.last = d6.number;
                            if (!PassesFilters(m, s))
                                continue;
                            numbers[5] = d6.number;
                            keep(numbers, m);
                        }
                    }
                }
            }
        }
    }
    return true;
}

} // namespace

CountWithNotice CombinationsOfSix(int n) {
    if (n < 6)
        return {Message{QStringLiteral("Geração das combinações"),
                        QStringLiteral("Você tem de ter mais de 6 dezenas para gerar combinações")},
                QStringLiteral("0")};
    return {std::nullopt, CountText(FloatCombinations(n, 6))};
}

CountWithNotice LabelSelCText(int notDiscarded, int fixed) {
    CountWithNotice c = CombinationsOfSix(notDiscarded);
    // Every combination holds all the Fixed numbers: 6 − fixed are chosen among the others.
    if (!c.message && fixed > 0)
        c.text =
            fixed < 6 ? CountText(FloatCombinations(notDiscarded - fixed, 6 - fixed)) : QStringLiteral("0");
    c.text = QString::number(notDiscarded) + QStringLiteral(" pedras= ") + c.text;
    return c;
}

qint64 CountCombinations(const std::vector<int>& candidates, const std::vector<int>& fixed,
                         const FilterSettings& filters) {
    const std::vector<Candidate> cs = describe(candidates, fixed);
    int fixedCount = 0;
    for (const Candidate& c : cs)
        fixedCount += c.fixed;
    if (fixedCount < static_cast<int>(std::set<int>(fixed.begin(), fixed.end()).size()))
        return 0; // a Fixed number that is no candidate can be in no combination

    // ways[chosen][evens][rows]: the ways to pick `chosen` of the numbers seen so far, with that
    // many even numbers and those rows used, where the first pick starts at or below
    // DezenaInicial and a sixth pick ends at or above DezenaFinal. A Fixed number must be picked.
    using Layer = std::array<std::array<std::array<quint64, 64>, 7>, 7>;
    Layer ways{};
    ways[0][0][0] = 1;
    for (const Candidate& c : cs) {
        Layer next{};
        if (!c.fixed)
            next = ways;
        for (int chosen = 5; chosen >= 0; --chosen) {
            if (chosen == 0 && c.number > filters.dezenaInicial)
                continue;
            if (chosen == 5 && c.number < filters.dezenaFinal)
                continue;
            const auto from = static_cast<std::size_t>(chosen);
            for (std::size_t e = 0; e + static_cast<std::size_t>(c.even) < 7; ++e)
                for (std::size_t r = 0; r < 64; ++r)
                    if (const quint64 w = ways[from][e][r])
                        next[from + 1][e + static_cast<std::size_t>(c.even)][r | c.row] += w;
        }
        ways = next;
    }
    quint64 total = 0;
    for (int e = std::max(0, filters.paresMin); e <= std::min(6, filters.paresMax); ++e)
        for (unsigned r = 0; r < 64; ++r) {
            const int rows = std::popcount(r);
            if (rows >= filters.linhasMin && rows <= filters.linhasMax)
                total += ways[6][static_cast<std::size_t>(e)][r];
        }
    return static_cast<qint64>(total);
}

qint64 CountCombinationsOneByOne(const std::vector<int>& candidates, const std::vector<int>& fixed,
                                 const FilterSettings& filters) {
    const std::vector<Candidate> cs = describe(candidates, fixed);
    const int fixedCount = static_cast<int>(std::set<int>(fixed.begin(), fixed.end()).size());
    qint64 count = 0;
    enumerate(
        cs, fixedCount, filters, [&](const std::array<int, 6>&, const GameMeasures&) { ++count; },
        [](qint64) { return true; });
    return count;
}

CombinationRunResult RunCombinations(Table& games, const CombinationRequest& request, Progress& progress) {
    CombinationRunResult result;
    const FilterSettings filters = CombinationFilterSettings(request.filters);
    if (filters.paresMax > 6) {
        result.message = Message{QStringLiteral("Dezenas pares"),
                                 QStringLiteral("A quantidade de dezenas pares do filtro é maior que 6.")};
        return result;
    }
    const std::vector<int> candidates = request.board.candidates();
    const std::set<int> fixedSet(request.board.fixed.begin(), request.board.fixed.end());
    const std::vector<int> fixed(fixedSet.begin(), fixedSet.end());
    if (fixed.size() > 5) {
        result.message = Message{QStringLiteral("Quantidade de dezenas fixas"),
                                 QStringLiteral("O número de dezenas fixas deve ser menor que 6.")};
        return result;
    }
    if (candidates.size() < 6) {
        result.message =
            Message{QStringLiteral("Dezenas insuficientes"),
                    QStringLiteral("Você precisa de, no mínimo, 6 dezenas para formar os jogos.")};
        return result;
    }
    result.refreshSummary = true;

    if (request.counting) {
        result.count = CountCombinations(candidates, fixed, filters);
        result.labelAGerar = GroupedCountText(result.count);
        return result;
    }

    result.panelOpen = false;
    const GameFields f(games);
    const qint64 total = static_cast<qint64>(FloatCombinations(static_cast<int>(candidates.size()), 6));
    qint64 lastGame = NextGameNumber(games) - 1;
    int writtenSinceSave = 0;
    const GameRowFields written = GameRowFields::combination();
    Table::BulkChange guard(games);
    const bool finished = enumerate(
        describe(candidates, fixed), static_cast<int>(fixed.size()), filters,
        [&](const std::array<int, 6>& numbers, const GameMeasures& m) {
            ++result.count;
            ++lastGame;
            AppendGame(games, f, lastGame, numbers, written, m);
            if (++writtenSinceSave > kSaveAfter) {
                games.commitChanges(); // the games so far are on disk, should the run be cut
                writtenSinceSave = 0;
            }
        },
        [&](qint64 examined) { return progress.report(examined, total, result.count); });
    result.stopped = !finished;
    return result;
}
