#include "Filters.h"
#include "GameMeasures.h"
#include "TestSupport.h"

#include <vector>

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(FilterSettings)

class TestFilters : public QObject {
    Q_OBJECT

private slots:
    void parseRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("defaultMin");
        QTest::addColumn<int>("defaultMax");
        QTest::addColumn<int>("minIfInvalid");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::newRow("1-6") << "1-6" << 0 << 15 << 0 << 1 << 6;
        QTest::newRow("blanks around") << " 2 - 5 " << 0 << 15 << 0 << 2 << 5;
        QTest::newRow("no dash") << "3" << 0 << 15 << 0 << 3 << 3;
        QTest::newRow("max below min") << "4-2" << 0 << 15 << 0 << 4 << 4;
        QTest::newRow("no min, random") << "-4" << 0 << 15 << 0 << 0 << 4;
        QTest::newRow("no min, combination") << "-4" << 1 << 15 << 1 << 1 << 4;
        QTest::newRow("no min above max") << "-4" << 1 << 6 << 5 << 5 << 5;
        QTest::newRow("letters") << "abc" << 1 << 6 << 1 << 1 << 1;
        QTest::newRow("empty, random pares") << "" << 0 << 15 << 0 << 0 << 15;
        QTest::newRow("empty, linhas") << "" << 1 << 6 << 1 << 1 << 6;
        QTest::newRow("second dash") << "1-6-9" << 0 << 15 << 0 << 1 << 1;
        QTest::newRow("max unreadable") << "2-x" << 0 << 15 << 0 << 2 << 2;
        QTest::newRow("only blanks") << "   " << 1 << 6 << 1 << 1 << 1;
        // Only ten characters are read: the ninth is the last one of a minimum without dash.
        QTest::newRow("eleven digits") << "12345678901" << 0 << 15 << 0 << 123456789 << 123456789;
        QTest::newRow("long max") << "1-2345678901" << 0 << 15 << 0 << 1 << 23456789;
        QTest::newRow("tail ignored") << "1-6       x9" << 0 << 15 << 0 << 1 << 6;
        QTest::newRow("dash beyond ten") << "3         -9" << 0 << 15 << 0 << 3 << 3;
        QTest::newRow("ten without dash") << "1234567895" << 0 << 15 << 0 << 123456789 << 123456789;
    }
    void parseRange() {
        QFETCH(QString, text);
        QFETCH(int, defaultMin);
        QFETCH(int, defaultMax);
        QFETCH(int, minIfInvalid);
        QFETCH(int, min);
        QFETCH(int, max);
        QCOMPARE(ParseRange(text, defaultMin, defaultMax, minIfInvalid), (IntRange{min, max}));
    }

    void readBound_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("61") << "61" << 61;
        QTest::newRow("letter") << "x" << 0;
        QTest::newRow("blanks") << " 7 " << 7;
        QTest::newRow("negative") << "-3" << -3;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("too long for 32 bits") << "2147483648" << 0;
        QTest::newRow("eleven digits") << "99999999999" << 0;
        QTest::newRow("trailing letter") << "12a" << 0;
        QTest::newRow("sign only") << "-" << 0;
    }
    void readBound() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(ReadBound(text), value);
    }

    void measuresAndFilters_data() {
        QTest::addColumn<std::vector<int>>("game");
        QTest::addColumn<QString>("inicial");
        QTest::addColumn<QString>("final");
        QTest::addColumn<int>("pares");
        QTest::addColumn<int>("linhas");
        QTest::addColumn<int>("abaixo");
        QTest::addColumn<bool>("passes");
        const std::vector<int> spread{5, 12, 19, 33, 48, 57};
        const std::vector<int> low{2, 4, 6, 8, 10, 20};
        QTest::newRow("spread, initial") << spread << "60"
                                         << "1" << 2 << 5 << 3 << true;
        QTest::newRow("spread, starts above 4") << spread << "4"
                                                << "1" << 2 << 5 << 3 << false;
        QTest::newRow("spread, ends below 58") << spread << "60"
                                               << "58" << 2 << 5 << 3 << false;
        QTest::newRow("spread, bounds met exactly") << spread << "5"
                                                    << "57" << 2 << 5 << 3 << true;
        QTest::newRow("low, initial") << low << "60"
                                      << "1" << 6 << 2 << 6 << true;
        QTest::newRow("empty inicial") << low << ""
                                       << "1" << 6 << 2 << 6 << false;
        QTest::newRow("empty final") << low << "60"
                                     << "" << 6 << 2 << 6 << true;
        QTest::newRow("no even number") << std::vector<int>{1, 3, 5, 7, 9, 11} << "60"
                                        << "1" << 0 << 2 << 6 << false;
    }
    void measuresAndFilters() {
        QFETCH(std::vector<int>, game);
        QFETCH(QString, inicial);
        QFETCH(QString, final);
        QFETCH(int, pares);
        QFETCH(int, linhas);
        QFETCH(int, abaixo);
        QFETCH(bool, passes);
        const GameMeasures m = MeasureGame(game);
        QCOMPARE(m.pares, pares);
        QCOMPARE(m.linhas, linhas);
        QCOMPARE(m.abaixo, abaixo);
        QCOMPARE(m.first, game.front());
        QCOMPARE(m.last, game.back());
        FilterTexts texts;
        texts.inicial = inicial;
        texts.final = final;
        QCOMPARE(PassesFilters(m, CombinationFilterSettings(texts)), passes);
    }

    void settingsPerGenerator_data() {
        QTest::addColumn<QString>("pares");
        QTest::addColumn<QString>("linhas");
        QTest::addColumn<FilterSettings>("random");
        QTest::addColumn<FilterSettings>("combination");
        QTest::newRow("initial texts")
            << "1-6"
            << "1-6" << FilterSettings{1, 6, 1, 6, 60, 1} << FilterSettings{1, 6, 1, 6, 60, 1};
        QTest::newRow("empty fields")
            << ""
            << "" << FilterSettings{0, 15, 1, 6, 60, 1} << FilterSettings{1, 15, 1, 6, 60, 1};
        QTest::newRow("unreadable") << "x"
                                    << "x" << FilterSettings{0, 0, 1, 1, 60, 1}
                                    << FilterSettings{1, 1, 1, 1, 60, 1};
        QTest::newRow("just 3, reversed rows")
            << "3"
            << "4-2" << FilterSettings{3, 3, 4, 4, 60, 1} << FilterSettings{3, 3, 4, 4, 60, 1};
    }
    void settingsPerGenerator() {
        QFETCH(QString, pares);
        QFETCH(QString, linhas);
        QFETCH(FilterSettings, random);
        QFETCH(FilterSettings, combination);
        FilterTexts texts;
        texts.pares = pares;
        texts.linhas = linhas;
        QCOMPARE(RandomFilterSettings(texts), random);
        QCOMPARE(CombinationFilterSettings(texts), combination);
    }

    void onlyExactlyThreeEvensPass() {
        FilterTexts texts;
        texts.pares = QStringLiteral("3");
        const FilterSettings s = CombinationFilterSettings(texts);
        const std::vector<int> three{2, 4, 6, 7, 9, 11};
        const std::vector<int> four{2, 4, 6, 8, 9, 11};
        QVERIFY(PassesFilters(MeasureGame(three), s));
        QVERIFY(!PassesFilters(MeasureGame(four), s));
    }
};

QUINABEL_CORE_TEST_MAIN(TestFilters)
#include "tst_filters.moc"
