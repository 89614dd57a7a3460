#pragma once

#include "GamePrizes.h"
#include "PrizeTiers.h"

#include <array>
#include <vector>

// Games and draws as the prize computations take them, written as plain lists of numbers.

inline GameNumbers gameOf(qint64 number, const std::vector<int>& numbers) {
    GameNumbers g;
    g.game = number;
    g.size = static_cast<quint8>(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        g.numbers[i] = static_cast<quint8>(numbers[i]);
    g.mask = MaskOf(numbers);
    return g;
}

inline ResultDraw drawOf(qint32 concurso, const std::array<int, 6>& numbers) {
    return {concurso, numbers, MaskOf(numbers)};
}
