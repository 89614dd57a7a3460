#include "ReportsFixture.h"
#include "UnitRel.h"
#include "UnitRelRes.h"

namespace {

constexpr double kDpi = 300;
const QColor kSilver(192, 192, 192);

// Dark pixels in a run down from `yMm` at `xMm`: the thickness of a horizontal line in pixels.
int darkRun(const QImage& page, double xMm, double yMm) {
    const double k = page.dotsPerMeterX() / 1000.0;
    const int x = static_cast<int>(xMm * k);
    int y = static_cast<int>(yMm * k);
    while (y > 0 && isDark(page.pixelColor(x, y - 1)))
        --y;
    int run = 0;
    while (y + run < page.height() && isDark(page.pixelColor(x, y + run)))
        ++run;
    return run;
}

} // namespace

class TestListingReports : public QObject {
    Q_OBJECT

private slots:
    void listingHasItsBandsAndTexts();
    void listingRendersTitleFrameTextAndLines();
    void listingContinuesOnLaterPagesWithoutTitle_data();
    void listingContinuesOnLaterPagesWithoutTitle();
    void statisticsFitOnePage_data();
    void statisticsFitOnePage();
    void statisticsGroupsMarkTheirSortingColumn_data();
    void statisticsGroupsMarkTheirSortingColumn();
    void statisticsRenderTitleAndRows();
};

void TestListingReports::listingHasItsBandsAndTexts() {
    const TFormRel rel;
    const ReportLayout& l = rel.layout();
    QCOMPARE(l.page().paper, QSizeF(210, 297));
    QCOMPARE(l.page().margins, QMarginsF(10, 10, 10, 10));
    QCOMPARE(l.titleBand().width, 189.97);
    QCOMPARE(l.titleBand().height, 17.46);
    QCOMPARE(l.titleBand().frame, unsigned{FrameAll});
    QCOMPARE(l.element(u"RLabel1").text, QStringLiteral("Quinabel"));
    QCOMPARE(
        l.element(u"RLabel2").text,
        QStringLiteral("Relação das cartelas para impressão (disponível no arquivo cartelas.csv para uso no "
                       "excell ou como texto)"));
    QCOMPARE(l.element(u"RLabel2").rect.topLeft(), QPointF(2.12, 8.47));
    QCOMPARE(l.element(u"RLabel1").font.family, QStringLiteral("Arial"));
    QCOMPARE(l.detailBand().height, 5.82);
    const ReportElement& detail = l.element(u"RDBText1");
    QCOMPARE(detail.rect, QRectF(0.53, 0.79, 188.65, 4.50));
    QCOMPARE(detail.field, QStringLiteral("Detalhe"));
    QCOMPARE(detail.font.family, QStringLiteral("Courier New"));
    QCOMPARE(detail.font.pointSize, 10.0);
    QCOMPARE(detail.frame, unsigned{FrameBottom});
    QCOMPARE(l.titleBand().frameWidth, 2 * detail.lineWidth);
}

void TestListingReports::listingRendersTitleFrameTextAndLines() {
    WorkFolder folder;
    auto table = makeListing(folder, 3);
    const TFormRel rel;
    const QImage page = renderReportPage(layOutReport(rel.layout(), *table), 0, kDpi);

    // The title frame on all four sides, twice as thick as a line's underline.
    const double top = 10, bottom = 10 + 17.46, left = 10, right = 10 + 189.97;
    QVERIFY(isDark(pixelAt(page, left + 0.15, top + 15)));
    QVERIFY(isDark(pixelAt(page, right - 0.15, top + 15)));
    QVERIFY(isDark(pixelAt(page, 150, top + 0.15)));
    QVERIFY(isDark(pixelAt(page, 150, bottom - 0.15)));
    QVERIFY(!isDark(pixelAt(page, 150, top + 16.6)));
    QVERIFY(hasInk(page, QRectF(left + 2.12, top + 2.12, 15, 4.5)));  // Quinabel
    QVERIFY(hasInk(page, QRectF(left + 2.12, top + 8.47, 100, 4.5))); // the long caption
    QVERIFY(!hasInk(page, QRectF(left + 30, top + 2.12, 100, 4.5)));  // nothing after Quinabel

    for (int row = 0; row < 3; ++row) {
        const double bandTop = bottom + row * 5.82;
        QVERIFY(hasInk(page, QRectF(left + 0.53, bandTop + 0.79, 40, 3.9))); // the Detalhe text
        QVERIFY(isDark(pixelAt(page, 150, bandTop + 0.79 + 4.50 - 0.13)));   // its underline
        QVERIFY(!isDark(pixelAt(page, 150, bandTop + 2.5)));
        const int line = darkRun(page, 150, bandTop + 0.79 + 4.50 - 0.13);
        const int frame = darkRun(page, 150, top + 0.15);
        const double px = kDpi / 25.4; // 0.26 mm and 0.52 mm, within a pixel of rounding
        QVERIFY2(std::abs(line - 0.26 * px) <= 1 && std::abs(frame - 0.52 * px) <= 1,
                 qPrintable(QStringLiteral("frame %1 px, line %2 px").arg(frame).arg(line)));
    }
    QVERIFY(!hasInk(page, QRectF(left, bottom + 3 * 5.82 + 0.5, 190, 20))); // nothing below the last line
}

void TestListingReports::listingContinuesOnLaterPagesWithoutTitle_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<std::vector<int>>("perPage");
    QTest::newRow("empty table: the title band alone") << 0 << std::vector<int>{1};
    QTest::newRow("44 lines fit under the title") << 44 << std::vector<int>{45};
    QTest::newRow("100 lines") << 100 << std::vector<int>{45, 47, 9};
}

void TestListingReports::listingContinuesOnLaterPagesWithoutTitle() {
    QFETCH(int, rows);
    QFETCH(std::vector<int>, perPage);
    WorkFolder folder;
    auto table = makeListing(folder, rows);
    const TFormRel rel;
    const ReportDocument doc = layOutReport(rel.layout(), *table);
    std::vector<int> counts;
    for (const ReportPage& p : doc.pages)
        counts.push_back(static_cast<int>(p.bands.size()));
    QCOMPARE(counts, perPage);
    QCOMPARE(doc.pages[0].bands[0].band.height, 17.46);
    if (doc.pageCount() > 1) {
        QCOMPARE(doc.pages[1].bands[0].origin, QPointF(10, 10));
        QCOMPARE(doc.pages[1].bands[0].band.height, 5.82);
        QCOMPARE(doc.pages[1].bands[0].band.elements[0].text.left(7), QStringLiteral("0000045"));
    }
}

void TestListingReports::statisticsFitOnePage_data() {
    QTest::addColumn<int>("rows");
    QTest::newRow("60 numbers") << 60;
    QTest::newRow("empty table") << 0;
}

void TestListingReports::statisticsFitOnePage() {
    QFETCH(int, rows);
    WorkFolder folder;
    auto table = makeStatsReport(folder, rows);
    TFormRelSai rel;
    const ReportDocument doc = layOutReport(rel.layout(), *table);
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(static_cast<int>(doc.pages[0].bands.size()), rows + 1);
    QCOMPARE(doc.pages[0].bands[0].band.height, 13.2);
    if (rows > 0) {
        const PlacedBand& lastRow = doc.pages[0].bands.back();
        QCOMPARE(lastRow.origin, QPointF(10, 10 + 13.2 + 59 * 4.2));
        QCOMPARE(lastRow.band.elements[4].text, QStringLiteral("60"));
    }
}

void TestListingReports::statisticsGroupsMarkTheirSortingColumn_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<double>("left");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("sorted");
    QTest::newRow("by number") << 1 << 0.5 << QStringLiteral("Dezenas") << QString() << 0;
    QTest::newRow("by absence") << 2 << 46.6 << QStringLiteral("Não Sai há...") << QStringLiteral("N") << 1;
    QTest::newRow("by last absence") << 3 << 92.4 << QStringLiteral("Últ. demora") << QStringLiteral("D")
                                     << 2;
    QTest::newRow("by longest absence")
        << 4 << 139.3 << QStringLiteral("Maior demora") << QStringLiteral("M") << 3;
}

void TestListingReports::statisticsGroupsMarkTheirSortingColumn() {
    QFETCH(int, group);
    QFETCH(double, left);
    QFETCH(QString, heading);
    QFETCH(QString, suffix);
    QFETCH(int, sorted);
    WorkFolder folder;
    auto table = makeStatsReport(folder, 60);
    TFormRelSai rel;
    const ReportLayout& l = rel.layout();
    QCOMPARE(l.element(QStringLiteral("ShapeGrupo%1").arg(group)).rect, QRectF(left, 5.0, 28.6, 7.9));
    QCOMPARE(l.element(QStringLiteral("LabelGrupo%1").arg(group)).text, heading);
    QCOMPARE(l.element(QStringLiteral("LabelGrupo%1").arg(group)).rect.top(), 5.3);
    const QImage page = renderReportPage(layOutReport(l, *table), 0, kDpi);
    QVERIFY(isDark(pixelAt(page, 10 + left + 0.1, 10 + 9)));         // the group's frame
    QVERIFY(hasInk(page, QRectF(10 + left + 2, 10 + 5.4, 24, 3.3))); // its heading

    const QStringList captions{QStringLiteral("Dzn"), QStringLiteral("NS"), QStringLiteral("Dem"),
                               QStringLiteral("MD")};
    const QStringList fields{QStringLiteral("Dezena"), QStringLiteral("Saidas"), QStringLiteral("Demora"),
                             QStringLiteral("MaiorDemora")};
    const std::vector<std::pair<double, double>> columns{{0.2, 4.6}, {6.4, 6.4}, {13.5, 7.4}, {22.2, 6.4}};
    for (int c = 0; c < 4; ++c) {
        const ReportElement& caption = l.element(QStringLiteral("Label%1%2").arg(captions[c]).arg(group));
        const ReportElement& value = l.element(QStringLiteral("DBText%1%2").arg(fields[c], suffix));
        QCOMPARE(caption.text, captions[c]);
        QCOMPARE(caption.rect.top(), 8.8);
        QCOMPARE(caption.font.pointSize, 8.0);
        QCOMPARE(value.field, fields[c] + suffix);
        QCOMPARE(value.rect.left(), left + columns[static_cast<std::size_t>(c)].first);
        QCOMPARE(value.rect.width(), columns[static_cast<std::size_t>(c)].second);
        const QColor want = c == sorted ? kSilver : QColor();
        QCOMPARE(caption.background, want);
        QCOMPARE(value.background, want);
        // Where the box holds no text: its top-right corner, on the page, for the first row.
        const QRectF cell = value.rect.translated(10, 10 + 13.2);
        QCOMPARE(pixelAt(page, cell.right() - 0.15, cell.top() + 0.15),
                 c == sorted ? kSilver : QColor(Qt::white));
    }
}

void TestListingReports::statisticsRenderTitleAndRows() {
    WorkFolder folder;
    auto table = makeStatsReport(folder, 60);
    TFormRelSai rel;
    QCOMPARE(rel.layout().element(u"LabelTitulo").text, QStringLiteral("Mega-Sena. Concurso: "));
    rel.setTitle(QStringLiteral("Mega-Sena. Concurso: 2750"));
    const QImage page = renderReportPage(layOutReport(rel.layout(), *table), 0, kDpi);
    QVERIFY(hasInk(page, QRectF(10 + 1.1, 10 + 0.4, 50, 4.2)));
    // Row 60 is the last line, its number in the first group's first column.
    const double lastTop = 10 + 13.2 + 59 * 4.2;
    QVERIFY(hasInk(page, QRectF(10 + 0.7, lastTop + 0.2, 4.6, 3.8)));
    QVERIFY(!hasInk(page, QRectF(10, lastTop + 4.3, 190, 20)));
}

QUINABEL_GUI_TEST_MAIN(TestListingReports)
#include "tst_listing_reports.moc"
