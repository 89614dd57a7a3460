#include "GamesTable.h"

GameFields::GameFields(const Table& t)
    : cartao(t.fieldIndex(u"Cartao")), emite(t.fieldIndex(u"Emite")), pares(t.fieldIndex(u"Pares")),
      linhas(t.fieldIndex(u"Linhas")), abaixo(t.fieldIndex(u"Abaixo")), dezenas(t.fieldIndex(u"Dezenas")),
      acertos(t.fieldIndex(u"Acertos")), todos(t.fieldIndex(u"Todos")) {
    for (int i = 0; i < 15; ++i) {
        d[static_cast<std::size_t>(i)] = t.fieldIndex(QStringLiteral("d%1").arg(i + 1));
        ad[static_cast<std::size_t>(i)] = t.fieldIndex(QStringLiteral("ad%1").arg(i + 1));
    }
}

qint64 NextGameNumber(Table& games) {
    if (games.rowCount() == 0)
        return 1;
    const RowRef last = games.rowAt(games.rowCount() - 1);
    const auto v = last.realValue(games.fieldIndex(u"Cartao"));
    if (!v || *v != *v || *v < 0 || *v > 9.0e15)
        return 1;
    return static_cast<qint64>(*v) + 1;
}

int ReadGameNumbers(const RowRef& row, const GameFields& f, std::array<int, 15>& out) {
    int n = 0;
    for (int i = 0; i < 15; ++i) {
        const auto v = row.intValue(f.d[static_cast<std::size_t>(i)]);
        if (!v || *v <= 0)
            break;
        out[static_cast<std::size_t>(n++)] = *v;
    }
    return n;
}
