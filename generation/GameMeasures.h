#pragma once

#include <QString>
#include <span>

// The measures of a game that the filters test and the games table stores with every game.
struct GameMeasures {
    int pares = 0;  // even numbers
    int linhas = 0; // rows of ten (1-10, 11-20, ..., 51-60) holding at least one number
    int abaixo = 0; // numbers of 30 or less
    int first = 0;  // smallest number
    int last = 0;   // largest number
    friend bool operator==(const GameMeasures&, const GameMeasures&) = default;
};

// One pass over the numbers, which are in ascending order. A number outside 1..60 marks no row.
GameMeasures MeasureGame(std::span<const int> ascending);

// The duplicate key of a game: its numbers in ascending order as two-digit texts joined without a
// separator ("031722384560" for 3, 17, 22, 38, 45, 60).
QString TodosText(std::span<const int> ascending);
