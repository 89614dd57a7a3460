#pragma once

#include <QString>

// File names of one folder, matched without regard to letter case, so "cartelas.cds" and
// "Cartelas.cds" are one file even on a file system that tells them apart.
namespace FileNames {

// The path of `fileName` in `folder`: an existing file whose name differs only in case, or the
// name as given when there is none.
QString resolve(const QString& folder, const QString& fileName);
bool exists(const QString& folder, const QString& fileName);
// Removes the file; answers false when there was none. Throws TableError when it cannot.
bool remove(const QString& folder, const QString& fileName);
// Renames `from` over `to` atomically (an existing `to` is replaced in the same step).
void replace(const QString& folder, const QString& from, const QString& to);

} // namespace FileNames
