#include "CheckReport.h"
#include "GamesAndDraws.h"
#include "ReportsFixture.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPdfWriter>
#include <QProcess>

// The check report over a small fixture: six games, a history of three draws, the last one checked.
namespace {

struct Fixture {
    std::vector<GameNumbers> games{
        gameOf(1, {1, 2, 3, 4, 5, 6, 7}),               // checked: sena, 6 quinas
        gameOf(2, {1, 2, 3, 4, 5, 10, 11, 12, 13, 14}), // checked: 5 quinas, 50 quadras
        gameOf(3, {1, 2, 3, 4, 20, 21}),                // checked: a quadra
        gameOf(4, {40, 41, 42, 43, 44, 45}),            // a quadra in draw 48 only
        gameOf(5, {30, 5, 4, 3, 2, 1}),                 // checked: a quina
        gameOf(6, {55, 56, 57, 58, 59, 60}),            // never anything
    };
    std::vector<ResultDraw> draws{drawOf(48, {40, 41, 42, 43, 50, 51}), drawOf(49, {7, 10, 11, 12, 13, 1}),
                                  drawOf(50, {6, 5, 4, 3, 2, 1})};

    void fill(CheckReport& report) const {
        NoProgress none;
        report.fill({draws.back(), games, PrizesOfDraw(games, draws.back().mask),
                     *PrizesInHistory(games, draws, none), std::nullopt, 0});
    }
};

// The same draws with the prizes of two of them known (draw 49's are not), at 6,00 a simple bet.
// Game 1 has 7 numbers and 5 hits in the draw checked: 2 quinas and 5 quadras. Game 5 is draw 48
// itself, whose sena nobody won.
struct MoneyFixture {
    std::vector<GameNumbers> games{
        gameOf(1, {1, 2, 3, 4, 5, 30, 31}),  // checked: 2 quinas, 5 quadras = 64.500,00
        gameOf(2, {1, 2, 3, 4, 5, 6}),       // checked: the sena = 30.000.000,00
        gameOf(3, {40, 41, 42, 43, 44, 45}), // a quadra in draw 48: 1.000,00
        gameOf(4, {55, 56, 57, 58, 59, 60}), // never anything
        gameOf(5, {40, 41, 42, 43, 50, 51}), // the sena of draw 48, which paid nobody
    };
    std::vector<ResultDraw> draws{drawOf(48, {40, 41, 42, 43, 50, 51}), drawOf(49, {7, 10, 11, 12, 13, 1}),
                                  drawOf(50, {6, 5, 4, 3, 2, 1})};
    std::vector<DrawPayout> payouts{
        {50, QStringLiteral("2024-12-17"), DrawTiers{{{2, 3000000000}, {100, 3000000}, {5000, 90000}}}},
        {48, QStringLiteral("2024-12-11"), DrawTiers{{{0, 0}, {20, 5000000}, {2000, 100000}}}},
    };

    void fill(CheckReport& report) const {
        NoProgress none;
        const auto prices = PricesOfDraws(draws, payouts);
        report.fill({draws.back(), games, PrizesOfDraw(games, draws.back().mask),
                     *PrizesInHistory(games, draws, none, {prices, 600}), prices.back(), 600});
    }
};

using Line = CheckReport::Line;

struct RowText {
    Line kind;
    QString jogo;
    QString text;
};

std::vector<RowText> rowsOf(CheckReport& report) {
    std::vector<RowText> out;
    Table& rows = report.rows();
    for (rows.first(); !rows.eof(); rows.next())
        out.push_back({static_cast<Line>(rows.integer(u"Tipo")), rows.text(u"Jogo"), rows.text(u"Texto")});
    return out;
}

const ReportElement& elementOf(const PlacedBand& b, const QString& name) {
    static const ReportElement none;
    for (const ReportElement& e : b.band.elements)
        if (e.name == name)
            return e;
    return none; // the title band has none of the lines' elements
}

// The bands of the game lines of each section, by game number.
std::map<QString, const PlacedBand*> linesOf(const ReportDocument& doc, bool history) {
    std::map<QString, const PlacedBand*> out;
    bool second = false;
    for (const ReportPage& p : doc.pages)
        for (const PlacedBand& b : p.bands) {
            const QString text =
                b.band.elements.empty() ? QString() : elementOf(b, QStringLiteral("Texto")).text;
            if (text.startsWith(QStringLiteral("Os jogos em toda a história")))
                second = true;
            const QString jogo = elementOf(b, QStringLiteral("Jogo")).text;
            const QString d1 = elementOf(b, QStringLiteral("D1")).text;
            if (second == history && !jogo.isEmpty() && d1 != QString() && b.band.frame == FrameNone)
                out[jogo] = &b;
        }
    return out;
}

// Every text the report drew in a PDF, with its font and box, read by PyMuPDF. PyMuPDF joins
// texts drawn close together in one font into one span, marking each gap between them with a
// blank (a blank inside a drawn text reads as a tab), so a span is cut at its blanks.
QJsonArray pdfSpans(const QString& path) {
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"),
              QStringLiteral(
                  "import fitz, json, sys\n"
                  "out = []\n"
                  "for n, page in enumerate(fitz.open(sys.argv[1])):\n"
                  "    for b in page.get_text('rawdict')['blocks']:\n"
                  "        for l in b.get('lines', []):\n"
                  "            for s in l['spans']:\n"
                  "                piece = []\n"
                  "                for c in s['chars'] + [None]:\n"
                  "                    if c is not None and c['c'] != ' ':\n"
                  "                        piece.append(c)\n"
                  "                        continue\n"
                  "                    if piece:\n"
                  "                        text = ''.join(p['c'] for p in piece).replace('\\t', ' ')\n"
                  "                        out.append({'page': n, 'text': text, 'font': s['font'],\n"
                  "                                    'x0': piece[0]['bbox'][0], 'y0': s['bbox'][1],\n"
                  "                                    'x1': piece[-1]['bbox'][2], 'y1': s['bbox'][3]})\n"
                  "                    piece = []\n"
                  "print(json.dumps(out))\n"),
              path});
    if (!py.waitForFinished(60000) || py.exitCode() != 0) {
        qWarning("python3-fitz: %s", py.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(py.readAllStandardOutput()).array();
}

constexpr double kPt = 72.0 / 25.4;

} // namespace

class TestCheckReport : public QObject {
    Q_OBJECT

private slots:
    void linesInPrizeOrder();
    void bandsMarkTheHitNumbers();
    void longListsStopAtTheLimit();
    void pdfShowsTheHitNumbersInBold();
    void amountsInReais();
    void chartOfTheBalance();
};

void TestCheckReport::amountsInReais() {
    const MoneyFixture f;
    CheckReport report;
    f.fill(report);
    Table& t = report.rows();
    std::vector<QString> got;
    for (t.first(); !t.eof(); t.next()) {
        QStringList c{QString::number(t.integer(u"Tipo")), t.text(u"Jogo"), t.text(u"Texto")};
        for (const char* name : {"Senas", "Quinas", "Quadras", "Ultimo", "Premio", "Ganho", "Gasto", "Saldo"})
            c << t.text(QString::fromLatin1(name));
        got.push_back(c.join(QLatin1Char('|')));
    }
    const auto row = [](Line kind, const char* rest) {
        return QString::number(static_cast<int>(kind)) + QLatin1Char('|') + QString::fromUtf8(rest);
    };
    const std::vector<QString> want{
        row(Line::Section, "|Prêmios dos jogos no concurso 50||||||||"),
        row(Line::Captions, "Jogo||Senas|Quinas|Quadras||Prêmio (R$)|||"),
        row(Line::Game, "2||1|0|0||30.000.000,00|||"),
        row(Line::Game, "1||0|2|5||64.500,00|||"),
        row(Line::Total, "|Total dos prêmios|1|2|5||30.064.500,00|||"),
        row(Line::Note, "|Jogos sem prêmio: 3 de 5.||||||||"),
        row(Line::Blank, "|||||||||"),
        row(Line::Section, "|Os jogos em toda a história: 3 concursos||||||||"),
        row(Line::Note,
            "|Em quantos concursos cada jogo teria ganho sena, quina e quadra; Último: o concurso "
            "mais recente com quadra ou mais.||||||||"),
        row(Line::Note,
            "|Ganho e gasto nos 2 concursos com prêmios conhecidos, a 6,00 a aposta simples; Saldo: "
            "ganho menos gasto.||||||||"),
        row(Line::Captions, "Jogo||Senas|Quinas|Quadras|Último||Ganho (R$)|Gasto (R$)|Saldo (R$)"),
        row(Line::History, "2||1|0|0|50||30.000.000,00|12,00|29.999.988,00"),
        row(Line::History, "5||1|0|0|48||0,00|12,00|-12,00"),
        row(Line::History, "1||0|1|1|50||64.500,00|84,00|64.416,00"),
        row(Line::History, "3||0|0|1|48||1.000,00|12,00|988,00"),
        row(Line::Total, "|Total de todos os jogos||||||30.065.500,00|132,00|30.065.368,00"),
        row(Line::Note,
            "|Faixas que ninguém ganhou no concurso não entram na soma (o prêmio acumulou): 1 sena."
            "||||||||"),
        row(Line::Note, "|Jogos que nunca teriam ganho nada: 1 de 5.||||||||"),
        row(Line::Blank, "|||||||||"),
        row(Line::Chart, "|||||||||"),
    };
    QCOMPARE(got, want);
}

// The chart at the end: a band of its own whose curve goes through the balance after each draw
// with known prizes, drawn into the PDF like the rest of the report and seen in its page image.
void TestCheckReport::chartOfTheBalance() {
    const MoneyFixture f;
    CheckReport report;
    f.fill(report);
    const ReportDocument doc = layOutReport(report.layout(), report.rows(), report.rowPainter());
    QCOMPARE(doc.pageCount(), 1);
    const PlacedBand* chart = nullptr;
    for (const PlacedBand& b : doc.pages[0].bands)
        if (b.band.height == CheckReport::kChartHeight)
            chart = &b;
    QVERIFY(chart);
    const QRectF area = CheckReport::chartArea();
    // Balance 0 before draw 48, 934,00 after it (1.000,00 won, 66,00 spent), 30.065.368,00 after 50:
    // gridlines every 10.000.000,00 from 0 to 40.000.000,00.
    const ReportElement& curve = elementOf(*chart, QStringLiteral("GraficoSaldo"));
    QCOMPARE(curve.points.size(), 3);
    const double perReal = area.height() / 40000000.0;
    QCOMPARE(curve.points[0], QPointF(0, area.height() + 1.0));
    QVERIFY(std::abs(curve.points[1].x() - area.width() / 2) < 1e-9);
    QVERIFY(std::abs(curve.points[1].y() - (area.height() - 934.0 * perReal + 1.0)) < 1e-6);
    QVERIFY(std::abs(curve.points[2].y() - (area.height() - 30065368.0 * perReal + 1.0)) < 1e-6);
    QCOMPARE(elementOf(*chart, QStringLiteral("GraficoY0")).text, QStringLiteral("0,00"));
    QCOMPARE(elementOf(*chart, QStringLiteral("GraficoY4")).text, QStringLiteral("40.000.000,00"));
    QCOMPARE(elementOf(*chart, QStringLiteral("GraficoY5")).text, QString());
    QCOMPARE(elementOf(*chart, QStringLiteral("GraficoX0")).text, QStringLiteral("48"));
    QCOMPARE(elementOf(*chart, QStringLiteral("GraficoX4")).text, QStringLiteral("50"));
    QCOMPARE(elementOf(*chart, QStringLiteral("GraficoTitulo")).text,
             QStringLiteral("O saldo dos jogos concurso a concurso"));
    // No other line carries any of the chart.
    for (const PlacedBand& b : doc.pages[0].bands)
        if (&b != chart)
            QVERIFY(elementOf(b, QStringLiteral("GraficoSaldo")).points.isEmpty() &&
                    elementOf(b, QStringLiteral("GraficoY0")).text.isEmpty());

    // The PDF, read back: its texts, and the page as an image with the curve in its colour inside
    // the chart's area and nowhere else.
    WorkFolder folder;
    const QString pdf = folder.file(QStringLiteral("conferencia.pdf"));
    {
        QPdfWriter writer(pdf);
        QVERIFY(!setUpPage(report.layout().documentTitle(), report.layout().page(), writer));
        printReport(doc, writer);
    }
    QStringList texts;
    for (const QJsonValue& v : pdfSpans(pdf))
        texts << v.toObject().value(QStringLiteral("text")).toString().trimmed();
    for (const char* t : {"64.500,00", "30.064.500,00", "Total de todos os jogos", "30.065.368,00",
                          "O saldo dos jogos concurso a concurso", "40.000.000,00", "48", "50"})
        QVERIFY2(texts.contains(QString::fromUtf8(t)), t);

    const QString png = folder.file(QStringLiteral("pagina.png"));
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import fitz, sys\n"
                             "doc = fitz.open(sys.argv[1])\n"
                             "doc[0].get_pixmap(dpi=100).save(sys.argv[2])\n"),
              pdf, png});
    QVERIFY2(py.waitForFinished(60000) && py.exitCode() == 0, py.readAllStandardError().constData());
    QImage page(png);
    QVERIFY(!page.isNull());
    const double dotsPerMm = page.width() / 210.0;
    const QRectF box(chart->origin + area.topLeft() - QPointF(1, 1), area.size() + QSizeF(2, 2));
    const QColor blue = CheckReport::balanceColor();
    int inside = 0, outside = 0, rising = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::abs(c.red() - blue.red()) > 40 || std::abs(c.green() - blue.green()) > 40 ||
                std::abs(c.blue() - blue.blue()) > 40)
                continue;
            const QPointF mm(x / dotsPerMm, y / dotsPerMm);
            if (box.contains(mm)) {
                ++inside;
                // The second half of the curve climbs to three quarters of the height.
                if (mm.x() > box.center().x() + 5 && mm.y() < box.top() + area.height() * 0.5)
                    ++rising;
            } else {
                ++outside;
            }
        }
    QVERIFY2(inside > 200, qPrintable(QString::number(inside)));
    QVERIFY(rising > 20);
    QCOMPARE(outside, 0);
}

void TestCheckReport::linesInPrizeOrder() {
    const Fixture f;
    CheckReport report;
    f.fill(report);
    QCOMPARE(report.layout().element(u"LabelConcurso").text,
             QStringLiteral("Concurso 50: 01 - 02 - 03 - 04 - 05 - 06"));
    QCOMPARE(report.layout().element(u"LabelTitulo").text, QStringLiteral("Relatório da conferência"));

    const std::vector<RowText> rows = rowsOf(report);
    std::vector<std::pair<Line, QString>> got;
    for (const RowText& r : rows)
        got.emplace_back(r.kind, r.kind == Line::Game || r.kind == Line::History ? r.jogo : r.text);
    const std::vector<std::pair<Line, QString>> want{
        {Line::Section, QStringLiteral("Prêmios dos jogos no concurso 50")},
        {Line::Captions, QString()},
        {Line::Game, QStringLiteral("1")},
        {Line::Game, QStringLiteral("2")},
        {Line::Game, QStringLiteral("5")},
        {Line::Game, QStringLiteral("3")},
        {Line::Total, QStringLiteral("Total dos prêmios")},
        {Line::Note, QStringLiteral("Os prêmios do concurso 50 não são conhecidos: importe um arquivo de "
                                    "resultados que traga os rateios.")},
        {Line::Note, QStringLiteral("Jogos sem prêmio: 2 de 6.")},
        {Line::Blank, QString()},
        {Line::Section, QStringLiteral("Os jogos em toda a história: 3 concursos")},
        {Line::Note,
         QStringLiteral("Em quantos concursos cada jogo teria ganho sena, quina e quadra; Último: o "
                        "concurso mais recente com quadra ou mais.")},
        {Line::Note,
         QStringLiteral("Nenhum concurso tem os prêmios conhecidos: importe um arquivo de "
                        "resultados que traga os rateios para ver quanto os jogos teriam ganho.")},
        {Line::Captions, QString()},
        {Line::History, QStringLiteral("1")},
        {Line::History, QStringLiteral("2")},
        {Line::History, QStringLiteral("5")},
        {Line::History, QStringLiteral("3")},
        {Line::History, QStringLiteral("4")},
        {Line::Note, QStringLiteral("Jogos que nunca teriam ganho nada: 1 de 6.")},
    };
    QCOMPARE(got, want);

    // Each line's columns: hits and tiers in the draw checked; draws won per tier and the last one.
    Table& t = report.rows();
    const auto columns = [&](int row) {
        t.moveTo(row);
        QStringList c;
        for (const char* name :
             {"Acertos", "Senas", "Quinas", "Quadras", "Ultimo", "Negrito", "Premio", "Ganho"})
            c << t.text(QString::fromLatin1(name));
        return c.join(QLatin1Char('|'));
    };
    // Without the draws' prizes no amount is shown, and the total says the prize is not known.
    QCOMPARE(columns(2), QStringLiteral("6|1|6|0||SSSSSSN||"));
    QCOMPARE(columns(3), QStringLiteral("5|0|5|50||SSSSSNNNNN||"));
    QCOMPARE(columns(4), QStringLiteral("5|0|1|0||NSSSSS||"));
    QCOMPARE(columns(5), QStringLiteral("4|0|0|1||SSSSNN||"));
    QCOMPARE(columns(6), QStringLiteral("|1|12|51|||não conhecido|"));
    QCOMPARE(columns(14), QStringLiteral("|1|1|0|50|||"));
    QCOMPARE(columns(15), QStringLiteral("|0|2|2|50|||"));
    QCOMPARE(columns(16), QStringLiteral("|0|1|0|50|||"));
    QCOMPARE(columns(17), QStringLiteral("|0|0|1|50|||"));
    QCOMPARE(columns(18), QStringLiteral("|0|0|1|48|||"));
    t.moveTo(4);
    QCOMPARE(t.text(u"D1"), QStringLiteral("30")); // the numbers as the game holds them
    QCOMPARE(t.text(u"D6"), QStringLiteral("01"));
    QVERIFY(t.isEmpty(u"D7"));
    t.moveTo(13);
    QCOMPARE(t.text(u"Ultimo"), QStringLiteral("Último"));
    QVERIFY(t.isEmpty(u"Ganho")); // no money captions without known prizes
    QCOMPARE(t.text(u"Senas"), QStringLiteral("Senas"));

    // Filling again replaces the lines.
    f.fill(report);
    QCOMPARE(static_cast<std::size_t>(report.rows().rowCount()), want.size());
}

void TestCheckReport::bandsMarkTheHitNumbers() {
    const Fixture f;
    CheckReport report;
    f.fill(report);
    const ReportDocument doc = layOutReport(report.layout(), report.rows(), report.rowPainter());
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(doc.page.paper, QSizeF(210, 297));
    const PlacedBand& title = doc.pages[0].bands[0];
    QCOMPARE(elementOf(title, QStringLiteral("LabelConcurso")).text,
             QStringLiteral("Concurso 50: 01 - 02 - 03 - 04 - 05 - 06"));

    const auto checked = linesOf(doc, false);
    const auto history = linesOf(doc, true);
    QCOMPARE(checked.size(), std::size_t{4});
    QCOMPARE(history.size(), std::size_t{5});
    const PlacedBand& g2 = *checked.at(QStringLiteral("2"));
    for (int p = 1; p <= 10; ++p)
        QCOMPARE(elementOf(g2, CheckReport::numberElement(p)).font.bold, p <= 5);
    QCOMPARE(elementOf(g2, CheckReport::numberElement(11)).text, QString());
    QVERIFY(!elementOf(g2, QStringLiteral("Quadras")).font.bold);
    QCOMPARE(elementOf(g2, QStringLiteral("Quadras")).text, QStringLiteral("50"));
    const PlacedBand& g5 = *checked.at(QStringLiteral("5"));
    QVERIFY(!elementOf(g5, QStringLiteral("D1")).font.bold); // 30 was not drawn
    QVERIFY(elementOf(g5, QStringLiteral("D2")).font.bold);
    for (const auto& [game, band] : history)
        for (int p = 1; p <= 15; ++p)
            QVERIFY2(!elementOf(*band, CheckReport::numberElement(p)).font.bold, qPrintable(game));

    // Captions are underlined, the totals ruled above and in bold; lines follow one another.
    int captions = 0;
    for (const PlacedBand& b : doc.pages[0].bands) {
        if (elementOf(b, QStringLiteral("Jogo")).text == QStringLiteral("Jogo")) {
            ++captions;
            QCOMPARE(b.band.frame, unsigned{FrameBottom});
            QVERIFY(elementOf(b, QStringLiteral("Senas")).font.bold);
        }
        if (elementOf(b, QStringLiteral("Texto")).text == QStringLiteral("Total dos prêmios")) {
            QCOMPARE(b.band.frame, unsigned{FrameTop});
            QVERIFY(elementOf(b, QStringLiteral("Quadras")).font.bold);
            QCOMPARE(elementOf(b, QStringLiteral("Quadras")).text, QStringLiteral("51"));
        }
    }
    QCOMPARE(captions, 2);
    for (std::size_t i = 1; i < doc.pages[0].bands.size(); ++i) {
        const PlacedBand& a = doc.pages[0].bands[i - 1];
        QCOMPARE(doc.pages[0].bands[i].origin.y(), a.origin.y() + a.band.height);
    }
}

void TestCheckReport::longListsStopAtTheLimit() {
    std::vector<GameNumbers> games;
    for (int g = 0; g < CheckReport::kListLimit + 25; ++g)
        games.push_back(gameOf(g + 1, {1, 2, 3, 4, 5, 6}));
    games.push_back(gameOf(0, {11, 12, 13, 14, 15, 16}));
    const std::vector<ResultDraw> draws{drawOf(1, {1, 2, 3, 4, 5, 6})};
    NoProgress none;
    CheckReport report;
    report.fill({draws[0], games, PrizesOfDraw(games, draws[0].mask), *PrizesInHistory(games, draws, none),
                 std::nullopt, 0});
    int gameLines = 0, historyLines = 0;
    QStringList notes;
    for (const RowText& r : rowsOf(report)) {
        gameLines += r.kind == Line::Game ? 1 : 0;
        historyLines += r.kind == Line::History ? 1 : 0;
        if (r.kind == Line::Note)
            notes << r.text;
    }
    QCOMPARE(gameLines, CheckReport::kListLimit);
    QCOMPARE(historyLines, CheckReport::kListLimit);
    QVERIFY(notes.contains(QStringLiteral("Outros 25 jogos premiados não estão listados.")));
    QVERIFY(notes.contains(QStringLiteral("Outros 25 jogos com prêmio na história não estão listados.")));
    QVERIFY(notes.contains(QStringLiteral("Jogos sem prêmio: 1 de 10.026.")));
}

void TestCheckReport::pdfShowsTheHitNumbersInBold() {
    const Fixture f;
    CheckReport report;
    f.fill(report);
    WorkFolder folder;
    const QString path = folder.file(QStringLiteral("conferencia.pdf"));
    {
        QPdfWriter pdf(path);
        QVERIFY(!setUpPage(report.layout().documentTitle(), report.layout().page(), pdf));
        printReport(layOutReport(report.layout(), report.rows(), report.rowPainter()), pdf);
    }
    const QJsonArray spans = pdfSpans(path);
    QVERIFY(!spans.isEmpty());

    const auto find = [&](const QString& text, int nth = 0) -> QJsonObject {
        for (const QJsonValue& v : spans)
            if (v.toObject().value(QStringLiteral("text")).toString().trimmed() == text && nth-- == 0)
                return v.toObject();
        return {};
    };
    const auto bold = [](const QJsonObject& s) {
        return s.value(QStringLiteral("font")).toString().contains(QStringLiteral("Bold"));
    };
    const QJsonObject heading = find(QStringLiteral("Relatório da conferência"));
    QVERIFY(!heading.isEmpty());
    QVERIFY(bold(heading));
    QVERIFY(!find(QStringLiteral("Concurso 50: 01 - 02 - 03 - 04 - 05 - 06")).isEmpty());

    // Game 1 (1 to 7) is the first line: 01 to 06 in bold, 07 not; the same game in the history
    // section shows every number in the regular face.
    const double firstNumberLeft = (10 + 17) * kPt;
    const QJsonObject one = find(QStringLiteral("01"));
    QVERIFY(!one.isEmpty());
    QVERIFY(bold(one));
    const double lineTop = one.value(QStringLiteral("y0")).toDouble();
    QVERIFY(one.value(QStringLiteral("x0")).toDouble() > firstNumberLeft);
    QVERIFY(one.value(QStringLiteral("x1")).toDouble() < firstNumberLeft + 5.2 * kPt);
    std::map<QString, bool> firstLine;
    for (const QJsonValue& v : spans) {
        const QJsonObject s = v.toObject();
        if (std::abs(s.value(QStringLiteral("y0")).toDouble() - lineTop) < 1.0)
            firstLine[s.value(QStringLiteral("text")).toString().trimmed()] = bold(s);
    }
    for (const char* n : {"01", "02", "03", "04", "05", "06"})
        QVERIFY2(firstLine[QLatin1String(n)], n);
    QVERIFY(firstLine.count(QStringLiteral("07")) == 1 && !firstLine[QStringLiteral("07")]);

    const QJsonObject laterOne = find(QStringLiteral("01"), 4); // games 1, 2, 5, 3, then history game 1
    QVERIFY(!laterOne.isEmpty());
    QVERIFY(laterOne.value(QStringLiteral("y0")).toDouble() > lineTop + 40);
    QVERIFY(!bold(laterOne));
    QCOMPARE(laterOne.value(QStringLiteral("x0")).toDouble(), one.value(QStringLiteral("x0")).toDouble());
}

QUINABEL_GUI_TEST_MAIN(TestCheckReport)
#include "tst_check_report.moc"
