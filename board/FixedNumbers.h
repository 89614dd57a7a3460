#pragma once

#include <QList>
#include <QString>

class NumberBoard;

// The fixed numbers survive a restart in a file of their own, "Fixas.cds" beside
// "Desprezadas.cds": one row per number in its field Dezena, ascending. A folder without the file
// has none fixed.
inline const QString kFixedFile = QStringLiteral("Fixas.cds");

// The numbers "Fixas.cds" holds (none without the file). A file that cannot be read throws
// TableError naming it and is left as it is.
QList<int> LoadFixed(const QString& folder);
// Puts the stored fixed numbers on the board, over what LoadDiscarded put there: each one that
// is Valid becomes Fixed (a number discarded meanwhile stays discarded).
void ApplyFixed(NumberBoard& board, const QList<int>& fixed);
// Rewrites "Fixas.cds" with `fixed`, durably: a whole new file synced and renamed over the old
// one, so a crash leaves the old list or the new one. No file is made for an empty list when there
// is none yet. Throws TableError naming the file when it cannot be written; the old file stays.
void SaveFixed(const QString& folder, const QList<int>& fixed);
