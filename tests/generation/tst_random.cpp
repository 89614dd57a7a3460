#include "FileNames.h"
#include "GeneratorFixture.h"
#include "RandomGeneration.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QFile>
#include <set>

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

const Message kSizeMessage{QStringLiteral("Geração dos jogos"),
                           QStringLiteral("As dezenas por jogo são no mínimo 6 e no máximo 15")};
const Message kFewMessage{QStringLiteral("Geração dos jogos"),
                          QStringLiteral("Dezenas disponíveis insuficientes")};
const Message kQuantMessage{QStringLiteral("Quantidade de jogos"),
                            QStringLiteral("O número de jogos desejados é inválido.")};
const Message kQuestion{
    QStringLiteral("Tá difícil"),
    QStringLiteral("O sistema já tentou 1000 combinações aleatórias e não consegue atender a seus "
                   "filtros? Tenta mais 1000?"),
    true}; // a question that goes forward: Enter answers Yes

BoardSelection board(std::vector<int> valid, std::vector<int> fixed = {}) {
    return {std::move(valid), std::move(fixed)};
}

RandomRequest request(BoardSelection b, const QString& perGame, const QString& games) {
    RandomRequest r;
    r.board = std::move(b);
    r.dezJogo = perGame;
    r.quant = games;
    return r;
}

// A fresh working folder with an empty, open games table.
struct Run {
    WorkFolder work;
    Tables t{work.path()};
    ScriptedPrompter prompter;
    ScriptedProgress progress;
    Run() { t.TableCar.create(); }
    RandomRunResult go(const RandomRequest& r, unsigned seed = 7) {
        return GenerateRandomGames(t, r, seededKeys(seed), prompter, progress);
    }
};

} // namespace

class TestRandom : public QObject {
    Q_OBJECT

private slots:
    void gameSize_data() {
        QTest::addColumn<std::vector<int>>("valid");
        QTest::addColumn<std::vector<int>>("fixed");
        QTest::addColumn<QString>("perGame");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("labelMax");
        QTest::addColumn<bool>("tooFew");
        const std::vector<int> none;
        QTest::newRow("60 valid, 6") << numbersFrom(1, 60) << none << "6" << true << "50.063.860" << false;
        QTest::newRow("60 valid, blanks around 7")
            << numbersFrom(1, 60) << none << " 7 " << true << "386.206.920" << false;
        QTest::newRow("60 valid, 15")
            << numbersFrom(1, 60) << none << "15" << true << "53.194.089.192.720" << false;
        QTest::newRow("10 valid, 5 fixed, 7: C(10, 2)")
            << numbersFrom(1, 10) << numbersFrom(11, 15) << "7" << true << "45" << false;
        QTest::newRow("37 valid, 2 fixed, 6: C(37, 4)")
            << numbersFrom(1, 37) << std::vector<int>{50, 51} << "6" << true << "66.045" << false;
        QTest::newRow("37 valid, 2 fixed, 15: C(37, 13)")
            << numbersFrom(1, 37) << std::vector<int>{50, 51} << "15" << true << "3.562.467.300" << false;
        QTest::newRow("6 valid, 6 fixed, 6: none can be made")
            << numbersFrom(1, 6) << numbersFrom(11, 16) << "6" << true << "" << false;
        QTest::newRow("empty") << numbersFrom(1, 60) << none << "" << false << "" << false;
        QTest::newRow("letters") << numbersFrom(1, 60) << none << "abc" << false << "" << false;
        QTest::newRow("5") << numbersFrom(1, 60) << none << "5" << false << "" << false;
        QTest::newRow("16") << numbersFrom(1, 60) << none << "16" << false << "" << false;
        QTest::newRow("-1") << numbersFrom(1, 60) << none << "-1" << false << "" << false;
        QTest::newRow("too long for 32 bits")
            << numbersFrom(1, 60) << none << "99999999999" << false << "" << false;
        QTest::newRow("10 valid, 15") << numbersFrom(1, 10) << none << "15" << false << "" << true;
        QTest::newRow("7 valid, 2 fixed, 8")
            << numbersFrom(1, 7) << std::vector<int>{20, 30} << "8" << false << "" << true;
    }
    void gameSize() {
        QFETCH(std::vector<int>, valid);
        QFETCH(std::vector<int>, fixed);
        QFETCH(QString, perGame);
        QFETCH(bool, ok);
        QFETCH(QString, labelMax);
        QFETCH(bool, tooFew);
        const GameSizeCheck c = CheckGameSize(board(valid, fixed), perGame);
        QCOMPARE(c.gameSizeOk, ok);
        QCOMPARE(c.available, static_cast<int>(valid.size()));
        QCOMPARE(c.labelMax, labelMax);
        QCOMPARE(c.maxGames.has_value(), ok);
        if (!ok)
            QCOMPARE(c.message, (std::optional<Message>(tooFew ? kFewMessage : kSizeMessage)));
        else
            QVERIFY(!c.message);
    }

    void maxGamesIsTheFloatingFormula() {
        QCOMPARE(*CheckGameSize(board(numbersFrom(1, 60)), u"6").maxGames, 50063860.0);
        // Every game holds the 5 fixed numbers: 2 of the 10 valid ones are chosen.
        QCOMPARE(*CheckGameSize(board(numbersFrom(1, 10), numbersFrom(11, 15)), u"7").maxGames, 45.0);
    }

    void wantedGames_data() {
        QTest::addColumn<QString>("quant");
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "abc";
        QTest::newRow("zero") << "0";
        QTest::newRow("negative") << "-1";
        QTest::newRow("too long for 32 bits") << "99999999999";
        QTest::newRow("above MaxGames") << "121";
    }
    void wantedGames() {
        QFETCH(QString, quant);
        Run run;
        const RandomRunResult r =
            run.go(request(board(numbersFrom(1, 10), numbersFrom(11, 15)), QStringLiteral("7"), quant));
        QCOMPARE(r.message, std::optional<Message>(kQuantMessage));
        QVERIFY(r.panelOpen);
        QVERIFY(!r.refreshSummary);
        QCOMPARE(run.t.TableCar.rowCount(), 0);
        QVERIFY(!run.t.TableDezVal.isOpen());
    }

    void sizeMessageEndsTheRun() {
        Run run;
        const RandomRunResult r = run.go(request(board(numbersFrom(1, 60)), QString(), QStringLiteral("5")));
        QCOMPARE(r.message, std::optional<Message>(kSizeMessage));
        QVERIFY(r.panelOpen);
        QCOMPARE(run.t.TableCar.rowCount(), 0);
    }

    void evenRangeAboveGameSize_data() {
        QTest::addColumn<QString>("pares");
        QTest::addColumn<QString>("perGame");
        QTest::addColumn<bool>("refused");
        QTest::newRow("empty, 6 per game") << ""
                                           << "6" << true;
        QTest::newRow("0-7, 6 per game") << "0-7"
                                         << "6" << true;
        QTest::newRow("empty, 15 per game") << ""
                                            << "15" << false;
    }
    void evenRangeAboveGameSize() {
        QFETCH(QString, pares);
        QFETCH(QString, perGame);
        QFETCH(bool, refused);
        Run run;
        RandomRequest rq = request(board(numbersFrom(1, 60)), perGame, QStringLiteral("1"));
        rq.filters.pares = pares;
        const RandomRunResult r = run.go(rq);
        if (refused) {
            QCOMPARE(r.message, std::optional<Message>(Message{
                                    QStringLiteral("Dezenas pares"),
                                    QStringLiteral("A quantidade de dezenas pares do filtro é maior que a "
                                                   "de dezenas por jogo.")}));
            QVERIFY(r.panelOpen);
            QCOMPARE(run.t.TableCar.rowCount(), 0);
        } else {
            QVERIFY(!r.message);
            QCOMPARE(run.t.TableCar.rowCount(), 1);
        }
    }

    void tooManyFixedNumbers() {
        Run run;
        const RandomRunResult r = run.go(request(board(numbersFrom(1, 10), numbersFrom(11, 16)),
                                                 QStringLiteral("6"), QStringLiteral("1")));
        QCOMPARE(r.message,
                 std::optional<Message>(Message{QStringLiteral("Quantidade de dezenas fixas"),
                                                QStringLiteral("O número de dezenas fixas deve ser menor que "
                                                               "as dezenas jogadas.")}));
        QVERIFY(!r.panelOpen); // the panel closes before the deck is built
        QVERIFY(!r.refreshSummary);
        QCOMPARE(run.t.TableCar.rowCount(), 0);
    }

    void quotas_data() {
        QTest::addColumn<int>("games");
        QTest::addColumn<std::vector<int>>("even"); // 0..6
        QTest::addColumn<std::vector<int>>("row");  // 1..6
        QTest::newRow("one") << 1 << std::vector<int>{0, 0, 0, 0, 0, 0, 1}
                             << std::vector<int>{0, 0, 0, 1, 0, 0};
        QTest::newRow("three") << 3 << std::vector<int>{0, 0, 1, 1, 1, 0, 0}
                               << std::vector<int>{0, 0, 1, 2, 1, -1};
        QTest::newRow("ten") << 10 << std::vector<int>{0, 1, 3, 3, 2, 1, 0}
                             << std::vector<int>{0, 0, 2, 5, 3, 0};
    }
    void quotas() {
        QFETCH(int, games);
        QFETCH(std::vector<int>, even);
        QFETCH(std::vector<int>, row);
        const Quotas q = ComputeQuotas(games, RandomFilterSettings(FilterTexts{}));
        QCOMPARE(std::vector<int>(q.even.begin(), q.even.end()), even);
        QCOMPARE(std::vector<int>(q.row.begin() + 1, q.row.end()), row);
    }

    void quotasOfWideRanges() {
        FilterSettings s{0, 6, 3, 999999999, 60, 1};
        const Quotas q = ComputeQuotas(100, s);
        // No class takes the remainder when the row range goes beyond 6.
        QCOMPARE(q.row[1], 0);
        QCOMPARE(q.row[3], 19);
        QCOMPARE(q.row[4], 51);
        QCOMPARE(q.row[5], 27);
        QCOMPARE(q.row[6], 2);
        QCOMPARE(q.even[0], 1);
        QCOMPARE(q.even[6], 100 - (1 + 9 + 25 + 30 + 25 + 10));
    }

    void sixNumberGamesFollowTheQuotas() {
        Run run;
        QFile old(run.work.file(QStringLiteral("DezVal.cds")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        const RandomRunResult r =
            run.go(request(board(numbersFrom(1, 60)), QStringLiteral("6"), QStringLiteral("10")));
        QVERIFY(!r.message);
        QVERIFY(!r.panelOpen);
        QVERIFY(r.refreshSummary);
        QCOMPARE(r.accepted, 10);
        QVERIFY(!r.stopped);
        QVERIFY(!FileNames::exists(run.work.path(), QStringLiteral("DezVal.cds")));
        QCOMPARE(run.t.TableDezVal.rowCount(), 60);

        Table& car = run.t.TableCar;
        const GameFields f(car);
        QCOMPARE(car.rowCount(), 10);
        const Quotas q = ComputeQuotas(10, RandomFilterSettings(FilterTexts{}));
        std::array<int, 7> evens{};
        std::array<int, 7> rows{};
        for (int i = 0; i < 10; ++i) {
            const RowRef row = car.rowAt(i);
            const std::vector<int> game = gameAt(car, f, i);
            QCOMPARE(game.size(), std::size_t{6});
            QVERIFY(std::is_sorted(game.begin(), game.end()));
            const GameMeasures m = MeasureGame(game);
            QCOMPARE(row.realValue(f.cartao), std::optional<double>(i + 1));
            QCOMPARE(row.text(f.todos), TodosText(game));
            QCOMPARE(row.intValue(f.dezenas), std::optional<qint32>(6));
            QCOMPARE(row.intValue(f.pares), std::optional<qint32>(m.pares));
            QCOMPARE(row.intValue(f.linhas), std::optional<qint32>(m.linhas));
            QCOMPARE(row.intValue(f.abaixo), std::optional<qint32>(m.abaixo));
            QVERIFY(row.isEmpty(f.emite));
            ++evens[static_cast<std::size_t>(m.pares)];
            ++rows[static_cast<std::size_t>(m.linhas)];
        }
        QCOMPARE(evens, q.even);
        QCOMPARE(rows, q.row);
    }

    void fixedNumbersInEveryGameAndNumberingContinues() {
        Run run;
        appendGame(run.t.TableCar, 1, {1, 2, 3, 4, 5, 6}, true);
        appendGame(run.t.TableCar, 9, {1, 2, 3, 4, 5, 7}, true);
        std::vector<int> valid;
        for (int n = 1; n <= 60; ++n)
            if (n != 7 && n != 42 && n != 13)
                valid.push_back(n);
        RandomRequest rq = request(board(valid, {7, 42}), QStringLiteral("8"), QStringLiteral("30"));
        rq.filters.linhas = QStringLiteral("3-5");
        const RandomRunResult r = run.go(rq);
        QCOMPARE(r.accepted, 30);
        Table& car = run.t.TableCar;
        const GameFields f(car);
        QCOMPARE(car.rowCount(), 32);
        std::set<QString> seen;
        for (int i = 2; i < 32; ++i) {
            const std::vector<int> game = gameAt(car, f, i);
            QCOMPARE(game.size(), std::size_t{8});
            QCOMPARE(car.rowAt(i).realValue(f.cartao), std::optional<double>(8 + i));
            QVERIFY(std::find(game.begin(), game.end(), 7) != game.end());
            QVERIFY(std::find(game.begin(), game.end(), 42) != game.end());
            QVERIFY(std::find(game.begin(), game.end(), 13) == game.end());
            const GameMeasures m = MeasureGame(game);
            QVERIFY(m.linhas >= 3 && m.linhas <= 5);
            QVERIFY(m.pares >= 1 && m.pares <= 6);
            QVERIFY(seen.insert(TodosText(game)).second);
        }
    }

    // Of the eight 7-number games of 1..8, seven are stored with Todos and one without (as the
    // combination generator stores its games): the one dealt must be that last one.
    void duplicatesAreRefused() {
        Run run;
        for (int left = 1; left <= 8; ++left) {
            std::vector<int> game;
            for (int n = 1; n <= 8; ++n)
                if (n != left)
                    game.push_back(n);
            appendGame(run.t.TableCar, left, game, left != 8);
        }
        const RandomRunResult r =
            run.go(request(board(numbersFrom(1, 8)), QStringLiteral("7"), QStringLiteral("1")));
        QCOMPARE(r.accepted, 1);
        QCOMPARE(run.t.TableCar.rowCount(), 9);
        QCOMPARE(gameAt(run.t.TableCar, 8), numbersFrom(1, 7));
        QCOMPARE(run.t.TableCar.rowAt(8).realValue(GameFields(run.t.TableCar).cartao),
                 std::optional<double>(9));
    }

    void emptyInicialAsksUntilNo() {
        Run run;
        run.prompter = ScriptedPrompter({true});
        RandomRequest rq = request(board(numbersFrom(1, 60)), QStringLiteral("7"), QStringLiteral("5"));
        rq.filters.inicial = QString();
        const RandomRunResult r = run.go(rq);
        QCOMPARE(run.prompter.asked, (QList<Message>{kQuestion, kQuestion}));
        QCOMPARE(r.accepted, 0);
        QVERIFY(r.stopped);
        QVERIFY(!r.panelOpen);
        QCOMPARE(run.t.TableCar.rowCount(), 0);
    }

    // 10 Valid and 5 Fixed numbers with 7 per game make 45 different games, and MaxGames says so:
    // asking for more is refused before anything is dealt.
    void noMoreThanThePossibleGames() {
        Run run;
        const RandomRunResult r = run.go(
            request(board(numbersFrom(11, 20), {1, 3, 5, 7, 9}), QStringLiteral("7"), QStringLiteral("46")));
        QCOMPARE(r.message,
                 std::optional<Message>(Message{QStringLiteral("Quantidade de jogos"),
                                                QStringLiteral("O número de jogos desejados é inválido.")}));
        QVERIFY(r.panelOpen);
        QCOMPARE(run.t.TableCar.rowCount(), 0);
    }

    // Of those 45 games only the 10 whose two dealt numbers are odd pass "0-0" even numbers: the
    // question comes back after every 1000 fruitless attempts until No.
    void noKeepsTheGamesAccepted() {
        Run run;
        run.prompter = ScriptedPrompter({true, true, false});
        RandomRequest rq =
            request(board(numbersFrom(11, 20), {1, 3, 5, 7, 9}), QStringLiteral("7"), QStringLiteral("45"));
        rq.filters.pares = QStringLiteral("0-0");
        const RandomRunResult r = run.go(rq);
        QCOMPARE(run.prompter.asked.size(), 3);
        QCOMPARE(r.accepted, 10);
        QVERIFY(r.stopped);
        Table& car = run.t.TableCar;
        const GameFields f(car);
        QCOMPARE(car.rowCount(), 10);
        for (int i = 0; i < 10; ++i) {
            const GameMeasures m = MeasureGame(gameAt(car, f, i));
            QCOMPARE(car.rowAt(i).intValue(f.pares), std::optional<qint32>(m.pares));
            QCOMPARE(car.rowAt(i).intValue(f.abaixo), std::optional<qint32>(m.abaixo));
        }
    }

    void cancelledProgressKeepsTheGamesAccepted() {
        Run run;
        run.progress = ScriptedProgress(0);
        const RandomRunResult r =
            run.go(request(board(numbersFrom(1, 60)), QStringLiteral("7"), QStringLiteral("5000")));
        QVERIFY(r.stopped);
        QCOMPARE(run.progress.calls, 1);
        QVERIFY(r.accepted > 0 && r.accepted < 5000);
        QVERIFY(run.prompter.asked.isEmpty());
        Table& car = run.t.TableCar;
        QCOMPARE(car.rowCount(), r.accepted);
        QVERIFY(!car.rowAt(r.accepted - 1).isEmpty(GameFields(car).abaixo));
    }

    void fillParesAbaixo() {
        WorkFolder work;
        Tables t(work.path());
        Table& car = t.TableCar;
        car.create();
        const GameFields f(car);
        appendGame(car, 1, {2, 4, 31, 33, 35, 40}, true); // filled
        appendGame(car, 2, {1, 2, 3, 4, 5, 6, 50}, true); // Abaixo stored: left alone
        car.last();
        car.edit();
        car.setInteger(f.abaixo, 0);
        car.post();
        appendGame(car, 3, {10, 20, 30, 40, 50, 60}, false);
        car.last();
        car.edit();
        car.setInteger(f.d[3], 0); // the game ends at the first 0
        car.post();
        FillParesAbaixo(car);
        QCOMPARE(car.rowAt(0).intValue(f.pares), std::optional<qint32>(3));
        QCOMPARE(car.rowAt(0).intValue(f.abaixo), std::optional<qint32>(2));
        QVERIFY(car.rowAt(1).isEmpty(f.pares));
        QCOMPARE(car.rowAt(1).intValue(f.abaixo), std::optional<qint32>(0));
        QCOMPARE(car.rowAt(2).intValue(f.pares), std::optional<qint32>(3));
        QCOMPARE(car.rowAt(2).intValue(f.abaixo), std::optional<qint32>(3));
    }

    void clockSeededKeysStayInRange() {
        const RandomKeys keys = ClockSeededKeys();
        for (int i = 0; i < 10000; ++i) {
            const int k = keys();
            QVERIFY(k >= 0 && k <= 999);
        }
    }
};

QUINABEL_CORE_TEST_MAIN(TestRandom)
#include "tst_random.moc"
