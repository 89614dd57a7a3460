#include "UnitEmiA4.h"

namespace {

PageSetup a4Slips() {
    PageSetup p;
    p.paperName = QStringLiteral("A4");
    p.paper = QSizeF(210.0, 297.0);
    p.margins = QMarginsF(20.0, 0.0, 20.0, 0.0);
    p.columns = 2;
    p.columnWidth = 85.0;
    p.bandsPerPage = 4;
    return p;
}

SlipGeometry a4Geometry() {
    return {{12.96, 19.31, 25.66, 32.01, 38.36, 44.98, 51.33, 57.68, 64.03, 70.64},
            {12.70, 25.66, 38.36},
            75.14,
            8.20};
}

struct TimingMark {
    int label;
    double left, top, width, height;
};

// The lottery's reader finds the slip by these: a row across the top, a column down the left.
constexpr TimingMark kTimingMarks[] = {
    {5, 2.12, 19.31, 2.91, 1.59},   {4, 6.35, 19.31, 4.23, 1.59},   {1, 12.44, 19.31, 4.23, 1.59},
    {2, 19.05, 19.31, 4.23, 1.59},  {3, 25.14, 19.31, 4.23, 1.59},  {6, 2.12, 22.75, 2.91, 1.85},
    {7, 2.12, 25.93, 2.91, 1.85},   {9, 2.12, 29.10, 2.91, 1.85},   {8, 2.12, 32.54, 2.91, 1.85},
    {12, 2.12, 35.72, 2.91, 1.85},  {11, 2.12, 38.89, 2.91, 1.85},  {10, 2.12, 42.33, 2.91, 1.85},
    {13, 2.12, 47.10, 2.91, 1.85},  {14, 2.12, 50.27, 2.91, 1.85},  {16, 2.12, 53.45, 2.91, 1.85},
    {15, 2.12, 56.89, 2.91, 1.85},  {19, 2.12, 60.06, 2.91, 1.85},  {18, 2.12, 63.24, 2.91, 1.85},
    {17, 2.12, 66.67, 2.91, 1.85},  {20, 2.12, 70.91, 2.91, 1.85},  {21, 2.12, 74.08, 2.91, 1.85},
    {23, 2.12, 77.26, 2.91, 1.85},  {22, 2.12, 80.70, 2.91, 1.85},  {26, 2.12, 83.87, 2.91, 1.85},
    {25, 2.12, 87.05, 2.91, 1.85},  {24, 2.12, 90.49, 2.91, 1.85},  {27, 2.12, 96.57, 2.91, 1.85},
    {28, 2.12, 105.04, 2.91, 1.85}, {29, 2.12, 113.77, 2.91, 1.85},
};

struct CornerMark {
    int shape;
    bool horizontal;
    double left, top, length;
};

constexpr CornerMark kCornerMarks[] = {
    {1, true, -2.12, 0.00, 8.20},   {5, false, 0.00, 0.53, 8.73},    {3, true, 76.46, 0.00, 8.20},
    {6, false, 84.67, 2.12, 8.73},  {2, true, 0.26, 147.37, 8.20},   {8, false, 0.00, 139.44, 8.73},
    {4, true, 76.46, 147.37, 8.20}, {7, false, 84.67, 139.96, 8.73},
};

constexpr double kCornerThickness = 0.26;

} // namespace

TFormEmiA4::TFormEmiA4()
    : SlipLayout(QStringLiteral("TFormEmiA4"), a4Slips(), QSizeF(84.93, 147.90), a4Geometry()) {
    ReportLayout& l = layout();
    l.setDocumentTitle(QStringLiteral("Volantes em A4"));
    const auto detail = ReportLayout::Band::Detail;

    ReportElement title =
        ReportElement::label(QStringLiteral("RLabel30"), QRectF(9.53, 8.47, 30.43, 6.09),
                             QStringLiteral("MEGA-SENA"), ReportFont{QStringLiteral("Arial"), 14, false});
    title.background = Qt::white;
    l.add(detail, std::move(title));

    for (const TimingMark& m : kTimingMarks)
        l.add(detail,
              ReportElement::shape(QStringLiteral("RLabel%1").arg(m.label),
                                   QRectF(m.left, m.top, m.width, m.height), SlipLayout::markedColor()));

    const QColor orange(255, 128, 0); // $0080FF
    for (const CornerMark& m : kCornerMarks) {
        const QRectF box = m.horizontal ? QRectF(m.left, m.top, m.length, kCornerThickness)
                                        : QRectF(m.left, m.top, kCornerThickness, m.length);
        l.add(detail,
              ReportElement::line(QStringLiteral("RShape%1").arg(m.shape), box, orange, kCornerThickness));
    }
}
