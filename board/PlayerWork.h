#pragma once

#include <QList>
#include <QStringList>

class NumberBoard;
class Tables;

// The commit of the player's work when an operation ends, the one code the window runs and the
// crash tests kill: the discarded numbers go to "Desprezadas.cds" when they differ from what it
// holds (`savedDiscards`, brought up to date when the write succeeds), the fixed ones to
// "Fixas.cds" likewise (`savedFixed`), then the changes of the
// player's tables (Tables::commitChanges). Answers one Portuguese message per failure, each naming
// its file; what failed stays pending in memory, so the next commit writes it.
QStringList CommitPlayerWork(Tables& t, const NumberBoard& board, QList<int>& savedDiscards,
                             QList<int>& savedFixed);
