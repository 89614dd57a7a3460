#include "PlayerWork.h"

#include "DiscardedNumbers.h"
#include "NumberBoard.h"
#include "TableError.h"
#include "Tables.h"

QStringList CommitPlayerWork(Tables& t, const NumberBoard& board, QList<int>& savedDiscards) {
    QStringList failures;
    if (board.discardedNumbers() != savedDiscards) {
        try {
            SaveDiscarded(t, board);
            savedDiscards = board.discardedNumbers();
        } catch (const TableError& e) {
            failures << e.message();
        }
    }
    failures << t.commitChanges();
    return failures;
}
