#pragma once

#include "Prompter.h"

#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

// What the benchmarks share: a clock and its milliseconds, games made alike from a seed, and a
// player who answers Yes to every question.
namespace bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

inline double ms(qint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / 1.0e6;
}

inline double ms(const QElapsedTimer& t) {
    return ms(t.nsecsElapsed());
}

// `count` games, numbers ascending, from `seed`: three in four of 6 numbers, the others of 6 to 15,
// as a player's list of simple and larger bets.
inline std::vector<std::vector<int>> mixedGames(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<int> deck(60);
    for (int i = 0; i < 60; ++i)
        deck[static_cast<std::size_t>(i)] = i + 1;
    std::vector<std::vector<int>> games(static_cast<std::size_t>(count));
    for (auto& g : games) {
        const int size = rng() % 4 == 0 ? 6 + static_cast<int>(rng() % 10) : 6;
        std::shuffle(deck.begin(), deck.end(), rng);
        g.assign(deck.begin(), deck.begin() + size);
        std::sort(g.begin(), g.end());
    }
    return games;
}

class AlwaysYes final : public Prompter {
public:
    void inform(const Message&) override {}
    bool ask(const Message&) override { return true; }
};

} // namespace bench
