#include "Distribution.h"
#include "Schemas.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QFile>
#include <algorithm>

// The deal of the numbers in play over games of a chosen size, its table of games, and reading
// that table back into the editor's rows.
class DistributionTest : public QObject {
    Q_OBJECT

    // The numbers in ascending weight: x(i) = 7 × i mod 61 gets Nota i, so x1 = 7 is the lightest.
    static int x(int i) { return 7 * i % 61; }

    static void fillWeights(Table& aval) {
        aval.create();
        for (int k = 1; k <= 60; ++k) {
            int i = 1;
            while (x(i) != k)
                ++i;
            aval.insert();
            aval.setInteger(aval.fieldIndex(u"dezena"), k);
            aval.setReal(aval.fieldIndex(u"Nota"), i * 0.5);
            aval.post();
        }
    }

    static NumberFlags discardedAmong(const QList<int>& numbers) {
        NumberFlags flags{};
        for (const int n : numbers)
            flags[static_cast<std::size_t>(n - 1)] = true;
        return flags;
    }

    // What the deal must give: the i-th number in play in weight order goes to game
    // ((i − 1) mod a) + 1 while full rounds last, the rest to game a + 1; each game ascending.
    static std::vector<std::vector<int>> expectedGames(const NumberFlags& discarded, int n) {
        std::vector<int> inPlay;
        for (int i = 1; i <= 60; ++i)
            if (!discarded[static_cast<std::size_t>(x(i) - 1)])
                inPlay.push_back(x(i));
        const int a = static_cast<int>(inPlay.size()) / n;
        std::vector<std::vector<int>> games(static_cast<std::size_t>(a) + 1);
        for (std::size_t i = 0; i < inPlay.size(); ++i) {
            const auto g = static_cast<int>(i) < a * n ? static_cast<std::size_t>(static_cast<int>(i) % a)
                                                       : static_cast<std::size_t>(a);
            games[g].push_back(inPlay[i]);
        }
        if (games.back().empty())
            games.pop_back();
        for (auto& g : games)
            std::sort(g.begin(), g.end());
        return games;
    }

    static std::vector<std::vector<int>> distribute(Tables& t, const NumberFlags& discarded, int n) {
        DealNumbers(t, discarded, n);
        BuildDistributedGames(t);
        return LayoutDistributedGames(t);
    }

private slots:
    void readPerGame_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("perGame");
        QTest::addColumn<bool>("refused");
        QTest::newRow("empty") << QString() << 0 << true;
        QTest::newRow("blanks around") << QStringLiteral(" 8 ") << 8 << false;
        QTest::newRow("not a number") << QStringLiteral("8a") << 0 << true;
        QTest::newRow("5") << QStringLiteral("5") << 5 << true;
        QTest::newRow("16") << QStringLiteral("16") << 16 << true;
        QTest::newRow("6") << QStringLiteral("6") << 6 << false;
        QTest::newRow("15") << QStringLiteral("15") << 15 << false;
        QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999") << 0 << true;
        QTest::newRow("negative") << QStringLiteral("-7") << -7 << true;
    }
    void readPerGame() {
        QFETCH(QString, text);
        QFETCH(int, perGame);
        QFETCH(bool, refused);
        const PerGameInput in = ReadPerGame(text);
        QCOMPARE(in.perGame, perGame);
        QCOMPARE(in.refusal.has_value(), refused);
        if (refused)
            QCOMPARE(*in.refusal,
                     (Message{QStringLiteral("Dezenas inválidas"),
                              QStringLiteral("O número de dezenas por cartão deve variar de 6 a 15.")}));
    }

    void prepareGamesTableCreatesTheMissingFile() {
        WorkFolder w;
        Tables t(w.path());
        t.TableCar.setIndexFieldNames(QStringLiteral("Acertos"));
        PrepareGamesTable(t);
        QVERIFY(t.TableCar.isOpen());
        QCOMPARE(t.TableCar.rowCount(), 0);
        QCOMPARE(t.TableCar.indexFieldNames(), QStringLiteral("Cartao"));
        QCOMPARE(t.TableCar.fields(), Schemas::games());
    }

    void prepareGamesTableOpensTheExistingGames() {
        WorkFolder w;
        Tables t(w.path());
        PrepareGamesTable(t);
        for (const double cartao : {7.0, 3.0}) {
            t.TableCar.insert();
            t.TableCar.setReal(t.TableCar.fieldIndex(u"Cartao"), cartao);
            t.TableCar.post();
        }
        t.TableCar.commitChanges();
        t.TableCar.close();
        t.TableCar.setIndexFieldNames(QStringLiteral("Acertos"));
        PrepareGamesTable(t);
        QCOMPARE(t.TableCar.rowCount(), 2);
        QCOMPARE(t.TableCar.rowAt(0).text(0), QStringLiteral("3"));
    }

    void workedExample() {
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        const Deal deal = DealNumbers(t, NumberFlags{}, 7);
        QCOMPARE(deal.valid, 60);
        QCOMPARE(deal.fullGames, 8);
        BuildDistributedGames(t);
        const auto rows = LayoutDistributedGames(t);
        QCOMPARE(rows.size(), std::size_t{9});
        std::vector<int> game1{x(1), x(9), x(17), x(25), x(33), x(41), x(49)};
        std::sort(game1.begin(), game1.end());
        QCOMPARE(rows[0], game1);
        std::vector<int> game9{x(57), x(58), x(59), x(60)};
        std::sort(game9.begin(), game9.end());
        QCOMPARE(rows[8], game9);
        QCOMPARE(rows, expectedGames(NumberFlags{}, 7));
    }

    void deal_data() {
        QTest::addColumn<QList<int>>("discarded");
        QTest::addColumn<int>("perGame");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("60 by 6") << QList<int>{} << 6 << QList<int>{6, 6, 6, 6, 6, 6, 6, 6, 6, 6};
        QTest::newRow("60 by 15") << QList<int>{} << 15 << QList<int>{15, 15, 15, 15};
        QTest::newRow("60 by 9") << QList<int>{} << 9 << QList<int>{9, 9, 9, 9, 9, 9, 6};
        QTest::newRow("50 by 7") << QList<int>{1, 2, 3, 4, 5, 56, 57, 58, 59, 60} << 7
                                 << QList<int>{7, 7, 7, 7, 7, 7, 7, 1};
        QList<int> all55;
        for (int k = 6; k <= 60; ++k)
            all55 << k;
        QTest::newRow("5 by 6") << all55 << 6 << QList<int>{5};
    }
    void deal() {
        QFETCH(QList<int>, discarded);
        QFETCH(int, perGame);
        QFETCH(QList<int>, sizes);
        WorkFolder w;
        Tables t(w.path());
        fillWeights(t.TableAval);
        const NumberFlags flags = discardedAmong(discarded);
        const Deal deal = DealNumbers(t, flags, perGame);
        QCOMPARE(deal.valid, 60 - static_cast<int>(discarded.size()));
        for (int k = 1; k <= 60; ++k)
            QCOMPARE(deal.inPlay[static_cast<std::size_t>(k - 1)], !discarded.contains(k));
        BuildDistributedGames(t);
        const auto rows = LayoutDistributedGames(t);
        QList<int> got;
        for (const auto& r : rows)
            got << static_cast<int>(r.size());
        QCOMPARE(got, sizes);
        QCOMPARE(rows, expectedGames(flags, perGame));

        // TableAval keeps every number's marks, ordered by game, then number.
        Table& aval = t.TableAval;
        QVERIFY(aval.isOpen());
        QCOMPARE(aval.indexFieldNames(), QStringLiteral("Cartao;Dezena"));
        for (int i = 0; i < aval.rowCount(); ++i) {
            const RowRef r = aval.rowAt(i);
            const int k = *r.intValue(aval.fieldIndex(u"Dezena"));
            const int g = *r.intValue(aval.fieldIndex(u"Cartao"));
            QCOMPARE(r.text(aval.fieldIndex(u"Desprezada")),
                     discarded.contains(k) ? QStringLiteral("S") : QStringLiteral("N"));
            if (discarded.contains(k))
                QCOMPARE(g, 0);
            else
                QVERIFY(std::ranges::count(rows[static_cast<std::size_t>(g - 1)], k) == 1);
        }

        // TableDis holds one row per game, the unused fields 0, and it reached its file.
        Table& dis = t.TableDis;
        QCOMPARE(dis.rowCount(), static_cast<int>(sizes.size()));
        QVERIFY(QFile::exists(w.file(Schemas::kDistributedFile)));
        const RowRef last = dis.rowAt(dis.rowCount() - 1);
        QCOMPARE(last.text(0), QString::number(sizes.size()));
        for (int i = sizes.last() + 1; i <= 15; ++i)
            QCOMPARE(last.intValue(dis.fieldIndex(QStringLiteral("d%1").arg(i))), std::optional<qint32>(0));
    }

    // Numbers of equal weight are dealt in ascending number order, whatever order their rows have.
    void equalWeightsDealInNumberOrder() {
        WorkFolder w;
        Tables t(w.path());
        t.TableAval.create();
        for (int k = 60; k >= 1; --k) {
            t.TableAval.insert();
            t.TableAval.setInteger(t.TableAval.fieldIndex(u"dezena"), k);
            t.TableAval.setReal(t.TableAval.fieldIndex(u"Nota"), 1.0);
            t.TableAval.post();
        }
        const auto rows = distribute(t, NumberFlags{}, 15);
        QCOMPARE(rows.size(), std::size_t{4});
        QCOMPARE(rows[0], (std::vector<int>{1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 45, 49, 53, 57}));
        QCOMPARE(rows[3].back(), 60);
    }

    // With every number discarded the editor must show nothing, even with the games of an earlier
    // distribution on disk.
    void noNumberInPlayShowsNoGameOverAnOlderFile() {
        WorkFolder w;
        {
            Tables t(w.path());
            fillWeights(t.TableAval);
            QCOMPARE(distribute(t, NumberFlags{}, 6).size(), std::size_t{10});
            t.closeAll();
        }
        Tables t(w.path());
        NumberFlags all;
        all.fill(true);
        const Deal deal = DealNumbers(t, all, 6);
        QCOMPARE(deal.valid, 0);
        QCOMPARE(deal.fullGames, 0);
        BuildDistributedGames(t);
        QCOMPARE(t.TableDis.rowCount(), 0);
        QVERIFY(LayoutDistributedGames(t).empty());
    }

    void layoutStopsSilentlyAtAnUnreadableRow() {
        WorkFolder w;
        Tables t(w.path());
        Table& dis = t.TableDis;
        dis.create();
        const QList<QList<int>> games{{3, 9, 20, 0, 44}, {5, 70, 8}, {1, 2, 3}};
        for (qsizetype g = 0; g < games.size(); ++g) {
            dis.insert();
            dis.setReal(0, static_cast<double>(g + 1));
            for (qsizetype i = 0; i < games[g].size(); ++i)
                dis.setInteger(static_cast<int>(i + 1), games[g][i]);
            dis.post();
        }
        dis.commitChanges();
        dis.close();
        const auto rows = LayoutDistributedGames(t);
        QCOMPARE(rows, (std::vector<std::vector<int>>{{3, 9, 20}, {5}}));
    }

    void layoutWithoutATableShowsNothing() {
        WorkFolder w;
        Tables t(w.path());
        QVERIFY(LayoutDistributedGames(t).empty());
    }
};

QUINABEL_CORE_TEST_MAIN(DistributionTest)
#include "tst_distribution.moc"
