#include "UnitRelRes.h"

namespace {

const QColor kSilver(192, 192, 192); // clSilver $C0C0C0

struct Group {
    double left;
    const char* heading;
    const char* suffix;
    int sortedColumn; // 0 number, 1 absence, 2 last absence, 3 longest absence
};

const Group kGroups[] = {
    {0.5, "Dezenas", "", 0},
    {46.6, "Não Sai há...", "N", 1},
    {92.4, "Últ. demora", "D", 2},
    {139.3, "Maior demora", "M", 3},
};

struct Column {
    double offset, width;
    Qt::Alignment alignment;
    const char* caption;
    const char* field;
};

const Column kColumns[] = {
    {0.2, 4.6, Qt::AlignLeft, "Dzn", "Dezena"},
    {6.4, 6.4, Qt::AlignHCenter, "NS", "Saidas"},
    {13.5, 7.4, Qt::AlignHCenter, "Dem", "Demora"},
    {22.2, 6.4, Qt::AlignHCenter, "MD", "MaiorDemora"},
};

constexpr double kGroupTop = 5.0;
constexpr double kGroupWidth = 28.6;
constexpr double kGroupHeight = 7.9;
constexpr double kHeadingTop = 5.3;
constexpr double kCaptionTop = 8.8;
constexpr double kCaptionHeight = 3.7;
constexpr double kDetailTop = 0.2;
constexpr double kDetailHeight = 3.8;

} // namespace

TFormRelSai::TFormRelSai() : layout_(QStringLiteral("TFormRelSai"), PageSetup::a4Portrait()) {
    layout_.setDocumentTitle(QStringLiteral("Estatísticas das dezenas"));
    const ReportFont heading{QStringLiteral("Arial"), 10, false};
    const ReportFont small{QStringLiteral("Arial"), 8, false};
    const auto title = ReportLayout::Band::Title;
    const auto detail = ReportLayout::Band::Detail;

    layout_.setTitleBand(13.2);
    layout_.add(title, ReportElement::label(QStringLiteral("LabelTitulo"), QRectF(1.1, 0.4, 150.0, 4.5),
                                            QStringLiteral("Mega-Sena. Concurso: "), heading));
    layout_.detailBand().height = 4.2;

    int g = 1;
    for (const Group& group : kGroups) {
        const QString suffix = QLatin1String(group.suffix);
        ReportElement frame =
            ReportElement::shape(QStringLiteral("ShapeGrupo%1").arg(g),
                                 QRectF(group.left, kGroupTop, kGroupWidth, kGroupHeight), QColor());
        frame.frame = FrameAll;
        layout_.add(title, std::move(frame));
        layout_.add(title, ReportElement::label(
                               QStringLiteral("LabelGrupo%1").arg(g),
                               QRectF(group.left, kHeadingTop, kGroupWidth, kCaptionTop - kHeadingTop),
                               QString::fromUtf8(group.heading), heading, Qt::AlignHCenter | Qt::AlignTop));
        int c = 0;
        for (const Column& column : kColumns) {
            const QString field = QLatin1String(column.field) + suffix;
            ReportElement caption = ReportElement::label(
                QStringLiteral("Label%1%2").arg(QLatin1String(column.caption)).arg(g),
                QRectF(group.left + column.offset, kCaptionTop, column.width, kCaptionHeight),
                QLatin1String(column.caption), small, column.alignment | Qt::AlignTop);
            ReportElement value = ReportElement::dbText(
                QStringLiteral("DBText%1").arg(field),
                QRectF(group.left + column.offset, kDetailTop, column.width, kDetailHeight), field, small,
                column.alignment | Qt::AlignTop);
            if (c == group.sortedColumn) {
                caption.background = kSilver;
                value.background = kSilver;
            }
            layout_.add(title, std::move(caption));
            layout_.add(detail, std::move(value));
            ++c;
        }
        ++g;
    }
}
