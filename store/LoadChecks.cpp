#include "LoadChecks.h"

#include "RecordStore.h"
#include "Table.h"

#include <QSet>
#include <cmath>

namespace LoadChecks {

namespace {

std::optional<int> fieldOf(const FieldList& fields, QStringView name) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return std::nullopt;
}

// A filled cell as a whole number, whatever the field's type; nothing when it is not one.
std::optional<qint64> whole(const CellReader& r, int f) {
    switch (r.type(f)) {
    case FieldType::Integer:
        return r.rawInteger(f);
    case FieldType::Float: {
        const double d = r.rawReal(f);
        if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 1e15)
            return std::nullopt;
        return static_cast<qint64>(d);
    }
    case FieldType::String: {
        bool ok = false;
        const qint64 v = r.text(f).trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(v) : std::nullopt;
    }
    }
    return std::nullopt;
}

QString shownValue(const CellReader& r, int f) {
    const QString t = r.text(f);
    return r.type(f) == FieldType::String ? QStringLiteral("\"%1\"").arg(t) : t;
}

// The numbers of one row (the fields given, filled ones only) as whole numbers. `what` names the
// row and is only asked for a fault: a million games are checked without a text each.
template <typename What>
std::optional<QString> wholeNumbersOf(const CellReader& r, const std::vector<int>& numberFields, What what) {
    for (const int f : numberFields)
        if (!r.isEmpty(f) && !whole(r, f))
            return QStringLiteral("%1 tem a dezena %2, que não é um número inteiro")
                .arg(what(), shownValue(r, f));
    return std::nullopt;
}

// The numbers of one row (the fields given, filled ones only): the first fault, where `what`
// names the row ("o concurso 7", "o jogo 3").
std::optional<QString> numbersOf(const CellReader& r, const std::vector<int>& numberFields,
                                 const QString& what) {
    quint64 seen = 0;
    for (const int f : numberFields) {
        if (r.isEmpty(f))
            continue;
        const auto n = whole(r, f);
        if (!n || *n < 1 || *n > 60)
            return QStringLiteral("%1 tem a dezena %2, que não é um número de 1 a 60")
                .arg(what, shownValue(r, f));
        const quint64 bit = quint64{1} << *n;
        if (seen & bit)
            return QStringLiteral("%1 tem a dezena %2 mais de uma vez").arg(what).arg(*n);
        seen |= bit;
    }
    return std::nullopt;
}

std::vector<int> numberedFields(const FieldList& fields, int count) {
    std::vector<int> out;
    for (int i = 1; i <= count; ++i)
        if (const auto f = fieldOf(fields, QStringLiteral("d%1").arg(i)))
            out.push_back(*f);
    return out;
}

template <typename Visit> std::optional<QString> eachRow(const RecordStore& rows, Visit visit) {
    for (std::uint32_t p = 0; p < rows.size(); ++p) {
        if (!RecordLayout::alive(rows.record(p)))
            continue;
        if (auto fault = visit(rows.reader(p), p))
            return fault;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> draws(const FieldList& fields, const RecordStore& rows) {
    const auto concurso = fieldOf(fields, u"Concurso");
    const std::vector<int> numbers = numberedFields(fields, 6);
    QSet<qint64> drawNumbers;
    return eachRow(rows, [&](const CellReader& r, std::uint32_t p) -> std::optional<QString> {
        std::optional<qint64> number;
        if (concurso && !r.isEmpty(*concurso)) {
            number = whole(r, *concurso);
            if (!number)
                return QStringLiteral("o número de concurso %1 não é um número inteiro")
                    .arg(shownValue(r, *concurso));
            if (drawNumbers.contains(*number))
                return QStringLiteral("o concurso %1 aparece mais de uma vez").arg(*number);
            drawNumbers.insert(*number);
        }
        return wholeNumbersOf(r, numbers, [&] {
            return number ? QStringLiteral("o concurso %1").arg(*number)
                          : QStringLiteral("o registro %1").arg(p + 1);
        });
    });
}

std::optional<QString> drawNumbers(const Table& res) {
    const std::vector<int> numbers = numberedFields(res.fields(), 6);
    const auto concurso = fieldOf(res.fields(), u"Concurso");
    for (int i = 0; i < res.rowCount(); ++i) {
        const RowRef r = res.rowAt(i);
        const QString what = concurso && !r.isEmpty(*concurso)
                                 ? QStringLiteral("o concurso %1").arg(r.text(*concurso))
                                 : QStringLiteral("um concurso sem número");
        if (auto fault = numbersOf(r, numbers, what))
            return fault;
    }
    return std::nullopt;
}

std::optional<QString> discarded(const FieldList& fields, const RecordStore& rows) {
    const auto dezena = fieldOf(fields, u"Dezena");
    if (!dezena)
        return std::nullopt;
    quint64 seen = 0;
    return eachRow(rows, [&](const CellReader& r, std::uint32_t) -> std::optional<QString> {
        if (r.isEmpty(*dezena))
            return QStringLiteral("há uma dezena desprezada vazia");
        const auto n = whole(r, *dezena);
        if (!n || *n < 1 || *n > 60)
            return QStringLiteral("a dezena desprezada %1 não é um número de 1 a 60")
                .arg(shownValue(r, *dezena));
        const quint64 bit = quint64{1} << *n;
        if (seen & bit)
            return QStringLiteral("a dezena %1 está desprezada mais de uma vez").arg(*n);
        seen |= bit;
        return std::nullopt;
    });
}

std::optional<QString> games(const FieldList& fields, const RecordStore& rows) {
    const auto cartao = fieldOf(fields, u"Cartao");
    const std::vector<int> numbers = numberedFields(fields, 15);
    return eachRow(rows, [&](const CellReader& r, std::uint32_t p) -> std::optional<QString> {
        return wholeNumbersOf(r, numbers, [&] {
            return cartao && !r.isEmpty(*cartao) ? QStringLiteral("o jogo %1").arg(r.text(*cartao))
                                                 : QStringLiteral("o jogo do registro %1").arg(p + 1);
        });
    });
}

} // namespace LoadChecks
