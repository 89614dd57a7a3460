#include "BetPrice.h"
#include "GameMeasures.h"
#include "GamePrice.h"
#include "MenuFixture.h"
#include "PriceDialog.h"
#include "Schemas.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

// The price of a simple bet as the player sets it from the games area: the dialog's refusals, the
// summary at the new price, and the price kept in its own file for the next run.
namespace {

void seedGames(const QString& folder) {
    Tables t(folder);
    Table& car = t.TableCar;
    car.create();
    const std::vector<std::vector<int>> games{
        {1, 11, 21, 31, 41, 51}, {2, 12, 22, 32, 42, 52}, {3, 13, 23, 33, 43, 53, 60}};
    int number = 1;
    for (const auto& g : games) {
        car.insert();
        car.setReal(car.fieldIndex(u"Cartao"), number++);
        car.setInteger(car.fieldIndex(u"Dezenas"), static_cast<int>(g.size()));
        for (std::size_t i = 0; i < g.size(); ++i)
            car.setInteger(car.fieldIndex(QStringLiteral("d%1").arg(i + 1)), g[i]);
        const GameMeasures m = MeasureGame(g);
        car.setInteger(car.fieldIndex(u"Pares"), m.pares);
        car.setInteger(car.fieldIndex(u"Linhas"), m.linhas);
        car.setText(car.fieldIndex(u"Todos"), TodosText(g));
        car.post();
    }
    QVERIFY(t.closeAll().isEmpty());
}

QString summary(const MenuFixture& f) {
    return f.find<QPlainTextEdit>("MemoJogos")->toPlainText();
}

// Types `text` into the open price dialog and presses `button` ("ButtonSalvaPreco" or
// "ButtonCancelaPreco"); answers whether the dialog was still open afterwards.
struct DialogScript {
    MenuFixture& f;
    QStringList typed;
    QString finalButton;
    QStringList openAfterEach; // "aberto"/"fechado" after each Salva
    QString startText;
    void run() {
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<PriceDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("EditPreco"));
            startText = edit->text();
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Preço da aposta simples"));
            for (const QString& t : typed) {
                edit->setText(t);
                MenuFixture::press(dialog->findChild<QPushButton*>(QStringLiteral("ButtonSalvaPreco")),
                                   Qt::LeftButton);
                openAfterEach << (dialog->isVisible() ? QStringLiteral("aberto") : QStringLiteral("fechado"));
                if (!dialog->isVisible())
                    return;
            }
            MenuFixture::press(dialog->findChild<QPushButton*>(finalButton), Qt::LeftButton);
        });
        MenuFixture::press(f.find<QPushButton>("ButtonPreco"), Qt::LeftButton);
    }
};

} // namespace

class PriceUiTest : public QObject {
    Q_OBJECT

private slots:
    void aFolderWithoutAPriceCostsSixReais() {
        MenuFixture f;
        seedGames(f.folder.path());
        f.start();
        QVERIFY2(summary(f).startsWith(QStringLiteral("2 jogos com 6 dezenas x 6,00 = 12,00\n"
                                                      "1 jogos com 7 dezenas x 42,00 = 42,00\n"
                                                      "Total dos jogos:54,00\n")),
                 qPrintable(summary(f)));
        QCOMPARE(f.find<QPushButton>("ButtonPreco")->text(), QStringLiteral("Preço da aposta..."));
    }

    // Anything but a positive amount of reais with at most two decimals is refused with a message
    // and the dialog stays open; nothing is stored.
    void refusals_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("zero") << QStringLiteral("0");
        QTest::newRow("zero with decimals") << QStringLiteral("0,00");
        QTest::newRow("negative") << QStringLiteral("-6,00");
        QTest::newRow("three decimals") << QStringLiteral("6,001");
        QTest::newRow("words") << QStringLiteral("seis reais");
        QTest::newRow("empty") << QString();
        QTest::newRow("decimal point") << QStringLiteral("6.50");
        QTest::newRow("two commas") << QStringLiteral("6,0,0");
    }
    void refusals() {
        QFETCH(QString, typed);
        MenuFixture f;
        seedGames(f.folder.path());
        f.start();
        DialogScript script{f, {typed}, QStringLiteral("ButtonCancelaPreco"), {}, {}};
        script.run();
        QCOMPARE(script.startText, QStringLiteral("6,00"));
        QCOMPARE(script.openAfterEach, QStringList{QStringLiteral("aberto")});
        QCOMPARE(f.messages.shown().size(), 1);
        const auto& shown = f.messages.shown().first();
        QCOMPARE(shown.icon, MessageBoxes::Icon::Information);
        QCOMPARE(shown.title, QStringLiteral("Preço da aposta simples"));
        QCOMPARE(shown.text,
                 QStringLiteral("\"%1\" não é um preço válido. Digite um valor positivo em reais, "
                                "com no máximo dois decimais, como 6,00.")
                     .arg(typed));
        QVERIFY(!QFile::exists(f.folder.file(Schemas::kBetPriceFile)));
        QCOMPARE(SimpleBetPrice(), kDefaultBetPrice);
        QVERIFY(summary(f).startsWith(QStringLiteral("2 jogos com 6 dezenas x 6,00 = 12,00")));
    }

    // A refused price, then a good one: the summary follows, and the next run keeps the price.
    void aSetPriceIsShownAndKept() {
        MenuFixture f;
        seedGames(f.folder.path());
        f.start();
        DialogScript script{f, {QStringLiteral("4,555"), QStringLiteral("R$ 4,5")}, QString(), {}, {}};
        script.run();
        QCOMPARE(script.openAfterEach, (QStringList{QStringLiteral("aberto"), QStringLiteral("fechado")}));
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(SimpleBetPrice(), Centavos{450});
        QCOMPARE(LoadBetPrice(f.folder.path()), Centavos{450});
        const QString expected = QStringLiteral("2 jogos com 6 dezenas x 4,50 = 9,00\n"
                                                "1 jogos com 7 dezenas x 31,50 = 31,50\n"
                                                "Total dos jogos:40,50\n");
        QVERIFY2(summary(f).startsWith(expected), qPrintable(summary(f)));

        f.restart();
        QCOMPARE(SimpleBetPrice(), Centavos{450});
        QVERIFY2(summary(f).startsWith(expected), qPrintable(summary(f)));

        // "Cancela" keeps the price as it was.
        DialogScript cancel{f, {}, QStringLiteral("ButtonCancelaPreco"), {}, {}};
        cancel.run();
        QCOMPARE(cancel.startText, QStringLiteral("4,50"));
        QCOMPARE(LoadBetPrice(f.folder.path()), Centavos{450});

        // Another folder, another price: a window on a folder without one is back at 6,00.
        MenuFixture other;
        seedGames(other.folder.path());
        other.start();
        QCOMPARE(SimpleBetPrice(), kDefaultBetPrice);
    }

    // The file holds the amount as text; a value that cannot be read falls back to the default.
    void storedPrice() {
        WorkFolder w;
        QCOMPARE(LoadBetPrice(w.path()), kDefaultBetPrice);
        StoreBetPrice(w.path(), 500);
        QCOMPARE(LoadBetPrice(w.path()), Centavos{500});
        Table t(QStringLiteral("TablePreco"), w.path(), Schemas::kBetPriceFile);
        t.defineFields(Schemas::betPrice());
        t.open();
        QCOMPARE(t.rowCount(), 1);
        t.first();
        QCOMPARE(t.text(u"Preco"), QStringLiteral("5.00"));
        t.edit();
        t.setText(u"Preco", QStringLiteral("cinco"));
        t.post();
        t.commitChanges();
        t.close();
        QCOMPARE(LoadBetPrice(w.path()), kDefaultBetPrice);
    }
};

QUINABEL_GUI_TEST_MAIN(PriceUiTest)
#include "tst_price_ui.moc"
