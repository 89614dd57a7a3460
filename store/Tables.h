#pragma once

#include "Table.h"

#include <QStringList>
#include <array>

// The thirteen tables of the program, each bound to its file in one working folder and set to the
// order it is visited in at start-up. The main window owns one of these for the whole run; the
// logic operations receive the tables they work on.
class Tables {
public:
    explicit Tables(const QString& folder);
    Tables(const Tables&) = delete;
    Tables& operator=(const Tables&) = delete;

    const QString& folder() const { return folder_; }

    // The end of a run: commits the player's tables (commitChanges) and closes every table. A
    // player's table that cannot be written stays open with its rows; the message of each failure
    // is returned. Closing writes nothing, so a scratch table's rows reach its file only when the
    // operation that filled it wrote them.
    QStringList closeAll();
    // Makes the changes of the tables that hold the player's work (TableRes, TableAval, TableCar,
    // TableDes) durable: the program calls it when an operation ends, so that what the player did
    // is on disk before the next click. Only what changed is written, in one transaction per file;
    // the scratch tables are written by the operations that fill them. Answers the message of each failure
    // (the file is named; its changes stay in memory and the next commit writes them).
    QStringList commitChanges();
    std::array<Table*, 4> playerTables() { return {&TableRes, &TableAval, &TableCar, &TableDes}; }
    std::array<Table*, 13> all();

    QString folder_;
    Table TableRes;      // draws
    Table TableLimpaRes; // scratch copy for the start-up rebuild of the results file
    Table TableAval;     // per-number weight and distribution marks
    Table TableCar;      // the player's games
    Table TableDes;      // discarded numbers
    Table TableOrd;      // scratch list of numbers
    Table TableSaidas;   // per-number statistics
    Table TableRelSai;   // statistics report lines
    Table TableDis;      // distributed games
    Table TableDezVal;   // the random generator's deck
    Table TableRel;      // games listing lines
    Table TableImp;      // one row per printed number
    Table TableCImp;     // one row per printed slip
};

// Start-up of the results file: removes the temporary files that whole writes cut short by a
// crash left in the folder; creates an empty results table when there is no file, otherwise
// copies the draws (Concurso, d1..d6, in Concurso order) into a fresh file of the current fields
// and puts it in place of the old one in one atomic step, keeping the old one beside it as
// "Resultados.cds.anterior" (so damage that slipped past the checks is not made permanent and the
// player can go back one start); then opens the results on the last
// draw. Throws TableError when the results file cannot be read or written; the old file is then
// left as it was.
void rebuildResultsFile(Tables& t);
inline const QString kPreviousResultsFile = QStringLiteral("Resultados.cds.anterior");
