#include "CombinationGeneration.h"
#include "DiscardedNumbers.h"
#include "Distribution.h"
#include "DrawEntry.h"
#include "GamesCheck.h"
#include "NumberBoard.h"
#include "PlayerWork.h"
#include "RandomGeneration.h"
#include "RecomputeStatistics.h"
#include "Schemas.h"
#include "TableError.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

// Every durable operation of the player's data, run by a child process that a SIGKILL stops at a
// random moment, each ended by the window's own commit (CommitPlayerWork): afterwards every file of the player is whole (integrity_check) and holds exactly
// the operations that had ended, plus at most the one in progress, whole.
namespace {

class Yes final : public Prompter {
public:
    void inform(const Message&) override {}
    bool ask(const Message&) override { return true; }
};

struct Script {
    Tables& t;
    NumberBoard board;
    QList<int> savedDiscards;
    QList<int> savedFixed;
    Yes yes;
    quint32 key = 17;

    explicit Script(Tables& tables) : t(tables) {}

    // The window's own commit, as it runs when an operation ends.
    void commit() {
        const QStringList failures = CommitPlayerWork(t, board, savedDiscards, savedFixed);
        if (!failures.isEmpty())
            throw TableError(failures.join(u'\n'));
    }

    void postDraw(int concurso, std::array<int, 6> d) {
        Table& res = t.TableRes;
        res.insert();
        res.setInteger(0, concurso);
        for (int i = 0; i < 6; ++i)
            res.setInteger(i + 1, d[static_cast<std::size_t>(i)]);
        res.post(); // "Salva"
    }

    RandomKeys keys() {
        return [this] {
            // The classic linear congruential step, in unsigned arithmetic where wrapping is defined.
            key = (key * 1103515245u + 12345u) & 0x7fffffffu;
            return static_cast<int>(key % 1000u);
        };
    }

    std::vector<std::function<void()>> operations() {
        return {
            [this] {
                rebuildResultsFile(t);
                LoadDiscarded(t, board);
                savedDiscards = board.discardedNumbers();
            },
            [this] {
                postDraw(1, {4, 8, 15, 16, 23, 42});
            },
            [this] {
                postDraw(2, {1, 2, 3, 4, 5, 6});
            },
            [this] {
                postDraw(3, {10, 20, 30, 40, 50, 60});
            },
            [this] { RecomputeStatistics(t); },
            [this] { board.ToggleCell(7, PressButton::Left); },
            [this] { board.InvertSelection(); },
            [this] {
                PrepareGamesTable(t);
                RandomRequest r;
                r.board.valid = {};
                for (int n = 1; n <= 60; ++n)
                    r.board.valid.push_back(n);
                r.dezJogo = QStringLiteral("6");
                r.quant = QStringLiteral("40");
                NoProgress quiet;
                GenerateRandomGames(t, r, keys(), yes, quiet);
            },
            [this] { CheckGamesWithLastDraw(t); },
            [this] {
                t.TableCar.first();
                t.TableCar.next();
                DeleteCurrentGame(t.TableCar, yes);
            },
            [this] {
                // A typed change in the games grid.
                Table& car = t.TableCar;
                car.last();
                car.edit();
                car.setText(car.fieldIndex(u"Emite"), QStringLiteral("N"));
                car.post();
            },
            [this] {
                t.TableRes.first();
                DeleteCurrentDraw(t.TableRes, yes);
            },
            [this] { board.ClearSelection(); },
            [this] {
                PrepareGamesTable(t);
                CombinationRequest r;
                r.board.valid = {3, 9, 14, 22, 27, 35, 41, 44, 58};
                NoProgress quiet;
                RunCombinations(t.TableCar, r, quiet);
            },
            [this] {
                // Distribution marks, as a deal writes them.
                NumberFlags discarded{};
                discarded[0] = discarded[1] = true;
                DealNumbers(t, discarded, 6);
            },
            [this] {
                postDraw(4, {2, 13, 24, 35, 46, 57});
            },
            [this] { CheckGamesWithLastDraw(t); },
        };
    }
};

// Per file of the player's work, a digest of its rows in rowid order ("absent" when there is no
// file). Tells in `problem` when a file is not whole.
using Digest = std::vector<QByteArray>;
Digest folderDigest(const QString& folder, QString* problem) {
    Digest digests;
    for (const QString& name :
         {Schemas::kResultsFile, Schemas::kWeightsFile, Schemas::kGamesFile, Schemas::kDiscardedFile}) {
        const QString path = QDir(folder).filePath(name);
        if (!QFile::exists(path)) {
            digests.push_back("absent");
            continue;
        }
        sqlite3* db = nullptr;
        // Read-write, so a hot journal is rolled back as any reader would.
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            *problem = name + QStringLiteral(" cannot be opened");
            sqlite3_close(db);
            return {};
        }
        auto rowsOf = [&](const char* sql) {
            QByteArray out;
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
                *problem = name + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db));
                return out;
            }
            while (sqlite3_step(s) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(s); ++c) {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                    out += text ? QByteArray(text) : QByteArray("∅");
                    out += ',';
                }
                out += '\n';
            }
            sqlite3_finalize(s);
            return out;
        };
        const QByteArray check = rowsOf("PRAGMA integrity_check");
        if (check != "ok,\n")
            *problem = name + QStringLiteral(" is damaged: ") + QString::fromUtf8(check);
        digests.push_back(
            QCryptographicHash::hash(rowsOf("SELECT * FROM data ORDER BY rowid"), QCryptographicHash::Sha1)
                .toHex());
        sqlite3_close(db);
    }
    return digests;
}

int runChild(const QString& folder) {
    Tables t(folder);
    Script s(t);
    std::printf("R\n");
    std::fflush(stdout);
    const auto ops = s.operations();
    for (std::size_t i = 0; i < ops.size(); ++i) {
        ops[i]();
        s.commit();
        std::printf("E %zu\n", i);
        std::fflush(stdout);
    }
    std::printf("D\n");
    std::fflush(stdout);
    return 0;
}

} // namespace

class DurabilityTest : public QObject {
    Q_OBJECT

    QStringList childArgs(const QString& folder) const { return {QStringLiteral("--child"), folder}; }

private slots:
    void killedAtRandomMomentsKeepsEveryEndedOperation() {
        // The states after each operation, from a run that nobody stops.
        std::vector<Digest> states;
        {
            WorkFolder w;
            Tables t(w.path());
            Script s(t);
            QString problem;
            states.push_back(folderDigest(w.path(), &problem));
            for (const auto& op : s.operations()) {
                op();
                s.commit();
                states.push_back(folderDigest(w.path(), &problem));
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
            }
        }
        const int operations = static_cast<int>(states.size()) - 1;

        // How long each operation takes in a child, so the kills fall anywhere inside each one.
        std::vector<qint64> startUs(static_cast<std::size_t>(operations + 1), 0);
        {
            WorkFolder w;
            QProcess child;
            QElapsedTimer clock;
            child.start(QCoreApplication::applicationFilePath(), childArgs(w.path()));
            QVERIFY(child.waitForReadyRead(10000));
            clock.start();
            QByteArray out = child.readAllStandardOutput();
            int seen = 0;
            while (!out.contains("D\n")) {
                QVERIFY(child.waitForReadyRead(60000));
                out += child.readAllStandardOutput();
                const qint64 at = clock.nsecsElapsed() / 1000;
                while (out.contains(QByteArray("E ") + QByteArray::number(seen) + '\n') && seen < operations)
                    startUs[static_cast<std::size_t>(++seen)] = at;
            }
            QVERIFY(child.waitForFinished(10000));
        }

        constexpr int kKills = 136;
        std::vector<int> killedIn(static_cast<std::size_t>(operations + 1), 0);
        QRandomGenerator rng(20261210);
        for (int trial = 0; trial < kKills; ++trial) {
            WorkFolder w;
            QProcess child;
            const int target = trial % operations;
            child.start(QCoreApplication::applicationFilePath(), childArgs(w.path()));
            QVERIFY(child.waitForReadyRead(10000));
            QByteArray out = child.readAllStandardOutput();
            const QByteArray before =
                target == 0 ? QByteArray("R\n") : QByteArray("E ") + QByteArray::number(target - 1) + '\n';
            while (!out.contains(before)) {
                QVERIFY(child.waitForReadyRead(10000));
                out += child.readAllStandardOutput();
            }
            const qint64 span = std::max<qint64>(startUs[static_cast<std::size_t>(target + 1)] -
                                                     startUs[static_cast<std::size_t>(target)],
                                                 200);
            QThread::usleep(static_cast<unsigned long>(rng.bounded(static_cast<quint32>(span + span / 4))));
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(10000));
            out += child.readAllStandardOutput();
            const QList<QByteArray> lines = out.split('\n');
            int ended = -1; // the last operation that ended before the kill
            for (const QByteArray& l : lines)
                if (l.startsWith("E "))
                    ended = l.mid(2).toInt();
            killedIn[static_cast<std::size_t>(std::min(ended + 1, operations))]++;

            QString problem;
            const Digest now = folderDigest(w.path(), &problem);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("kill %1: ").arg(trial) + problem));
            const auto afterEnded = static_cast<std::size_t>(ended + 1);
            // Each file holds the operations that ended, and the one in progress whole or not at
            // all (an operation that changes two files commits them one after the other).
            for (std::size_t file = 0; file < now.size(); ++file) {
                const bool ok = now[file] == states[afterEnded][file] ||
                                (afterEnded + 1 < states.size() && now[file] == states[afterEnded + 1][file]);
                QVERIFY2(ok,
                         qPrintable(QStringLiteral("kill %1 during operation %2: file %3 holds neither the "
                                                   "ended operations nor the one in progress whole")
                                        .arg(trial)
                                        .arg(ended + 1)
                                        .arg(file)));
            }
        }
        QString spread;
        for (std::size_t i = 0; i < killedIn.size(); ++i)
            spread += QStringLiteral("%1:%2 ").arg(i).arg(killedIn[i]);
        qInfo("kills by operation in progress: %s", qPrintable(spread));
    }
};

int main(int argc, char** argv) {
    useBrazilianLocale();
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]));
    DurabilityTest tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_durability.moc"
