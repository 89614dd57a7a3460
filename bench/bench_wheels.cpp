// The wheels' search against the best sizes known: for each shape, the games found, the best-known
// count of the La Jolla Covering Repository (covering designs C(v, 6, t)), the Schönheim bound and
// the seconds taken, with the exhaustive check of the result timed beside it.
#include "BenchSupport.h"
#include "WheelGuarantee.h"
#include "WheelOrbitSearch.h"
#include "WheelSearch.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Case {
    WheelShape shape;
    int bestKnown; // 0 when no reference is known
    double limitSeconds;
};

} // namespace

// bench_wheels [scale [v,k,t,m [file [seed [group ["first"]]]]]]: every case's time limit times `scale`; only
// the shape given; the wheels found appended to `file`; the search's seed (1 unless given); with a
// group ("19", "3x6", "5x4", "19,19*7", "16^,16^f+4x2": see ParseWheelGroup), a covering is searched
// among the wheels the group leaves invariant instead, for the table of wheels found beforehand ("first":
// swaps of whole orbits only where no move of one number serves). "-" skips an argument.
int main(int argc, char** argv) {
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    const std::vector<Case> cases{
        {{10, 6, 4, 4}, 20, 10},
        {{12, 6, 3, 3}, 15, 10},
        {{12, 6, 5, 5}, 132, 10},
        {{15, 6, 4, 4}, 117, 10},
        {{18, 6, 3, 3}, 48, 10},
        {{20, 6, 3, 3}, 71, 10},
        {{20, 6, 4, 4}, 382, 10},
        {{25, 6, 4, 4}, 992, 10},
        // lotto designs: fewer games than the covering of the same numbers
        {{15, 6, 4, 5}, 0, 10},
        {{15, 6, 3, 4}, 0, 10},
        {{20, 6, 3, 4}, 0, 10},
        {{20, 6, 4, 5}, 0, 10},
        // many numbers
        {{40, 6, 3, 6}, 0, 30},
        {{60, 6, 3, 3}, 0, 30},
        {{30, 6, 3, 6}, 0, 60},
        {{30, 6, 4, 4}, 0, 60},
        {{30, 6, 4, 6}, 0, 60},
        // bigger games
        {{15, 7, 4, 4}, 0, 10},
        {{18, 8, 4, 4}, 0, 10},
        {{20, 10, 5, 5}, 0, 10},
        {{25, 15, 5, 5}, 0, 10},
    };
    std::printf("%-22s %7s %7s %10s %6s %5s %8s %9s\n", "wheel (v,k,t,m)", "found", "best", "Schönheim",
                "lotto", "gap", "seconds", "check s");
    const auto given = [&](int i) { return argc > i && std::string(argv[i]) != "-" ? argv[i] : nullptr; };
    const char* only = given(2); // "v,k,t,m": that shape alone
    const char* groupText = given(5);
    for (const Case& c : cases) {
        if (only) {
            char key[32];
            std::snprintf(key, sizeof key, "%d,%d,%d,%d", c.shape.v, c.shape.k, c.shape.t, c.shape.m);
            if (std::string(key) != only)
                continue;
        }
        WheelSearchOptions o;
        o.seed = given(4) ? std::strtoull(argv[4], nullptr, 10) : 1;
        o.timeLimitMs = static_cast<qint64>(c.limitSeconds * scale * 1000.0);
        NoProgress quiet;
        const auto t0 = bench::Clock::now();
        WheelSearchResult r;
        char extra[128] = "";
        if (groupText) {
            const WheelGroupParse parsed = ParseWheelGroup(c.shape.v, QString::fromUtf8(groupText));
            if (!parsed.error.isEmpty()) {
                std::printf("%s\n", qPrintable(parsed.error));
                return 1;
            }
            WheelOrbitOptions oo;
            oo.seed = o.seed;
            oo.timeLimitMs = o.timeLimitMs;
            oo.stopAt = c.bestKnown;
            oo.numberMovesFirst = given(6) && std::string(argv[6]) == "first";
            const WheelOrbitResult orbit = SearchOrbitWheel(c.shape, parsed.group, oo, quiet);
            r.games = orbit.games;
            r.moves = orbit.moves;
            std::snprintf(extra, sizeof extra, ", group %s of order %d: %d of %d orbits, %d orbits of t-sets",
                          groupText, orbit.groupOrder, orbit.orbits, orbit.gameOrbits, orbit.setOrbits);
        } else {
            r = SearchWheel(c.shape, o, quiet);
        }
        const double seconds = bench::secondsSince(t0);
        const WheelMask full = (WheelMask{1} << c.shape.v) - 1;
        const auto t1 = bench::Clock::now();
        const WheelCheck check = CheckWheel(full, r.games, c.shape.t, c.shape.m);
        const double checkSeconds = bench::secondsSince(t1);
        char name[64];
        std::snprintf(name, sizeof name, "(%d,%d,%d,%d)", c.shape.v, c.shape.k, c.shape.t, c.shape.m);
        char gap[16] = "-";
        if (c.bestKnown > 0)
            std::snprintf(gap, sizeof gap, "%+.1f%%",
                          100.0 * (static_cast<double>(r.games.size()) - c.bestKnown) / c.bestKnown);
        // For a lotto design, the bound valid for it beside the covering's: its m-sets over the
        // most one game meets.
        const std::string lotto = c.shape.m > c.shape.t ? std::to_string(WheelLowerBound(c.shape)) : "-";
        std::printf("%-22s %7zu %7s %10lld %6s %5s %8.2f %9.3f%s (greedy %d, %lld moves%s)\n", name,
                    r.games.size(), c.bestKnown > 0 ? std::to_string(c.bestKnown).c_str() : "-",
                    static_cast<long long>(SchonheimBound(c.shape.v, c.shape.k, c.shape.t)), lotto.c_str(), gap,
                    seconds, checkSeconds, check.holds ? "" : "  CHECK FAILED", r.greedyGames,
                    static_cast<long long>(r.moves), extra);
        std::fflush(stdout);
        if (given(3) && check.holds && !r.games.empty()) {
            // The wheel itself, for the table of wheels found beforehand: the shape, then one game
            // per line as its positions 1..v.
            if (std::FILE* out = std::fopen(argv[3], "a")) {
                std::fprintf(out, "%d %d %d %d %zu\n", c.shape.v, c.shape.k, c.shape.t, c.shape.m,
                             r.games.size());
                for (const WheelMask g : r.games) {
                    for (const int n : WheelNumbersOf(g))
                        std::fprintf(out, " %d", n);
                    std::fprintf(out, "\n");
                }
                std::fclose(out);
            }
        }
    }
    return 0;
}
