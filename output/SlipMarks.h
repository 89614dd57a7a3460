#pragma once

#include <array>

// The state of every mark of a bet slip: the 60 numbers of each of the three blocks (marks d11 to
// d360), the game sizes 6 to 15 (a6 to a15) and the teimosinha of 2, 4 or 8 draws (t2, t4, t8).
// true is marked (printed black), false unmarked (white). Both slip layouts draw from one of these.
struct SlipMarks {
    std::array<std::array<bool, 60>, 3> numbers{}; // [block 0..2][number - 1]
    std::array<bool, 10> sizes{};                  // [size - 6]
    bool t2 = false, t4 = false, t8 = false;

    bool number(int block, int n) const {
        return numbers[static_cast<std::size_t>(block - 1)][static_cast<std::size_t>(n - 1)];
    }
    bool size(int s) const { return sizes[static_cast<std::size_t>(s - 6)]; }
    friend bool operator==(const SlipMarks&, const SlipMarks&) = default;
};
