#include "UnitEmi.h"

namespace {

PageSetup slipPaper() {
    PageSetup p;
    p.paperName = QStringLiteral("Volante Mega-Sena");
    p.paper = QSizeF(82.0, 140.0);
    p.columns = 1;
    p.columnWidth = 82.0;
    p.bandsPerPage = 1;
    return p;
}

SlipGeometry slipPaperGeometry() {
    return {{11.91, 18.26, 24.61, 30.96, 37.31, 43.92, 50.27, 56.62, 62.97, 69.59},
            {11.64, 24.61, 37.31},
            74.08,
            7.14};
}

} // namespace

TFormEmi::TFormEmi()
    : SlipLayout(QStringLiteral("TFormEmi"), slipPaper(), QSizeF(82.02, 137.32), slipPaperGeometry()) {
    layout().setDocumentTitle(QStringLiteral("Volantes"));
}
