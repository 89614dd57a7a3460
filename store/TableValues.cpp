#include "Table.h"
#include "TableError.h"
#include "ValueParsing.h"

#include <QLocale>
#include <cmath>
#include <limits>

// The values of the current row: texts parsed into numbers, typed reads and writes, and the
// conversions between a field's type and the value given for it.

std::optional<qint32> ValueParsing::integer(const QString& text) {
    bool ok = false;
    const qint32 v = text.trimmed().toInt(&ok); // refuses what does not fit in 32 bits
    return ok ? std::optional<qint32>(v) : std::nullopt;
}

std::optional<double> ValueParsing::real(const QString& text) {
    bool ok = false;
    const QString t = text.trimmed();
    double v = QLocale().toDouble(t, &ok); // the player's own format first, then the file's
    if (!ok)
        v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

CellReader Table::current() const {
    if (state_ == State::Insert)
        return {&layout_, pending_.bytes.data(), nullptr, 0, &pending_.spill};
    if (state_ == State::Edit)
        return {&layout_, pending_.bytes.data(), &rows_, editedPhys_, &pending_.spill};
    if (state_ == State::Closed)
        throw TableError::notOpen(name_);
    if (pos_ < 0)
        throw TableError::noCurrentRow(name_);
    return rows_.reader(order_[static_cast<std::size_t>(pos_)]);
}

RowRef Table::rowAt(int position) const {
    const quint32 p = order_[static_cast<std::size_t>(position)];
    return rows_.reader(p);
}

bool Table::isEmpty(int field) const {
    return current().isEmpty(field);
}

QVariant Table::value(int field) const {
    return current().value(field);
}

QString Table::text(int field) const {
    return current().text(field);
}

std::optional<qint32> Table::intValue(int field) const {
    return current().intValue(field);
}

qint32 Table::integer(int field) const {
    const CellReader r = current();
    if (r.isEmpty(field))
        throw TableError::emptyAsNumber(layout_.fields()[static_cast<std::size_t>(field)].name);
    if (layout_.type(field) == FieldType::Float) {
        const double d = std::round(r.rawReal(field));
        if (d < std::numeric_limits<qint32>::min() || d > std::numeric_limits<qint32>::max())
            throw TableError::notAnInteger(r.text(field),
                                           layout_.fields()[static_cast<std::size_t>(field)].name);
        return static_cast<qint32>(d);
    }
    if (auto v = r.intValue(field))
        return *v;
    throw TableError::notAnInteger(r.text(field), layout_.fields()[static_cast<std::size_t>(field)].name);
}

double Table::real(int field) const {
    const CellReader r = current();
    if (r.isEmpty(field))
        throw TableError::emptyAsNumber(layout_.fields()[static_cast<std::size_t>(field)].name);
    if (auto v = r.realValue(field))
        return *v;
    throw TableError::notANumber(r.text(field), layout_.fields()[static_cast<std::size_t>(field)].name);
}

void Table::setInteger(int field, qint32 v) {
    requireEditing();
    std::uint8_t* rec = pending_.bytes.data();
    pending_.spill.erase(field);
    switch (layout_.type(field)) {
    case FieldType::Integer:
        layout_.putInteger(rec, field, v);
        break;
    case FieldType::Float:
        layout_.putReal(rec, field, v);
        break;
    case FieldType::String:
        layout_.putText(rec, field, QByteArray::number(v));
        break;
    }
    pending_.modified = true;
}

void Table::setReal(int field, double v) {
    requireEditing();
    std::uint8_t* rec = pending_.bytes.data();
    pending_.spill.erase(field);
    switch (layout_.type(field)) {
    case FieldType::Integer: {
        if (std::isnan(v) || v != std::floor(v) || v < std::numeric_limits<qint32>::min() ||
            v > std::numeric_limits<qint32>::max())
            throw TableError::notAnInteger(QString::number(v, 'g', 15),
                                           layout_.fields()[static_cast<std::size_t>(field)].name);
        layout_.putInteger(rec, field, static_cast<qint32>(v));
        break;
    }
    case FieldType::Float:
        layout_.putReal(rec, field, v);
        break;
    case FieldType::String:
        layout_.putText(rec, field, QString::number(v, 'g', 15).toUtf8());
        break;
    }
    pending_.modified = true;
}

void Table::setText(int field, const QString& v) {
    requireEditing();
    const FieldDef& def = layout_.fields()[static_cast<std::size_t>(field)];
    switch (def.type) {
    case FieldType::Integer: {
        if (v.trimmed().isEmpty()) {
            setEmpty(field);
            return;
        }
        const auto n = ValueParsing::integer(v);
        if (!n)
            throw TableError::notAnInteger(v, def.name);
        setInteger(field, *n);
        return;
    }
    case FieldType::Float: {
        if (v.trimmed().isEmpty()) {
            setEmpty(field);
            return;
        }
        const auto d = ValueParsing::real(v);
        if (!d)
            throw TableError::notANumber(v, def.name);
        setReal(field, *d);
        return;
    }
    case FieldType::String: {
        // A String(n) holds at most n characters.
        const QStringView kept = QStringView(v).left(std::max(def.size, 1));
        std::uint8_t* rec = pending_.bytes.data();
        pending_.spill.erase(field);
        if (layout_.putAscii(rec, field, kept)) { // the common case, without a UTF-8 copy
            pending_.modified = true;
            return;
        }
        const QString s = kept.toString();
        if (!layout_.putText(rec, field, s.toUtf8()))
            pending_.spill[field] = s;
        pending_.modified = true;
        return;
    }
    }
}

void Table::setEmpty(int field) {
    requireEditing();
    layout_.putEmpty(pending_.bytes.data(), field);
    pending_.spill.erase(field);
    pending_.modified = true;
}

void Table::setValue(int field, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        setEmpty(field);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong: {
        const qlonglong n = v.toLongLong();
        if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max()) {
            if (layout_.type(field) == FieldType::Float) {
                setReal(field, static_cast<double>(n));
                return;
            }
            throw TableError::notAnInteger(v.toString(),
                                           layout_.fields()[static_cast<std::size_t>(field)].name);
        }
        setInteger(field, static_cast<qint32>(n));
        return;
    }
    case QMetaType::Double:
    case QMetaType::Float:
        setReal(field, v.toDouble());
        return;
    default:
        setText(field, v.toString());
        return;
    }
}
