#pragma once

#include "AreaContext.h"

#include <QObject>

class QFrame;
class QGroupBox;
class QPushButton;
class QRadioButton;

// Printing: the print panel (PanelImp) with its three choices (slips on slip paper, the games
// listing, slips on A4), the teimosinha, the printer's calibration and the previews of its runs.
class PrintingArea final : public QObject {
    Q_OBJECT

public:
    // The paper a slip run prints on.
    enum class SlipPaper { Volante, A4 };

    explicit PrintingArea(const AreaContext& context);

    void ButtonImpClick();
    void RBCartClick(SlipPaper paper);
    void RBRelClick();
    void ButtonCalibraClick();

private:
    void RBCartClick(QRadioButton* sender);

    const AreaContext& ctx_;
    // The window's state and rules under the names the handlers use.
    Tables& tables_;
    const MenuServices& services_;
    const QString& folder_;
    bool guarded(const std::function<void()>& op) { return ctx_.guarded(op); }
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
