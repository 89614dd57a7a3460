#pragma once

#include "SlipLayout.h"

// Bet slips printed straight onto the lottery's slip paper (82 x 140 mm), one slip per page: only
// the marks and the game numbers print, the paper carries the slip's form.
class TFormEmi : public SlipLayout {
public:
    TFormEmi();
};
