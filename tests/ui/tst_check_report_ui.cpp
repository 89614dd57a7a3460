#include "BetPrice.h"
#include "CheckReport.h"
#include "DrawPrizes.h"
#include "MenuFixture.h"
#include "Schemas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <random>

// The check report as the player reaches it: after "Conferindo os resultados", from its own button.
namespace {

using Game = std::vector<int>;

void seed(const QString& folder, const std::vector<std::array<int, 7>>& draws,
          const std::vector<Game>& games) {
    Tables t(folder);
    t.TableRes.create();
    for (const auto& d : draws) {
        t.TableRes.insert();
        for (int i = 0; i < 7; ++i)
            t.TableRes.setInteger(i, d[static_cast<std::size_t>(i)]);
        t.TableRes.post();
    }
    if (!games.empty()) {
        Table& car = t.TableCar;
        car.create();
        int number = 1;
        for (const Game& g : games) {
            car.insert();
            car.setReal(car.fieldIndex(u"Cartao"), number++);
            car.setInteger(car.fieldIndex(u"Dezenas"), static_cast<int>(g.size()));
            for (std::size_t i = 0; i < g.size(); ++i)
                car.setInteger(car.fieldIndex(QStringLiteral("d%1").arg(i + 1)), g[i]);
            car.post();
        }
    }
    QVERIFY(t.closeAll().isEmpty());
}

QString textOf(const PlacedBand& b, const char* name) {
    for (const ReportElement& e : b.band.elements)
        if (e.name == QLatin1String(name))
            return e.text;
    return {};
}

// Every file of the folder with its size and modification time.
QStringList filesOf(const QString& folder) {
    QStringList out;
    for (const QFileInfo& i : QDir(folder).entryInfoList(QDir::Files, QDir::Name))
        out << QStringLiteral("%1 %2 %3")
                   .arg(i.fileName())
                   .arg(i.size())
                   .arg(i.lastModified().toMSecsSinceEpoch());
    return out;
}

// Clicks "Cancelar" on the progress dialog as soon as it is on screen, and notes what it showed.
struct CancelWhenShown {
    QTimer timer;
    QElapsedTimer clock;
    qint64 shownAfterMs = -1;
    QString title, label, cancelText;

    explicit CancelWhenShown(TFormMenu& m) {
        clock.start();
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this, &m] {
            auto* d = m.findChild<QProgressDialog*>(QStringLiteral("ProgressConf"));
            if (!d || !d->isVisible() || shownAfterMs >= 0)
                return;
            shownAfterMs = clock.elapsed();
            title = d->windowTitle();
            label = d->labelText();
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->isVisible()) {
                    cancelText = b->text();
                    QTest::mouseClick(b, Qt::LeftButton);
                }
        });
        timer.start();
    }
};

} // namespace

class CheckReportUiTest : public QObject {
    Q_OBJECT

private slots:
    void reportFollowsTheCheck();
    void reportInReais();
    void noGamesNoReport();
    void reportAfterARestart();
    void checkAndReportsUseTheLastCompleteDraw();
    void longHistoryShowsProgressAndCancels();
};

void CheckReportUiTest::reportFollowsTheCheck() {
    MenuFixture f;
    seed(f.folder.path(), {{10, 1, 2, 3, 4, 50, 51}, {11, 7, 8, 9, 10, 11, 12}, {12, 6, 5, 4, 3, 2, 1}},
         {{1, 2, 3, 4, 5, 6, 7}, {40, 41, 42, 43, 44, 45}, {1, 2, 3, 4, 20, 21}, {7, 8, 9, 10, 30, 31}});
    f.start();
    auto* report = f.find<QPushButton>("ButtonRelConf");
    auto* check = f.find<QPushButton>("ButtonRes");
    QVERIFY(report && check);
    QCOMPARE(report->text(), QStringLiteral("Relatório da conferência"));
    QVERIFY(!report->isEnabled());
    // In the column of commands, under the others and clear of them.
    QCOMPARE(report->x(), check->x());
    QCOMPARE(report->width(), check->width());
    for (auto* b : f.menu->findChildren<QPushButton*>())
        if (b != report && b->isVisible())
            QVERIFY2(!b->geometry().intersects(report->geometry()), qPrintable(b->objectName()));
    const int columns = f.find<QTableView>("DBGrid2")->model()->columnCount();

    f.press(check, Qt::LeftButton);
    QVERIFY(report->isEnabled());
    QCOMPARE(f.find<QTableView>("DBGrid2")->model()->columnCount(), columns);

    // A draw entered after the check does not change the draw the report is about.
    {
        Table& res = f.menu->tables().TableRes;
        res.insert();
        res.setInteger(0, 13);
        for (int i = 1; i <= 6; ++i)
            res.setInteger(i, 20 + i);
        res.post();
    }
    f.menu->tables().closeAll();
    f.menu->tables().TableRes.open();
    f.menu->tables().TableCar.open();
    const QStringList before = filesOf(f.folder.path());

    f.press(report, Qt::LeftButton);
    QCOMPARE(f.previews.captures().size(), std::size_t{1});
    const ReportDocument& doc = f.previews.last().shown;
    QCOMPARE(doc.name, QStringLiteral("Relatório da conferência"));
    const std::vector<PlacedBand>& bands = doc.pages.at(0).bands;
    QCOMPARE(textOf(bands.at(0), "LabelConcurso"),
             QStringLiteral("Concurso 12: 01 - 02 - 03 - 04 - 05 - 06"));
    QCOMPARE(textOf(bands.at(1), "Texto"), QStringLiteral("Prêmios dos jogos no concurso 12"));
    QCOMPARE(textOf(bands.at(3), "Jogo"), QStringLiteral("1"));
    QCOMPARE(textOf(bands.at(3), "Senas"), QStringLiteral("1"));
    QCOMPARE(textOf(bands.at(4), "Jogo"), QStringLiteral("3"));
    QCOMPARE(textOf(bands.at(4), "Quadras"), QStringLiteral("1"));
    QCOMPARE(textOf(bands.at(5), "Texto"), QStringLiteral("Total dos prêmios"));
    // No file brought the prizes of these draws.
    QCOMPARE(textOf(bands.at(5), "Premio"), QStringLiteral("não conhecido"));
    QCOMPARE(textOf(bands.at(6), "Texto"),
             QStringLiteral("Os prêmios do concurso 12 não são conhecidos: importe "
                            "um arquivo de resultados que traga os rateios."));
    QCOMPARE(textOf(bands.at(7), "Texto"), QStringLiteral("Jogos sem prêmio: 2 de 4."));
    // The history: four draws; game 4 (7, 8, 9, 10, ...) had its quadra in draw 11.
    QCOMPARE(textOf(bands.at(9), "Texto"), QStringLiteral("Os jogos em toda a história: 4 concursos"));
    QStringList history;
    for (std::size_t i = 13; i + 1 < bands.size(); ++i)
        history << QStringLiteral("%1:%2/%3/%4@%5")
                       .arg(textOf(bands[i], "Jogo"), textOf(bands[i], "Senas"), textOf(bands[i], "Quinas"),
                            textOf(bands[i], "Quadras"), textOf(bands[i], "Ultimo"));
    QCOMPARE(history, (QStringList{QStringLiteral("1:1/1/1@12"), QStringLiteral("3:0/0/2@12"),
                                   QStringLiteral("4:0/0/1@11")}));
    QCOMPARE(textOf(bands.back(), "Texto"), QStringLiteral("Jogos que nunca teriam ganho nada: 1 de 4."));

    // The report read the tables and wrote no file.
    QCOMPARE(filesOf(f.folder.path()), before);
}

// With the prizes of draws 10 and 12 in "Premios.cds" and the player's price of 5,00: the prizes of
// the draw checked in reais, the history costed at that price over the two draws, and the chart.
void CheckReportUiTest::reportInReais() {
    MenuFixture f;
    seed(f.folder.path(), {{10, 1, 2, 3, 4, 50, 51}, {11, 7, 8, 9, 10, 11, 12}, {12, 6, 5, 4, 3, 2, 1}},
         {{1, 2, 3, 4, 5, 6, 7}, {40, 41, 42, 43, 44, 45}, {1, 2, 3, 4, 20, 21}, {7, 8, 9, 10, 30, 31}});
    {
        Table prizes(QStringLiteral("TablePremios"), f.folder.path(), Schemas::kDrawPrizesFile);
        DefineDrawPrizesTable(prizes);
        prizes.create();
        for (const auto& [concurso, sena, quina, quadra] :
             {std::tuple(10, "0.00", "30000.00", "700.00"),
              std::tuple(12, "1000000.00", "20000.00", "500.00")}) {
            prizes.insert();
            prizes.setInteger(0, concurso);
            prizes.setInteger(2, concurso == 10 ? 0 : 1);
            prizes.setText(3, QLatin1String(sena));
            prizes.setInteger(4, 10);
            prizes.setText(5, QLatin1String(quina));
            prizes.setInteger(6, 1000);
            prizes.setText(7, QLatin1String(quadra));
            prizes.post();
        }
        prizes.commitChanges();
        prizes.close();
    }
    StoreBetPrice(f.folder.path(), 500);
    f.start();
    f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
    f.press(f.find<QPushButton>("ButtonRelConf"), Qt::LeftButton);
    QCOMPARE(f.previews.captures().size(), std::size_t{1});
    const ReportDocument& doc = f.previews.last().shown;
    std::vector<const PlacedBand*> bands;
    for (const ReportPage& p : doc.pages)
        for (const PlacedBand& b : p.bands)
            bands.push_back(&b);
    // Game 1: a sena and 6 quinas; game 3: a quadra.
    QCOMPARE(textOf(*bands.at(3), "Premio"), QStringLiteral("1.120.000,00"));
    QCOMPARE(textOf(*bands.at(4), "Premio"), QStringLiteral("500,00"));
    QCOMPARE(textOf(*bands.at(5), "Premio"), QStringLiteral("1.120.500,00"));
    QCOMPARE(textOf(*bands.at(10), "Texto"),
             QStringLiteral("Ganho e gasto nos 2 concursos com prêmios "
                            "conhecidos, a 5,00 a aposta simples; Saldo: ganho "
                            "menos gasto."));
    // Game 1 in history: 1.120.000,00 in draw 12 and 3 quadras of 700,00 in draw 10 (4 hits), and
    // 2 x 7 x 5,00 spent.
    QCOMPARE(textOf(*bands.at(12), "Jogo"), QStringLiteral("1"));
    QCOMPARE(textOf(*bands.at(12), "Ganho"), QStringLiteral("1.122.100,00"));
    QCOMPARE(textOf(*bands.at(12), "Gasto"), QStringLiteral("70,00"));
    QCOMPARE(textOf(*bands.at(12), "Saldo"), QStringLiteral("1.122.030,00"));
    QCOMPARE(bands.back()->band.height, CheckReport::kChartHeight);
}

// The hits are kept with the games: after a restart the report is there, about the draw the games
// were checked with, even when a later draw was entered since.
void CheckReportUiTest::reportAfterARestart() {
    MenuFixture f;
    seed(f.folder.path(), {{10, 1, 2, 3, 4, 50, 51}, {11, 7, 8, 9, 10, 11, 12}, {12, 6, 5, 4, 3, 2, 1}},
         {{1, 2, 3, 4, 5, 6, 7}, {40, 41, 42, 43, 44, 45}, {1, 2, 3, 4, 20, 21}, {7, 8, 9, 10, 30, 31}});
    f.start();
    f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
    {
        Table& res = f.menu->tables().TableRes;
        res.insert();
        res.setInteger(0, 13);
        for (int i = 1; i <= 6; ++i)
            res.setInteger(i, 20 + i);
        res.post();
    }
    f.restart();
    auto* report = f.find<QPushButton>("ButtonRelConf");
    QVERIFY(report->isEnabled());
    f.press(report, Qt::LeftButton);
    QCOMPARE(f.previews.captures().size(), std::size_t{1});
    const std::vector<PlacedBand>& bands = f.previews.last().shown.pages.at(0).bands;
    QCOMPARE(textOf(bands.at(0), "LabelConcurso"),
             QStringLiteral("Concurso 12: 01 - 02 - 03 - 04 - 05 - 06"));
    QCOMPARE(textOf(bands.at(1), "Texto"), QStringLiteral("Prêmios dos jogos no concurso 12"));

    // Games without hits (cleared and made anew) hold no check: no report.
    f.messages.answer({false, true});
    f.press(f.find<QPushButton>("ButtonLimpa"), Qt::LeftButton);
    QVERIFY(!report->isEnabled());
    f.restart();
    QVERIFY(!f.find<QPushButton>("ButtonRelConf")->isEnabled());
}

// A draw typed only in part (as an older version stored it) is passed over: the check, its
// report and the statistics report use the last complete draw and say which.
void CheckReportUiTest::checkAndReportsUseTheLastCompleteDraw() {
    MenuFixture f;
    seed(f.folder.path(),
         {{10, 1, 2, 3, 4, 50, 51},
          {11, 7, 8, 9, 10, 11, 12},
          {12, 6, 5, 4, 3, 2, 1},
          {13, 0, 0, 0, 11, 22, 33}},
         {{1, 2, 3, 4, 5, 6, 7}, {40, 41, 42, 43, 44, 45}, {11, 22, 33, 4, 20, 21}});
    f.start();
    f.messages.clear();
    f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral("Os jogos foram conferidos com o concurso 12, o último com as seis "
                                        "dezenas; o concurso 13 está incompleto.")});
    // The results grid stands on the draw checked against.
    QCOMPARE(f.menu->tables().TableRes.text(0), QStringLiteral("12"));
    Table& car = f.menu->tables().TableCar;
    QStringList hits;
    for (int i = 0; i < car.rowCount(); ++i)
        hits << car.rowAt(i).text(car.fieldIndex(u"Cartao")) + QLatin1Char(':') +
                    car.rowAt(i).text(car.fieldIndex(u"Acertos"));
    hits.sort();
    QCOMPARE(hits, (QStringList{QStringLiteral("1:6"), QStringLiteral("2:0"), QStringLiteral("3:1")}));

    f.press(f.find<QPushButton>("ButtonRelConf"), Qt::LeftButton);
    QCOMPARE(textOf(f.previews.last().shown.pages.at(0).bands.at(0), "LabelConcurso"),
             QStringLiteral("Concurso 12: 01 - 02 - 03 - 04 - 05 - 06"));

    f.press(f.find<QPushButton>("BitBtn2"), Qt::LeftButton);
    QCOMPARE(f.reports->FormRelSai.layout().element(u"LabelTitulo").text,
             QStringLiteral("Mega-Sena. Concurso: 12"));
}

void CheckReportUiTest::noGamesNoReport() {
    MenuFixture f;
    seed(f.folder.path(), {{10, 1, 2, 3, 4, 50, 51}}, {});
    f.start();
    f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
    QVERIFY(!f.find<QPushButton>("ButtonRelConf")->isEnabled());
    QVERIFY(f.previews.captures().empty());
}

// 300,000 games of 15 numbers against 20,000 draws: seconds of work on any machine, so the progress
// dialog shows; "Cancelar" ends the run and nothing is previewed.
void CheckReportUiTest::longHistoryShowsProgressAndCancels() {
    MenuFixture f;
    std::mt19937 rng(99);
    std::vector<int> deck(60);
    for (int i = 0; i < 60; ++i)
        deck[static_cast<std::size_t>(i)] = i + 1;
    std::vector<std::array<int, 7>> draws;
    for (int d = 1; d <= 20000; ++d) {
        std::shuffle(deck.begin(), deck.end(), rng);
        draws.push_back({d, deck[0], deck[1], deck[2], deck[3], deck[4], deck[5]});
    }
    std::vector<Game> games;
    for (int g = 0; g < 300000; ++g) {
        std::shuffle(deck.begin(), deck.end(), rng);
        games.emplace_back(deck.begin(), deck.begin() + 15);
    }
    seed(f.folder.path(), draws, games);
    TFormMenu& m = f.start();
    f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
    auto* report = f.find<QPushButton>("ButtonRelConf");
    QVERIFY(report->isEnabled());

    CancelWhenShown cancel(m);
    f.press(report, Qt::LeftButton);
    QVERIFY2(cancel.shownAfterMs >= 450, qPrintable(QString::number(cancel.shownAfterMs)));
    QCOMPARE(cancel.title, QStringLiteral("Relatório da conferência"));
    QVERIFY(cancel.label.startsWith(QStringLiteral("Conferindo os jogos em todos os concursos...\n"
                                                   "Jogos com prêmio até agora: ")));
    QCOMPARE(cancel.cancelText, QStringLiteral("Cancelar"));
    QVERIFY(m.findChild<QProgressDialog*>() == nullptr);
    QVERIFY(f.previews.captures().empty());
    QVERIFY(report->isEnabled());
}

QUINABEL_GUI_TEST_MAIN(CheckReportUiTest)
#include "tst_check_report_ui.moc"
