#pragma once

#include "DrawPayout.h"
#include "Money.h"
#include "PrizeTiers.h"
#include "Prompter.h"
#include "Table.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

// The prizes of the player's games: against one draw (the draw a check used) and against every
// draw of the results. The games and the draws are read into memory first, as sets of numbers, so
// that a game meets a draw in one population count; nothing here writes a table.

// One draw of the results: its number and its six numbers in the order they were entered.
struct ResultDraw {
    qint32 concurso = 0;
    std::array<int, 6> numbers{};
    NumberMask mask = 0;
    friend bool operator==(const ResultDraw&, const ResultDraw&) = default;
};

// Every draw of a results table in the table's order (Concurso, ascending), read without moving its
// cursor. A draw without a number is left out.
std::vector<ResultDraw> ReadDraws(const Table& results);
// The last complete draw of a results table (six different numbers from 1 to 60, the highest such
// Concurso), if there is one; a draw still being typed after it is passed over.
std::optional<ResultDraw> LastDraw(const Table& results);

// One game of the games table: its number (Cartao) and its numbers as stored from d1 on.
struct GameNumbers {
    qint64 game = 0;
    std::array<quint8, 15> numbers{};
    quint8 size = 0;
    NumberMask mask = 0;
};

// Every game of a games table in the table's current order, read without moving its cursor.
std::vector<GameNumbers> ReadGames(const Table& games);

// What the lottery paid each winning bet of one draw, sena, quina and quadra. A tier that nobody
// won (`paid` false) paid nothing: what a bet would have won there is what accumulated, which the
// results files do not give, so it counts as nothing and is told apart.
struct TierPrices {
    std::array<Centavos, 3> prize{};
    std::array<bool, 3> paid{};
    friend bool operator==(const TierPrices&, const TierPrices&) = default;
};

// The prices of a draw's prizes from its row of "Premios.cds"; nothing when its tiers are unknown.
std::optional<TierPrices> PricesOf(const DrawPayout& payout);

// The prices of every draw, in the order of `draws`: nothing where "Premios.cds" has no tiers for
// the draw's number. `payouts` in any order.
std::vector<std::optional<TierPrices>> PricesOfDraws(std::span<const ResultDraw> draws,
                                                     std::span<const DrawPayout> payouts);

// What a game's prize tiers are worth at a draw's prices, and the winning bets of tiers nobody won
// (counted as nothing).
struct Winnings {
    Centavos amount = 0;
    PrizeTiers unpaid;
    friend bool operator==(const Winnings&, const Winnings&) = default;
};
Winnings WinningsOf(const PrizeTiers& tiers, const TierPrices& prices);

// A game with a prize in one draw; `game` is its position in the games read.
struct GamePrize {
    std::size_t game = 0;
    int hits = 0;
    PrizeTiers tiers;
};

struct DrawPrizes {
    // The games with a prize: most senas first, then most quinas, then most quadras, then the
    // lower game number.
    std::vector<GamePrize> winners;
    PrizeTiers totals;       // over every game
    qint64 gamesWithout = 0; // games that won nothing
};

// The prizes of every game against one draw.
DrawPrizes PrizesOfDraw(std::span<const GameNumbers> games, NumberMask draw);

// How a game would have fared over the whole history: in how many draws it would have won at least
// one sena, one quina and one quadra (a draw counts once per tier however many bets win it), and
// the most recent draw in which it would have won a quadra or better (0: none).
// In money, over the draws whose prizes are known: what the game would have won, and what playing
// it in each of those draws would have cost.
struct GameHistory {
    std::size_t game = 0;
    qint32 senaDraws = 0;
    qint32 quinaDraws = 0;
    qint32 quadraDraws = 0;
    qint32 lastDraw = 0;
    Centavos won = 0;
    Centavos spent = 0;
    Centavos balance() const { return won - spent; }
    friend bool operator==(const GameHistory&, const GameHistory&) = default;
};

// The balance of all the games after one draw with known prizes: everything won minus everything
// spent up to and including it.
struct BalancePoint {
    qint32 concurso = 0;
    Centavos balance = 0;
    friend bool operator==(const BalancePoint&, const BalancePoint&) = default;
};

struct HistoryPrizes {
    // The games that would have won something: most sena draws first, then quina draws, then
    // quadra draws, then the lower game number.
    std::vector<GameHistory> winners;
    qint64 gamesWithout = 0; // games that would never have won anything
    qint64 draws = 0;        // the draws looked at
    // In money, over the draws with known prizes (all the games, listed or not).
    qint64 pricedDraws = 0;
    Centavos won = 0;
    Centavos spent = 0;
    PrizeTiers unpaid;                 // winning bets in tiers nobody won, counted as nothing
    std::vector<BalancePoint> balance; // one per draw with known prizes, in the draws' order
    Centavos balanceTotal() const { return won - spent; }
};

// What the history is worth: the prices of each draw (aligned with the draws; nothing where they
// are not known) and the price of a simple bet the games would have been played at.
struct HistoryMoney {
    std::span<const std::optional<TierPrices>> prices;
    Centavos betPrice = 0;
};

// Every game against every draw. Reports to `progress` as it goes (done and total in games, and
// the games found with a prize so far); answers nothing when the player cancels. With `money`, also
// what each game and all of them would have won and spent in the draws whose prizes are known.
std::optional<HistoryPrizes> PrizesInHistory(std::span<const GameNumbers> games,
                                             std::span<const ResultDraw> draws, Progress& progress,
                                             const HistoryMoney& money = {});
