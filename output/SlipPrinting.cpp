#include "SlipPrinting.h"

#include "GamesTable.h"
#include "Schemas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

void BuildPrintNumbers(Tables& t) {
    Table& slips = t.TableCImp;
    slips.close();
    slips.defineFields(Schemas::slips());
    slips.setIndexFieldNames(QStringLiteral("Cartela"));
    slips.create();

    Table& imp = t.TableImp;
    imp.close();
    imp.defineFields(Schemas::printNumbers());
    imp.setIndexFieldNames(QString());
    imp.create();

    // The print order is a view of the games table's own rows, by Dezenas then Cartao (an empty
    // value first, ties as the games stand): no second table reads the games file.
    Table& games = t.TableCar;
    if (games.isEditing())
        games.cancel(); // a game typed and not posted is dropped, as closing the table dropped it
    games.open();
    games.first();
    {
        const GameFields f(games);
        const int cartao = imp.fieldIndex(u"Cartao");
        const int dezena = imp.fieldIndex(u"Dezena");
        const int quant = imp.fieldIndex(u"Quant");
        Table::BulkChange guard(imp);
        const int n = games.rowCount();
        struct Key {
            std::optional<qint32> size;
            std::optional<double> number;
            int position;
        };
        std::vector<Key> order;
        order.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const RowRef game = games.rowAt(i);
            order.push_back({game.intValue(f.dezenas), game.realValue(f.cartao), i});
        }
        // std::optional orders an empty value before every other one, as the table's index does.
        std::stable_sort(order.begin(), order.end(), [](const Key& a, const Key& b) {
            if (a.size != b.size)
                return a.size < b.size;
            return a.number < b.number;
        });
        for (const Key& visit : order) {
            const RowRef game = games.rowAt(visit.position);
            const auto number = game.realValue(f.cartao);
            const auto size = game.intValue(f.dezenas);
            if (!number || !size || std::isnan(*number) || *number < std::numeric_limits<qint32>::min() ||
                *number > std::numeric_limits<qint32>::max())
                continue;
            const auto gameNumber = static_cast<qint32>(*number);
            const int positions = std::min(*size, 15);
            for (int k = 0; k < positions; ++k) {
                const auto v = game.intValue(f.d[static_cast<std::size_t>(k)]);
                if (!v)
                    continue;
                imp.insert();
                imp.setInteger(cartao, gameNumber);
                imp.setInteger(dezena, *v); // stored as its decimal text
                imp.setInteger(quant, *size);
                imp.post();
            }
        }
    }
    imp.setIndexFieldNames(QStringLiteral("Cartao;Quant;Dezena"));
    imp.commitChanges();
}

void PackSlips(Table& imp, Table& slips) {
    const int cartao = imp.fieldIndex(u"Cartao");
    const int quant = imp.fieldIndex(u"Quant");
    const int cartela = slips.fieldIndex(u"Cartela");
    const int dezenas = slips.fieldIndex(u"Dezenas");
    const std::array<int, 3> places{slips.fieldIndex(u"J1"), slips.fieldIndex(u"J2"),
                                    slips.fieldIndex(u"J3")};

    int onSlip = 4; // the first game always opens a slip
    int slipSize = 6;
    int count = 0;
    std::optional<qint32> previous; // no game yet (-1 in the old counting)
    bool open = false;

    Table::BulkChange guard(slips);
    const int n = imp.rowCount();
    for (int i = 0; i < n; ++i) {
        const RowRef row = imp.rowAt(i);
        const auto game = row.intValue(cartao);
        if (game == previous)
            continue; // a further number of a game already placed
        previous = game;
        const int size = row.intValue(quant).value_or(0);
        if (onSlip >= 3 || size != slipSize) {
            if (open)
                slips.post();
            ++count;
            onSlip = 0;
            slipSize = size;
            slips.insert();
            slips.setInteger(cartela, count);
            slips.setInteger(dezenas, size);
            open = true;
        }
        if (game)
            slips.setInteger(places[static_cast<std::size_t>(onSlip)], *game);
        ++onSlip;
    }
    if (open)
        slips.post();
    slips.commitChanges();
}

void ApplySlipMarks(const Table& slips, Table& imp, SlipMarks& marks) {
    marks.sizes.fill(false);
    const auto size = slips.intValue(slips.fieldIndex(u"Dezenas"));
    if (size && *size >= 6 && *size <= 15)
        marks.sizes[static_cast<std::size_t>(*size - 6)] = true;

    const int cartao = imp.fieldIndex(u"Cartao");
    const int dezena = imp.fieldIndex(u"Dezena");
    for (int b = 1; b <= 3; ++b) {
        auto& block = marks.numbers[static_cast<std::size_t>(b - 1)];
        block.fill(false);
        const qint32 game = slips.intValue(slips.fieldIndex(QStringLiteral("J%1").arg(b))).value_or(0);
        if (game == 0 || !imp.locate(u"Cartao", game))
            continue;
        while (!imp.eof() && imp.intValue(cartao) == game) {
            const auto n = imp.intValue(dezena);
            if (n && *n >= 1 && *n <= 60)
                block[static_cast<std::size_t>(*n - 1)] = true;
            imp.next();
        }
    }
}

void ApplyTeimosinha(SlipMarks& marks, int draws) {
    marks.t2 = draws == 2;
    marks.t4 = draws == 4;
    marks.t8 = draws == 8;
}
