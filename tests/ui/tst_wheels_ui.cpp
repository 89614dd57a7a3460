#include "GameMeasures.h"
#include "GamesTable.h"
#include "MenuFixture.h"
#include "NumberBoard.h"
#include "WheelGuarantee.h"
#include "WheelPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

// The wheel as the player makes it: the board's choice, "Gera os jogos", "Gera um fechamento", the
// panel's fields, the question, the games in the table and the summary.
namespace {

void typeInto(QLineEdit* e, const QString& text) {
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
}

void click(const MenuFixture& f, const char* name) {
    MenuFixture::press(f.find<QWidget>(name), Qt::LeftButton);
}

void pressCells(TFormMenu& m, int from, int to, Qt::MouseButton button = Qt::LeftButton) {
    for (int n = from; n <= to; ++n)
        MenuFixture::press(m.numberControl(QStringLiteral("P%1").arg(n)), button);
}

bool shown(const MenuFixture& f, const char* name) {
    return !f.find<QWidget>(name)->isHidden();
}

std::vector<WheelMask> storedGames(Table& car) {
    const GameFields f(car);
    std::vector<WheelMask> games;
    std::array<int, 15> numbers{};
    for (int i = 0; i < car.rowCount(); ++i) {
        const int n = ReadGameNumbers(car.rowAt(i), f, numbers);
        games.push_back(WheelMaskOf(std::span<const int>(numbers.data(), static_cast<std::size_t>(n))));
    }
    return games;
}

// The board with only `from`..`to` in play, `fixed` among them fixed.
void chooseNumbers(TFormMenu& m, int from, int to, int fixed) {
    pressCells(m, 1, from - 1);
    pressCells(m, to + 1, 60);
    pressCells(m, fixed, fixed, Qt::RightButton);
}

void openWheelPanel(MenuFixture& f) {
    click(f, "ButtonGera");
    click(f, "RBFecha");
}

} // namespace

class WheelsUiTest : public QObject {
    Q_OBJECT

private slots:
    void wheelGoesIntoTheGamesTable() {
        MenuFixture f;
        TFormMenu& m = f.start();
        chooseNumbers(m, 1, 9, 9); // 9 chosen, the fixed 9 among them
        openWheelPanel(f);
        QVERIFY(shown(f, "PanelGera"));
        QVERIFY(shown(f, "PanelFecha"));
        QVERIFY(!shown(f, "PanelFiltro"));
        QVERIFY(!shown(f, "PanelGeraQual"));
        QCOMPARE(f.find<QLabel>("LabelSelF")->text(), QStringLiteral("9"));
        f.find<WheelPanel>("PanelFecha")->setSearchTime(300);

        auto* garantia = f.find<QComboBox>("ComboGarantia");
        auto* condicao = f.find<QComboBox>("ComboCondicao");
        QCOMPARE(garantia->count(), 4);
        QCOMPARE(garantia->itemText(0), QStringLiteral("Terno"));
        QCOMPARE(garantia->itemText(3), QStringLiteral("Sena"));
        garantia->setCurrentIndex(3);
        QCOMPARE(condicao->count(), 1);
        QCOMPARE(condicao->itemText(0), QStringLiteral("se saírem 6 das dezenas escolhidas"));
        garantia->setCurrentIndex(0);
        QCOMPARE(condicao->count(), 4);
        QCOMPARE(condicao->itemText(0), QStringLiteral("se saírem 3 das dezenas escolhidas"));
        garantia->setCurrentIndex(1);
        condicao->setCurrentIndex(0);
        QCOMPARE(f.find<QLabel>("LabelChanceF")->text(),
                 // (C(9,4) C(51,2) + C(9,5) C(51,1) + C(9,6)) / C(60,6) = 167.160 / 50.063.860
                 QStringLiteral(
                     "Chance de um sorteio ter 4 ou mais das 9 dezenas escolhidas: 1 em 299,5 (0,3339%)."));

        // A game bigger than the numbers chosen is refused and changes nothing.
        typeInto(f.find<QLineEdit>("EditDezFecha"), QStringLiteral("10"));
        click(f, "ButtonOKFecha");
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral(
                                         "Há só 9 dezenas escolhidas: um jogo de 10 dezenas precisa de pelo "
                                         "menos 10 dezenas escolhidas.")});
        QCOMPARE(m.tables().TableCar.rowCount(), 0);
        QVERIFY(shown(f, "PanelFecha"));

        f.messages.clear();
        f.messages.answer({true});
        typeInto(f.find<QLineEdit>("EditDezFecha"), QStringLiteral("6"));
        click(f, "ButtonOKFecha");
        Table& car = m.tables().TableCar;
        const int n = car.rowCount();
        QVERIFY(n > 0);
        QCOMPARE(f.messages.shown().size(), 1);
        QVERIFY(f.messages.shown().front().yesNo);
        QCOMPARE(f.messages.shown().front().title, QStringLiteral("Fechamento"));
        const QString question = f.messages.shown().front().text;
        QVERIFY2(question.startsWith(
                     QStringLiteral("Fechamento de 9 dezenas em %1 jogos de 6 dezenas (R$ ").arg(n)),
                 qPrintable(question));
        QVERIFY2(
            question.endsWith(QStringLiteral("): garante pelo menos uma quadra se saírem 4 das 9 dezenas "
                                             "escolhidas. Grava os jogos?")),
            qPrintable(question));
        QVERIFY(CheckWheel(WheelMaskOf(std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}), storedGames(car), 4, 4)
                    .holds);
        const GameFields fields(car);
        for (int i = 0; i < n; ++i) {
            QCOMPARE(car.rowAt(i).intValue(fields.cartao), std::optional<int>(i + 1));
            QCOMPARE(car.rowAt(i).value(fields.emite).toString(), QStringLiteral("S"));
            QVERIFY(!car.rowAt(i).value(fields.todos).toString().isEmpty());
        }
        QVERIFY(!shown(f, "PanelGera"));
        const QString summary = f.find<QPlainTextEdit>("MemoJogos")->toPlainText();
        QVERIFY2(summary.startsWith(QStringLiteral("%1 jogos com 6 dezenas x ").arg(n)), qPrintable(summary));

        // The same wheel again: every game is there already, the question says so, No keeps all.
        f.messages.clear();
        f.messages.answer({false});
        openWheelPanel(f);
        f.find<WheelPanel>("PanelFecha")->setSearchTime(300);
        click(f, "ButtonOKFecha");
        QCOMPARE(f.messages.shown().size(), 1);
        QVERIFY2(f.messages.shown().front().text.endsWith(
                     QStringLiteral(
                         "%1 desses jogos já estão na lista e não serão gravados de novo. Grava os jogos?")
                         .arg(n)),
                 qPrintable(f.messages.shown().front().text));
        QCOMPARE(car.rowCount(), n);
        QVERIFY(shown(f, "PanelFecha")); // No leaves the panel as it was

        click(f, "ButtonCanFecha");
        QVERIFY(!shown(f, "PanelGera"));

        // The games survive a restart.
        TFormMenu& again = f.restart();
        QCOMPARE(again.tables().TableCar.rowCount(), n);
    }

    // A long search shows the progress dialog; "Cancelar" stops it and the best wheel proven so
    // far is offered, with its guarantee intact.
    void cancelOffersTheBestWheelSoFar() {
        MenuFixture f;
        TFormMenu& m = f.start();
        chooseNumbers(m, 1, 22, 5);
        openWheelPanel(f);
        f.find<WheelPanel>("PanelFecha")->setSearchTime(120000);
        f.find<QComboBox>("ComboGarantia")->setCurrentIndex(0); // terno if 3
        f.messages.answer({true});
        QString label;
        QString cancelText;
        QTimer timer;
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* d = m.findChild<QProgressDialog*>(QStringLiteral("ProgressFecha"));
            if (!d || !d->isVisible() || !label.isEmpty())
                return;
            label = d->labelText();
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->isVisible()) {
                    cancelText = b->text();
                    QTest::mouseClick(b, Qt::LeftButton);
                }
        });
        timer.start();
        QElapsedTimer clock;
        clock.start();
        click(f, "ButtonOKFecha");
        QVERIFY(clock.elapsed() < 60000);
        QCOMPARE(cancelText, QStringLiteral("Cancelar"));
        QVERIFY2(label.startsWith(QStringLiteral("Procurando o fechamento com menos jogos...")),
                 qPrintable(label));
        QCOMPARE(f.messages.shown().size(), 1);
        QVERIFY(f.messages.shown().front().text.startsWith(QStringLiteral("Fechamento de 22 dezenas em ")));
        Table& car = m.tables().TableCar;
        QVERIFY(car.rowCount() > 0);
        std::vector<int> chosen;
        for (int i = 1; i <= 22; ++i)
            chosen.push_back(i);
        QVERIFY(CheckWheel(WheelMaskOf(chosen), storedGames(car), 3, 3).holds);
    }
};

QTEST_MAIN(WheelsUiTest)
#include "tst_wheels_ui.moc"
