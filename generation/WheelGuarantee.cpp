#include "WheelGuarantee.h"

#include <array>
#include <bit>

WheelMask WheelMaskOf(std::span<const int> numbers) {
    WheelMask m = 0;
    for (const int n : numbers)
        if (n >= 1 && n <= 64)
            m |= WheelMask{1} << (n - 1);
    return m;
}

std::vector<int> WheelNumbersOf(WheelMask mask) {
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(std::popcount(mask)));
    while (mask) {
        out.push_back(std::countr_zero(mask) + 1);
        mask &= mask - 1;
    }
    return out;
}

// The count of common numbers is the inner loop: a build for processors with a popcount
// instruction is chosen at load time where there is one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("popcnt", "default")))
#endif
WheelCheck
CheckWheel(WheelMask chosen, std::span<const WheelMask> games, int t, int m) {
    WheelCheck result;
    std::array<WheelMask, 64> bits{};
    int v = 0;
    for (WheelMask rest = chosen; rest; rest &= rest - 1)
        bits[static_cast<std::size_t>(v++)] = rest & (~rest + 1);
    if (m < 0 || m > v || t <= 0) {
        // No m-set to meet, or nothing to meet it with.
        result.holds = true;
        return result;
    }
    // Only the chosen part of a game matters, and a game with fewer than t chosen numbers can
    // meet no m-set in t of them.
    std::vector<WheelMask> useful;
    useful.reserve(games.size());
    for (const WheelMask g : games)
        if (std::popcount(g & chosen) >= t)
            useful.push_back(g & chosen);
    const std::size_t count = useful.size();

    // The m-set as indices i[0] < ... < i[m-1] into the chosen numbers, and prefix masks so that
    // moving to the next set rebuilds only the positions that changed.
    std::array<int, 64> idx{};
    std::array<WheelMask, 65> prefix{};
    for (int j = 0; j < m; ++j) {
        idx[static_cast<std::size_t>(j)] = j;
        prefix[static_cast<std::size_t>(j + 1)] =
            prefix[static_cast<std::size_t>(j)] | bits[static_cast<std::size_t>(j)];
    }
    std::size_t last = 0; // the game that met the previous m-set
    const auto ms = static_cast<std::size_t>(m);
    for (;;) {
        const WheelMask set = prefix[ms];
        ++result.setsChecked;
        bool met = false;
        for (std::size_t n = 0; n < count; ++n) {
            std::size_t g = last + n;
            if (g >= count)
                g -= count;
            if (std::popcount(set & useful[g]) >= t) {
                last = g;
                met = true;
                break;
            }
        }
        if (!met) {
            result.failing = set;
            return result;
        }
        // The next m-set in lexicographic order.
        int j = m - 1;
        while (j >= 0 && idx[static_cast<std::size_t>(j)] == v - m + j)
            --j;
        if (j < 0)
            break;
        ++idx[static_cast<std::size_t>(j)];
        for (int l = j; l < m; ++l) {
            const auto L = static_cast<std::size_t>(l);
            if (l > j)
                idx[L] = idx[L - 1] + 1;
            prefix[L + 1] = prefix[L] | bits[static_cast<std::size_t>(idx[L])];
        }
    }
    result.holds = true;
    return result;
}
