#pragma once

#include "ReportDocument.h"
#include "ReportLayout.h"
#include "SlipMarks.h"

#include <array>

// The geometry that differs between the two bet slip layouts; everything else they share.
struct SlipGeometry {
    std::array<double, 10> columnLefts;    // number columns 0 to 9, also the size marks a6 to a15
    std::array<double, 3> teimosinhaLefts; // t2, t4, t8
    double gameNumberLeft = 0;
    double gameNumberWidth = 0;
};

// A bet slip layout over the slips table (`Cartela`, `J1`, `J2`, `J3`, `Dezenas`): one slip per
// detail band with the number marks d11 to d360, the size marks a6 to a15, the teimosinha marks t2,
// t4, t8 and the game-number fields RDBText2 to RDBText4 bound to J1 to J3.
class SlipLayout {
public:
    ReportLayout& layout() { return layout_; }
    const ReportLayout& layout() const { return layout_; }

    // Fills every mark of the layout black when marked and white when not: a layout printed with
    // the same marks on every slip (a single slip, a test).
    void applySlipMarks(const SlipMarks& marks);
    // The same in `band`, a copy of this layout's detail band.
    void applySlipMarks(ReportBand& band, const SlipMarks& marks) const;
    // What each slip of a run draws: its size and numbers as ApplySlipMarks reads them for the
    // slips table's current row from `imp` (both as PackSlips left them), with the teimosinha of
    // `teimosinha`, the same on every slip. `imp` must outlive the layout passes.
    RowPainter marksOfEachSlip(Table& imp, const SlipMarks& teimosinha) const;

    static const QColor& markedColor();
    static const QColor& unmarkedColor();

protected:
    SlipLayout(QString name, PageSetup page, QSizeF band, const SlipGeometry& geometry);

private:
    ReportLayout layout_;
    // Marks by position in the detail band, so that applying a slip's marks looks no names up.
    std::array<std::array<std::size_t, 60>, 3> numberMarks_{};
    std::array<std::size_t, 10> sizeMarks_{};
    std::array<std::size_t, 3> teimosinhaMarks_{};
};
