#pragma once

#include "Table.h"

#include <array>
#include <span>

// Field positions of the games table, resolved once so that loops over millions of games do not
// look names up. Works on any table with the games fields (TableCar, TableCarImp).
struct GameFields {
    explicit GameFields(const Table& t);
    int cartao, emite, pares, linhas, abaixo, dezenas, acertos, todos;
    std::array<int, 15> d;
    std::array<int, 15> ad;
};

// The game number the next appended game gets: the highest Cartao of the table plus 1, whatever
// order the table is in, or 1 when the table is empty or holds no readable number. Every
// generator numbers its games from here, so a game number is never given twice.
qint64 NextGameNumber(Table& games);

// Appends one game numbered `cartao`, its numbers ascending in d1..dN, with the values every
// generator stores beside them: Dezenas, the measures (Pares, Linhas, Abaixo), Todos and Emite.
void AppendGame(Table& games, const GameFields& f, qint64 cartao, std::span<const int> ascending,
                const QString& emite = {});

// The numbers of a stored game, counted from d1 upward while a field holds a number above 0; the
// first empty field or 0 ends the game.
int ReadGameNumbers(const RowRef& row, const GameFields& f, std::array<int, 15>& out);
