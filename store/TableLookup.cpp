#include "HashIndex.h"
#include "Table.h"
#include "TableError.h"
#include "ValueParsing.h"

#include <cmath>
#include <limits>
#include <unordered_map>

// Finding fields by name and rows by value: the field lookup, and locate with its hash index.

namespace {
// Tables this small are searched row by row: building a hash index would cost more.
constexpr int kLinearLocateRows = 32;
} // namespace

std::optional<int> Table::findField(QStringView name) const {
    const FieldList& fs = layout_.fields();
    for (std::size_t i = 0; i < fs.size(); ++i)
        if (name.size() == fs[i].name.size() && name.compare(fs[i].name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return std::nullopt;
}

int Table::fieldIndex(QStringView name) const {
    if (auto f = findField(name))
        return *f;
    throw TableError::fieldNotFound(name_, fileName_, name.toString());
}

std::vector<int> Table::resolveIndex() const {
    std::vector<int> keys;
    for (const QString& part : indexNames_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString n = part.trimmed();
        if (!n.isEmpty())
            keys.push_back(fieldIndex(n));
    }
    return keys;
}

bool Table::locate(int f, const QVariant& value) {
    requireOpen();
    checkBrowse();

    // The value, converted to the field's type, in a record of its own to compare with.
    std::vector<std::uint8_t> probe(layout_.recordSize(), 0);
    std::unordered_map<int, QString> probeSpill;
    if (value.isValid() && !value.isNull()) {
        switch (layout_.type(f)) {
        case FieldType::Integer: {
            bool ok = false;
            const qlonglong v = value.toLongLong(&ok);
            std::optional<qint32> n;
            if (value.typeId() == QMetaType::QString)
                n = ValueParsing::integer(value.toString());
            else if (ok && v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
                n = static_cast<qint32>(v);
            if (!n)
                return false;
            layout_.putInteger(probe.data(), f, *n);
            break;
        }
        case FieldType::Float: {
            bool ok = false;
            const double d = value.typeId() == QMetaType::QString
                                 ? ValueParsing::real(value.toString()).value_or(NAN)
                                 : value.toDouble(&ok);
            if (std::isnan(d))
                return false;
            layout_.putReal(probe.data(), f, d);
            break;
        }
        case FieldType::String: {
            const QString s = value.toString();
            if (!layout_.putText(probe.data(), f, s.toUtf8()))
                probeSpill[f] = s;
            break;
        }
        }
    }
    const CellReader probeRow(&layout_, probe.data(), nullptr, 0, &probeSpill);

    int found = -1;
    if (order_.size() < kLinearLocateRows || probeRow.isEmpty(f)) {
        // Small tables, and empty values (which the hash index leaves out), are searched in index
        // order, so the first match is the one the cursor goes to.
        for (std::size_t i = 0; i < order_.size(); ++i) {
            const quint32 p = order_[i];
            if (compareCells(probeRow, rows_.reader(p), f) == 0) {
                found = static_cast<int>(i);
                break;
            }
        }
    } else {
        std::optional<quint32> best;
        hashIndex(f).forEachMatch(probeRow, [&](quint32 p) {
            if (!best || less(p, *best))
                best = p;
        });
        if (best)
            found = positionOf(*best);
    }
    if (found < 0)
        return false;
    eof_ = false;
    setCursor(found);
    return true;
}

HashIndex& Table::hashIndex(int field) {
    if (hashes_.size() != static_cast<std::size_t>(layout_.fieldCount()))
        hashes_.resize(static_cast<std::size_t>(layout_.fieldCount()));
    auto& h = hashes_[static_cast<std::size_t>(field)];
    if (!h)
        h = std::make_unique<HashIndex>(layout_, rows_, field);
    return *h;
}
