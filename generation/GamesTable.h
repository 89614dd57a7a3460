#pragma once

#include "GameMeasures.h"
#include "Table.h"

#include <array>
#include <optional>
#include <span>

// Field positions of the games table, resolved once so that loops over millions of games do not
// look names up. Works on any table with the games fields.
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

// What a generator writes in a new game row beside Cartao, Dezenas and the numbers; every field it
// does not name stays empty (another step may fill it later, as FillParesAbaixo and
// FillDerivedFields do).
struct GameRowFields {
    bool todos = false;       // the duplicate key, TodosText
    bool linhas = false;      // the measure Linhas
    bool paresAbaixo = false; // the measures Pares and Abaixo
    QString emite;            // the Emite letter; empty: not written

    // Random generation: Todos and Linhas; Pares and Abaixo come from FillParesAbaixo.
    static GameRowFields random() { return {true, true, false, {}}; }
    // Combination generation: the three measures and Emite "S", no Todos, so that random
    // generation never takes these games for duplicates.
    static GameRowFields combination() { return {false, true, true, QStringLiteral("S")}; }
    // The distribution editor's commit: Todos alone; FillDerivedFields writes the measures.
    static GameRowFields distribution() { return {true, false, false, {}}; }
    // A wheel's games: Todos, the three measures and Emite "S".
    static GameRowFields wheel() { return {true, true, true, QStringLiteral("S")}; }
};

// Appends and posts one game numbered `cartao`: Dezenas, its numbers ascending in d1..dN, and the
// fields `written` names. The one way every generator writes a game row. `measures`, when the
// caller has them already, are those of `ascending`.
void AppendGame(Table& games, const GameFields& f, qint64 cartao, std::span<const int> ascending,
                const GameRowFields& written, const std::optional<GameMeasures>& measures = std::nullopt);

// The numbers of a stored game, counted from d1 upward while a field holds a number above 0; the
// first empty field or 0 ends the game.
int ReadGameNumbers(const RowRef& row, const GameFields& f, std::array<int, 15>& out);
