#pragma once

#include "NumberStatistics.h"
#include "Prompter.h"
#include "ResultsFileFormats.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class Table;
class Tables;

// What an import did, by draw number, and the one message that sums it up.
struct ResultsImportOutcome {
    Message message;           // the summary, or why the file was refused
    bool fileRefused = false;  // the file could not be read as results: nothing changed
    bool written = false;      // "Resultados.cds" was written (some draw added or replaced)
    std::vector<int> added;    // new draws
    std::vector<int> replaced; // draws whose numbers the file's replaced
    std::vector<int> kept;     // draws that differ from the file, kept as they were (the player said No)
    std::vector<int> equal;    // draws already held with the same six numbers
    std::vector<int> refused;  // rows that are not six different numbers from 1 to 60, or conflict
    std::optional<NumberStatistics> statistics; // recomputed once after a change
    // The prizes of each draw, where the file has them ("Premios.cds").
    std::vector<int> prizesRead;       // draws whose prizes the file gave
    std::vector<int> prizesUnreadable; // draws whose prize values could not be read: left empty
    bool prizesWritten = false;        // "Premios.cds" was written (prizes or dates added or changed)
};

// Merges the draws of a results file (any format ParseResultsFile reads) into TableRes:
// - a draw held with the same six numbers (as a set) is left alone;
// - the draws held with other numbers are listed in one question, whose answer decides for all of
//   them whether the file's numbers replace the stored ones;
// - new draws are added, with their numbers in the file's order;
// - no stored draw is ever removed; refused rows are only counted.
// The whole change is one durable, atomic write of "Resultados.cds" (a failure leaves the file and
// the table as they were, and throws TableError); then the statistics are recomputed once, as
// RecomputeStatistics does, and TableRes stands on its last draw. When nothing changes nothing is
// written or recomputed. A file that cannot be read as results changes nothing; its message
// names the file and what is wrong with it.
ResultsImportOutcome ImportResultsFile(Tables& t, const QString& path, Prompter& prompter);

// The same for content already in memory; `fileName` names it in the messages.
ResultsImportOutcome ImportResults(Tables& t, const QByteArray& content, const QString& fileName,
                                   Prompter& prompter);

// The title of every message of the import.
QString importResultsTitle();

// The one place where an import stores TableRes in its file: the added and replaced draws are
// written durably in one SQLite transaction (all or none), or a whole atomic write when the table
// needs one. The prizes table of the same import, when given, is written the same way first: a
// failure there leaves both files as they were, and prizes written before a failure of the results
// file only describe draws by their number, harmless until a draw of that number is held. Throws
// TableError naming the file.
void WriteImportedResults(Table& res, Table* prizes = nullptr);
