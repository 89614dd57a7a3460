#pragma once

#include "UnitEmi.h"
#include "UnitEmiA4.h"
#include "UnitRel.h"
#include "UnitRelRes.h"

// The four print layouts of the program, created after the main window (their reports read the
// main window's tables) in the order slip paper, statistics report, games listing, A4 slips.
struct ReportForms {
    TFormEmi FormEmi;
    TFormRelSai FormRelSai;
    TFormRel FormRel;
    TFormEmiA4 FormEmiA4;
};
