#include "DiscardedNumbers.h"

#include "NumberBoard.h"
#include "Schemas.h"
#include "Tables.h"

bool LoadDiscarded(Tables& t, NumberBoard& board) {
    Table& des = t.TableDes;
    if (!des.fileExists()) {
        des.close();
        des.defineFields(Schemas::numberList());
        des.create();
        board.setDiscardedNumbers({});
        return true;
    }
    des.close();
    des.open();
    const int dezena = des.fieldIndex(u"Dezena");
    QList<int> discarded;
    for (int i = 0; i < des.rowCount(); ++i)
        if (const auto n = des.rowAt(i).intValue(dezena))
            discarded.push_back(*n);
    des.close();
    // The program writes one row per discarded number, so this count is the number of rows; a row
    // outside 1..60 or repeated would only make the board's count disagree with its cells.
    board.setDiscardedNumbers(discarded);
    return false;
}

void SaveDiscarded(Tables& t, const NumberBoard& board) {
    Table& des = t.TableDes;
    if (!des.isOpen()) {
        if (des.fileExists()) {
            des.open();
        } else {
            des.defineFields(Schemas::numberList());
            des.create();
        }
    }
    const int dezena = des.fieldIndex(u"Dezena");
    des.emptyTable();
    for (const int n : board.discardedNumbers()) {
        des.insert();
        des.setInteger(dezena, n);
        des.post();
    }
    des.commitChanges(); // on failure the table stays open with its rows, for the next commit
    des.close();
}
