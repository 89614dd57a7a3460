#include "FixedNumbers.h"
#include "MenuFixture.h"
#include "NumberBoard.h"
#include "NumberCell.h"

#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <algorithm>

// The number board as the player uses it: presses with the three mouse buttons on a cell or on
// any of its labels, the inversion and the clearing of the selection, and what survives a restart.
namespace {

const QColor kYellow(255, 255, 0), kSkyBlue(166, 202, 240), kWhite(255, 255, 255);

NumberCell* cell(const MenuFixture& f, int n) {
    return f.find<NumberCell>(QByteArray("p" + QByteArray::number(n)).constData());
}
QColor background(const MenuFixture& f, int n) {
    return cell(f, n)->palette().color(QPalette::Window);
}
QString text(const MenuFixture& f, const char* label) {
    return f.find<QLabel>(label)->text();
}

// A press on number n, on the cell itself ("p") or, through the window as the mouse would land,
// on the middle of one of its labels ("D", "w", "Q", "U").
void pressOn(const MenuFixture& f, int n, Qt::MouseButton button,
             const QString& target = QStringLiteral("p")) {
    NumberCell* c = cell(f, n);
    if (target == QLatin1String("p")) {
        MenuFixture::press(c, button);
        return;
    }
    auto* l = c->findChild<QLabel*>(target + QString::number(n));
    QVERIFY(l);
    const QPoint at = l->mapTo(f.menu.get(), l->rect().center());
    QVERIFY2(f.menu->childAt(at) == c, "the label's middle must lie on its own cell");
    QTest::mouseClick(f.menu->windowHandle(), button, Qt::NoModifier, at);
}

// A press never asks anything.
bool noQuestionAsked(const MenuFixture& f) {
    const auto& shown = f.messages.shown();
    return std::none_of(shown.begin(), shown.end(), [](const auto& s) { return s.yesNo; });
}

QString discardedText(int d) {
    return QStringLiteral("Dezenas: Desprezadas=%1  Válidas=%2").arg(d).arg(60 - d);
}
QString evenText(int even, int odd) {
    return QStringLiteral("Dezenas válidas pares: %1. Impares= %2").arg(even).arg(odd);
}

} // namespace

class TestBoard : public QObject {
    Q_OBJECT

private slots:
    void firstStartAllValid() {
        MenuFixture f;
        f.start();
        for (int n = 1; n <= 60; ++n)
            QCOMPARE(background(f, n), kYellow);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=0  Válidas=60"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 30. Impares= 30"));
    }

    void pressCell_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("before"); // "valid", "discarded" or "fixed", set by a press
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("desp");
        QTest::addColumn<QString>("pares");

        const int numbers[] = {7, 8, 3, 29, 44, 60, 1};
        const struct {
            Qt::MouseButton button;
            const char* name;
        } buttons[] = {{Qt::LeftButton, "left"}, {Qt::MiddleButton, "middle"}, {Qt::RightButton, "right"}};
        int k = 0;
        for (const char* before : {"valid", "discarded", "fixed"})
            for (const auto& b : buttons)
                for (const char* target : {"p", "D", "w", "Q", "U"}) {
                    const int n = numbers[k++ % 7];
                    const bool even = n % 2 == 0;
                    QColor color = kYellow;
                    QString desp = discardedText(0), pares = evenText(30, 30);
                    if (QLatin1String(before) == QLatin1String("valid")) {
                        if (b.button == Qt::RightButton) {
                            color = kWhite;
                        } else {
                            color = kSkyBlue;
                            desp = discardedText(1);
                            pares = evenText(even ? 29 : 30, even ? 30 : 29);
                        }
                    }
                    QTest::addRow("%s %d, %s on %s", before, n, b.name, target)
                        << n << QString(before) << b.button << QString(target) << color << desp << pares;
                }
    }
    void pressCell() {
        QFETCH(int, number);
        QFETCH(QString, before);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QString, target);
        QFETCH(QColor, color);
        QFETCH(QString, desp);
        QFETCH(QString, pares);
        MenuFixture f;
        f.start();
        if (before == "discarded")
            pressOn(f, number, Qt::LeftButton);
        else if (before == "fixed")
            pressOn(f, number, Qt::RightButton);
        QCOMPARE(background(f, number), before == "discarded" ? kSkyBlue
                                        : before == "fixed"   ? kWhite
                                                              : kYellow);

        pressOn(f, number, button, target);
        QCOMPARE(background(f, number), color);
        QCOMPARE(text(f, "LabelDesp"), desp);
        QCOMPARE(text(f, "LabelPares"), pares);
        // Only the pressed number changes.
        for (int n = 1; n <= 60; ++n)
            if (n != number)
                QCOMPARE(background(f, n), kYellow);
        QVERIFY(noQuestionAsked(f));
    }

    void countsFollowPresses() {
        MenuFixture f;
        f.start();
        pressOn(f, 7, Qt::LeftButton);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=1  Válidas=59"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 30. Impares= 29"));
        pressOn(f, 7, Qt::RightButton);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=0  Válidas=60"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 30. Impares= 30"));

        pressOn(f, 8, Qt::RightButton);
        QCOMPARE(background(f, 8), kWhite);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=0  Válidas=60"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 30. Impares= 30"));

        for (int n : {2, 3, 4})
            pressOn(f, n, Qt::LeftButton);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=3  Válidas=57"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 28. Impares= 29"));
        QVERIFY(noQuestionAsked(f));
    }

    void invertSelection() {
        MenuFixture f;
        f.start();
        for (int n = 1; n <= 10; ++n)
            pressOn(f, n, Qt::LeftButton);
        pressOn(f, 11, Qt::RightButton);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=10  Válidas=50"));

        auto* invert = f.find<QPushButton>("ButtonInverte");
        QTest::mouseClick(invert, Qt::LeftButton);
        for (int n = 1; n <= 60; ++n)
            QCOMPARE(background(f, n), n <= 10 ? kYellow : n == 11 ? kWhite : kSkyBlue);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=49  Válidas=11"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 5. Impares= 6"));

        QTest::mouseClick(invert, Qt::LeftButton);
        for (int n = 1; n <= 60; ++n)
            QCOMPARE(background(f, n), n <= 10 ? kSkyBlue : n == 11 ? kWhite : kYellow);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=10  Válidas=50"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 25. Impares= 25"));
    }

    void clearSelection_data() {
        QTest::addColumn<bool>("clearBoard");
        QTest::addColumn<bool>("clearGames");
        QTest::newRow("yes, then no") << true << false;
        QTest::newRow("no, then no") << false << false;
    }
    void clearSelection() {
        QFETCH(bool, clearBoard);
        QFETCH(bool, clearGames);
        MenuFixture f;
        f.start();
        for (int n : {5, 6, 50})
            pressOn(f, n, Qt::LeftButton);
        for (int n : {9, 40})
            pressOn(f, n, Qt::RightButton);
        f.messages.clear();
        f.messages.answer({clearBoard, clearGames});
        QTest::mouseClick(f.find<QPushButton>("ButtonLimpa"), Qt::LeftButton);

        QCOMPARE(f.messages.unanswered(), 0);
        const auto& shown = f.messages.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title, QString("Dezenas desprezadas"));
        QCOMPARE(shown[0].text, QString("Limpa mesmo todas as dezenas desprezadas? "));
        QVERIFY(shown[0].yesNo);
        QCOMPARE(shown[1].title, QString("Apagar os jogos"));
        QCOMPARE(shown[1].text, QString("Limpa a lista de jogos? "));
        QVERIFY(shown[1].yesNo);

        for (int n = 1; n <= 60; ++n) {
            QColor expected = kYellow;
            if (!clearBoard)
                expected = (n == 5 || n == 6 || n == 50) ? kSkyBlue : (n == 9 || n == 40) ? kWhite : kYellow;
            QCOMPARE(background(f, n), expected);
        }
        QCOMPARE(text(f, "LabelDesp"), discardedText(clearBoard ? 0 : 3));
        QCOMPARE(text(f, "LabelPares"), clearBoard ? evenText(30, 30) : evenText(28, 29));
    }

    void discardedAndFixedSurviveRestart() {
        MenuFixture f;
        f.start();
        for (int n : {5, 22, 47})
            pressOn(f, n, Qt::LeftButton);
        for (int n : {12, 33})
            pressOn(f, n, Qt::RightButton);
        // On disk once the program waits for the player again, in a file of their own.
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(LoadFixed(f.folder.path()), (QList<int>{12, 33}));
        f.restart();
        for (int n = 1; n <= 60; ++n)
            QCOMPARE(background(f, n), (n == 5 || n == 22 || n == 47) ? kSkyBlue
                                       : (n == 12 || n == 33)         ? kWhite
                                                                      : kYellow);
        QCOMPARE(f.menu->board().fixedNumbers(), (QList<int>{12, 33}));
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=3  Válidas=57"));
        QCOMPARE(text(f, "LabelPares"), QString("Dezenas válidas pares: 29. Impares= 28"));

        // The restored board reacts like any other: a press brings a discarded number back.
        pressOn(f, 22, Qt::RightButton);
        QCOMPARE(background(f, 22), kYellow);
        QCOMPARE(text(f, "LabelDesp"), QString("Dezenas: Desprezadas=2  Válidas=58"));
    }
};

QUINABEL_GUI_TEST_MAIN(TestBoard)
#include "tst_board.moc"
