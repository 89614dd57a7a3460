#include "HashIndex.h"
#include "Table.h"
#include "TableError.h"

#include <algorithm>
#include <cmath>

// Table::FieldUpdate: a long run of changes to fields outside the order, straight in the rows.

namespace {
// A field the update cannot write (one the order uses, or a text into a number): a fault of the
// program, told as the store tells its others.
TableError cannotUpdate(const QString& file) {
    return TableError(QStringLiteral("Os dados do programa não puderam ser atualizados (arquivo \"%1\"). "
                                     "Feche o Quinabel e abra-o de novo.")
                          .arg(file));
}
} // namespace

Table::FieldUpdate::FieldUpdate(Table& t, std::vector<int> fields)
    : t_(t), open_(static_cast<std::size_t>(t.fieldCount()), false), cell_(t.layout_.recordSize(), 0) {
    t_.requireOpen();
    for (const int f : fields) {
        if (f < 0 || f >= t_.fieldCount() || std::find(t_.keys_.begin(), t_.keys_.end(), f) != t_.keys_.end())
            throw cannotUpdate(t_.fileName_);
        open_[static_cast<std::size_t>(f)] = true;
    }
    t_.checkBrowse();
    t_.notifyReset();
    for (const int f : fields) // rebuilt by the next locate on them
        if (static_cast<std::size_t>(f) < t_.hashes_.size())
            t_.hashes_[static_cast<std::size_t>(f)].reset();
}

Table::FieldUpdate::~FieldUpdate() {
    try {
        flush();
    } catch (...) {
        // only memory can fail here, and the table keeps the rows stored before
    }
    t_.notifyResetDone();
}

quint32 Table::FieldUpdate::rowFor(int position, int field) {
    if (field < 0 || field >= t_.fieldCount() || !open_[static_cast<std::size_t>(field)])
        throw cannotUpdate(t_.fileName_); // a field the update was not opened for
    const quint32 phys = t_.order_.at(static_cast<std::size_t>(position));
    if (phys_ != phys) {
        flush();
        phys_ = phys;
    }
    return phys;
}

bool Table::FieldUpdate::pending(int field) const {
    return std::find(held_.begin(), held_.end(), field) != held_.end();
}

std::pair<const std::uint8_t*, const RecordLayout*> Table::FieldUpdate::current(quint32 phys,
                                                                                int field) const {
    if (pending(field))
        return {cell_.data(), &t_.layout_};
    return {t_.rows_.record(phys), &t_.rows_.layoutOf(phys)};
}

void Table::FieldUpdate::hold(int field) {
    if (!pending(field))
        held_.push_back(field);
    std::erase_if(aside_, [field](const auto& a) { return a.first == field; });
}

// Stores the held cells into their row in place: no other cell of the row is read or rewritten,
// which is what keeps a run over a million games cheap.
void Table::FieldUpdate::flush() {
    if (held_.empty())
        return;
    const quint32 phys = *phys_;
    t_.rows_.storeCells(phys, held_, cell_.data());
    for (const int f : held_) {
        if (t_.layout_.type(f) != FieldType::String)
            continue;
        const auto a =
            std::find_if(aside_.begin(), aside_.end(), [f](const auto& x) { return x.first == f; });
        if (a != aside_.end())
            t_.rows_.setSpilled(phys, f, a->second);
        else
            t_.rows_.clearSpilled(phys, f);
    }
    held_.clear();
    aside_.clear();
    t_.markChanged(phys);
}

void Table::FieldUpdate::setInteger(int position, int field, qint32 v) {
    const quint32 phys = rowFor(position, field);
    const RecordLayout& full = t_.layout_;
    switch (full.type(field)) {
    case FieldType::String:
        setText(position, field, QString::number(v));
        return;
    case FieldType::Float:
        setReal(position, field, v);
        return;
    case FieldType::Integer:
        break;
    }
    const auto [rec, l] = current(phys, field);
    if (RecordLayout::has(rec, field) && l->integerAt(rec, field) == v)
        return;
    full.putInteger(cell_.data(), field, v);
    hold(field);
}

void Table::FieldUpdate::setReal(int position, int field, double v) {
    const quint32 phys = rowFor(position, field);
    const RecordLayout& full = t_.layout_;
    if (full.type(field) != FieldType::Float)
        throw cannotUpdate(t_.fileName_);
    const auto [rec, l] = current(phys, field);
    if (RecordLayout::has(rec, field)) {
        const double now = l->realAt(rec, field);
        if (now == v && std::signbit(now) == std::signbit(v))
            return;
    }
    full.putReal(cell_.data(), field, v);
    hold(field);
}

void Table::FieldUpdate::setText(int position, int field, QStringView v) {
    const quint32 phys = rowFor(position, field);
    const RecordLayout& full = t_.layout_;
    if (full.type(field) != FieldType::String)
        throw cannotUpdate(t_.fileName_);
    const QStringView kept = v.left(std::max(full.maxChars(field), 1));
    const auto [rec, l] = current(phys, field);
    if (RecordLayout::has(rec, field) && !l->spilled(rec, field)) {
        const std::string_view now = l->inlineText(rec, field);
        if (static_cast<qsizetype>(now.size()) == kept.size() &&
            std::equal(now.begin(), now.end(), kept.begin(), [](char a, QChar b) {
                return b.unicode() < 0x80 && static_cast<char16_t>(a) == b.unicode();
            }))
            return; // already so
    }
    const bool inlined =
        full.putAscii(cell_.data(), field, kept) || full.putText(cell_.data(), field, kept.toUtf8());
    hold(field);
    if (!inlined) // putText marked the cell as kept aside
        aside_.emplace_back(field, kept.toString());
}
