// The combination generator's two runs against their targets: the counting run over all 60
// numbers with the initial filters (at most 0.25 s; reference: the plain six-loop measuring every
// combination) and a generating run of about a million games with its periodic saves (at most 5 s
// and 250 MB more memory; reference: the same games written with a single save at the end).
// `--full` also generates all 49,470,085 games of 60 numbers and then loads them in a process of
// their own, as a start-up does.

#include "BenchSupport.h"
#include "CombinationGeneration.h"
#include "GameMeasures.h"
#include "GamesTable.h"
#include "RecordStore.h"
#include "Schemas.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using bench::Clock;
using bench::secondsSince;

// A line of /proc/self/status in MB ("VmRSS", "VmHWM").
double statusMb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0.0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0.0;
}

std::vector<int> numbersFrom(int from, int to) {
    std::vector<int> v;
    for (int n = from; n <= to; ++n)
        v.push_back(n);
    return v;
}

// What a straightforward implementation does: six loops, measuring each combination whole.
qint64 naiveCount(const std::vector<int>& c, const FilterSettings& s) {
    const int n = static_cast<int>(c.size());
    qint64 count = 0;
    std::array<int, 6> g{};
    auto at = [&c](int i) { return c[static_cast<std::size_t>(i)]; };
    for (int a = 0; a < n - 5; ++a)
        for (int b = a + 1; b < n - 4; ++b)
            for (int d = b + 1; d < n - 3; ++d)
                for (int e = d + 1; e < n - 2; ++e)
                    for (int f = e + 1; f < n - 1; ++f)
                        for (int h = f + 1; h < n; ++h) {
                            g = {at(a), at(b), at(d), at(e), at(f), at(h)};
                            if (PassesFilters(MeasureGame(g), s))
                                ++count;
                        }
    return count;
}

// Opens the games file of `folder` as a start-up does and prints the time and the peak memory of
// this process (run as a child, so that nothing of the generating run is counted).
int loadGames(const QString& folder) {
    const auto t0 = Clock::now();
    Table games(QStringLiteral("TableCar"), folder, Schemas::kGamesFile);
    games.open();
    const double seconds = secondsSince(t0);
    RecordLayout full;
    full.setFields(Schemas::games());
    const double rows = games.rowCount();
    std::printf(
        "  start-up load of the %.0f games: %.1f s, peak RSS %.0f MB (target <= 2500 MB), held by the "
        "table %.1f bytes per game; reference, full-width records and order: %.0f MB\n",
        rows, seconds, statusMb("VmHWM"), static_cast<double>(games.memoryBytes()) / rows,
        rows * static_cast<double>(full.recordSize() + sizeof(quint32)) / (1024.0 * 1024.0));
    return 0;
}

void generatingRun(const std::vector<int>& candidates, const char* label, bool reload = false) {
    QTemporaryDir dir;
    {
        Tables t(dir.path());
        t.TableCar.create();
        NoProgress quiet;
        CombinationRequest r;
        r.board.valid = candidates;
        const double rss0 = statusMb("VmRSS");
        const auto t0 = Clock::now();
        const CombinationRunResult res = RunCombinations(t.TableCar, r, quiet);
        const double run = secondsSince(t0);
        const double rss1 = statusMb("VmRSS");
        std::printf("%s: %lld games written in %.2f s (target <= 5 s per million: %.2f s per million), "
                    "memory +%.0f MB "
                    "(target <= 250 MB), peak RSS %.0f MB\n",
                    label, static_cast<long long>(res.count), run, run * 1e6 / static_cast<double>(res.count),
                    rss1 - rss0, statusMb("VmHWM"));
        t.TableCar.close(); // the games since the last periodic save, as the window's end of run does
    }
    if (reload) {
        std::fflush(stdout);
        QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("--load"), dir.path()});
    }
}

// The same games appended through the table with one save at the end: the cost of the saves.
void singleSaveReference(const std::vector<int>& candidates) {
    QTemporaryDir dir;
    Tables t(dir.path());
    Table& car = t.TableCar;
    car.create();
    const GameFields f(car);
    const FilterSettings s{1, 6, 1, 6, 60, 1};
    const auto t0 = Clock::now();
    qint64 written = 0;
    {
        Table::BulkChange guard(car);
        const QString emite = QStringLiteral("S");
        const int n = static_cast<int>(candidates.size());
        std::array<int, 6> g{};
        auto at = [&candidates](int i) { return candidates[static_cast<std::size_t>(i)]; };
        for (int a = 0; a < n - 5; ++a)
            for (int b = a + 1; b < n - 4; ++b)
                for (int d = b + 1; d < n - 3; ++d)
                    for (int e = d + 1; e < n - 2; ++e)
                        for (int ff = e + 1; ff < n - 1; ++ff)
                            for (int h = ff + 1; h < n; ++h) {
                                g = {at(a), at(b), at(d), at(e), at(ff), at(h)};
                                const GameMeasures m = MeasureGame(g);
                                if (!PassesFilters(m, s))
                                    continue;
                                car.insert();
                                car.setReal(f.cartao, static_cast<double>(++written));
                                car.setText(f.emite, emite);
                                car.setInteger(f.pares, m.pares);
                                car.setInteger(f.linhas, m.linhas);
                                car.setInteger(f.abaixo, m.abaixo);
                                car.setInteger(f.dezenas, 6);
                                for (std::size_t i = 0; i < 6; ++i)
                                    car.setInteger(f.d[i], g[i]);
                                car.post();
                            }
    }
    car.commitChanges();
    car.close();
    std::printf("  reference, same games with one save at the end: %lld games in %.2f s\n",
                static_cast<long long>(written), secondsSince(t0));
    // What one of the periodic saves costs at this size, the file already holding every row.
    const auto t1 = Clock::now();
    for (int i = 0; i < 10; ++i) {
        car.open();
        car.close();
    }
    std::printf("  reference, reopening and closing the unchanged table of %lld games: %.1f ms each\n",
                static_cast<long long>(written), secondsSince(t1) * 100.0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    if (const qsizetype at = app.arguments().indexOf(QStringLiteral("--load")); at >= 0)
        return loadGames(app.arguments().value(at + 1));
    const bool full = app.arguments().contains(QStringLiteral("--full"));

    const std::vector<int> all = numbersFrom(1, 60);
    const FilterSettings initial{1, 6, 1, 6, 60, 1};
    {
        QTemporaryDir dir;
        Tables t(dir.path());
        t.TableCar.create();
        NoProgress quiet;
        CombinationRequest r;
        r.board.valid = all;
        r.counting = true;
        const auto t0 = Clock::now();
        const CombinationRunResult res = RunCombinations(t.TableCar, r, quiet);
        const double counting = secondsSince(t0);
        const auto t1 = Clock::now();
        const qint64 naive = naiveCount(all, initial);
        const double reference = secondsSince(t1);
        const auto t2 = Clock::now();
        const qint64 oneByOne = CountCombinationsOneByOne(all, {}, initial);
        const double walk = secondsSince(t2);
        std::printf("counting run, 60 numbers: \"%s\" in %.4f s (target <= 0.25 s); reference naive "
                    "six-loop: %lld in "
                    "%.3f s; incremental enumeration: %lld in %.3f s\n",
                    qPrintable(res.labelAGerar), counting, static_cast<long long>(naive), reference,
                    static_cast<long long>(oneByOne), walk);
    }

    const std::vector<int> some = numbersFrom(1, 33);
    generatingRun(some, "generating run, numbers 1..33");
    singleSaveReference(some);
    if (full)
        generatingRun(all, "generating run, all 60 numbers", true);
    return 0;
}
