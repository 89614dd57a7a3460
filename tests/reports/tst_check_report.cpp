#include "CheckReport.h"
#include "ReportsFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPdfWriter>
#include <QProcess>

// The check report over a small fixture: six games, a history of three draws, the last one checked.
namespace {

GameNumbers gameOf(qint64 number, const std::vector<int>& numbers) {
    GameNumbers g;
    g.game = number;
    g.size = static_cast<quint8>(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        g.numbers[i] = static_cast<quint8>(numbers[i]);
    g.mask = MaskOf(numbers);
    return g;
}

ResultDraw drawOf(qint32 concurso, const std::array<int, 6>& numbers) {
    return {concurso, numbers, MaskOf(numbers)};
}

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
                     *PrizesInHistory(games, draws, none)});
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

// Every span of text of a PDF with its font and box, read by PyMuPDF.
QJsonArray pdfSpans(const QString& path) {
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import fitz, json, sys\n"
                             "out = []\n"
                             "for n, page in enumerate(fitz.open(sys.argv[1])):\n"
                             "    for b in page.get_text('dict')['blocks']:\n"
                             "        for l in b.get('lines', []):\n"
                             "            for s in l['spans']:\n"
                             "                out.append({'page': n, 'text': s['text'].replace('\\t', ' '), "
                             "'font': s['font'],\n"
                             "                            'x0': s['bbox'][0], 'y0': s['bbox'][1],\n"
                             "                            'x1': s['bbox'][2], 'y1': s['bbox'][3]})\n"
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
};

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
        {Line::Note, QStringLiteral("Jogos sem prêmio: 2 de 6.")},
        {Line::Blank, QString()},
        {Line::Section, QStringLiteral("Os jogos em toda a história: 3 concursos")},
        {Line::Note,
         QStringLiteral("Em quantos concursos cada jogo teria ganho sena, quina e quadra; Último: o "
                        "concurso mais recente com quadra ou mais.")},
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
        for (const char* name : {"Acertos", "Senas", "Quinas", "Quadras", "Ultimo", "Negrito"})
            c << t.text(QString::fromLatin1(name));
        return c.join(QLatin1Char('|'));
    };
    QCOMPARE(columns(2), QStringLiteral("6|1|6|0||SSSSSSN"));
    QCOMPARE(columns(3), QStringLiteral("5|0|5|50||SSSSSNNNNN"));
    QCOMPARE(columns(4), QStringLiteral("5|0|1|0||NSSSSS"));
    QCOMPARE(columns(5), QStringLiteral("4|0|0|1||SSSSNN"));
    QCOMPARE(columns(6), QStringLiteral("|1|12|51||"));
    QCOMPARE(columns(12), QStringLiteral("|1|1|0|50|"));
    QCOMPARE(columns(13), QStringLiteral("|0|2|2|50|"));
    QCOMPARE(columns(14), QStringLiteral("|0|1|0|50|"));
    QCOMPARE(columns(15), QStringLiteral("|0|0|1|50|"));
    QCOMPARE(columns(16), QStringLiteral("|0|0|1|48|"));
    t.moveTo(4);
    QCOMPARE(t.text(u"D1"), QStringLiteral("30")); // the numbers as the game holds them
    QCOMPARE(t.text(u"D6"), QStringLiteral("01"));
    QVERIFY(t.isEmpty(u"D7"));
    t.moveTo(11);
    QCOMPARE(t.text(u"Ultimo"), QStringLiteral("Último"));
    QCOMPARE(t.text(u"Senas"), QStringLiteral("Senas"));

    // Filling again replaces the lines.
    f.fill(report);
    QCOMPARE(static_cast<std::size_t>(report.rows().rowCount()), want.size());
}

void TestCheckReport::bandsMarkTheHitNumbers() {
    const Fixture f;
    CheckReport report;
    f.fill(report);
    const ReportDocument doc = layOutReport(report.layout(), report.rows());
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
    report.fill({draws[0], games, PrizesOfDraw(games, draws[0].mask), *PrizesInHistory(games, draws, none)});
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
        printReport(layOutReport(report.layout(), report.rows()), pdf);
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
    QVERIFY(one.value(QStringLiteral("x1")).toDouble() < firstNumberLeft + 6.3 * kPt);
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
