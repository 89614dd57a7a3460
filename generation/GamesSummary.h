#pragma once

#include "Table.h"

#include <QStringList>

// The text of the games summary, one entry per line: the cost line of each game size held, the
// total, an empty line, the even-number tallies, an empty line and the slip-row tallies. An empty
// table gives exactly two empty lines. Reads the stored Pares and Linhas of every row and counts
// each game's size from d1 upward; never moves the cursor. `games` must be open.
QStringList RefreshGamesSummary(const Table& games);
