#pragma once

#include <QPointF>
#include <QString>

// The player's calibration of the printer: how far every element of a slip layout prints from
// where the layout puts it, in mm (x to the right, y down), one offset for the slip paper
// (TFormEmi) and one for A4 (TFormEmiA4). Printers and their feeders move the paper by a millimetre
// or two; the offsets bring the marks back onto the slip's boxes.
struct PrintCalibration {
    QPointF slipPaper;
    QPointF a4;
    friend bool operator==(const PrintCalibration&, const PrintCalibration&) = default;
};

// Each offset lies between -5 and +5 mm, in steps of 0.1 mm: wider than any feeder's error and
// narrower than the gap between two rows of boxes would allow to go unnoticed.
inline constexpr double kCalibrationLimit = 5.0;
inline constexpr double kCalibrationStep = 0.1;

// A value brought into the range and onto the nearest step.
double BoundCalibrationOffset(double mm);
PrintCalibration BoundCalibration(const PrintCalibration& c);

// Reads the calibration file "Calibragem.cds" of `folder`; without the file, or without a paper's
// row, the offsets are zero, and values out of range are brought into it. Throws TableError when
// the file cannot be read.
PrintCalibration LoadPrintCalibration(const QString& folder);

// Writes both offsets (bounded) to the calibration file of `folder` as a whole new file that takes
// the old one's place. Throws TableError when it cannot be written; the old file is then kept.
void StorePrintCalibration(const QString& folder, const PrintCalibration& c);
