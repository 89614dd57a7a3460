#pragma once

#include "AreaContext.h"
#include "GamePrizes.h"

#include <QObject>
#include <optional>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TableGrid;

// The games: the games grid (PanelJogos) with its two orders, the check against the last draw and
// its report, the deletion of a game, the summary of what the games cost and the price of a bet
// that summary uses.
class GamesArea final : public QObject {
    Q_OBJECT

public:
    explicit GamesArea(const AreaContext& context);

    void RefreshGamesSummary();
    // Empties the games list: the table is closed and its file removed (`gamesCleared`).
    void ClearGames();
    void ButtonResClick();
    void RBJogoClick();
    void ButtonDelJogoClick();
    // The grid shows the games in game order, the order every generator appends in.
    void showGameOrder();

    // --- check report (GamesAreaCheckReport.cpp)
    void NoteCheckedDraw();
    // Enabled while the games hold the hits of a check.
    void updateCheckReportButton();
    void ButtonRelConfClick();

    // --- price of a simple bet (GamesAreaPrice.cpp)
    void LoadBetPriceInForce();
    void ButtonPrecoClick();

signals:
    void gamesCleared();

private:
    void buildCheckReport();
    void buildPrice();

    const AreaContext& ctx_;
    // The window's state and rules under the names the handlers use.
    Tables& tables_;
    const MenuServices& services_;
    const QString& folder_;
    bool guarded(const std::function<void()>& op) { return ctx_.guarded(op); }
    void showError(const QString& text) { ctx_.showError(text); }
    QFrame* PanelJogos = nullptr;
    TableGrid* DBGrid2 = nullptr;
    QRadioButton* RBJogo = nullptr;
    QRadioButton* RBAcerto = nullptr;
    QPushButton* ButtonDelJogo = nullptr;
    QLabel* Label41 = nullptr;
    QPlainTextEdit* MemoJogos = nullptr;
    QPushButton* ButtonRelConf = nullptr;
    std::optional<ResultDraw> checkedDraw_; // the draw of the games' hits, once known
    QPushButton* ButtonPreco = nullptr;
};
