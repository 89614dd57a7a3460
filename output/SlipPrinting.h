#pragma once

#include "SlipMarks.h"
#include "Table.h"
#include "Tables.h"

// Rebuilds the print tables from the games: TableCImp and TableImp re-created empty, the games
// table opened if it is not (no games file: the table layer's error, with both print tables left
// empty), a game being typed dropped and the cursor on the first game, then one TableImp row (Cartao, Dezena
// as text without leading zero, Quant) per number of every game, visited in Dezenas;Cartao order through a
// view of the games table's own rows (nothing reads the games file again, nothing is written), and TableImp
// ordered by Cartao;Quant;Dezena.
// A game without a readable Cartao or Dezenas gives no rows; at most d1..d15 are read, and a
// position that is empty or holds no whole number is left out, so it can never mark a box.
void BuildPrintNumbers(Tables& t);

// Packs the games of TableImp (in its current order, Cartao;Quant;Dezena) into slips appended to
// TableCImp: up to three consecutive games of one size per slip, in J1, J2 and J3.
void PackSlips(Table& imp, Table& slips);

// The size and number marks of the current slip of `slips`: the size box of its Dezenas (none for
// a size outside 6..15) and, per block with a game, the numbers of that game found in `imp`
// (numbers outside 1..60 mark nothing). Moves the cursor of `imp`; the teimosinha is not touched.
void ApplySlipMarks(const Table& slips, Table& imp, SlipMarks& marks);

// The teimosinha boxes: `draws` 2, 4 or 8 marks t2, t4 or t8; anything else (no teimosinha)
// leaves all three unmarked.
void ApplyTeimosinha(SlipMarks& marks, int draws);
