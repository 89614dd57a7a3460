// The listing of 1,000,000 games to "Cartelas.csv" and TableRel. Reference in the same run: the
// same lines formatted with snprintf and written with one fwrite, without any table.
#include "BenchSupport.h"
#include "GamesListing.h"
#include "GamesTable.h"
#include "Schemas.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int kGames = 1'000'000;
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto games = bench::mixedGames(kGames, 54321);

    QElapsedTimer timer;
    timer.start();
    {
        std::string out;
        out.reserve(games.size() * 40);
        char buf[32];
        for (std::size_t i = 0; i < games.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%07zu;", i + 1);
            out += buf;
            for (const int n : games[i]) {
                std::snprintf(buf, sizeof buf, "%02d;", n);
                out += buf;
            }
            out += "\r\n";
        }
        const std::string path = dir.filePath(QStringLiteral("reference.csv")).toStdString();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(out.data(), 1, out.size(), f);
            std::fclose(f);
        }
    }
    const double reference = bench::ms(timer);

    Tables t(dir.path());
    t.TableRel.close();
    t.TableRel.defineFields(Schemas::listing());
    t.TableRel.create();
    Table& car = t.TableCar;
    car.close();
    car.defineFields(Schemas::games());
    car.setIndexFieldNames(QStringLiteral("Cartao"));
    car.create();
    {
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

    timer.restart();
    (void)BuildGamesListing(t);
    const double first = bench::ms(timer);
    timer.restart();
    (void)BuildGamesListing(t); // TableRel full: emptied first
    const double second = bench::ms(timer);

    std::printf("games: %d, Cartelas.csv %lld bytes, TableRel %d rows\n", kGames,
                static_cast<long long>(QFileInfo(dir.filePath(Schemas::kExportFile)).size()),
                t.TableRel.rowCount());
    std::printf("reference, snprintf + fwrite:  %8.1f ms\n", reference);
    std::printf("BuildGamesListing:             %8.1f ms (limit 2000 ms)\n", first);
    std::printf("BuildGamesListing, run again:  %8.1f ms (limit 2000 ms)\n", second);
    return 0;
}
