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
// Where a write of the file `path` of `folder` goes. A file that is a symbolic link is written
// where it points only when that stays inside the folder (the program never writes outside its
// folder through a link, nor replaces the link by a file); the path itself otherwise. Throws
// TableError naming the file when the link leads out of the folder.
QString writeTarget(const QString& folder, const QString& path);
// Renames `from` over `to` atomically (an existing `to` is replaced in the same step).
void replace(const QString& folder, const QString& from, const QString& to);

} // namespace FileNames
