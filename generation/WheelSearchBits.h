#pragma once

#include "WheelGuarantee.h"

#include <chrono>
#include <cstddef>
#include <random>

// What the two wheel searches share: their clock, their seeded generator, and the bit of a
// number's position in a game's mask.
namespace WheelSearchBits {

using Clock = std::chrono::steady_clock;
using Rng = std::mt19937_64;

constexpr WheelMask bit(int i) {
    return WheelMask{1} << i;
}

// A uniform index below n (n > 0).
inline std::size_t below(Rng& rng, std::size_t n) {
    return static_cast<std::size_t>(rng() % n);
}

} // namespace WheelSearchBits
