#include "Filters.h"

#include <limits>

std::optional<int> WholeNumber(QStringView text) {
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t.at(0) == QLatin1Char('+') || t.at(0) == QLatin1Char('-')) {
        negative = t.at(0) == QLatin1Char('-');
        i = 1;
    }
    if (i == t.size())
        return std::nullopt;
    // Accumulated as a negative value so that the most negative 32-bit number is readable too.
    constexpr qint64 limit = qint64{std::numeric_limits<int>::max()} + 1;
    qint64 v = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > limit)
            return std::nullopt;
    }
    if (!negative && v == limit)
        return std::nullopt;
    return static_cast<int>(negative ? -v : v);
}

IntRange ParseRange(QStringView text, int defaultMin, int defaultMax, int minIfInvalid) {
    if (text.isEmpty())
        return {defaultMin, defaultMax};
    const QStringView head = text.left(10);
    const qsizetype dash = head.indexOf(QLatin1Char('-'));
    const qsizetype p = dash >= 0 ? dash + 1 : 10; // counted from 1
    const QStringView minPiece = head.left(p - 1);
    const QStringView maxPiece = p < head.size() ? head.mid(p) : QStringView();
    IntRange r;
    r.min = WholeNumber(minPiece).value_or(minIfInvalid);
    r.max = WholeNumber(maxPiece).value_or(r.min);
    if (r.max < r.min)
        r.max = r.min;
    return r;
}

int ReadBound(QStringView text) {
    return WholeNumber(text).value_or(0);
}

bool PassesFilters(const GameMeasures& m, const FilterSettings& s) {
    return m.first <= s.dezenaInicial && m.last >= s.dezenaFinal && m.pares >= s.paresMin &&
           m.pares <= s.paresMax && m.linhas >= s.linhasMin && m.linhas <= s.linhasMax;
}

namespace {

FilterSettings readStrip(const FilterTexts& texts, int paresDefaultMin, int paresMinIfInvalid) {
    FilterSettings s;
    const IntRange pares = ParseRange(texts.pares, paresDefaultMin, 15, paresMinIfInvalid);
    const IntRange linhas = ParseRange(texts.linhas, 1, 6, 1);
    s.paresMin = pares.min;
    s.paresMax = pares.max;
    s.linhasMin = linhas.min;
    s.linhasMax = linhas.max;
    s.dezenaInicial = ReadBound(texts.inicial);
    s.dezenaFinal = ReadBound(texts.final);
    return s;
}

} // namespace

FilterSettings RandomFilterSettings(const FilterTexts& texts) {
    return readStrip(texts, 0, 0);
}

FilterSettings CombinationFilterSettings(const FilterTexts& texts) {
    return readStrip(texts, 1, 1);
}
