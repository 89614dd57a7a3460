#include "EntryPanelDriver.h"

#include <QTableView>

// The draw entry panel as the player uses it: looking draws up, adding, typing numbers, the
// checks on leaving a field, the navigator, saving, deleting and leaving the panel.
class ResultsPanelTest : public QObject {
    Q_OBJECT

    static const std::vector<Draw>& threeDraws() {
        static const std::vector<Draw> d{
            {2498, 1, 2, 3, 4, 5, 6}, {2499, 7, 8, 9, 10, 11, 12}, {2500, 13, 14, 15, 16, 17, 18}};
        return d;
    }
    static QStringList concursos(Table& res) {
        QStringList out;
        for (int r = 0; r < res.rowCount(); ++r)
            out << res.rowAt(r).text(0);
        return out;
    }

private slots:
    void openingShowsTheCurrentDraw() {
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        QVERIFY(f.find<QWidget>("PanelIns")->isVisible());
        QCOMPARE(p.conc()->text(), QStringLiteral("2500"));
        QCOMPARE(p.field(1)->text(), QStringLiteral("13"));
    }

    void lookUp_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("current"); // the draw current afterwards
        QTest::addColumn<bool>("asked");
        QTest::newRow("existing draw") << "2499"
                                       << "2499" << false;
        QTest::newRow("blanks around an existing draw") << "2498 "
                                                        << "2498" << false;
        QTest::newRow("empty") << ""
                               << "2500" << false;
        QTest::newRow("blanks") << "   "
                                << "2500" << false;
        QTest::newRow("letters") << "abc"
                                 << "2500" << false;
        QTest::newRow("zero") << "0"
                              << "2500" << false;
        QTest::newRow("negative") << "-3"
                                  << "2500" << false;
        QTest::newRow("exponent") << "1e3"
                                  << "2500" << false;
        QTest::newRow("too large for an integer") << "99999999999"
                                                  << "2500" << false;
    }
    void lookUp() {
        QFETCH(QString, typed);
        QFETCH(QString, current);
        QFETCH(bool, asked);
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        f.messages.clear();
        p.typeInto(p.conc(), typed);
        p.enter(p.conc());
        QCOMPARE(f.messages.shown().isEmpty(), !asked);
        Table& res = f.menu->tables().TableRes;
        QCOMPARE(res.rowCount(), 3);
        QCOMPARE(res.text(0), current);
        QCOMPARE(p.focused(), p.field(1));
    }

    void addingANewDraw_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes adds it") << true;
        QTest::newRow("No adds nothing") << false;
    }
    void addingANewDraw() {
        QFETCH(bool, yes);
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        f.menu->tables().TableRes.first(); // the current draw is 2498
        p.goTo(QStringLiteral("2499"));    // no question for an existing draw
        f.messages.clear();
        p.goTo(QStringLiteral("2501"), yes);
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Inclusão de concurso"));
        QCOMPARE(f.messages.shown()[0].text, QStringLiteral("Concurso não cadastrado. Cadastra? "));
        Table& res = f.menu->tables().TableRes;
        if (yes) {
            QCOMPARE(concursos(res), (QStringList{"2498", "2499", "2500", "2501"}));
            QCOMPARE(res.text(0), QStringLiteral("2501"));
            QVERIFY(res.isEmpty(1));
            auto* grid = f.find<QTableView>("GridRes");
            QCOMPARE(grid->model()->index(3, 0).data().toString(), QStringLiteral("2501"));
            QCOMPARE(grid->currentIndex().row(), 3);
        } else {
            QCOMPARE(res.rowCount(), 3);
            QCOMPARE(p.conc()->text(), QStringLiteral("2499"));
        }
    }

    void numberCheckOnLeavingAField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString range = QStringLiteral("As dezenas varias de 1 a 60. ");
        QTest::newRow("empty") << "" << range;
        QTest::newRow("61") << "61" << range;
        QTest::newRow("0") << "0" << range;
        QTest::newRow("-1") << "-1" << range;
        QTest::newRow("letters") << "7a"
                                 << "O valor '7a' não é um número. Digite uma dezena de 1 a 60.";
        QTest::newRow("too large") << "99999999999"
                                   << "O valor '99999999999' é grande demais. Digite uma dezena de 1 a 60.";
        QTest::newRow("blanks around") << " 7 "
                                       << "";
        QTest::newRow("60") << "60"
                            << "";
    }
    void numberCheckOnLeavingAField() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        f.messages.clear();
        p.typeInto(p.field(3), typed);
        p.enter(p.field(3));
        if (message.isEmpty()) {
            QVERIFY(f.messages.shown().isEmpty());
            QCOMPARE(p.focused(), p.field(4));
            p.click("ButtonSalva");
            QCOMPARE(f.menu->tables().TableRes.text(3), typed.trimmed());
        } else {
            QCOMPARE(f.messages.texts(), QStringList{message});
            if (message.startsWith(QLatin1String("As dezenas")))
                QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Valor das dezenas"));
            QCOMPARE(p.focused(), p.field(3)); // the focus stays until it is corrected
        }
    }

    void theNavigatorStoresTypedNumbersAndUpdatesEditConc() {
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        f.menu->tables().TableRes.first();
        p.typeInto(p.field(1), QStringLiteral("33"));
        // Straight to the navigator: its buttons take no focus, so no field check runs; the move
        // posts what was typed, as the program always did, even a number out of range.
        p.typeInto(p.field(2), QStringLiteral("70"));
        QTest::mouseClick(p.nav("NavNext"), Qt::LeftButton);
        QVERIFY(f.messages.shown().isEmpty());
        Table& res = f.menu->tables().TableRes;
        QCOMPARE(res.rowAt(0).text(1), QStringLiteral("33"));
        QCOMPARE(res.rowAt(0).text(2), QStringLiteral("70"));
        QCOMPARE(p.conc()->text(), QStringLiteral("2499"));
        QTest::mouseClick(p.nav("NavLast"), Qt::LeftButton);
        QCOMPARE(p.conc()->text(), QStringLiteral("2500"));
        // A grid selection changes the draw, not EditConc.
        f.find<QTableView>("GridRes")->selectRow(0);
        QCOMPARE(res.text(0), QStringLiteral("2498"));
        QCOMPARE(p.conc()->text(), QStringLiteral("2500"));
        QCOMPARE(p.field(1)->text(), QStringLiteral("33"));
    }

    void deleting_data() {
        QTest::addColumn<int>("draws");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("editConc");
        QTest::newRow("No keeps the draw") << 3 << false << "2500";
        QTest::newRow("the last draw: the new last one becomes current") << 3 << true << "2499";
        QTest::newRow("the only draw: nothing is left") << 1 << true << "";
    }
    void deleting() {
        QFETCH(int, draws);
        QFETCH(bool, yes);
        QFETCH(QString, editConc);
        MenuFixture f;
        seedDraws(f.folder.path(), std::vector<Draw>(threeDraws().end() - draws, threeDraws().end()));
        f.start();
        EntryPanelDriver p{f};
        p.open();
        f.messages.clear();
        f.messages.answer({yes});
        p.click("ButtonExclui");
        QCOMPARE(f.messages.shown().at(0).title, QStringLiteral("Exclusão de concurso"));
        QCOMPARE(f.messages.shown().at(0).text, QStringLiteral("Deleta mesmo este concurso? "));
        QCOMPARE(f.menu->tables().TableRes.rowCount(), yes ? draws - 1 : draws);
        QCOMPARE(p.conc()->text(), editConc);
    }

    void leavingThePanelAlwaysReminds() {
        MenuFixture f;
        f.start();
        EntryPanelDriver p{f};
        for (int i = 0; i < 2; ++i) {
            p.open();
            f.messages.clear();
            p.click("ButtonSaiIn");
            QVERIFY(!f.find<QWidget>("PanelIns")->isVisible());
            QCOMPARE(f.messages.shown().size(), 1);
            QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Atualizar as estatísticas"));
            QCOMPARE(f.messages.shown()[0].text,
                     QStringLiteral(
                         "Ao alterar a tabela dos resultados, lembre-se de mandar o sistema atualizar as "
                         "estatísticas. "));
        }
    }

    // A new draw whose six fields are still empty does not hold the player in its fields: it can
    // be deleted with "Exclui" and left with "Sai", and the close does not keep it.
    void anEmptyNewDrawCanBeDeletedOrLeft() {
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        p.goTo(QStringLiteral("2501"), true);
        QCOMPARE(p.focused(), p.field(1));
        f.messages.clear();
        f.messages.answer({true});
        p.click("ButtonExclui");
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Deleta mesmo este concurso? ")});
        QCOMPARE(concursos(f.menu->tables().TableRes), (QStringList{"2498", "2499", "2500"}));

        p.goTo(QStringLiteral("2502"), true);
        QCOMPARE(p.focused(), p.field(1));
        f.messages.clear();
        p.click("ButtonSalva");
        p.click("ButtonAtu");
        p.click("ButtonSaiIn");
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral(
                                         "Ao alterar a tabela dos resultados, lembre-se de mandar o sistema "
                                         "atualizar as estatísticas. ")});
        QVERIFY(!f.find<QWidget>("PanelIns")->isVisible());
        f.restart();
        QCOMPARE(concursos(f.menu->tables().TableRes), (QStringList{"2498", "2499", "2500"}));
    }

    // A number the check refused never reaches the table: not by "Salva", not by "Atualiza as
    // estatísticas", not by a click on another draw of the grid, not at the close.
    void aRefusedNumberNeverReachesTheTable() {
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        Table& res = f.menu->tables().TableRes;
        p.typeInto(p.field(3), QStringLiteral("61"));
        f.messages.clear();
        p.click("ButtonSalva");
        p.click("ButtonAtu");
        auto* grid = f.find<QTableView>("GridRes");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid->visualRect(grid->model()->index(0, 1)).center());
        QCOMPARE(f.messages.texts(), QStringList(3, QStringLiteral("As dezenas varias de 1 a 60. ")));
        QCOMPARE(p.focused(), p.field(3));
        QCOMPARE(res.position(), 2); // the selection did not move
        QCOMPARE(grid->currentIndex().row(), 2);
        f.restart();
        QCOMPARE(f.menu->tables().TableRes.rowAt(2).text(3), QStringLiteral("15"));
    }

    void aTypedDrawSurvivesClosingTheWindow() {
        MenuFixture f;
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        p.goTo(QStringLiteral("10"));
        for (int i = 1; i <= 6; ++i)
            p.typeInto(p.field(i), QString::number(i * 9));
        // The window closes with the numbers still being typed in the last field.
        f.restart();
        Table& res = f.menu->tables().TableRes;
        QCOMPARE(res.rowCount(), 1);
        QCOMPARE(res.text(0), QStringLiteral("10"));
        QCOMPARE(res.text(6), QStringLiteral("54"));
    }
};

QUINABEL_GUI_TEST_MAIN(ResultsPanelTest)
#include "tst_results_panel.moc"
