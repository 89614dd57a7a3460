// A random run of 10 six-number games into a games table that already holds 2,400,000 combination
// games (which leave Todos empty), in at most 0.5 s. The lookup index of Todos is built by the
// run's first locate, so this measures that building too.
// Reference, in the same run: the same random run into an empty games table.

#include "BenchSupport.h"
#include "GameMeasures.h"
#include "GamesTable.h"
#include "RandomGeneration.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

namespace {

using bench::AlwaysYes;
using bench::Clock;
using bench::secondsSince;

// Combination games as the combination generator writes them: numbered, measured, no Todos.
void fillCombinations(Table& car, int count) {
    const GameFields f(car);
    Table::BulkChange guard(car);
    std::array<int, 6> game{1, 2, 3, 4, 5, 6};
    for (int g = 1; g <= count; ++g) {
        const GameMeasures m = MeasureGame(game);
        car.insert();
        car.setReal(f.cartao, g);
        car.setText(f.emite, QStringLiteral("S"));
        car.setInteger(f.pares, m.pares);
        car.setInteger(f.linhas, m.linhas);
        car.setInteger(f.abaixo, m.abaixo);
        car.setInteger(f.dezenas, 6);
        for (std::size_t i = 0; i < 6; ++i)
            car.setInteger(f.d[i], game[i]);
        car.post();
        // the next combination in lexicographic order
        int i = 5;
        while (i >= 0 && game[static_cast<std::size_t>(i)] == 60 - 5 + i)
            --i;
        if (i < 0)
            break;
        ++game[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < 6; ++j)
            game[static_cast<std::size_t>(j)] = game[static_cast<std::size_t>(j - 1)] + 1;
    }
}

double randomRun(Tables& t, int& accepted) {
    RandomRequest r;
    for (int n = 1; n <= 60; ++n)
        r.board.valid.push_back(n);
    r.dezJogo = QStringLiteral("6");
    r.quant = QStringLiteral("10");
    NoProgress quiet;
    AlwaysYes yes;
    int seed = 7;
    const RandomKeys keys = [&seed] {
        seed = (seed * 1103515245 + 12345) & 0x7fffffff;
        return seed % 1000;
    };
    const auto t0 = Clock::now();
    const RandomRunResult res = GenerateRandomGames(t, r, keys, yes, quiet);
    accepted = res.accepted;
    return secondsSince(t0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 2400000;

    QTemporaryDir refDir;
    Tables ref(refDir.path());
    ref.TableCar.create();
    int refAccepted = 0;
    const double refTime = randomRun(ref, refAccepted);

    QTemporaryDir dir;
    Tables t(dir.path());
    t.TableCar.create();
    const auto t0 = Clock::now();
    fillCombinations(t.TableCar, rows);
    std::printf("setting up: %d combination games in the table in %.2f s\n", t.TableCar.rowCount(),
                secondsSince(t0));
    int accepted = 0;
    const double run = randomRun(t, accepted);
    std::printf("random run: %d games after %d combination games in %.3f s (target <= 0.5 s); "
                "reference, the same run into an empty table: %d games in %.3f s\n",
                accepted, rows, run, refAccepted, refTime);
    return accepted == 10 ? 0 : 1;
}
