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

Message repeatedDrawNumberMessage(int number) {
    return {QStringLiteral("Valor das dezenas"),
            QStringLiteral("A dezena %1 já está neste concurso: as dezenas são seis números diferentes. ")
                .arg(number, 2, 10, QLatin1Char('0'))};
}

std::optional<Message> CheckDrawNumber(const std::array<QString, 6>& fields, int field) {
    const QString& text = fields[static_cast<std::size_t>(field)];
    if (text.trimmed().isEmpty())
        return std::nullopt;
    if (auto range = CheckDrawNumber(text))
        return range;
    const int number = ParseWholeNumber(text).value_or(0);
    for (int i = 0; i < 6; ++i)
        if (i != field && ParseWholeNumber(fields[static_cast<std::size_t>(i)]) == number)
            return repeatedDrawNumberMessage(number);
    return std::nullopt;
}

bool IsWholeDraw(const std::array<QString, 6>& fields) {
    std::array<bool, 61> seen{};
    for (const QString& t : fields) {
        const int n = ParseWholeNumber(t).value_or(0);
        if (!isDrawNumber(n) || seen[static_cast<std::size_t>(n)])
            return false;
        seen[static_cast<std::size_t>(n)] = true;
    }
    return true;
}

bool IsEmptyDraw(const std::array<QString, 6>& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const QString& t) { return t.trimmed().isEmpty(); });
}

std::array<QString, 6> DrawTexts(const Table& res) {
    std::array<QString, 6> texts;
    if (!res.isOpen() || (res.position() < 0 && !res.isEditing()))
        return texts;
    for (int i = 0; i < 6; ++i)
        texts[static_cast<std::size_t>(i)] = res.text(res.fieldIndex(QStringLiteral("d%1").arg(i + 1)));
    return texts;
}

Message incompleteDrawQuestion(const QString& concurso) {
    Message m{QStringLiteral("Concurso incompleto"),
              QStringLiteral("O concurso %1 ainda não tem seis dezenas diferentes de 1 a 60 e não pode ser "
                             "guardado assim. Descarta o que foi digitado neste concurso? ")
                  .arg(concurso)};
    m.yesByDefault = false; // it destroys what was typed
    return m;
}

Message incompleteDrawNotice(const QString& concurso) {
    return {QStringLiteral("Concurso incompleto"),
            QStringLiteral("O concurso %1 só é guardado com as seis dezenas, seis números diferentes de 1 a "
                           "60. ")
                .arg(concurso)};
}

QString incompleteDrawRefusal(const QString& concurso) {
    return QStringLiteral("O concurso %1 não foi guardado: um concurso tem seis dezenas diferentes de 1 a "
                          "60.")
        .arg(concurso);
}

std::optional<int> LastWholeDrawPosition(const Table& res) {
    if (!res.isOpen())
        return std::nullopt;
    std::array<int, 6> fields{};
    for (int i = 0; i < 6; ++i)
        fields[static_cast<std::size_t>(i)] = res.fieldIndex(QStringLiteral("d%1").arg(i + 1));
    for (int r = res.rowCount() - 1; r >= 0; --r) {
        const RowRef row = res.rowAt(r);
        std::array<QString, 6> texts;
        for (std::size_t i = 0; i < 6; ++i)
            texts[i] = row.text(fields[i]);
        if (IsWholeDraw(texts))
            return r;
    }
    return std::nullopt;
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
    return res.isEditing() && IsWholeDraw(DrawTexts(res));
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
