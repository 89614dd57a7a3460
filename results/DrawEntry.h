#pragma once

#include "Prompter.h"

#include <QString>
#include <array>
#include <optional>

class Table;
class Tables;

// The logic behind the draw entry panel; the window shows what these answer.

// The text without leading and trailing blanks read as a decimal whole number that fits in 32
// bits ("+5" and "-3" are; "", "1e3", "abc", "7a", "99999999999" are not).
std::optional<int> ParseWholeNumber(const QString& text);

// The Concurso of the current draw as EditConc shows it: decimal, empty without a current draw.
QString currentConcursoText(const Table& res);

// EditConc lost the focus with `editConcText`. A text that is not a whole number, or a number below
// 1, is ignored. An existing draw becomes current. Otherwise the player is asked "Concurso não
// cadastrado. Cadastra? ": Yes adds the draw with its other fields empty and makes it current; No
// adds nothing. Answers the text to write back into EditConc (after a No: the current draw's
// Concurso), or nothing when EditConc keeps its text.
std::optional<QString> LookupOrAddDraw(const QString& editConcText, Tables& t, Prompter& prompter);

// A number field lost the focus with `text` (which the field has already accepted as a whole
// number or empty): the notice to show when it is not a number from 1 to 60 (an empty field counts
// as 0), after which the focus goes back into the field.
std::optional<Message> CheckDrawNumber(const QString& text);
// The number check of field `field` (0 for d1) of a draw whose six fields hold `fields`: as above,
// except that an empty field of a draw whose six fields are all empty is accepted, since nothing
// was typed into that draw yet (the player may still delete it or leave the panel).
std::optional<Message> CheckDrawNumber(const std::array<QString, 6>& fields, int field);
Message drawNumberRangeMessage();

// Asks "Deleta mesmo este concurso? " and on Yes deletes the current draw; the one that followed
// it (or the new last one) becomes current. Answers the new EditConc text (empty when no draw is
// left), or nothing when nothing was deleted. Without a current draw nothing is asked.
std::optional<QString> DeleteCurrentDraw(Table& res, Prompter& prompter);

// The reminder shown each time the entry panel is closed.
Message recomputeReminderMessage();

// True when TableRes has a pending draw (being edited or inserted) whose typed numbers (the filled
// ones among d1..d6) are all from 1 to 60, so that it may be stored.
bool PendingDrawIsStorable(const Table& res);
// At shutdown, before the tables are closed: posts a storable pending draw, which closing would
// otherwise drop; any other pending draw is cancelled. Answers true when a draw was posted.
bool StorePendingDraw(Table& res);
// At shutdown: removes the draws whose six numbers are all empty (added by "Cadastra?" and never
// typed), which no statistic can use. Answers how many were removed.
int RemoveEmptyDraws(Table& res);
