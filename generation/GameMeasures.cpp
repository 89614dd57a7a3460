#include "GameMeasures.h"

GameMeasures MeasureGame(std::span<const int> ascending) {
    GameMeasures m;
    unsigned rows = 0;
    for (const int n : ascending) {
        if (n % 2 == 0)
            ++m.pares;
        if (n <= 30)
            ++m.abaixo;
        if (n >= 1 && n <= 60)
            rows |= 1u << ((n - 1) / 10);
    }
    for (unsigned r = rows; r; r &= r - 1)
        ++m.linhas;
    if (!ascending.empty()) {
        m.first = ascending.front();
        m.last = ascending.back();
    }
    return m;
}

QString TodosText(std::span<const int> ascending) {
    QString s;
    s.reserve(static_cast<qsizetype>(ascending.size() * 2));
    for (const int n : ascending) {
        s += QLatin1Char(static_cast<char>('0' + (n / 10) % 10));
        s += QLatin1Char(static_cast<char>('0' + n % 10));
    }
    return s;
}
