// Times importing a 3,000-draw results file of each format into an empty history, with the
// statistics recomputation, against a budget of 0.5 s. Each figure is printed beside two references
// measured in the same run: the bare reading of the file (ParseResultsFile) and the recomputation
// alone over the same history. A second import of the same file is timed too; it must write
// nothing.

#include "RecomputeStatistics.h"
#include "ResultsFileSamples.h"
#include "ResultsImport.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

constexpr int kRuns = 5;
constexpr int kDraws = 3000;
constexpr double kBudgetMs = 500.0;

class SilentPrompter final : public Prompter {
public:
    void inform(const Message&) override {}
    bool ask(const Message&) override { return true; }
};

std::vector<ResultsSamples::Draw> randomDraws(int count) {
    QRandomGenerator rng(20261210);
    std::vector<ResultsSamples::Draw> out;
    for (int c = 1; c <= count; ++c) {
        ResultsSamples::Draw d{c, {}};
        std::vector<int> taken;
        while (taken.size() < 6) {
            const int x = rng.bounded(1, 61);
            if (std::find(taken.begin(), taken.end(), x) == taken.end()) {
                taken.push_back(x);
                d.numbers << ResultsSamples::twoDigits(x);
            }
        }
        out.push_back(d);
    }
    return out;
}

// The best of kRuns, in milliseconds; `prepare` runs untimed before each run.
double best(const std::function<void()>& prepare, const std::function<void()>& run) {
    double bestMs = std::numeric_limits<double>::max();
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        run();
        bestMs = std::min(bestMs, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return bestMs;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto draws = randomDraws(kDraws);
    const struct {
        const char* name;
        QByteArray content;
    } files[] = {{"planilha (.xlsx)", ResultsSamples::xlsx(draws)},
                 {"HTML UTF-8", ResultsSamples::html(draws, false)},
                 {"HTML ISO-8859-1", ResultsSamples::html(draws, true)},
                 {"texto ; com cabeçalho", ResultsSamples::text(draws, u';', true)},
                 {"texto tab sem cabeçalho", ResultsSamples::text(draws, u'\t', false)},
                 {"JSON lista do serviço", ResultsSamples::jsonArray(draws)},
                 {"JSON por concurso", ResultsSamples::jsonKeyed(draws)}};

    std::printf("Import of %d draws into an empty history, with the recomputation (best of %d runs)\n",
                kDraws, kRuns);
    std::printf("%-26s %9s %12s %12s %12s %14s\n", "format", "bytes", "import ms", "parse ms", "recompute ms",
                "2nd import ms");
    bool allWithin = true;
    for (const auto& f : files) {
        SilentPrompter prompter;
        std::unique_ptr<QTemporaryDir> dir;
        std::unique_ptr<Tables> t;
        const auto fresh = [&] {
            t.reset();
            dir = std::make_unique<QTemporaryDir>();
            t = std::make_unique<Tables>(dir->path());
            rebuildResultsFile(*t);
        };
        bool ok = true;
        const double importMs = best(fresh, [&] {
            const ResultsImportOutcome o = ImportResults(*t, f.content, QStringLiteral("bench"), prompter);
            ok = ok && o.added.size() == static_cast<std::size_t>(kDraws) && o.written;
        });
        const double parseMs = best(
            [] {}, [&] { ok = ok && std::holds_alternative<ParsedResults>(ParseResultsFile(f.content)); });
        const double recomputeMs = best([] {}, [&] { RecomputeStatistics(*t); });
        const double againMs =
            best([] {},
                 [&] {
                     const ResultsImportOutcome o =
                         ImportResults(*t, f.content, QStringLiteral("bench"), prompter);
                     ok = ok && !o.written && o.equal.size() == static_cast<std::size_t>(kDraws);
                 });
        std::printf("%-26s %9lld %12.1f %12.1f %12.1f %14.1f%s\n", f.name,
                    static_cast<long long>(f.content.size()), importMs, parseMs, recomputeMs, againMs,
                    ok ? "" : "  WRONG RESULT");
        allWithin = allWithin && ok && importMs <= kBudgetMs;
    }
    std::printf("budget %.0f ms per import: %s\n", kBudgetMs, allWithin ? "kept" : "EXCEEDED");
    return allWithin ? 0 : 1;
}
