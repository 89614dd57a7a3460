#pragma once

#include "GameMeasures.h"

#include <QString>
#include <QStringView>
#include <optional>

// The whole number written in a text, blanks at either end removed: an optional sign and decimal
// digits that fit a 32-bit signed integer. Anything else, an empty text and a number too long for
// 32 bits included, is not a whole number.
std::optional<int> WholeNumber(QStringView text);

struct IntRange {
    int min = 0;
    int max = 0;
    friend bool operator==(const IntRange&, const IntRange&) = default;
};

// Reads a range typed as "min-max" in a filter field. An empty text gives the defaults. Only the
// first ten characters are read: the first "-" among them splits the text (none: the whole first
// nine characters are the minimum), each piece is trimmed; a minimum that is not a whole number
// becomes `minIfInvalid`, a maximum that is not one (or is below the minimum) becomes the minimum.
IntRange ParseRange(QStringView text, int defaultMin, int defaultMax, int minIfInvalid);

// The whole number in a bound field; 0 when the text is not one, an empty text included.
int ReadBound(QStringView text);

// The bounds of one generator run.
struct FilterSettings {
    int paresMin = 0;
    int paresMax = 0;
    int linhasMin = 0;
    int linhasMax = 0;
    int dezenaInicial = 0; // the largest accepted first number
    int dezenaFinal = 0;   // the smallest accepted last number
    friend bool operator==(const FilterSettings&, const FilterSettings&) = default;
};

// True when the game starts at or below DezenaInicial, ends at or above DezenaFinal, and its even
// numbers and filled rows lie in their ranges.
bool PassesFilters(const GameMeasures& m, const FilterSettings& s);

// The texts of the four fields of the filter strip, as typed.
struct FilterTexts {
    QString pares = QStringLiteral("1-6");  // EditPares
    QString linhas = QStringLiteral("1-6"); // EditLinhas
    QString inicial = QStringLiteral("60"); // EditInicial
    QString final = QStringLiteral("1");    // EditFinal
};

// The strip read for each generator; they differ in how an unreadable even-number range falls
// back (the random generator allows games without even numbers, the combination one does not).
FilterSettings RandomFilterSettings(const FilterTexts& texts);
FilterSettings CombinationFilterSettings(const FilterTexts& texts);
