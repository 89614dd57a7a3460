#pragma once

#include <QString>

class Table;
class Tables;

// The four orders of the statistics grid, one per radio button.
enum class StatsOrder {
    Dezena,     // "Número da dezena"
    Saidas,     // "Concursos que não sai"
    Demora,     // "Por última demora a sair"
    MaiorDemora // "Pela maior demora histórica"
};

// The sort key of one row: the number itself, or 1000000 − delay × 1000 + TotSai, so that in
// ascending order the longest delay comes first and, among equal delays, the number drawn fewer
// times (as long as TotSai stays below 1000).
qint64 orderKey(StatsOrder order, int dezena, int saidas, int demora, int maiorDemora, int totSai);

// Writes Ordenador into every row of TableSaidas for `order` and leaves the table indexed by
// Ordenador, on its first row; rows equal in the key keep ascending number order.
void OrderStatistics(Tables& t, StatsOrder order);

// Fills TableRelSai (re-created, left open, 60 rows in Dezena order) with the numbers and their
// counts in the four orders side by side: row k holds number k, then the k-th number by absence
// (group N), by last absence (group D) and by longest absence (group M). Leaves TableSaidas indexed
// by Dezena, on its first row; the grid shows 1 to 60 again.
void BuildStatisticsReport(Tables& t);

// The report title: "Mega-Sena. Concurso: " and the number of the last complete draw, the one the
// figures stop at; "Mega-Sena. Nenhum concurso cadastrado" when there is none. Moves TableRes to
// its last row.
QString StatisticsReportTitle(Table& res);
