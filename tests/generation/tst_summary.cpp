#include "GamePrice.h"
#include "GamesSummary.h"
#include "GamesTable.h"
#include "Schemas.h"
#include "Tables.h"
#include "TestSupport.h"

// The games summary: cost lines, total, even-number and slip-row tallies, line for line.
class SummaryTest : public QObject {
    Q_OBJECT

    // A game written as "numbers|Pares|Linhas", numbers separated by blanks and stored in d1, d2,
    // ... as given (0 included); an empty Pares or Linhas stays empty. Dezenas gets the count of
    // the numbers given, so that it is seen not to decide the size.
    static void addGame(Table& car, const QString& game) {
        const GameFields f(car);
        const QStringList parts = game.split(QLatin1Char('|'));
        const QStringList numbers = parts[0].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        car.insert();
        car.setReal(f.cartao, static_cast<double>(NextGameNumber(car)));
        car.setInteger(f.dezenas, static_cast<int>(numbers.size()));
        for (qsizetype i = 0; i < numbers.size(); ++i)
            car.setInteger(f.d[static_cast<std::size_t>(i)], numbers[i].toInt());
        if (!parts.value(1).isEmpty())
            car.setInteger(f.pares, parts[1].toInt());
        if (!parts.value(2).isEmpty())
            car.setInteger(f.linhas, parts[2].toInt());
        car.post();
    }
    static QStringList repeat(int times, const QString& game) {
        QStringList out;
        for (int i = 0; i < times; ++i)
            out << game;
        return out;
    }

private slots:
    void gamePrice_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("text");
        const qint64 prices[] = {200, 1400, 5600, 16800, 42000, 92400, 184800, 343200, 600600, 1001000};
        const char* texts[] = {"2,00",   "14,00",    "56,00",    "168,00",   "420,00",
                               "924,00", "1.848,00", "3.432,00", "6.006,00", "10.010,00"};
        for (int size = 6; size <= 15; ++size)
            QTest::addRow("%d", size) << size << prices[size - 6] << QString::fromLatin1(texts[size - 6]);
        QTest::newRow("5") << 5 << qint64{0} << QStringLiteral("0,00");
        QTest::newRow("16") << 16 << qint64{0} << QStringLiteral("0,00");
    }
    void gamePrice() {
        QFETCH(int, size);
        QFETCH(qint64, cents);
        QFETCH(QString, text);
        QCOMPARE(GamePriceCents(size), cents);
        QCOMPARE(GamePrice(size), static_cast<double>(cents) / 100.0);
        QCOMPARE(FormatMoney(GamePriceCents(size)), text);
    }

    void formatMoney_data() {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64{0} << QStringLiteral("0,00");
        QTest::newRow("centavos") << qint64{5} << QStringLiteral("0,05");
        QTest::newRow("six") << qint64{600} << QStringLiteral("6,00");
        QTest::newRow("thousands") << qint64{184800} << QStringLiteral("1.848,00");
        QTest::newRow("a million") << qint64{100000000} << QStringLiteral("1.000.000,00");
        // Ten million games of 15 numbers: beyond what a double spends on whole centavos at ease.
        QTest::newRow("huge") << qint64{10000000} * 1001000 << QStringLiteral("100.100.000.000,00");
        QTest::newRow("odd centavos") << qint64{123456789012345} << QStringLiteral("1.234.567.890.123,45");
    }
    void formatMoney() {
        QFETCH(qint64, cents);
        QFETCH(QString, text);
        QCOMPARE(FormatMoney(cents), text);
    }

    void summary_data() {
        QTest::addColumn<QStringList>("games");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("example") << QStringList{QStringLiteral("2 4 6 11 21 31|3|4"),
                                                QStringLiteral("2 4 6 8 21 31|4|5"),
                                                QStringLiteral("2 4 6 11 21 31 33|3|4")}
                                 << QStringList{QStringLiteral("2 jogos com 6 dezenas x 2,00 = 4,00"),
                                                QStringLiteral("1 jogos com 7 dezenas x 14,00 = 14,00"),
                                                QStringLiteral("Total dos jogos:18,00"),
                                                QString(),
                                                QStringLiteral("2 jogos com 3 dezenas pares "),
                                                QStringLiteral("1 jogos com 4 dezenas pares "),
                                                QString(),
                                                QStringLiteral("2 jogos com 4 linhas com dezenas "),
                                                QStringLiteral("1 jogos com 5 linhas com dezenas ")};
        QTest::newRow("empty table") << QStringList{} << QStringList{QString(), QString()};
        QTest::newRow("ten games of 10")
            << repeat(10, QStringLiteral("1 2 3 4 5 6 7 8 9 10|5|1"))
            << QStringList{QStringLiteral("10 jogos com 10 dezenas x 420,00 = 4.200,00"),
                           QStringLiteral("Total dos jogos:4.200,00"),
                           QString(),
                           QStringLiteral("10 jogos com 5 dezenas pares "),
                           QString(),
                           QStringLiteral("10 jogos com 1 linha com dezenas ")};
        QTest::newRow("three of 9 beside one of 6")
            << (repeat(3, QStringLiteral("1 2 3 4 5 6 7 8 9|4|1")) << QStringLiteral("1 11 21 31 41 51|0|6"))
            << QStringList{QStringLiteral("1 jogos com 6 dezenas x 2,00 = 2,00"),
                           QStringLiteral("3 jogos com 9 dezenas x 168,00 = 504,00"),
                           QStringLiteral("Total dos jogos:506,00"),
                           QString(),
                           QStringLiteral("1 jogos sem dezenas pares "),
                           QStringLiteral("3 jogos com 4 dezenas pares "),
                           QString(),
                           QStringLiteral("3 jogos com 1 linha com dezenas "),
                           QStringLiteral("1 jogos com 6 linhas com dezenas ")};
        QTest::newRow("one of 15") << QStringList{QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15|7|2")}
                                   << QStringList{
                                          QStringLiteral("1 jogos com 15 dezenas x 10.010,00 = 10.010,00"),
                                          QStringLiteral("Total dos jogos:10.010,00"),
                                          QString(),
                                          QStringLiteral("1 jogos com 7 dezenas pares "),
                                          QString(),
                                          QStringLiteral("1 jogos com 2 linhas com dezenas ")};
        QTest::newRow("d7 = 0 ends the game")
            << QStringList{QStringLiteral("1 3 5 7 9 11 0 40 50|0|2")}
            << QStringList{QStringLiteral("1 jogos com 6 dezenas x 2,00 = 2,00"),
                           QStringLiteral("Total dos jogos:2,00"),
                           QString(),
                           QStringLiteral("1 jogos sem dezenas pares "),
                           QString(),
                           QStringLiteral("1 jogos com 2 linhas com dezenas ")};
        QTest::newRow("one even number, one row")
            << QStringList{QStringLiteral("1 2 3 5 7 9|1|1")}
            << QStringList{QStringLiteral("1 jogos com 6 dezenas x 2,00 = 2,00"),
                           QStringLiteral("Total dos jogos:2,00"),
                           QString(),
                           QStringLiteral("1 jogos com 1 dezena par "),
                           QString(),
                           QStringLiteral("1 jogos com 1 linha com dezenas ")};
        // A game below 6 numbers costs nothing but is still tallied; derived fields that are empty
        // or out of range are left out of their tally only.
        QTest::newRow("short game, unfilled and odd derived fields")
            << QStringList{QStringLiteral("1 2 3 4 5|2|1"), QStringLiteral("1 2 3 4 5 6||"),
                           QStringLiteral("1 2 3 4 5 6|16|0"), QStringLiteral("1 2 3 4 5 6|-1|7")}
            << QStringList{QStringLiteral("3 jogos com 6 dezenas x 2,00 = 6,00"),
                           QStringLiteral("Total dos jogos:6,00"),
                           QString(),
                           QStringLiteral("1 jogos com 2 dezenas pares "),
                           QString(),
                           QStringLiteral("1 jogos com 1 linha com dezenas ")};
        QTest::newRow("short games only")
            << QStringList{QStringLiteral("2 4|2|1")}
            << QStringList{QString(), QStringLiteral("1 jogos com 2 dezenas pares "), QString(),
                           QStringLiteral("1 jogos com 1 linha com dezenas ")};
    }
    void summary() {
        QFETCH(QStringList, games);
        QFETCH(QStringList, lines);
        WorkFolder w;
        Tables t(w.path());
        t.TableCar.create();
        for (const QString& g : games)
            addGame(t.TableCar, g);
        QCOMPARE(RefreshGamesSummary(t.TableCar), lines);
    }

    void summaryIsTheSameAfterReopeningAndInAnyOrder() {
        WorkFolder w;
        Tables t(w.path());
        t.TableCar.create();
        addGame(t.TableCar, QStringLiteral("1 2 3 4 5 6 7 8|4|1"));
        addGame(t.TableCar, QStringLiteral("1 2 3 4 5 6|3|1"));
        const QStringList before = RefreshGamesSummary(t.TableCar);
        t.TableCar.close();
        t.TableCar.setIndexFieldNames(QStringLiteral("Dezenas"));
        t.TableCar.open();
        QCOMPARE(RefreshGamesSummary(t.TableCar), before);
        QCOMPARE(before.first(), QStringLiteral("1 jogos com 6 dezenas x 2,00 = 2,00"));
    }

    void deletingTheOnlyGameLeavesTwoEmptyLines() {
        WorkFolder w;
        Tables t(w.path());
        t.TableCar.create();
        addGame(t.TableCar, QStringLiteral("1 2 3 4 5 6|3|1"));
        QCOMPARE(RefreshGamesSummary(t.TableCar).size(), 6);
        t.TableCar.first();
        t.TableCar.remove();
        QCOMPARE(RefreshGamesSummary(t.TableCar), (QStringList{QString(), QString()}));
    }

    // Counts and money stay exact far beyond what fits in 32 bits of centavos.
    void manyGamesStayExact() {
        WorkFolder w;
        Tables t(w.path());
        t.TableCar.create();
        {
            const Table::BulkChange bulk(t.TableCar);
            for (int i = 0; i < 3000; ++i)
                addGame(t.TableCar, QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15|7|2"));
        }
        const QStringList lines = RefreshGamesSummary(t.TableCar);
        QCOMPARE(lines.value(0), QStringLiteral("3000 jogos com 15 dezenas x 10.010,00 = 30.030.000,00"));
        QCOMPARE(lines.value(1), QStringLiteral("Total dos jogos:30.030.000,00"));
        QCOMPARE(lines.value(3), QStringLiteral("3000 jogos com 7 dezenas pares "));
    }
};

QUINABEL_CORE_TEST_MAIN(SummaryTest)
#include "tst_summary.moc"
