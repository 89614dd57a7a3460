#pragma once

#include "Prompter.h"
#include "WheelSearch.h"

#include <QString>
#include <vector>

// A group of permutations of the positions 0..v-1, given by its generators (each the image of
// every position). Many of the smallest coverings known are invariant under such a group: a wheel
// made of whole orbits of games, searched among far fewer choices than the games themselves.
struct WheelGroup {
    int v = 0;
    std::vector<std::vector<int>> generators;
};

// A group from a short description over v positions, or an error message in Portuguese:
// "19" a 19-cycle on the positions 0..18 (the others fixed); "3x6" six 3-cycles on 0..17;
// "5x4+3" four 5-cycles and one 3-cycle; a trailing "*a" on a single prime cycle p also maps
// x to a·x mod p on it (the affine group of order p times the order of a). Several generators are
// joined by ",": "19,19*7". "25^" is the additive group of the field of 25 elements on the
// positions 0..24 (a prime power q up to 64), and "25^n" the multiplication by x^n, x a primitive
// element of that field, "25^f" its automorphism a -> a^5: "25^,25^8" is the affine group of
// order 75, "25^,25^6,25^f" a group of order 200.
struct WheelGroupParse {
    WheelGroup group;
    QString error;
};
WheelGroupParse ParseWheelGroup(int v, const QString& text);

// Every element of the group the generators make (the identity first); empty when a generator is
// not a permutation of 0..v-1. The group must be small (its order is capped at 100000).
std::vector<std::vector<int>> GroupElements(const WheelGroup& group);

struct WheelOrbitOptions {
    quint64 seed = 1;
    qint64 timeLimitMs = 60000;
    int stopAt = 0; // the search ends when a wheel of this many games or fewer is proven
    // Swaps of whole orbits only when no move of one number covers the target: cheaper moves, which
    // pays where many orbits hold each t-set (t = 3).
    bool numberMovesFirst = false;
};

struct WheelOrbitResult {
    // The games (positions 0..v-1), a union of orbits of the group, proven by CheckWheel.
    std::vector<WheelMask> games;
    int orbits = 0;     // the orbits of games in the wheel
    int groupOrder = 0; // elements of the group
    int gameOrbits = 0; // orbits of k-sets the search chose among
    int setOrbits = 0;  // orbits of t-sets to cover
    qint64 moves = 0;
    double seconds = 0.0;
};

// Searches for a covering C(v, k, t) (the shape's m must equal t) invariant under the group: the
// wheel is a union of orbits of k-sets, and the cost is the count of orbits of t-sets no chosen
// orbit holds (an orbit of t-sets is covered as soon as one of its sets lies in a chosen game).
// A greedy choice of orbits comes first; then a weighted local search at a fixed budget of games
// (the orbits of t-sets that stay uncovered weigh more and more) swaps a chosen orbit for one
// holding an uncovered t-set: the orbit of its representative with one number moved, or any orbit
// holding that t-set; each cover found lowers the budget by one game. Orbits fixed by part of the
// group are shorter and counted at their own size. Returns no games when the shape or the group
// does not fit (m != t, generators that are not permutations of 0..v-1, v >= 64).
// `progress` hears the elapsed milliseconds and the best count; a false answer ends the search.
WheelOrbitResult SearchOrbitWheel(const WheelShape& shape, const WheelGroup& group,
                                  const WheelOrbitOptions& options, Progress& progress);
