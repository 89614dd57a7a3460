// The random generator against its target: 100,000 seven-number games from all 60 numbers with the
// initial filters, dealt into a games table that already holds 1,000,000 games, in at most 3 s.
// Reference, in the same run: the same dealing done in plain memory (a shuffled vector as the deck
// and a hash set of the Todos texts), which shows what the tables cost.

#include "BenchSupport.h"
#include "Filters.h"
#include "GameMeasures.h"
#include "GamesTable.h"
#include "RandomGeneration.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

using bench::AlwaysYes;
using bench::Clock;
using bench::secondsSince;

// A million 6-number games as earlier random runs leave them: numbered, with Todos and every
// derived field filled.
void fillMillion(Table& car, QSet<QString>& todos) {
    const GameFields f(car);
    std::mt19937 rng(12345);
    std::array<int, 60> all{};
    for (int i = 0; i < 60; ++i)
        all[static_cast<std::size_t>(i)] = i + 1;
    Table::BulkChange guard(car);
    for (int g = 1; g <= 1000000; ++g) {
        std::shuffle(all.begin(), all.end(), rng);
        std::array<int, 6> game{};
        std::copy_n(all.begin(), 6, game.begin());
        std::sort(game.begin(), game.end());
        const GameMeasures m = MeasureGame(game);
        const QString key = TodosText(game);
        todos.insert(key);
        car.insert();
        car.setReal(f.cartao, g);
        car.setInteger(f.pares, m.pares);
        car.setInteger(f.linhas, m.linhas);
        car.setInteger(f.abaixo, m.abaixo);
        car.setInteger(f.dezenas, 6);
        for (std::size_t i = 0; i < 6; ++i)
            car.setInteger(f.d[i], game[i]);
        car.setText(f.todos, key);
        car.post();
    }
}

// The same dealing without tables.
int inMemory(int games, QSet<QString> todos) {
    std::mt19937 rng(99);
    std::vector<int> deck(60);
    for (int i = 0; i < 60; ++i)
        deck[static_cast<std::size_t>(i)] = i + 1;
    const FilterSettings s = RandomFilterSettings(FilterTexts{});
    int accepted = 0;
    std::array<int, 7> game{};
    while (accepted < games) {
        std::shuffle(deck.begin(), deck.end(), rng);
        for (std::size_t at = 0; at + 7 <= deck.size() && accepted < games; at += 7) {
            std::copy_n(deck.begin() + static_cast<std::ptrdiff_t>(at), 7, game.begin());
            std::sort(game.begin(), game.end());
            if (!PassesFilters(MeasureGame(game), s))
                continue;
            const QString key = TodosText(game);
            if (todos.contains(key))
                continue;
            todos.insert(key);
            ++accepted;
        }
    }
    return accepted;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QTemporaryDir dir;
    Tables t(dir.path());
    t.TableCar.create();
    QSet<QString> todos;
    const auto t0 = Clock::now();
    fillMillion(t.TableCar, todos);
    std::printf("setting up: 1,000,000 games in the table in %.2f s\n", secondsSince(t0));

    RandomRequest r;
    for (int n = 1; n <= 60; ++n)
        r.board.valid.push_back(n);
    r.dezJogo = QStringLiteral("7");
    r.quant = QStringLiteral("100000");
    NoProgress quiet;
    AlwaysYes yes;
    const auto t1 = Clock::now();
    const RandomRunResult res = GenerateRandomGames(t, r, ClockSeededKeys(), yes, quiet);
    const double run = secondsSince(t1);
    const auto t2 = Clock::now();
    const int reference = inMemory(100000, todos);
    const double plain = secondsSince(t2);
    std::printf("random run: %d seven-number games into a table of 1,000,000 in %.2f s (target <= 3 s); "
                "reference, the same dealing in plain memory: %d games in %.2f s\n",
                res.accepted, run, reference, plain);
    return t.TableCar.rowCount() == 1100000 ? 0 : 1;
}
