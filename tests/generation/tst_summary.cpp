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
        // At the default price of a simple bet, 6,00.
        const qint64 prices[] = {600, 4200, 16800, 50400, 126000, 277200, 554400, 1029600, 1801800, 3003000};
        const char* texts[] = {"6,00",     "42,00",    "168,00",    "504,00",    "1.260,00",
                               "2.772,00", "5.544,00", "10.296,00", "18.018,00", "30.030,00"};
        for (int size = 6; size <= 15; ++size)
            QTest::addRow("%d", size) << size << prices[size - 6] << QString::fromLatin1(texts[size - 6]);
        QTest::newRow("5") << 5 << qint64{0} << QStringLiteral("0,00");
        QTest::newRow("16") << 16 << qint64{0} << QStringLiteral("0,00");
    }
    void gamePrice() {
        QFETCH(int, size);
        QFETCH(qint64, cents);
        QFETCH(QString, text);
        QCOMPARE(SimpleBetPrice(), kDefaultBetPrice);
        QCOMPARE(GamePriceCents(size), cents);
        QCOMPARE(GamePriceCents(size, 200), cents / 3); // the old price, a third of today's
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
                                 << QStringList{QStringLiteral("2 jogos com 6 dezenas x 6,00 = 12,00"),
                                                QStringLiteral("1 jogos com 7 dezenas x 42,00 = 42,00"),
                                                QStringLiteral("Total dos jogos:54,00"),
                                                QString(),
                                                QStringLiteral("2 jogos com 3 dezenas pares "),
                                                QStringLiteral("1 jogos com 4 dezenas pares "),
                                                QString(),
                                                QStringLiteral("2 jogos com 4 linhas com dezenas "),
                                                QStringLiteral("1 jogos com 5 linhas com dezenas ")};
        QTest::newRow("empty table") << QStringList{} << QStringList{QString(), QString()};
        QTest::newRow("ten games of 10")
            << repeat(10, QStringLiteral("1 2 3 4 5 6 7 8 9 10|5|1"))
            << QStringList{QStringLiteral("10 jogos com 10 dezenas x 1.260,00 = 12.600,00"),
                           QStringLiteral("Total dos jogos:12.600,00"),
                           QString(),
                           QStringLiteral("10 jogos com 5 dezenas pares "),
                           QString(),
                           QStringLiteral("10 jogos com 1 linha com dezenas ")};
        QTest::newRow("three of 9 beside one of 6")
            << (repeat(3, QStringLiteral("1 2 3 4 5 6 7 8 9|4|1")) << QStringLiteral("1 11 21 31 41 51|0|6"))
            << QStringList{QStringLiteral("1 jogos com 6 dezenas x 6,00 = 6,00"),
                           QStringLiteral("3 jogos com 9 dezenas x 504,00 = 1.512,00"),
                           QStringLiteral("Total dos jogos:1.518,00"),
                           QString(),
                           QStringLiteral("1 jogos sem dezenas pares "),
                           QStringLiteral("3 jogos com 4 dezenas pares "),
                           QString(),
                           QStringLiteral("3 jogos com 1 linha com dezenas "),
                           QStringLiteral("1 jogos com 6 linhas com dezenas ")};
        QTest::newRow("one of 15") << QStringList{QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15|7|2")}
                                   << QStringList{
                                          QStringLiteral("1 jogos com 15 dezenas x 30.030,00 = 30.030,00"),
                                          QStringLiteral("Total dos jogos:30.030,00"),
                                          QString(),
                                          QStringLiteral("1 jogos com 7 dezenas pares "),
                                          QString(),
                                          QStringLiteral("1 jogos com 2 linhas com dezenas ")};
        QTest::newRow("d7 = 0 ends the game")
            << QStringList{QStringLiteral("1 3 5 7 9 11 0 40 50|0|2")}
            << QStringList{QStringLiteral("1 jogos com 6 dezenas x 6,00 = 6,00"),
                           QStringLiteral("Total dos jogos:6,00"),
                           QString(),
                           QStringLiteral("1 jogos sem dezenas pares "),
                           QString(),
                           QStringLiteral("1 jogos com 2 linhas com dezenas ")};
        QTest::newRow("one even number, one row")
            << QStringList{QStringLiteral("1 2 3 5 7 9|1|1")}
            << QStringList{QStringLiteral("1 jogos com 6 dezenas x 6,00 = 6,00"),
                           QStringLiteral("Total dos jogos:6,00"),
                           QString(),
                           QStringLiteral("1 jogos com 1 dezena par "),
                           QString(),
                           QStringLiteral("1 jogos com 1 linha com dezenas ")};
        // A game below 6 numbers costs nothing but is still tallied; derived fields that are empty
        // or out of range are left out of their tally only.
        QTest::newRow("short game, unfilled and odd derived fields")
            << QStringList{QStringLiteral("1 2 3 4 5|2|1"), QStringLiteral("1 2 3 4 5 6||"),
                           QStringLiteral("1 2 3 4 5 6|16|0"), QStringLiteral("1 2 3 4 5 6|-1|7")}
            << QStringList{QStringLiteral("3 jogos com 6 dezenas x 6,00 = 18,00"),
                           QStringLiteral("Total dos jogos:18,00"),
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

    // The player's price of a simple bet changes every cost line, the price texts included.
    void summaryAtASetPrice_data() {
        QTest::addColumn<qint64>("price");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("5,00") << qint64{500}
                              << QStringList{QStringLiteral("2 jogos com 6 dezenas x 5,00 = 10,00"),
                                             QStringLiteral("1 jogos com 7 dezenas x 35,00 = 35,00"),
                                             QStringLiteral("1 jogos com 15 dezenas x 25.025,00 = 25.025,00"),
                                             QStringLiteral("Total dos jogos:25.070,00")};
        QTest::newRow("4,50") << qint64{450}
                              << QStringList{QStringLiteral("2 jogos com 6 dezenas x 4,50 = 9,00"),
                                             QStringLiteral("1 jogos com 7 dezenas x 31,50 = 31,50"),
                                             QStringLiteral("1 jogos com 15 dezenas x 22.522,50 = 22.522,50"),
                                             QStringLiteral("Total dos jogos:22.563,00")};
        QTest::newRow("0,01") << qint64{1}
                              << QStringList{QStringLiteral("2 jogos com 6 dezenas x 0,01 = 0,02"),
                                             QStringLiteral("1 jogos com 7 dezenas x 0,07 = 0,07"),
                                             QStringLiteral("1 jogos com 15 dezenas x 50,05 = 50,05"),
                                             QStringLiteral("Total dos jogos:50,14")};
    }
    void summaryAtASetPrice() {
        QFETCH(qint64, price);
        QFETCH(QStringList, lines);
        WorkFolder w;
        Tables t(w.path());
        t.TableCar.create();
        addGame(t.TableCar, QStringLiteral("2 4 6 11 21 31|3|4"));
        addGame(t.TableCar, QStringLiteral("2 4 6 8 21 31|4|5"));
        addGame(t.TableCar, QStringLiteral("2 4 6 11 21 31 33|3|4"));
        addGame(t.TableCar, QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15|7|2"));
        SetSimpleBetPrice(price);
        const QStringList got = RefreshGamesSummary(t.TableCar);
        SetSimpleBetPrice(kDefaultBetPrice);
        QCOMPARE(got.mid(0, 4), lines);
        QCOMPARE(GamePriceCents(6), kDefaultBetPrice);
    }

    // A price that is not positive leaves the one in force.
    void nonPositivePriceIsIgnored() {
        SetSimpleBetPrice(0);
        QCOMPARE(SimpleBetPrice(), kDefaultBetPrice);
        SetSimpleBetPrice(-600);
        QCOMPARE(SimpleBetPrice(), kDefaultBetPrice);
    }

    void summaryIsTheSameAfterReopeningAndInAnyOrder() {
        WorkFolder w;
        Tables t(w.path());
        t.TableCar.create();
        addGame(t.TableCar, QStringLiteral("1 2 3 4 5 6 7 8|4|1"));
        addGame(t.TableCar, QStringLiteral("1 2 3 4 5 6|3|1"));
        const QStringList before = RefreshGamesSummary(t.TableCar);
        t.TableCar.commitChanges();
        t.TableCar.close();
        t.TableCar.setIndexFieldNames(QStringLiteral("Dezenas"));
        t.TableCar.open();
        QCOMPARE(RefreshGamesSummary(t.TableCar), before);
        QCOMPARE(before.first(), QStringLiteral("1 jogos com 6 dezenas x 6,00 = 6,00"));
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
        QCOMPARE(lines.value(0), QStringLiteral("3000 jogos com 15 dezenas x 30.030,00 = 90.090.000,00"));
        QCOMPARE(lines.value(1), QStringLiteral("Total dos jogos:90.090.000,00"));
        QCOMPARE(lines.value(3), QStringLiteral("3000 jogos com 7 dezenas pares "));
    }
};

QUINABEL_CORE_TEST_MAIN(SummaryTest)
#include "tst_summary.moc"
