#pragma once

#include <QString>

class QWidget;

// The file dialog of the results import, in Portuguese, opening in `folder`: the chosen file, or
// empty when the player cancels. Qt's own dialog (the same on every desktop), with Qt's Brazilian
// Portuguese texts while it is open.
QString ChooseResultsFile(QWidget* parent, const QString& folder);

// The dialog's window title, for tests that find it.
QString resultsFileDialogTitle();
