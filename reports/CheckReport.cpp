#include "CheckReport.h"

#include <QLocale>
#include <algorithm>

namespace {

constexpr double kBandWidth = 190.0;
constexpr double kLineHeight = 4.6;
constexpr double kSectionHeight = 8.0;
constexpr double kTextTop = 0.3;
constexpr double kTextHeight = 4.0;
// A section's heading stands low in its taller band, so that a gap separates it from the lines above.
constexpr double kHeadingTop = 2.6;
constexpr double kHeadingHeight = 5.0;

// The columns of the lines, left edge and width in mm from the band's left edge.
struct Column {
    const char* element;
    double left, width;
};
constexpr double kNumbersLeft = 17.0;
constexpr double kNumberStep = 6.3;
const Column kJogo{"Jogo", 0.0, 14.0};
const Column kAcertos{"Acertos", 113.0, 16.0};
const Column kSenas{"Senas", 130.0, 14.0};
const Column kQuinas{"Quinas", 145.0, 14.0};
const Column kQuadras{"Quadras", 160.0, 14.0};
const Column kUltimo{"Ultimo", 175.0, 15.0};

const ReportFont kLineFont{QStringLiteral("Arial"), 9, false};

QString two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString count(qint64 n) {
    return QLocale().toString(n);
}

} // namespace

CheckReport::CheckReport()
    : layout_(QStringLiteral("Relatório da conferência"), PageSetup::a4Portrait()),
      rows_(QStringLiteral("TableRelConf"), QString(), QString()) {
    const auto title = ReportLayout::Band::Title;
    const auto detail = ReportLayout::Band::Detail;

    layout_.setDocumentTitle(QStringLiteral("Relatório da conferência"));
    ReportBand& t = layout_.setTitleBand(24.0);
    t.width = kBandWidth;
    t.frame = FrameAll;
    t.frameWidth = 0.52;
    layout_.add(title, ReportElement::label(QStringLiteral("LabelQuinabel"), QRectF(2.12, 2.12, 60.0, 4.5),
                                            QStringLiteral("Quinabel"),
                                            ReportFont{QStringLiteral("Arial"), 10, false}));
    layout_.add(title, ReportElement::label(QStringLiteral("LabelTitulo"), QRectF(2.12, 7.6, 180.0, 5.5),
                                            QStringLiteral("Relatório da conferência"),
                                            ReportFont{QStringLiteral("Arial"), 13, true}));
    layout_.add(title, ReportElement::label(QStringLiteral("LabelConcurso"), QRectF(2.12, 15.0, 180.0, 5.0),
                                            QString(), ReportFont{QStringLiteral("Arial"), 11, false}));

    ReportBand& d = layout_.detailBand();
    d.width = kBandWidth;
    d.height = kLineHeight;
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;
    layout_.add(detail,
                ReportElement::dbText(QStringLiteral("Texto"), QRectF(0.0, kTextTop, kBandWidth, kTextHeight),
                                      QStringLiteral("Texto"), kLineFont));
    layout_.add(detail, ReportElement::dbText(QLatin1String(kJogo.element),
                                              QRectF(kJogo.left, kTextTop, kJogo.width, kTextHeight),
                                              QLatin1String(kJogo.element), kLineFont,
                                              Qt::AlignRight | Qt::AlignTop));
    layout_.add(detail, ReportElement::dbText(QStringLiteral("Dezenas"),
                                              QRectF(kNumbersLeft, kTextTop, 15 * kNumberStep, kTextHeight),
                                              QStringLiteral("Dezenas"), kLineFont, centred));
    for (int p = 1; p <= 15; ++p)
        layout_.add(detail, ReportElement::dbText(numberElement(p),
                                                  QRectF(kNumbersLeft + (p - 1) * kNumberStep, kTextTop,
                                                         kNumberStep, kTextHeight),
                                                  numberElement(p), kLineFont, centred));
    for (const Column& c : {kAcertos, kSenas, kQuinas, kQuadras, kUltimo})
        layout_.add(detail, ReportElement::dbText(QLatin1String(c.element),
                                                  QRectF(c.left, kTextTop, c.width, kTextHeight),
                                                  QLatin1String(c.element), kLineFont, centred));

    FieldList fields{
        FieldDef::integer(QStringLiteral("Tipo")), FieldDef::string(QStringLiteral("Texto"), 160),
        FieldDef::string(QStringLiteral("Jogo"), 20), FieldDef::string(QStringLiteral("Dezenas"), 40)};
    for (int p = 1; p <= 15; ++p)
        fields.push_back(FieldDef::string(numberElement(p), 3));
    for (const Column& c : {kAcertos, kSenas, kQuinas, kQuadras, kUltimo})
        fields.push_back(FieldDef::string(QLatin1String(c.element), 14));
    fields.push_back(FieldDef::string(QStringLiteral("Negrito"), 15));
    rows_.defineFields(std::move(fields));
    rows_.create(); // in memory only: the table is never opened from or closed to a file
    tipo_ = rows_.fieldIndex(u"Tipo");
    negrito_ = rows_.fieldIndex(u"Negrito");
    QObject::connect(&rows_, &Table::afterScroll, &rows_, [this] { setUpBandForRow(); });
}

void CheckReport::addRow(Line kind, const QString& text) {
    rows_.insert();
    rows_.setInteger(tipo_, static_cast<int>(kind));
    if (!text.isEmpty())
        rows_.setText(u"Texto", text);
}

void CheckReport::setUpBandForRow() {
    if (rows_.position() < 0 || rows_.isEditing())
        return;
    const auto kind = static_cast<Line>(rows_.intValue(tipo_).value_or(0));
    ReportBand& band = layout_.detailBand();
    band.height = kind == Line::Section ? kSectionHeight : kLineHeight;
    band.frame = kind == Line::Captions ? FrameBottom : kind == Line::Total ? FrameTop : FrameNone;

    const bool strong = kind == Line::Section || kind == Line::Captions || kind == Line::Total;
    for (ReportElement* e :
         {&layout_.element(u"Texto"), &layout_.element(u"Jogo"), &layout_.element(u"Dezenas"),
          &layout_.element(u"Acertos"), &layout_.element(u"Senas"), &layout_.element(u"Quinas"),
          &layout_.element(u"Quadras"), &layout_.element(u"Ultimo")})
        e->font.bold = strong;
    ReportElement& text = layout_.element(u"Texto");
    text.font.pointSize = kind == Line::Section ? 11 : 9;
    text.rect.moveTop(kind == Line::Section ? kHeadingTop : kTextTop);
    text.rect.setHeight(kind == Line::Section ? kHeadingHeight : kTextHeight);

    // The numbers drawn stand out in bold in the lines of the draw checked.
    const QString hits = kind == Line::Game ? rows_.text(negrito_) : QString();
    for (int p = 1; p <= 15; ++p)
        layout_.element(numberElement(p)).font.bold =
            kind == Line::Captions || (p <= hits.size() && hits.at(p - 1) == QLatin1Char('S'));
}

void CheckReport::fill(const CheckReportContent& c) {
    std::array<int, 6> sorted = c.draw.numbers;
    std::sort(sorted.begin(), sorted.end());
    QStringList drawn;
    for (const int n : sorted)
        drawn << two(n);
    layout_.element(u"LabelConcurso").text =
        QStringLiteral("Concurso %1: %2").arg(c.draw.concurso).arg(drawn.join(QStringLiteral(" - ")));

    Table::BulkChange quiet(rows_);
    rows_.emptyTable();
    const auto setNumbers = [&](const GameNumbers& g, NumberMask drawMask) {
        QString bold;
        for (std::size_t p = 0; p < g.size; ++p) {
            const int n = g.numbers[p];
            rows_.setText(numberElement(static_cast<int>(p + 1)), two(n));
            bold += drawMask != 0 && n <= 60 && ((drawMask >> n) & 1U) ? QLatin1Char('S') : QLatin1Char('N');
        }
        if (drawMask != 0)
            rows_.setText(negrito_, bold);
    };
    const auto captions = [&](const QString& numbers, const QString& hitsCaption, bool last) {
        addRow(Line::Captions);
        rows_.setText(u"Jogo", QStringLiteral("Jogo"));
        rows_.setText(u"Dezenas", numbers);
        if (!hitsCaption.isEmpty())
            rows_.setText(u"Acertos", hitsCaption);
        rows_.setText(u"Senas", QStringLiteral("Senas"));
        rows_.setText(u"Quinas", QStringLiteral("Quinas"));
        rows_.setText(u"Quadras", QStringLiteral("Quadras"));
        if (last)
            rows_.setText(u"Ultimo", QStringLiteral("Último"));
    };
    const qint64 games = static_cast<qint64>(c.games.size());

    // The draw checked.
    addRow(Line::Section, QStringLiteral("Prêmios dos jogos no concurso %1").arg(c.draw.concurso));
    captions(QStringLiteral("Dezenas (as sorteadas em negrito)"), QStringLiteral("Acertos"), false);
    const std::size_t listed = std::min<std::size_t>(c.prizes.winners.size(), kListLimit);
    for (std::size_t i = 0; i < listed; ++i) {
        const GamePrize& w = c.prizes.winners[i];
        const GameNumbers& g = c.games[w.game];
        addRow(Line::Game);
        rows_.setText(u"Jogo", QString::number(g.game));
        setNumbers(g, c.draw.mask);
        rows_.setText(u"Acertos", QString::number(w.hits));
        rows_.setText(u"Senas", QString::number(w.tiers.senas));
        rows_.setText(u"Quinas", QString::number(w.tiers.quinas));
        rows_.setText(u"Quadras", QString::number(w.tiers.quadras));
    }
    if (c.prizes.winners.empty())
        addRow(Line::Note, QStringLiteral("Nenhum jogo premiado neste concurso."));
    if (c.prizes.winners.size() > listed)
        addRow(Line::Note, QStringLiteral("Outros %1 jogos premiados não estão listados.")
                               .arg(count(static_cast<qint64>(c.prizes.winners.size() - listed))));
    addRow(Line::Total, QStringLiteral("Total dos prêmios"));
    rows_.setText(u"Senas", count(c.prizes.totals.senas));
    rows_.setText(u"Quinas", count(c.prizes.totals.quinas));
    rows_.setText(u"Quadras", count(c.prizes.totals.quadras));
    addRow(Line::Note,
           QStringLiteral("Jogos sem prêmio: %1 de %2.").arg(count(c.prizes.gamesWithout), count(games)));
    addRow(Line::Blank);

    // The whole history.
    addRow(Line::Section,
           QStringLiteral("Os jogos em toda a história: %1 concursos").arg(count(c.history.draws)));
    addRow(Line::Note, QStringLiteral("Em quantos concursos cada jogo teria ganho sena, quina e quadra; "
                                      "Último: o concurso mais recente com quadra ou mais."));
    captions(QStringLiteral("Dezenas"), QString(), true);
    const std::size_t inHistory = std::min<std::size_t>(c.history.winners.size(), kListLimit);
    for (std::size_t i = 0; i < inHistory; ++i) {
        const GameHistory& h = c.history.winners[i];
        const GameNumbers& g = c.games[h.game];
        addRow(Line::History);
        rows_.setText(u"Jogo", QString::number(g.game));
        setNumbers(g, 0);
        rows_.setText(u"Senas", QString::number(h.senaDraws));
        rows_.setText(u"Quinas", QString::number(h.quinaDraws));
        rows_.setText(u"Quadras", QString::number(h.quadraDraws));
        rows_.setText(u"Ultimo", QString::number(h.lastDraw));
    }
    if (c.history.winners.size() > inHistory)
        addRow(Line::Note, QStringLiteral("Outros %1 jogos com prêmio na história não estão listados.")
                               .arg(count(static_cast<qint64>(c.history.winners.size() - inHistory))));
    addRow(Line::Note, QStringLiteral("Jogos que nunca teriam ganho nada: %1 de %2.")
                           .arg(count(c.history.gamesWithout), count(games)));
    rows_.post();
}
