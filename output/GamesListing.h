#pragma once

#include "GamesTable.h"
#include "Prompter.h"
#include "Table.h"
#include "Tables.h"

#include <QString>
#include <optional>

// The listing line of one game: the game number with at least seven digits (leading zeros below
// 10000000, every digit above), then d1..d6 as two digits each (an empty one as 00), then each of
// d7..d15 that holds a number above 0; every field is followed by ";". 53 characters at most for
// game numbers below 10000000.
QString FormatListingLine(const RowRef& game, const GameFields& f);

// Lists the games in the games table's current order (pending changes included): TableRel is
// emptied and gets one row (Linha 1, 2, ..., Detalhe the listing line) per game, and "Cartelas.csv"
// of the working folder is replaced whole by the same lines, each ended by CR LF. The file is
// replaced in one step: when it cannot be written a TableError naming it is thrown and both the
// file and TableRel keep their earlier content. When the games table is not open and a games
// file exists, it is opened; when it cannot be read its error stops the listing with nothing
// changed. With no games file at all nothing changes either, and the answer tells the player there
// are no games to list (the report is then not shown). The games table ends on its last game.
[[nodiscard]] std::optional<Message> BuildGamesListing(Tables& t);
