#include "GamePrice.h"

#include <QLocale>

namespace {
qint64 betsOfSix(int size) {
    qint64 c = 1;
    for (int i = 0; i < 6; ++i)
        c = c * (size - i) / (i + 1); // each partial product is itself a binomial: exact
    return c;
}
} // namespace

qint64 GamePriceCents(int size) {
    return size < 6 || size > 15 ? 0 : 200 * betsOfSix(size);
}

double GamePrice(int size) {
    return static_cast<double>(GamePriceCents(size)) / 100.0;
}

QString FormatMoney(qint64 cents) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::NumberOptions(QLocale::OmitGroupSeparator));
    const bool negative = cents < 0;
    const quint64 magnitude = negative ? 0 - static_cast<quint64>(cents) : static_cast<quint64>(cents);
    const quint64 units = magnitude / 100;
    const quint64 fraction = magnitude % 100;
    QString s = locale.toString(static_cast<qulonglong>(units));
    s += locale.decimalPoint();
    s += QLatin1Char(static_cast<char>('0' + fraction / 10));
    s += QLatin1Char(static_cast<char>('0' + fraction % 10));
    return negative ? locale.negativeSign() + s : s;
}
