#include "FixedNumbers.h"

#include "NumberBoard.h"
#include "Schemas.h"
#include "Table.h"

#include <algorithm>

namespace {
// A table of its own, outside the program's thirteen: nothing else reads or writes this file.
struct FixedTable : Table {
    explicit FixedTable(const QString& folder) : Table(QStringLiteral("TableFix"), folder, kFixedFile) {
        defineFields(Schemas::numberList());
    }
};
} // namespace

QList<int> LoadFixed(const QString& folder) {
    FixedTable t(folder);
    if (!t.fileExists())
        return {};
    t.open();
    const int dezena = t.fieldIndex(u"Dezena");
    QList<int> fixed;
    for (int i = 0; i < t.rowCount(); ++i)
        if (const auto n = t.rowAt(i).intValue(dezena); n && *n >= 1 && *n <= NumberBoard::kNumbers)
            fixed.push_back(*n);
    t.close();
    std::sort(fixed.begin(), fixed.end());
    fixed.erase(std::unique(fixed.begin(), fixed.end()), fixed.end());
    return fixed;
}

void ApplyFixed(NumberBoard& board, const QList<int>& fixed) {
    for (const int n : fixed)
        if (n >= 1 && n <= NumberBoard::kNumbers && board.state(n) == NumberState::Valid)
            board.ToggleCell(n, PressButton::Right);
}

void SaveFixed(const QString& folder, const QList<int>& fixed) {
    FixedTable t(folder);
    if (t.fileExists()) {
        t.open(); // a file that cannot be read is refused here and never written over
        t.emptyTable();
    } else if (fixed.isEmpty()) {
        return;
    } else {
        t.create();
    }
    const int dezena = t.fieldIndex(u"Dezena");
    for (const int n : fixed) {
        t.insert();
        t.setInteger(dezena, n);
        t.post();
    }
    t.write();
    t.close();
}
