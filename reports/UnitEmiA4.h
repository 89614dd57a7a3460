#pragma once

#include "SlipLayout.h"

// Bet slip images on plain A4, four per sheet in two columns of two: the marks of the slip paper
// moved 1.06 mm to the right, plus the slip's title, its black timing marks and its orange corner
// marks, which print on every slip as they are.
class TFormEmiA4 : public SlipLayout {
public:
    TFormEmiA4();
};
