#include "MenuFixture.h"
#include "NumberBoard.h"
#include "NumberChip.h"
#include "TableModel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// The drag editor as the player uses it: a distribution from the generation choice, chips dragged
// between the rows with the mouse, and the commit or the cancel of the edited games.
namespace {

// Puts draws into the working folder before the window opens, as an earlier run would.
void seedDraws(const QString& folder, const std::vector<std::array<int, 7>>& draws) {
    Tables t(folder);
    t.TableRes.create();
    for (const auto& d : draws) {
        t.TableRes.insert();
        for (int i = 0; i < 7; ++i)
            t.TableRes.setInteger(i, d[static_cast<std::size_t>(i)]);
        t.TableRes.post();
    }
    QVERIFY(t.closeAll().isEmpty());
}

void typeInto(QLineEdit* e, const QString& text) {
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
}

NumberChip* chip(const MenuFixture& f, int n) {
    return f.find<NumberChip>(QByteArray("g" + QByteArray::number(n)).constData());
}

// The editor row a chip stands on, 0 when it is hidden or off every row.
int rowOf(const NumberChip* c) {
    if (c->isHidden() || c->y() % 25 != 0 || c->y() < 25 || c->y() > 250)
        return 0;
    return c->y() / 25;
}

// The numbers of an editor row as the chips show them, left to right.
std::vector<int> rowNumbers(const MenuFixture& f, int row) {
    std::vector<std::pair<int, int>> byLeft;
    for (int n = 1; n <= 60; ++n)
        if (rowOf(chip(f, n)) == row)
            byLeft.push_back({chip(f, n)->x(), n});
    std::sort(byLeft.begin(), byLeft.end());
    std::vector<int> numbers;
    for (const auto& [left, n] : byLeft)
        numbers.push_back(n);
    return numbers;
}

void distribute(MenuFixture& f, const QString& perGame) {
    MenuFixture::press(f.find<QPushButton>("ButtonGera"), Qt::LeftButton);
    MenuFixture::press(f.find<QRadioButton>("RBDistribui"), Qt::LeftButton);
    typeInto(f.find<QLineEdit>("EditMax"), perGame);
    MenuFixture::press(f.find<QPushButton>("ButtonOKGera"), Qt::LeftButton);
}

// Presses the chip at a point inside it, moves the pointer by `dy` and releases it there.
void drag(NumberChip* c, int dy) {
    const QPoint grab(10, 11);
    QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(c, grab + QPoint(0, dy));
    // The chip followed the pointer, so the pointer is over the grabbed point again.
    QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, grab);
}

std::vector<int> gameNumbers(Table& car, int row) {
    std::vector<int> numbers;
    for (int i = 1; i <= 15; ++i) {
        const auto v = car.rowAt(row).intValue(car.fieldIndex(QStringLiteral("d%1").arg(i)));
        if (!v || *v == 0)
            break;
        numbers.push_back(*v);
    }
    return numbers;
}

int visibleChips(const MenuFixture& f) {
    int n = 0;
    for (int k = 1; k <= 60; ++k)
        n += chip(f, k)->isVisible() ? 1 : 0;
    return n;
}

} // namespace

class EditorUiTest : public QObject {
    Q_OBJECT

private slots:
    void chipsShowTheirNumbersOnTheRows() {
        MenuFixture f;
        f.start();
        distribute(f, QStringLiteral("6"));
        QVERIFY(f.find<QFrame>("PanelEdita")->isVisible());
        QVERIFY(f.find<QFrame>("PanelGera")->isHidden());
        const NumberChip* g7 = chip(f, 7);
        QCOMPARE(g7->text(), QStringLiteral("07"));
        QCOMPARE(g7->size(), QSize(21, 23));
        QCOMPARE(g7->toolTip(), QStringLiteral("Clique e arraste entre os grupos"));
        QCOMPARE(g7->palette().color(QPalette::Window), QColor(255, 255, 0));
        // Without draws every weight is equal and the numbers are dealt in ascending order.
        for (int r = 1; r <= 10; ++r) {
            QCOMPARE(rowNumbers(f, r), (std::vector<int>{r, r + 10, r + 20, r + 30, r + 40, r + 50}));
            QCOMPARE(chip(f, r + 50)->geometry(), QRect(21 * 6 - 1, 25 * r, 21, 23));
        }
    }

    // A last dealt row too short to be a game is named in the panel, with the reason, before the
    // commit; the note follows the drags.
    void aShortRowIsNamedBeforeTheCommit() {
        MenuFixture f;
        f.start();
        distribute(f, QStringLiteral("6"));
        auto* note = f.find<QLabel>("LabelSobra");
        QVERIFY(note->text().isEmpty()); // 60 numbers: ten whole games
        MenuFixture::press(f.find<QPushButton>("ButtonCanGeraJ"), Qt::LeftButton);

        for (int n = 40; n <= 60; ++n)
            MenuFixture::press(f.menu->numberControl(QStringLiteral("P%1").arg(n)),
                               Qt::LeftButton); // 39 valid
        distribute(f, QStringLiteral("6"));
        QCOMPARE(rowNumbers(f, 7).size(), std::size_t{3});
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(),
                 QStringLiteral(
                     "A linha 7 tem só 3 dezenas e não será um jogo: um jogo tem no mínimo 6 dezenas."));
        // The note stays inside the panel and clear of its buttons.
        QVERIFY(f.find<QFrame>("PanelEdita")->rect().contains(note->geometry()));
        QVERIFY(!note->geometry().intersects(f.find<QPushButton>("ButtonGeraJ")->geometry()));

        // A number dragged from row 1 to row 7: both are short now.
        drag(chip(f, rowNumbers(f, 1).front()), 6 * 25);
        QCOMPARE(rowNumbers(f, 7).size(), std::size_t{4});
        QCOMPARE(note->text(),
                 QStringLiteral("As linhas 1 e 7 têm menos de 6 dezenas e não serão jogos: um jogo "
                                "tem no mínimo 6 dezenas."));
        MenuFixture::press(f.find<QPushButton>("ButtonGeraJ"), Qt::LeftButton);
        QCOMPARE(f.menu->tables().TableCar.rowCount(), 5); // rows 2 to 6
    }

    void sevenPerGameLaysOutNineRows() {
        MenuFixture f;
        f.start();
        distribute(f, QStringLiteral("7"));
        QCOMPARE(visibleChips(f), 60);
        QCOMPARE(rowNumbers(f, 1), (std::vector<int>{1, 9, 17, 25, 33, 41, 49}));
        for (int r = 1; r <= 8; ++r)
            QCOMPARE(rowNumbers(f, r).size(), std::size_t{7});
        QCOMPARE(rowNumbers(f, 9), (std::vector<int>{57, 58, 59, 60}));
        QVERIFY(rowNumbers(f, 10).empty());
    }

    void refusedNumbersPerGame_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << QString();
        QTest::newRow("not a number") << QStringLiteral("8a");
        QTest::newRow("below 6") << QStringLiteral("5");
        QTest::newRow("above 15") << QStringLiteral("16");
    }
    void refusedNumbersPerGame() {
        QFETCH(QString, typed);
        MenuFixture f;
        f.start();
        distribute(f, typed);
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().last().title, QStringLiteral("Dezenas inválidas"));
        QCOMPARE(f.messages.shown().last().text,
                 QStringLiteral("O número de dezenas por cartão deve variar de 6 a 15."));
        QVERIFY(f.find<QFrame>("PanelGera")->isHidden());
        QVERIFY(f.find<QFrame>("PanelEdita")->isHidden());
        QCOMPARE(visibleChips(f), 0);
    }

    void blanksAroundNumbersPerGameAreAccepted() {
        MenuFixture f;
        f.start();
        distribute(f, QStringLiteral(" 8 "));
        QVERIFY(f.messages.shown().isEmpty());
        QCOMPARE(rowNumbers(f, 7).size(), std::size_t{8});
        QCOMPARE(rowNumbers(f, 8).size(), std::size_t{4});
    }

    // Dragged out of the panel sideways, up or down, the chip stops at the panel's edge and is
    // dropped there, wholly inside, where the player can grab it again.
    void aChipDraggedOffThePanelStaysInside_data() {
        QTest::addColumn<QPoint>("by");
        QTest::newRow("far right") << QPoint(900, 0);
        QTest::newRow("far left") << QPoint(-400, 3);
        QTest::newRow("below") << QPoint(40, 700);
        QTest::newRow("above") << QPoint(0, -300);
    }
    void aChipDraggedOffThePanelStaysInside() {
        QFETCH(QPoint, by);
        MenuFixture f;
        f.start();
        distribute(f, QStringLiteral("6"));
        QFrame* panel = f.find<QFrame>("PanelEdita");
        NumberChip* g1 = chip(f, 1);
        const QPoint grab(10, 11);
        QTest::mousePress(g1, Qt::LeftButton, Qt::NoModifier, grab);
        QTest::mouseMove(g1, grab + by);
        QVERIFY2(panel->rect().contains(g1->geometry()), "the chip left the panel while dragged");
        QTest::mouseRelease(g1, Qt::LeftButton, Qt::NoModifier, grab);
        QVERIFY2(panel->rect().contains(g1->geometry()), "the chip was dropped outside the panel");
        QVERIFY(g1->isVisible());
        // It can be grabbed again and put back into a row.
        const QPoint back = QPoint(20, 50) - g1->pos();
        QTest::mousePress(g1, Qt::LeftButton, Qt::NoModifier, grab);
        QCOMPARE(QWidget::mouseGrabber(), g1);
        QTest::mouseMove(g1, grab + back);
        QTest::mouseRelease(g1, Qt::LeftButton, Qt::NoModifier, grab);
        QCOMPARE(rowOf(g1), 2);
    }

    void dragMovesAChipToAnotherRowAndCommits() {
        MenuFixture f;
        TFormMenu& m = f.start();
        distribute(f, QStringLiteral("6"));
        NumberChip* g1 = chip(f, 1);
        const QPoint start = g1->pos();
        const QPoint grab(10, 11);
        QTest::mousePress(g1, Qt::LeftButton, Qt::NoModifier, grab);
        QCOMPARE(QWidget::mouseGrabber(), g1);
        QTest::mouseMove(g1, grab + QPoint(3, 25));
        QCOMPARE(g1->pos(), start + QPoint(3, 25)); // the grabbed point stays under the pointer
        QTest::mouseRelease(g1, Qt::LeftButton, Qt::NoModifier, grab);
        QVERIFY(QWidget::mouseGrabber() == nullptr);
        QCOMPARE(rowNumbers(f, 1), (std::vector<int>{11, 21, 31, 41, 51}));
        QCOMPARE(rowNumbers(f, 2), (std::vector<int>{1, 2, 12, 22, 32, 42, 52}));
        QCOMPARE(g1->pos(), QPoint(20, 50));
        QCOMPARE(chip(f, 11)->pos(), QPoint(20, 25)); // the row it left closed its gap
        Table& aval = m.tables().TableAval;
        QVERIFY(aval.locate(u"Dezena", 1));
        QCOMPARE(aval.integer(aval.fieldIndex(u"Cartao")), 2);

        MenuFixture::press(f.find<QPushButton>("ButtonGeraJ"), Qt::LeftButton);
        QVERIFY(f.find<QFrame>("PanelEdita")->isHidden());
        Table& car = m.tables().TableCar;
        QCOMPARE(car.rowCount(), 9); // row 1 kept only five numbers
        QCOMPARE(f.find<QTableView>("DBGrid2")->model()->rowCount(), 9);
        const RowRef first = car.rowAt(0);
        QCOMPARE(first.intValue(car.fieldIndex(u"Cartao")), std::optional<int>(1));
        QCOMPARE(first.value(car.fieldIndex(u"Todos")).toString(), QStringLiteral("01021222324252"));
        QCOMPARE(first.intValue(car.fieldIndex(u"Dezenas")), std::optional<int>(7));
        QCOMPARE(first.intValue(car.fieldIndex(u"Pares")), std::optional<int>(6));
        QCOMPARE(first.intValue(car.fieldIndex(u"Linhas")), std::optional<int>(6));
        QCOMPARE(first.intValue(car.fieldIndex(u"Abaixo")), std::optional<int>(4));
        QCOMPARE(gameNumbers(car, 8), (std::vector<int>{10, 20, 30, 40, 50, 60}));
        QCOMPARE(car.rowAt(8).intValue(car.fieldIndex(u"Cartao")), std::optional<int>(9));
        const QStringList summary =
            f.find<QPlainTextEdit>("MemoJogos")->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(summary.mid(0, 3), (QStringList{QStringLiteral("8 jogos com 6 dezenas x 6,00 = 48,00"),
                                                 QStringLiteral("1 jogos com 7 dezenas x 42,00 = 42,00"),
                                                 QStringLiteral("Total dos jogos:90,00")}));
    }

    void dropDecidesTheRow_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("games");
        QTest::newRow("top 36 is row 1") << 1 << 11 << 1 << 10;
        QTest::newRow("top 37 is row 2") << 1 << 12 << 2 << 9;
        QTest::newRow("back into its own row") << 3 << 0 << 3 << 10;
        QTest::newRow("above the first row") << 1 << -16 << 0 << 9;
        QTest::newRow("top 256 is row 10") << 10 << 6 << 10 << 10;
        QTest::newRow("below the last row") << 10 << 7 << 0 << 9;
    }
    void dropDecidesTheRow() {
        QFETCH(int, from);
        QFETCH(int, dy);
        QFETCH(int, row);
        QFETCH(int, games);
        MenuFixture f;
        TFormMenu& m = f.start();
        distribute(f, QStringLiteral("6"));
        const int moved = from + 20; // the third number of the row
        NumberChip* c = chip(f, moved);
        const int top = c->y() + dy;
        drag(c, dy);
        QCOMPARE(rowOf(c), row);
        QVERIFY(c->isVisible());
        if (row == 0)
            QCOMPARE(c->y(), top); // off every row it stays where it was dropped
        const std::vector<int> numbers = rowNumbers(f, row == 0 ? from : row);
        QVERIFY(row == 0 ? std::find(numbers.begin(), numbers.end(), moved) == numbers.end()
                         : std::find(numbers.begin(), numbers.end(), moved) != numbers.end());

        MenuFixture::press(f.find<QPushButton>("ButtonGeraJ"), Qt::LeftButton);
        Table& car = m.tables().TableCar;
        QCOMPARE(car.rowCount(), games);
        bool played = false;
        for (int i = 0; i < car.rowCount(); ++i) {
            const std::vector<int> g = gameNumbers(car, i);
            played = played || std::find(g.begin(), g.end(), moved) != g.end();
        }
        QCOMPARE(played, row != 0); // a chip off every row is in no game
    }

    void cancelWritesNothing() {
        MenuFixture f;
        TFormMenu& m = f.start();
        distribute(f, QStringLiteral("6"));
        drag(chip(f, 5), 25);
        const QString before = f.find<QPlainTextEdit>("MemoJogos")->toPlainText();
        MenuFixture::press(f.find<QPushButton>("ButtonCanGeraJ"), Qt::LeftButton);
        QVERIFY(f.find<QFrame>("PanelEdita")->isHidden());
        QCOMPARE(m.tables().TableCar.rowCount(), 0);
        QCOMPARE(f.find<QPlainTextEdit>("MemoJogos")->toPlainText(), before);
    }

    void committingTheSameGamesTwiceAddsNothing() {
        MenuFixture f;
        TFormMenu& m = f.start();
        distribute(f, QStringLiteral("6"));
        MenuFixture::press(f.find<QPushButton>("ButtonGeraJ"), Qt::LeftButton);
        QCOMPARE(m.tables().TableCar.rowCount(), 10);
        const QString summary = f.find<QPlainTextEdit>("MemoJogos")->toPlainText();
        distribute(f, QStringLiteral("6"));
        MenuFixture::press(f.find<QPushButton>("ButtonGeraJ"), Qt::LeftButton);
        QCOMPARE(m.tables().TableCar.rowCount(), 10);
        QCOMPARE(f.find<QPlainTextEdit>("MemoJogos")->toPlainText(), summary);
    }

    void noValidNumberShowsNoChip() {
        MenuFixture f;
        TFormMenu& m = f.start();
        distribute(f, QStringLiteral("6")); // leaves a distribution file behind
        MenuFixture::press(f.find<QPushButton>("ButtonCanGeraJ"), Qt::LeftButton);
        MenuFixture::press(f.find<QPushButton>("ButtonInverte"), Qt::LeftButton);
        QCOMPARE(m.board().DiscardedCount(), 60);
        f.messages.clear();
        distribute(f, QStringLiteral("6"));
        QVERIFY(f.find<QFrame>("PanelEdita")->isVisible());
        QCOMPARE(visibleChips(f), 0);
        MenuFixture::press(f.find<QPushButton>("ButtonGeraJ"), Qt::LeftButton);
        QCOMPARE(m.tables().TableCar.rowCount(), 0);
    }

    void discardedNumbersHaveNoChip() {
        MenuFixture f;
        TFormMenu& m = f.start();
        for (int n = 51; n <= 60; ++n)
            MenuFixture::press(m.numberControl(QStringLiteral("P%1").arg(n)), Qt::LeftButton);
        distribute(f, QStringLiteral("7"));
        QCOMPARE(visibleChips(f), 50);
        QVERIFY(chip(f, 55)->isHidden());
        for (int r = 1; r <= 7; ++r)
            QCOMPARE(rowNumbers(f, r).size(), std::size_t{7});
        QCOMPARE(rowNumbers(f, 8), std::vector<int>{50});
    }

    void chipTextTakesTheWeightClassColour() {
        MenuFixture f;
        seedDraws(f.folder.path(), {{1, 1, 2, 3, 4, 5, 6}, {2, 1, 2, 3, 7, 8, 9}, {3, 1, 2, 10, 11, 12, 13}});
        TFormMenu& m = f.start();
        distribute(f, QStringLiteral("6"));
        QSet<QRgb> colours;
        for (int n = 1; n <= 60; ++n) {
            const QColor boardColour =
                m.numberControl(QStringLiteral("D%1").arg(n))->palette().color(QPalette::WindowText);
            QCOMPARE(chip(f, n)->palette().color(QPalette::WindowText), boardColour);
            colours.insert(boardColour.rgb());
        }
        QVERIFY(colours.size() > 1);
    }

    void clearingTheGamesHidesTheChips() {
        MenuFixture f;
        f.start();
        distribute(f, QStringLiteral("6"));
        QCOMPARE(visibleChips(f), 60);
        f.messages.answer({false, true});
        MenuFixture::press(f.find<QPushButton>("ButtonLimpa"), Qt::LeftButton);
        QCOMPARE(visibleChips(f), 0);
    }
};

QUINABEL_GUI_TEST_MAIN(EditorUiTest)
#include "tst_editor_ui.moc"
