#pragma once

#include <QString>

// The folder the player last imported a results file from, kept in a table file of the working
// folder (Schemas::kImportFolderFile) so that the file dialog opens there the next time.

// Empty when nothing was remembered yet. Throws TableError when the file cannot be read.
QString LastImportFolder(const QString& workFolder);
// Stores `folder`; throws TableError when the file cannot be written.
void RememberImportFolder(const QString& workFolder, const QString& folder);
