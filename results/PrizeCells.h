#pragma once

#include "DrawPayout.h"

#include <QStringView>
#include <array>
#include <optional>

// Reading a draw's date and prizes from the cells of a results file, for every reader.
namespace ResultsFileReading {

// Which tier a header names (0 sena, 1 quina, 2 quadra), for the winners and for the prize per
// winner: "ganhadores6acertos" / "rateio6acertos" (the spreadsheet), "ganhadoressena" /
// "rateiosena" (the results page), for a header key as the tabular readers make it (lower case,
// letters and digits only). -1: none.
int winnersTierOfHeader(QStringView key);
int prizeTierOfHeader(QStringView key);
// "datadosorteio", "datasorteio", "data", "dataapuracao".
bool isDateHeader(QStringView key);

// A draw's date as "1996-03-11": "11/03/1996" (a time after it is ignored), "1996-03-11", or a
// spreadsheet's day number (35135); empty when the cell holds none of these.
QString drawDate(QStringView cell);

// A count of winning bets: digits, perhaps grouped by dots ("1.234").
std::optional<qint64> winnersCount(QStringView cell);

// The prizes of a draw from its cells: the date when readable, and the tiers when every one of the
// six values reads (a count and an amount of money for each tier); otherwise no tiers and
// `unreadable`.
FilePrizes prizesOfCells(std::optional<QStringView> date, const std::array<QStringView, 3>& winners,
                         const std::array<QStringView, 3>& prizes);

} // namespace ResultsFileReading
