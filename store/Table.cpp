#include "Table.h"

#include "FileNames.h"
#include "HashIndex.h"
#include "TableError.h"

#include <QDir>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Tables this small are searched row by row: building a hash index would cost more.
constexpr int kLinearLocateRows = 32;

std::optional<qint32> parseInteger(const QString& text) {
    bool ok = false;
    const qint32 v = text.trimmed().toInt(&ok); // refuses what does not fit in 32 bits
    return ok ? std::optional<qint32>(v) : std::nullopt;
}

std::optional<double> parseReal(const QString& text) {
    bool ok = false;
    const QString t = text.trimmed();
    double v = QLocale().toDouble(t, &ok);
    if (!ok)
        v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}
} // namespace

Table::Table(QString name, QString folder, QString fileName, QObject* parent)
    : QObject(parent), name_(std::move(name)), folder_(std::move(folder)), fileName_(std::move(fileName)) {
    setObjectName(name_);
}

Table::~Table() = default;

QString Table::filePath() const {
    return FileNames::resolve(folder_, fileName_);
}
bool Table::fileExists() const {
    return FileNames::exists(folder_, fileName_);
}

// ---------------------------------------------------------------- structure

void Table::defineFields(FieldList fields) {
    if (isOpen()) {
        notifyReset();
        dropRows();
        setState(State::Closed);
        pos_ = -1;
        eof_ = true;
        if (!quiet())
            emit reset();
    }
    cached_ = false;
    layout_.setFields(std::move(fields));
    fieldsDefined_ = true;
}

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

// ---------------------------------------------------------------- life cycle

void Table::create() {
    if (!fieldsDefined_ || layout_.fieldCount() == 0)
        throw TableError::noFields(name_);
    const std::vector<int> keys = [&] {
        std::vector<int> k;
        for (const QString& part : indexNames_.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (auto f = findField(part.trimmed()))
                k.push_back(*f);
        return k;
    }();
    notifyReset();
    dropRows();
    keys_ = keys;
    // The file, if any, is left alone: it is replaced at the next write, and only if the table
    // gets rows, so nothing here knows what it holds.
    file_.forget();
    changed_ = false;
    setState(State::Browse);
    pos_ = -1;
    eof_ = true;
    notifyResetDone();
}

void Table::open() {
    if (isOpen())
        return;
    const QString path = filePath();
    const FileIdentity now = FileIdentity::of(path);
    if (cached_ && now.exists && file_.fileUntouched(path)) {
        // The rows kept at close are what the file holds: reopening needs no read.
        cached_ = false;
        std::vector<int> keys = resolveIndex();
        if (!quiet())
            emit aboutToReset();
        const bool sameOrder = keys == cachedKeys_ && order_.size() == rows_.alive();
        keys_ = std::move(keys);
        if (!sameOrder) {
            order_.clear();
            order_.reserve(rows_.alive());
            for (quint32 i = 0; i < rows_.size(); ++i)
                if (RecordLayout::alive(rows_.record(i)))
                    order_.push_back(i);
            resortAll();
        }
        changed_ = false; // the rows are what the file holds
        setState(State::Browse);
    } else {
        cached_ = false;
        if (!now.exists)
            throw TableError::missingData(name_, fileName_);
        RecordLayout layout;
        RecordStore rows;
        const bool numbered = TableFile::load(path, layout, rows);
        if (loadCheck_)
            if (const auto fault = loadCheck_(layout.fields(), rows))
                throw TableError(QStringLiteral("O arquivo \"%1\" está danificado: %2. O arquivo não foi "
                                                "alterado; renomeie-o ou remova-o para que o programa "
                                                "possa criar um novo.")
                                     .arg(QDir::toNativeSeparators(path), *fault));
        const RecordLayout previous = layout_;
        layout_ = std::move(layout);
        std::vector<int> keys;
        try {
            keys = resolveIndex();
        } catch (...) {
            layout_ = previous;
            throw;
        }
        if (!quiet())
            emit aboutToReset();
        dropRows();
        rows_ = std::move(rows);
        fieldsDefined_ = true;
        keys_ = std::move(keys);
        file_.loaded(path, rows_.size(), numbered);
        changed_ = false; // a loaded row is not a changed row: a table that only reads never writes
        order_.clear();
        order_.reserve(rows_.alive());
        for (quint32 i = 0; i < rows_.size(); ++i)
            if (RecordLayout::alive(rows_.record(i)))
                order_.push_back(i);
        setState(State::Browse);
        resortAll();
    }
    pos_ = order_.empty() ? -1 : 0;
    eof_ = order_.empty();
    if (!quiet()) {
        emit reset();
        emit currentChanged(pos_);
        if (pos_ >= 0)
            emit afterScroll();
    }
}

void Table::close() {
    if (!isOpen())
        return;
    if (isEditing())
        cancel();
    // Closing never writes: the rows reach the file only through commitChanges or write, which
    // the operation that changed them calls. Rows changed since then are dropped with the rest.
    notifyReset();
    const bool keep = !changed_ && file_.sameAsFile();
    if (keep) {
        // Keep the rows while they equal the file; the next open takes them back unless the
        // file changed in between.
        hashes_.clear();
        cachedKeys_ = keys_; // the order too: a reopen in the same order takes it back as it is
        cached_ = true;
    } else {
        dropRows();
    }
    setState(State::Closed);
    pos_ = -1;
    eof_ = true;
    notifyResetDone();
}

void Table::write() {
    requireOpen();
    if (isEditing())
        cancel();
    writeFile(true);
}

void Table::commitChanges() {
    if (!isOpen() || !changed_)
        return;
    writeFile(false);
}

void Table::emptyTable() {
    requireOpen();
    if (isEditing())
        cancel();
    if (order_.empty())
        return;
    notifyReset();
    rows_.reset(layout_);
    order_.clear();
    hashes_.clear();
    file_.replacedAll();
    changed_ = true;
    pos_ = -1;
    eof_ = true;
    notifyResetDone();
}

void Table::dropRows() {
    rows_.reset(layout_);
    order_.clear();
    order_.shrink_to_fit();
    hashes_.clear();
    pending_.clear();
    cached_ = false;
    file_.forget();
}

void Table::writeFile(bool force) {
    const std::vector<quint32> renumber =
        file_.write(FileNames::writeTarget(folder_, filePath()), layout_, rows_, force);
    if (!renumber.empty()) {
        // A whole write leaves no gaps in the file, so the rows are renumbered to stand as they
        // stand there.
        for (quint32& p : order_)
            p = renumber[p];
        if (state_ == State::Edit)
            editedPhys_ = renumber[editedPhys_]; // a commit while a row is being edited
        hashes_.clear();
    }
    changed_ = false;
}

void Table::markChanged(quint32 phys) {
    changed_ = true;
    file_.touched(phys); // a row added since the last write is told apart there
}

// ---------------------------------------------------------------- order

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
    if (keys_.empty()) {
        if (!std::is_sorted(order_.begin(), order_.end()))
            std::sort(order_.begin(), order_.end());
        return;
    }
    auto cmp = [this](quint32 a, quint32 b) { return less(a, b); };
    if (std::is_sorted(order_.begin(), order_.end(), cmp))
        return;
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
    if (hi - lo > 4096)
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

// ---------------------------------------------------------------- cursor

void Table::requireOpen() const {
    if (!isOpen())
        throw TableError::notOpen(name_);
}

void Table::requireCurrent() const {
    requireOpen();
    if (pos_ < 0)
        throw TableError::noCurrentRow(name_);
}

void Table::requireEditing() const {
    if (!isEditing())
        throw TableError::notEditing(name_);
}

void Table::checkBrowse() {
    if (!isEditing())
        return;
    runUpdaters();
    if (pending_.modified)
        post();
    else
        cancel();
}

void Table::setCursor(int position, bool scrolled) {
    pos_ = position;
    if (!quiet()) {
        emit currentChanged(pos_);
        if (scrolled && pos_ >= 0)
            emit afterScroll();
    }
}

void Table::setState(State s) {
    if (s == state_)
        return;
    state_ = s;
    if (!quiet())
        emit stateChanged();
}

int Table::rowCount() const {
    return isOpen() ? static_cast<int>(order_.size()) : 0;
}

std::size_t Table::memoryBytes() const {
    std::size_t bytes = rows_.memoryBytes() + order_.capacity() * sizeof(quint32);
    for (const auto& h : hashes_)
        if (h)
            bytes += h->memoryBytes();
    return bytes;
}

bool Table::eof() const {
    return !isOpen() || eof_ || order_.empty();
}

void Table::first() {
    requireOpen();
    checkBrowse();
    eof_ = order_.empty();
    setCursor(order_.empty() ? -1 : 0);
}

void Table::last() {
    requireOpen();
    checkBrowse();
    eof_ = order_.empty();
    setCursor(order_.empty() ? -1 : static_cast<int>(order_.size()) - 1);
}

void Table::next() {
    requireOpen();
    checkBrowse();
    if (pos_ + 1 < static_cast<int>(order_.size())) {
        eof_ = false;
        setCursor(pos_ + 1);
    } else {
        eof_ = true;
    }
}

void Table::prior() {
    requireOpen();
    checkBrowse();
    eof_ = order_.empty();
    if (pos_ > 0)
        setCursor(pos_ - 1);
}

void Table::moveTo(int position) {
    requireOpen();
    checkBrowse();
    if (position < 0 || position >= static_cast<int>(order_.size()))
        return;
    eof_ = false;
    if (position != pos_)
        setCursor(position);
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
                n = parseInteger(value.toString());
            else if (ok && v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
                n = static_cast<qint32>(v);
            if (!n)
                return false;
            layout_.putInteger(probe.data(), f, *n);
            break;
        }
        case FieldType::Float: {
            bool ok = false;
            const double d = value.typeId() == QMetaType::QString ? parseReal(value.toString()).value_or(NAN)
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

// ---------------------------------------------------------------- changing rows

void Table::insert() {
    requireOpen();
    checkBrowse();
    pending_.clear();
    pending_.bytes.assign(layout_.recordSize(), 0);
    RecordLayout::setBit(pending_.bytes.data(), 0, true);
    setState(State::Insert);
    if (!quiet())
        emit afterScroll();
}

void Table::edit() {
    requireCurrent();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    editedPhys_ = order_[static_cast<std::size_t>(pos_)];
    pending_.clear();
    rows_.load(editedPhys_, pending_.bytes);
    setState(State::Edit);
}

void Table::cancel() {
    if (!isEditing())
        return;
    pending_.clear();
    setState(State::Browse);
}

void Table::post() {
    requireOpen();
    requireEditing();
    runUpdaters();
    if (state_ == State::Insert) {
        const quint32 phys = rows_.append();
        rows_.store(phys, pending_.bytes.data());
        for (auto& [f, s] : pending_.spill)
            rows_.setSpilled(phys, f, s);
        const int at = insertionPosition(phys);
        if (!quiet())
            emit rowsAboutToBeInserted(at);
        order_.insert(order_.begin() + at, phys);
        for (auto& h : hashes_)
            if (h)
                h->add(phys);
        markChanged(phys);
        pending_.clear();
        state_ = State::Browse;
        pos_ = at;
        eof_ = false;
        if (!quiet()) {
            emit rowsInserted(at);
            emit stateChanged();
            emit currentChanged(pos_);
        }
        return;
    }

    const quint32 phys = editedPhys_;
    const CellReader before = rows_.reader(phys);
    const CellReader after(&layout_, pending_.bytes.data(), &rows_, phys, &pending_.spill);
    bool keyChanged = false;
    for (const int k : keys_)
        keyChanged = keyChanged || compareCells(before, after, k) != 0;

    for (auto& h : hashes_)
        if (h)
            h->remove(phys);
    for (int f = 0; f < layout_.fieldCount(); ++f) {
        if (layout_.type(f) != FieldType::String)
            continue;
        if (auto it = pending_.spill.find(f); it != pending_.spill.end())
            rows_.setSpilled(phys, f, it->second);
        else if (!layout_.spilled(pending_.bytes.data(), f))
            rows_.clearSpilled(phys, f);
    }
    rows_.store(phys, pending_.bytes.data());
    for (auto& h : hashes_)
        if (h)
            h->add(phys);
    markChanged(phys);
    pending_.clear();
    state_ = State::Browse;

    // The row's new place, found on both sides of its old one (the rest is still in order).
    const int from = pos_;
    int to = from;
    if (keyChanged) {
        auto cmp = [this](quint32 e, quint32 p) { return less(e, p); };
        const auto at = order_.begin() + from;
        const auto up = std::lower_bound(order_.begin(), at, phys, cmp);
        to = up != at
                 ? static_cast<int>(up - order_.begin())
                 : static_cast<int>(std::lower_bound(at + 1, order_.end(), phys, cmp) - order_.begin()) - 1;
    }
    if (to != from && !quiet())
        emit rowAboutToMove(from, to);
    if (to != from) {
        order_.erase(order_.begin() + from);
        order_.insert(order_.begin() + to, phys);
        pos_ = to;
    }
    if (!quiet()) {
        if (to != from)
            emit rowMoved(from, to);
        emit rowChanged(pos_);
        emit stateChanged();
        emit currentChanged(pos_);
    }
}

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
            std::equal(now.begin(), now.end(), kept.begin(),
                       [](char a, QChar b) { return b.unicode() < 0x80 && static_cast<char16_t>(a) == b.unicode(); }))
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

void Table::remove() {
    requireOpen();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireCurrent();
    const int at = pos_;
    const quint32 phys = order_[static_cast<std::size_t>(at)];
    if (!quiet())
        emit rowsAboutToBeRemoved(at);
    for (auto& h : hashes_)
        if (h)
            h->remove(phys);
    rows_.kill(phys);
    order_.erase(order_.begin() + at);
    markChanged(phys);
    if (order_.empty()) {
        pos_ = -1;
        eof_ = true;
    } else {
        pos_ = std::min(at, static_cast<int>(order_.size()) - 1);
        eof_ = false;
    }
    if (!quiet()) {
        emit rowsRemoved(at);
        emit currentChanged(pos_);
        if (pos_ >= 0)
            emit afterScroll();
    }
}

// ---------------------------------------------------------------- fields of the current row

RowRef Table::rowAt(int position) const {
    const quint32 p = order_[static_cast<std::size_t>(position)];
    return rows_.reader(p);
}

namespace {
CellReader currentReader(const RecordLayout& layout, const RecordStore& rows,
                         const std::vector<quint32>& order, int pos, Table::State state,
                         const PendingRecord& pending, quint32 editedPhys, const QString& table) {
    if (state == Table::State::Insert)
        return {&layout, pending.bytes.data(), nullptr, 0, &pending.spill};
    if (state == Table::State::Edit)
        return {&layout, pending.bytes.data(), &rows, editedPhys, &pending.spill};
    if (state == Table::State::Closed)
        throw TableError::notOpen(table);
    if (pos < 0)
        throw TableError::noCurrentRow(table);
    const quint32 p = order[static_cast<std::size_t>(pos)];
    return rows.reader(p);
}
} // namespace

#define CURRENT() currentReader(layout_, rows_, order_, pos_, state_, pending_, editedPhys_, name_)

bool Table::isEmpty(int field) const {
    return CURRENT().isEmpty(field);
}
QVariant Table::value(int field) const {
    return CURRENT().value(field);
}
QString Table::text(int field) const {
    return CURRENT().text(field);
}
std::optional<qint32> Table::intValue(int field) const {
    return CURRENT().intValue(field);
}

qint32 Table::integer(int field) const {
    const CellReader r = CURRENT();
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
    const CellReader r = CURRENT();
    if (r.isEmpty(field))
        throw TableError::emptyAsNumber(layout_.fields()[static_cast<std::size_t>(field)].name);
    if (auto v = r.realValue(field))
        return *v;
    throw TableError::notANumber(r.text(field), layout_.fields()[static_cast<std::size_t>(field)].name);
}

#undef CURRENT

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
        const auto n = parseInteger(v);
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
        const auto d = parseReal(v);
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

// ---------------------------------------------------------------- bound fields

void Table::addFieldUpdater(const void* owner, std::function<void()> update) {
    updaters_.emplace_back(owner, std::move(update));
}

void Table::removeFieldUpdater(const void* owner) {
    std::erase_if(updaters_, [owner](const auto& u) { return u.first == owner; });
}

void Table::runUpdaters() {
    for (const auto& u : std::vector(updaters_))
        u.second();
}

// ---------------------------------------------------------------- notifications

void Table::notifyReset() {
    if (!quiet())
        emit aboutToReset();
}

void Table::notifyResetDone() {
    if (!quiet()) {
        emit reset();
        emit currentChanged(pos_);
    }
}

Table::BulkChange::BulkChange(Table& t) : t_(t) {
    if (t_.bulkDepth_++ == 0)
        emit t_.aboutToReset();
}

Table::BulkChange::~BulkChange() {
    if (--t_.bulkDepth_ == 0) {
        emit t_.reset();
        emit t_.stateChanged();
        emit t_.currentChanged(t_.pos_);
    }
}
