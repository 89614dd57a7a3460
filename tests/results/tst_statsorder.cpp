#include "DrawsFixture.h"
#include "RecomputeStatistics.h"
#include "Schemas.h"
#include "StatisticsOrder.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <algorithm>
#include <map>

// The orders of the statistics grid and the report lines built from them.
class StatsOrderTest : public QObject {
    Q_OBJECT

    struct Counts {
        int saidas, demora, maior, totSai;
    };

    // TableSaidas as a recomputation leaves it, with counts of our choosing: number n gets
    // `special[n]` or, by default, absence 1, last absence 2, longest 3 and drawn 100 times.
    static void fillSaidas(Tables& t, const std::map<int, Counts>& special) {
        Table& s = t.TableSaidas;
        s.defineFields(Schemas::numberStats());
        s.create();
        for (int n = 1; n <= 60; ++n) {
            const auto it = special.find(n);
            const Counts c = it == special.end() ? Counts{1, 2, 3, 100} : it->second;
            s.insert();
            s.setInteger(0, n);
            s.setInteger(1, c.saidas);
            s.setInteger(2, c.demora);
            s.setInteger(3, c.maior);
            s.setInteger(4, c.totSai);
            s.post();
        }
    }

    static QList<int> numbersInOrder(const Table& s) {
        QList<int> out;
        for (int i = 0; i < s.rowCount(); ++i)
            out << s.rowAt(i).rawInteger(0);
        return out;
    }

private slots:
    void keys_data() {
        QTest::addColumn<int>("order");
        QTest::addColumn<qint64>("key");
        // Number 9: absence 12, last absence 30, longest 45, drawn 190 times.
        QTest::newRow("Dezena") << static_cast<int>(StatsOrder::Dezena) << qint64{9};
        QTest::newRow("Saidas") << static_cast<int>(StatsOrder::Saidas) << qint64{1000000 - 12000 + 190};
        QTest::newRow("Demora") << static_cast<int>(StatsOrder::Demora) << qint64{1000000 - 30000 + 190};
        QTest::newRow("MaiorDemora") << static_cast<int>(StatsOrder::MaiorDemora)
                                     << qint64{1000000 - 45000 + 190};
    }

    void keys() {
        QFETCH(int, order);
        QFETCH(qint64, key);
        QCOMPARE(orderKey(static_cast<StatsOrder>(order), 9, 12, 30, 45, 190), key);
    }

    void absenceOrder() {
        WorkFolder w;
        Tables t(w.path());
        fillSaidas(t, {{5, {12, 2, 3, 200}}, {9, {12, 2, 3, 190}}, {40, {13, 2, 3, 250}}});
        OrderStatistics(t, StatsOrder::Saidas);
        const Table& s = t.TableSaidas;
        QCOMPARE(s.indexFieldNames(), QStringLiteral("Ordenador"));
        QCOMPARE(s.position(), 0);
        const QList<int> order = numbersInOrder(s);
        QCOMPARE(order.mid(0, 3), (QList<int>{40, 9, 5}));
        // The rest are equal in both criteria and keep ascending number order.
        QList<int> rest;
        for (int n = 1; n <= 60; ++n)
            if (n != 5 && n != 9 && n != 40)
                rest << n;
        QCOMPARE(order.mid(3), rest);
        QCOMPARE(s.rowAt(0).rawInteger(5), 1000000 - 13000 + 250);
    }

    void everyOrder_data() {
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("first");
        QTest::newRow("Dezena") << static_cast<int>(StatsOrder::Dezena) << 1;
        QTest::newRow("Saidas") << static_cast<int>(StatsOrder::Saidas) << 21;
        QTest::newRow("Demora") << static_cast<int>(StatsOrder::Demora) << 22;
        QTest::newRow("MaiorDemora") << static_cast<int>(StatsOrder::MaiorDemora) << 23;
    }

    void everyOrder() {
        QFETCH(int, order);
        QFETCH(int, first);
        WorkFolder w;
        Tables t(w.path());
        fillSaidas(t, {{21, {50, 2, 3, 10}}, {22, {1, 50, 3, 10}}, {23, {1, 2, 50, 10}}});
        OrderStatistics(t, StatsOrder::MaiorDemora);
        OrderStatistics(t, static_cast<StatsOrder>(order));
        QCOMPARE(numbersInOrder(t.TableSaidas).value(0), first);
        QCOMPARE(t.TableSaidas.rowCount(), 60);
    }

    void reportInFourOrders() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        QRandomGenerator rng(2797);
        for (int c = 1; c <= 300; ++c) {
            std::array<int, 6> d{};
            for (std::size_t i = 0; i < 6; ++i)
                d[i] = rng.bounded(1, 61);
            addDraw(t, c, d);
        }
        const NumberStatistics st = RecomputeStatistics(t);
        OrderStatistics(t, StatsOrder::Demora);
        BuildStatisticsReport(t);

        // Each group lists the 60 numbers, longest delay first, then fewer times drawn, then number.
        const auto expected = [&](auto delay) {
            QList<int> ns;
            for (int n = 1; n <= 60; ++n)
                ns << n;
            std::stable_sort(ns.begin(), ns.end(), [&](int a, int b) {
                const auto ka = std::pair(-delay(st.of(a)), st.of(a).timesDrawn);
                const auto kb = std::pair(-delay(st.of(b)), st.of(b).timesDrawn);
                return ka < kb;
            });
            return ns;
        };
        const QList<int> byAbsence = expected([](const NumberCounts& c) { return c.absence; });
        const QList<int> byLast = expected([](const NumberCounts& c) { return c.lastAbsence; });
        const QList<int> byLongest = expected([](const NumberCounts& c) { return c.longestAbsence; });

        const Table& rel = t.TableRelSai;
        QCOMPARE(rel.rowCount(), 60);
        for (int k = 0; k < 60; ++k) {
            const RowRef r = rel.rowAt(k);
            QCOMPARE(r.rawInteger(0), k + 1);
            const NumberCounts& own = st.of(k + 1);
            QCOMPARE(r.rawInteger(1), own.absence);
            QCOMPARE(r.rawInteger(2), own.lastAbsence);
            QCOMPARE(r.rawInteger(3), own.longestAbsence);
            const std::array<int, 3> groupNumbers{byAbsence[k], byLast[k], byLongest[k]};
            for (std::size_t g = 0; g < 3; ++g) {
                const int base = 4 + 4 * static_cast<int>(g);
                const NumberCounts& c = st.of(groupNumbers[g]);
                QCOMPARE(r.rawInteger(base), groupNumbers[g]);
                QCOMPARE(r.rawInteger(base + 1), c.absence);
                QCOMPARE(r.rawInteger(base + 2), c.lastAbsence);
                QCOMPARE(r.rawInteger(base + 3), c.longestAbsence);
            }
        }
        // The first line: number 1, and the number that has gone longest without coming out.
        QCOMPARE(rel.rowAt(0).rawInteger(rel.fieldIndex(u"DezenaN")), byAbsence[0]);
        int longest = 0;
        for (int n = 1; n <= 60; ++n)
            longest = std::max(longest, st.of(n).absence);
        QCOMPARE(rel.rowAt(0).rawInteger(rel.fieldIndex(u"SaidasN")), longest);

        // The grid is back in number order.
        QCOMPARE(t.TableSaidas.indexFieldNames(), QStringLiteral("Dezena"));
        QList<int> ascending;
        for (int n = 1; n <= 60; ++n)
            ascending << n;
        QCOMPARE(numbersInOrder(t.TableSaidas), ascending);
        QCOMPARE(t.TableSaidas.position(), 0);
    }

    void reportTitle() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        QCOMPARE(StatisticsReportTitle(t.TableRes), QStringLiteral("Mega-Sena. Nenhum concurso cadastrado"));
        addDraw(t, 2797, {1, 2, 3, 4, 5, 6});
        addDraw(t, 12, {1, 2, 3, 4, 5, 6});
        t.TableRes.first();
        QCOMPARE(StatisticsReportTitle(t.TableRes), QStringLiteral("Mega-Sena. Concurso: 2797"));
        QCOMPARE(t.TableRes.position(), 1);
    }

    void reportWithoutDraws() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        RecomputeStatistics(t);
        BuildStatisticsReport(t);
        QCOMPARE(t.TableRelSai.rowCount(), 60);
        QCOMPARE(t.TableRelSai.rowAt(0).rawInteger(t.TableRelSai.fieldIndex(u"DezenaN")), 1);
    }
};

QUINABEL_CORE_TEST_MAIN(StatsOrderTest)
#include "tst_statsorder.moc"
