// The games summary over a million six-number games: best of five runs, beside a bare pass that
// reads the same cells with no tallies or texts (the floor any summary pays), and the budget.
#include "GameMeasures.h"
#include "GamesSummary.h"
#include "GamesTable.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

constexpr int kGames = 1'000'000;
constexpr double kBudgetMs = 200.0;

double bestOfFive(const std::function<void()>& run) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

void fill(Table& car) {
    const GameFields f(car);
    const Table::BulkChange bulk(car);
    quint32 seed = 12345;
    for (int g = 1; g <= kGames; ++g) {
        std::array<int, 6> numbers{};
        for (std::size_t i = 0; i < 6; ++i) {
            seed = seed * 1664525u + 1013904223u;
            numbers[i] = static_cast<int>(i) * 10 + 1 + static_cast<int>((seed >> 16) % 10);
        }
        const GameMeasures m = MeasureGame(numbers);
        car.insert();
        car.setReal(f.cartao, g);
        car.setInteger(f.pares, m.pares);
        car.setInteger(f.linhas, m.linhas);
        car.setInteger(f.abaixo, m.abaixo);
        car.setInteger(f.dezenas, 6);
        for (std::size_t i = 0; i < 6; ++i)
            car.setInteger(f.d[i], numbers[i]);
        car.post();
    }
}

} // namespace

int main(int argc, char** argv) {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Tables t(dir.path());
    t.TableCar.create();
    QElapsedTimer build;
    build.start();
    fill(t.TableCar);
    std::printf("built %d games in %.0f ms\n", kGames, static_cast<double>(build.elapsed()));

    QStringList lines;
    const double summaryMs = bestOfFive([&] { lines = RefreshGamesSummary(t.TableCar); });

    const GameFields f(t.TableCar);
    qint64 sink = 0;
    const double floorMs = bestOfFive([&] {
        for (int i = 0; i < t.TableCar.rowCount(); ++i) {
            const RowRef r = t.TableCar.rowAt(i);
            sink += r.rawInteger(f.pares) + r.rawInteger(f.linhas);
            for (std::size_t k = 0; k < 7; ++k)
                sink += r.isEmpty(f.d[k]) ? 0 : r.rawInteger(f.d[k]);
        }
    });

    std::printf("RefreshGamesSummary, %d games, best of 5: %.1f ms (budget %.0f ms)\n", kGames, summaryMs,
                kBudgetMs);
    std::printf("reference: bare pass over the same cells, best of 5: %.1f ms (checksum %lld)\n", floorMs,
                static_cast<long long>(sink));
    std::printf("first line: %s\n", qPrintable(lines.value(0)));
    return summaryMs <= kBudgetMs ? 0 : 1;
}
