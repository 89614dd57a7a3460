#include "MenuFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <set>

// The program as a player uses it on a first evening: draws typed in, statistics updated, numbers
// discarded, random games generated, slips previewed, the next draw typed in, the games checked
// and listed; then the next day the program finds everything again.
namespace {

using Draw = std::pair<int, std::array<int, 6>>;

std::vector<Draw> realDraws(int from, int to) {
    QFile f(QStringLiteral(QUINABEL_TEST_DATA "/megasena-draws.json"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject all = QJsonDocument::fromJson(f.readAll()).object();
    std::vector<Draw> out;
    for (int c = from; c <= to; ++c) {
        const QJsonArray n = all.value(QString::number(c)).toArray();
        if (n.size() != 6)
            continue; // not in the history held here
        Draw d{c, {}};
        for (int k = 0; k < 6; ++k)
            d.second[static_cast<std::size_t>(k)] = n.at(k).toString().toInt();
        out.push_back(d);
    }
    return out;
}

// Types into the focused field and presses Enter, as the player does.
void typeAndEnter(const QString& text) {
    QWidget* w = QApplication::focusWidget();
    QVERIFY(w);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->selectAll();
    QTest::keyClicks(w, text);
    QTest::keyClick(w, Qt::Key_Return);
}

void typeDraw(MenuFixture& f, const Draw& d) {
    auto* conc = f.find<QLineEdit>("EditConc");
    conc->setFocus();
    QTRY_VERIFY(conc->hasFocus());
    f.messages.answer({true}); // "Concurso não cadastrado. Cadastra? "
    typeAndEnter(QString::number(d.first));
    QTRY_COMPARE(QApplication::focusWidget(), f.find<QWidget>("DBEdit1"));
    for (const int n : d.second)
        typeAndEnter(QString::number(n));
    f.press(f.find<QPushButton>("ButtonSalva"), Qt::LeftButton);
}

bool black(const PlacedBand& slip, const QString& mark) {
    for (const ReportElement& e : slip.band.elements)
        if (e.name.compare(mark, Qt::CaseInsensitive) == 0)
            return e.background == QColor(Qt::black);
    return false;
}

std::vector<std::vector<int>> gamesOf(Table& car) {
    std::vector<std::vector<int>> games;
    for (int r = 0; r < car.rowCount(); ++r) {
        std::vector<int> g;
        for (int k = 1; k <= 15; ++k)
            if (const auto v = car.rowAt(r).intValue(car.fieldIndex(QStringLiteral("d%1").arg(k)));
                v && *v > 0)
                g.push_back(*v);
        games.push_back(g);
    }
    return games;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void aFirstEveningAndTheNextDay() {
        const std::vector<Draw> draws = realDraws(2785, 2797);
        if (draws.size() != 13)
            QSKIP("the draw history is not in tests/data");
        MenuFixture f;
        TFormMenu& m = f.start();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        QVERIFY(f.find<QWidget>("PanelTut")->isVisible());
        f.press(f.find<QPushButton>("ButtonSai"), Qt::LeftButton);

        // Twelve draws typed in, then the statistics.
        f.press(f.find<QPushButton>("ButtonIns"), Qt::LeftButton);
        for (std::size_t i = 0; i < 12; ++i)
            typeDraw(f, draws[i]);
        f.press(f.find<QPushButton>("ButtonAtu"), Qt::LeftButton);
        f.press(f.find<QPushButton>("ButtonSaiIn"), Qt::LeftButton);
        QCOMPARE(f.messages.shown().last().title, QStringLiteral("Atualizar as estatísticas"));
        QCOMPARE(m.tables().TableRes.rowCount(), 12);
        QCOMPARE(f.find<QLabel>("LabelMedia")->text(), QStringLiteral("Média por dezena = 279"));
        QVERIFY(!m.tables().TableRes.isEmpty(u"pares"));

        // Three numbers discarded on the board.
        for (const char* cell : {"p1", "p2", "p3"})
            f.press(f.find<QWidget>(cell), Qt::LeftButton);
        QCOMPARE(f.find<QLabel>("LabelDesp")->text(), QStringLiteral("Dezenas: Desprezadas=3  Válidas=57"));

        // Ten random games of six numbers.
        f.press(f.find<QPushButton>("ButtonGera"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBAlea"), Qt::LeftButton);
        f.find<QLineEdit>("EditDezJogo")->setText(QStringLiteral("6"));
        f.find<QLineEdit>("EditQuant")->setText(QStringLiteral("10"));
        f.press(f.find<QPushButton>("ButtonOKAlea"), Qt::LeftButton);
        Table& car = m.tables().TableCar;
        QCOMPARE(car.rowCount(), 10);
        const auto games = gamesOf(car);
        for (const auto& g : games) {
            QCOMPARE(g.size(), std::size_t{6});
            for (const int n : g)
                QVERIFY(n > 3);
        }
        QVERIFY(f.find<QPlainTextEdit>("MemoJogos")
                    ->toPlainText()
                    .startsWith(QStringLiteral("10 jogos com 6 dezenas x 6,00 = 60,00")));

        // The slips on slip paper: four slips, each block marked with its game's numbers.
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBCart"), Qt::LeftButton);
        const ReportDocument& slips = f.previews.last().shown;
        QCOMPARE(slips.pageCount(), 4);
        for (int s = 0; s < 4; ++s)
            for (int b = 1; b <= 3; ++b) {
                const std::size_t game = static_cast<std::size_t>(s * 3 + b - 1);
                const std::set<int> numbers = game < games.size()
                                                  ? std::set<int>(games[game].begin(), games[game].end())
                                                  : std::set<int>{};
                for (int n = 1; n <= 60; ++n)
                    QCOMPARE(black(slips.pages[static_cast<std::size_t>(s)].bands.at(0),
                                   QStringLiteral("d%1%2").arg(b).arg(n)),
                             numbers.count(n) == 1);
            }

        // The next draw, then the check and the listing.
        f.press(f.find<QPushButton>("ButtonIns"), Qt::LeftButton);
        typeDraw(f, draws[12]);
        f.press(f.find<QPushButton>("ButtonSaiIn"), Qt::LeftButton);
        f.press(f.find<QPushButton>("ButtonRes"), Qt::LeftButton);
        const std::set<int> drawn(draws[12].second.begin(), draws[12].second.end());
        std::vector<int> expectedHits;
        for (const auto& g : games)
            expectedHits.push_back(
                static_cast<int>(std::count_if(g.begin(), g.end(), [&](int n) { return drawn.count(n); })));
        std::sort(expectedHits.begin(), expectedHits.end());
        for (int r = 0; r < car.rowCount(); ++r)
            QCOMPARE(car.rowAt(r).intValue(car.fieldIndex(u"Acertos")),
                     std::optional<qint32>(expectedHits[static_cast<std::size_t>(r)]));
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBRel"), Qt::LeftButton);
        QFile csv(f.folder.file("Cartelas.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("\r\n"), 10);

        // The next day.
        TFormMenu& again = f.restart();
        QVERIFY(!f.find<QWidget>("PanelTut")->isVisible());
        QCOMPARE(again.tables().TableRes.rowCount(), 13);
        QCOMPARE(f.find<QLabel>("LabelDesp")->text(), QStringLiteral("Dezenas: Desprezadas=3  Válidas=57"));
        QCOMPARE(again.tables().TableCar.rowCount(), 10);
        QCOMPARE(gamesOf(again.tables().TableCar).size(), std::size_t{10});
        QVERIFY(!again.tables().TableCar.isEmpty(u"Acertos"));
    }

    // Remakes the README's two pictures when QUINABEL_SCREENSHOTS names a folder.
    void screenshots() {
        const QString out = qEnvironmentVariable("QUINABEL_SCREENSHOTS");
        if (out.isEmpty())
            QSKIP("set QUINABEL_SCREENSHOTS to a folder to remake the README's pictures");
        const std::vector<Draw> draws = realDraws(1, 2797);
        MenuFixture f;
        {
            Tables t(f.folder.path());
            t.TableRes.create();
            for (const Draw& d : draws) {
                t.TableRes.insert();
                t.TableRes.setInteger(0, d.first);
                for (int k = 0; k < 6; ++k)
                    t.TableRes.setInteger(k + 1, d.second[static_cast<std::size_t>(k)]);
                t.TableRes.post();
            }
            t.TableDes.create();
            for (const int n : {8, 19, 26, 33, 47}) {
                t.TableDes.insert();
                t.TableDes.setInteger(0, n);
                t.TableDes.post();
            }
            QVERIFY(t.closeAll().isEmpty());
        }
        TFormMenu& m = f.start();
        f.press(f.find<QWidget>("p10"), Qt::RightButton);
        f.press(f.find<QPushButton>("ButtonGera"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBAlea"), Qt::LeftButton);
        f.find<QLineEdit>("EditDezJogo")->setText(QStringLiteral("6"));
        f.find<QLineEdit>("EditQuant")->setText(QStringLiteral("12"));
        f.press(f.find<QPushButton>("ButtonOKAlea"), Qt::LeftButton);
        QDir().mkpath(out);
        QVERIFY(m.grab().save(out + QStringLiteral("/janela.png")));
        f.find<QRadioButton>("RB4C")->setChecked(true);
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBCartA4"), Qt::LeftButton);
        QVERIFY(
            renderReportPage(f.previews.last().shown, 0, 90).save(out + QStringLiteral("/volantes-a4.png")));

        // With QUINABEL_PRINTS, every report is also printed to a PDF file there, to look at.
        const QString prints = qEnvironmentVariable("QUINABEL_PRINTS");
        if (prints.isEmpty())
            return;
        QDir().mkpath(prints);
        auto pdf = [&](const QString& name) {
            const ReportDocument& doc = f.previews.last().shown;
            QPdfWriter writer(prints + QLatin1Char('/') + name);
            QVERIFY(!setUpPage(doc.title, doc.page, writer));
            printReport(doc, writer);
        };
        pdf(QStringLiteral("volantes-a4.pdf"));
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBCart"), Qt::LeftButton);
        pdf(QStringLiteral("volantes.pdf"));
        f.press(f.find<QPushButton>("ButtonImp"), Qt::LeftButton);
        f.press(f.find<QRadioButton>("RBRel"), Qt::LeftButton);
        pdf(QStringLiteral("relacao.pdf"));
        f.press(f.find<QPushButton>("BitBtn2"), Qt::LeftButton);
        pdf(QStringLiteral("estatisticas.pdf"));
    }
};

QUINABEL_GUI_TEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
