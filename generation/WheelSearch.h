#pragma once

#include "Prompter.h"
#include "WheelGuarantee.h"

#include <QtGlobal>
#include <vector>

// The shape of a wheel: v chosen numbers, games of k of them, and the guarantee that whenever m of
// the drawn numbers are among the chosen ones, some game holds t of them. m = t is a covering
// design C(v, k, t); m > t a lotto design, which needs fewer games.
struct WheelShape {
    int v = 0;
    int k = 6;
    int t = 3;
    int m = 3;
    friend bool operator==(const WheelShape&, const WheelShape&) = default;
};

// The binomial coefficient C(n, r), exact for the sizes a wheel meets (n <= 64); 0 when r < 0 or
// r > n.
qint64 Binomial(int n, int r);

// The Schönheim lower bound of a covering: L(v, k, t) = ceil(v/k ceil((v-1)/(k-1) ...
// ceil((v-t+1)/(k-t+1))...)). No covering C(v, k, t) has fewer games.
qint64 SchonheimBound(int v, int k, int t);

// A lower bound valid for every shape: the m-sets to meet, divided by the most that one game can
// meet in t numbers (a lotto design cannot beat it); for m = t the Schönheim bound, which is
// stronger.
qint64 WheelLowerBound(const WheelShape& s);

struct WheelSearchOptions {
    quint64 seed = 1;           // the same seed and shape give the same wheel
    qint64 timeLimitMs = 10000; // the search stops lowering the count after this long
    // The search stops when the annealing failed this many times in a row at one count.
    int failuresToStop = 6;
};

struct WheelSearchResult {
    // The games as sets of positions 0..v-1 (bit i is the i-th chosen number), each proven by
    // CheckWheel to give the guarantee together; no game repeats.
    std::vector<WheelMask> games;
    int greedyGames = 0;    // the count of the first cover, before the annealing lowered it
    bool cancelled = false; // the player stopped the search; `games` is the best wheel it had proven
    bool optimal = false;   // the count reached the lower bound
    qint64 moves = 0;       // annealing moves tried
    double seconds = 0.0;
};

// Finds a small wheel of the shape: a greedy cover first, or the wheel found beforehand when it is
// smaller (so a proven wheel exists from the start), then a local search at a fixed count of games
// (the cost is the count of m-sets no game meets in t numbers; a move swaps one number of one game
// for one outside it, aimed at an m-set left unmet): simulated annealing, and for a covering a
// weighted search after it; the count is lowered by one each time a cover is reached, and each
// wheel kept is proven by CheckWheel. The shape must satisfy
// 1 <= t <= m <= v, t <= k <= v and v <= 60. `progress` gets the elapsed milliseconds against the
// time limit and the games of the best wheel; a false answer ends the search with that wheel.
WheelSearchResult SearchWheel(const WheelShape& shape, const WheelSearchOptions& options, Progress& progress);
