#include "PrizeTiers.h"

NumberMask MaskOf(std::span<const int> numbers) {
    NumberMask m = 0;
    for (const int n : numbers)
        if (n >= 1 && n <= 60)
            m |= NumberMask{1} << n;
    return m;
}

qint64 Choose(int n, int k) {
    if (k < 0 || n < 0 || k > n)
        return 0;
    qint64 c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * (n - k + i) / i; // exact at every step: a product of i consecutive numbers over i!
    return c;
}

PrizeTiers PrizeTiersOf(int size, int hits) {
    if (size < 6 || hits < 0 || hits > 6 || hits > size)
        return {};
    const int misses = size - hits;
    return {Choose(hits, 6), Choose(hits, 5) * misses, Choose(hits, 4) * Choose(misses, 2)};
}
