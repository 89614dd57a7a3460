#include "CheckReport.h"
#include "DrawPrizes.h"
#include "GamePrice.h"
#include "GamePrizes.h"
#include "GamesArea.h"
#include "GamesCheck.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "PreviewService.h"
#include "RunProgress.h"
#include "Table.h"
#include "Tables.h"

#include <QPushButton>

// The check report: which prizes each game won in the draw of the last check, and how each game
// would have fared in every draw of the results, in reais where "Premios.cds" knows the prizes. It
// only reads the games, the results and the prizes; its lines are kept in memory.
void GamesArea::buildCheckReport() {
    using namespace MenuLayout;
    // Under the column of commands that holds "Conferindo os resultados", in the same style.
    ButtonRelConf =
        button(ctx_.window, "ButtonRelConf", QStringLiteral("Relatório da conferência"), {370, 264, 126, 34});
    QFont bf = ButtonRelConf->font();
    bf.setPixelSize(10);
    ButtonRelConf->setFont(bf);
    ButtonRelConf->setEnabled(false);
    connect(ButtonRelConf, &QPushButton::clicked, this, [this] { ButtonRelConfClick(); });
}

void GamesArea::NoteCheckedDraw() {
    // A check ran when there were games to check and a complete draw to check them against.
    if (tables_.TableCar.fileExists())
        if (const auto draw = LastDraw(tables_.TableRes))
            checkedDraw_ = *draw;
    updateCheckReportButton();
}

void GamesArea::updateCheckReportButton() {
    // The hits are kept with the games, so the report is there as long as they are, after a
    // restart too; its draw is then found again from the hits.
    const bool hits = tables_.TableCar.isOpen() && GamesHoldHits(tables_.TableCar);
    if (!hits)
        checkedDraw_.reset();
    ButtonRelConf->setEnabled(hits);
}

void GamesArea::ButtonRelConfClick() {
    if (!services_.previews)
        return;
    guarded([this] {
        const std::vector<GameNumbers> games = ReadGames(tables_.TableCar);
        const std::vector<ResultDraw> draws = ReadDraws(tables_.TableRes);
        if (!checkedDraw_)
            checkedDraw_ = DrawOfStoredHits(tables_.TableCar, draws);
        if (!checkedDraw_) {
            services_.messages->inform(
                {QStringLiteral("Relatório da conferência"),
                 QStringLiteral("Os acertos dos jogos não são os de nenhum concurso cadastrado. Confira os "
                                "jogos de novo em \"Conferindo os resultados\".")});
            return;
        }
        // What the draws paid, where an imported file gave it, and today's price of a bet.
        const std::vector<DrawPayout> payouts = LoadDrawPayouts(folder_);
        const std::vector<std::optional<TierPrices>> prices = PricesOfDraws(draws, payouts);
        const std::array<ResultDraw, 1> checked{*checkedDraw_};
        const std::optional<TierPrices> checkedPrices = PricesOfDraws(checked, payouts).front();
        std::optional<HistoryPrizes> history;
        {
            RunProgress progress(ctx_.window,
                                 {QStringLiteral("ProgressConf"), QStringLiteral("Relatório da conferência"),
                                  QStringLiteral("Conferindo os jogos em todos os concursos...\n"
                                                 "Jogos com prêmio até agora: %1")});
            history = PrizesInHistory(games, draws, progress, {prices, SimpleBetPrice()});
        }
        if (!history)
            return; // cancelled: nothing to show
        CheckReport report;
        report.fill({*checkedDraw_, games, PrizesOfDraw(games, checkedDraw_->mask), std::move(*history),
                     checkedPrices, SimpleBetPrice()});
        services_.previews->preview(report.layout(), report.rows(), report.rowPainter());
    });
}
