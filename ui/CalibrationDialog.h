#pragma once

#include "PrintCalibration.h"

#include <QDialog>
#include <functional>

class QDoubleSpinBox;
class QPushButton;

// "Calibragem da impressão", reached from the print panel: the horizontal and vertical offsets of
// the slip paper and of A4 (−5,0 to +5,0 mm in steps of 0,1 mm; positive moves the print to the
// right and down), a test sheet for each paper previewed with the offsets as they stand in the
// dialog, and "Salva" / "Cancela". The dialog only holds the values; the caller stores them.
class CalibrationDialog : public QDialog {
    Q_OBJECT

public:
    enum class Paper { SlipPaper, A4 };
    using SheetPreview = std::function<void(const PrintCalibration&, Paper)>;

    CalibrationDialog(const PrintCalibration& start, SheetPreview previewSheet, QWidget* parent = nullptr);

    PrintCalibration calibration() const;

private:
    QDoubleSpinBox* offsetBox(const char* name, double value);

    SheetPreview previewSheet_;
    QDoubleSpinBox* SpinVolanteX = nullptr;
    QDoubleSpinBox* SpinVolanteY = nullptr;
    QDoubleSpinBox* SpinA4X = nullptr;
    QDoubleSpinBox* SpinA4Y = nullptr;
};
