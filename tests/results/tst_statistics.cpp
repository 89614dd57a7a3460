#include "DrawsFixture.h"
#include "NamedColors.h"
#include "RecomputeStatistics.h"
#include "Schemas.h"
#include "StatisticsOrder.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QFile>

// The statistics of the history: counts, weights, classes, the texts shown, and the tables written.
class StatisticsTest : public QObject {
    Q_OBJECT

    static void workedExample(Tables& t) {
        addDraw(t, 101, {1, 2, 3, 4, 5, 6});
        addDraw(t, 102, {1, 7, 8, 9, 10, 11});
        addDraw(t, 103, {12, 13, 14, 15, 16, 17});
    }

    // The TableSaidas row of number n as "Dezena/Saidas/Demora/MaiorDemora/TotSai/Ordenador".
    static QString saidasRow(const Tables& t, int n) { return tableRows(t.TableSaidas).value(n - 1); }

private slots:
    void workedExampleCounts() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        workedExample(t);
        const NumberStatistics s = RecomputeStatistics(t);

        QCOMPARE(s.of(1).absence, 1);
        QCOMPARE(s.of(1).lastAbsence, 1);
        QCOMPARE(s.of(1).longestAbsence, 1);
        QCOMPARE(s.of(1).timesDrawn, 2);
        QVERIFY(qAbs(s.of(1).weight - 1.8525) < 1e-12);
        QCOMPARE(s.weightText(1), QStringLiteral("1,85"));

        QCOMPARE(s.of(2).absence, 2);
        QCOMPARE(s.of(2).lastAbsence, 2);
        QCOMPARE(s.of(2).longestAbsence, 2);
        QCOMPARE(s.of(2).timesDrawn, 1);
        QVERIFY(qAbs(s.of(2).weight - 0.9025) < 1e-12);
        QCOMPARE(s.weightText(2), QStringLiteral("0,90"));

        QCOMPARE(s.of(60), (NumberCounts{3, 3, 3, 0, 0.0}));
        QCOMPARE(s.weightText(60), QStringLiteral("0,00"));
        QCOMPARE(s.absenceText(60), QStringLiteral("3"));
        QCOMPARE(s.timesDrawnText(1), QStringLiteral("2"));

        // Drawn in the last draw: absence 0, weight at least 1; its last absence is the gap before.
        QCOMPARE(s.of(12).absence, 0);
        QCOMPARE(s.of(12).lastAbsence, 2);
        QCOMPARE(s.weightText(12), QStringLiteral("1,00"));

        QCOMPARE(s.mediaText(), QStringLiteral("Média por dezena = 10"));
        QCOMPARE(s.drawsCounted, 3);

        QCOMPARE(t.TableSaidas.rowCount(), 60);
        QCOMPARE(saidasRow(t, 1), QStringLiteral("1/1/1/1/2/"));
        QCOMPARE(saidasRow(t, 2), QStringLiteral("2/2/2/2/1/"));
        QCOMPARE(saidasRow(t, 60), QStringLiteral("60/3/3/3/0/"));
        QCOMPARE(t.TableSaidas.position(), 0);

        // TableAval in ascending weight, holding each exact weight.
        Table& aval = t.TableAval;
        QCOMPARE(aval.rowCount(), 60);
        QCOMPARE(aval.indexFieldNames(), QStringLiteral("Nota"));
        QVERIFY(aval.locate(u"dezena", 1));
        QCOMPARE(aval.real(aval.fieldIndex(u"Nota")), s.of(1).weight);
        QCOMPARE(aval.rowAt(59).rawInteger(aval.fieldIndex(u"dezena")), 1);
        for (int i = 1; i < 60; ++i)
            QVERIFY(aval.rowAt(i - 1).rawReal(0) <= aval.rowAt(i).rawReal(0));

        QCOMPARE(t.TableRes.text(t.TableRes.fieldIndex(u"Concurso")), QStringLiteral("103"));
    }

    void weightClasses_data() {
        QTest::addColumn<double>("weight");
        QTest::addColumn<int>("cls");
        QTest::newRow("below limit 1") << 0.5 << 1;
        QTest::newRow("on limit 1") << 1.0 << 2;
        QTest::newRow("between 1 and 2") << 1.5 << 2;
        QTest::newRow("on limit 2") << 2.0 << 3;
        QTest::newRow("on limit 3") << 3.0 << 3;
        QTest::newRow("above limit 3") << 3.5 << 4;
        QTest::newRow("on limit 4") << 4.0 << 5;
        QTest::newRow("far above") << 19.0 << 5;
    }

    void weightClasses() {
        QFETCH(double, weight);
        QFETCH(int, cls);
        const WeightLimits limits{{1.0, 2.0, 3.0, 4.0}};
        QCOMPARE(weightClass(limits, weight), cls);
        const std::array<quint32, 5> colors{clRed, clFuchsia, clBlue, clMaroon, clBlack};
        QCOMPARE(WeightClassColor(limits, weight), colors[static_cast<std::size_t>(cls - 1)]);
    }

    void limitsFromWeights() {
        const std::array<double, 3> weights{2.0, 7.0, 12.0};
        QCOMPARE(weightLimits(weights), (WeightLimits{{4.0, 5.0, 6.8, 8.0}}));
    }

    void equalWeightsAreAllRegular() {
        NumberStatistics s;
        for (NumberCounts& c : s.numbers)
            c.weight = 3.7;
        classifyWeights(s);
        QCOMPARE(s.limits, (WeightLimits{{3.7, 3.7, 3.7, 3.7}}));
        QCOMPARE(s.classCounts, (std::array<int, 5>{0, 0, 60, 0, 0}));
        for (int n = 1; n <= 60; ++n)
            QCOMPARE(s.colorOf(n), clBlue);
        QCOMPARE(s.classCountText(3), QStringLiteral("60"));
        QCOMPARE(s.classCountText(1), QStringLiteral("0"));
    }

    void derivedCounts_data() {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QString>("derived"); // pares/impares/abaixo/acima
        QTest::newRow("2 4 6 31 33 60") << QList<int>{2, 4, 6, 31, 33, 60} << QStringLiteral("4/2/3/3");
        QTest::newRow("30 is low, 31 high") << QList<int>{30, 31, 1, 59, 11, 13} << QStringLiteral("1/5/4/2");
        QTest::newRow("all even and high") << QList<int>{32, 34, 36, 38, 40, 42} << QStringLiteral("6/0/0/6");
    }

    void derivedCounts() {
        QFETCH(QList<int>, numbers);
        QFETCH(QString, derived);
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        std::array<int, 6> d{};
        std::copy(numbers.begin(), numbers.end(), d.begin());
        addDraw(t, 1, d);
        RecomputeStatistics(t);
        QCOMPARE(tableRows(t.TableRes).value(0).section(QLatin1Char('/'), 7), derived);
    }

    void twoRecomputationsAgree() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        workedExample(t);
        addDraw(t, 104, {1, 60, 30, 31, 2, 59});
        const NumberStatistics first = RecomputeStatistics(t);
        const QStringList res = tableRows(t.TableRes), saidas = tableRows(t.TableSaidas),
                          aval = tableRows(t.TableAval);
        const NumberStatistics second = RecomputeStatistics(t);
        QCOMPARE(second, first);
        QCOMPARE(tableRows(t.TableRes), res);
        QCOMPARE(tableRows(t.TableSaidas), saidas);
        QCOMPARE(tableRows(t.TableAval), aval);
        for (int n = 1; n <= 60; ++n)
            QCOMPARE(second.weightText(n), first.weightText(n));
    }

    void noDrawAtAll() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        const NumberStatistics s = RecomputeStatistics(t);
        for (int n = 1; n <= 60; ++n) {
            QCOMPARE(s.of(n), NumberCounts{});
            QCOMPARE(s.weightText(n), QStringLiteral("0,00"));
            QCOMPARE(s.classOf(n), 3);
        }
        QCOMPARE(s.classCounts, (std::array<int, 5>{0, 0, 60, 0, 0}));
        QCOMPARE(s.mediaText(), QStringLiteral("Média por dezena = 0"));
        QCOMPARE(t.TableSaidas.rowCount(), 60);
        QCOMPARE(saidasRow(t, 7), QStringLiteral("7/0/0/0/0/"));
        QCOMPARE(t.TableAval.rowCount(), 60);
    }

    void incompleteDrawsTakeNoPart() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        const QVariant none;
        addDraw(t, 1, {1, 2, 3, 4, 5, 6});
        addDrawCells(t, 2, {1, 2, none, 4, 5, 6});
        addDraw(t, 3, {0, 2, 3, 4, 5, 6});
        addDraw(t, 4, {61, 2, 3, 4, 5, 6});
        addDraw(t, 5, {-7, 2, 3, 4, 5, 2147483647});
        addDraw(t, 6, {7, 8, 9, 10, 11, 12});
        addDrawCells(t, 7, {none, none, none, none, none, none});

        // Counts left by an earlier recomputation on a draw that was later broken must go.
        Table& res = t.TableRes;
        QVERIFY(res.locate(u"Concurso", 3));
        res.edit();
        res.setInteger(res.fieldIndex(u"pares"), 5);
        res.post();

        const NumberStatistics s = RecomputeStatistics(t);
        QCOMPARE(s.drawsCounted, 2);
        QCOMPARE(s.drawsSkipped, 5);
        QCOMPARE(s.of(1), (NumberCounts{1, 1, 1, 1, 0.95}));
        QCOMPARE(s.of(7).timesDrawn, 1);
        QCOMPARE(s.of(60).absence, 2);
        // The statistics stop at the last complete draw, whose number gives the average.
        QCOMPARE(s.lastConcurso, 6);
        QCOMPARE(s.mediaText(), QStringLiteral("Média por dezena = 0"));

        const QStringList rows = tableRows(res);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows[0].section(QLatin1Char('/'), 7), QStringLiteral("3/3/6/0"));
        for (const int bad : {1, 2, 3, 4, 6})
            QCOMPARE(rows[bad].section(QLatin1Char('/'), 7), QStringLiteral("///"));
        QCOMPARE(rows[5].section(QLatin1Char('/'), 7), QStringLiteral("3/3/6/0"));
    }

    // A draw holding a number twice is no draw: the number does not count twice, and the figures
    // and the report's title stop at the last complete draw before it.
    void aDrawWithANumberTwiceTakesNoPart() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        addDraw(t, 2797, {5, 12, 23, 34, 45, 56});
        addDraw(t, 2798, {1, 2, 3, 4, 6, 7});
        addDraw(t, 2799, {5, 5, 10, 20, 30, 40});
        const NumberStatistics s = RecomputeStatistics(t);
        QCOMPARE(s.drawsCounted, 2);
        QCOMPARE(s.drawsSkipped, 1);
        QCOMPARE(s.of(5).timesDrawn, 1);
        QCOMPARE(s.of(10).timesDrawn, 0);
        QCOMPARE(s.lastConcurso, 2798);
        QCOMPARE(s.mediaText(), QStringLiteral("Média por dezena = 279"));
        QCOMPARE(StatisticsReportTitle(t.TableRes), QStringLiteral("Mega-Sena. Concurso: 2798"));
    }

    void averageFromLastDrawNumber() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        addDraw(t, 2797, {1, 2, 3, 4, 5, 6});
        addDraw(t, 9, {7, 8, 9, 10, 11, 12});
        QCOMPARE(RecomputeStatistics(t).mediaText(), QStringLiteral("Média por dezena = 279"));
    }

    void weightsTableCreatedOnceAndKept() {
        WorkFolder w;
        {
            Tables t(w.path());
            startResults(t);
            workedExample(t);
            RecomputeStatistics(t);
            Table& aval = t.TableAval;
            QCOMPARE(aval.rowCount(), 60);
            // What generation writes into the table must survive every later recomputation.
            QVERIFY(aval.locate(u"dezena", 5));
            aval.edit();
            aval.setText(aval.fieldIndex(u"Desprezada"), QStringLiteral("S"));
            aval.setInteger(aval.fieldIndex(u"Cartao"), 7);
            aval.post();
            RecomputeStatistics(t);
            QCOMPARE(aval.rowCount(), 60);
            QVERIFY(t.closeAll().isEmpty());
        }
        QVERIFY(QFile::exists(w.file(Schemas::kWeightsFile)));
        Tables t(w.path());
        startResults(t);
        addDraw(t, 104, {5, 6, 7, 8, 9, 10});
        const NumberStatistics s = RecomputeStatistics(t);
        Table& aval = t.TableAval;
        QCOMPARE(aval.rowCount(), 60);
        QVERIFY(aval.locate(u"dezena", 5));
        QCOMPARE(aval.text(aval.fieldIndex(u"Desprezada")), QStringLiteral("S"));
        QCOMPARE(aval.integer(aval.fieldIndex(u"Cartao")), 7);
        QCOMPARE(aval.real(aval.fieldIndex(u"Nota")), s.of(5).weight);
        QList<int> numbers;
        for (int i = 0; i < aval.rowCount(); ++i)
            numbers << aval.rowAt(i).rawInteger(aval.fieldIndex(u"dezena"));
        std::sort(numbers.begin(), numbers.end());
        for (int n = 1; n <= 60; ++n)
            QCOMPARE(numbers.value(n - 1), n);
    }

    void weightsTableMissingANumberGetsItsRow() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        workedExample(t);
        RecomputeStatistics(t);
        Table& aval = t.TableAval;
        QVERIFY(aval.locate(u"dezena", 2));
        aval.remove();
        const NumberStatistics s = RecomputeStatistics(t);
        QCOMPARE(aval.rowCount(), 60);
        QVERIFY(aval.locate(u"dezena", 1));
        QCOMPARE(aval.real(aval.fieldIndex(u"Nota")), s.of(1).weight);
        QVERIFY(aval.locate(u"dezena", 2));
        QCOMPARE(aval.real(aval.fieldIndex(u"Nota")), s.of(2).weight);
    }

    void neverDrawnNumber() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        for (int c = 1; c <= 25; ++c)
            addDraw(t, c, {1 + c % 7, 10, 20, 30, 40, 50});
        const NumberStatistics s = RecomputeStatistics(t);
        QCOMPARE(s.of(59), (NumberCounts{25, 25, 25, 0, 0.0}));
        QCOMPARE(s.of(10).timesDrawn, 25);
        QVERIFY(s.of(10).weight < 20.0);
        QCOMPARE(s.classOf(10), 5);
        QCOMPARE(s.colorOf(59), clRed);
    }

    void damagedWeightsFileIsRefusedAndKept() {
        WorkFolder w;
        QFile f(w.file(Schemas::kWeightsFile));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("garbage");
        f.close();
        Tables t(w.path());
        startResults(t);
        workedExample(t);
        QVERIFY_THROWS_EXCEPTION(TableError, RecomputeStatistics(t));
        // Nothing was written: the draws keep their empty counts and the file its bytes.
        QCOMPARE(tableRows(t.TableRes).value(0).section(QLatin1Char('/'), 7), QStringLiteral("///"));
        QVERIFY(t.closeAll().isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("garbage"));
    }

    void resultsTableMustBeOpen() {
        WorkFolder w;
        Tables t(w.path());
        QVERIFY_THROWS_EXCEPTION(TableError, RecomputeStatistics(t));
    }
};

QUINABEL_CORE_TEST_MAIN(StatisticsTest)
#include "tst_statistics.moc"
