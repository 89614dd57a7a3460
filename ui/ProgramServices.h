#pragma once

#include "MessageBoxes.h"
#include "UnitMenu.h"

#include <memory>

class BrowserLauncher;
class PrintPreview;

// The services of the running program: real message boxes, Qt's print preview, the report forms,
// the clock as the random seed and the desktop's web browser (through xdg-open).
class ProgramServices {
public:
    ProgramServices();
    ~ProgramServices();
    MenuServices menuServices();
    // Called once the main window exists: message boxes and previews open over it, and the report
    // forms are created after it, as their layouts print its tables.
    void attachTo(TFormMenu* menu);

private:
    QtMessageBoxes messages_;
    std::unique_ptr<PrintPreview> previews_;
    std::unique_ptr<ReportForms> reports_;
    std::unique_ptr<BrowserLauncher> browser_;
};
