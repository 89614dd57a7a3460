#include "GamesSummary.h"

#include "GamePrice.h"
#include "GamesTable.h"

#include <array>

namespace {

// The text between the count and the amount of each cost line: the size and the price of one game
// of that size at the price of a simple bet in force (" jogos com 7 dezenas x 42,00 = ").
QString costText(int size) {
    return QStringLiteral(" jogos com %1 dezenas x %2 = ").arg(size).arg(FormatMoney(GamePriceCents(size)));
}

QString evenText(int k) {
    if (k == 0)
        return QStringLiteral(" jogos sem dezenas pares ");
    if (k == 1)
        return QStringLiteral(" jogos com 1 dezena par ");
    return QStringLiteral(" jogos com %1 dezenas pares ").arg(k);
}

QString rowText(int r) {
    if (r == 1)
        return QStringLiteral(" jogos com 1 linha com dezenas ");
    return QStringLiteral(" jogos com %1 linhas com dezenas ").arg(r);
}

} // namespace

QStringList RefreshGamesSummary(const Table& games) {
    const GameFields f(games);
    std::array<qint64, 16> evens{}; // [Pares 0..15]
    std::array<qint64, 7> rows{};   // [Linhas 1..6]
    std::array<qint64, 16> sizes{}; // [size 6..15]

    const int count = games.rowCount();
    for (int i = 0; i < count; ++i) {
        const RowRef row = games.rowAt(i);
        if (const auto p = row.intValue(f.pares); p && *p >= 0 && *p <= 15)
            ++evens[static_cast<std::size_t>(*p)];
        if (const auto l = row.intValue(f.linhas); l && *l >= 1 && *l <= 6)
            ++rows[static_cast<std::size_t>(*l)];
        int size = 0;
        while (size < 15) {
            const auto v = row.intValue(f.d[static_cast<std::size_t>(size)]);
            if (!v || *v <= 0)
                break;
            ++size;
        }
        if (size >= 6)
            ++sizes[static_cast<std::size_t>(size)];
    }

    QStringList lines;
    qint64 total = 0;
    for (int size = 6; size <= 15; ++size) {
        const qint64 c = sizes[static_cast<std::size_t>(size)];
        if (c == 0)
            continue;
        const qint64 amount = c * GamePriceCents(size);
        total += amount;
        lines << QString::number(c) + costText(size) + FormatMoney(amount);
    }
    if (total > 0)
        lines << QStringLiteral("Total dos jogos:") + FormatMoney(total);
    lines << QString();
    for (int k = 0; k <= 15; ++k)
        if (const qint64 c = evens[static_cast<std::size_t>(k)]; c > 0)
            lines << QString::number(c) + evenText(k);
    lines << QString();
    for (int r = 1; r <= 6; ++r)
        if (const qint64 c = rows[static_cast<std::size_t>(r)]; c > 0)
            lines << QString::number(c) + rowText(r);
    return lines;
}
