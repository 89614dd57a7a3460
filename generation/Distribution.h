#pragma once

#include "Prompter.h"
#include "Tables.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// One flag per number 1..60, at index number − 1.
using NumberFlags = std::array<bool, 60>;

// What the player typed as numbers per game: blanks around it are ignored, a text that is not an
// integer reads as 0, and anything outside 6..15 is refused with the message to show.
struct PerGameInput {
    int perGame = 0;
    std::optional<Message> refusal;
};
PerGameInput ReadPerGame(const QString& editMax);

// Makes the games table ready for a generator: closed, ordered by Cartao, created empty with the
// games fields when its file is absent, and open.
void PrepareGamesTable(Tables& t);

// The outcome of a deal: how many numbers were in play, how many full games they filled, and
// which numbers are in play (their chips are shown, the others hidden).
struct Deal {
    int valid = 0;
    int fullGames = 0;
    NumberFlags inPlay{};
};

// Deals the numbers that are not discarded over games of `perGame` numbers, in ascending Nota
// (ties in ascending number), one to each game in turn; the numbers left over after the last full
// round form one more game. Rewrites Desprezada ("S"/"N") and Cartao of every row of TableAval,
// which it opens ordered by Nota.
Deal DealNumbers(Tables& t, const NumberFlags& discarded, int perGame);

// Re-creates TableDis from TableAval's marks, one row per dealt game with its numbers ascending
// and 0 in the unused fields, writes it to its file and opens it again. A deal with no number in
// play leaves an empty file too, so an older distribution is never read back. Leaves TableAval
// ordered by Cartao, then Dezena.
void BuildDistributedGames(Tables& t);

// The editor's rows read back from TableDis (closed and reopened first), in Cartao order, at most
// ten: each row holds the numbers up to the first 0 (or unreadable value). A failure while
// reading ends the walk silently and keeps the rows read so far.
std::vector<std::vector<int>> LayoutDistributedGames(Tables& t);
