#include "PlayerWork.h"

#include "DiscardedNumbers.h"
#include "FixedNumbers.h"
#include "NumberBoard.h"
#include "TableError.h"
#include "Tables.h"

QStringList CommitPlayerWork(Tables& t, const NumberBoard& board, QList<int>& savedDiscards,
                             QList<int>& savedFixed) {
    QStringList failures;
    if (board.discardedNumbers() != savedDiscards) {
        try {
            SaveDiscarded(t, board);
            savedDiscards = board.discardedNumbers();
        } catch (const TableError& e) {
            failures << e.message();
        }
    }
    if (board.fixedNumbers() != savedFixed) {
        try {
            SaveFixed(t.folder(), board.fixedNumbers());
            savedFixed = board.fixedNumbers();
        } catch (const TableError& e) {
            failures << e.message();
        }
    }
    failures << t.commitChanges();
    // One box per failure: the discarded numbers' save and the commit that follows it meet the
    // same file.
    failures.removeDuplicates();
    return failures;
}
