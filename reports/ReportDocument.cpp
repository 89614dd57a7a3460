#include "ReportDocument.h"

#include "Table.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace {

// Bands may end a hair below the printable area from rounding the lengths to 0.01 mm.
constexpr double kFitTolerance = 0.005;

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
        current().bands.push_back({QPointF(page_.margins.left(), y_), width, std::move(band)});
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
        current().bands.push_back({QPointF(x, y_), width, std::move(band)});
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

// The band as it prints for the current row (no row: empty field texts).
ReportBand snapshot(const ReportBand& band, const std::vector<BoundField>& bound, const Table& table) {
    ReportBand copy = band;
    const bool onRow = table.position() >= 0;
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
    p.setFont(font);
    p.setPen(e.color);
    p.drawText(r, static_cast<int>(e.alignment) | Qt::TextDontClip | Qt::TextSingleLine, e.text);
}

QPageLayout pageLayoutOf(const PageSetup& setup) {
    const QPageSize size(setup.paper, QPageSize::Millimeter, setup.paperName, QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

ReportDocument layOutReport(const ReportLayout& layout, Table& table) {
    ReportDocument doc;
    doc.name = layout.name();
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
    while (!table.eof()) {
        pages.placeDetail(snapshot(detail, detailFields, table));
        table.next();
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

void setUpPage(const QString& docName, const PageSetup& setup, QPagedPaintDevice& device) {
    // The layout places everything from the paper's corner, its own margins included.
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        printer->setFullPage(true);
        printer->setDocName(docName);
    }
    device.setPageLayout(pageLayoutOf(setup));
}

void printReport(const ReportDocument& doc, QPagedPaintDevice& device) {
    QPainter painter(&device);
    const double k = device.logicalDpiX() / 25.4;
    for (std::size_t i = 0; i < doc.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintReportPage(painter, doc.pages[i], k);
    }
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
