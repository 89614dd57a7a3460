#include "SlipTestSheet.h"

#include "SlipLayout.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kBoxLine = 0.15;
constexpr double kTickLine = 0.12;
constexpr double kRulerTop = 14.0;   // the top ruler's baseline, ticks rising from it
constexpr double kRulerLeft = 9.0;   // the left ruler's baseline, ticks running left of it
constexpr double kRulerStart = 16.0; // the left ruler starts below the top one
const ReportFont kBoxFont{QStringLiteral("Arial"), 4.5, false};
const ReportFont kRulerFont{QStringLiteral("Arial"), 5, false};
const ReportFont kCaptionFont{QStringLiteral("Arial"), 6, false};

double tickLength(int mm) {
    return mm % 10 == 0 ? 3.0 : mm % 5 == 0 ? 2.0 : 1.2;
}

ReportElement box(const QString& name, QRectF rect, const QString& text) {
    ReportElement e = ReportElement::label(name, rect, text, kBoxFont, Qt::AlignCenter);
    e.frame = FrameAll;
    e.lineWidth = kBoxLine;
    return e;
}

QString signedMm(double mm) {
    const QLocale pt(QLocale::Portuguese, QLocale::Brazil);
    return (mm < 0 ? QStringLiteral("−") : QStringLiteral("+")) + pt.toString(std::abs(mm), 'f', 1);
}

} // namespace

ReportLayout SlipTestSheet(const SlipLayout& slip, QPointF offset, const QString& paperCaption) {
    const ReportLayout& source = slip.layout();
    const PageSetup& page = source.page();
    PageSetup sheetPage;
    sheetPage.paperName = page.paperName;
    sheetPage.paper = page.paper;
    sheetPage.offset = offset;
    ReportLayout sheet(source.name() + QStringLiteral("Teste"), sheetPage);
    sheet.setDocumentTitle(QStringLiteral("Folha de teste ") + paperCaption);
    ReportBand& band = sheet.setTitleBand(page.paper.height());
    band.width = page.paper.width();
    band.color = QColor(); // plain paper: nothing but the lines and numbers
    const auto add = [&sheet](ReportElement e) { sheet.add(ReportLayout::Band::Title, std::move(e)); };

    // Every slip place of one page, as the report engine fills it: columns from the left margin,
    // slips down each column from the top margin.
    const ReportBand& slipBand = source.detailBand();
    const int columns = std::max(page.columns, 1);
    const int perColumn = page.bandsPerPage > 0 ? (page.bandsPerPage + columns - 1) / columns : 1;
    int place = 0;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < perColumn; ++r) {
            ++place;
            const QPointF corner(page.margins.left() + c * page.effectiveColumnWidth(),
                                 page.margins.top() + r * slipBand.height);
            const QString suffix = place == 1 ? QString() : QStringLiteral("_%1").arg(place);
            ReportElement outline =
                ReportElement::shape(QStringLiteral("Contorno") + suffix,
                                     QRectF(corner, QSizeF(slipBand.width, slipBand.height)), QColor());
            outline.frame = FrameAll;
            outline.lineWidth = kBoxLine;
            add(std::move(outline));
            const auto copy = [&](const QString& name, const QString& text) {
                add(box(name + suffix, source.element(name).rect.translated(corner), text));
            };
            for (int b = 1; b <= 3; ++b)
                for (int n = 1; n <= 60; ++n)
                    copy(QStringLiteral("d%1%2").arg(b).arg(n),
                         QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
            for (int s = 6; s <= 15; ++s)
                copy(QStringLiteral("a%1").arg(s), QString::number(s));
            for (int t : {2, 4, 8})
                copy(QStringLiteral("t%1").arg(t), QString::number(t));
            for (int j = 1; j <= 3; ++j)
                copy(QStringLiteral("RDBText%1").arg(j + 1), QStringLiteral("jogo %1").arg(j));
        }

    // The rulers count millimetres from the paper's corner as the layout sees it: on a calibrated
    // printer their zero falls on the paper's edges.
    const double width = page.paper.width();
    const double height = page.paper.height();
    add(ReportElement::line(QStringLiteral("ReguaH"), QRectF(0, kRulerTop - kTickLine / 2, width, kTickLine),
                            Qt::black, kTickLine));
    for (int mm = 1; mm < static_cast<int>(width); ++mm) {
        const double len = tickLength(mm);
        add(ReportElement::line(QStringLiteral("ReguaH%1").arg(mm),
                                QRectF(mm - kTickLine / 2, kRulerTop - len, kTickLine, len), Qt::black,
                                kTickLine));
        if (mm % 10 == 0)
            add(ReportElement::label(QStringLiteral("ReguaHN%1").arg(mm),
                                     QRectF(mm - 2.5, kRulerTop - 6.5, 5, 2.6), QString::number(mm),
                                     kRulerFont, Qt::AlignHCenter | Qt::AlignBottom));
    }
    add(ReportElement::line(QStringLiteral("ReguaV"),
                            QRectF(kRulerLeft - kTickLine / 2, kRulerStart, kTickLine, height - kRulerStart),
                            Qt::black, kTickLine));
    for (int mm = static_cast<int>(kRulerStart) + 1; mm < static_cast<int>(height); ++mm) {
        const double len = tickLength(mm);
        add(ReportElement::line(QStringLiteral("ReguaV%1").arg(mm),
                                QRectF(kRulerLeft - len, mm - kTickLine / 2, len, kTickLine), Qt::black,
                                kTickLine));
        if (mm % 10 == 0)
            add(ReportElement::label(QStringLiteral("ReguaVN%1").arg(mm),
                                     QRectF(kRulerLeft - 8, mm - 1.3, 4.6, 2.6), QString::number(mm),
                                     kRulerFont, Qt::AlignRight | Qt::AlignVCenter));
    }
    // The caption stays inside the first slip's outline, clear of the left ruler's numbers.
    const double captionLeft = std::max(12.0, page.margins.left() + 2);
    const double captionRight = std::min(width - 2, page.margins.left() + slipBand.width - 2);
    add(ReportElement::label(QStringLiteral("Legenda"),
                             QRectF(captionLeft, kRulerTop + 2, captionRight - captionLeft, 3),
                             QStringLiteral("Folha de teste %1 · horizontal %2 mm, vertical %3 mm")
                                 .arg(paperCaption, signedMm(offset.x()), signedMm(offset.y())),
                             kCaptionFont));
    return sheet;
}
