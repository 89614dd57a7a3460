#pragma once

#include "BoardSelection.h"

#include <QFrame>
#include <functional>

class MessageBoxes;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Tables;

// The wheel's panel (PanelFecha) inside the generation area: the chosen numbers, the game size,
// the prize guaranteed and its condition with the chance of a draw meeting it, and the buttons.
// It reads the board's selection through `Hooks::selection`, runs the search under the progress
// dialog, asks the player and appends the games; the window refreshes the summary on
// `gamesAppended` and closes the generation area on `closeRequested`.
class WheelPanel final : public QFrame {
    Q_OBJECT

public:
    struct Hooks {
        std::function<BoardSelection()> selection;
        // Runs an operation that touches the tables, showing a table failure; false when it failed.
        std::function<bool(const std::function<void()>&)> guarded;
        MessageBoxes* messages = nullptr;
        std::function<quint64()> seed; // unset: a fixed seed, the same wheel for the same choice
    };

    WheelPanel(QWidget* parent, QRect at, Tables& tables, Hooks hooks);

    // Shows the panel with the board's selection as it is now.
    void open();
    // Rewrites the count of chosen numbers and the chance from the board and the condition.
    void refresh();
    // How long a search may lower the count of games (the player may stop it sooner).
    void setSearchTime(qint64 ms) { searchMs_ = ms; }
    QLineEdit* gameSizeField() const { return EditDezFecha; }

signals:
    void gamesAppended();
    void closeRequested();

private:
    void ComboGarantiaChange();
    void ButtonOKFechaClick();
    int guaranteed() const;
    int condition() const;

    Tables& tables_;
    Hooks hooks_;
    qint64 searchMs_ = 30000;
    QLabel* LabelSelF = nullptr;
    QLineEdit* EditDezFecha = nullptr;
    QComboBox* ComboGarantia = nullptr;
    QComboBox* ComboCondicao = nullptr;
    QLabel* LabelChanceF = nullptr;
    QPushButton* ButtonOKFecha = nullptr;
    QPushButton* ButtonCanFecha = nullptr;
};
