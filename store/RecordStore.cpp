#include "RecordStore.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {
// Calls fn(f) for each filled field of `rec`, in order, skipping the empty ones word by word.
template <class Fn>
void forEachFilled(const std::uint8_t* rec, std::size_t bitmapBytes, int fields, Fn&& fn) {
    for (std::size_t b = 0; b < bitmapBytes; ++b) {
        unsigned m = rec[b];
        if (b == 0)
            m &= ~1u; // bit 0 is the alive bit
        while (m != 0) {
            const int f = static_cast<int>(b * 8) + std::countr_zero(m) - 1;
            m &= m - 1;
            if (f < fields)
                fn(f);
        }
    }
}
} // namespace

void RecordLayout::setFields(FieldList fields) {
    fields_ = std::move(fields);
    types_.clear();
    widths_.clear();
    for (const FieldDef& d : fields_) {
        types_.push_back(d.type);
        switch (d.type) {
        case FieldType::Integer:
            widths_.push_back(4);
            break;
        case FieldType::Float:
            widths_.push_back(8);
            break;
        case FieldType::String:
            widths_.push_back(static_cast<std::uint8_t>(1 + std::clamp(d.size, 1, kMaxInline)));
            break;
        }
    }
    place();
}

RecordLayout RecordLayout::withWidths(const std::vector<std::uint8_t>& widths) const {
    RecordLayout l = *this;
    l.widths_ = widths;
    l.place();
    return l;
}

void RecordLayout::place() {
    offsets_.clear();
    std::size_t at = bitmapSize();
    for (const std::uint8_t w : widths_) {
        offsets_.push_back(at);
        at += w;
    }
    size_ = std::max<std::size_t>(at, 1);
}

int RecordLayout::capacity(int f) const {
    return std::clamp(fields_[static_cast<std::size_t>(f)].size, 1, kMaxInline);
}

std::uint8_t RecordLayout::widthNeeded(const std::uint8_t* rec, int f) const {
    if (!has(rec, f))
        return 0;
    switch (type(f)) {
    case FieldType::Integer: {
        const std::int32_t v = integerAt(rec, f);
        if (v >= std::numeric_limits<std::int8_t>::min() && v <= std::numeric_limits<std::int8_t>::max())
            return 1;
        if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
            return 2;
        return 4;
    }
    case FieldType::Float: {
        const double d = realAt(rec, f);
        const bool whole =
            d >= std::numeric_limits<std::int32_t>::min() && d <= std::numeric_limits<std::int32_t>::max() &&
            static_cast<double>(static_cast<std::int32_t>(d)) == d && !(d == 0.0 && std::signbit(d));
        return whole ? kWholeReal : 8;
    }
    case FieldType::String:
        if (spilled(rec, f))
            return 1;
        return static_cast<std::uint8_t>(1 + inlineText(rec, f).size());
    }
    return 0;
}

void RecordLayout::transcode(const RecordLayout& from, const std::uint8_t* src, std::uint8_t* dst) const {
    std::memset(dst, 0, size_);
    std::memcpy(dst, src, bitmapSize());
    forEachFilled(src, bitmapSize(), fieldCount(), [&](int f) { transcodeCell(from, src, dst, f); });
}

void RecordLayout::transcodeCell(const RecordLayout& from, const std::uint8_t* src, std::uint8_t* dst,
                                 int f) const {
    std::uint8_t* p = dst + offset(f);
    const std::uint8_t w = width(f);
    switch (type(f)) {
    case FieldType::Integer: {
        const std::int32_t v = from.integerAt(src, f);
        if (w == 1) {
            p[0] = static_cast<std::uint8_t>(static_cast<std::int8_t>(v));
        } else if (w == 2) {
            const auto s = static_cast<std::int16_t>(v);
            std::memcpy(p, &s, sizeof s);
        } else {
            std::memcpy(p, &v, sizeof v);
        }
        break;
    }
    case FieldType::Float: {
        const double d = from.realAt(src, f);
        if (w == 8) {
            std::memcpy(p, &d, sizeof d);
        } else {
            const auto v = static_cast<std::int32_t>(d);
            std::memcpy(p, &v, sizeof v);
        }
        break;
    }
    case FieldType::String:
        if (from.spilled(src, f)) {
            p[0] = kSpilled;
        } else {
            const std::string_view t = from.inlineText(src, f);
            p[0] = static_cast<std::uint8_t>(t.size());
            std::memcpy(p + 1, t.data(), t.size());
        }
        break;
    }
}

bool RecordLayout::putText(std::uint8_t* rec, int f, const QByteArray& utf8) const {
    std::uint8_t* p = rec + offset(f);
    setBit(rec, f + 1, true);
    if (utf8.size() > capacity(f)) {
        p[0] = kSpilled;
        return false;
    }
    p[0] = static_cast<std::uint8_t>(utf8.size());
    std::memcpy(p + 1, utf8.constData(), static_cast<std::size_t>(utf8.size()));
    return true;
}

bool RecordLayout::putAscii(std::uint8_t* rec, int f, QStringView text) const {
    if (text.size() > capacity(f))
        return false;
    std::uint8_t* p = rec + offset(f);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            return false; // the caller stores it as UTF-8; what was written here is overwritten then
        p[i + 1] = static_cast<std::uint8_t>(c);
    }
    p[0] = static_cast<std::uint8_t>(text.size());
    setBit(rec, f + 1, true);
    return true;
}

void RecordLayout::putEmpty(std::uint8_t* rec, int f) const {
    std::uint8_t* p = rec + offset(f);
    switch (type(f)) {
    case FieldType::Integer:
        std::memset(p, 0, 4);
        break;
    case FieldType::Float:
        std::memset(p, 0, 8);
        break;
    case FieldType::String:
        p[0] = 0;
        break;
    }
    setBit(rec, f + 1, false);
}

void RecordStore::reset(const RecordLayout& full) {
    full_ = full;
    chunks_.clear();
    count_ = 0;
    alive_ = 0;
    spill_.clear();
}

std::uint32_t RecordStore::rowsIn(std::size_t chunk) const {
    const std::size_t first = chunk << kChunkBits;
    return static_cast<std::uint32_t>(std::min<std::size_t>(kChunkRows, count_ - first));
}

std::uint32_t RecordStore::append() {
    if ((count_ >> kChunkBits) >= chunks_.size()) {
        // A new chunk starts with the slots its predecessor needed: runs of similar rows seldom
        // widen it again.
        auto c = std::make_unique<Chunk>();
        c->layout = chunks_.empty() ? full_.withWidths(std::vector<std::uint8_t>(full_.widths().size(), 0))
                                    : chunks_.back()->layout;
        c->data = std::make_unique_for_overwrite<std::uint8_t[]>(kChunkRows * c->layout.recordSize());
        chunks_.push_back(std::move(c));
    }
    const std::uint32_t phys = count_++;
    Chunk& c = *chunks_[phys >> kChunkBits];
    std::uint8_t* rec = recordIn(c, phys);
    std::memset(rec, 0, c.layout.recordSize()); // the chunk is not zeroed when allocated
    RecordLayout::setBit(rec, 0, true);
    ++alive_;
    return phys;
}

void RecordStore::kill(std::uint32_t phys) {
    std::uint8_t* rec = recordIn(*chunks_[phys >> kChunkBits], phys);
    if (!RecordLayout::alive(rec))
        return;
    RecordLayout::setBit(rec, 0, false);
    --alive_;
    if (!spill_.empty())
        std::erase_if(spill_, [phys](const auto& kv) { return (kv.first >> 16) == phys; });
}

void RecordStore::widen(std::size_t chunk, const std::vector<std::uint8_t>& widths) {
    Chunk& c = *chunks_[chunk];
    RecordLayout wider = full_.withWidths(widths);
    auto data = std::make_unique_for_overwrite<std::uint8_t[]>(kChunkRows * wider.recordSize());
    const std::uint32_t n = rowsIn(chunk);
    const std::size_t from = c.layout.recordSize(), to = wider.recordSize();
    for (std::uint32_t i = 0; i < n; ++i)
        wider.transcode(c.layout, c.data.get() + i * from, data.get() + i * to);
    c.layout = std::move(wider);
    c.data = std::move(data);
}

void RecordStore::gatherWidth(std::size_t chunk, const std::uint8_t* full, int f,
                              std::vector<std::uint8_t>& widths) const {
    const RecordLayout& l = chunks_[chunk]->layout;
    const std::uint8_t need = full_.widthNeeded(full, f);
    if (need > l.width(f)) {
        if (widths.empty())
            widths = l.widths();
        widths[static_cast<std::size_t>(f)] = need;
    }
}

void RecordStore::store(std::uint32_t phys, const std::uint8_t* full) {
    const std::size_t ci = phys >> kChunkBits;
    {
        std::vector<std::uint8_t> widths;
        forEachFilled(full, full_.bitmapSize(), full_.fieldCount(),
                      [&](int f) { gatherWidth(ci, full, f, widths); });
        if (!widths.empty())
            widen(ci, widths);
    }
    Chunk& c = *chunks_[ci];
    std::uint8_t* rec = recordIn(c, phys);
    const bool wasAlive = RecordLayout::alive(rec);
    c.layout.transcode(full_, full, rec);
    RecordLayout::setBit(rec, 0, wasAlive);
}

void RecordStore::storeCells(std::uint32_t phys, std::span<const int> fields, const std::uint8_t* full) {
    const std::size_t ci = phys >> kChunkBits;
    {
        std::vector<std::uint8_t> widths;
        for (const int f : fields)
            gatherWidth(ci, full, f, widths);
        if (!widths.empty())
            widen(ci, widths);
    }
    Chunk& c = *chunks_[ci];
    std::uint8_t* rec = recordIn(c, phys);
    for (const int f : fields) {
        const bool filled = RecordLayout::has(full, f);
        RecordLayout::setBit(rec, f + 1, filled);
        if (filled)
            c.layout.transcodeCell(full_, full, rec, f);
        else
            std::memset(rec + c.layout.offset(f), 0, c.layout.width(f)); // as a whole store leaves it
    }
}

void RecordStore::load(std::uint32_t phys, std::vector<std::uint8_t>& full) const {
    full.resize(full_.recordSize()); // transcode writes every byte
    full_.transcode(layoutOf(phys), record(phys), full.data());
}

std::size_t RecordStore::memoryBytes() const {
    std::size_t bytes = 0;
    for (const auto& c : chunks_)
        bytes += sizeof(Chunk) + kChunkRows * c->layout.recordSize();
    for (const auto& [k, s] : spill_)
        bytes += sizeof k + sizeof s + static_cast<std::size_t>(s.capacity()) * 2;
    return bytes;
}

const QString* RecordStore::spilledText(std::uint32_t phys, int f) const {
    auto it = spill_.find(key(phys, f));
    return it == spill_.end() ? nullptr : &it->second;
}

void RecordStore::setSpilled(std::uint32_t phys, int f, const QString& text) {
    spill_[key(phys, f)] = text;
}

void RecordStore::clearSpilled(std::uint32_t phys, int f) {
    if (!spill_.empty())
        spill_.erase(key(phys, f));
}

std::vector<std::uint32_t> RecordStore::compact() {
    std::vector<std::uint32_t> renumber(count_, std::numeric_limits<std::uint32_t>::max());
    std::uint32_t to = 0;
    for (std::uint32_t from = 0; from < count_; ++from) {
        if (!RecordLayout::alive(record(from)))
            continue;
        if (to != from) {
            const std::size_t cf = from >> kChunkBits, ct = to >> kChunkBits;
            if (cf == ct) {
                Chunk& c = *chunks_[cf];
                std::memcpy(recordIn(c, to), recordIn(c, from), c.layout.recordSize());
            } else {
                const RecordLayout& src = chunks_[cf]->layout;
                const std::uint8_t* rec = record(from);
                std::vector<std::uint8_t> widths = chunks_[ct]->layout.widths();
                bool wider = false;
                for (int f = 0; f < src.fieldCount(); ++f) {
                    const std::uint8_t need = src.widthNeeded(rec, f);
                    if (need > widths[static_cast<std::size_t>(f)]) {
                        widths[static_cast<std::size_t>(f)] = need;
                        wider = true;
                    }
                }
                if (wider)
                    widen(ct, widths);
                Chunk& c = *chunks_[ct];
                c.layout.transcode(src, rec, recordIn(c, to));
            }
        }
        renumber[from] = to++;
    }
    count_ = to;
    alive_ = to;
    chunks_.resize((static_cast<std::size_t>(count_) + kChunkRows - 1) >> kChunkBits);
    if (!spill_.empty()) {
        std::unordered_map<std::uint64_t, QString> moved;
        for (auto& [k, s] : spill_) {
            const std::uint32_t n = renumber[static_cast<std::uint32_t>(k >> 16)];
            if (n != std::numeric_limits<std::uint32_t>::max())
                moved.emplace((std::uint64_t{n} << 16) | (k & 0xFFFFu), std::move(s));
        }
        spill_ = std::move(moved);
    }
    return renumber;
}

QString CellReader::stringAt(int f) const {
    if (layout_->spilled(rec_, f)) {
        if (pendingSpill_) {
            auto it = pendingSpill_->find(f);
            if (it != pendingSpill_->end())
                return it->second;
        }
        const QString* s = store_ ? store_->spilledText(phys_, f) : nullptr;
        return s ? *s : QString();
    }
    const std::string_view v = layout_->inlineText(rec_, f);
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

std::string_view CellReader::spilledUtf8(int f, QByteArray& scratch) const {
    scratch = stringAt(f).toUtf8();
    return {scratch.constData(), static_cast<std::size_t>(scratch.size())};
}

QVariant CellReader::value(int f) const {
    if (isEmpty(f))
        return {};
    switch (type(f)) {
    case FieldType::Integer:
        return QVariant(layout_->integerAt(rec_, f));
    case FieldType::Float:
        return QVariant(layout_->realAt(rec_, f));
    case FieldType::String:
        return QVariant(stringAt(f));
    }
    return {};
}

QString CellReader::text(int f) const {
    if (isEmpty(f))
        return {};
    switch (type(f)) {
    case FieldType::Integer:
        return QString::number(layout_->integerAt(rec_, f));
    case FieldType::Float:
        return QString::number(layout_->realAt(rec_, f), 'g', 15);
    case FieldType::String:
        return stringAt(f);
    }
    return {};
}

std::optional<std::int32_t> CellReader::intValue(int f) const {
    if (isEmpty(f))
        return std::nullopt;
    switch (type(f)) {
    case FieldType::Integer:
        return layout_->integerAt(rec_, f);
    case FieldType::Float: {
        const double d = layout_->realAt(rec_, f);
        if (d != d || d < std::numeric_limits<std::int32_t>::min() ||
            d > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return static_cast<std::int32_t>(d);
    }
    case FieldType::String: {
        bool ok = false;
        const int v = stringAt(f).trimmed().toInt(&ok);
        return ok ? std::optional<std::int32_t>(v) : std::nullopt;
    }
    }
    return std::nullopt;
}

std::optional<double> CellReader::realValue(int f) const {
    if (isEmpty(f))
        return std::nullopt;
    switch (type(f)) {
    case FieldType::Integer:
        return static_cast<double>(layout_->integerAt(rec_, f));
    case FieldType::Float:
        return layout_->realAt(rec_, f);
    case FieldType::String: {
        bool ok = false;
        const double v = stringAt(f).trimmed().toDouble(&ok);
        return ok ? std::optional<double>(v) : std::nullopt;
    }
    }
    return std::nullopt;
}

int compareCells(const CellReader& a, const CellReader& b, int f) {
    const bool ea = a.isEmpty(f), eb = b.isEmpty(f);
    if (ea || eb)
        return ea == eb ? 0 : (ea ? -1 : 1);
    switch (a.type(f)) {
    case FieldType::Integer: {
        const auto x = a.rawInteger(f), y = b.rawInteger(f);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Float: {
        const double x = a.rawReal(f), y = b.rawReal(f);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::String: {
        // UTF-8 bytes compare in code point order.
        QByteArray sa, sb;
        const std::string_view x = a.utf8(f, sa), y = b.utf8(f, sb);
        const int c = x.compare(y);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    }
    return 0;
}
