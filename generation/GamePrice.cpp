#include "GamePrice.h"

namespace {
Centavos priceInForce = kDefaultBetPrice;
} // namespace

Centavos SimpleBetPrice() {
    return priceInForce;
}

void SetSimpleBetPrice(Centavos price) {
    if (price > 0)
        priceInForce = price;
}

qint64 BetsOfSix(int size) {
    if (size < 6 || size > 15)
        return 0;
    qint64 c = 1;
    for (int i = 0; i < 6; ++i)
        c = c * (size - i) / (i + 1); // each partial product is itself a binomial: exact
    return c;
}

Centavos GamePriceCents(int size, Centavos betPrice) {
    return betPrice * BetsOfSix(size);
}

Centavos GamePriceCents(int size) {
    return GamePriceCents(size, priceInForce);
}

double GamePrice(int size) {
    return static_cast<double>(GamePriceCents(size)) / 100.0;
}
