#pragma once

#include "FieldDef.h"

#include <QString>
#include <functional>
#include <optional>

class RecordStore;
class Table;

// The rules the values of the player's files keep, checked when a file is read, before its rows
// are taken: a file that breaks one was damaged (a disk error, another program) and is refused
// with what is wrong, so the damage is noticed at once instead of being copied into every later
// file. Each check answers nothing for rows that keep the rules, or the first fault, in
// Portuguese ("o concurso 1198 tem a dezena 99, que não é um número de 1 a 60"). Empty cells are
// values not entered yet and keep the rules; fields a file does not have are not checked.
namespace LoadChecks {

using Check = std::function<std::optional<QString>(const FieldList& fields, const RecordStore& rows)>;

// The draws: each drawn number (d1 .. d6) a whole number and each draw number (Concurso) a whole
// number named by one row only.
std::optional<QString> draws(const FieldList& fields, const RecordStore& rows);
// The numbers of the draws a table holds: from 1 to 60, the six of a draw all different. The window
// itself can store another number (a navigator move posts what was typed without the field's
// check), so this is not a reason to refuse the file; the start-up tells it and leaves the file
// as it is.
std::optional<QString> drawNumbers(const Table& res);
// The discarded numbers (Dezena): each a whole number from 1 to 60, each once.
std::optional<QString> discarded(const FieldList& fields, const RecordStore& rows);
// The games: each game's numbers (d1 .. d15) whole numbers (the games grid takes any typed number).
std::optional<QString> games(const FieldList& fields, const RecordStore& rows);

} // namespace LoadChecks
