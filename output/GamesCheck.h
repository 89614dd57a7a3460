#pragma once

#include "GamePrizes.h"
#include "Prompter.h"
#include "Table.h"
#include "Tables.h"

#include <optional>
#include <span>

// Rewrites Acertos and ad1..ad15 of every game from the numbers of one draw. Each position from
// d1 to d15 is looked up among `draw` (exact match): "S" and one more hit when found, "N" when not;
// an empty position is never found. A position holding 0 ends the scan of its game, so the flags
// after it keep what they held. The games may be in any order; the cursor ends on the last game.
void CheckGamesAgainstDraw(Table& games, std::span<const int> draw);

// The check of the whole games list against the last draw, as the player starts it: stores
// pending changes, checks every game of "Cartelas.cds" against the last draw of the results and
// leaves the games in ascending hit order on the last game. Does nothing without a games file.
// The draw is the last complete one (six different numbers from 1 to 60); when a draw typed only in
// part stands after it, the notice returned says which draw the games were checked with. When
// there is no complete draw at all the games are left as they are and the notice to show is
// returned.
std::optional<Message> CheckGamesWithLastDraw(Tables& t);

// True when some game of an open games table holds the hits of a check (its Acertos is filled).
bool GamesHoldHits(const Table& games);
// The draw whose check left the hits the games hold: the latest complete draw of `draws` against
// which every game holding hits has exactly its Acertos and its "S"/"N" flags. The hits say which
// numbers of each game were drawn, so a restart, or draws added after the check, does not lose
// the draw. Nothing when no draw fits (the draw was deleted or changed since).
std::optional<ResultDraw> DrawOfStoredHits(const Table& games, std::span<const ResultDraw> draws);

enum class GamesOrder { ByGame, ByHits };

// Reopens the games table in game order (Cartao) or hit order (Acertos), on its first row. A
// failure leaves the table as it then stands, which the list simply shows.
void SetGamesOrder(Table& games, GamesOrder order);

// Asks the player and deletes the current game on Yes. Answers true when a game was deleted, so
// that the games summary must be rebuilt. Without a current game nothing is asked or changed.
bool DeleteCurrentGame(Table& games, Prompter& prompter);
