#include "UnitRel.h"

namespace {

constexpr double kThinLine = 0.26;
constexpr double kBandWidth = 189.97;

} // namespace

TFormRel::TFormRel() : layout_(QStringLiteral("TFormRel"), PageSetup::a4Portrait()) {
    layout_.setDocumentTitle(QStringLiteral("Relação dos jogos"));
    const ReportFont arial{QStringLiteral("Arial"), 10, false};
    // The captions are as wide as the band allows, so that each prints whole on one line.
    const double captionWidth = kBandWidth - 2 * 2.12;

    ReportBand& title = layout_.setTitleBand(17.46);
    title.width = kBandWidth;
    title.frame = FrameAll;
    title.frameWidth = 2 * kThinLine;
    layout_.add(ReportLayout::Band::Title,
                ReportElement::label(QStringLiteral("RLabel1"), QRectF(2.12, 2.12, captionWidth, 4.50),
                                     QStringLiteral("Quinabel"), arial));
    layout_.add(
        ReportLayout::Band::Title,
        ReportElement::label(QStringLiteral("RLabel2"), QRectF(2.12, 8.47, captionWidth, 4.50),
                             QStringLiteral("Relação das cartelas para impressão (disponível no arquivo "
                                            "cartelas.csv para uso no excell ou como texto)"),
                             arial));

    ReportBand& detail = layout_.detailBand();
    detail.width = kBandWidth;
    detail.height = 5.82;
    ReportElement line = ReportElement::dbText(QStringLiteral("RDBText1"), QRectF(0.53, 0.79, 188.65, 4.50),
                                               QStringLiteral("Detalhe"),
                                               ReportFont{QStringLiteral("Courier New"), 10, false});
    line.frame = FrameBottom;
    line.lineWidth = kThinLine;
    layout_.add(ReportLayout::Band::Detail, std::move(line));
}
