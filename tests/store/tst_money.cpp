#include "Money.h"
#include "TestSupport.h"

// Amounts of money read from what the lottery's files and the player write, and written back.
class MoneyTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("form");     // MoneyText
        QTest::addColumn<qint64>("cents"); // -1: refused
        const int file = static_cast<int>(MoneyText::File);
        const int typed = static_cast<int>(MoneyText::Typed);
        // The lottery's spreadsheet and page.
        QTest::newRow("R$ glued") << u"R$1.714.650,23"_qs << file << qint64{171465023};
        QTest::newRow("R$ and a blank") << u"R$ 1.151,65"_qs << file << qint64{115165};
        QTest::newRow("R$ and a non-breaking blank") << u"R$\u00A01.151,65"_qs << file << qint64{115165};
        QTest::newRow("R$ zero") << u"R$0,00"_qs << file << qint64{0};
        QTest::newRow("blanks around") << u"  R$ 45.000,00 "_qs << file << qint64{4500000};
        QTest::newRow("hundreds of millions") << u"R$317.853.788,54"_qs << file << qint64{31785378854};
        // Typed amounts.
        QTest::newRow("six") << u"6,00"_qs << typed << qint64{600};
        QTest::newRow("whole reais") << u"6"_qs << typed << qint64{600};
        QTest::newRow("one decimal") << u"4,5"_qs << typed << qint64{450};
        QTest::newRow("centavos only") << u"0,05"_qs << typed << qint64{5};
        QTest::newRow("thousands typed") << u"1.000,00"_qs << typed << qint64{100000};
        QTest::newRow("thousands without decimals") << u"1.151"_qs << file << qint64{115100};
        QTest::newRow("ungrouped thousands") << u"1151,65"_qs << typed << qint64{115165};
        QTest::newRow("typed with R$") << u"R$ 5,00"_qs << typed << qint64{500};
        // Number cells of a spreadsheet and JSON numbers, as text.
        QTest::newRow("number cell") << u"1714650.23"_qs << file << qint64{171465023};
        QTest::newRow("number cell, whole") << u"45000"_qs << file << qint64{4500000};
        QTest::newRow("number cell, one decimal") << u"1151.5"_qs << file << qint64{115150};
        QTest::newRow("number cell, binary residue") << u"1151.6500000000001"_qs << file << qint64{115165};
        QTest::newRow("number cell, exponent") << u"1.71465023E6"_qs << file << qint64{171465023};
        QTest::newRow("number cell, zero") << u"0"_qs << file << qint64{0};
        // Refused.
        QTest::newRow("empty") << QString() << file << qint64{-1};
        QTest::newRow("blank") << u"  "_qs << file << qint64{-1};
        QTest::newRow("R$ alone") << u"R$"_qs << file << qint64{-1};
        QTest::newRow("negative") << u"-6,00"_qs << file << qint64{-1};
        QTest::newRow("negative number") << u"-1714650.23"_qs << file << qint64{-1};
        QTest::newRow("plus sign") << u"+6,00"_qs << typed << qint64{-1};
        QTest::newRow("letters") << u"seis"_qs << typed << qint64{-1};
        QTest::newRow("trailing letters") << u"6,00 reais"_qs << file << qint64{-1};
        QTest::newRow("three decimals") << u"6,001"_qs << typed << qint64{-1};
        QTest::newRow("three decimals in a file") << u"1151.655"_qs << file << qint64{-1};
        QTest::newRow("two commas") << u"1,151,65"_qs << file << qint64{-1};
        QTest::newRow("short group") << u"1.15,00"_qs << file << qint64{-1};
        QTest::newRow("long first group") << u"1151.650,00"_qs << file << qint64{-1};
        QTest::newRow("dot after comma") << u"6,0.0"_qs << file << qint64{-1};
        QTest::newRow("comma alone") << u","_qs << file << qint64{-1};
        QTest::newRow("nothing after the comma") << u"6,"_qs << typed << qint64{-1};
        QTest::newRow("nothing before the comma") << u",50"_qs << typed << qint64{-1};
        QTest::newRow("decimal point typed") << u"6.50"_qs << typed << qint64{-1};
        QTest::newRow("dot alone") << u"."_qs << file << qint64{-1};
        QTest::newRow("not a number") << u"nan"_qs << file << qint64{-1};
        QTest::newRow("infinity") << u"inf"_qs << file << qint64{-1};
        QTest::newRow("hexadecimal") << u"0x10"_qs << file << qint64{-1};
        QTest::newRow("blank inside") << u"1 151,65"_qs << file << qint64{-1};
        QTest::newRow("beyond a hundred trillion") << u"100.000.000.000.001,00"_qs << file << qint64{-1};
        QTest::newRow("huge number") << u"1E300"_qs << file << qint64{-1};
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(int, form);
        QFETCH(qint64, cents);
        const std::optional<Centavos> got = ParseMoney(text, static_cast<MoneyText>(form));
        if (cents < 0)
            QVERIFY2(!got, qPrintable(QString::number(got.value_or(0))));
        else
            QCOMPARE(got, std::optional<Centavos>(cents));
    }

    void ofNumber_data() {
        QTest::addColumn<double>("reais");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("prize") << 1714650.23 << qint64{171465023};
        QTest::newRow("quadra") << 1151.65 << qint64{115165};
        QTest::newRow("zero") << 0.0 << qint64{0};
        QTest::newRow("a third") << 1.0 / 3.0 << qint64{-1};
        QTest::newRow("negative") << -6.0 << qint64{-1};
        QTest::newRow("nan") << std::nan("") << qint64{-1};
        QTest::newRow("infinite") << HUGE_VAL << qint64{-1};
    }
    void ofNumber() {
        QFETCH(double, reais);
        QFETCH(qint64, cents);
        const auto got = MoneyOfNumber(reais);
        if (cents < 0)
            QVERIFY(!got);
        else
            QCOMPARE(got, std::optional<Centavos>(cents));
    }

    void format_data() {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("prize") << qint64{171465023} << u"1.714.650,23"_qs << u"1714650.23"_qs;
        QTest::newRow("price") << qint64{600} << u"6,00"_qs << u"6.00"_qs;
        QTest::newRow("centavos") << qint64{5} << u"0,05"_qs << u"0.05"_qs;
        QTest::newRow("zero") << qint64{0} << u"0,00"_qs << u"0.00"_qs;
        QTest::newRow("a loss") << qint64{-1234567} << u"-12.345,67"_qs << u"-12345.67"_qs;
    }
    void format() {
        QFETCH(qint64, cents);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QCOMPARE(FormatMoney(cents), shown);
        QCOMPARE(MoneyFileText(cents), stored);
        if (cents >= 0) {
            QCOMPARE(ParseMoney(stored), std::optional<Centavos>(cents));
            QCOMPARE(ParseMoney(shown, MoneyText::Typed), std::optional<Centavos>(cents));
        }
    }
};

QUINABEL_CORE_TEST_MAIN(MoneyTest)
#include "tst_money.moc"
