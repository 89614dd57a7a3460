#include "CapturePreview.h"
#include "ReportsFixture.h"
#include "UnitEmi.h"
#include "UnitEmiA4.h"
#include "UnitRel.h"
#include "UnitRelRes.h"

#include <QObject>

namespace {

constexpr double kDpi = 300;

std::unique_ptr<SlipLayout> makeLayout(const QString& which) {
    if (which == QLatin1String("A4"))
        return std::make_unique<TFormEmiA4>();
    return std::make_unique<TFormEmi>();
}

// Where the first slip's corner stands on its page.
QPointF firstSlipOrigin(const QString& which) {
    return which == QLatin1String("A4") ? QPointF(20, 0) : QPointF(0, 0);
}

QRectF onPage(const SlipLayout& l, QStringView name, QPointF origin) {
    return l.layout().element(name).rect.translated(origin);
}

// Each slip k shows number k of block 1 marked, so a slip's band tells which row it was laid out for.
SlipMarks marksOfSlip(int k) {
    SlipMarks m;
    m.numbers[0][static_cast<std::size_t>((k - 1) % 60)] = true;
    return m;
}

} // namespace

class TestSlipLayouts : public QObject {
    Q_OBJECT

private slots:
    void markStandsAtItsPlace_data();
    void markStandsAtItsPlace();
    void everyMarkShowsItsState_data();
    void everyMarkShowsItsState();
    void a4SlipsFillColumnsThenSheets_data();
    void a4SlipsFillColumnsThenSheets();
    void slipPaperTakesOnePagePerSlip();
    void noSlipsGiveOneBlankPage_data() { everyMarkShowsItsState_data(); }
    void noSlipsGiveOneBlankPage();
    void gameNumbersPrintAndEmptyOnesDoNot();
    void a4FixedItemsPrint();
    void hookRunsOncePerRowPerPassAndPrintMatchesPreview();
    void longGameNumbersStayInTheirBox_data();
    void longGameNumbersStayInTheirBox();
    void calibrationMovesEverySlip_data() { everyMarkShowsItsState_data(); }
    void calibrationMovesEverySlip();
    void documentsAreNamedForThePlayer();
};

void TestSlipLayouts::markStandsAtItsPlace_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QRectF>("box");
    QTest::newRow("paper d11") << "paper"
                               << "d11" << QRectF(11.91, 22.49, 3.70, 2.38);
    QTest::newRow("paper d360") << "paper"
                                << "d360" << QRectF(69.59, 86.52, 3.70, 2.38);
    QTest::newRow("paper d26") << "paper"
                               << "d26" << QRectF(43.92, 46.57, 3.70, 2.38);
    QTest::newRow("A4 d235") << "A4"
                             << "d235" << QRectF(38.36, 56.36, 3.70, 2.38);
    QTest::newRow("A4 d110") << "A4"
                             << "d110" << QRectF(70.64, 22.49, 3.70, 2.38);
    QTest::newRow("paper a15") << "paper"
                               << "a15" << QRectF(69.59, 96.57, 3.70, 2.38);
    QTest::newRow("A4 a15") << "A4"
                            << "a15" << QRectF(70.64, 96.57, 3.70, 2.38);
    QTest::newRow("paper a6") << "paper"
                              << "a6" << QRectF(11.91, 96.57, 3.70, 2.38);
    QTest::newRow("paper t2") << "paper"
                              << "t2" << QRectF(11.64, 113.24, 3.70, 2.65);
    QTest::newRow("A4 t4") << "A4"
                           << "t4" << QRectF(25.66, 113.24, 3.70, 2.65);
    QTest::newRow("A4 t8") << "A4"
                           << "t8" << QRectF(38.36, 113.24, 3.70, 2.65);
}

// Only the one mark is set: it prints black over its whole box and the paper beside it stays white.
void TestSlipLayouts::markStandsAtItsPlace() {
    QFETCH(QString, layout);
    QFETCH(QString, mark);
    QFETCH(QRectF, box);
    WorkFolder folder;
    auto slips = makeSlips(folder, 1);
    auto l = makeLayout(layout);
    QCOMPARE(l->layout().element(mark).rect, box);

    l->applySlipMarks(SlipMarks{});
    l->layout().setFill(mark, SlipLayout::markedColor());
    const QImage page = renderReportPage(layOutReport(l->layout(), *slips), 0, kDpi);
    const QRectF at = box.translated(firstSlipOrigin(layout));
    QCOMPARE(centreOf(page, at), QColor(Qt::black));
    QCOMPARE(pixelAt(page, at.left() + 0.2, at.top() + 0.2), QColor(Qt::black));
    QCOMPARE(pixelAt(page, at.right() - 0.2, at.bottom() - 0.2), QColor(Qt::black));
    QCOMPARE(pixelAt(page, at.left() - 0.3, at.center().y()), QColor(Qt::white));
    QCOMPARE(pixelAt(page, at.center().x(), at.top() - 0.3), QColor(Qt::white));
    QCOMPARE(pixelAt(page, at.right() + 0.3, at.center().y()), QColor(Qt::white));
    QCOMPARE(pixelAt(page, at.center().x(), at.bottom() + 0.3), QColor(Qt::white));
}

void TestSlipLayouts::everyMarkShowsItsState_data() {
    QTest::addColumn<QString>("layout");
    QTest::newRow("slip paper") << "paper";
    QTest::newRow("A4") << "A4";
}

void TestSlipLayouts::everyMarkShowsItsState() {
    QFETCH(QString, layout);
    SlipMarks marks;
    for (int n : {1, 10, 11, 60})
        marks.numbers[1][static_cast<std::size_t>(n - 1)] = true;
    for (int n : {5, 23, 34, 45, 51, 59})
        marks.numbers[0][static_cast<std::size_t>(n - 1)] = true;
    marks.sizes[9] = true;
    marks.t4 = true;

    WorkFolder folder;
    auto slips = makeSlips(folder, 1);
    auto l = makeLayout(layout);
    l->applySlipMarks(marks);
    const QImage page = renderReportPage(layOutReport(l->layout(), *slips), 0, kDpi);
    const QPointF origin = firstSlipOrigin(layout);

    const auto expect = [&](const QString& name, bool marked) {
        const QColor want = marked ? QColor(Qt::black) : QColor(Qt::white);
        if (l->layout().fill(name) != want || centreOf(page, onPage(*l, name, origin)) != want)
            QFAIL(qPrintable(QStringLiteral("%1 should be %2").arg(name, marked ? u"marked" : u"unmarked")));
    };
    for (int b = 1; b <= 3; ++b)
        for (int n = 1; n <= 60; ++n)
            expect(QStringLiteral("d%1%2").arg(b).arg(n), marks.number(b, n));
    for (int s = 6; s <= 15; ++s)
        expect(QStringLiteral("a%1").arg(s), s == 15);
    expect(QStringLiteral("t2"), false);
    expect(QStringLiteral("t4"), true);
    expect(QStringLiteral("t8"), false);
}

void TestSlipLayouts::a4SlipsFillColumnsThenSheets_data() {
    QTest::addColumn<int>("slip");
    QTest::addColumn<int>("sheet");
    QTest::addColumn<QPointF>("corner");
    QTest::newRow("slip 1: left column, top") << 1 << 0 << QPointF(20, 0);
    QTest::newRow("slip 2: left column, bottom") << 2 << 0 << QPointF(20, 147.90);
    QTest::newRow("slip 3: right column, top") << 3 << 0 << QPointF(105, 0);
    QTest::newRow("slip 4: right column, bottom") << 4 << 0 << QPointF(105, 147.90);
    QTest::newRow("slip 5: sheet 2, left column, top") << 5 << 1 << QPointF(20, 0);
    QTest::newRow("slip 6: sheet 2, left column, bottom") << 6 << 1 << QPointF(20, 147.90);
}

void TestSlipLayouts::a4SlipsFillColumnsThenSheets() {
    QFETCH(int, slip);
    QFETCH(int, sheet);
    QFETCH(QPointF, corner);
    WorkFolder folder;
    auto slips = makeSlips(folder, 6);
    TFormEmiA4 l;
    const RowPainter eachSlip = [&](ReportBand& band, const Table& row) {
        l.applySlipMarks(band, marksOfSlip(row.integer(u"Cartela")));
    };
    const ReportDocument doc = layOutReport(l.layout(), *slips, eachSlip);
    QCOMPARE(doc.pageCount(), 2);
    QCOMPARE(doc.pages[0].bands.size(), std::size_t{4});
    QCOMPARE(doc.pages[1].bands.size(), std::size_t{2});

    const PlacedBand& band =
        doc.pages[static_cast<std::size_t>(sheet)].bands[static_cast<std::size_t>((slip - 1) % 4)];
    QCOMPARE(band.origin, corner);
    const QImage page = renderReportPage(doc, sheet, 200);
    QCOMPARE(centreOf(page, onPage(l, QStringLiteral("d1%1").arg(slip), corner)), QColor(Qt::black));
    const int other = slip % 6 + 1; // marked on another slip only
    QCOMPARE(centreOf(page, onPage(l, QStringLiteral("d1%1").arg(other), corner)), QColor(Qt::white));
}

void TestSlipLayouts::slipPaperTakesOnePagePerSlip() {
    WorkFolder folder;
    auto slips = makeSlips(folder, 5);
    TFormEmi l;
    const RowPainter eachSlip = [&](ReportBand& band, const Table& row) {
        l.applySlipMarks(band, marksOfSlip(row.integer(u"Cartela")));
    };
    const ReportDocument doc = layOutReport(l.layout(), *slips, eachSlip);
    QCOMPARE(doc.pageCount(), 5);
    QCOMPARE(doc.page.paper, QSizeF(82.0, 140.0));
    for (int k = 1; k <= 5; ++k) {
        const ReportPage& page = doc.pages[static_cast<std::size_t>(k - 1)];
        QCOMPARE(page.bands.size(), std::size_t{1});
        QCOMPARE(page.bands[0].origin, QPointF(0, 0));
        const QImage image = renderReportPage(doc, k - 1, kDpi);
        QCOMPARE(image.size(), QSize(969, 1654));
        QCOMPARE(centreOf(image, onPage(l, QStringLiteral("d1%1").arg(k), {})), QColor(Qt::black));
        QCOMPARE(centreOf(image, onPage(l, QStringLiteral("d1%1").arg(k % 5 + 1), {})), QColor(Qt::white));
    }
}

void TestSlipLayouts::noSlipsGiveOneBlankPage() {
    QFETCH(QString, layout);
    WorkFolder folder;
    auto slips = makeSlips(folder, 0);
    auto l = makeLayout(layout);
    const ReportDocument doc = layOutReport(l->layout(), *slips);
    QCOMPARE(doc.pageCount(), 1);
    QVERIFY(doc.pages[0].bands.empty());
    const QImage page = renderReportPage(doc, 0, 50);
    QVERIFY(!hasInk(page, QRectF(QPointF(0, 0), doc.page.paper)));
}

// A slip with one game: J1 prints right-aligned in its box, the empty J2 and J3 print nothing.
void TestSlipLayouts::gameNumbersPrintAndEmptyOnesDoNot() {
    WorkFolder folder;
    auto slips = makeSlips(folder, 1, 1);
    TFormEmi l;
    const ReportDocument doc = layOutReport(l.layout(), *slips);
    const ReportBand& band = doc.pages[0].bands[0].band;
    const auto textOf = [&](const QString& name) {
        for (const ReportElement& e : band.elements)
            if (e.name == name)
                return e.text;
        return QStringLiteral("?");
    };
    QCOMPARE(textOf(QStringLiteral("RDBText2")), QStringLiteral("1"));
    QCOMPARE(textOf(QStringLiteral("RDBText3")), QString());
    QCOMPARE(textOf(QStringLiteral("RDBText4")), QString());
    const ReportElement& j1 = l.layout().element(u"RDBText2");
    QCOMPARE(j1.rect, QRectF(74.08, 28.31, 7.14, 3.97));
    QCOMPARE(j1.font.family, QStringLiteral("Arial"));
    QCOMPARE(j1.font.pointSize, 8.0);
    QVERIFY(j1.alignment & Qt::AlignRight);

    const QImage page = renderReportPage(doc, 0, kDpi);
    const QRectF box = j1.rect;
    QVERIFY(hasInk(page, QRectF(box.left() + box.width() / 2, box.top(), box.width() / 2, box.height())));
    QVERIFY(!hasInk(page, QRectF(box.left(), box.top(), box.width() / 2, box.height())));
    QVERIFY(!hasInk(page, l.layout().element(u"RDBText3").rect));
    QVERIFY(!hasInk(page, l.layout().element(u"RDBText4").rect));
}

void TestSlipLayouts::a4FixedItemsPrint() {
    WorkFolder folder;
    auto slips = makeSlips(folder, 1);
    TFormEmiA4 l;
    l.applySlipMarks(SlipMarks{});
    const QImage page = renderReportPage(layOutReport(l.layout(), *slips), 0, kDpi);
    const QPointF origin(20, 0);

    const ReportElement& title = l.layout().element(u"RLabel30");
    QCOMPARE(title.text, QStringLiteral("MEGA-SENA"));
    QCOMPARE(title.font.pointSize, 14.0);
    QCOMPARE(title.rect, QRectF(9.53, 8.47, 30.43, 6.09));
    QVERIFY(hasInk(page, title.rect.translated(origin)));

    const QList<std::pair<QString, QRectF>> timing{
        {QStringLiteral("RLabel5"), QRectF(2.12, 19.31, 2.91, 1.59)},
        {QStringLiteral("RLabel3"), QRectF(25.14, 19.31, 4.23, 1.59)},
        {QStringLiteral("RLabel12"), QRectF(2.12, 35.72, 2.91, 1.85)},
        {QStringLiteral("RLabel29"), QRectF(2.12, 113.77, 2.91, 1.85)}};
    for (const auto& [name, box] : timing) {
        QCOMPARE(l.layout().element(name).rect, box);
        QCOMPARE(centreOf(page, box.translated(origin)), QColor(Qt::black));
    }
    for (int k = 1; k <= 29; ++k)
        QCOMPARE(centreOf(page, onPage(l, QStringLiteral("RLabel%1").arg(k), origin)), QColor(Qt::black));

    const QColor orange(255, 128, 0);
    for (int k = 1; k <= 8; ++k) {
        const QRectF box = onPage(l, QStringLiteral("RShape%1").arg(k), origin);
        QCOMPARE(std::max(box.width(), box.height()), k <= 4 ? 8.20 : 8.73); // 1 to 4 across, 5 to 8 down
        QCOMPARE(centreOf(page, box), orange);
    }
    QCOMPARE(onPage(l, u"RShape6", origin), QRectF(104.67, 2.12, 0.26, 8.73));
}

void TestSlipLayouts::hookRunsOncePerRowPerPassAndPrintMatchesPreview() {
    WorkFolder folder;
    auto slips = makeSlips(folder, 7);
    TFormEmiA4 l;
    QList<int> visited;
    const RowPainter eachSlip = [&](ReportBand& band, const Table& row) {
        const int k = row.integer(u"Cartela");
        visited << k;
        l.applySlipMarks(band, marksOfSlip(k));
    };
    CapturePreview preview(1);
    preview.preview(l.layout(), *slips, eachSlip);

    QCOMPARE(visited, (QList<int>{1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5, 6, 7}));
    const CapturePreview::Capture& c = preview.last();
    QCOMPARE(c.printed.size(), std::size_t{1});
    QCOMPARE(c.shown.pageCount(), 2);
    QCOMPARE(c.printed[0].pageCount(), c.shown.pageCount());
    for (int p = 0; p < c.shown.pageCount(); ++p)
        QCOMPARE(renderReportPage(c.printed[0], p, 100), renderReportPage(c.shown, p, 100));
}

void TestSlipLayouts::longGameNumbersStayInTheirBox_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("game");
    QTest::newRow("slip paper, six digits") << "paper" << 100000;
    QTest::newRow("slip paper, seven digits") << "paper" << 9999999;
    QTest::newRow("A4, seven digits") << "A4" << 1234567;
}

// A game number too wide for its box is drawn smaller: every digit prints inside the box, from
// near its left edge, and the paper around the box (where number 30's box stands) stays white.
void TestSlipLayouts::longGameNumbersStayInTheirBox() {
    QFETCH(QString, layout);
    QFETCH(int, game);
    WorkFolder folder;
    auto slips = makeSlips(folder, 1);
    slips->first();
    slips->edit();
    slips->setInteger(slips->fieldIndex(u"J1"), game);
    slips->post();
    auto l = makeLayout(layout);
    l->applySlipMarks(SlipMarks{});
    const QImage page = renderReportPage(layOutReport(l->layout(), *slips), 0, 600);
    const QRectF box = onPage(*l, u"RDBText2", firstSlipOrigin(layout));
    QVERIFY(hasInk(page, box));
    QVERIFY(hasInk(page, QRectF(box.left(), box.top(), box.width() * 0.2, box.height()))); // the first digit
    QVERIFY(!hasInk(page, QRectF(box.left() - 0.75, box.top() - 0.75, 0.7, box.height() + 1.5)));
    QVERIFY(!hasInk(page, QRectF(box.right() + 0.05, box.top() - 0.75, 0.7, box.height() + 1.5)));
    QVERIFY(!hasInk(page, QRectF(box.left(), box.top() - 0.75, box.width(), 0.7)));
    QVERIFY(!hasInk(page, QRectF(box.left(), box.bottom() + 0.05, box.width(), 0.7)));
    QVERIFY(!hasInk(page, onPage(*l, u"d130", firstSlipOrigin(layout))));
}

// The calibration offset moves every slip of every page, and so every element, by itself.
void TestSlipLayouts::calibrationMovesEverySlip() {
    QFETCH(QString, layout);
    WorkFolder folder;
    auto slips = makeSlips(folder, 6);
    auto l = makeLayout(layout);
    const ReportDocument plain = layOutReport(l->layout(), *slips);
    const QPointF offset(1.3, -0.7);
    l->layout().page().offset = offset;
    const ReportDocument moved = layOutReport(l->layout(), *slips);
    QCOMPARE(moved.pageCount(), plain.pageCount());
    for (std::size_t p = 0; p < plain.pages.size(); ++p) {
        QCOMPARE(moved.pages[p].bands.size(), plain.pages[p].bands.size());
        for (std::size_t b = 0; b < plain.pages[p].bands.size(); ++b)
            QCOMPARE(moved.pages[p].bands[b].origin, plain.pages[p].bands[b].origin + offset);
    }
    l->applySlipMarks(marksOfSlip(1));
    const QImage page = renderReportPage(layOutReport(l->layout(), *slips), 0, kDpi);
    const QRectF d11 = onPage(*l, u"d11", firstSlipOrigin(layout) + offset);
    QCOMPARE(centreOf(page, d11), QColor(Qt::black));
    QCOMPARE(pixelAt(page, d11.left() + 0.1, d11.top() + 0.1), QColor(Qt::black));
    QCOMPARE(pixelAt(page, d11.left() - 0.2, d11.center().y()), QColor(Qt::white));
    QCOMPARE(pixelAt(page, d11.center().x(), d11.bottom() + 0.2), QColor(Qt::white));
}

// What the print job, the PDF and the proposed file name call each document.
void TestSlipLayouts::documentsAreNamedForThePlayer() {
    QCOMPARE(TFormEmi().layout().documentTitle(), QStringLiteral("Volantes"));
    QCOMPARE(TFormEmiA4().layout().documentTitle(), QStringLiteral("Volantes em A4"));
    QCOMPARE(TFormRel().layout().documentTitle(), QStringLiteral("Relação dos jogos"));
    QCOMPARE(TFormRelSai().layout().documentTitle(), QStringLiteral("Estatísticas das dezenas"));
    WorkFolder folder;
    auto slips = makeSlips(folder, 1);
    QCOMPARE(layOutReport(TFormEmi().layout(), *slips).title, QStringLiteral("Volantes"));
}

QUINABEL_GUI_TEST_MAIN(TestSlipLayouts)
#include "tst_slip_layouts.moc"
