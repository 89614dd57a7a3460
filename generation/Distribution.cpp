#include "Distribution.h"

#include "Schemas.h"
#include "TableError.h"

#include <QStringList>

PerGameInput ReadPerGame(const QString& editMax) {
    bool ok = false;
    const int n = editMax.trimmed().toInt(&ok);
    PerGameInput in;
    in.perGame = ok ? n : 0;
    if (in.perGame < 6 || in.perGame > 15)
        in.refusal = Message{QStringLiteral("Dezenas inválidas"),
                             QStringLiteral("O número de dezenas por cartão deve variar de 6 a 15.")};
    return in;
}

void PrepareGamesTable(Tables& t) {
    Table& car = t.TableCar;
    car.close();
    car.setIndexFieldNames(QStringLiteral("Cartao"));
    if (!car.fileExists()) {
        car.defineFields(Schemas::games());
        car.create();
    }
    car.open();
}

Deal DealNumbers(Tables& t, const NumberFlags& discarded, int perGame) {
    Table& aval = t.TableAval;
    Deal deal;
    // Ascending number breaks ties of equal weight, so that a deal is always the same.
    aval.setIndexFieldNames(QStringLiteral("Nota;Dezena"));
    aval.open();
    const int desprezada = aval.fieldIndex(u"Desprezada");
    const int cartao = aval.fieldIndex(u"Cartao");
    {
        const Table::BulkChange bulk(aval);
        for (int k = 1; k <= 60; ++k) {
            if (!aval.locate(u"Dezena", k))
                continue;
            const bool out = discarded[static_cast<std::size_t>(k - 1)];
            aval.edit();
            aval.setInteger(cartao, 0);
            aval.setText(desprezada, out ? QStringLiteral("S") : QStringLiteral("N"));
            aval.post();
            if (!out) {
                deal.inPlay[static_cast<std::size_t>(k - 1)] = true;
                ++deal.valid;
            }
        }

        const int a = perGame > 0 ? deal.valid / perGame : 0;
        deal.fullGames = a;
        int dealt = 0;
        int b = a;
        for (aval.first(); !aval.eof(); aval.next()) {
            if (aval.text(desprezada) != QStringLiteral("N"))
                continue;
            aval.edit();
            if (dealt < a * perGame) {
                b = b < a ? b + 1 : 1;
                aval.setInteger(cartao, b);
                ++dealt;
            } else {
                aval.setInteger(cartao, a + 1); // the leftover game, the numbers of highest weight
            }
            aval.post();
        }
    }
    return deal;
}

void BuildDistributedGames(Tables& t) {
    Table& dis = t.TableDis;
    Table& aval = t.TableAval;
    dis.close();
    dis.defineFields(Schemas::distributed());
    dis.create();
    const int disCartao = dis.fieldIndex(u"Cartao");
    std::array<int, 15> d{};
    for (int i = 0; i < 15; ++i)
        d[static_cast<std::size_t>(i)] = dis.fieldIndex(QStringLiteral("d%1").arg(i + 1));

    aval.setIndexFieldNames(QStringLiteral("Cartao;Dezena"));
    aval.open();
    const int dezena = aval.fieldIndex(u"Dezena");
    const int desprezada = aval.fieldIndex(u"Desprezada");
    const int cartao = aval.fieldIndex(u"Cartao");
    aval.first();
    while (!aval.eof()) {
        if (aval.text(desprezada) != QStringLiteral("N")) {
            aval.next();
            continue;
        }
        const int g = aval.intValue(cartao).value_or(0);
        dis.insert();
        dis.setInteger(disCartao, g);
        for (const int f : d)
            dis.setInteger(f, 0);
        std::size_t slot = 0;
        while (!aval.eof() && aval.intValue(cartao).value_or(0) == g) {
            if (slot < d.size())
                dis.setInteger(d[slot++], aval.integer(dezena));
            aval.next();
        }
        dis.post();
    }
    // The operation that fills the scratch table writes it, an empty deal too (it replaces the
    // file of the last distribution, or the layout would read that one back).
    dis.write();
    dis.first();
}

std::vector<std::vector<int>> LayoutDistributedGames(Tables& t) {
    Table& dis = t.TableDis;
    std::vector<std::vector<int>> rows;
    try {
        dis.close();
        dis.open();
        std::array<int, 15> d{};
        for (int i = 0; i < 15; ++i)
            d[static_cast<std::size_t>(i)] = dis.fieldIndex(QStringLiteral("d%1").arg(i + 1));
        // A number with no chip stops the walk where it stands, like any other unreadable row.
        bool stop = false;
        for (int r = 0; r < dis.rowCount() && rows.size() < 10 && !stop; ++r) {
            const RowRef row = dis.rowAt(r);
            std::vector<int> numbers;
            for (const int f : d) {
                const int v = row.intValue(f).value_or(0);
                if (v == 0)
                    break;
                if (v < 1 || v > 60) {
                    stop = true;
                    break;
                }
                numbers.push_back(v);
            }
            rows.push_back(std::move(numbers));
        }
    } catch (const TableError&) {
        // The rows laid out so far stay; the rest of the table is not shown.
    }
    return rows;
}
