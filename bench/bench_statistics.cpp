// Times RecomputeStatistics over a long history: 3000 draws from a fixed-seed generator and, when
// it is at hand, the real Mega-Sena history. Each figure is printed beside a reference measured in
// the same run: one plain read of the six numbers of every draw, the least any recomputation costs.

#include "BenchSupport.h"
#include "RecomputeStatistics.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr double kBudgetMs = 50.0;

using Draw = std::array<int, 6>;

std::vector<std::pair<int, Draw>> randomHistory(int count) {
    QRandomGenerator rng(20261209);
    std::vector<std::pair<int, Draw>> out;
    for (int c = 1; c <= count; ++c) {
        Draw d{};
        for (std::size_t i = 0; i < 6; ++i) {
            int x = 0;
            do {
                x = rng.bounded(1, 61);
            } while (std::find(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(i), x) !=
                     d.begin() + static_cast<std::ptrdiff_t>(i));
            d[i] = x;
        }
        out.emplace_back(c, d);
    }
    return out;
}

std::vector<std::pair<int, Draw>> realHistory(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    std::vector<std::pair<int, Draw>> out;
    for (auto it = o.begin(); it != o.end(); ++it) {
        Draw d{};
        const QJsonArray numbers = it.value().toArray();
        for (std::size_t i = 0; i < 6; ++i)
            d[i] = numbers.at(static_cast<qsizetype>(i)).toString().toInt();
        out.emplace_back(it.key().toInt(), d);
    }
    return out;
}

void fill(Tables& t, const std::vector<std::pair<int, Draw>>& draws) {
    rebuildResultsFile(t);
    Table& res = t.TableRes;
    const Table::BulkChange quiet(res);
    for (const auto& [concurso, d] : draws) {
        res.insert();
        res.setInteger(0, concurso);
        for (int i = 0; i < 6; ++i)
            res.setInteger(1 + i, d[static_cast<std::size_t>(i)]);
        res.post();
    }
}

// Empties the derived counts, so that the next recomputation writes every draw again.
void forgetDerived(Table& res) {
    const Table::BulkChange quiet(res);
    for (res.first(); !res.eof(); res.next()) {
        res.edit();
        for (int f = 7; f <= 10; ++f)
            res.setEmpty(f);
    }
}

qint64 readReference(const Table& res) {
    QElapsedTimer timer;
    timer.start();
    qint64 sum = 0;
    for (int i = 0; i < res.rowCount(); ++i) {
        const RowRef r = res.rowAt(i);
        for (int f = 1; f <= 6; ++f)
            sum += r.intValue(f).value_or(0);
    }
    const qint64 ns = timer.nsecsElapsed();
    if (sum == std::numeric_limits<qint64>::min())
        std::puts("");
    return ns;
}

void measure(const char* label, const std::vector<std::pair<int, Draw>>& draws) {
    QTemporaryDir dir;
    Tables t(dir.path());
    fill(t, draws);
    qint64 full = std::numeric_limits<qint64>::max();
    qint64 unchanged = std::numeric_limits<qint64>::max();
    qint64 reference = std::numeric_limits<qint64>::max();
    NumberStatistics s;
    for (int run = 0; run < kRuns; ++run) {
        forgetDerived(t.TableRes);
        QElapsedTimer timer;
        timer.start();
        s = RecomputeStatistics(t);
        full = std::min(full, timer.nsecsElapsed());
        timer.restart();
        s = RecomputeStatistics(t);
        unchanged = std::min(unchanged, timer.nsecsElapsed());
        reference = std::min(reference, readReference(t.TableRes));
    }
    std::printf("%-28s %5zu draws  RecomputeStatistics %7.2f ms (every draw rewritten), %7.2f ms (nothing "
                "changed)  | reference read of the draws %6.2f ms | budget %.0f ms  %s\n",
                label, draws.size(), bench::ms(full), bench::ms(unchanged), bench::ms(reference), kBudgetMs,
                bench::ms(full) <= kBudgetMs ? "ok" : "OVER BUDGET");
    std::printf("%-28s last draw %d, %s, weight of 01 = %s\n", "", s.lastConcurso, qPrintable(s.mediaText()),
                qPrintable(s.weightText(1)));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); // weights read 1,85 as in the window
    std::printf("RecomputeStatistics, best of %d runs\n", kRuns);
    measure("generated (seed 20261209)", randomHistory(3000));
    const QString real = QStringLiteral("/work/shared/data/megasena-draws.json");
    const auto history = realHistory(real);
    if (history.empty())
        std::printf("%-28s not found: %s\n", "real history", qPrintable(real));
    else
        measure("real history", history);
    return 0;
}
