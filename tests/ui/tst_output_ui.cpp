#include "CalibrationDialog.h"
#include "GameMeasures.h"
#include "MenuFixture.h"
#include "PrintCalibration.h"
#include "Schemas.h"
#include "TableModel.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

// The games list, the check, the print panel and the statistics report as the player uses them
// from the window; the pages are captured instead of shown.
namespace {

using Game = std::vector<int>;

// Puts draws and games into the working folder before the window opens, as an earlier run would.
void seed(const QString& folder, const std::vector<std::array<int, 7>>& draws, const std::vector<Game>& games,
          int firstGame = 1) {
    Tables t(folder);
    if (!draws.empty()) {
        t.TableRes.create();
        for (const auto& d : draws) {
            t.TableRes.insert();
            for (int i = 0; i < 7; ++i)
                t.TableRes.setInteger(i, d[static_cast<std::size_t>(i)]);
            t.TableRes.post();
        }
    }
    if (!games.empty() || firstGame == 0) {
        Table& car = t.TableCar;
        car.create();
        int number = firstGame;
        for (const Game& g : games) {
            car.insert();
            car.setReal(car.fieldIndex(u"Cartao"), number++);
            car.setInteger(car.fieldIndex(u"Dezenas"), static_cast<int>(g.size()));
            for (std::size_t i = 0; i < g.size(); ++i)
                car.setInteger(car.fieldIndex(QStringLiteral("d%1").arg(i + 1)), g[i]);
            const GameMeasures m = MeasureGame(g);
            car.setInteger(car.fieldIndex(u"Pares"), m.pares);
            car.setInteger(car.fieldIndex(u"Linhas"), m.linhas);
            car.setInteger(car.fieldIndex(u"Abaixo"), m.abaixo);
            car.setText(car.fieldIndex(u"Todos"), TodosText(g));
            car.post();
        }
        if (games.empty())
            car.write();
    }
    QVERIFY(t.closeAll().isEmpty());
}

std::vector<Game> sixNumberGames(int count) {
    std::vector<Game> games;
    for (int i = 0; i < count; ++i)
        games.push_back({1 + i, 11 + i, 21 + i, 31 + i, 41 + i, 51 + i});
    return games;
}

bool black(const PlacedBand& slip, const QString& mark) {
    for (const ReportElement& e : slip.band.elements)
        if (e.name.compare(mark, Qt::CaseInsensitive) == 0)
            return e.background == QColor(Qt::black);
    qWarning("no mark %s", qPrintable(mark));
    return false;
}

QString fieldText(const PlacedBand& slip, const char* name) {
    for (const ReportElement& e : slip.band.elements)
        if (e.name == QLatin1String(name))
            return e.text;
    return QStringLiteral("<none>");
}

} // namespace

class OutputUiTest : public QObject {
    Q_OBJECT

private slots:
    void slipsOnA4CarryEachGamesMarks_data() {
        QTest::addColumn<QString>("teimosinha");
        QTest::addColumn<QString>("marked");
        QTest::newRow("sem teimosinha") << "RBST"
                                        << "";
        QTest::newRow("4 concursos") << "RB4C"
                                     << "t4";
        QTest::newRow("8 concursos") << "RB8C"
                                     << "t8";
    }
    void slipsOnA4CarryEachGamesMarks() {
        QFETCH(QString, teimosinha);
        QFETCH(QString, marked);
        MenuFixture f;
        seed(f.folder.path(), {}, sixNumberGames(7));
        f.previews = CapturePreview(1); // the player also prints from the preview once
        f.start();
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        QVERIFY(f.find<QWidget>("PanelImp")->isVisible());
        f.find<QRadioButton>(teimosinha.toLatin1().constData())->setChecked(true);
        f.press(f.find<QRadioButton>("RBCartA4"), Qt::LeftButton);

        QVERIFY(!f.find<QWidget>("PanelImp")->isVisible());
        QVERIFY(!f.find<QRadioButton>("RBCartA4")->isChecked()); // can be chosen again
        QCOMPARE(f.previews.captures().size(), std::size_t{1});
        const CapturePreview::Capture& c = f.previews.last();
        for (const ReportDocument* doc : {&c.shown, &c.printed.at(0)}) {
            QCOMPARE(doc->pageCount(), 1);
            const std::vector<PlacedBand>& slips = doc->pages[0].bands;
            QCOMPARE(slips.size(), std::size_t{3}); // (1,2,3), (4,5,6), (7)
            for (int s = 0; s < 3; ++s) {
                const PlacedBand& slip = slips[static_cast<std::size_t>(s)];
                QVERIFY(black(slip, "a6"));
                QVERIFY(!black(slip, "a7"));
                for (const char* t : {"t2", "t4", "t8"})
                    QCOMPARE(black(slip, QLatin1String(t)), marked == QLatin1String(t));
                for (int block = 1; block <= 3; ++block) {
                    const int game = s * 3 + block;
                    for (int n = 1; n <= 60; ++n) {
                        const bool inGame = game <= 7 && (n - game) % 10 == 0 && n >= game;
                        QVERIFY2(
                            black(slip, QStringLiteral("d%1%2").arg(block).arg(n)) == inGame,
                            qPrintable(
                                QStringLiteral("slip %1 block %2 number %3").arg(s + 1).arg(block).arg(n)));
                    }
                }
            }
            QCOMPARE(fieldText(slips[2], "RDBText2"), QStringLiteral("7"));
            QCOMPARE(fieldText(slips[2], "RDBText3"), QString());
        }
        // The games list stands on the first game after a print run.
        QCOMPARE(f.menu->tables().TableCar.position(), 0);
    }

    // The calibration dialog from the print panel: the test sheet shows the offsets as they stand
    // in the dialog, "Salva" keeps them in "Calibragem.cds", and the next run of the program prints
    // every slip of that paper moved by them (and only that paper).
    void calibrationMovesTheSlipsOfItsPaper() {
        MenuFixture f;
        seed(f.folder.path(), {}, sixNumberGames(4));
        f.start();
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CalibrationDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Calibragem da impressão"));
            auto spin = [dialog](const char* name) {
                return dialog->findChild<QDoubleSpinBox*>(QLatin1String(name));
            };
            QCOMPARE(spin("SpinVolanteX")->minimum(), -5.0);
            QCOMPARE(spin("SpinVolanteX")->maximum(), 5.0);
            QCOMPARE(spin("SpinVolanteX")->singleStep(), 0.1);
            spin("SpinVolanteX")->setValue(1.3);
            spin("SpinVolanteY")->setValue(-0.7);
            spin("SpinA4Y")->setValue(2.0);
            f.press(dialog->findChild<QPushButton*>(QStringLiteral("ButtonTesteVolante")), Qt::LeftButton);
            answered = true;
            f.press(dialog->findChild<QPushButton*>(QStringLiteral("ButtonSalvaCalibragem")), Qt::LeftButton);
        });
        f.press(f.find<QPushButton>("ButtonCalibra"), Qt::LeftButton);
        QVERIFY(answered);
        QCOMPARE(f.previews.captures().size(), std::size_t{1});
        const ReportDocument& sheet = f.previews.last().shown;
        QCOMPARE(sheet.title, QStringLiteral("Folha de teste do volante"));
        QCOMPARE(sheet.page.paper, QSizeF(82, 140));
        QCOMPARE(sheet.pages.at(0).bands.at(0).origin, QPointF(1.3, -0.7));
        QVERIFY(f.messages.shown().isEmpty());
        QCOMPARE(LoadPrintCalibration(f.folder.path()),
                 (PrintCalibration{QPointF(1.3, -0.7), QPointF(0, 2.0)}));

        f.restart();
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBCart"), Qt::LeftButton);
        const ReportDocument& slips = f.previews.last().shown;
        QCOMPARE(slips.title, QStringLiteral("Volantes"));
        QCOMPARE(slips.pageCount(), 2);
        for (const ReportPage& page : slips.pages)
            QCOMPARE(page.bands.at(0).origin, QPointF(1.3, -0.7));
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBCartA4"), Qt::LeftButton);
        QCOMPARE(f.previews.last().shown.pages.at(0).bands.at(1).origin, QPointF(20, 147.90 + 2.0));
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBRel"), Qt::LeftButton);
        QCOMPARE(f.previews.last().shown.pages.at(0).bands.at(0).origin, QPointF(10, 10)); // not a slip
    }

    // "Cancela" keeps the stored offsets.
    void cancelledCalibrationKeepsTheStoredOffsets() {
        MenuFixture f;
        StorePrintCalibration(f.folder.path(), {QPointF(0.5, 0.5), QPointF()});
        f.start();
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<CalibrationDialog*>(QApplication::activeModalWidget())) {
                auto* x = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("SpinVolanteX"));
                QCOMPARE(x->value(), 0.5);
                x->setValue(-3.0);
                f.press(dialog->findChild<QPushButton*>(QStringLiteral("ButtonCancelaCalibragem")),
                        Qt::LeftButton);
            }
        });
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QPushButton>("ButtonCalibra"), Qt::LeftButton);
        QCOMPARE(LoadPrintCalibration(f.folder.path()).slipPaper, QPointF(0.5, 0.5));
    }

    void slipsWithoutAGamesFileShowTheTableError() {
        MenuFixture f;
        f.start();
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBCart"), Qt::LeftButton);
        QVERIFY(f.previews.captures().empty());
        QCOMPARE(f.messages.texts(), QStringList{"Missing data provider or data packet"});
        QVERIFY(!f.find<QRadioButton>("RBCart")->isChecked());
    }

    void listingWritesTheFileAndPreviewsTheLines() {
        MenuFixture f;
        seed(f.folder.path(), {}, {{5, 11, 23, 34, 45, 56}, {1, 2, 3, 4, 5, 6, 7}}, 12);
        f.start();
        for (int twice = 0; twice < 2; ++twice) {
            f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
            f.press(f.find<QRadioButton>("RBRel"), Qt::LeftButton);
        }
        QVERIFY2(f.messages.shown().isEmpty(), qPrintable(f.messages.texts().join(" / ")));
        QFile csv(f.folder.file("Cartelas.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(),
                 QByteArray("0000012;05;11;23;34;45;56;\r\n0000013;01;02;03;04;05;06;07;\r\n"));
        QCOMPARE(f.previews.captures().size(), std::size_t{2});
        const ReportPage& page = f.previews.last().shown.pages.at(0);
        QCOMPARE(page.bands.size(), std::size_t{3}); // the title band and two lines
        QCOMPARE(fieldText(page.bands[2], "RDBText1"), QStringLiteral("0000013;01;02;03;04;05;06;07;"));
    }

    void checkingPutsTheListInHitOrder() {
        MenuFixture f;
        seed(f.folder.path(), {{10, 4, 15, 23, 37, 41, 58}},
             {{4, 10, 15, 20, 41, 59}, {1, 2, 3, 5, 6, 7}, {4, 15, 23, 37, 41, 58}});
        f.start();
        f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
        Table& car = f.menu->tables().TableCar;
        QCOMPARE(car.indexFieldNames(), QStringLiteral("Acertos"));
        QCOMPARE(car.position(), 2);
        QCOMPARE(car.integer(u"Acertos"), 6);
        auto* grid = f.find<QTableView>("DBGrid2");
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(grid->model()->index(0, 16).data().toString(), QStringLiteral("0"));
        QCOMPARE(grid->currentIndex().row(), 2);
        QVERIFY(f.find<QRadioButton>("RBJogo")->isChecked());
        // Back to game order through the two order buttons.
        f.press(f.find<QRadioButton>("RBAcerto"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBJogo"), Qt::LeftButton);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("1"));
        QCOMPARE(grid->model()->index(0, 16).data().toString(), QStringLiteral("3"));
    }

    // After a check the whole result is in view: all 17 columns and a seven-digit game number fit
    // without sideways scrolling, no text is cut, and the numbers that hit are marked.
    void theCheckedListIsWhollyInViewWithItsHitsMarked() {
        MenuFixture f;
        // Fifteen-number games numbered from 2437001, enough to need the vertical scroll bar.
        std::vector<Game> games;
        for (int i = 0; i < 30; ++i)
            games.push_back({1, 4, 10, 15, 20, 23, 30, 37, 41, 44, 50, 52, 55, 58, 60});
        for (std::size_t i = 1; i < games.size(); ++i)
            games[i][0] = 2 + static_cast<int>(i % 2); // every game different
        seed(f.folder.path(), {{10, 4, 15, 23, 37, 41, 58}}, games, 2437001);
        f.start();
        f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
        auto* grid = f.find<QTableView>("DBGrid2");
        QApplication::processEvents();
        QCOMPARE(grid->model()->columnCount(), 17);
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
        int right = 0;
        for (int c = 0; c < 17; ++c)
            right = std::max(right, grid->columnViewportPosition(c) + grid->columnWidth(c));
        QVERIFY2(right <= grid->viewport()->width(), qPrintable(QString::number(right)));
        // No cell of the last row and no title is cut.
        const int row = grid->model()->rowCount() - 1;
        for (int c = 0; c < 17; ++c) {
            const QModelIndex at = grid->model()->index(row, c);
            QFont cellFont = grid->font();
            cellFont.setBold(true);
            const int text = QFontMetrics(cellFont).horizontalAdvance(at.data().toString());
            QVERIFY2(text + 4 <= grid->columnWidth(c), qPrintable(at.data().toString()));
            const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(QFontMetrics(grid->horizontalHeader()->font()).horizontalAdvance(title) + 2 <=
                         grid->columnWidth(c),
                     qPrintable(title));
        }
        QVERIFY(grid->model()->index(row, 0).data().toString().size() == 7);
        // The six numbers of the draw are marked in every game, the others are not.
        const QList<int> hits{4, 15, 23, 37, 41, 58};
        for (int c = 1; c <= 15; ++c) {
            const QModelIndex at = grid->model()->index(row, c);
            const bool hit = hits.contains(at.data().toInt());
            QCOMPARE(at.data(Qt::BackgroundRole).value<QColor>() == QColor(Qt::yellow), hit);
            QCOMPARE(at.data(Qt::FontRole).value<QFont>().bold(), hit);
        }
        QCOMPARE(grid->model()->index(row, 16).data().toString(), QStringLiteral("6"));
    }

    void checkingWithoutADrawTellsWhy() {
        MenuFixture f;
        seed(f.folder.path(), {}, sixNumberGames(2));
        f.start();
        f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
        QCOMPARE(f.messages.shown().size(), 1);
        QVERIFY(f.menu->tables().TableCar.isEmpty(u"Acertos"));
    }

    void deletingAGameRefreshesTheSummary() {
        MenuFixture f;
        seed(f.folder.path(), {}, sixNumberGames(3));
        f.start();
        auto* memo = f.find<QPlainTextEdit>("MemoJogos");
        QVERIFY(memo->toPlainText().startsWith(QStringLiteral("3 jogos com 6 dezenas x 6,00 = 18,00")));
        auto* grid = f.find<QTableView>("DBGrid2");
        grid->selectRow(1);
        f.messages.answer({false, true});
        f.press(f.find<QPushButton>("ButtonDelJogo"), Qt::LeftButton); // No
        QCOMPARE(f.menu->tables().TableCar.rowCount(), 3);
        f.press(f.find<QPushButton>("ButtonDelJogo"), Qt::LeftButton); // Yes
        QCOMPARE(f.messages.shown().at(1).title, QStringLiteral("Deleção de jogo"));
        QCOMPARE(f.messages.shown().at(1).text, QStringLiteral("Deleta mesmo o jogo marcado? "));
        QCOMPARE(f.menu->tables().TableCar.rowCount(), 2);
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("3"));
        QVERIFY(memo->toPlainText().startsWith(QStringLiteral("2 jogos com 6 dezenas x 6,00 = 12,00")));
    }

    void clearingTheGamesRemovesTheirFile() {
        MenuFixture f;
        seed(f.folder.path(), {}, sixNumberGames(2));
        f.start();
        f.messages.answer({false, true});
        f.press(f.find<QPushButton>("ButtonLimpa"), Qt::LeftButton);
        QCOMPARE(f.messages.shown().at(1).text, QStringLiteral("Limpa a lista de jogos? "));
        QVERIFY(!QFile::exists(f.folder.file("Cartelas.cds")));
        QCOMPARE(f.find<QPlainTextEdit>("MemoJogos")->toPlainText(), QString());
        QCOMPARE(f.find<QTableView>("DBGrid2")->model()->rowCount(), 0);
        f.restart();
        QCOMPARE(f.find<QTableView>("DBGrid2")->model()->rowCount(), 0);
    }

    void statisticsReportListsTheFourOrders() {
        MenuFixture f;
        seed(f.folder.path(), {{2796, 1, 2, 3, 4, 5, 6}, {2797, 1, 7, 8, 9, 10, 11}}, {});
        f.start();
        f.press(f.find<QRadioButton>("RBSaidas"), Qt::LeftButton);
        f.press(f.find<QPushButton>("BitBtn2"), Qt::LeftButton);
        QVERIFY(f.find<QRadioButton>("RBDezena")->isChecked());
        auto* grid = f.find<QTableView>("DBGrid1");
        for (int r = 0; r < 60; ++r)
            QCOMPARE(grid->model()->index(r, 0).data().toInt(), r + 1);
        const ReportDocument& doc = f.previews.last().shown;
        QCOMPARE(doc.pageCount(), 1);
        const PlacedBand& title = doc.pages[0].bands.at(0);
        QCOMPARE(fieldText(title, "LabelTitulo"), QStringLiteral("Mega-Sena. Concurso: 2797"));
        QCOMPARE(doc.pages[0].bands.size(), std::size_t{61});
        QVERIFY(!f.menu->tables().TableRelSai.isOpen());
    }

    void statisticsReportWithoutDraws() {
        MenuFixture f;
        f.start();
        f.press(f.find<QPushButton>("BitBtn2"), Qt::LeftButton);
        QVERIFY(f.messages.shown().isEmpty());
        const PlacedBand& title = f.previews.last().shown.pages.at(0).bands.at(0);
        QCOMPARE(fieldText(title, "LabelTitulo"), QStringLiteral("Mega-Sena. Nenhum concurso cadastrado"));
    }
};

QUINABEL_GUI_TEST_MAIN(OutputUiTest)
#include "tst_output_ui.moc"
