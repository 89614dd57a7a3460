#pragma once

#include <QColor>
#include <QHash>
#include <QMarginsF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

// A banded report described as data, every length in millimetres: the page set-up, a title band
// printed once at the top of the first page and a detail band printed once per row of a table.
// The report engine (ReportDocument.h) lays it out; the print layouts of the program build one.

struct PageSetup {
    QString paperName;      // shown by the print dialogs, e.g. "A4" or a custom name
    QSizeF paper{210, 297}; // width x length, portrait
    QMarginsF margins;      // left, top, right, bottom
    int columns = 1;        // detail bands fill a column top to bottom, then the next column
    double columnWidth = 0; // 0: the width between the margins shared by the columns
    int bandsPerPage = 0;   // detail bands per page over all columns; 0: as many as fit
    // The player's calibration of the printer for this paper: every band, and so every element,
    // prints this far (x to the right, y down) from where the layout puts it. It moves nothing
    // from one page or column to another.
    QPointF offset;

    double effectiveColumnWidth() const;

    // Portrait A4 with 10 mm margins all round: the page of the listings and reports.
    static PageSetup a4Portrait();
};

struct ReportFont {
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
};

enum class ElementKind {
    Text,  // a fixed caption
    Field, // the text of a field of the table's current row
    Shape, // a filled rectangle
    Line,  // a horizontal or vertical line along the longer side of its box
    Path,  // a line through its points (a chart's curve); nothing with fewer than two points
};

enum FrameSide : unsigned {
    FrameNone = 0,
    FrameLeft = 1,
    FrameTop = 2,
    FrameRight = 4,
    FrameBottom = 8,
    FrameAll = 15
};

struct ReportElement {
    QString name;
    ElementKind kind = ElementKind::Text;
    QRectF rect;   // from the top-left corner of its band
    QString text;  // Text: the caption; Field: filled from the row when the band is laid out
    QString field; // Field only
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    QColor background;        // the box's fill; invalid: transparent
    QColor color = Qt::black; // text, frame and line colour
    unsigned frame = FrameNone;
    double lineWidth = 0.26; // frame and line thickness
    QPolygonF points;        // Path only: from the top-left corner of its box, in mm

    static ReportElement label(const QString& name, QRectF rect, const QString& text, ReportFont font = {},
                               Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    static ReportElement dbText(const QString& name, QRectF rect, const QString& field, ReportFont font = {},
                                Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    static ReportElement shape(const QString& name, QRectF rect, const QColor& fill);
    static ReportElement line(const QString& name, QRectF rect, const QColor& color, double thickness);
    // A path drawn in `color`, clipped to its box; its points are set as the report goes.
    static ReportElement path(const QString& name, QRectF rect, const QColor& color, double thickness);
};

struct ReportBand {
    double height = 0;
    double width = 0; // 0: the column width (the page's printable width for the title band)
    QColor color = Qt::white;
    unsigned frame = FrameNone;
    double frameWidth = 0.26;
    std::vector<ReportElement> elements;
};

class ReportLayout {
public:
    enum class Band { Title, Detail };

    explicit ReportLayout(QString name, PageSetup page);

    const QString& name() const { return name_; }
    // What the document is called for the player: the print job's and the PDF's title, and the
    // file name a print to file proposes.
    const QString& documentTitle() const { return documentTitle_; }
    void setDocumentTitle(QString title) { documentTitle_ = std::move(title); }
    PageSetup& page() { return page_; }
    const PageSetup& page() const { return page_; }

    // Starts the title band (none until this is called).
    ReportBand& setTitleBand(double height);
    bool hasTitleBand() const { return title_.has_value(); }
    const ReportBand& titleBand() const { return *title_; }
    ReportBand& titleBand() { return *title_; }
    ReportBand& detailBand() { return detail_; }
    const ReportBand& detailBand() const { return detail_; }

    // Adds an element to a band; names are unique in the layout and matched without regard to case.
    void add(Band band, ReportElement element);

    ReportElement* find(QStringView name);
    const ReportElement* find(QStringView name) const;
    // Throws std::out_of_range for a name the layout does not hold.
    ReportElement& element(QStringView name);
    const ReportElement& element(QStringView name) const;
    // The element of that name in `band`, a copy of one of this layout's bands (a row painter's),
    // found by its place in the layout. Throws std::out_of_range for a name the layout does not hold.
    ReportElement& elementIn(ReportBand& band, QStringView name) const;
    // The element's box fill (a mark's state, a caption's background).
    void setFill(QStringView name, const QColor& color) { element(name).background = color; }
    QColor fill(QStringView name) const { return element(name).background; }

private:
    struct Place {
        Band band;
        std::size_t index;
    };
    ReportBand& band(Band b) { return b == Band::Title ? *title_ : detail_; }
    std::optional<Place> placeOf(QStringView name) const;

    QString name_;
    QString documentTitle_ = QStringLiteral("Quinabel");
    PageSetup page_;
    std::optional<ReportBand> title_;
    ReportBand detail_;
    QHash<QString, Place> names_; // lower-case name
};
