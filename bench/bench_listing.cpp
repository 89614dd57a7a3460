// The listing of 1,000,000 games to "Cartelas.csv" and TableRel. Reference in the same run: the
// same lines formatted with snprintf and written with one fwrite, without any table.
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

std::vector<std::vector<int>> makeGames() {
    std::mt19937 rng(54321);
    std::vector<int> deck(60);
    for (int i = 0; i < 60; ++i)
        deck[static_cast<std::size_t>(i)] = i + 1;
    std::vector<std::vector<int>> games(kGames);
    for (auto& g : games) {
        const int size = rng() % 4 == 0 ? 6 + static_cast<int>(rng() % 10) : 6;
        std::shuffle(deck.begin(), deck.end(), rng);
        g.assign(deck.begin(), deck.begin() + size);
        std::sort(g.begin(), g.end());
    }
    return games;
}

double ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1.0e6;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto games = makeGames();

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
    const double reference = ms(timer);

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
    const double first = ms(timer);
    timer.restart();
    (void)BuildGamesListing(t); // TableRel full: emptied first
    const double second = ms(timer);

    std::printf("games: %d, Cartelas.csv %lld bytes, TableRel %d rows\n", kGames,
                static_cast<long long>(QFileInfo(dir.filePath(Schemas::kExportFile)).size()),
                t.TableRel.rowCount());
    std::printf("reference, snprintf + fwrite:  %8.1f ms\n", reference);
    std::printf("BuildGamesListing:             %8.1f ms (limit 2000 ms)\n", first);
    std::printf("BuildGamesListing, run again:  %8.1f ms (limit 2000 ms)\n", second);
    return 0;
}
