#include "SlipLayout.h"

#include "SlipPrinting.h"

namespace {

constexpr double kMarkWidth = 3.70;
constexpr double kMarkHeight = 2.38;
constexpr double kTeimosinhaTop = 113.24;
constexpr double kTeimosinhaHeight = 2.65;
constexpr double kSizeTop = 96.57;
constexpr double kGameNumberHeight = 3.97;

// Row top edges of the three blocks of 60 numbers, the same on both layouts.
constexpr std::array<std::array<double, 6>, 3> kRowTops{{
    {22.49, 25.93, 29.10, 32.28, 35.45, 38.63},
    {46.57, 50.01, 53.18, 56.36, 59.53, 62.71},
    {70.38, 73.82, 76.99, 80.17, 83.34, 86.52},
}};
constexpr std::array<double, 3> kGameNumberTops{28.31, 52.12, 76.20};

} // namespace

const QColor& SlipLayout::markedColor() {
    static const QColor c(0, 0, 0);
    return c;
}

const QColor& SlipLayout::unmarkedColor() {
    static const QColor c(255, 255, 255);
    return c;
}

SlipLayout::SlipLayout(QString name, PageSetup page, QSizeF band, const SlipGeometry& g)
    : layout_(std::move(name), std::move(page)) {
    ReportBand& detail = layout_.detailBand();
    detail.width = band.width();
    detail.height = band.height();
    detail.color = Qt::white;
    const auto add = [this, &detail](ReportElement e) {
        layout_.add(ReportLayout::Band::Detail, std::move(e));
        return detail.elements.size() - 1;
    };

    // Every mark is black as defined; the slip's marks set each one before it prints.
    for (std::size_t b = 0; b < 3; ++b)
        for (std::size_t n = 0; n < 60; ++n) {
            const QRectF rect(g.columnLefts[n % 10], kRowTops[b][n / 10], kMarkWidth, kMarkHeight);
            numberMarks_[b][n] =
                add(ReportElement::shape(QStringLiteral("d%1%2").arg(b + 1).arg(n + 1), rect, markedColor()));
        }
    for (std::size_t s = 0; s < 10; ++s) {
        const QRectF rect(g.columnLefts[s], kSizeTop, kMarkWidth, kMarkHeight);
        sizeMarks_[s] = add(ReportElement::shape(QStringLiteral("a%1").arg(s + 6), rect, markedColor()));
    }
    const std::array<int, 3> draws{2, 4, 8};
    for (std::size_t t = 0; t < 3; ++t) {
        const QRectF rect(g.teimosinhaLefts[t], kTeimosinhaTop, kMarkWidth, kTeimosinhaHeight);
        teimosinhaMarks_[t] =
            add(ReportElement::shape(QStringLiteral("t%1").arg(draws[t]), rect, markedColor()));
    }
    for (std::size_t j = 0; j < 3; ++j) {
        const QRectF rect(g.gameNumberLeft, kGameNumberTops[j], g.gameNumberWidth, kGameNumberHeight);
        ReportElement e = ReportElement::dbText(
            QStringLiteral("RDBText%1").arg(j + 2), rect, QStringLiteral("J%1").arg(j + 1),
            ReportFont{QStringLiteral("Arial"), 8, false}, Qt::AlignRight | Qt::AlignTop);
        e.background = Qt::white;
        add(std::move(e));
    }
}

void SlipLayout::applySlipMarks(const SlipMarks& marks) {
    applySlipMarks(layout_.detailBand(), marks);
}

RowPainter SlipLayout::marksOfEachSlip(Table& imp, const SlipMarks& teimosinha) const {
    return [this, &imp, marks = teimosinha](ReportBand& band, const Table& slips) mutable {
        ApplySlipMarks(slips, imp, marks);
        applySlipMarks(band, marks);
    };
}

void SlipLayout::applySlipMarks(ReportBand& band, const SlipMarks& marks) const {
    std::vector<ReportElement>& elements = band.elements;
    const auto set = [&elements](std::size_t at, bool marked) {
        elements[at].background = marked ? markedColor() : unmarkedColor();
    };
    for (std::size_t b = 0; b < 3; ++b)
        for (std::size_t n = 0; n < 60; ++n)
            set(numberMarks_[b][n], marks.numbers[b][n]);
    for (std::size_t s = 0; s < 10; ++s)
        set(sizeMarks_[s], marks.sizes[s]);
    set(teimosinhaMarks_[0], marks.t2);
    set(teimosinhaMarks_[1], marks.t4);
    set(teimosinhaMarks_[2], marks.t8);
}
