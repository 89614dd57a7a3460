#include "CheckReport.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kBandWidth = 190.0;
constexpr double kLineHeight = 4.6;
constexpr double kSectionHeight = 8.0;
constexpr double kTextTop = 0.3;
constexpr double kTextHeight = 4.0;
// A section's heading stands low in its taller band, so that a gap separates it from the lines above.
constexpr double kHeadingTop = 2.6;
constexpr double kHeadingHeight = 5.0;

// The columns of the lines, left edge and width in mm from the band's left edge. The numbers
// stand at the same place in both sections; the columns after them differ: hits, tiers and the
// prize in the draw checked; draws won per tier, the last one, and won, spent and balance in the
// history.
struct Column {
    const char* element;
    double left, width;
    bool money;
};
constexpr double kNumbersLeft = 17.0;
constexpr double kNumberStep = 5.2;
const Column kJogo{"Jogo", 0.0, 14.0, false};
const std::array<Column, 5> kDrawColumns{{{"Acertos", 96.0, 13.0, false},
                                          {"Senas", 109.0, 12.0, false},
                                          {"Quinas", 121.0, 12.0, false},
                                          {"Quadras", 133.0, 14.0, false},
                                          {"Premio", 149.0, 41.0, true}}};
const std::array<Column, 7> kHistoryColumns{{{"Senas", 96.0, 10.0, false},
                                             {"Quinas", 106.0, 10.5, false},
                                             {"Quadras", 116.5, 12.0, false},
                                             {"Ultimo", 128.5, 10.5, false},
                                             {"Ganho", 139.0, 19.0, true},
                                             {"Gasto", 158.0, 14.0, true},
                                             {"Saldo", 172.0, 18.0, true}}};
const std::array<const char*, 9> kColumnElements{"Acertos", "Senas", "Quinas", "Quadras", "Premio",
                                                 "Ultimo",  "Ganho", "Gasto",  "Saldo"};

// The chart: gridlines and their labels (at most kTicks), the draw numbers under it.
constexpr int kTicks = 8;
constexpr int kDrawLabels = 5;
const QColor kGrid(205, 205, 205);
const QColor kZero(110, 110, 110);

const ReportFont kLineFont{QStringLiteral("Arial"), 9, false};
const ReportFont kChartFont{QStringLiteral("Arial"), 7, false};

QString two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString count(qint64 n) {
    return QLocale().toString(n);
}

// "1 sena", "2 quinas e 5 quadras": the tiers that hold any bet.
QString tierCounts(const PrizeTiers& t) {
    QStringList parts;
    const auto add = [&](qint64 n, const char* one, const char* many) {
        if (n > 0)
            parts << count(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
    };
    add(t.senas, "sena", "senas");
    add(t.quinas, "quina", "quinas");
    add(t.quadras, "quadra", "quadras");
    if (parts.size() < 2)
        return parts.join(QString());
    const QString last = parts.takeLast();
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

// A step between gridlines of 1, 2 or 5 times a power of ten reais that gives at most six steps.
Centavos tickStep(Centavos span) {
    Centavos step = 100;
    for (;;)
        for (const Centavos m : {1, 2, 5})
            if (span <= 6 * step * m)
                return step * m;
            else if (m == 5)
                step *= 10;
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
    // Every column once; setUpBand puts each where the row's section has it.
    for (const char* c : kColumnElements)
        layout_.add(detail, ReportElement::dbText(QLatin1String(c), QRectF(0.0, kTextTop, 10.0, kTextHeight),
                                                  QLatin1String(c), kLineFont, centred));

    // The chart's elements, empty on every other line.
    const QRectF area = chartArea();
    for (int i = 0; i < kTicks; ++i) {
        layout_.add(detail, ReportElement::path(QStringLiteral("GraficoGrade%1").arg(i), area, kGrid, 0.2));
        layout_.add(detail, ReportElement::label(QStringLiteral("GraficoY%1").arg(i), QRectF(), QString(),
                                                 kChartFont, Qt::AlignRight | Qt::AlignVCenter));
    }
    for (int i = 0; i < kDrawLabels; ++i)
        layout_.add(detail, ReportElement::label(QStringLiteral("GraficoX%1").arg(i), QRectF(), QString(),
                                                 kChartFont, Qt::AlignHCenter | Qt::AlignTop));
    layout_.add(detail, ReportElement::path(QStringLiteral("GraficoZero"), area, kZero, 0.35));
    layout_.add(detail, ReportElement::path(QStringLiteral("GraficoSaldo"), area.adjusted(0, -1, 0, 1),
                                            balanceColor(), 0.6));
    layout_.add(detail, ReportElement::path(QStringLiteral("GraficoMoldura"), area.adjusted(0, 0, 0.2, 0.2),
                                            Qt::black, 0.3));
    layout_.add(detail, ReportElement::label(QStringLiteral("GraficoTitulo"),
                                             QRectF(0.0, kHeadingTop, kBandWidth, kHeadingHeight), QString(),
                                             ReportFont{QStringLiteral("Arial"), 11, true}));
    layout_.add(detail, ReportElement::label(QStringLiteral("GraficoLegenda"),
                                             QRectF(area.left(), area.bottom() + 6.0, area.width(), 4.0),
                                             QString(), ReportFont{QStringLiteral("Arial"), 8, false},
                                             Qt::AlignHCenter | Qt::AlignTop));

    FieldList fields{FieldDef::integer(QStringLiteral("Tipo")), FieldDef::integer(QStringLiteral("Secao")),
                     FieldDef::string(QStringLiteral("Texto"), 160),
                     FieldDef::string(QStringLiteral("Jogo"), 20),
                     FieldDef::string(QStringLiteral("Dezenas"), 40)};
    for (int p = 1; p <= 15; ++p)
        fields.push_back(FieldDef::string(numberElement(p), 3));
    for (const char* c : kColumnElements)
        fields.push_back(FieldDef::string(QLatin1String(c), 24));
    fields.push_back(FieldDef::string(QStringLiteral("Negrito"), 15));
    rows_.defineFields(std::move(fields));
    rows_.create(); // in memory only: the table is never opened from or closed to a file
    tipo_ = rows_.fieldIndex(u"Tipo");
    secao_ = rows_.fieldIndex(u"Secao");
    negrito_ = rows_.fieldIndex(u"Negrito");
}

void CheckReport::addRow(Line kind, const QString& text) {
    rows_.insert();
    rows_.setInteger(tipo_, static_cast<int>(kind));
    rows_.setInteger(secao_, static_cast<int>(part_));
    if (!text.isEmpty())
        rows_.setText(u"Texto", text);
}

void CheckReport::setUpBand(ReportBand& band, const Table& rows) const {
    const auto el = [&](QStringView name) -> ReportElement& { return layout_.elementIn(band, name); };
    const auto kind = static_cast<Line>(rows.intValue(tipo_).value_or(0));
    const auto part = static_cast<Part>(rows.intValue(secao_).value_or(0));
    band.height = kind == Line::Section ? kSectionHeight : kind == Line::Chart ? kChartHeight : kLineHeight;
    band.frame = kind == Line::Captions ? FrameBottom : kind == Line::Total ? FrameTop : FrameNone;

    const bool strong = kind == Line::Section || kind == Line::Captions || kind == Line::Total;
    for (const char* name : {"Texto", "Jogo", "Dezenas"})
        el(QString::fromLatin1(name)).font.bold = strong;
    for (const char* name : kColumnElements)
        el(QString::fromLatin1(name)).font.bold = strong;
    const auto place = [&](const auto& columns) {
        for (const Column& c : columns) {
            ReportElement& e = el(QString::fromLatin1(c.element));
            e.rect = QRectF(c.left, kTextTop, c.width, kTextHeight);
            e.alignment =
                (c.money && kind != Line::Captions ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop;
        }
    };
    if (part == Part::History)
        place(kHistoryColumns);
    else
        place(kDrawColumns);
    ReportElement& text = el(u"Texto");
    text.font.pointSize = kind == Line::Section ? 11 : 9;
    text.rect.moveTop(kind == Line::Section ? kHeadingTop : kTextTop);
    text.rect.setHeight(kind == Line::Section ? kHeadingHeight : kTextHeight);

    // The numbers drawn stand out in bold in the lines of the draw checked.
    const QString hits = kind == Line::Game ? rows.text(negrito_) : QString();
    for (int p = 1; p <= 15; ++p)
        el(numberElement(p)).font.bold =
            kind == Line::Captions || (p <= hits.size() && hits.at(p - 1) == QLatin1Char('S'));
    setUpChart(band, kind == Line::Chart);
}

// The chart of the balance: one point before the first draw with known prizes (nothing won or
// spent yet) and one after each, over gridlines at round amounts of reais.
void CheckReport::setUpChart(ReportBand& band, bool shown) const {
    const auto el = [&](QStringView name) -> ReportElement& { return layout_.elementIn(band, name); };
    const QRectF area = chartArea();
    // Every other line leaves the chart's elements as the layout has them: empty.
    if (!shown || balance_.empty())
        return;

    Centavos low = 0, high = 0;
    for (const BalancePoint& b : balance_) {
        low = std::min(low, b.balance);
        high = std::max(high, b.balance);
    }
    const Centavos step = tickStep(std::max<Centavos>(high - low, 100));
    // The axis runs from a gridline at or below the lowest balance to one at or above the highest.
    const Centavos bottom = low >= 0 ? 0 : -(((-low) + step - 1) / step) * step;
    const Centavos top = high <= 0 ? 0 : ((high + step - 1) / step) * step;
    const double span = static_cast<double>(std::max<Centavos>(top - bottom, 1));
    const auto y = [&](Centavos c) { return area.height() * static_cast<double>(top - c) / span; };
    const auto points = static_cast<double>(balance_.size());
    const auto x = [&](std::size_t position) {
        return area.width() * static_cast<double>(position) / points;
    };

    int tick = 0;
    for (Centavos c = bottom; c <= top && tick < kTicks; c += step, ++tick) {
        const double at = y(c);
        el(QStringLiteral("GraficoGrade%1").arg(tick)).points = {QPointF(0, at), QPointF(area.width(), at)};
        ReportElement& label = el(QStringLiteral("GraficoY%1").arg(tick));
        label.rect = QRectF(0.0, area.top() + at - 2.0, area.left() - 1.5, 4.0);
        label.text = FormatMoney(c);
    }
    const double zero = y(0);
    el(u"GraficoZero").points = {QPointF(0, zero), QPointF(area.width(), zero)};
    el(u"GraficoMoldura").points = {QPointF(0, 0), QPointF(area.width(), 0),
                                    QPointF(area.width(), area.height()), QPointF(0, area.height()),
                                    QPointF(0, 0)};
    QPolygonF curve;
    curve.reserve(static_cast<qsizetype>(balance_.size() + 1));
    curve << QPointF(0, zero + 1.0); // the curve's box stands 1 mm above and below the area
    for (std::size_t i = 0; i < balance_.size(); ++i)
        curve << QPointF(x(i + 1), y(balance_[i].balance) + 1.0);
    el(u"GraficoSaldo").points = curve;

    const std::size_t last = balance_.size() - 1;
    for (int i = 0; i < kDrawLabels; ++i) {
        const std::size_t at = last * static_cast<std::size_t>(i) / (kDrawLabels - 1);
        if (i > 0 && at == last * static_cast<std::size_t>(i - 1) / (kDrawLabels - 1))
            continue; // fewer draws than labels
        ReportElement& label = el(QStringLiteral("GraficoX%1").arg(i));
        const double centre = area.left() + x(at + 1);
        label.rect = QRectF(centre - 10.0, area.bottom() + 1.0, 20.0, 4.0);
        label.text = QString::number(balance_[at].concurso);
    }
    el(u"GraficoTitulo").text = QStringLiteral("O saldo dos jogos concurso a concurso");
    el(u"GraficoLegenda").text = QStringLiteral(
        "Saldo acumulado (R$) de todos os jogos depois de cada concurso com prêmios conhecidos");
}

RowPainter CheckReport::rowPainter() const {
    return [this](ReportBand& band, const Table& rows) { setUpBand(band, rows); };
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
    part_ = Part::Draw;
    balance_ = c.history.balance;
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
    const auto captions = [&](const QString& numbers,
                              const std::vector<std::pair<const char*, QString>>& cells) {
        addRow(Line::Captions);
        rows_.setText(u"Jogo", QStringLiteral("Jogo"));
        rows_.setText(u"Dezenas", numbers);
        for (const auto& [element, caption] : cells)
            rows_.setText(QString::fromLatin1(element), caption);
    };
    const qint64 games = static_cast<qint64>(c.games.size());

    // The draw checked.
    addRow(Line::Section, QStringLiteral("Prêmios dos jogos no concurso %1").arg(c.draw.concurso));
    captions(QStringLiteral("Dezenas (as sorteadas em negrito)"),
             {{"Acertos", QStringLiteral("Acertos")},
              {"Senas", QStringLiteral("Senas")},
              {"Quinas", QStringLiteral("Quinas")},
              {"Quadras", QStringLiteral("Quadras")},
              {"Premio", QStringLiteral("Prêmio (R$)")}});
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
        if (c.drawPrices)
            rows_.setText(u"Premio", FormatMoney(WinningsOf(w.tiers, *c.drawPrices).amount));
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
    const std::optional<Winnings> drawWon =
        c.drawPrices ? std::optional<Winnings>(WinningsOf(c.prizes.totals, *c.drawPrices)) : std::nullopt;
    rows_.setText(u"Premio", drawWon ? FormatMoney(drawWon->amount) : QStringLiteral("não conhecido"));
    if (!drawWon)
        addRow(Line::Note,
               QStringLiteral("Os prêmios do concurso %1 não são conhecidos: importe um arquivo de "
                              "resultados que traga os rateios.")
                   .arg(c.draw.concurso));
    else if (drawWon->unpaid.any())
        addRow(Line::Note,
               QStringLiteral("Faixas que ninguém ganhou no concurso não entram na soma (o prêmio "
                              "acumulou): %1.")
                   .arg(tierCounts(drawWon->unpaid)));
    addRow(Line::Note,
           QStringLiteral("Jogos sem prêmio: %1 de %2.").arg(count(c.prizes.gamesWithout), count(games)));
    addRow(Line::Blank);

    // The whole history.
    part_ = Part::History;
    const bool priced = c.history.pricedDraws > 0;
    addRow(Line::Section,
           QStringLiteral("Os jogos em toda a história: %1 concursos").arg(count(c.history.draws)));
    addRow(Line::Note, QStringLiteral("Em quantos concursos cada jogo teria ganho sena, quina e quadra; "
                                      "Último: o concurso mais recente com quadra ou mais."));
    if (priced)
        addRow(Line::Note,
               QStringLiteral("Ganho e gasto nos %1 concursos com prêmios conhecidos, a %2 a aposta "
                              "simples; Saldo: ganho menos gasto.")
                   .arg(count(c.history.pricedDraws), FormatMoney(c.betPrice)));
    else
        addRow(Line::Note, QStringLiteral("Nenhum concurso tem os prêmios conhecidos: importe um arquivo de "
                                          "resultados que traga os rateios para ver quanto os jogos teriam "
                                          "ganho."));
    std::vector<std::pair<const char*, QString>> historyCaptions{{"Senas", QStringLiteral("Senas")},
                                                                 {"Quinas", QStringLiteral("Quinas")},
                                                                 {"Quadras", QStringLiteral("Quadras")},
                                                                 {"Ultimo", QStringLiteral("Último")}};
    if (priced) {
        historyCaptions.emplace_back("Ganho", QStringLiteral("Ganho (R$)"));
        historyCaptions.emplace_back("Gasto", QStringLiteral("Gasto (R$)"));
        historyCaptions.emplace_back("Saldo", QStringLiteral("Saldo (R$)"));
    }
    captions(QStringLiteral("Dezenas"), historyCaptions);
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
        if (priced) {
            rows_.setText(u"Ganho", FormatMoney(h.won));
            rows_.setText(u"Gasto", FormatMoney(h.spent));
            rows_.setText(u"Saldo", FormatMoney(h.balance()));
        }
    }
    if (c.history.winners.size() > inHistory)
        addRow(Line::Note, QStringLiteral("Outros %1 jogos com prêmio na história não estão listados.")
                               .arg(count(static_cast<qint64>(c.history.winners.size() - inHistory))));
    if (priced) {
        addRow(Line::Total, QStringLiteral("Total de todos os jogos"));
        rows_.setText(u"Ganho", FormatMoney(c.history.won));
        rows_.setText(u"Gasto", FormatMoney(c.history.spent));
        rows_.setText(u"Saldo", FormatMoney(c.history.balanceTotal()));
        if (c.history.unpaid.any())
            addRow(Line::Note, QStringLiteral("Faixas que ninguém ganhou no concurso não entram na soma (o "
                                              "prêmio acumulou): %1.")
                                   .arg(tierCounts(c.history.unpaid)));
    }
    addRow(Line::Note, QStringLiteral("Jogos que nunca teriam ganho nada: %1 de %2.")
                           .arg(count(c.history.gamesWithout), count(games)));
    if (priced) {
        addRow(Line::Blank);
        addRow(Line::Chart);
    }
    rows_.post();
}
