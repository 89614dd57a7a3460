#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <span>

// The four counts and the weight of one number over the draws of the history.
struct NumberCounts {
    int absence = 0;        // draws since it last came out; all draws if it never did
    int lastAbsence = 0;    // the current absence, or the one its latest appearance ended
    int longestAbsence = 0; // the largest value lastAbsence ever took
    int timesDrawn = 0;
    double weight = 0.0; // each appearance counts 1.0, decayed by 0.95 for every later draw
    friend bool operator==(const NumberCounts&, const NumberCounts&) = default;
};

// The limits between the five weight classes, from the lightest and the heaviest weight.
struct WeightLimits {
    std::array<double, 4> limit{};
    friend bool operator==(const WeightLimits&, const WeightLimits&) = default;
};

// 1 below limit 1; 2 from limit 1 to below limit 2; 3 from limit 2 up to and including limit 3;
// 4 above limit 3 and below limit 4; 5 from limit 4 on. Equal limits therefore put everything
// on them into class 3.
int weightClass(const WeightLimits& limits, double weight);
// The colour of a class as 0xRRGGBB: clRed, clFuchsia, clBlue, clMaroon, clBlack for 1 to 5.
quint32 classColor(int weightClass);
// The class colour of a weight under the given limits.
quint32 WeightClassColor(const WeightLimits& limits, double weight);

// The limits for a set of weights: step = (max - min) / 5, limits at min + 1.0, 1.5, 2.4 and 3.0
// steps.
WeightLimits weightLimits(std::span<const double> weights);

// The six numbers of one draw in the order they were entered; 0 for an empty field.
using DrawNumbers = std::array<int, 6>;

// Everything one recomputation derives from the history, and the texts the window shows.
struct NumberStatistics {
    static constexpr int kNumbers = 60;

    std::array<NumberCounts, kNumbers> numbers{}; // number n at n - 1
    WeightLimits limits;
    std::array<int, 5> classCounts{}; // how many numbers fall in classes 1 to 5
    int lastConcurso = 0;             // the last complete draw's number, 0 without one
    int drawsCounted = 0;             // draws with six numbers from 1 to 60
    int drawsSkipped = 0;             // draws left out because a number was missing or outside 1..60

    // n is 1..60.
    const NumberCounts& of(int n) const { return numbers[static_cast<std::size_t>(n - 1)]; }
    int classOf(int n) const { return weightClass(limits, of(n).weight); }
    quint32 colorOf(int n) const { return classColor(classOf(n)); }

    // The weight with "##0.00" and the default locale's decimal separator: 1,85.
    QString weightText(int n) const;
    QString absenceText(int n) const { return QString::number(of(n).absence); }
    QString timesDrawnText(int n) const { return QString::number(of(n).timesDrawn); }
    // "Média por dezena = " and the last draw's number divided by 10, truncated.
    QString mediaText() const;
    // The legend count of class 1..5, in decimal.
    QString classCountText(int weightClass) const;

    friend bool operator==(const NumberStatistics&, const NumberStatistics&) = default;
};

// True when the six numbers are six different numbers from 1 to 60; any other draw (typed in part,
// or with a number twice) takes no part in the statistics.
bool isCompleteDraw(const DrawNumbers& d);

// Tallies the complete draws in the order given (oldest first), skipping the others as if they
// were not there. Then sets the limits and the class counts.
NumberStatistics tallyDraws(std::span<const DrawNumbers> draws);
// Sets limits and classCounts from the weights in `s`.
void classifyWeights(NumberStatistics& s);
