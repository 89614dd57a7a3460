#pragma once

#include "BoardSelection.h"
#include "Filters.h"
#include "Prompter.h"

#include <QString>
#include <QStringView>
#include <array>
#include <functional>
#include <optional>

class Table;
class Tables;

// Shares of the six-number games by their count of even numbers (0..6) and by their count of
// filled rows (1..6, at index 0..5), in percent, as the draws have shown them.
inline constexpr std::array<double, 7> EvenSharePercent{1.38, 8.57, 24.82, 29.71, 24.63, 9.71, 1.19};
inline constexpr std::array<double, 6> RowSharePercent{0.03, 1.14, 19.1, 50.78, 26.96, 1.99};

// What leaving EditDezJogo decides: the numbers available for dealing (LabelSel), whether the size
// typed is usable, and, only then, MaxGames and its text for LabelMax. MaxGames is the number of
// different games that can be made: each holds every Fixed number, so it is C(valid, k − fixed)
// (0 when there are k Fixed numbers or more).
struct GameSizeCheck {
    bool gameSizeOk = false;
    int available = 0;              // the Valid numbers; Fixed ones are not dealt
    int perGame = 0;                // the numbers per game typed, 0 when unreadable
    std::optional<double> maxGames; // absent when the size was refused: MaxGames keeps its value
    QString labelMax;               // the text of MaxGames when it was computed
    std::optional<Message> message; // why the size was refused
};

GameSizeCheck CheckGameSize(const BoardSelection& board, QStringView dezJogo);

// The class quotas of one run of six-number games: EvenQuota by count of even numbers (index 0..6)
// and RowQuota by count of filled rows (index 1..6, index 0 unused). The last class of each range
// takes the remainder, which may be 0 or negative; a class whose quota is not above 0 takes no game.
struct Quotas {
    std::array<int, 7> even{};
    std::array<int, 7> row{};
};

Quotas ComputeQuotas(int games, const FilterSettings& s);

// A uniform whole number from 0 to 999: the deck's shuffle keys.
using RandomKeys = std::function<int()>;

// A source seeded from the clock; the window makes one per run.
RandomKeys ClockSeededKeys();

// The fields of the random panel and the board, as one run reads them.
struct RandomRequest {
    BoardSelection board;
    QString dezJogo; // EditDezJogo
    QString quant;   // EditQuant
    FilterTexts filters;
};

struct RandomRunResult {
    GameSizeCheck size;             // LabelSel and LabelMax as the run's first step left them
    std::optional<Message> message; // a check that failed; nothing was dealt
    bool panelOpen = true;          // PanelGera still shown
    bool refreshSummary = false;    // the dealing ran: the window rebuilds the games summary
    int wanted = 0;                 // games asked for
    int accepted = 0;               // games appended to TableCar
    bool stopped = false;           // ended by the player (No, or a cancelled progress) before all were dealt
};

// One run of the random generator: checks the fields, deals games from the shuffled Valid numbers
// (every Fixed number in each game), keeps those that pass the filters, are not already in TableCar
// (by Todos) and, for six-number games, fit their class quotas, and appends them numbered after the
// last game. After every 1000 fruitless attempts the player is asked whether to go on; No, or a
// false answer of `progress`, ends the dealing and keeps what was accepted. TableCar must be open
// in Cartao order. The window rebuilds the games summary when `refreshSummary`.
RandomRunResult GenerateRandomGames(Tables& t, const RandomRequest& request, const RandomKeys& keys,
                                    Prompter& prompter, Progress& progress);

// Fills Pares and Abaixo on every game whose Abaixo holds no value, from its numbers d1, d2, ...
// up to the first empty field or 0. Games that hold Abaixo are left as they are.
void FillParesAbaixo(Table& games);
