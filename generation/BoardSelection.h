#pragma once

#include <algorithm>
#include <vector>

// The player's selection on the board as the generators need it: the numbers left in play, split
// into the `Valid` ones (dealt or combined freely) and the `Fixed` ones (in every game). A number
// in neither list is `Discarded`. The window fills it from the board before each run.
struct BoardSelection {
    std::vector<int> valid;
    std::vector<int> fixed;

    // Every number that is not discarded, ascending: the combination generator's candidates.
    std::vector<int> candidates() const {
        std::vector<int> all = valid;
        all.insert(all.end(), fixed.begin(), fixed.end());
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }
};
