#include "GamesTable.h"

#include "GameMeasures.h"

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
    const int cartao = games.fieldIndex(u"Cartao");
    const auto number = [](std::optional<double> v) -> std::optional<double> {
        if (!v || *v != *v || *v < 0 || *v > 9.0e15)
            return std::nullopt;
        return v;
    };
    std::optional<double> highest;
    if (games.indexFieldNames().trimmed().compare(QLatin1String("Cartao"), Qt::CaseInsensitive) == 0) {
        // In game order the highest number is the last row's.
        if (games.rowCount() > 0)
            highest = number(games.rowAt(games.rowCount() - 1).realValue(cartao));
    } else {
        // Any other order (the games grid may show them by hits) is searched whole.
        for (int i = 0; i < games.rowCount(); ++i)
            if (const auto v = number(games.rowAt(i).realValue(cartao)); v && (!highest || *v > *highest))
                highest = v;
    }
    return highest ? static_cast<qint64>(*highest) + 1 : 1;
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

void AppendGame(Table& games, const GameFields& f, qint64 cartao, std::span<const int> ascending,
                const GameRowFields& written, const std::optional<GameMeasures>& measures) {
    games.insert();
    games.setReal(f.cartao, static_cast<double>(cartao));
    if (!written.emite.isEmpty())
        games.setText(f.emite, written.emite);
    if (written.todos)
        games.setText(f.todos, TodosText(ascending));
    if (written.linhas || written.paresAbaixo) {
        const GameMeasures m = measures ? *measures : MeasureGame(ascending);
        if (written.paresAbaixo) {
            games.setInteger(f.pares, m.pares);
            games.setInteger(f.abaixo, m.abaixo);
        }
        if (written.linhas)
            games.setInteger(f.linhas, m.linhas);
    }
    games.setInteger(f.dezenas, static_cast<int>(ascending.size()));
    for (std::size_t i = 0; i < ascending.size() && i < f.d.size(); ++i)
        games.setInteger(f.d[i], ascending[i]);
    games.post();
}
