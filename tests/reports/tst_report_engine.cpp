#include "PrintPreview.h"
#include "ReportsFixture.h"
#include "TableError.h"

#include <QApplication>
#include <QFile>
#include <QPageRanges>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <stdexcept>

namespace {

// A 100 x 100 mm page with 10 mm margins: 80 mm of height, a 20 mm title and 10 mm lines.
ReportLayout smallListing(int columns) {
    PageSetup page;
    page.paperName = QStringLiteral("Teste");
    page.paper = QSizeF(100, 100);
    page.margins = QMarginsF(10, 10, 10, 10);
    page.columns = columns;
    ReportLayout l(QStringLiteral("Teste"), page);
    l.setTitleBand(20);
    l.add(ReportLayout::Band::Title,
          ReportElement::label(QStringLiteral("Titulo"), QRectF(1, 1, 60, 5), QStringLiteral("Título")));
    l.detailBand().height = 10;
    l.add(ReportLayout::Band::Detail,
          ReportElement::dbText(QStringLiteral("Linha"), QRectF(1, 1, 30, 5), QStringLiteral("Linha"), {},
                                Qt::AlignRight | Qt::AlignTop));
    return l;
}

std::vector<int> bandsPerPage(const ReportDocument& doc) {
    std::vector<int> counts;
    for (const ReportPage& p : doc.pages)
        counts.push_back(static_cast<int>(p.bands.size()));
    return counts;
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT

private slots:
    void bandsFillPagesByHeight_data();
    void bandsFillPagesByHeight();
    void bandsFillColumnsThenPages();
    void detailBandsCarryTheirRowsValues();
    void elementsAreFoundByNameWithoutRegardToCase();
    void repeatedOrMissingNamesAreRefused();
    void unknownFieldOrClosedTableFails();
    void alignmentAndFramesRender();
    void pdfHoldsEveryPageOnTheReportsPaper();
    void dialogPreviewLaysOutFromTheFirstRowAndWaits();
    void pagesToPrintFollowTheRangeAndCopies_data();
    void pagesToPrintFollowTheRangeAndCopies();
};

void TestReportEngine::bandsFillPagesByHeight_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<std::vector<int>>("perPage"); // bands on each page, the title included
    QTest::newRow("empty table: the title alone") << 0 << std::vector<int>{1};
    QTest::newRow("one row") << 1 << std::vector<int>{2};
    QTest::newRow("first page full") << 6 << std::vector<int>{7};
    QTest::newRow("one more opens a page") << 7 << std::vector<int>{7, 1};
    QTest::newRow("later pages hold 8") << 20 << std::vector<int>{7, 8, 6};
}

void TestReportEngine::bandsFillPagesByHeight() {
    QFETCH(int, rows);
    QFETCH(std::vector<int>, perPage);
    WorkFolder folder;
    auto table = makeListing(folder, rows);
    const ReportDocument doc = layOutReport(smallListing(1), *table);
    QCOMPARE(bandsPerPage(doc), perPage);
    QCOMPARE(doc.pages[0].bands[0].band.elements[0].name, QStringLiteral("Titulo"));
    QCOMPARE(doc.pages[0].bands[0].origin, QPointF(10, 10));
    if (rows > 0)
        QCOMPARE(doc.pages[0].bands[1].origin, QPointF(10, 30));
    if (doc.pageCount() > 1) { // no title again: the next page starts at its top margin
        QCOMPARE(doc.pages[1].bands[0].origin, QPointF(10, 10));
        QCOMPARE(doc.pages[1].bands[0].band.elements[0].name, QStringLiteral("Linha"));
    }
}

void TestReportEngine::bandsFillColumnsThenPages() {
    WorkFolder folder;
    auto table = makeListing(folder, 14);
    const ReportDocument doc = layOutReport(smallListing(2), *table);
    QCOMPARE(bandsPerPage(doc), (std::vector<int>{13, 2}));
    const std::vector<PlacedBand>& first = doc.pages[0].bands;
    QCOMPARE(first[1].origin, QPointF(10, 30)); // row 1: left column, under the title
    QCOMPARE(first[6].origin, QPointF(10, 80)); // row 6: the left column's last
    QCOMPARE(first[7].origin, QPointF(50, 30)); // row 7: the right column starts under the title too
    QCOMPARE(first[7].width, 40.0);
    QCOMPARE(doc.pages[1].bands[1].origin, QPointF(10, 20));
}

void TestReportEngine::detailBandsCarryTheirRowsValues() {
    WorkFolder folder;
    auto table = makeListing(folder, 3);
    ReportLayout l = smallListing(1);
    l.add(ReportLayout::Band::Detail,
          ReportElement::dbText(QStringLiteral("Detalhe"), QRectF(1, 1, 30, 5), QStringLiteral("detalhe")));
    const ReportDocument doc = layOutReport(l, *table);
    for (int k = 1; k <= 3; ++k) {
        const ReportBand& band = doc.pages[0].bands[static_cast<std::size_t>(k)].band;
        QCOMPARE(band.elements[0].text, QString::number(k));
        QCOMPARE(band.elements[1].text,
                 QStringLiteral("%1;01;02;03;04;05;06;").arg(k, 7, 10, QLatin1Char('0')));
    }
    QVERIFY(l.element(u"Detalhe").text.isEmpty()); // the layout itself is untouched
}

void TestReportEngine::elementsAreFoundByNameWithoutRegardToCase() {
    ReportLayout l = smallListing(1);
    QVERIFY(l.find(u"titulo"));
    QCOMPARE(l.find(u"TITULO")->text, QStringLiteral("Título"));
    QCOMPARE(&l.element(u"linha"), &l.detailBand().elements[0]);
    l.setFill(u"linha", QColor(192, 192, 192));
    QCOMPARE(l.detailBand().elements[0].background, QColor(192, 192, 192));
    QVERIFY(!l.find(u"Nada"));
}

void TestReportEngine::repeatedOrMissingNamesAreRefused() {
    ReportLayout l = smallListing(1);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, l.element(u"Nada"));
    QVERIFY_THROWS_EXCEPTION(
        std::invalid_argument,
        l.add(ReportLayout::Band::Detail, ReportElement::shape(QStringLiteral("LINHA"), {}, Qt::black)));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, l.add(ReportLayout::Band::Detail,
                                                          ReportElement::shape(QString(), {}, Qt::black)));
}

void TestReportEngine::unknownFieldOrClosedTableFails() {
    WorkFolder folder;
    auto table = makeListing(folder, 2);
    ReportLayout l = smallListing(1);
    l.add(ReportLayout::Band::Detail,
          ReportElement::dbText(QStringLiteral("X"), QRectF(0, 0, 5, 5), QStringLiteral("Cartao")));
    QVERIFY_THROWS_EXCEPTION(TableError, layOutReport(l, *table));
    table->close();
    QVERIFY_THROWS_EXCEPTION(TableError, layOutReport(smallListing(1), *table));
}

// Right-aligned text inks the right of its box only; a bottom frame inks the bottom edge only.
void TestReportEngine::alignmentAndFramesRender() {
    WorkFolder folder;
    auto table = makeListing(folder, 1);
    ReportLayout l = smallListing(1);
    ReportElement boxed = ReportElement::shape(QStringLiteral("Caixa"), QRectF(40, 1, 20, 8), QColor());
    boxed.frame = FrameBottom;
    boxed.lineWidth = 0.5;
    l.add(ReportLayout::Band::Detail, std::move(boxed));
    const QImage page = renderReportPage(layOutReport(l, *table), 0, 300);

    const QRectF field = l.element(u"Linha").rect.translated(10, 30);
    QVERIFY(hasInk(page, QRectF(field.right() - 4, field.top(), 4, field.height())));
    QVERIFY(!hasInk(page, QRectF(field.left(), field.top(), field.width() - 4, field.height())));
    QVERIFY(hasInk(page, QRectF(50, 30 + 8.75, 10, 0.2)));
    QVERIFY(!hasInk(page, QRectF(50, 30 + 1.1, 10, 7.5)));
    QVERIFY(hasInk(page, l.element(u"Titulo").rect.translated(10, 10)));
}

void TestReportEngine::pdfHoldsEveryPageOnTheReportsPaper() {
    WorkFolder folder;
    auto table = makeListing(folder, 20);
    const ReportLayout l = smallListing(1);
    const ReportDocument doc = layOutReport(l, *table);
    const QString path = folder.file(QStringLiteral("teste.pdf"));
    {
        QPdfWriter pdf(path);
        QVERIFY(!setUpPage(l.documentTitle(), l.page(), pdf));
        QCOMPARE(pdf.pageLayout().fullRectPoints().size(), QSize(283, 283)); // 100 mm
        QCOMPARE(pdf.pageLayout().margins(), QMarginsF());
        printReport(doc, pdf);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n"), 3);
}

// The player's preview is modal: it returns once closed, and each of its layout passes visits every
// row from the first.
void TestReportEngine::dialogPreviewLaysOutFromTheFirstRowAndWaits() {
    WorkFolder folder;
    auto table = makeListing(folder, 3);
    QList<int> visited;
    const RowPainter visit = [&](ReportBand&, const Table& row) { visited << row.integer(u"Linha"); };
    bool closedByPlayer = false;
    QTimer::singleShot(200, [&] {
        if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            closedByPlayer = true;
            dialog->reject();
        }
    });
    PrintPreview preview;
    preview.preview(smallListing(1), *table, visit);
    QVERIFY(closedByPlayer);
    QVERIFY(!visited.isEmpty());
    QCOMPARE(visited.size() % 3, 0);
    for (int i = 0; i < visited.size(); ++i)
        QCOMPARE(visited[i], i % 3 + 1);
}

QUINABEL_GUI_TEST_MAIN(TestReportEngine)
// The pages a print puts on paper: the range the print dialog left on the printer, and the copies
// a printer that cannot make them itself (a file) must be given page by page.
void TestReportEngine::pagesToPrintFollowTheRangeAndCopies_data() {
    QTest::addColumn<QString>("range"); // "" for every page
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<std::vector<int>>("pages");
    QTest::newRow("every page") << "" << 1 << false << std::vector<int>{0, 1, 2, 3, 4};
    QTest::newRow("1 to 3") << "1-3" << 1 << false << std::vector<int>{0, 1, 2};
    QTest::newRow("1 to 1") << "1" << 1 << false << std::vector<int>{0};
    QTest::newRow("2, 4 to 5") << "2,4-5" << 1 << false << std::vector<int>{1, 3, 4};
    QTest::newRow("beyond the end") << "4-9" << 1 << false << std::vector<int>{3, 4};
    QTest::newRow("past the last page") << "7-9" << 1 << false << std::vector<int>{};
    QTest::newRow("3 copies collated") << "1-2" << 3 << true << std::vector<int>{0, 1, 0, 1, 0, 1};
    QTest::newRow("2 copies uncollated") << "2-3" << 2 << false << std::vector<int>{1, 1, 2, 2};
}
void TestReportEngine::pagesToPrintFollowTheRangeAndCopies() {
    QFETCH(QString, range);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(std::vector<int>, pages);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    if (!range.isEmpty()) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(range));
    }
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    QVERIFY(!printer.supportsMultipleCopies()); // a file makes no copies of its own
    QCOMPARE(pagesToPrint(5, printer), pages);
}

#include "tst_report_engine.moc"
