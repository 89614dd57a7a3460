// Checking 1,000,000 games against the last draw: the check itself and the whole run the player
// starts (stores the games, checks them, stores the hits and reopens the list in hit order).
// References in the same run: the same check over plain arrays (the floor of what any table
// costs) and one write of the games file (what the run must store).
#include "BenchSupport.h"
#include "GamesCheck.h"
#include "GamesTable.h"
#include "Schemas.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <vector>

namespace {
constexpr int kGames = 1'000'000;
constexpr std::array<int, 6> kDraw{4, 15, 23, 37, 41, 58};

void fillTable(Table& car, const std::vector<std::vector<int>>& games) {
    car.close();
    car.defineFields(Schemas::games());
    car.setIndexFieldNames(QStringLiteral("Cartao"));
    car.create();
    const GameFields f(car);
    Table::BulkChange guard(car);
    for (std::size_t i = 0; i < games.size(); ++i) {
        car.insert();
        car.setReal(f.cartao, static_cast<double>(i + 1));
        car.setInteger(f.dezenas, static_cast<int>(games[i].size()));
        for (std::size_t k = 0; k < games[i].size(); ++k)
            car.setInteger(f.d[k], games[i][k]);
        car.post();
    }
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto games = bench::mixedGames(kGames, 12345);

    // Reference: hits and flags over plain arrays.
    std::vector<std::array<char, 16>> flags(games.size());
    QElapsedTimer timer;
    timer.start();
    long long total = 0;
    for (std::size_t i = 0; i < games.size(); ++i) {
        int hits = 0;
        for (std::size_t p = 0; p < 15; ++p) {
            const bool found =
                p < games[i].size() && std::find(kDraw.begin(), kDraw.end(), games[i][p]) != kDraw.end();
            hits += found ? 1 : 0;
            flags[i][p] = found ? 'S' : 'N';
        }
        flags[i][15] = static_cast<char>(hits);
        total += hits;
    }
    const double reference = bench::ms(timer);

    Tables t(dir.path());
    fillTable(t.TableCar, games);
    timer.restart();
    CheckGamesAgainstDraw(t.TableCar, kDraw);
    const double firstCheck = bench::ms(timer);
    timer.restart();
    CheckGamesAgainstDraw(t.TableCar, kDraw);
    const double secondCheck = bench::ms(timer);

    // The whole run, from games whose hits the file does not hold yet.
    fillTable(t.TableCar, games);
    t.TableCar.commitChanges();
    t.TableCar.close();
    t.TableRes.close();
    t.TableRes.defineFields(Schemas::results());
    t.TableRes.create();
    t.TableRes.insert();
    t.TableRes.setInteger(t.TableRes.fieldIndex(u"Concurso"), 1);
    for (int i = 0; i < 6; ++i)
        t.TableRes.setInteger(t.TableRes.fieldIndex(QStringLiteral("d%1").arg(i + 1)),
                              kDraw[static_cast<std::size_t>(i)]);
    t.TableRes.post();
    t.TableCar.open();
    timer.restart();
    t.TableCar.write(); // what the run's one store of the games costs on this machine
    const double write = bench::ms(timer);
    timer.restart();
    const auto notice = CheckGamesWithLastDraw(t);
    const double flow = bench::ms(timer);

    // The button as the player uses it day to day: the file holds the hits of the last check, a new
    // draw is posted and checked, and the run ends with its durable write.
    t.commitChanges();
    t.TableRes.insert();
    t.TableRes.setInteger(t.TableRes.fieldIndex(u"Concurso"), 2);
    for (int i = 0; i < 6; ++i)
        t.TableRes.setInteger(t.TableRes.fieldIndex(QStringLiteral("d%1").arg(i + 1)), 3 + 9 * i);
    t.TableRes.post();
    t.commitChanges();
    timer.restart();
    CheckGamesWithLastDraw(t);
    const double checkPart = bench::ms(timer);
    const QStringList failures = t.commitChanges();
    const double durable = bench::ms(timer);

    std::printf("games: %d (hits in total %lld)\n", kGames, total);
    std::printf("reference, plain arrays:            %8.1f ms\n", reference);
    std::printf("CheckGamesAgainstDraw, first check: %8.1f ms (limit 1000 ms)\n", firstCheck);
    std::printf("CheckGamesAgainstDraw, same draw:   %8.1f ms (limit 1000 ms)\n", secondCheck);
    std::printf("reference, one write of the games file: %8.1f ms\n", write);
    std::printf("whole check with file writes:       %8.1f ms (limit 1000 ms)%s\n", flow,
                notice ? " [no draw?]" : "");
    std::printf("\"Conferindo os resultados\" against a new draw, with its durable write: %8.1f ms "
                "(target 1200 ms)%s\n",
                durable, failures.isEmpty() ? "" : " [write failed]");
    std::printf("  of which the check %8.1f ms and the durable write %8.1f ms\n", checkPart,
                durable - checkPart);
    return 0;
}
