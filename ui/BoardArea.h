#pragma once

#include "AreaContext.h"
#include "NumberStatistics.h"

#include <QObject>
#include <array>
#include <optional>

class NumberCell;
class QFrame;
class QLabel;
class QPushButton;

// The board of the 60 numbers (PanelDez), its legend above it and its two counts below it. It
// shows the window's NumberBoard (the cell colours) and the last statistics it was given (the
// texts and the colour of each number, and the legend of the number last pressed).
class BoardArea final : public QObject {
    Q_OBJECT

public:
    explicit BoardArea(const AreaContext& context);

    void ToggleCellPressed(int n, Qt::MouseButton button);
    void ButtonInverteClick();
    void UpdateBoardCounts();
    // The statistics were recomputed: each cell's texts and colour, and the legend of number 1.
    void showStatistics(const NumberStatistics& s);

private:
    void showBoard();

    const AreaContext& ctx_;
    // The window's state and rules under the names the handlers use.
    NumberBoard* const board_;
    std::optional<NumberStatistics> statistics_;
    QFrame* PanelDez = nullptr;
    std::array<NumberCell*, 60> cells_{};
    QLabel* Label40 = nullptr;
    QLabel* wl = nullptr;
    QLabel* ql = nullptr;
    QLabel* ul = nullptr;
    QLabel* LabelDesp = nullptr;
    QLabel* LabelPares = nullptr;
    QPushButton* ButtonInverte = nullptr;
};
