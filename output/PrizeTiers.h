#pragma once

#include <QtGlobal>
#include <bit>
#include <span>

// The numbers of a game or a draw as a set: bit n stands for number n (1 to 60).
using NumberMask = quint64;

// The set of the numbers from 1 to 60 among `numbers`; others (0, empty, out of range) are left out
// and a repeated number counts once.
NumberMask MaskOf(std::span<const int> numbers);

inline int CountOf(NumberMask m) {
    return std::popcount(m);
}

// What a game holds against one draw, counted as the lottery pays it: every 6-number bet the game
// contains is one bet, and it wins a sena with 6 hits, a quina with 5 and a quadra with 4.
struct PrizeTiers {
    qint64 senas = 0;
    qint64 quinas = 0;
    qint64 quadras = 0;

    bool any() const { return senas > 0 || quinas > 0 || quadras > 0; }
    PrizeTiers& operator+=(const PrizeTiers& o) {
        senas += o.senas;
        quinas += o.quinas;
        quadras += o.quadras;
        return *this;
    }
    friend bool operator==(const PrizeTiers&, const PrizeTiers&) = default;
};

// The prizes of a game of `size` numbers with `hits` of the six drawn: C(hits, 6) senas,
// C(hits, 5) x (size - hits) quinas and C(hits, 4) x C(size - hits, 2) quadras. A game of fewer
// than six numbers contains no bet and wins nothing; hits above six or above the size are refused
// as nothing too.
PrizeTiers PrizeTiersOf(int size, int hits);

// The prizes of the game `game` against the draw `draw`.
inline PrizeTiers PrizeTiersOf(NumberMask game, NumberMask draw) {
    return PrizeTiersOf(CountOf(game), CountOf(game & draw));
}

// n choose k for the small numbers of a game (0 when k is out of 0..n).
qint64 Choose(int n, int k);
