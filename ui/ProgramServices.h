#pragma once

#include "MessageBoxes.h"
#include "UnitMenu.h"

// The services of the running program: real message boxes, the print preview, the report forms,
// the clock as the random seed and the desktop's web browser.
class ProgramServices {
public:
    ProgramServices();
    ~ProgramServices();
    MenuServices menuServices();
    // Called once the main window exists: message boxes open over it, and the report forms are
    // created after it, as their layouts read its tables.
    void attachTo(TFormMenu* menu);

private:
    QtMessageBoxes messages_;
};
