#include "CapturePreview.h"
#include "ReportsFixture.h"
#include "SlipTestSheet.h"
#include "UnitEmi.h"
#include "UnitEmiA4.h"

#include <QObject>

namespace {

const ReportElement* elementOf(const ReportDocument& doc, QStringView name) {
    for (const ReportElement& e : doc.pages.at(0).bands.at(0).band.elements)
        if (e.name == name)
            return &e;
    return nullptr;
}

} // namespace

class TestTestSheet : public QObject {
    Q_OBJECT

private slots:
    void boxesStandWhereTheSlipsMarksPrint_data();
    void boxesStandWhereTheSlipsMarksPrint();
    void rulersCountMillimetresFromTheCorner();
    void sheetPrintsAsOnePageWithTheBoxesDrawn();
};

void TestTestSheet::boxesStandWhereTheSlipsMarksPrint_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QPointF>("slipCorner");
    QTest::addColumn<QString>("text");
    QTest::newRow("slip paper d11") << "paper"
                                    << "d11"
                                    << "d11" << QPointF(0, 0) << "01";
    QTest::newRow("slip paper d360") << "paper"
                                     << "d360"
                                     << "d360" << QPointF(0, 0) << "60";
    QTest::newRow("slip paper a15") << "paper"
                                    << "a15"
                                    << "a15" << QPointF(0, 0) << "15";
    QTest::newRow("slip paper t8") << "paper"
                                   << "t8"
                                   << "t8" << QPointF(0, 0) << "8";
    QTest::newRow("slip paper game 2") << "paper"
                                       << "RDBText3"
                                       << "RDBText3" << QPointF(0, 0) << "jogo 2";
    QTest::newRow("A4 slip 1 d235") << "A4"
                                    << "d235"
                                    << "d235" << QPointF(20, 0) << "35";
    QTest::newRow("A4 slip 2 t4") << "A4"
                                  << "t4_2"
                                  << "t4" << QPointF(20, 147.90) << "4";
    QTest::newRow("A4 slip 3 d11") << "A4"
                                   << "d11_3"
                                   << "d11" << QPointF(105, 0) << "01";
    QTest::newRow("A4 slip 4 a6") << "A4"
                                  << "a6_4"
                                  << "a6" << QPointF(105, 147.90) << "6";
}

// Every box of the sheet is the slip's mark of that place, as a thin frame with its number, on
// every slip place of a page, moved by the calibration offset.
void TestTestSheet::boxesStandWhereTheSlipsMarksPrint() {
    QFETCH(QString, layout);
    QFETCH(QString, box);
    QFETCH(QString, mark);
    QFETCH(QPointF, slipCorner);
    QFETCH(QString, text);
    std::unique_ptr<SlipLayout> slip;
    if (layout == QLatin1String("A4"))
        slip = std::make_unique<TFormEmiA4>();
    else
        slip = std::make_unique<TFormEmi>();
    const QPointF offset(-0.4, 0.9);
    const ReportLayout sheet = SlipTestSheet(*slip, offset, QStringLiteral("do volante"));
    const ReportDocument doc = layOutSheet(sheet);
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(doc.page.paper, slip->layout().page().paper);
    QCOMPARE(doc.title, QStringLiteral("Folha de teste do volante"));
    QCOMPARE(doc.pages[0].bands.size(), std::size_t{1});
    QCOMPARE(doc.pages[0].bands[0].origin, offset);
    const ReportElement* e = elementOf(doc, box);
    QVERIFY(e);
    QCOMPARE(e->rect, slip->layout().element(mark).rect.translated(slipCorner));
    QCOMPARE(e->text, text);
    QCOMPARE(e->frame, static_cast<unsigned>(FrameAll));
    QVERIFY(!e->background.isValid());
    const int places = layout == QLatin1String("A4") ? 4 : 1;
    int boxes = 0;
    for (const ReportElement& el : doc.pages[0].bands[0].band.elements)
        boxes += el.frame == FrameAll ? 1 : 0;
    QCOMPARE(boxes, places * (1 + 180 + 10 + 3 + 3)); // outline, numbers, sizes, teimosinha, game numbers
}

void TestTestSheet::rulersCountMillimetresFromTheCorner() {
    TFormEmi slip;
    const ReportLayout sheet = SlipTestSheet(slip, QPointF(), QStringLiteral("do volante"));
    QCOMPARE(sheet.element(u"ReguaH10").rect.center().x(), 10.0);
    QCOMPARE(sheet.element(u"ReguaHN10").text, QStringLiteral("10"));
    QCOMPARE(sheet.element(u"ReguaHN10").rect.center().x(), 10.0);
    QCOMPARE(sheet.element(u"ReguaV130").rect.center().y(), 130.0);
    QCOMPARE(sheet.element(u"ReguaVN130").text, QStringLiteral("130"));
    QCOMPARE(sheet.element(u"ReguaH10").rect.height(), 3.0); // every tenth millimetre longer
    QCOMPARE(sheet.element(u"ReguaH15").rect.height(), 2.0);
    QCOMPARE(sheet.element(u"ReguaH11").rect.height(), 1.2);
    QVERIFY(!sheet.find(u"ReguaH82"));
    const ReportLayout moved = SlipTestSheet(slip, QPointF(1.5, -0.5), QStringLiteral("do volante"));
    QCOMPARE(moved.element(u"Legenda").text,
             QStringLiteral("Folha de teste do volante · horizontal +1,5 mm, vertical −0,5 mm"));
}

// Drawn: the frame of a box is inked on its edge, its number in its middle, and the paper between
// the two stays white; the rulers' ticks are inked.
void TestTestSheet::sheetPrintsAsOnePageWithTheBoxesDrawn() {
    TFormEmi slip;
    const QPointF offset(1.0, 1.0);
    const ReportLayout sheet = SlipTestSheet(slip, offset, QStringLiteral("do volante"));
    CapturePreview preview(1);
    preview.previewSheet(sheet);
    QCOMPARE(preview.last().shown.pageCount(), 1);
    QCOMPARE(preview.last().printed.at(0).pageCount(), 1);
    const QImage page = renderReportPage(preview.last().shown, 0, 600);
    const QRectF d11 = slip.layout().element(u"d11").rect.translated(offset);
    QVERIFY(hasInk(page, QRectF(d11.left(), d11.center().y() - 0.2, 0.12, 0.4)));
    QVERIFY(hasInk(page, QRectF(d11.center().x() - 0.8, d11.center().y() - 0.5, 1.6, 1.0)));
    QVERIFY(!hasInk(page, QRectF(d11.left() + 0.3, d11.top() + 0.3, 0.4, 0.4)));
    QVERIFY(!hasInk(page, QRectF(d11.left() - 0.6, d11.top(), 0.4, d11.height())));
    QVERIFY(hasInk(page, QRectF(10 + offset.x() - 0.1, 12 + offset.y(), 0.2, 1.5)));
}

QUINABEL_GUI_TEST_MAIN(TestTestSheet)
#include "tst_test_sheet.moc"
