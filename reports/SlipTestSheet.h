#pragma once

#include "ReportLayout.h"

class SlipLayout;

// The test sheet of a slip layout, printed on plain paper of the layout's size to check the
// printer's calibration: for every slip place of a page, the slip's outline and, as thin boxes
// with their numbers, the 60-number grid of each block, the size row (6 to 15), the teimosinha row
// (2, 4, 8) and the game-number boxes; a millimetre ruler along the top and down the left, and a
// caption with the offsets. `paperCaption` completes the title "Folha de teste ..." ("do volante").
// Everything stands where the layout would print it, moved by the calibration offset given, so a sheet held
// against a real slip over a window shows at once whether the boxes line up. The first slip's boxes keep the
// layout's names (d11, a15, t8, RDBText2); the others end in "_2", "_3", ...
ReportLayout SlipTestSheet(const SlipLayout& slip, QPointF offset, const QString& paperCaption);
