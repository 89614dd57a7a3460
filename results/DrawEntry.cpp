#include "DrawEntry.h"

#include "Table.h"
#include "Tables.h"

#include <algorithm>

namespace {
bool isDrawNumber(int n) {
    return n >= 1 && n <= 60;
}
} // namespace

std::optional<int> ParseWholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

QString currentConcursoText(const Table& res) {
    if (!res.isOpen() || (res.position() < 0 && !res.isEditing()))
        return QString();
    return res.text(res.fieldIndex(u"Concurso"));
}

std::optional<QString> LookupOrAddDraw(const QString& editConcText, Tables& t, Prompter& prompter) {
    const std::optional<int> concurso = ParseWholeNumber(editConcText);
    if (!concurso || *concurso < 1)
        return std::nullopt;
    Table& res = t.TableRes;
    if (res.locate(u"Concurso", *concurso))
        return std::nullopt;
    if (!prompter.ask({QStringLiteral("Inclusão de concurso"),
                       QStringLiteral("Concurso não cadastrado. Cadastra? "), true}))
        return currentConcursoText(res);
    res.insert();
    res.setInteger(res.fieldIndex(u"Concurso"), *concurso);
    res.post();
    return std::nullopt;
}

Message drawNumberRangeMessage() {
    return {QStringLiteral("Valor das dezenas"), QStringLiteral("As dezenas varias de 1 a 60. ")};
}

std::optional<Message> CheckDrawNumber(const QString& text) {
    if (isDrawNumber(ParseWholeNumber(text).value_or(0)))
        return std::nullopt;
    return drawNumberRangeMessage();
}

std::optional<Message> CheckDrawNumber(const std::array<QString, 6>& fields, int field) {
    const bool untouched =
        std::all_of(fields.begin(), fields.end(), [](const QString& t) { return t.trimmed().isEmpty(); });
    if (untouched)
        return std::nullopt;
    return CheckDrawNumber(fields[static_cast<std::size_t>(field)]);
}

std::optional<QString> DeleteCurrentDraw(Table& res, Prompter& prompter) {
    if (!res.isOpen() || res.rowCount() == 0 || (res.position() < 0 && !res.isEditing()))
        return std::nullopt;
    if (!prompter.ask(
            {QStringLiteral("Exclusão de concurso"), QStringLiteral("Deleta mesmo este concurso? ")}))
        return std::nullopt;
    res.remove();
    return currentConcursoText(res);
}

Message recomputeReminderMessage() {
    return {QStringLiteral("Atualizar as estatísticas"),
            QStringLiteral("Ao alterar a tabela dos resultados, lembre-se de mandar o sistema atualizar as "
                           "estatísticas. ")};
}

bool PendingDrawIsStorable(const Table& res) {
    if (!res.isEditing())
        return false;
    for (int i = 1; i <= 6; ++i) {
        const int f = res.fieldIndex(QStringLiteral("d%1").arg(i));
        if (!res.isEmpty(f) && !isDrawNumber(res.intValue(f).value_or(0)))
            return false;
    }
    return true;
}

bool StorePendingDraw(Table& res) {
    if (!res.isEditing())
        return false;
    if (!PendingDrawIsStorable(res)) {
        res.cancel();
        return false;
    }
    res.post();
    return true;
}

int RemoveEmptyDraws(Table& res) {
    if (!res.isOpen())
        return 0;
    if (res.isEditing())
        res.post();
    int removed = 0;
    for (int r = res.rowCount() - 1; r >= 0; --r) {
        const RowRef row = res.rowAt(r);
        bool empty = true;
        for (int i = 1; i <= 6 && empty; ++i)
            empty = row.isEmpty(res.fieldIndex(QStringLiteral("d%1").arg(i)));
        if (!empty)
            continue;
        res.moveTo(r);
        res.remove();
        ++removed;
    }
    return removed;
}
