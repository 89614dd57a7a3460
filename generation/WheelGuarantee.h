#pragma once

#include <QtGlobal>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Sets of numbers 1..60 as 64-bit masks: number n is bit n - 1.
using WheelMask = std::uint64_t;

WheelMask WheelMaskOf(std::span<const int> numbers);
std::vector<int> WheelNumbersOf(WheelMask mask);

// What the exhaustive check of a wheel found.
struct WheelCheck {
    bool holds = false;
    // The first m-set of the chosen numbers (in ascending lexicographic order) that no game meets
    // in t numbers; absent when the guarantee holds.
    std::optional<WheelMask> failing;
    qint64 setsChecked = 0;
};

// Proves or refutes a wheel's guarantee: every m-subset of `chosen` meets at least one of `games`
// in t or more numbers. The m-sets are enumerated one by one (memory does not grow with their
// count), each tested against the game that met the previous set first, then against the others.
// A game may hold numbers outside `chosen`; only its common part counts. With m above the count of
// chosen numbers there is no m-set to meet, and with t <= 0 every set is met: the guarantee holds.
WheelCheck CheckWheel(WheelMask chosen, std::span<const WheelMask> games, int t, int m);
