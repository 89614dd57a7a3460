#pragma once

#include "BoardSelection.h"
#include "Prompter.h"
#include "WheelSearch.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Table;

// The prizes a wheel can guarantee, by the hits of one game: "Terno" (3) to "Sena" (6).
QStringList WheelPrizeNames();
// The conditions offered for a guarantee of t hits: "se saírem m das dezenas escolhidas" for m
// from t to 6.
QStringList WheelConditionTexts(int t);

// The wheels the program makes: games of 6 to 15 numbers, and no more than this many games.
inline constexpr int kMaxWheelGames = 10000;

// Why a wheel of this shape cannot be made (v chosen numbers, games of k, t hits if m of the
// drawn numbers are among the chosen ones), or nothing when it can.
std::optional<Message> RefuseWheel(const WheelShape& shape);

// The chance that one draw of six numbers out of sixty has m or more of them among v chosen
// numbers: the draws the guarantee speaks of.
double ConditionChance(int v, int m);
// That chance as the panel shows it.
QString ConditionChanceText(int v, int m);

// What one press of "Gera o fechamento" reads from the panel and the board.
struct WheelRequest {
    BoardSelection board;      // the chosen numbers are those not Discarded
    QString dezFecha;          // EditDezFecha: numbers per game
    int t = 3;                 // the prize: hits guaranteed
    int m = 3;                 // the condition: drawn numbers among the chosen
    WheelSearchOptions search; // how long the search may run, and its seed
};

struct WheelRunResult {
    std::optional<Message> message;      // a refusal, or why nothing was offered; nothing changed
    std::vector<std::vector<int>> games; // the wheel offered, each game ascending
    int alreadyThere = 0;                // of those, games the table already held
    int appended = 0;                    // games written to the table
    bool asked = false;                  // the question was put to the player
    bool cancelled = false;              // the search was stopped; the best wheel proven so far was offered
};

// The question that offers a wheel: its size, its price, its guarantee, and how many of its games
// the table already holds.
Message WheelQuestion(const WheelShape& shape, int games, int alreadyThere);

// One run: checks the shape, searches the wheel, proves it against every m-set of the chosen
// numbers, asks the player and, on Yes, appends the games the table does not hold yet numbered
// after the highest Cartao (Todos, the measures and Emite "S" filled). `games` must be open.
WheelRunResult RunWheel(Table& games, const WheelRequest& request, Prompter& prompter, Progress& progress);
