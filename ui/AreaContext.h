#pragma once

#include "MenuServices.h"

#include <QString>
#include <functional>

class NumberBoard;
class QWidget;
class Tables;

// What every area of the main window shares, given by the window that composes them: the window
// its controls stand on, the tables and the board (the program's state), the outside world, and
// the window's rules for running an operation and for its entry fields. An area reaches another
// area only through the named calls and signals the window wires between them.
struct AreaContext {
    QWidget* window = nullptr; // the parent of an area's outermost controls
    Tables& tables;
    NumberBoard& board;
    QString folder; // the working folder of every table file
    const MenuServices& services;
    // Runs an operation; an exception ends it with a message, and the outermost one commits the
    // player's work (TFormMenu::guarded).
    std::function<bool(const std::function<void()>&)> guarded;
    std::function<void(const QString&)> showError;
    // Enter in the field moves the focus on, as Tab does.
    std::function<void(QWidget* field)> enterMovesOn;
    // Runs `exit` when the focus leaves `field` for another control of the window (FocusExit).
    std::function<void(QWidget* field, std::function<void()> exit)> watchExit;
    // True once the window is closing.
    std::function<bool()> closing;
    // Leaves the draw being typed in the results area; false when the player stays in it.
    std::function<bool()> leaveDraw;
};
