#pragma once

#include "AreaContext.h"
#include "PendingEdit.h"

#include <QObject>
#include <array>

class BoundLineEdit;
class Navigator;
class QFrame;
class QLineEdit;
class QPushButton;
class TableGrid;
struct NumberStatistics;

// The draw results: the read-only results grid, always visible, and the entry panel (PanelIns)
// where draws are looked up, added, corrected, deleted and imported.
class ResultsArea final : public QObject {
    Q_OBJECT

public:
    explicit ResultsArea(const AreaContext& context);
    ~ResultsArea() override;

    void ButtonInsClick();
    void EditConcExit();
    void DBEdit1Exit(int field);
    void DBNAtuClick();
    void ButtonSalvaClick();
    void ButtonExcluiClick();
    void ButtonSaiInClick();
    void ButtonAtuClick();
    void ButtonImportaClick();
    // Leaving the draw being typed (another draw, the navigator, the grid, "Sai", the close, an
    // operation that moves the results): a whole draw is stored; one typed only in part is never
    // stored, and the player is asked whether to discard it. False: the player stays in the draw.
    bool leaveDraw();
    // Stores the draw being typed as the close stores it: numbers the check refuses are dropped.
    void StorePendingDraw();

signals:
    // "Atualiza as estatísticas": the statistics are to be recomputed from the results.
    void recomputeRequested();
    // An import recomputed the statistics.
    void statisticsImported(const NumberStatistics& statistics);

private:
    // The texts of DBEdit1 .. DBEdit6.
    std::array<QString, 6> drawFieldTexts() const;
    // The first number field whose typed text the number check refuses, or null; a refused text
    // never reaches the table (the grid, "Salva", "Atualiza as estatísticas" and the close wait).
    BoundLineEdit* refusedDrawField() const;
    // False (and the focus back in the refused field) while a typed number is refused.
    bool drawNumbersAccepted();
    void discardDraft();
    // The focus into the first number field of the draw that is empty or refused.
    void focusIncompleteField();
    // Throws when TableRes is about to post a draw whose changed numbers are not whole.
    void refuseIncompleteDraw();
    // Asked by TableRes before it posts or leaves a row, after the number fields have set theirs.
    class IncompleteDrawGuard final : public PendingEdit {
    public:
        explicit IncompleteDrawGuard(ResultsArea& area) : area_(area) {}
        void storePendingEdit() override { area_.refuseIncompleteDraw(); }

    private:
        ResultsArea& area_;
    };
    IncompleteDrawGuard incompleteDrawGuard_{*this};

    const AreaContext& ctx_;
    // The window's state and rules under the names the handlers use.
    Tables& tables_;
    const MenuServices& services_;
    const QString& folder_;
    bool guarded(const std::function<void()>& op) { return ctx_.guarded(op); }
    void showError(const QString& text) { ctx_.showError(text); }
    bool checkingDrawNumber_ = false;
    TableGrid* GridRes = nullptr;
    QFrame* PanelIns = nullptr;
    QLineEdit* EditConc = nullptr;
    std::array<BoundLineEdit*, 6> DBEdit{};
    Navigator* DBNAtu = nullptr;
    QPushButton* ButtonSalva = nullptr;
    QPushButton* ButtonExclui = nullptr;
    QPushButton* ButtonAtu = nullptr;
    QPushButton* ButtonImporta = nullptr;
    QPushButton* ButtonSaiIn = nullptr;
};
