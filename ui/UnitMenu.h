#pragma once

#include "BoardArea.h"
#include "GamesArea.h"
#include "GenerationArea.h"
#include "MenuServices.h"
#include "PrintingArea.h"
#include "ResultsArea.h"
#include "StatisticsArea.h"
#include "Tables.h"
#include "TutorialArea.h"

#include <QWidget>
#include <functional>
#include <memory>

class NumberBoard;
struct AreaContext;

// The main window: it owns the tables, the number board and DurableWork, and composes the areas
// (results, board, statistics, games, generation, printing, tutorial), each a class that owns its
// controls and the state only it needs. The window keeps the column of commands between the games
// and the board, and every handler by its name as a one-line call into the area that does it; what
// one area needs of another goes through the calls and signals the window wires between them.
class TFormMenu : public QWidget {
    Q_OBJECT

public:
    // Runs the start-up (FormCreate) in `folder`, the working folder of every table file.
    TFormMenu(const QString& folder, MenuServices services, QWidget* parent = nullptr);
    ~TFormMenu() override;

    Tables& tables() { return tables_; }
    // The report forms, when they are created after the window (as the program does).
    void attachReports(ReportForms* reports) { services_.reports = reports; }
    NumberBoard& board() { return *board_; }
    // The size the controls are laid out on; the window is that size unless the screen is smaller.
    static constexpr QSize kContentSize{1171, 631};
    // Makes the window no larger than the screen's free area (its content then scrolls), at its
    // top-left corner.
    void fitToScreen();
    // The controls of the 60 numbers by their composed names ("P7", "d12", "W60", "g5"),
    // matched without regard to letter case.
    QWidget* numberControl(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildShell();
    void putContentInScrollArea();
    // Enter in an entry field moves the focus on, as Tab does.
    void SaiEnter(QWidget* field);
    // Runs `exit` when the focus leaves `field` for another control of this window (FocusExit's
    // rule), never while the window closes.
    void watchExit(QWidget* field, std::function<void()> exit);

    // --- start-up and shutdown
    void FormCreate();
    void FormClose();
    void LoadDiscardedAndShow();
    void SaveDiscardedAndReport();
    void StorePendingDraw();
    // Runs an operation; any exception it throws ends it with a Portuguese message box
    // (operationFailureText) instead of escaping, and the program goes on. When the outermost one
    // ends, the player's work is committed (see DurableWork).
    bool guarded(const std::function<void()>& op);
    // Puts every change of the player's data on disk: the discarded numbers when they differ from
    // the file, then the changes of the player's tables; each failure is shown naming its file.
    void commitPlayerWork();
    void showError(const QString& text);

    // --- the handlers, each in the area that does it
    // tutorial
    void ButtonTutorialClick() { tutorial_->ButtonTutorialClick(); }
    void ButtonSaiClick() { tutorial_->ButtonSaiClick(); }
    void LabelTabelaClick() { tutorial_->LabelTabelaClick(); }
    void LabelTabelaMouseMove() { tutorial_->LabelTabelaMouseMove(); }
    void LabelTabelaMouseLeave() { tutorial_->LabelTabelaMouseLeave(); }
    // draw results
    void ButtonInsClick() { results_->ButtonInsClick(); }
    void EditConcExit() { results_->EditConcExit(); }
    void DBEdit1Exit(int field) { results_->DBEdit1Exit(field); }
    void DBNAtuClick() { results_->DBNAtuClick(); }
    void ButtonSalvaClick() { results_->ButtonSalvaClick(); }
    void ButtonExcluiClick() { results_->ButtonExcluiClick(); }
    void ButtonSaiInClick() { results_->ButtonSaiInClick(); }
    void ButtonAtuClick() { results_->ButtonAtuClick(); }
    void ButtonImportaClick() { results_->ButtonImportaClick(); }
    bool leaveDraw() { return results_->leaveDraw(); }
    // board and statistics
    void ToggleCellPressed(int n, Qt::MouseButton button) { boardArea_->ToggleCellPressed(n, button); }
    void ButtonInverteClick() { boardArea_->ButtonInverteClick(); }
    void ButtonLimpaClick();
    void UpdateBoardCounts() { boardArea_->UpdateBoardCounts(); }
    void RecomputeStatisticsAndShow() { statistics_->RecomputeStatisticsAndShow(); }
    void RBDezenaClick() { statistics_->RBDezenaClick(); }
    void BitBtn2Click() { statistics_->BitBtn2Click(); }
    // games, the check report and the price of a bet
    void RefreshGamesSummary() { games_->RefreshGamesSummary(); }
    void ClearGames() { games_->ClearGames(); }
    void ButtonResClick() { games_->ButtonResClick(); }
    void RBJogoClick() { games_->RBJogoClick(); }
    void ButtonDelJogoClick() { games_->ButtonDelJogoClick(); }
    void NoteCheckedDraw() { games_->NoteCheckedDraw(); }
    void updateCheckReportButton() { games_->updateCheckReportButton(); }
    void ButtonRelConfClick() { games_->ButtonRelConfClick(); }
    void LoadBetPriceInForce() { games_->LoadBetPriceInForce(); }
    void ButtonPrecoClick() { games_->ButtonPrecoClick(); }
    // generation and the editor of dealt games
    void ButtonGeraClick() { generation_->ButtonGeraClick(); }
    void RBDistribuiClick() { generation_->RBDistribuiClick(); }
    void RBAleaClick() { generation_->RBAleaClick(); }
    void RBCombinaClick() { generation_->RBCombinaClick(); }
    void RBCancelaClick() { generation_->RBCancelaClick(); }
    void RBFechaClick() { generation_->RBFechaClick(); }
    void ButtonOKGeraClick() { generation_->ButtonOKGeraClick(); }
    void ButtonCanDistribuiClick() { generation_->ButtonCanGeraClick(); }
    void ButtonCanGeraClick() { generation_->ButtonCanGeraClick(); }
    void EditDezJogoExit() { generation_->EditDezJogoExit(); }
    void ButtonOKAleaClick() { generation_->ButtonOKAleaClick(); }
    void ButtonCanAleaClick() { generation_->ButtonCanGeraClick(); }
    void ButtonOKCombClick() { generation_->ButtonOKCombClick(); }
    void ButtonCalcCombClick() { generation_->ButtonCalcCombClick(); }
    void ButtonGeraJClick() { generation_->ButtonGeraJClick(); }
    void ButtonCanGeraJClick() { generation_->ButtonCanGeraJClick(); }
    // printing
    void ButtonImpClick() { printing_->ButtonImpClick(); }
    void RBCartClick(PrintingArea::SlipPaper paper) { printing_->RBCartClick(paper); }
    void RBRelClick() { printing_->RBRelClick(); }
    void ButtonCalibraClick() { printing_->ButtonCalibraClick(); }

    QString folder_;
    MenuServices services_;
    Tables tables_;
    std::unique_ptr<NumberBoard> board_;
    bool closing_ = false;
    class DurableWork* durable_ = nullptr;
    QList<int> savedDiscards_; // the discarded numbers "Desprezadas.cds" holds
    QList<int> savedFixed_;    // the fixed numbers "Fixas.cds" holds

    // The areas, built in this order (the order of their controls, and so of the Tab key).
    std::unique_ptr<AreaContext> context_;
    std::unique_ptr<ResultsArea> results_;
    std::unique_ptr<BoardArea> boardArea_;
    std::unique_ptr<StatisticsArea> statistics_;
    std::unique_ptr<GamesArea> games_;
    std::unique_ptr<GenerationArea> generation_;
    std::unique_ptr<PrintingArea> printing_;
    std::unique_ptr<TutorialArea> tutorial_;
};
