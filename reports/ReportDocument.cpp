#include "ReportDocument.h"

#include "Prompter.h"
#include "Table.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace {

// Bands may end a hair below the printable area from rounding the lengths to 0.01 mm.
constexpr double kFitTolerance = 0.005;
// A shrunk text keeps a little room from its box's edges; below the smallest size it is cut.
constexpr double kShrinkMargin = 0.97;
constexpr double kSmallestPoints = 4.0;
// A printer's paper size is the report's when each side is within half a millimetre (printer
// descriptions give sizes in whole or rounded points).
constexpr double kPaperTolerance = 0.5;

class Paginator {
public:
    explicit Paginator(ReportDocument& doc) : doc_(doc), page_(doc.page) {
        columnWidth_ = page_.effectiveColumnWidth();
        bottom_ = page_.paper.height() - page_.margins.bottom();
        const int columns = std::max(page_.columns, 1);
        perColumn_ = page_.bandsPerPage > 0 ? (page_.bandsPerPage + columns - 1) / columns : 0;
        newPage();
    }

    void placeTitle(ReportBand band) {
        const double width =
            band.width > 0 ? band.width : page_.paper.width() - page_.margins.left() - page_.margins.right();
        const double height = band.height;
        current().bands.push_back({QPointF(page_.margins.left(), y_) + page_.offset, width, std::move(band)});
        y_ += height;
        columnTop_ = y_;
    }

    void placeDetail(ReportBand band) {
        const bool full =
            (perColumn_ > 0 && inColumn_ >= perColumn_) || y_ + band.height > bottom_ + kFitTolerance;
        // A band taller than a whole column still goes on an empty column, so the run ends.
        if (full && inColumn_ > 0)
            nextColumn();
        const double width = band.width > 0 ? band.width : columnWidth_;
        const double height = band.height;
        const double x = page_.margins.left() + column_ * columnWidth_;
        current().bands.push_back({QPointF(x, y_) + page_.offset, width, std::move(band)});
        y_ += height;
        ++inColumn_;
    }

private:
    ReportPage& current() { return doc_.pages.back(); }

    void newPage() {
        doc_.pages.emplace_back();
        column_ = 0;
        inColumn_ = 0;
        columnTop_ = page_.margins.top();
        y_ = columnTop_;
    }

    void nextColumn() {
        if (++column_ >= std::max(page_.columns, 1)) {
            newPage();
            return;
        }
        inColumn_ = 0;
        y_ = columnTop_;
    }

    ReportDocument& doc_;
    const PageSetup& page_;
    double columnWidth_ = 0;
    double bottom_ = 0;
    int perColumn_ = 0;
    int column_ = 0;
    int inColumn_ = 0;
    double columnTop_ = 0; // below the title band on the first page
    double y_ = 0;
};

struct BoundField {
    std::size_t element;
    int field;
};

std::vector<BoundField> bindFields(const ReportBand& band, const Table& table) {
    std::vector<BoundField> bound;
    for (std::size_t i = 0; i < band.elements.size(); ++i)
        if (band.elements[i].kind == ElementKind::Field)
            bound.push_back({i, table.fieldIndex(band.elements[i].field)});
    return bound;
}

// The band as it prints for the current row (no row: empty field texts), set up by `rows` first.
ReportBand snapshot(const ReportBand& band, const std::vector<BoundField>& bound, const Table& table,
                    const RowPainter& rows = {}) {
    ReportBand copy = band;
    const bool onRow = table.position() >= 0;
    if (rows && onRow)
        rows(copy, table);
    for (const BoundField& b : bound)
        copy.elements[b.element].text = onRow ? table.text(b.field) : QString();
    return copy;
}

QRectF deviceRect(QPointF origin, const QRectF& mm, double k) {
    return {(origin.x() + mm.left()) * k, (origin.y() + mm.top()) * k, mm.width() * k, mm.height() * k};
}

// Frames are drawn inside their box, so that a framed box covers exactly its given area.
void paintFrame(QPainter& p, const QRectF& r, unsigned sides, double thickness, const QColor& color) {
    const double t = std::min({thickness, r.width(), r.height()});
    if (sides & FrameLeft)
        p.fillRect(QRectF(r.left(), r.top(), t, r.height()), color);
    if (sides & FrameRight)
        p.fillRect(QRectF(r.right() - t, r.top(), t, r.height()), color);
    if (sides & FrameTop)
        p.fillRect(QRectF(r.left(), r.top(), r.width(), t), color);
    if (sides & FrameBottom)
        p.fillRect(QRectF(r.left(), r.bottom() - t, r.width(), t), color);
}

void paintElement(QPainter& p, const ReportElement& e, QPointF origin, double k) {
    const QRectF r = deviceRect(origin, e.rect, k);
    if (e.kind == ElementKind::Path) {
        if (e.points.size() < 2)
            return;
        QPolygonF line;
        line.reserve(e.points.size());
        for (const QPointF& pt : e.points)
            line << QPointF(r.left() + pt.x() * k, r.top() + pt.y() * k);
        QPen pen(e.color, e.lineWidth * k);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::FlatCap);
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        p.restore();
        return;
    }
    if (e.kind == ElementKind::Line) {
        const double t = e.lineWidth * k;
        if (e.rect.width() >= e.rect.height())
            p.fillRect(QRectF(r.left(), r.center().y() - t / 2, r.width(), t), e.color);
        else
            p.fillRect(QRectF(r.center().x() - t / 2, r.top(), t, r.height()), e.color);
        return;
    }
    if (e.background.isValid())
        p.fillRect(r, e.background);
    if (e.frame != FrameNone)
        paintFrame(p, r, e.frame, e.lineWidth * k, e.color);
    if (e.kind == ElementKind::Shape || e.text.isEmpty())
        return;
    QFont font(e.font.family);
    font.setPointSizeF(e.font.pointSize);
    font.setBold(e.font.bold);
    // A text wider than its box shrinks until it fits (a seven-digit game number in its slip box);
    // the clip keeps whatever still overflows, in height or below the smallest size, off the paper
    // beside the box, where a slip reader would take it for a mark.
    const double advance = QFontMetricsF(font, p.device()).horizontalAdvance(e.text);
    if (advance > r.width() && advance > 0)
        font.setPointSizeF(std::max(e.font.pointSize * r.width() / advance * kShrinkMargin, kSmallestPoints));
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.setFont(font);
    p.setPen(e.color);
    p.drawText(r, static_cast<int>(e.alignment) | Qt::TextDontClip | Qt::TextSingleLine, e.text);
    p.restore();
}

QPageSize paperOf(const PageSetup& setup) {
    return QPageSize(setup.paper, QPageSize::Millimeter, setup.paperName, QPageSize::ExactMatch);
}

QPageLayout pageLayoutOf(const PageSetup& setup) {
    QPageLayout layout(paperOf(setup), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

bool samePaper(QSizeF a, QSizeF b) {
    return std::abs(a.width() - b.width()) <= kPaperTolerance &&
           std::abs(a.height() - b.height()) <= kPaperTolerance;
}

// The printer's own size for the paper (so the job asks for the paper by the printer's name for
// it), a custom size when the printer takes custom sizes that large or names no sizes at all (a
// raw queue: nothing says it cannot), or nothing.
std::optional<QPageSize> paperTakenBy(const QPrinterInfo& printer, const PageSetup& setup) {
    const QList<QPageSize> sizes = printer.supportedPageSizes();
    if (sizes.isEmpty())
        return paperOf(setup);
    for (const QPageSize& size : sizes)
        if (samePaper(size.size(QPageSize::Millimeter), setup.paper))
            return size;
    if (printer.supportsCustomPageSizes()) {
        const QSizeF least = printer.minimumPhysicalPageSize().size(QPageSize::Millimeter);
        const QSizeF most = printer.maximumPhysicalPageSize().size(QPageSize::Millimeter);
        const bool fits = (least.isEmpty() || (setup.paper.width() + kPaperTolerance >= least.width() &&
                                               setup.paper.height() + kPaperTolerance >= least.height())) &&
                          (most.isEmpty() || (setup.paper.width() <= most.width() + kPaperTolerance &&
                                              setup.paper.height() <= most.height() + kPaperTolerance));
        if (fits)
            return paperOf(setup);
    }
    return std::nullopt;
}

QString paperRefused(const QString& printer, const PageSetup& setup) {
    const QLocale pt(QLocale::Portuguese, QLocale::Brazil);
    return QStringLiteral("A impressora \"%1\" não aceita o papel \"%2\" (%3 × %4 mm). Nada foi impresso: "
                          "escolha uma impressora que aceite esse tamanho de papel.")
        .arg(printer, setup.paperName, pt.toString(setup.paper.width(), 'g', 4),
             pt.toString(setup.paper.height(), 'g', 4));
}

} // namespace

ReportDocument layOutSheet(const ReportLayout& layout) {
    ReportDocument doc;
    doc.name = layout.name();
    doc.title = layout.documentTitle();
    doc.page = layout.page();
    Paginator pages(doc);
    if (layout.hasTitleBand())
        pages.placeTitle(layout.titleBand());
    return doc;
}

ReportDocument layOutReport(const ReportLayout& layout, Table& table, const RowPainter& painter) {
    NoProgress none;
    return *layOutReport(layout, table, none, painter);
}

std::optional<ReportDocument> layOutReport(const ReportLayout& layout, Table& table, Progress& progress,
                                           const RowPainter& painter) {
    ReportDocument doc;
    doc.name = layout.name();
    doc.title = layout.documentTitle();
    doc.page = layout.page();
    Paginator pages(doc);
    const ReportBand& detail = layout.detailBand();
    const std::vector<BoundField> detailFields = bindFields(detail, table);
    std::vector<BoundField> titleFields;
    if (layout.hasTitleBand())
        titleFields = bindFields(layout.titleBand(), table);

    table.first();
    if (layout.hasTitleBand())
        pages.placeTitle(snapshot(layout.titleBand(), titleFields, table));
    const qint64 rows = table.rowCount();
    qint64 done = 0;
    while (!table.eof()) {
        pages.placeDetail(snapshot(detail, detailFields, table, painter));
        table.next();
        if (++done % 256 == 0 && !progress.report(done, rows, static_cast<qint64>(doc.pages.size())))
            return std::nullopt;
    }
    return doc;
}

void paintReportPage(QPainter& painter, const ReportPage& page, double dotsPerMm) {
    for (const PlacedBand& placed : page.bands) {
        const QRectF bandRect(placed.origin.x() * dotsPerMm, placed.origin.y() * dotsPerMm,
                              placed.width * dotsPerMm, placed.band.height * dotsPerMm);
        if (placed.band.color.isValid())
            painter.fillRect(bandRect, placed.band.color);
        for (const ReportElement& e : placed.band.elements)
            paintElement(painter, e, placed.origin, dotsPerMm);
        if (placed.band.frame != FrameNone)
            paintFrame(painter, bandRect, placed.band.frame, placed.band.frameWidth * dotsPerMm, Qt::black);
    }
}

std::optional<QString> setUpPage(const QString& title, const PageSetup& setup, QPagedPaintDevice& device) {
    auto* printer = dynamic_cast<QPrinter*>(&device);
    if (!printer) {
        if (auto* pdf = dynamic_cast<QPdfWriter*>(&device))
            pdf->setTitle(title);
        device.setPageLayout(pageLayoutOf(setup));
        return std::nullopt;
    }
    printer->setDocName(title);
    // A printer's layout is set piece by piece: a whole layout is refused by a printer whose
    // unprintable margins are wider than the layout's (every real printer, as the layout's are
    // zero), and a layout in standard mode would turn full-page mode off again. Full-page mode
    // goes last, over whatever a print dialog set before.
    std::optional<QString> refused;
    QPageSize paper = paperOf(setup);
    if (printer->outputFormat() == QPrinter::NativeFormat) {
        const QPrinterInfo info(*printer);
        if (const std::optional<QPageSize> taken = paperTakenBy(info, setup))
            paper = *taken;
        else
            refused = paperRefused(printer->printerName(), setup);
    }
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setPageSize(paper);
    printer->setFullPage(true);
    const QPageLayout now = printer->pageLayout();
    if (!refused && (now.mode() != QPageLayout::FullPageMode ||
                     !samePaper(now.fullRect(QPageLayout::Millimeter).size(), setup.paper)))
        refused = paperRefused(printer->printerName(), setup);
    return refused;
}

std::vector<int> pagesToPrint(int pageCount, const QPagedPaintDevice& device) {
    const auto* printer = dynamic_cast<const QPrinter*>(&device);
    const QPageRanges ranges = device.pageRanges();
    const bool all = ranges.isEmpty() || (printer && printer->printRange() == QPrinter::AllPages);
    std::vector<int> chosen;
    for (int p = 1; p <= pageCount; ++p)
        if (all || ranges.contains(p))
            chosen.push_back(p - 1);
    const int copies = printer && !printer->supportsMultipleCopies() ? std::max(1, printer->copyCount()) : 1;
    if (copies == 1)
        return chosen;
    std::vector<int> pages;
    pages.reserve(chosen.size() * static_cast<std::size_t>(copies));
    if (printer->collateCopies()) {
        for (int c = 0; c < copies; ++c)
            pages.insert(pages.end(), chosen.begin(), chosen.end());
    } else {
        for (const int p : chosen)
            pages.insert(pages.end(), static_cast<std::size_t>(copies), p);
    }
    return pages;
}

bool printReport(const ReportDocument& doc, QPagedPaintDevice& device) {
    const std::vector<int> pages = pagesToPrint(doc.pageCount(), device);
    if (pages.empty())
        return false;
    printReportPages(doc, device, pages);
    return true;
}

bool printReportPages(const ReportDocument& doc, QPagedPaintDevice& device, const std::vector<int>& pages,
                      Progress* progress) {
    QPainter painter(&device);
    const double k = device.logicalDpiX() / 25.4;
    const auto total = static_cast<qint64>(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintReportPage(painter, doc.pages.at(static_cast<std::size_t>(pages[i])), k);
        const auto done = static_cast<qint64>(i + 1);
        if (progress && !progress->report(done, total, done))
            return false;
    }
    return true;
}

QImage renderReportPage(const ReportDocument& doc, int page, double dpi) {
    const double k = dpi / 25.4;
    QImage image(static_cast<int>(std::lround(doc.page.paper.width() * k)),
                 static_cast<int>(std::lround(doc.page.paper.height() * k)), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(k * 1000));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintReportPage(painter, doc.pages.at(static_cast<std::size_t>(page)), k);
    return image;
}
