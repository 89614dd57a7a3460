#pragma once

#include <QString>
#include <functional>

class MessageBoxes;
class PreviewService;
class QWidget;
struct ReportForms;

// What the main window needs from the outside world, so that tests can stand in for it.
struct MenuServices {
    MessageBoxes* messages = nullptr;
    PreviewService* previews = nullptr;
    ReportForms* reports = nullptr;
    // Seeds each random generation run; the program seeds from the clock.
    std::function<quint64()> randomSeed;
    // Opens the help page in the web browser.
    std::function<void(const QString& path)> openBrowser;
    // Asks for the results file to import, opening in `folder`; empty when the player cancels.
    // Unset: the program's own file dialog (ChooseResultsFile).
    std::function<QString(QWidget* parent, const QString& folder)> chooseResultsFile;
};
