#pragma once

class NumberBoard;
class Tables;

// The discarded numbers survive a restart in TableDes ("Desprezadas.cds"), one row per number;
// the fixed ones never do.

// Puts the stored selection on the board: the numbers of TableDes Discarded, every other one
// Valid. Without "Desprezadas.cds" the table is created empty, the board is all Valid and the
// answer is true: this is a first run and the tutorial is due. A file that cannot be read throws
// TableError and is left as it is.
bool LoadDiscarded(Tables& t, NumberBoard& board);

// Rewrites TableDes with the Discarded numbers in ascending order and closes it, which writes the
// file when its rows changed (a board that never had a discarded number may leave no file). A
// file that cannot be read throws TableError and is never overwritten.
void SaveDiscarded(Tables& t, const NumberBoard& board);
