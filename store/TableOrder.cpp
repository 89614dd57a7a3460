#include "Table.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

// The index order: the comparison of rows by the index fields, the sort strategies that put every
// row in order at once, and the places of a row added or changed among rows already in order.

namespace {
// The widest span of values an Integer key may have for the counting sort: its buckets cost a pass
// and a slot each, and beyond a few thousand values (hits, game sizes, weights span far fewer)
// sorting by comparison is cheaper.
constexpr std::int64_t kCountingSortSpan = 4096;
} // namespace

void Table::setIndexFieldNames(const QString& names) {
    if (!isOpen()) {
        indexNames_ = names;
        return;
    }
    checkBrowse();
    const QString old = indexNames_;
    indexNames_ = names;
    std::vector<int> keys;
    try {
        keys = resolveIndex();
    } catch (...) {
        indexNames_ = old;
        throw;
    }
    const std::optional<quint32> current =
        pos_ >= 0 ? std::optional<quint32>(order_[static_cast<std::size_t>(pos_)]) : std::nullopt;
    if (!quiet())
        emit aboutToReset();
    keys_ = std::move(keys);
    resortAll();
    pos_ = current ? positionOf(*current) : -1;
    notifyResetDone();
}

bool Table::less(quint32 a, quint32 b) const {
    const CellReader ra = rows_.reader(a);
    const CellReader rb = rows_.reader(b);
    for (const int k : keys_) {
        const int c = compareCells(ra, rb, k);
        if (c != 0)
            return c < 0;
    }
    return a < b;
}

void Table::resortAll() {
    // order_ holds exactly the live rows, so the physical order is one pass over them, not a sort.
    const auto physicalOrder = [this] {
        order_.clear();
        for (quint32 p = 0; p < rows_.size(); ++p)
            if (RecordLayout::alive(rows_.record(p)))
                order_.push_back(p);
    };
    if (keys_.empty()) {
        if (!std::is_sorted(order_.begin(), order_.end()))
            physicalOrder();
        return;
    }
    auto cmp = [this](quint32 a, quint32 b) { return less(a, b); };
    if (std::is_sorted(order_.begin(), order_.end(), cmp))
        return;
    if (physicalOrderIsIndexOrder()) {
        // Rows added in the order's own order (games numbered as they are made) need only their
        // physical order back (the check's return to Cartao).
        physicalOrder();
        return;
    }
    if (keys_.size() == 1 && layout_.type(keys_[0]) == FieldType::Integer && countingSort(keys_[0]))
        return;
    if (keys_.size() == 1 && layout_.type(keys_[0]) != FieldType::String) {
        // One numeric key (the common case: Cartao, Acertos, Nota): sort plain keys, not cells.
        const int k = keys_[0];
        struct Key {
            int filled;
            double v;
            quint32 phys;
        };
        std::vector<Key> ks;
        ks.reserve(order_.size());
        for (const quint32 p : order_) {
            const std::uint8_t* rec = rows_.record(p);
            const RecordLayout& l = rows_.layoutOf(p);
            const bool has = RecordLayout::has(rec, k);
            const double v = !has ? 0.0
                             : layout_.type(k) == FieldType::Integer
                                 ? static_cast<double>(l.integerAt(rec, k))
                                 : l.realAt(rec, k);
            ks.push_back({has ? 1 : 0, v, p});
        }
        std::sort(ks.begin(), ks.end(), [](const Key& a, const Key& b) {
            if (a.filled != b.filled)
                return a.filled < b.filled;
            if (a.v != b.v)
                return a.v < b.v;
            return a.phys < b.phys;
        });
        for (std::size_t i = 0; i < ks.size(); ++i)
            order_[i] = ks[i].phys;
        return;
    }
    std::sort(order_.begin(), order_.end(), cmp);
}

bool Table::countingSort(int k) {
    // Hits (0 to 15), game sizes and the like span a few values: counting beats comparing.
    std::int64_t lo = std::numeric_limits<std::int64_t>::max();
    std::int64_t hi = std::numeric_limits<std::int64_t>::min();
    for (const quint32 p : order_) {
        const std::uint8_t* rec = rows_.record(p);
        if (RecordLayout::has(rec, k)) {
            const std::int64_t v = rows_.layoutOf(p).integerAt(rec, k);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    if (lo > hi)
        lo = hi = 0;
    if (hi - lo > kCountingSortSpan)
        return false;
    // Bucket 0 holds the empty values, which come first; ties stay in physical order, so the rows
    // are visited in physical order (order_ holds exactly the live rows).
    std::vector<std::size_t> start(static_cast<std::size_t>(hi - lo) + 3, 0);
    auto bucket = [&](quint32 p) {
        const std::uint8_t* rec = rows_.record(p);
        return RecordLayout::has(rec, k)
                   ? static_cast<std::size_t>(rows_.layoutOf(p).integerAt(rec, k) - lo) + 1
                   : 0;
    };
    for (const quint32 p : order_)
        ++start[bucket(p) + 1];
    for (std::size_t b = 1; b < start.size(); ++b)
        start[b] += start[b - 1];
    for (quint32 p = 0; p < rows_.size(); ++p) {
        if (RecordLayout::alive(rows_.record(p)))
            order_[start[bucket(p)]++] = p;
    }
    return true;
}

int Table::positionOf(quint32 phys) const {
    // Rows appended in index order (games numbered as they are added) stand where they were put.
    if (phys < order_.size() && order_[phys] == phys)
        return static_cast<int>(phys);
    auto it = keys_.empty() ? std::lower_bound(order_.begin(), order_.end(), phys)
                            : std::lower_bound(order_.begin(), order_.end(), phys,
                                               [this](quint32 e, quint32 p) { return less(e, p); });
    if (it == order_.end() || *it != phys)
        return -1;
    return static_cast<int>(it - order_.begin());
}

int Table::insertionPosition(quint32 phys) const {
    auto it = keys_.empty() ? order_.end()
                            : std::upper_bound(order_.begin(), order_.end(), phys,
                                               [this](quint32 p, quint32 e) { return less(p, e); });
    return static_cast<int>(it - order_.begin());
}

int Table::placeAfterChange(int from) const {
    // The row's new place, found on both sides of its old one (the rest is still in order).
    const quint32 phys = order_[static_cast<std::size_t>(from)];
    auto cmp = [this](quint32 e, quint32 p) { return less(e, p); };
    const auto at = order_.begin() + from;
    const auto up = std::lower_bound(order_.begin(), at, phys, cmp);
    return up != at
               ? static_cast<int>(up - order_.begin())
               : static_cast<int>(std::lower_bound(at + 1, order_.end(), phys, cmp) - order_.begin()) - 1;
}

bool Table::physicalOrderIsIndexOrder() const {
    std::optional<quint32> previous;
    for (quint32 p = 0; p < rows_.size(); ++p) {
        if (!RecordLayout::alive(rows_.record(p)))
            continue;
        if (previous && less(p, *previous))
            return false;
        previous = p;
    }
    return true;
}
