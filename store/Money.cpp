#include "Money.h"

#include <QLocale>
#include <cmath>

namespace {

// A hundred trillion reais: far beyond any prize or any sum of games, far inside 64 bits.
constexpr Centavos kMostCents = Centavos{10'000'000'000'000'000};

bool isBlank(QChar c) {
    return c.isSpace() || c == QChar(0xA0);
}

QStringView trimmedBlanks(QStringView s) {
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

bool allDigits(QStringView s) {
    if (s.isEmpty())
        return false;
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// "1.714.650" -> 1714650 when the dots group thousands properly (1 to 3 digits, then groups of 3),
// or digits without any dot.
std::optional<Centavos> groupedUnits(QStringView s) {
    const qsizetype firstDot = s.indexOf(u'.');
    if (firstDot < 0) {
        if (!allDigits(s) || s.size() > 15)
            return std::nullopt;
        return s.toLongLong();
    }
    if (firstDot == 0 || firstDot > 3)
        return std::nullopt;
    Centavos units = 0;
    qsizetype at = 0;
    bool first = true;
    while (at <= s.size()) {
        qsizetype dot = s.indexOf(u'.', at);
        if (dot < 0)
            dot = s.size();
        const QStringView group = s.sliced(at, dot - at);
        if (!allDigits(group) || (!first && group.size() != 3))
            return std::nullopt;
        units = units * (first ? 1 : 1000) + group.toLongLong();
        if (units > kMostCents / 100)
            return std::nullopt;
        first = false;
        at = dot + 1;
        if (dot == s.size())
            break;
    }
    return units;
}

std::optional<Centavos> withinRange(Centavos c) {
    if (c < 0 || c > kMostCents)
        return std::nullopt;
    return c;
}

// The Brazilian form: thousands grouped by dots (or not at all), a comma and one or two decimals.
std::optional<Centavos> brazilian(QStringView s) {
    const qsizetype comma = s.indexOf(u',');
    const QStringView whole = comma < 0 ? s : s.first(comma);
    const auto units = groupedUnits(whole);
    if (!units)
        return std::nullopt;
    Centavos cents = 0;
    if (comma >= 0) {
        const QStringView decimals = s.sliced(comma + 1);
        if (!allDigits(decimals) || decimals.size() > 2)
            return std::nullopt;
        cents = decimals.toLongLong() * (decimals.size() == 1 ? 10 : 1);
    }
    return withinRange(*units * 100 + cents);
}

// A plain number as a program writes it: digits, at most one dot, perhaps an exponent.
std::optional<Centavos> plainNumber(QStringView s) {
    bool seenDot = false;
    qsizetype i = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'.' && !seenDot)
            seenDot = true;
        else if (c < u'0' || c > u'9')
            break;
    }
    if (i == 0 || (i == 1 && seenDot))
        return std::nullopt;
    if (i < s.size()) {
        // Only an exponent may follow: E, a sign perhaps, digits.
        QStringView e = s.sliced(i);
        if (e.front() != u'E' && e.front() != u'e')
            return std::nullopt;
        e = e.sliced(1);
        if (!e.isEmpty() && (e.front() == u'+' || e.front() == u'-'))
            e = e.sliced(1);
        if (!allDigits(e))
            return std::nullopt;
    }
    bool ok = false;
    const double d = s.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return MoneyOfNumber(d);
}

} // namespace

std::optional<Centavos> MoneyOfNumber(double reais) {
    if (!std::isfinite(reais) || reais < 0 || reais > static_cast<double>(kMostCents / 100))
        return std::nullopt;
    const double cents = reais * 100.0;
    const double whole = std::round(cents);
    // A number cell holds the nearest double to the amount: within a millionth of a centavo per
    // real of it, or so for the amounts a prize reaches.
    if (std::abs(cents - whole) > 1e-6 * std::max(1.0, whole / 1e8))
        return std::nullopt;
    return withinRange(static_cast<Centavos>(whole));
}

std::optional<Centavos> ParseMoney(QStringView text, MoneyText form) {
    QStringView s = trimmedBlanks(text);
    if (s.startsWith(u"R$"))
        s = trimmedBlanks(s.sliced(2));
    if (s.isEmpty())
        return std::nullopt;
    if (s.contains(u','))
        return brazilian(s);
    // Without a comma, a dot is a thousands separator when it groups them properly ("1.151" is a
    // thousand reais, as three decimals never are); otherwise, in a file, a decimal point.
    if (const auto grouped = brazilian(s))
        return grouped;
    if (form == MoneyText::File)
        return plainNumber(s);
    return std::nullopt;
}

QString FormatMoney(Centavos cents) {
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

QString MoneyFileText(Centavos cents) {
    const bool negative = cents < 0;
    const quint64 magnitude = negative ? 0 - static_cast<quint64>(cents) : static_cast<quint64>(cents);
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}
