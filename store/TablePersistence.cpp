#include "TablePersistence.h"

#include "RecordStore.h"
#include "TableError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace {

// Dead records a table may carry beyond as many as it has live rows before a write drops them with
// a whole write: a small table whose rows were mostly deleted stays written in place, since a
// whole write of a few thousand rows costs about what the in-place one does.
constexpr std::uint32_t kDeadRowsKeptBeyondLive = 4096;

// A write that changes at least this share of the file's rows (the hits of a check against a new
// draw change nearly every game) is a whole one: in place, every page would be written twice, once
// into the rollback journal and once into the file, where a whole write writes each page once.
constexpr std::uint32_t kWholeWhenOneIn = 2;

// The state in which this program last left each file it wrote: a file found in that state was
// changed, if at all, by another table of the program, never by someone else.
QHash<QString, FileIdentity>& writtenHere() {
    static QHash<QString, FileIdentity> files;
    return files;
}

QString keyOf(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

void TablePersistence::forget() {
    identity_ = {};
    persisted_ = 0;
    touched_.clear();
    touched_.shrink_to_fit();
    numbered_ = false;
    sameAsFile_ = false;
}

void TablePersistence::loaded(const QString& path, std::uint32_t rows, bool numbered) {
    identity_ = FileIdentity::of(path);
    persisted_ = rows;
    touched_.clear();
    numbered_ = numbered;
    sameAsFile_ = true;
}

void TablePersistence::touched(std::uint32_t phys) {
    sameAsFile_ = false;
    if (phys >= persisted_ || !numbered_)
        return;
    touched_.push_back(phys);
    if (touched_.size() > 2 * std::size_t{persisted_} + 1024) {
        // The same rows changed over and over: keep the list no longer than the table.
        std::sort(touched_.begin(), touched_.end());
        touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
    }
}

void TablePersistence::replacedAll() {
    sameAsFile_ = false;
    numbered_ = false;
    touched_.clear();
}

bool TablePersistence::fileUntouched(const QString& path) const {
    const FileIdentity now = FileIdentity::of(path);
    return now.exists && now == identity_;
}

std::vector<std::uint32_t> TablePersistence::write(const QString& path, const RecordLayout& layout,
                                                   RecordStore& rows, bool whole) {
    const FileIdentity now = FileIdentity::of(path);
    const bool untouched = now.exists && now == identity_;
    if (!whole && untouched && sameAsFile_)
        return {}; // the file already holds exactly these rows
    if (identity_.exists && now.exists && !untouched) {
        const auto here = writtenHere().constFind(keyOf(path));
        if (here == writtenHere().constEnd() || !(*here == now))
            throw TableError(
                QStringLiteral("O arquivo \"%1\" foi alterado por outro programa depois que o Quinabel o "
                               "leu. Para não apagar o que está nele, as alterações desta sessão não foram "
                               "gravadas por cima dele; elas continuam abertas no programa. Feche o "
                               "outro programa e o Quinabel e abra o Quinabel de novo.")
                    .arg(QDir::toNativeSeparators(path)));
    }
    std::sort(touched_.begin(), touched_.end());
    touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
    // Mostly dead records are dropped by a whole write, which renumbers the rows.
    const bool mostlyDead = rows.size() - rows.alive() > rows.alive() + kDeadRowsKeptBeyondLive;
    const bool mostlyChanged =
        persisted_ > kDeadRowsKeptBeyondLive && touched_.size() >= persisted_ / kWholeWhenOneIn;
    std::vector<std::uint32_t> renumber;
    if (!whole && untouched && numbered_ && persisted_ <= rows.size() && !mostlyDead && !mostlyChanged) {
        TableFile::writeChanges(path, layout, rows, persisted_, touched_);
    } else {
        TableFile::writeWhole(path, layout, rows);
        if (rows.alive() != rows.size())
            renumber = rows.compact();
    }
    identity_ = FileIdentity::of(path);
    writtenHere().insert(keyOf(path), identity_);
    persisted_ = rows.size();
    touched_.clear();
    numbered_ = true;
    sameAsFile_ = true;
    return renumber;
}
