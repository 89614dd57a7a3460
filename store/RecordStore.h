#pragma once

#include "FieldDef.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

// Rows are packed records so that a table of millions of games stays small: a bit map (bit 0 says
// the row is alive, bit 1 + f that field f holds a value), then each field in order, in a slot whose
// width the layout gives. The full layout (the row being edited, probes) gives every field its
// widest slot: 4 bytes for an Integer, 8 for a Float, and for a String(n) one length byte and n
// bytes of UTF-8. The layout of a chunk of stored rows gives each field only what the values it
// holds need: no slot for a field empty in every row, 1 or 2 bytes for small integers, 4 for a
// Float that is a whole number, a String slot as wide as its longest text. A text whose UTF-8 does
// not fit in n bytes (only possible with non-ASCII characters) is kept aside, and its length byte
// says so.
class RecordLayout {
public:
    static constexpr std::uint8_t kSpilled = 255;
    static constexpr int kMaxInline = 254;
    static constexpr std::uint8_t kWholeReal = 4; // a Float slot of 4 bytes holds an int32

    void setFields(FieldList fields);
    // The same fields with the given slot widths (each at most the full width).
    RecordLayout withWidths(const std::vector<std::uint8_t>& widths) const;
    const FieldList& fields() const { return fields_; }
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    std::size_t recordSize() const { return size_; }
    std::size_t bitmapSize() const { return (fields_.size() + 1 + 7) / 8; }
    std::size_t offset(int f) const { return offsets_[static_cast<std::size_t>(f)]; }
    std::uint8_t width(int f) const { return widths_[static_cast<std::size_t>(f)]; }
    const std::vector<std::uint8_t>& widths() const { return widths_; }
    FieldType type(int f) const { return types_[static_cast<std::size_t>(f)]; }
    int capacity(int f) const; // inline bytes of a String field
    int maxChars(int f) const { return fields_[static_cast<std::size_t>(f)].size; }

    static bool bit(const std::uint8_t* rec, int b) {
        return ((static_cast<unsigned>(rec[b >> 3]) >> static_cast<unsigned>(b & 7)) & 1u) != 0;
    }
    static void setBit(std::uint8_t* rec, int b, bool on) {
        const auto mask = static_cast<std::uint8_t>(1u << static_cast<unsigned>(b & 7));
        rec[b >> 3] = static_cast<std::uint8_t>(on ? (rec[b >> 3] | mask) : (rec[b >> 3] & ~mask));
    }
    static bool alive(const std::uint8_t* rec) { return bit(rec, 0); }
    static bool has(const std::uint8_t* rec, int f) { return bit(rec, f + 1); }

    std::int32_t integerAt(const std::uint8_t* rec, int f) const {
        const std::uint8_t* p = rec + offset(f);
        switch (width(f)) {
        case 1:
            return static_cast<std::int8_t>(p[0]);
        case 2: {
            std::int16_t v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        case 4: {
            std::int32_t v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        default:
            return 0;
        }
    }
    double realAt(const std::uint8_t* rec, int f) const {
        const std::uint8_t* p = rec + offset(f);
        if (width(f) == 8) {
            double v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        if (width(f) == kWholeReal) {
            std::int32_t v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        return 0.0;
    }
    bool spilled(const std::uint8_t* rec, int f) const { return width(f) > 0 && rec[offset(f)] == kSpilled; }
    // The inline UTF-8 of a String field that is not spilled.
    std::string_view inlineText(const std::uint8_t* rec, int f) const {
        if (width(f) == 0)
            return {};
        const std::uint8_t* p = rec + offset(f);
        return {reinterpret_cast<const char*>(p + 1), p[0]};
    }

    // The writers below are for records in a layout whose slots are full width.
    void putInteger(std::uint8_t* rec, int f, std::int32_t v) const {
        std::memcpy(rec + offset(f), &v, sizeof v);
        setBit(rec, f + 1, true);
    }
    void putReal(std::uint8_t* rec, int f, double v) const {
        std::memcpy(rec + offset(f), &v, sizeof v);
        setBit(rec, f + 1, true);
    }
    // Stores the text inline when it fits and answers true; answers false (and marks the cell as
    // spilled) when the caller must keep the text aside.
    bool putText(std::uint8_t* rec, int f, const QByteArray& utf8) const;
    // Stores an ASCII text that fits inline without a UTF-8 copy; answers false, storing nothing
    // the caller relies on, when the text is not ASCII or does not fit.
    bool putAscii(std::uint8_t* rec, int f, QStringView text) const;
    void putEmpty(std::uint8_t* rec, int f) const;

    // The narrowest slot width that holds field f of `rec` (read through this layout).
    std::uint8_t widthNeeded(const std::uint8_t* rec, int f) const;
    // Copies record `src` (in layout `from`) into `dst` (in this layout, whose slots are at least
    // as wide as the values need).
    void transcode(const RecordLayout& from, const std::uint8_t* src, std::uint8_t* dst) const;
    // Copies the value of field f, which `src` holds, into its slot of `dst` (the bit map of `dst`
    // is the caller's).
    void transcodeCell(const RecordLayout& from, const std::uint8_t* src, std::uint8_t* dst, int f) const;

private:
    FieldList fields_;
    std::vector<FieldType> types_;
    std::vector<std::uint8_t> widths_;
    std::vector<std::size_t> offsets_;
    std::size_t size_ = 0;

    void place();
};

class CellReader;

// Physical rows, in the order they were added, stored in chunks of fixed row count so that
// growing to tens of millions of rows never copies what is already there. Each chunk has its own
// layout, widened (its rows rewritten) when a value needs a wider slot than it has. Deleted rows
// stay as dead records until the table is rewritten or emptied, so a row keeps its number while
// the table is open.
class RecordStore {
public:
    void reset(const RecordLayout& full);
    std::uint32_t size() const { return count_; }
    std::uint32_t alive() const { return alive_; }
    // The record of a row, in the layout of its chunk. Valid until the next write into the store.
    const std::uint8_t* record(std::uint32_t phys) const {
        const Chunk& c = *chunks_[phys >> kChunkBits];
        return c.data.get() + (phys & kChunkMask) * c.layout.recordSize();
    }
    const RecordLayout& layoutOf(std::uint32_t phys) const { return chunks_[phys >> kChunkBits]->layout; }
    CellReader reader(std::uint32_t phys) const;
    std::uint32_t append(); // an alive record with every field empty
    void kill(std::uint32_t phys);
    // Writes a record given in the full layout into row `phys` (the alive bit is kept as it is).
    void store(std::uint32_t phys, const std::uint8_t* full);
    // Writes the given fields of `full` (a record in the full layout, each empty or not) into row
    // `phys` where it stands: the other cells are not touched, and the chunk widens (once) only
    // when the values need wider slots than it has. What is kept aside for the cells is the
    // caller's.
    void storeCells(std::uint32_t phys, std::span<const int> fields, const std::uint8_t* full);
    // Copies row `phys` into `full`, a record in the full layout.
    void load(std::uint32_t phys, std::vector<std::uint8_t>& full) const;
    std::size_t memoryBytes() const;

    const QString* spilledText(std::uint32_t phys, int f) const;
    void setSpilled(std::uint32_t phys, int f, const QString& text);
    void clearSpilled(std::uint32_t phys, int f);
    bool hasSpills() const { return !spill_.empty(); }
    // Drops the dead records and renumbers the live ones in order; answers the new number of
    // each old row (UINT32_MAX for the dead ones).
    std::vector<std::uint32_t> compact();

private:
    static constexpr unsigned kChunkBits = 14;
    static constexpr std::uint32_t kChunkRows = 1u << kChunkBits;
    static constexpr std::uint32_t kChunkMask = kChunkRows - 1;
    static std::uint64_t key(std::uint32_t phys, int f) {
        return (std::uint64_t{phys} << 16) | static_cast<std::uint16_t>(f);
    }
    struct Chunk {
        RecordLayout layout;
        std::unique_ptr<std::uint8_t[]> data;
    };
    std::uint8_t* recordIn(Chunk& c, std::uint32_t phys) {
        return c.data.get() + (phys & kChunkMask) * c.layout.recordSize();
    }
    std::uint32_t rowsIn(std::size_t chunk) const;
    void widen(std::size_t chunk, const std::vector<std::uint8_t>& widths);
    // Where field f of `full` (full layout) needs a wider slot than the chunk has, sets it in
    // `widths` (the chunk's widths, copied on the first such field; left empty while none is).
    void gatherWidth(std::size_t chunk, const std::uint8_t* full, int f, std::vector<std::uint8_t>& widths) const;

    RecordLayout full_;
    std::vector<std::unique_ptr<Chunk>> chunks_;
    std::uint32_t count_ = 0;
    std::uint32_t alive_ = 0;
    std::unordered_map<std::uint64_t, QString> spill_;
};

// Reading the cells of one record, whether it lives in the store or in the pending buffer.
class CellReader {
public:
    CellReader(const RecordLayout* layout, const std::uint8_t* rec, const RecordStore* store,
               std::uint32_t phys, const std::unordered_map<int, QString>* pendingSpill = nullptr)
        : layout_(layout), rec_(rec), store_(store), phys_(phys), pendingSpill_(pendingSpill) {}

    bool isEmpty(int f) const { return !RecordLayout::has(rec_, f); }
    FieldType type(int f) const { return layout_->type(f); }
    QVariant value(int f) const;
    QString text(int f) const;
    std::optional<std::int32_t> intValue(int f) const;
    std::optional<double> realValue(int f) const;
    // Fast paths for the hot loops: the caller knows the field's type and that it is filled.
    std::int32_t rawInteger(int f) const { return layout_->integerAt(rec_, f); }
    double rawReal(int f) const { return layout_->realAt(rec_, f); }

    // For comparisons: the UTF-8 of a String cell (inline bytes when not spilled).
    std::string_view utf8(int f, QByteArray& scratch) const {
        return layout_->spilled(rec_, f) ? spilledUtf8(f, scratch) : layout_->inlineText(rec_, f);
    }
    const std::uint8_t* record() const { return rec_; }
    std::uint32_t physical() const { return phys_; }

private:
    QString stringAt(int f) const;
    std::string_view spilledUtf8(int f, QByteArray& scratch) const;

    const RecordLayout* layout_;
    const std::uint8_t* rec_;
    const RecordStore* store_;
    std::uint32_t phys_;
    const std::unordered_map<int, QString>* pendingSpill_;
};

using RowRef = CellReader;

inline CellReader RecordStore::reader(std::uint32_t phys) const {
    return {&layoutOf(phys), record(phys), this, phys};
}

// The row being inserted or edited: a copy of its record plus the texts kept aside.
struct PendingRecord {
    std::vector<std::uint8_t> bytes;
    std::unordered_map<int, QString> spill;
    bool modified = false;

    void clear() {
        bytes.clear();
        spill.clear();
        modified = false;
    }
};

// Orders two cells of the same type: empty first, numbers by value, texts by character codes.
int compareCells(const CellReader& a, const CellReader& b, int f);
