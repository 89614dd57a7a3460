#pragma once

#include "AreaContext.h"
#include "NumberStatistics.h"

#include <QObject>
#include <array>
#include <memory>
#include <optional>

class DistributionEditor;
class NumberChip;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class WheelPanel;

// The generation of games: the choice of a generator (PanelGeraQual), the generators' panel
// (PanelGera: the distribution's size, the random and combination panels with the filter strip
// they share, and the wheels' WheelPanel), and the editor of dealt games (PanelEdita) with its
// model. It reads the board's selection from the window's NumberBoard and signals
// `gamesAppended` whenever a run appended games.
class GenerationArea final : public QObject {
    Q_OBJECT

public:
    explicit GenerationArea(const AreaContext& context);
    ~GenerationArea() override;

    void ButtonGeraClick();
    void RBDistribuiClick();
    void RBAleaClick();
    void RBCombinaClick();
    void RBCancelaClick();
    void RBFechaClick();
    void ButtonOKGeraClick();
    // Every generator's "Cancela" closes the generators' panel.
    void ButtonCanGeraClick();
    void EditDezJogoExit();
    void ButtonOKAleaClick();
    // "Gera": the combinations are appended, shown against their count.
    void ButtonOKCombClick();
    // "Calcula combinações a gerar": the combinations are only counted.
    void ButtonCalcCombClick();
    void ButtonGeraJClick();
    void ButtonCanGeraJClick();
    // The games list was emptied: the editor holds no game and the choice closes.
    void gamesCleared();
    // The statistics were recomputed: the chips take the colours of their numbers.
    void showStatistics(const NumberStatistics& s);

signals:
    // A run appended games to the games table (the summary is to be refreshed).
    void gamesAppended();
    // The games table was prepared for a run: every generator appends in game order.
    void gamesInGameOrder();

private:
    void buildEditor();
    void runCombinations(bool counting);
    void showChips();
    // The point of a dragged chip (relative to the chip) held to where the whole chip stays inside
    // the editor panel, so that a dropped chip can always be seen and grabbed again.
    QPoint keepChipInside(int number, QPoint at) const;

    const AreaContext& ctx_;
    // The window's state and rules under the names the handlers use.
    Tables& tables_;
    const MenuServices& services_;
    NumberBoard* const board_;
    bool guarded(const std::function<void()>& op) { return ctx_.guarded(op); }
    std::unique_ptr<DistributionEditor> editor_;
    std::optional<NumberStatistics> statistics_;
    double MaxGames = 0;
    bool GameSizeOk = false;

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

    // --- the editor of dealt games (GenerationAreaEditor.cpp)
    QFrame* PanelEdita = nullptr;
    std::array<NumberChip*, 60> chips_{};
    QPushButton* ButtonGeraJ = nullptr;
    QPushButton* ButtonCanGeraJ = nullptr;
    QLabel* LabelSobra = nullptr; // the rows too short to become games
};
