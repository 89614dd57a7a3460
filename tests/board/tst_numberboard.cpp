#include "NamedColors.h"
#include "NumberBoard.h"
#include "TestSupport.h"

#include <QSignalSpy>

Q_DECLARE_METATYPE(NumberState)

// The board's transitions, its two counts and the texts of the counts labels.
class NumberBoardTest : public QObject {
    Q_OBJECT

    enum class Action { Left, Middle, Right, Invert, Clear };

    // Puts n in `s` from a fresh Valid state with one press.
    static void putInState(NumberBoard& b, int n, NumberState s) {
        if (s == NumberState::Discarded)
            b.ToggleCell(n, PressButton::Left);
        else if (s == NumberState::Fixed)
            b.ToggleCell(n, PressButton::Right);
    }

    static void apply(NumberBoard& b, int n, Action a) {
        switch (a) {
        case Action::Left:
            b.ToggleCell(n, PressButton::Left);
            break;
        case Action::Middle:
            b.ToggleCell(n, PressButton::Middle);
            break;
        case Action::Right:
            b.ToggleCell(n, PressButton::Right);
            break;
        case Action::Invert:
            b.InvertSelection();
            break;
        case Action::Clear:
            b.ClearSelection();
            break;
        }
    }

    static QList<int> range(int from, int to) {
        QList<int> out;
        for (int n = from; n <= to; ++n)
            out << n;
        return out;
    }

private slots:
    void startsAllValid() {
        NumberBoard b;
        QCOMPARE(b.count(NumberState::Valid), 60);
        QCOMPARE(b.DiscardedCount(), 0);
        QCOMPARE(b.ValidEvenCount(), 30);
        QCOMPARE(b.DiscardedLabelText(), QStringLiteral("Dezenas: Desprezadas=0  Válidas=60"));
        QCOMPARE(b.EvenLabelText(), QStringLiteral("Dezenas válidas pares: 30. Impares= 30"));
        QCOMPARE(b.numbersInPlay(), range(1, 60));
    }

    void transitions_data() {
        QTest::addColumn<NumberState>("from");
        QTest::addColumn<int>("action");
        QTest::addColumn<NumberState>("to");
        QTest::addColumn<int>("discarded");
        const NumberState V = NumberState::Valid, D = NumberState::Discarded, F = NumberState::Fixed;
        const auto row = [](const char* name, NumberState from, Action a, NumberState to, int discarded) {
            QTest::newRow(name) << from << static_cast<int>(a) << to << discarded;
        };
        row("valid left", V, Action::Left, D, 1);
        row("valid middle", V, Action::Middle, D, 1);
        row("valid right", V, Action::Right, F, 0);
        row("valid invert", V, Action::Invert, D, 60);
        row("valid clear", V, Action::Clear, V, 0);
        row("discarded left", D, Action::Left, V, 0);
        row("discarded middle", D, Action::Middle, V, 0);
        row("discarded right", D, Action::Right, V, 0);
        row("discarded invert", D, Action::Invert, V, 59);
        row("discarded clear", D, Action::Clear, V, 0);
        row("fixed left", F, Action::Left, V, 0);
        row("fixed middle", F, Action::Middle, V, 0);
        row("fixed right", F, Action::Right, V, 0);
        row("fixed invert", F, Action::Invert, F, 59);
        row("fixed clear", F, Action::Clear, V, 0);
    }

    void transitions() {
        QFETCH(NumberState, from);
        QFETCH(int, action);
        QFETCH(NumberState, to);
        QFETCH(int, discarded);
        NumberBoard b;
        putInState(b, 17, from);
        QSignalSpy changed(&b, &NumberBoard::changed);
        apply(b, 17, static_cast<Action>(action));
        QCOMPARE(b.state(17), to);
        QCOMPARE(b.DiscardedCount(), discarded);
        QCOMPARE(b.count(NumberState::Discarded), discarded);
        QCOMPARE(changed.count(), 1);
    }

    void countsLabels_data() {
        QTest::addColumn<QList<int>>("discard");
        QTest::addColumn<QList<int>>("fix");
        QTest::addColumn<QString>("desp");
        QTest::addColumn<QString>("pares");
        QTest::newRow("2, 3, 4 discarded")
            << QList<int>{2, 3, 4} << QList<int>{} << QStringLiteral("Dezenas: Desprezadas=3  Válidas=57")
            << QStringLiteral("Dezenas válidas pares: 28. Impares= 29");
        QTest::newRow("7 discarded") << QList<int>{7} << QList<int>{}
                                     << QStringLiteral("Dezenas: Desprezadas=1  Válidas=59")
                                     << QStringLiteral("Dezenas válidas pares: 30. Impares= 29");
        QTest::newRow("8 fixed counts as valid even")
            << QList<int>{} << QList<int>{8} << QStringLiteral("Dezenas: Desprezadas=0  Válidas=60")
            << QStringLiteral("Dezenas válidas pares: 30. Impares= 30");
    }

    void countsLabels() {
        QFETCH(QList<int>, discard);
        QFETCH(QList<int>, fix);
        QFETCH(QString, desp);
        QFETCH(QString, pares);
        NumberBoard b;
        for (const int n : discard)
            b.ToggleCell(n, PressButton::Left);
        for (const int n : fix)
            b.ToggleCell(n, PressButton::Right);
        QCOMPARE(b.DiscardedLabelText(), desp);
        QCOMPARE(b.EvenLabelText(), pares);
    }

    void secondPressRestoresLabels() {
        NumberBoard b;
        const QString desp = b.DiscardedLabelText(), pares = b.EvenLabelText();
        for (const PressButton second : {PressButton::Left, PressButton::Middle, PressButton::Right}) {
            b.ToggleCell(7, PressButton::Left);
            QCOMPARE(b.state(7), NumberState::Discarded);
            b.ToggleCell(7, second);
            QCOMPARE(b.state(7), NumberState::Valid);
            QCOMPARE(b.DiscardedLabelText(), desp);
            QCOMPARE(b.EvenLabelText(), pares);
        }
    }

    void invertWithDiscardedAndFixed() {
        NumberBoard b;
        for (int n = 1; n <= 10; ++n)
            b.ToggleCell(n, PressButton::Left);
        b.ToggleCell(11, PressButton::Right);
        b.InvertSelection();
        QCOMPARE(b.discardedNumbers(), range(12, 60));
        QCOMPARE(b.fixedNumbers(), QList<int>{11});
        QCOMPARE(b.numbersInPlay(), range(1, 11));
        QCOMPARE(b.validNumbers(), range(1, 10));
        QCOMPARE(b.count(NumberState::Valid), 10);
        QCOMPARE(b.DiscardedLabelText(), QStringLiteral("Dezenas: Desprezadas=49  Válidas=11"));
        QCOMPARE(b.EvenLabelText(), QStringLiteral("Dezenas válidas pares: 5. Impares= 6"));
    }

    void invertTwiceIsIdentity() {
        NumberBoard b;
        for (const int n : {1, 5, 22, 59})
            b.ToggleCell(n, PressButton::Left);
        for (const int n : {2, 30, 60})
            b.ToggleCell(n, PressButton::Right);
        QList<NumberState> before;
        for (int n = 1; n <= 60; ++n)
            before << b.state(n);
        const QString desp = b.DiscardedLabelText(), pares = b.EvenLabelText();
        b.InvertSelection();
        b.InvertSelection();
        QList<NumberState> after;
        for (int n = 1; n <= 60; ++n)
            after << b.state(n);
        QCOMPARE(after, before);
        QCOMPARE(b.DiscardedCount(), 4);
        QCOMPARE(b.DiscardedLabelText(), desp);
        QCOMPARE(b.EvenLabelText(), pares);
    }

    void clearMakesFixedValidToo() {
        NumberBoard b;
        b.ToggleCell(3, PressButton::Left);
        b.ToggleCell(4, PressButton::Right);
        b.ClearSelection();
        QCOMPARE(b.count(NumberState::Valid), 60);
        QCOMPARE(b.DiscardedLabelText(), QStringLiteral("Dezenas: Desprezadas=0  Válidas=60"));
        QCOMPARE(b.EvenLabelText(), QStringLiteral("Dezenas válidas pares: 30. Impares= 30"));
    }

    void numbersOffTheBoard() {
        NumberBoard b;
        QSignalSpy changed(&b, &NumberBoard::changed);
        b.ToggleCell(0, PressButton::Left);
        b.ToggleCell(61, PressButton::Right);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(b.DiscardedCount(), 0);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, b.state(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, b.state(61));
    }

    void setDiscardedNumbersCountsEachNumberOnce() {
        NumberBoard b;
        b.ToggleCell(9, PressButton::Right);
        b.setDiscardedNumbers({5, 5, 0, 61, 2});
        QCOMPARE(b.discardedNumbers(), (QList<int>{2, 5}));
        QCOMPARE(b.DiscardedCount(), 2);
        QCOMPARE(b.state(9), NumberState::Valid);
        QCOMPARE(b.ValidEvenCount(), 29);
    }

    void stateColors() {
        QCOMPARE(StateColor(NumberState::Valid), clYellow);
        QCOMPARE(StateColor(NumberState::Discarded), quint32{0xA6CAF0});
        QCOMPARE(StateColor(NumberState::Fixed), quint32{0xFFFFFF});
    }
};

QUINABEL_CORE_TEST_MAIN(NumberBoardTest)
#include "tst_numberboard.moc"
