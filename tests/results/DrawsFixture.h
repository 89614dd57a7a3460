#pragma once

#include "Tables.h"

#include <QStringList>
#include <QVariant>
#include <array>

// A results table in a fresh folder, filled draw by draw.
inline void startResults(Tables& t) {
    rebuildResultsFile(t);
}

// Appends a draw; an invalid QVariant leaves that number empty.
inline void addDrawCells(Tables& t, int concurso, const std::array<QVariant, 6>& numbers) {
    Table& res = t.TableRes;
    res.insert();
    res.setInteger(res.fieldIndex(u"Concurso"), concurso);
    for (int i = 0; i < 6; ++i)
        res.setValue(res.fieldIndex(QStringLiteral("d%1").arg(i + 1)), numbers[static_cast<std::size_t>(i)]);
    res.post();
}

inline void addDraw(Tables& t, int concurso, const std::array<int, 6>& numbers) {
    std::array<QVariant, 6> v;
    for (std::size_t i = 0; i < 6; ++i)
        v[i] = numbers[i];
    addDrawCells(t, concurso, v);
}

// Every row of a table in its index order, as "a/b/c" texts.
inline QStringList tableRows(const Table& table) {
    QStringList out;
    for (int i = 0; i < table.rowCount(); ++i) {
        const RowRef r = table.rowAt(i);
        QStringList cells;
        for (int f = 0; f < table.fieldCount(); ++f)
            cells << r.text(f);
        out << cells.join(QLatin1Char('/'));
    }
    return out;
}
