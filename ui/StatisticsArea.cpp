#include "StatisticsArea.h"

#include "MenuLayout.h"
#include "NamedColors.h"
#include "NumberStatistics.h"
#include "PreviewService.h"
#include "RecomputeStatistics.h"
#include "ReportForms.h"
#include "StatisticsOrder.h"
#include "TableGrid.h"
#include "Tables.h"

#include <QButtonGroup>

// The statistics: the weight legend beside the results, the statistics grid on the right with
// its four orders and its report, and the texts and colours they put on the board.
StatisticsArea::StatisticsArea(const AreaContext& context)
    : ctx_(context), tables_(context.tables), services_(context.services) {
    using namespace MenuLayout;
    Panel1 = panel(ctx_.window, "Panel1", {804, 330, 118, 152});
    label(Panel1, "Label2", QStringLiteral("Desempenho"), {4, 4, 110, 14}, Bold | Centered);
    label(Panel1, "Label1", QStringLiteral("das dezenas"), {4, 18, 110, 14}, Bold | Centered);
    const struct {
        const char* count;
        const char* caption;
        QString text;
        quint32 color;
    } rows[5] = {{"LabelRed", "Label3", QStringLiteral("fracas"), clRed},
                 {"LabelFuc", "Label4", QStringLiteral("a desejar"), clFuchsia},
                 {"LabelBlue", "Label5", QStringLiteral("regulares"), clBlue},
                 {"LabelMaroon", "Label6", QStringLiteral("acima da média"), clMaroon},
                 {"LabelBlack", "Label7", QStringLiteral("excepcionais"), clBlack}};
    for (int i = 0; i < 5; ++i) {
        QLabel* count =
            label(Panel1, rows[i].count, QStringLiteral("0"), {4, 38 + i * 22, 22, 18}, Bold | Centered);
        count->setAutoFillBackground(true);
        QPalette p = count->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(rows[i].color));
        p.setColor(QPalette::WindowText, QColor(255, 255, 0));
        count->setPalette(p);
        classCounts_[static_cast<std::size_t>(i)] = count;
        label(Panel1, rows[i].caption, rows[i].text, {29, 38 + i * 22, 86, 18});
    }
    LabelMedia =
        label(ctx_.window, "LabelMedia", QStringLiteral("Saída média por dezena ="), {660, 312, 228, 16});
    LabelMedia->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Panel4 = panel(ctx_.window, "Panel4", {926, 22, 240, 604});
    auto* model =
        new TableModel(tables_.TableSaidas,
                       {{QStringLiteral("Dezena"), QStringLiteral("Dez."), Qt::AlignCenter},
                        {QStringLiteral("Saidas"), QStringLiteral("Não Sai"), Qt::AlignCenter},
                        {QStringLiteral("Demora"), QStringLiteral("Demora"), Qt::AlignCenter},
                        {QStringLiteral("MaiorDemora"), QStringLiteral("M.Demora"), Qt::AlignCenter}},
                       ctx_.window);
    DBGrid1 = new TableGrid(model, Panel4);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(4, 4, 232, 436);
    DBGrid1->setReadOnly(true);
    DBGrid1->setColumnWidths({40, 52, 52, 64});
    DBGrid1->setErrorHandler([this](const QString& m) { showError(m); });

    label(Panel4, "Label45", QStringLiteral("Ordem das dezenas:"), {6, 446, 200, 16}, Bold);
    RBDezena = radio(Panel4, "RBDezena", QStringLiteral("Número da dezena"), {6, 464, 228, 20});
    RBSaidas = radio(Panel4, "RBSaidas", QStringLiteral("Concursos que não sai"), {6, 484, 228, 20});
    RBDemora = radio(Panel4, "RBDemora", QStringLiteral("Por última demora a sair"), {6, 504, 228, 20});
    RBMaiorDemora =
        radio(Panel4, "RBMaiorDemora", QStringLiteral("Pela maior demora histórica"), {6, 524, 228, 20});
    RBDezena->setChecked(true);
    for (QRadioButton* rb : {RBDezena, RBSaidas, RBDemora, RBMaiorDemora})
        connect(rb, &QRadioButton::clicked, this, [this] { RBDezenaClick(); });
    BitBtn2 = button(Panel4, "BitBtn2", QStringLiteral("Imprime"), {6, 556, 110, 30});
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void StatisticsArea::RecomputeStatisticsAndShow() {
    guarded([this] {
        statistics_ = std::make_unique<NumberStatistics>(RecomputeStatistics(tables_));
        showStatistics();
    });
}

StatisticsArea::~StatisticsArea() = default;

void StatisticsArea::show(const NumberStatistics& s) {
    statistics_ = std::make_unique<NumberStatistics>(s);
    showStatistics();
}

void StatisticsArea::showStatistics() {
    const NumberStatistics& s = *statistics_;
    emit statisticsShown(s);
    for (int c = 1; c <= 5; ++c)
        classCounts_[static_cast<std::size_t>(c - 1)]->setText(s.classCountText(c));
    LabelMedia->setText(s.mediaText());
}

void StatisticsArea::RBDezenaClick() {
    const StatsOrder order = RBSaidas->isChecked()        ? StatsOrder::Saidas
                             : RBDemora->isChecked()      ? StatsOrder::Demora
                             : RBMaiorDemora->isChecked() ? StatsOrder::MaiorDemora
                                                          : StatsOrder::Dezena;
    guarded([&] { OrderStatistics(tables_, order); });
}

void StatisticsArea::BitBtn2Click() {
    if (!ctx_.leaveDraw()) // the title moves the results to their last draw
        return;
    guarded([this] {
        BuildStatisticsReport(tables_);
        // The grid goes back to ascending numbers with RBDezena selected.
        if (!RBDezena->isChecked()) {
            RBDezena->setChecked(true);
            RBDezenaClick();
        }
        services_.reports->FormRelSai.setTitle(StatisticsReportTitle(tables_.TableRes));
        services_.previews->preview(services_.reports->FormRelSai.layout(), tables_.TableRelSai);
        tables_.TableRelSai.close();
    });
}
