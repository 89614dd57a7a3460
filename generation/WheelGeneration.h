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

// A wheel found and proven for the games table, before the player has answered.
struct WheelOffer {
    std::optional<Message> message; // a refusal, or why nothing is offered; nothing changed
    WheelShape shape;
    std::vector<std::vector<int>> games; // the wheel, each game ascending
    std::vector<bool> present;           // per game: the table holds it already
    int alreadyThere = 0;                // how many it holds
    bool cancelled = false;              // the search was stopped: the best wheel proven so far
    Message question;                    // what the player is asked (when there is no message)
};

// The question that offers a wheel: its size, its price, its guarantee, and how many of its games
// the table already holds.
Message WheelQuestion(const WheelShape& shape, int games, int alreadyThere);

// Checks the shape, searches the wheel under `progress` and proves it against every m-set of the
// chosen numbers; notes which of its games `games` (open) already holds. Changes nothing.
WheelOffer OfferWheel(const Table& games, const WheelRequest& request, Progress& progress);

// Appends the offered games the table does not hold, numbered after the highest Cartao, with
// Todos, the measures and Emite "S". Answers how many were appended.
int AppendWheel(Table& games, const WheelOffer& offer);

struct WheelRunResult {
    WheelOffer offer;
    bool asked = false;
    int appended = 0;
};

// One whole run without a window: the offer, the question and, on Yes, the append.
WheelRunResult RunWheel(Table& games, const WheelRequest& request, Prompter& prompter, Progress& progress);
