#include "CountText.h"

#include <QLocale>
#include <cmath>

double FloatCombinations(int n, int k) {
    if (n < 0 || k < 0 || k > n)
        return 0.0;
    const int r = std::max(k, n - k);
    double b = 1.0;
    for (int i = n; i > r; --i)
        b *= static_cast<double>(i);
    double c = 1.0;
    for (int i = 2; i <= n - r; ++i)
        c *= static_cast<double>(i);
    return b / c;
}

QString CountText(double value) {
    if (!std::isfinite(value))
        return QString();
    // Two decimals, rounded the way the pattern rounds, then the zero decimals dropped.
    QString s = QLocale().toString(value, 'f', 2);
    const QString point = QLocale().decimalPoint();
    const qsizetype at = s.lastIndexOf(point);
    if (at >= 0) {
        qsizetype end = s.size();
        while (end > at + point.size() && s.at(end - 1) == QLatin1Char('0'))
            --end;
        if (end == at + point.size())
            end = at;
        s.truncate(end);
    }
    // "#" forces no digit: a value that rounds to zero has nothing to show.
    if (s == QLatin1String("0") || s == QLatin1String("-0"))
        return QString();
    if (s.startsWith(QLatin1String("0")) && s.size() > 1 && s.mid(1).startsWith(point))
        s.remove(0, 1);
    return s;
}

QString GroupedCountText(qint64 value) {
    if (value == 0)
        return QString();
    return QLocale().toString(value);
}
