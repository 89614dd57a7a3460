// Times importing a 3,000-draw results file of each format into an empty history, with the
// statistics recomputation, against a budget of 0.5 s; the files with the prizes of each draw also
// write them to "Premios.cds", and the same files without them are the reference. Each figure is printed
// beside two references measured in the same run: the bare reading of the file (ParseResultsFile) and the
// recomputation alone over the same history. A second import of the same file is timed too; it must write
// nothing.

#include "RecomputeStatistics.h"
#include "ResultsFileSamples.h"
#include "ResultsImport.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
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

// The same draws with the prizes of each, as the operator's files write them: the sena won in one
// draw of five, money as text ("R$1.714.650,23") or, in the JSON, as numbers.
std::vector<ResultsSamples::PrizedDraw> withPrizes(const std::vector<ResultsSamples::Draw>& draws,
                                                   bool numbers) {
    std::vector<ResultsSamples::PrizedDraw> out;
    for (const ResultsSamples::Draw& d : draws) {
        const int c = d.concurso;
        const std::array<qint64, 3> winners{c % 5 == 0 ? 1 + c % 3 : 0, 20 + c % 90, 1500 + c * 3 % 7000};
        const std::array<qint64, 3> cents{winners[0] > 0 ? 2000000000LL + c * 137 : 0, 3000000LL + c * 71,
                                          80000LL + c * 13};
        ResultsSamples::PrizedDraw p{d, ResultsSamples::dateOf(c), {}, {}};
        for (std::size_t i = 0; i < 3; ++i) {
            p.winners[i] = QString::number(winners[i]);
            p.prizes[i] = numbers ? MoneyFileText(cents[i]) : QStringLiteral("R$") + FormatMoney(cents[i]);
        }
        out.push_back(p);
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
    // The program's settings: money reads "1.714.650,23".
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
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
                 {"JSON por concurso", ResultsSamples::jsonKeyed(draws)},
                 {"planilha com prêmios", ResultsSamples::xlsxWithPrizes(withPrizes(draws, false))},
                 {"HTML com prêmios", ResultsSamples::htmlWithPrizes(withPrizes(draws, false), false)},
                 {"texto ; com prêmios", ResultsSamples::textWithPrizes(withPrizes(draws, false), u';')},
                 {"JSON com prêmios", ResultsSamples::jsonWithPrizes(withPrizes(draws, true))}};

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
        const bool prized = QByteArray(f.name).contains("prêmios");
        const double importMs = best(fresh, [&] {
            const ResultsImportOutcome o = ImportResults(*t, f.content, QStringLiteral("bench"), prompter);
            ok = ok && o.added.size() == static_cast<std::size_t>(kDraws) && o.written;
            ok = ok && o.prizesWritten == prized &&
                 o.prizesRead.size() == static_cast<std::size_t>(prized ? kDraws : 0) &&
                 o.prizesUnreadable.empty();
        });
        const double parseMs = best(
            [] {}, [&] { ok = ok && std::holds_alternative<ParsedResults>(ParseResultsFile(f.content)); });
        const double recomputeMs = best([] {}, [&] { RecomputeStatistics(*t); });
        const double againMs = best([] {},
                                    [&] {
                                        const ResultsImportOutcome o =
                                            ImportResults(*t, f.content, QStringLiteral("bench"), prompter);
                                        ok = ok && !o.written && !o.prizesWritten &&
                                             o.equal.size() == static_cast<std::size_t>(kDraws);
                                    });
        std::printf("%-26s %9lld %12.1f %12.1f %12.1f %14.1f%s\n", f.name,
                    static_cast<long long>(f.content.size()), importMs, parseMs, recomputeMs, againMs,
                    ok ? "" : "  WRONG RESULT");
        allWithin = allWithin && ok && importMs <= kBudgetMs;
    }
    std::printf("budget %.0f ms per import: %s\n", kBudgetMs, allWithin ? "kept" : "EXCEEDED");
    return allWithin ? 0 : 1;
}
