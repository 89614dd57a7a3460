#include "RecordStore.h"

#include <algorithm>
#include <limits>

void RecordLayout::setFields(FieldList fields) {
    fields_ = std::move(fields);
    offsets_.clear();
    const std::size_t bits = fields_.size() + 1;
    std::size_t at = (bits + 7) / 8;
    for (int f = 0; f < fieldCount(); ++f) {
        offsets_.push_back(at);
        switch (type(f)) {
        case FieldType::Integer:
            at += 4;
            break;
        case FieldType::Float:
            at += 8;
            break;
        case FieldType::String:
            at += 1 + static_cast<std::size_t>(capacity(f));
            break;
        }
    }
    size_ = std::max<std::size_t>(at, 1);
}

int RecordLayout::capacity(int f) const {
    return std::clamp(fields_[static_cast<std::size_t>(f)].size, 1, kMaxInline);
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

void RecordStore::reset(std::size_t recordSize) {
    recordSize_ = recordSize;
    chunks_.clear();
    count_ = 0;
    alive_ = 0;
    spill_.clear();
}

std::uint32_t RecordStore::append() {
    if ((count_ >> kChunkBits) >= chunks_.size())
        chunks_.push_back(
            std::make_unique_for_overwrite<std::uint8_t[]>(kChunkRows * recordSize_)); // zeroed per row
    const std::uint32_t phys = count_++;
    std::uint8_t* rec = record(phys);
    std::memset(rec, 0, recordSize_);
    RecordLayout::setBit(rec, 0, true);
    ++alive_;
    return phys;
}

void RecordStore::kill(std::uint32_t phys) {
    std::uint8_t* rec = record(phys);
    if (!RecordLayout::alive(rec))
        return;
    RecordLayout::setBit(rec, 0, false);
    --alive_;
    if (!spill_.empty())
        std::erase_if(spill_, [phys](const auto& kv) { return (kv.first >> 16) == phys; });
}

std::size_t RecordStore::memoryBytes() const {
    std::size_t bytes = chunks_.size() * kChunkRows * recordSize_;
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
        if (to != from)
            std::memcpy(record(to), record(from), recordSize_);
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

std::string_view CellReader::utf8(int f, QByteArray& scratch) const {
    if (!layout_->spilled(rec_, f))
        return layout_->inlineText(rec_, f);
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
