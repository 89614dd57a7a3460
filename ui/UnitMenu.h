#pragma once

#include "GamePrizes.h"
#include "SlipMarks.h"
#include "Tables.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class BoundLineEdit;
class MessageBoxes;
class Navigator;
class NumberBoard;
class NumberCell;
class NumberChip;
class PreviewService;
struct ReportForms;
class TableGrid;
class WheelPanel;
class DistributionEditor;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
struct NumberStatistics;

// What the main window needs from the outside world, so that tests can stand in for it.
struct MenuServices {
    MessageBoxes* messages = nullptr;
    PreviewService* previews = nullptr;
    ReportForms* reports = nullptr;
    // Seeds each random generation run; the program seeds from the clock.
    std::function<quint64()> randomSeed;
    // Opens the help page in the web browser.
    std::function<void(const QString& path)> openBrowser;
    // Asks for the results file to import, opening in `folder`; empty when the player cancels.
    // Unset: the program's own file dialog (ChooseResultsFile).
    std::function<QString(QWidget* parent, const QString& folder)> chooseResultsFile;
};

// The main window: it owns every control and every table of the program and runs every operation
// from its handlers. The state lives in models (the tables, the number board, the editor's
// groups); each handler is a thin call into a logic operation, and the window shows the result.
// Its construction is split by area, one source file each (UnitMenu*.cpp).
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
    // --- construction, by area
    void buildShell();
    void buildTutorial();
    void buildResults();
    void buildBoard();
    void buildStatistics();
    void buildGames();
    void buildGeneration();
    void buildEditor();
    void buildPrint();
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

    // --- shell and tutorial
    void ButtonTutorialClick();
    void ButtonSaiClick();
    void LabelTabelaClick();
    void LabelTabelaMouseMove();
    void LabelTabelaMouseLeave();

    // --- draw results
    void ButtonInsClick();
    void EditConcExit();
    void DBEdit1Exit(int field);
    void DBNAtuClick();
    void ButtonSalvaClick();
    void ButtonExcluiClick();
    void ButtonSaiInClick();
    void ButtonAtuClick();
    // The texts of DBEdit1 .. DBEdit6.
    std::array<QString, 6> drawFieldTexts() const;
    // The first number field whose typed text the number check refuses, or null; a refused text
    // never reaches the table (the grid, "Salva", "Atualiza as estatísticas" and the close wait).
    BoundLineEdit* refusedDrawField() const;
    // False (and the focus back in the refused field) while a typed number is refused.
    bool drawNumbersAccepted();
    void ButtonImportaClick();
    // Leaving the draw being typed (another draw, the navigator, the grid, "Sai", the close, an
    // operation that moves the results): a whole draw is stored; one typed only in part is never
    // stored, and the player is asked whether to discard it. False: the player stays in the draw.
    bool leaveDraw();
    void discardDraft();
    // The focus into the first number field of the draw that is empty or refused.
    void focusIncompleteField();
    // Throws when TableRes is about to post a draw whose changed numbers are not whole.
    void refuseIncompleteDraw();

    // --- board and statistics
    void ToggleCellPressed(int n, Qt::MouseButton button);
    void ButtonInverteClick();
    void ButtonLimpaClick();
    void UpdateBoardCounts();
    void RecomputeStatisticsAndShow();
    void showStatistics();
    void RBDezenaClick();
    void BitBtn2Click();

    // --- games list
    void RefreshGamesSummary();
    void ClearGames();
    void ButtonResClick();
    void RBJogoClick();
    void ButtonDelJogoClick();

    // --- check report (UnitMenuCheckReport.cpp)
    void buildCheckReport();
    void NoteCheckedDraw();
    // Enabled while the games hold the hits of a check.
    void updateCheckReportButton();
    void ButtonRelConfClick();

    // --- price of a simple bet (UnitMenuPrice.cpp)
    void buildPrice();
    void LoadBetPriceInForce();
    void ButtonPrecoClick();

    // --- generation
    void ButtonGeraClick();
    void RBDistribuiClick();
    void RBAleaClick();
    void RBCombinaClick();
    void RBCancelaClick();
    void RBFechaClick();
    void ButtonOKGeraClick();
    void ButtonCanDistribuiClick();
    void ButtonCanGeraClick();
    void EditDezJogoExit();
    void ButtonOKAleaClick();
    void ButtonCanAleaClick();
    void ButtonOKCombClick(QPushButton* sender);
    void ButtonGeraJClick();
    void ButtonCanGeraJClick();
    void showChips();
    // The point of a dragged chip (relative to the chip) held to where the whole chip stays inside
    // the editor panel, so that a dropped chip can always be seen and grabbed again.
    QPoint keepChipInside(int number, QPoint at) const;

    // --- printing
    void ButtonImpClick();
    void RBCartClick(QRadioButton* sender);
    void RBRelClick();
    void ButtonCalibraClick();

    QString folder_;
    MenuServices services_;
    Tables tables_;
    std::unique_ptr<NumberBoard> board_;
    std::unique_ptr<NumberStatistics> statistics_;
    std::unique_ptr<DistributionEditor> editor_;
    bool closing_ = false;
    class DurableWork* durable_ = nullptr;
    QList<int> savedDiscards_; // the discarded numbers "Desprezadas.cds" holds
    QList<int> savedFixed_;    // the fixed numbers "Fixas.cds" holds
    bool checkingDrawNumber_ = false;

    // --- shell
    QPushButton* ButtonGera = nullptr;
    QPushButton* ButtonImp = nullptr;
    QPushButton* ButtonRes = nullptr;
    QPushButton* ButtonLimpa = nullptr;
    QPushButton* ButtonTutorial = nullptr;
    QPushButton* ButtonIns = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label43 = nullptr;
    QLabel* Label44 = nullptr;

    // --- tutorial
    QFrame* PanelTut = nullptr;
    QLabel* LabelTabela = nullptr;
    QPushButton* ButtonSai = nullptr;

    // --- draw results
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

    // --- board
    QFrame* PanelDez = nullptr;
    std::array<NumberCell*, 60> cells_{};
    QLabel* Label40 = nullptr;
    QLabel* wl = nullptr;
    QLabel* ql = nullptr;
    QLabel* ul = nullptr;
    QLabel* LabelDesp = nullptr;
    QLabel* LabelPares = nullptr;
    QPushButton* ButtonInverte = nullptr;

    // --- statistics
    QFrame* Panel1 = nullptr;
    std::array<QLabel*, 5> classCounts_{}; // LabelRed, LabelFuc, LabelBlue, LabelMaroon, LabelBlack
    QLabel* LabelMedia = nullptr;
    QFrame* Panel4 = nullptr;
    TableGrid* DBGrid1 = nullptr;
    QRadioButton* RBDezena = nullptr;
    QRadioButton* RBSaidas = nullptr;
    QRadioButton* RBDemora = nullptr;
    QRadioButton* RBMaiorDemora = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // --- games list
    QFrame* PanelJogos = nullptr;
    TableGrid* DBGrid2 = nullptr;
    QRadioButton* RBJogo = nullptr;
    QRadioButton* RBAcerto = nullptr;
    QPushButton* ButtonDelJogo = nullptr;
    QLabel* Label41 = nullptr;
    QPlainTextEdit* MemoJogos = nullptr;

    // --- check report
    QPushButton* ButtonRelConf = nullptr;
    std::optional<ResultDraw> checkedDraw_; // the draw of the games' hits, once known

    // --- price of a simple bet
    QPushButton* ButtonPreco = nullptr;

    // --- generation
    QFrame* PanelGeraQual = nullptr;
    QButtonGroup* generationChoice_ = nullptr;
    QRadioButton* RBDistribui = nullptr;
    QRadioButton* RBAlea = nullptr;
    QRadioButton* RBCombina = nullptr;
    QRadioButton* RBCancela = nullptr;
    QRadioButton* RBFecha = nullptr;
    WheelPanel* wheelPanel_ = nullptr; // PanelFecha
    QFrame* PanelGera = nullptr;
    QFrame* PanelDistribui = nullptr;
    QLineEdit* EditMax = nullptr;
    QPushButton* ButtonOKGera = nullptr;
    QPushButton* ButtonCanDistribui = nullptr;
    QFrame* PanelAlea = nullptr;
    QLabel* LabelSel = nullptr;
    QLabel* LabelMax = nullptr;
    QLineEdit* EditDezJogo = nullptr;
    QLineEdit* EditQuant = nullptr;
    QPushButton* ButtonOKAlea = nullptr;
    QPushButton* ButtonCanAlea = nullptr;
    QFrame* PanelCombina = nullptr;
    QLabel* LabelSelC = nullptr;
    QLabel* LabelAGerar = nullptr;
    QPushButton* ButtonOKComb = nullptr;
    QPushButton* ButtonCalcComb = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QFrame* PanelFiltro = nullptr;
    QLineEdit* EditPares = nullptr;
    QLineEdit* EditLinhas = nullptr;
    QLineEdit* EditInicial = nullptr;
    QLineEdit* EditFinal = nullptr;
    double MaxGames = 0;
    bool GameSizeOk = false;

    // --- drag editor
    QFrame* PanelEdita = nullptr;
    std::array<NumberChip*, 60> chips_{};
    QPushButton* ButtonGeraJ = nullptr;
    QPushButton* ButtonCanGeraJ = nullptr;
    QLabel* LabelSobra = nullptr; // the rows too short to become games

    // --- printing
    QFrame* PanelImp = nullptr;
    QRadioButton* RBCart = nullptr;
    QRadioButton* RBRel = nullptr;
    QRadioButton* RBCartA4 = nullptr;
    QPushButton* ButtonCalibra = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RBST = nullptr;
    QRadioButton* RB2C = nullptr;
    QRadioButton* RB4C = nullptr;
    QRadioButton* RB8C = nullptr;
};
