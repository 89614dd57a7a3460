#pragma once

#include <QString>
#include <QtGlobal>

// How many sets of k numbers can be drawn from n, computed in floating point as
// (n × (n − 1) × … × (r + 1)) ÷ (n − r)!, r being the larger of k and n − k; 0 when k > n or
// either is negative. Beyond 2^53 the value is the nearest the product gives, not exact.
double FloatCombinations(int n, int k);

// A count with the pattern "###,###,###,###.##": digit groups with the group separator of the
// default locale, the two decimals shown only when they are not zero, nothing at all for 0.
QString CountText(double value);

// A whole count with the pattern "###,###,###": digit groups, an empty text for 0.
QString GroupedCountText(qint64 value);
