#include "CombinationGeneration.h"
#include "CountText.h"
#include "GeneratorFixture.h"
#include "Schemas.h"
#include "Tables.h"
#include "TestSupport.h"

#include <algorithm>
#include <random>
#include <vector>

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

CombinationRequest request(std::vector<int> valid, std::vector<int> fixed = {}, bool counting = true) {
    CombinationRequest r;
    r.board.valid = std::move(valid);
    r.board.fixed = std::move(fixed);
    r.counting = counting;
    return r;
}

std::vector<int> odd(int from, int to) {
    std::vector<int> v;
    for (int n = from; n <= to; ++n)
        if (n % 2 != 0)
            v.push_back(n);
    return v;
}

} // namespace

class TestCombination : public QObject {
    Q_OBJECT

private slots:
    void combinationsOfSix_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("notice");
        QTest::newRow("none") << 0 << "0" << true;
        QTest::newRow("five") << 5 << "0" << true;
        QTest::newRow("six") << 6 << "1" << false;
        QTest::newRow("twelve") << 12 << "924" << false;
        QTest::newRow("sixty") << 60 << "50.063.860" << false;
    }
    void combinationsOfSix() {
        QFETCH(int, n);
        QFETCH(QString, text);
        QFETCH(bool, notice);
        const CountWithNotice c = CombinationsOfSix(n);
        QCOMPARE(c.text, text);
        QCOMPARE(c.message.has_value(), notice);
        if (notice)
            QCOMPARE(*c.message,
                     (Message{QStringLiteral("Geração das combinações"),
                              QStringLiteral("Você tem de ter mais de 6 dezenas para gerar combinações")}));
    }

    void countTexts_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "";
        QTest::newRow("one") << 1.0 << "1";
        QTest::newRow("groups") << 50063860.0 << "50.063.860";
        QTest::newRow("decimals shown") << 1234.5 << "1.234,5";
        QTest::newRow("no forced zero") << 0.25 << ",25";
        QTest::newRow("rounded to whole") << 137846528819.99998 << "137.846.528.820";
        // Computed in floating point, as the count has always been: the exact 118264581564861424
        // is beyond what a double holds.
        QTest::newRow("60 choose 30") << FloatCombinations(60, 30) << "118.264.581.564.861.456";
    }
    void countTexts() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(CountText(value), text);
    }

    void groupedCountText() {
        QCOMPARE(GroupedCountText(0), QString());
        QCOMPARE(GroupedCountText(923), QStringLiteral("923"));
        QCOMPARE(GroupedCountText(49470085), QStringLiteral("49.470.085"));
        QCOMPARE(FloatCombinations(5, 6), 0.0);
        QCOMPARE(FloatCombinations(12, 6), 924.0);
    }

    void labelSelC() {
        QCOMPARE(LabelSelCText(60).text, QStringLiteral("60 pedras= 50.063.860"));
        const CountWithNotice few = LabelSelCText(5);
        QCOMPARE(few.text, QStringLiteral("5 pedras= 0"));
        QVERIFY(few.message.has_value());
        // Every combination holds the fixed numbers.
        QCOMPARE(LabelSelCText(39, 2).text, QStringLiteral("39 pedras= 66.045"));
        QCOMPARE(LabelSelCText(60, 5).text, QStringLiteral("60 pedras= 55"));
        QCOMPARE(LabelSelCText(60, 6).text, QStringLiteral("60 pedras= 0"));
    }

    void countingRun_data() {
        QTest::addColumn<std::vector<int>>("valid");
        QTest::addColumn<std::vector<int>>("fixed");
        QTest::addColumn<QString>("pares");
        QTest::addColumn<QString>("inicial");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("label");
        QTest::newRow("12 numbers") << numbersFrom(1, 12) << std::vector<int>{} << "1-6"
                                    << "60" << qint64{923} << "923";
        QTest::newRow("12 numbers, 3 even") << numbersFrom(1, 12) << std::vector<int>{} << "3"
                                            << "60" << qint64{400} << "400";
        QTest::newRow("12 numbers, 3 even, 1 and 2 fixed")
            << numbersFrom(3, 12) << std::vector<int>{1, 2} << "3"
            << "60" << qint64{100} << "100";
        QTest::newRow("all odd") << odd(1, 13) << std::vector<int>{} << "1-6"
                                 << "60" << qint64{0} << "";
        QTest::newRow("exactly six") << std::vector<int>{2, 9, 17, 30, 41, 58} << std::vector<int>{} << "1-6"
                                     << "60" << qint64{1} << "1";
        QTest::newRow("five fixed and one valid")
            << std::vector<int>{44} << std::vector<int>{3, 8, 15, 22, 37} << "1-6"
            << "60" << qint64{1} << "1";
        QTest::newRow("empty inicial") << numbersFrom(1, 12) << std::vector<int>{} << "1-6"
                                       << "" << qint64{0} << "";
        QTest::newRow("all sixty") << numbersFrom(1, 60) << std::vector<int>{} << "1-6"
                                   << "60" << qint64{49470085} << "49.470.085";
    }
    void countingRun() {
        QFETCH(std::vector<int>, valid);
        QFETCH(std::vector<int>, fixed);
        QFETCH(QString, pares);
        QFETCH(QString, inicial);
        QFETCH(qint64, count);
        QFETCH(QString, label);
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        CombinationRequest r = request(valid, fixed);
        r.filters.pares = pares;
        r.filters.inicial = inicial;
        ScriptedProgress progress;
        const CombinationRunResult res = RunCombinations(t.TableCar, r, progress);
        QVERIFY(!res.message);
        QCOMPARE(res.count, count);
        QCOMPARE(res.labelAGerar, label);
        QVERIFY(res.panelOpen);
        QVERIFY(res.refreshSummary);
        QCOMPARE(t.TableCar.rowCount(), 0);
    }

    // The count by classes must equal the count one by one, whatever the candidates and filters.
    void countByClassesEqualsEnumeration() {
        std::mt19937 rng(20261209);
        auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        for (int round = 0; round < 300; ++round) {
            std::vector<int> all = numbersFrom(1, 60);
            std::shuffle(all.begin(), all.end(), rng);
            const auto n = static_cast<std::size_t>(pick(6, 22));
            std::vector<int> candidates(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n));
            std::sort(candidates.begin(), candidates.end());
            std::vector<int> fixed;
            const int fixedCount = pick(0, 3);
            for (int i = 0; i < fixedCount; ++i)
                fixed.push_back(candidates[static_cast<std::size_t>(pick(0, static_cast<int>(n) - 1))]);
            FilterSettings s;
            s.paresMin = pick(0, 4);
            s.paresMax = pick(s.paresMin, 7);
            s.linhasMin = pick(1, 4);
            s.linhasMax = pick(s.linhasMin, 7);
            s.dezenaInicial = pick(0, 61);
            s.dezenaFinal = pick(0, 61);
            QCOMPARE(CountCombinations(candidates, fixed, s),
                     CountCombinationsOneByOne(candidates, fixed, s));
        }
        const FilterSettings initial{1, 6, 1, 6, 60, 1};
        QCOMPARE(CountCombinations(numbersFrom(1, 30), {}, initial),
                 CountCombinationsOneByOne(numbersFrom(1, 30), {}, initial));
    }

    // "Calcula combinações a gerar" over many boards and filter strips as the player can type
    // them, odd ones included: every counting run answers, touches no table, and on boards small
    // enough to walk agrees with the walk one by one. Run it under the sanitizers as well.
    void countingRunsOverRandomBoardsAndFilters() {
        std::mt19937 rng(20261210);
        auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const std::vector<const char*> ranges{"",
                                              "1-6",
                                              "6-1",
                                              "-3",
                                              "0",
                                              "7",
                                              "3-",
                                              "-",
                                              "a",
                                              "2-4",
                                              " 3 - 5 ",
                                              "15-0",
                                              "-5-2",
                                              "0-0",
                                              "6",
                                              "1--6",
                                              "99999999999",
                                              "4-99999999999",
                                              "-99999999999-2",
                                              "1-6-3",
                                              "+2-+4",
                                              "½"};
        const std::vector<const char*> bounds{"",   "0",   "1",           "30",   "60", "61",
                                              "-1", "abc", "99999999999", " 45 ", "+7"};
        auto any = [&pick](const std::vector<const char*>& from) {
            return QString::fromUtf8(
                from[static_cast<std::size_t>(pick(0, static_cast<int>(from.size()) - 1))]);
        };
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        int counted = 0;
        for (int round = 0; round < 400; ++round) {
            std::vector<int> all = numbersFrom(1, 60);
            std::shuffle(all.begin(), all.end(), rng);
            const int inPlay = round % 10 == 0 ? 60 : pick(0, round % 3 == 0 ? 60 : 18);
            const int fixedCount = std::min(inPlay, pick(0, 7));
            CombinationRequest r;
            r.board.fixed.assign(all.begin(), all.begin() + fixedCount);
            r.board.valid.assign(all.begin() + fixedCount, all.begin() + inPlay);
            std::sort(r.board.valid.begin(), r.board.valid.end());
            std::sort(r.board.fixed.begin(), r.board.fixed.end());
            r.filters.pares = any(ranges);
            r.filters.linhas = any(ranges);
            r.filters.inicial = any(bounds);
            r.filters.final = any(bounds);
            r.counting = true;
            ScriptedProgress progress;
            const CombinationRunResult res = RunCombinations(t.TableCar, r, progress);
            QCOMPARE(t.TableCar.rowCount(), 0);
            QVERIFY(res.panelOpen);
            if (res.message)
                continue;
            ++counted;
            QVERIFY(res.count >= 0);
            QCOMPARE(res.labelAGerar, GroupedCountText(res.count));
            const std::vector<int> candidates = r.board.candidates();
            QVERIFY(static_cast<double>(res.count) <=
                    FloatCombinations(static_cast<int>(candidates.size()), 6));
            if (candidates.size() <= 18)
                QCOMPARE(res.count, CountCombinationsOneByOne(candidates, r.board.fixed,
                                                              CombinationFilterSettings(r.filters)));
        }
        QVERIFY2(counted >= 100, qPrintable(QString::number(counted))); // most strips are counted
    }

    void failedChecks_data() {
        QTest::addColumn<std::vector<int>>("valid");
        QTest::addColumn<std::vector<int>>("fixed");
        QTest::addColumn<QString>("pares");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString paresTitle = QStringLiteral("Dezenas pares");
        const QString paresText = QStringLiteral("A quantidade de dezenas pares do filtro é maior que 6.");
        const QString fixedTitle = QStringLiteral("Quantidade de dezenas fixas");
        const QString fixedText = QStringLiteral("O número de dezenas fixas deve ser menor que 6.");
        const QString fewTitle = QStringLiteral("Dezenas insuficientes");
        const QString fewText = QStringLiteral("Você precisa de, no mínimo, 6 dezenas para formar os jogos.");
        QTest::newRow("empty pares") << numbersFrom(1, 12) << std::vector<int>{} << "" << paresTitle
                                     << paresText;
        QTest::newRow("pares up to 7")
            << numbersFrom(1, 12) << std::vector<int>{} << "1-7" << paresTitle << paresText;
        QTest::newRow("pares before fixed")
            << numbersFrom(1, 3) << numbersFrom(4, 9) << "" << paresTitle << paresText;
        QTest::newRow("six fixed") << numbersFrom(1, 6) << numbersFrom(7, 12) << "1-6" << fixedTitle
                                   << fixedText;
        QTest::newRow("six fixed alone")
            << std::vector<int>{} << numbersFrom(7, 12) << "1-6" << fixedTitle << fixedText;
        QTest::newRow("five numbers")
            << numbersFrom(1, 3) << std::vector<int>{10, 20} << "1-6" << fewTitle << fewText;
    }
    void failedChecks() {
        QFETCH(std::vector<int>, valid);
        QFETCH(std::vector<int>, fixed);
        QFETCH(QString, pares);
        QFETCH(QString, title);
        QFETCH(QString, text);
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        for (const bool counting : {true, false}) {
            CombinationRequest r = request(valid, fixed, counting);
            r.filters.pares = pares;
            ScriptedProgress progress;
            const CombinationRunResult res = RunCombinations(t.TableCar, r, progress);
            QCOMPARE(res.message, (std::optional<Message>(Message{title, text})));
            QVERIFY(res.panelOpen);
            QVERIFY(!res.refreshSummary);
            QCOMPARE(t.TableCar.rowCount(), 0);
        }
    }

    void generatingRunWritesLexicographicGames() {
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        appendGame(t.TableCar, 4, {1, 2, 3, 4, 5, 6}, true);
        ScriptedProgress progress;
        const CombinationRunResult res =
            RunCombinations(t.TableCar, request(numbersFrom(1, 7), {}, false), progress);
        QVERIFY(!res.message);
        QVERIFY(!res.panelOpen);
        QVERIFY(res.refreshSummary);
        QCOMPARE(res.count, qint64{7});
        const std::vector<std::vector<int>> expected{
            {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}, {1, 2, 3, 4, 6, 7}, {1, 2, 3, 5, 6, 7},
            {1, 2, 4, 5, 6, 7}, {1, 3, 4, 5, 6, 7}, {2, 3, 4, 5, 6, 7}};
        Table& car = t.TableCar;
        const GameFields f(car);
        QCOMPARE(car.rowCount(), 8);
        for (int i = 0; i < 7; ++i) {
            const RowRef row = car.rowAt(i + 1);
            const std::vector<int>& game = expected[static_cast<std::size_t>(i)];
            QCOMPARE(row.realValue(f.cartao), std::optional<double>(5 + i));
            QCOMPARE(gameAt(car, i + 1), game);
            QCOMPARE(row.text(f.emite), QStringLiteral("S"));
            QCOMPARE(row.intValue(f.dezenas), std::optional<qint32>(6));
            const GameMeasures m = MeasureGame(game);
            QCOMPARE(row.intValue(f.pares), std::optional<qint32>(m.pares));
            QCOMPARE(row.intValue(f.linhas), std::optional<qint32>(m.linhas));
            QCOMPARE(row.intValue(f.abaixo), std::optional<qint32>(m.abaixo));
            QVERIFY(row.isEmpty(f.todos));
            QVERIFY(row.isEmpty(f.acertos));
            QVERIFY(row.isEmpty(f.d[6]));
        }
        // No duplicate test: a second run appends the same games again.
        RunCombinations(t.TableCar, request(numbersFrom(1, 7), {}, false), progress);
        QCOMPARE(car.rowCount(), 15);
        QCOMPARE(car.rowAt(14).realValue(f.cartao), std::optional<double>(18));
    }

    void fixedNumbersAndFiltersApplyWhenGenerating() {
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        CombinationRequest r = request(numbersFrom(3, 12), {1, 2}, false);
        r.filters.pares = QStringLiteral("3");
        ScriptedProgress progress;
        const CombinationRunResult res = RunCombinations(t.TableCar, r, progress);
        QCOMPARE(res.count, qint64{100});
        QCOMPARE(t.TableCar.rowCount(), 100);
        for (int i = 0; i < 100; ++i) {
            const std::vector<int> game = gameAt(t.TableCar, i);
            QCOMPARE(game[0], 1);
            QCOMPARE(game[1], 2);
            QCOMPARE(MeasureGame(game).pares, 3);
        }
    }

    void emptyInicialWritesNothing() {
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        CombinationRequest r = request(numbersFrom(1, 12), {}, false);
        r.filters.inicial = QString();
        ScriptedProgress progress;
        const CombinationRunResult res = RunCombinations(t.TableCar, r, progress);
        QCOMPARE(res.count, qint64{0});
        QCOMPARE(t.TableCar.rowCount(), 0);
    }

    // 26922 games (the 19 numbers 1..19 less the 210 combinations without an even number): the
    // table is saved after the 10001st and the 20002nd game and the file then holds those 20002.
    void longRunSavesEvery10001Games() {
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        ScriptedProgress progress;
        const CombinationRunResult res =
            RunCombinations(t.TableCar, request(numbersFrom(1, 19), {}, false), progress);
        QCOMPARE(res.count, qint64{26922});
        Table& car = t.TableCar;
        QVERIFY(car.isOpen());
        QCOMPARE(car.rowCount(), 26922);
        const GameFields f(car);
        for (int i = 0; i < car.rowCount(); ++i)
            QCOMPARE(car.rowAt(i).realValue(f.cartao), std::optional<double>(i + 1));
        // What the games file holds, read by a second table over it.
        Table file(QStringLiteral("TableCarImp"), work.path(), Schemas::kGamesFile);
        file.open();
        QCOMPARE(file.rowCount(), 20002);
        file.close();
        car.commitChanges(); // the end of the operation, as the window commits it
        car.close();
        file.open();
        QCOMPARE(file.rowCount(), 26922);
    }

    void cancellingKeepsTheGamesWritten() {
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        appendGame(t.TableCar, 7, {1, 2, 3, 4, 5, 6}, true);
        ScriptedProgress progress(2);
        const CombinationRunResult res =
            RunCombinations(t.TableCar, request(numbersFrom(1, 60), {}, false), progress);
        QVERIFY(res.stopped);
        QCOMPARE(progress.calls, 3);
        QVERIFY(res.count > 0);
        QVERIFY(res.count < 1000000);
        Table& car = t.TableCar;
        QCOMPARE(car.rowCount(), res.count + 1);
        const GameFields f(car);
        for (int i = 1; i < car.rowCount(); ++i) {
            const RowRef row = car.rowAt(i);
            QCOMPARE(row.realValue(f.cartao), std::optional<double>(7 + i));
            QCOMPARE(row.intValue(f.pares), std::optional<qint32>(MeasureGame(gameAt(car, f, i)).pares));
            QVERIFY(!row.isEmpty(f.linhas));
            QVERIFY(!row.isEmpty(f.abaixo));
        }
    }
};

QUINABEL_CORE_TEST_MAIN(TestCombination)
#include "tst_combination.moc"
