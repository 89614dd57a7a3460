#include "HashIndex.h"

#include <bit>
#include <cstring>

namespace {
std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}
} // namespace

HashIndex::HashIndex(const RecordLayout& layout, const RecordStore& rows, int field)
    : layout_(layout), rows_(rows), field_(field) {
    std::vector<std::uint32_t> filled;
    for (std::uint32_t p = 0; p < rows.size(); ++p) {
        const std::uint8_t* rec = rows.record(p);
        if (RecordLayout::alive(rec) && RecordLayout::has(rec, field))
            filled.push_back(p);
    }
    slots_.assign(std::bit_ceil(std::max<std::size_t>(16, filled.size() * 2 + 2)), kEmpty);
    for (const std::uint32_t p : filled)
        add(p);
}

std::uint64_t HashIndex::hashOf(const CellReader& cell) const {
    switch (cell.type(field_)) {
    case FieldType::Integer:
        return mix(static_cast<std::uint64_t>(static_cast<std::int64_t>(cell.rawInteger(field_))));
    case FieldType::Float: {
        double d = cell.rawReal(field_);
        if (d == 0)
            d = 0; // -0.0 equals 0.0
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        return mix(bits);
    }
    case FieldType::String: {
        QByteArray scratch;
        const std::string_view s = cell.utf8(field_, scratch);
        std::uint64_t h = 1469598103934665603ULL; // FNV-1a
        for (const char c : s) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ULL;
        }
        return mix(h);
    }
    }
    return 0;
}

void HashIndex::grow() {
    std::vector<std::uint32_t> old = std::move(slots_);
    slots_.assign(old.size() * 2, kEmpty);
    used_ = 0;
    for (const std::uint32_t s : old)
        if (s > kGone)
            add(s - 2);
}

void HashIndex::add(std::uint32_t phys) {
    if (reader(phys).isEmpty(field_))
        return; // empty values are never indexed: they would all share one probe chain
    if ((used_ + 1) * 2 > slots_.size())
        grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hashOf(reader(phys)) & mask;
    while (slots_[i] > kGone)
        i = (i + 1) & mask;
    if (slots_[i] == kEmpty)
        ++used_;
    slots_[i] = phys + 2;
}

void HashIndex::remove(std::uint32_t phys) {
    if (slots_.empty() || reader(phys).isEmpty(field_))
        return;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hashOf(reader(phys)) & mask;; i = (i + 1) & mask) {
        if (slots_[i] == kEmpty)
            return;
        if (slots_[i] == phys + 2) {
            slots_[i] = kGone;
            return;
        }
    }
}
