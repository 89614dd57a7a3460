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
// The number check of field `field` (0 for d1) of a draw whose six fields hold `fields`, run when
// the focus leaves that field. An empty field is accepted: the draw is still being typed, and it is
// stored only once it is whole. A number outside 1..60 gets the notice above; a number that another
// field of the draw already holds gets one naming it. The focus then goes back into the field.
std::optional<Message> CheckDrawNumber(const std::array<QString, 6>& fields, int field);
Message drawNumberRangeMessage();
Message repeatedDrawNumberMessage(int number);

// True when the six texts are six different whole numbers from 1 to 60: the only draw stored.
bool IsWholeDraw(const std::array<QString, 6>& fields);
// True when none of the six texts holds anything.
bool IsEmptyDraw(const std::array<QString, 6>& fields);
// The six numbers of the current (or pending) draw as texts, empty where a field is empty.
std::array<QString, 6> DrawTexts(const Table& res);
// The question asked when the player leaves draw `concurso` before it is whole (another draw, the
// navigator, the grid, "Sai", the close): Yes discards what was typed, No goes back to the draw.
Message incompleteDrawQuestion(const QString& concurso);
// Told when "Salva" is pressed on a draw that is not whole yet.
Message incompleteDrawNotice(const QString& concurso);
// Why a post of a draw that is not whole was refused (the last guard, whatever moved the table).
QString incompleteDrawRefusal(const QString& concurso);
// The position of the last draw whose six numbers are six different numbers from 1 to 60, or
// nothing; every use of "the last draw" (the check, the statistics) means this one.
std::optional<int> LastWholeDrawPosition(const Table& res);

// Asks "Deleta mesmo este concurso? " and on Yes deletes the current draw; the one that followed
// it (or the new last one) becomes current. Answers the new EditConc text (empty when no draw is
// left), or nothing when nothing was deleted. Without a current draw nothing is asked.
std::optional<QString> DeleteCurrentDraw(Table& res, Prompter& prompter);

// The reminder shown each time the entry panel is closed.
Message recomputeReminderMessage();

// True when TableRes has a pending draw (being edited or inserted) that is whole, so that it may be
// stored; a draw typed only in part is never stored.
bool PendingDrawIsStorable(const Table& res);
// At shutdown, before the tables are closed: posts a storable pending draw, which closing would
// otherwise drop; any other pending draw is cancelled. Answers true when a draw was posted.
bool StorePendingDraw(Table& res);
// At shutdown: removes the draws whose six numbers are all empty (added by "Cadastra?" and never
// typed), which no statistic can use. Answers how many were removed.
int RemoveEmptyDraws(Table& res);
