#pragma once

#include "BoardSelection.h"
#include "Filters.h"
#include "Prompter.h"

#include <QString>
#include <optional>
#include <vector>

class Table;

// A count text and the notice to show first, if any.
struct CountWithNotice {
    std::optional<Message> message;
    QString text;
};

// The number of 6-number combinations of n numbers with the pattern "###,###,###,###.##"; for
// fewer than 6 numbers the text "0" and the notice that combinations need more numbers.
CountWithNotice CombinationsOfSix(int n);

// The text of LabelSelC for `notDiscarded` numbers in play, `fixed` of them Fixed: "<n> pedras= "
// and the count of the combinations the generator can make, which all hold the Fixed numbers:
// C(n − fixed, 6 − fixed) ("0" with 6 or more fixed), CombinationsOfSix(n) without a Fixed one.
CountWithNotice LabelSelCText(int notDiscarded, int fixed = 0);

// How many 6-number combinations of the ascending `candidates` hold every number of `fixed` and
// pass the filters. Counted by classes (numbers chosen, even numbers, rows used) instead of one by
// one, so that all 50 million combinations of 60 numbers take a blink; always equal to
// `CountCombinationsOneByOne`.
qint64 CountCombinations(const std::vector<int>& candidates, const std::vector<int>& fixed,
                         const FilterSettings& filters);

// The same count, going through every combination in lexicographic order.
qint64 CountCombinationsOneByOne(const std::vector<int>& candidates, const std::vector<int>& fixed,
                                 const FilterSettings& filters);

// The board and the filter strip as one run reads them; `counting` for ButtonCalcComb.
struct CombinationRequest {
    BoardSelection board;
    FilterTexts filters;
    bool counting = false;
};

struct CombinationRunResult {
    std::optional<Message> message; // a check that failed; no table was touched
    bool panelOpen = true;          // PanelGera still shown (after a failed check or a counting run)
    bool refreshSummary = false;    // the run went through: the window rebuilds the games summary
    qint64 count = 0;               // combinations that passed (counting) or games written (generating)
    QString labelAGerar;            // a counting run's count, "###,###,###"
    bool stopped = false;           // a generating run cancelled through its progress
};

// One run of the combination generator, counting or generating. A generating run appends every
// passing combination, in lexicographic order, to `games` (TableCar, open in Cartao order) as a
// 6-number game numbered after the last one, with Emite "S", Dezenas 6 and the measures, and
// without Todos; after every 10,001 games written it closes the table (writing its file) and opens
// it again. A false answer of `progress` stops the run; the games written stay, numbered without
// gaps.
CombinationRunResult RunCombinations(Table& games, const CombinationRequest& request, Progress& progress);
