#pragma once

#include "Money.h"

#include <QString>
#include <QtGlobal>

// The price of one game: the price of a simple bet (one 6-number bet) for each of the 6-number
// bets it holds, C(size, 6). Money is kept in whole centavos so that totals over millions of games
// stay exact. Sizes outside 6..15 cost 0.

// What a simple bet costs since 10 July 2025 (draw 2887): what a folder without a price of its
// own uses.
inline constexpr Centavos kDefaultBetPrice = 600;

// The price of a simple bet in force in this run: the player's (the window sets it from the
// working folder at start-up and when the player changes it), kDefaultBetPrice until then.
Centavos SimpleBetPrice();
// Sets the price in force; a price that is not positive leaves it as it was.
void SetSimpleBetPrice(Centavos price);

// The price of a game of `size` numbers at `betPrice` a simple bet.
Centavos GamePriceCents(int size, Centavos betPrice);
// The same at the price in force (6,00 for 6 numbers and 30.030,00 for 15 at the default).
Centavos GamePriceCents(int size);
// The same price in reais, for callers that show it through a number format.
double GamePrice(int size);

// How many simple bets a game of `size` numbers holds: C(size, 6), 0 outside 6..15.
qint64 BetsOfSix(int size);
