#include "HashIndex.h"
#include "Table.h"
#include "TableError.h"

#include <algorithm>

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

Table::FieldUpdate::FieldUpdate(Table& t, std::vector<int> fields) : t_(t), fields_(std::move(fields)) {
    t_.requireOpen();
    for (const int f : fields_)
        if (std::find(t_.keys_.begin(), t_.keys_.end(), f) != t_.keys_.end())
            throw cannotUpdate(t_.fileName_);
    t_.checkBrowse();
    t_.notifyReset();
    for (const int f : fields_) // rebuilt by the next locate on them
        if (static_cast<std::size_t>(f) < t_.hashes_.size())
            t_.hashes_[static_cast<std::size_t>(f)].reset();
}

Table::FieldUpdate::~FieldUpdate() {
    try {
        flush();
    } catch (...) {
        // flush only stores a row in memory: nothing a caller could mend is lost here
    }
    t_.notifyResetDone();
}

void Table::FieldUpdate::flush() {
    if (loaded_ && modified_) {
        for (int f = 0; f < t_.layout_.fieldCount(); ++f) {
            if (t_.layout_.type(f) != FieldType::String)
                continue;
            if (auto it = row_.spill.find(f); it != row_.spill.end())
                t_.rows_.setSpilled(phys_, f, it->second);
            else if (!t_.layout_.spilled(row_.bytes.data(), f))
                t_.rows_.clearSpilled(phys_, f);
        }
        t_.rows_.store(phys_, row_.bytes.data());
        t_.markChanged(phys_);
    }
    loaded_ = false;
    modified_ = false;
}

std::uint8_t* Table::FieldUpdate::rowAt(int position, int field) {
    if (std::find(fields_.begin(), fields_.end(), field) == fields_.end())
        throw cannotUpdate(t_.fileName_); // a field the update was not opened for
    const quint32 phys = t_.order_.at(static_cast<std::size_t>(position));
    if (!loaded_ || phys != phys_) {
        flush();
        phys_ = phys;
        row_.clear();
        t_.rows_.load(phys_, row_.bytes); // spilled texts stay where they are unless set
        loaded_ = true;
    }
    return row_.bytes.data();
}

void Table::FieldUpdate::setInteger(int position, int field, qint32 v) {
    const RecordLayout& l = t_.layout_;
    std::uint8_t* rec = rowAt(position, field);
    if (l.type(field) == FieldType::Integer && RecordLayout::has(rec, field) && l.integerAt(rec, field) == v)
        return;
    row_.spill.erase(field);
    switch (l.type(field)) {
    case FieldType::Integer:
        l.putInteger(rec, field, v);
        break;
    case FieldType::Float:
        l.putReal(rec, field, v);
        break;
    case FieldType::String:
        l.putText(rec, field, QByteArray::number(v));
        break;
    }
    modified_ = true;
}

void Table::FieldUpdate::setText(int position, int field, QStringView v) {
    const RecordLayout& l = t_.layout_;
    if (l.type(field) != FieldType::String)
        throw cannotUpdate(t_.fileName_);
    std::uint8_t* rec = rowAt(position, field);
    const QStringView kept = v.left(std::max(l.fields()[static_cast<std::size_t>(field)].size, 1));
    if (RecordLayout::has(rec, field) && !l.spilled(rec, field)) {
        const std::string_view now = l.inlineText(rec, field);
        if (static_cast<qsizetype>(now.size()) == kept.size() &&
            std::equal(now.begin(), now.end(), kept.begin(), [](char a, QChar b) {
                return b.unicode() < 0x80 && static_cast<char16_t>(a) == b.unicode();
            }))
            return; // already so
    }
    row_.spill.erase(field);
    if (!l.putAscii(rec, field, kept)) {
        const QString s = kept.toString();
        if (!l.putText(rec, field, s.toUtf8()))
            row_.spill[field] = s;
    }
    modified_ = true;
}
