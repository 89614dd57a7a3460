#pragma once

#include "NumberStatistics.h"

#include <array>

class Tables;

// The derived counts of one draw, in the order of the fields pares, impares, abaixo (up to 30)
// and acima.
using DerivedCounts = std::array<int, 4>;
DerivedCounts derivedCounts(const DrawNumbers& d);

// Derives every statistic from the whole history in TableRes (which must be open) and stores it:
// - TableSaidas is re-created with 60 rows in ascending Dezena, Ordenador empty, open, on its
//   first row;
// - TableAval ("Aval.cds") gets its 60 rows the first time and is never re-created, so Desprezada
//   and Cartao keep what generation left; Nota receives each weight (the exact double); it is
//   left open with its index on Nota;
// - every draw gets pares, impares, abaixo and acima; a draw whose six numbers are not all from 1
//   to 60 takes no part in anything and has those four fields emptied;
// - TableRes is left on its last draw.
// With no draw at all every count and weight is 0 and the average is 0. Table failures throw
// TableError.
NumberStatistics RecomputeStatistics(Tables& t);
