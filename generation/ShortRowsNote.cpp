#include "ShortRowsNote.h"

#include "DistributionEditor.h"

#include <QStringList>

QString ShortRowsNote(const DistributionEditor& editor) {
    QStringList rows;
    int numbers = 0;
    for (int r = 1; r <= DistributionEditor::kRows; ++r) {
        const auto n = static_cast<int>(editor.rowNumbers(r).size());
        if (n > 0 && n < 6) {
            rows << QString::number(r);
            numbers = n;
        }
    }
    if (rows.isEmpty())
        return QString();
    if (rows.size() == 1)
        return QStringLiteral("A linha %1 tem só %2 %3 e não será um jogo: um jogo tem no mínimo 6 dezenas.")
            .arg(rows.front())
            .arg(numbers)
            .arg(numbers == 1 ? QStringLiteral("dezena") : QStringLiteral("dezenas"));
    const QString last = rows.takeLast();
    return QStringLiteral(
               "As linhas %1 e %2 têm menos de 6 dezenas e não serão jogos: um jogo tem no mínimo 6 "
               "dezenas.")
        .arg(rows.join(QStringLiteral(", ")), last);
}
