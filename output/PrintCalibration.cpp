#include "PrintCalibration.h"

#include "Schemas.h"
#include "Table.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kSlipPaperRow = QStringLiteral("Volante");
const QString kA4Row = QStringLiteral("A4");

void defineCalibrationTable(Table& t) {
    t.defineFields(Schemas::calibration());
    t.setIndexFieldNames(QString());
}

} // namespace

double BoundCalibrationOffset(double mm) {
    if (!std::isfinite(mm))
        return 0;
    const double bounded = std::clamp(mm, -kCalibrationLimit, kCalibrationLimit);
    const double steps = std::round(bounded / kCalibrationStep);
    // Whole tenths, without the binary residue of the division (0.30000000000000004).
    return steps == 0 ? 0.0 : steps / 10.0;
}

PrintCalibration BoundCalibration(const PrintCalibration& c) {
    const auto bound = [](QPointF p) {
        return QPointF(BoundCalibrationOffset(p.x()), BoundCalibrationOffset(p.y()));
    };
    return {bound(c.slipPaper), bound(c.a4)};
}

PrintCalibration LoadPrintCalibration(const QString& folder) {
    Table t(QStringLiteral("TableCalibragem"), folder, Schemas::kCalibrationFile);
    defineCalibrationTable(t);
    PrintCalibration c;
    if (!t.fileExists())
        return c;
    t.open();
    const int paper = t.fieldIndex(u"Papel");
    const int x = t.fieldIndex(u"Horizontal");
    const int y = t.fieldIndex(u"Vertical");
    for (t.first(); !t.eof(); t.next()) {
        const QPointF offset(t.isEmpty(x) ? 0.0 : t.real(x), t.isEmpty(y) ? 0.0 : t.real(y));
        const QString name = t.text(paper);
        if (name == kSlipPaperRow)
            c.slipPaper = offset;
        else if (name == kA4Row)
            c.a4 = offset;
    }
    t.close();
    return BoundCalibration(c);
}

void StorePrintCalibration(const QString& folder, const PrintCalibration& calibration) {
    const PrintCalibration c = BoundCalibration(calibration);
    Table t(QStringLiteral("TableCalibragem"), folder, Schemas::kCalibrationFile);
    defineCalibrationTable(t);
    t.create();
    const auto row = [&t](const QString& paper, QPointF offset) {
        t.insert();
        t.setText(0, paper);
        t.setReal(1, offset.x());
        t.setReal(2, offset.y());
        t.post();
    };
    row(kSlipPaperRow, c.slipPaper);
    row(kA4Row, c.a4);
    t.commitChanges();
    t.close();
}
