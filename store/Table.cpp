#include "Table.h"

#include "FileNames.h"
#include "HashIndex.h"
#include "TableError.h"

#include <QDir>
#include <algorithm>

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

    const int from = pos_;
    const int to = keyChanged ? placeAfterChange(from) : from;
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

// ---------------------------------------------------------------- values held outside the table

void Table::addPendingEdit(PendingEdit* edit) {
    if (std::find(pendingEdits_.begin(), pendingEdits_.end(), edit) == pendingEdits_.end())
        pendingEdits_.push_back(edit);
}

void Table::removePendingEdit(PendingEdit* edit) {
    std::erase(pendingEdits_, edit);
}

void Table::runUpdaters() {
    // A holder may go (or another come) while one stores its value: only those still registered
    // are asked.
    const std::vector<PendingEdit*> edits = pendingEdits_;
    for (PendingEdit* e : edits)
        if (std::find(pendingEdits_.begin(), pendingEdits_.end(), e) != pendingEdits_.end())
            e->storePendingEdit();
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
