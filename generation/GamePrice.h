#pragma once

#include <QString>
#include <QtGlobal>

// The price of one game: 2,00 for each of the 6-number bets it holds, C(size, 6). Money is kept in
// whole centavos so that totals over millions of games stay exact. Sizes outside 6..15 cost 0.
qint64 GamePriceCents(int size);
// The same price in reais (2,00 for 6 numbers, 10.010,00 for 15).
double GamePrice(int size);

// An amount of centavos with the pattern "##,##0.00" and the separators of the default locale
// (1.000.000,00 under the Brazilian settings); the thousands are always grouped.
QString FormatMoney(qint64 cents);
