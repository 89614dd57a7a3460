#pragma once

#include "WheelSearch.h"

#include <vector>

// Wheels found beforehand by the program's own search, run for minutes rather than seconds
// (bench_wheels with a file to write them to), for shapes the search cannot bring as low in the
// time a player waits. Games are sets of positions 0..v-1, like the search's. Each one is proven
// by CheckWheel when it is read, and a wheel that fails is not offered.
std::vector<WheelMask> StoredWheel(const WheelShape& shape);

// The shapes the table holds a wheel for.
std::vector<WheelShape> StoredWheelShapes();
