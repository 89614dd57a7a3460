#pragma once

#include "RecordStore.h"

#include <cstdint>
#include <vector>

// An index of one field's values to the physical rows that hold them, so that locate answers in
// constant time on a table of millions of rows (the random generator looks up every game it
// deals). Open addressing over row numbers; the values themselves stay in the records. Empty
// values are left out: a games table of combination games has millions of rows with an empty
// Todos, and one chain holding them all would make every insertion walk it. A search for an empty
// value goes through the rows instead (see Table::locate).
class HashIndex {
public:
    HashIndex(const RecordLayout& layout, const RecordStore& rows, int field);

    void add(std::uint32_t phys);
    // Must run while the row still holds the value it was added with.
    void remove(std::uint32_t phys);
    // Every live row whose cell equals the probe's cell; the probe's cell must not be empty.
    template <typename F> void forEachMatch(const CellReader& probe, F&& f) const;
    std::size_t memoryBytes() const { return slots_.size() * sizeof(std::uint32_t); }

private:
    static constexpr std::uint32_t kEmpty = 0;
    static constexpr std::uint32_t kGone = 1;
    std::uint64_t hashOf(const CellReader& cell) const;
    CellReader reader(std::uint32_t phys) const { return rows_.reader(phys); }
    void grow();

    const RecordLayout& layout_;
    const RecordStore& rows_;
    int field_;
    std::vector<std::uint32_t> slots_;
    std::size_t used_ = 0; // filled and gone slots
};

template <typename F> void HashIndex::forEachMatch(const CellReader& probe, F&& f) const {
    if (slots_.empty() || probe.isEmpty(field_))
        return;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hashOf(probe) & mask;; i = (i + 1) & mask) {
        const std::uint32_t s = slots_[i];
        if (s == kEmpty)
            return;
        if (s == kGone)
            continue;
        const std::uint32_t phys = s - 2;
        if (compareCells(probe, reader(phys), field_) == 0)
            f(phys);
    }
}
