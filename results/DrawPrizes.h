#pragma once

#include "DrawPayout.h"
#include "ResultsFileFormats.h"

#include <QString>
#include <vector>

class Table;

// The lottery's prizes of each draw, kept in "Premios.cds" of the working folder (one row per draw,
// in Concurso order), filled by the results import from the files that bring them. A draw typed
// by hand has none until a file brings them. "Resultados.cds" knows nothing of them: a prize row
// belongs to the draw of the same number.

// Every row of the folder's prizes file, by ascending Concurso; none without the file. Throws
// TableError when the file cannot be read.
std::vector<DrawPayout> LoadDrawPayouts(const QString& folder);

// The prizes table of `folder`, bound to its file and defined; the caller opens it through
// MergeFilePrizes.
void DefineDrawPrizesTable(Table& prizes);

// What the prizes of one import did, by draw number.
struct PrizesMerge {
    std::vector<int> read;       // draws whose prizes the file gave
    std::vector<int> unreadable; // draws whose prizes the file has but could not be read
    std::vector<int> changed;    // rows added or changed in the table
};

// Merges the dates and prizes of the file's draws (all but `refused`) into `prizes`, opening it
// from its file, or creating it in memory when the file has none and there is something to add. A
// date or tiers the file cannot give leave what the table holds; nothing is written here (see
// WriteImportedResults).
PrizesMerge MergeFilePrizes(Table& prizes, const ParsedResults& parsed, const std::vector<int>& refused);
