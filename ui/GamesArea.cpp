#include "GamesArea.h"

#include "FileNames.h"
#include "GamesCheck.h"
#include "GamesSummary.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "Schemas.h"
#include "TableGrid.h"
#include "Tables.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

// The games list: the games grid with its two orders, the check against the last draw, the
// deletion of a game, and the summary of what the games cost and how they are made.
GamesArea::GamesArea(const AreaContext& context)
    : ctx_(context), tables_(context.tables), services_(context.services), folder_(context.folder) {
    using namespace MenuLayout;
    ButtonDelJogo =
        button(ctx_.window, "ButtonDelJogo", QStringLiteral("Deleta o jogo marcado"), {206, 2, 160, 22});
    connect(ButtonDelJogo, &QPushButton::clicked, this, [this] { ButtonDelJogoClick(); });

    PanelJogos = panel(ctx_.window, "PanelJogos", {8, 26, 358, 330});
    QVector<TableModel::Column> columns{
        {QStringLiteral("Cartao"), QStringLiteral("Jogo"), Qt::AlignRight | Qt::AlignVCenter}};
    // The numbers' titles are their positions; a number that the last check found in the draw is
    // marked (its flag ad1 .. ad15 is "S").
    for (int i = 1; i <= 15; ++i)
        columns.append({QStringLiteral("d%1").arg(i),
                        QString::number(i),
                        Qt::AlignRight | Qt::AlignVCenter,
                        {},
                        false,
                        QStringLiteral("ad%1").arg(i)});
    columns.append(
        {QStringLiteral("Acertos"), QStringLiteral("Acertos"), Qt::AlignRight | Qt::AlignVCenter, {}, true});
    DBGrid2 = new TableGrid(new TableModel(tables_.TableCar, columns, ctx_.window), PanelJogos);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setGeometry(3, 3, 352, 298);
    DBGrid2->setReadOnly(false);
    // All 17 columns, a seven-digit game number and the check's hits fit without sideways
    // scrolling.
    QStringList samples{QStringLiteral("0000000")};
    for (int i = 0; i < 15; ++i)
        samples << QStringLiteral("00");
    samples << QStringLiteral("00");
    DBGrid2->fitColumns(samples, 8);
    DBGrid2->setErrorHandler([this](const QString& m) { showError(m); });

    RBJogo = radio(PanelJogos, "RBJogo", QStringLiteral("Ordem de jogo"), {6, 305, 130, 20});
    RBAcerto = radio(PanelJogos, "RBAcerto", QStringLiteral("Ordem de acertos"), {140, 305, 150, 20});
    RBJogo->setChecked(true);
    connect(RBJogo, &QRadioButton::clicked, this, [this] { RBJogoClick(); });
    connect(RBAcerto, &QRadioButton::clicked, this, [this] { RBJogoClick(); });

    Label41 = label(ctx_.window, "Label41", QStringLiteral("Total dos jogos:"), {8, 360, 200, 16}, Bold);
    MemoJogos = new QPlainTextEdit(ctx_.window);
    MemoJogos->setObjectName(QStringLiteral("MemoJogos"));
    MemoJogos->setGeometry(8, 376, 358, 250);
    MemoJogos->setReadOnly(true);
    MemoJogos->setLineWrapMode(QPlainTextEdit::NoWrap);
    buildCheckReport();
    buildPrice();
}

void GamesArea::RefreshGamesSummary() {
    MemoJogos->setPlainText(::RefreshGamesSummary(tables_.TableCar).join(QLatin1Char('\n')));
}

void GamesArea::ButtonResClick() {
    if (!ctx_.leaveDraw()) // the check moves the results to the draw it uses
        return;
    guarded([this] {
        if (const auto notice = CheckGamesWithLastDraw(tables_))
            services_.messages->inform(*notice);
        NoteCheckedDraw();
    });
}

void GamesArea::RBJogoClick() {
    SetGamesOrder(tables_.TableCar, RBJogo->isChecked() ? GamesOrder::ByGame : GamesOrder::ByHits);
}

void GamesArea::ButtonDelJogoClick() {
    guarded([this] {
        if (DeleteCurrentGame(tables_.TableCar, *services_.messages)) {
            RefreshGamesSummary();
            updateCheckReportButton();
        }
    });
}

void GamesArea::ClearGames() {
    guarded([this] {
        tables_.TableCar.close();
        FileNames::remove(folder_, Schemas::kGamesFile);
    });
    MemoJogos->clear();
    updateCheckReportButton();
    emit gamesCleared();
}

void GamesArea::showGameOrder() {
    RBJogo->setChecked(true);
}
