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
        // stores the draw, which is whole.
        p.typeInto(p.field(2), QStringLiteral("44"));
        QTest::mouseClick(p.nav("NavNext"), Qt::LeftButton);
        QVERIFY(f.messages.shown().isEmpty());
        Table& res = f.menu->tables().TableRes;
        QCOMPARE(res.rowAt(0).text(1), QStringLiteral("33"));
        QCOMPARE(res.rowAt(0).text(2), QStringLiteral("44"));
        QCOMPARE(p.conc()->text(), QStringLiteral("2499"));
        QTest::mouseClick(p.nav("NavLast"), Qt::LeftButton);
        QCOMPARE(p.conc()->text(), QStringLiteral("2500"));
        // A grid selection changes the draw, not EditConc.
        f.find<QTableView>("GridRes")->selectRow(0);
        QCOMPARE(res.text(0), QStringLiteral("2498"));
        QCOMPARE(p.conc()->text(), QStringLiteral("2500"));
        QCOMPARE(p.field(1)->text(), QStringLiteral("33"));
    }

    // A number typed twice into one draw is refused as the focus leaves its field, with a message
    // naming it; it never reaches the table.
    void aRepeatedNumberIsRefused_data() {
        QTest::addColumn<int>("first");  // the field that holds the number first
        QTest::addColumn<int>("second"); // the field it is typed into again
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::newRow("05 twice, d1 and d2") << 1 << 2 << "5"
                                             << "05";
        QTest::newRow("05 as 05 and 5") << 1 << 2 << "05"
                                        << "05";
        QTest::newRow("60 in d1 and d6") << 1 << 6 << "60"
                                         << "60";
        QTest::newRow("41 in d3 and d4") << 3 << 4 << "41"
                                         << "41";
    }
    void aRepeatedNumberIsRefused() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        p.goTo(QStringLiteral("2799"), true);
        const std::array<int, 6> others{10, 20, 30, 40, 50, 59};
        for (int i = 1; i <= 6; ++i) {
            p.typeInto(p.field(i), i == first || i == second
                                       ? typed
                                       : QString::number(others[static_cast<std::size_t>(i - 1)]));
            f.messages.clear();
            p.enter(p.field(i));
            if (i == second)
                break;
            QVERIFY(f.messages.shown().isEmpty());
        }
        const QString text =
            QStringLiteral("A dezena %1 já está neste concurso: as dezenas são seis números diferentes. ")
                .arg(named);
        QCOMPARE(f.messages.texts(), QStringList{text});
        QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Valor das dezenas"));
        QCOMPARE(p.focused(), p.field(second)); // the focus stays until it is corrected
        // "Salva" does not store it either, and the close drops it.
        f.messages.clear();
        p.click("ButtonSalva");
        QCOMPARE(f.messages.texts(), QStringList{text});
        QCOMPARE(p.focused(), p.field(second));
        f.restart();
        Table& res = f.menu->tables().TableRes;
        QCOMPARE(concursos(res), (QStringList{"2498", "2499", "2500"}));
    }

    // Within the draw being typed the player moves freely: an empty field is no fault while the
    // focus goes to another of the six fields.
    void anEmptyFieldIsFreeWithinTheDraw() {
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        p.goTo(QStringLiteral("2799"), true);
        f.messages.clear();
        for (int i = 1; i <= 3; ++i) {
            p.typeInto(p.field(i), QString::number(9 * i));
            p.enter(p.field(i));
        }
        QCOMPARE(p.focused(), p.field(4));
        // Clicks into the empty fields, one after another, and back into a filled one.
        for (int i : {5, 6, 4, 2, 6}) {
            QTest::mouseClick(p.field(i), Qt::LeftButton);
            QCOMPARE(p.focused(), p.field(i));
        }
        p.enter(p.field(6)); // Enter in the last field goes on to the navigator
        QVERIFY(f.messages.shown().isEmpty());
        // The rest typed in any order makes the draw whole; "Salva" stores it.
        for (int i : {6, 4, 5}) {
            p.typeInto(p.field(i), QString::number(9 * i));
            p.enter(p.field(i));
        }
        p.click("ButtonSalva");
        QVERIFY(f.messages.shown().isEmpty());
        f.restart();
        Table& res = f.menu->tables().TableRes;
        QVERIFY(res.locate(u"Concurso", 2799));
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(res.text(i), QString::number(9 * i));
    }

    // "Salva" on a draw typed in part says why it stores nothing and puts the focus where a
    // number is missing.
    void savingAHalfTypedDrawStoresNothing() {
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        p.goTo(QStringLiteral("2799"), true);
        for (int i = 1; i <= 3; ++i) {
            p.typeInto(p.field(i), QString::number(11 * i));
            p.enter(p.field(i));
        }
        f.messages.clear();
        p.click("ButtonSalva");
        QCOMPARE(
            f.messages.texts(),
            QStringList{QStringLiteral(
                "O concurso 2799 só é guardado com as seis dezenas, seis números diferentes de 1 a 60. ")});
        QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Concurso incompleto"));
        QCOMPARE(p.focused(), p.field(4));
        Table& res = f.menu->tables().TableRes;
        QVERIFY(res.isEditing());
        QVERIFY(res.rowAt(3).isEmpty(1)); // the stored row holds no number
    }

    // Leaving a draw typed in part, by any way out, asks whether to discard it: No goes back to
    // the draw, Yes discards it; it is never stored in part.
    void leavingAHalfTypedDraw_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("discard");
        for (const char* way : {"navigator", "grid", "Sai", "another draw", "close", "check", "statistics"}) {
            QTest::addRow("%s, Yes discards", way) << QString::fromLatin1(way) << true;
            QTest::addRow("%s, No stays", way) << QString::fromLatin1(way) << false;
        }
    }
    void leavingAHalfTypedDraw() {
        QFETCH(QString, way);
        QFETCH(bool, discard);
        MenuFixture f;
        seedDraws(f.folder.path(), threeDraws());
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        p.goTo(QStringLiteral("2799"), true);
        for (int i = 1; i <= 3; ++i) {
            p.typeInto(p.field(i), QString::number(11 * i));
            p.enter(p.field(i));
        }
        QCOMPARE(p.focused(), p.field(4));
        f.messages.clear();
        f.messages.answer({discard});
        Table& res = f.menu->tables().TableRes;
        if (way == QLatin1String("navigator")) {
            QTest::mouseClick(p.nav("NavFirst"), Qt::LeftButton);
        } else if (way == QLatin1String("grid")) {
            auto* grid = f.find<QTableView>("GridRes");
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                              grid->visualRect(grid->model()->index(0, 1)).center());
        } else if (way == QLatin1String("Sai")) {
            p.click("ButtonSaiIn");
        } else if (way == QLatin1String("another draw")) {
            p.typeInto(p.conc(), QStringLiteral("2498"));
            p.enter(p.conc());
        } else if (way == QLatin1String("close")) {
            f.menu->close();
        } else if (way == QLatin1String("check")) {
            p.click("ButtonRes");
        } else {
            p.click("ButtonAtu");
        }
        QCOMPARE(
            f.messages.shown().value(0).text,
            QStringLiteral("O concurso 2799 ainda não tem seis dezenas diferentes de 1 a 60 e não pode ser "
                           "guardado assim. Descarta o que foi digitado neste concurso? "));
        QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Concurso incompleto"));
        QVERIFY(!f.messages.shown()[0].yesByDefault); // Enter does not destroy
        if (!discard) {
            // Back in the draw, where a number is missing; nothing moved, nothing was stored.
            QCOMPARE(f.messages.shown().size(), 1);
            QVERIFY(f.menu->isVisible());
            QVERIFY(f.find<QWidget>("PanelIns")->isVisible());
            QCOMPARE(p.focused(), p.field(4));
            QVERIFY(res.isEditing());
            QCOMPARE(res.text(0), QStringLiteral("2799"));
            QCOMPARE(p.conc()->text(), QStringLiteral("2799"));
            for (int i = 1; i <= 3; ++i)
                QCOMPARE(p.field(i)->text(), QString::number(11 * i));
        } else {
            QVERIFY(!res.isEditing());
        }
        f.menu.reset();
        f.start();
        Table& after = f.menu->tables().TableRes;
        // Never stored in part: no row holds the typed numbers, and the empty new draw is gone.
        QCOMPARE(concursos(after), (QStringList{"2498", "2499", "2500"}));
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
