#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

class Progress;

// What reading one results file may cost. A real results file stays far below every limit (the
// operator's spreadsheet of some 2,800 draws is about a megabyte, 3,000 rows and 60,000 cells);
// a wrong or hostile file (a zip bomb, a device, a file of millions of lines) reaches one within a
// fraction of a second and is refused with the limit's reason, so memory and time stay bounded
// whatever the player chooses.
namespace ResultsReadingLimits {

inline constexpr qint64 kMostFileBytes = 32 * 1024 * 1024;  // the file as it is on disk
inline constexpr qint64 kMostEntryBytes = 32 * 1024 * 1024; // one zip entry, uncompressed
inline constexpr int kMostZipEntries = 1000;
inline constexpr qsizetype kMostRows = 100000;
inline constexpr qsizetype kMostCells = 1000000;        // all rows together
inline constexpr int kMostColumns = 256;                // cells right of this are ignored
inline constexpr qsizetype kMostSharedStrings = 200000; // a spreadsheet's table of texts
inline constexpr qsizetype kMostSharedChars = 8 * 1024 * 1024;
inline constexpr qsizetype kMostJsonValues = 2000000;
inline constexpr int kMostDrawNumber = 100000; // far above the last draw for centuries to come

// Why reading stopped before the end: a limit reached (the reason, in Portuguese, without the
// file name) or the player cancelled. Thrown by the readers' budget, caught by ParseResultsFile.
struct ReadingStopped {
    QString reason;
    bool cancelled = false;
};

// The budget of the file being read on this thread: rows and cells so far, and the progress that
// is told of them (and may cancel). ParseResultsFile opens one for each file; the readers reach it
// through `current()`, so their code only counts what it reads.
class Budget {
public:
    explicit Budget(Progress* progress);
    ~Budget();
    Budget(const Budget&) = delete;
    Budget& operator=(const Budget&) = delete;

    // These count against the innermost budget open on this thread, and do nothing without one.
    // A row: throws ReadingStopped when the rows or cells would pass their limits, or when the
    // progress answers that the player cancelled.
    static void rowRead(qsizetype cells);
    // Cells of a row already counted by rowRead (a row whose place was taken before its cells
    // were known); throws as rowRead does.
    static void cellsRead(qsizetype cells);
    // Bytes read (from the disk or out of a zip entry): reports progress now and then.
    static void bytesRead(qint64 bytes);
    // Asks the progress whether to go on; throws ReadingStopped when not.
    static void checkpoint();

private:
    void report();

    Progress* progress_;
    Budget* outer_;
    qsizetype rows_ = 0;
    qsizetype cells_ = 0;
    qint64 bytes_ = 0;
    qint64 bytesAtReport_ = 0;
};

// The rows of a tabular file. Adding a row counts it against the budget of the file being read.
class Rows {
public:
    using const_iterator = std::vector<QStringList>::const_iterator;
    void push_back(const QStringList& row) {
        Budget::rowRead(row.size());
        rows_.push_back(row);
    }
    // Takes the place of a row whose cells come later (a reader that meets a row's start before
    // its cells), and fills it in.
    std::size_t reserveRow() {
        Budget::rowRead(0);
        rows_.emplace_back();
        return rows_.size() - 1;
    }
    void fillRow(std::size_t at, QStringList cells) {
        Budget::cellsRead(cells.size());
        rows_[at] = std::move(cells);
    }
    const_iterator begin() const { return rows_.begin(); }
    const_iterator end() const { return rows_.end(); }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    void reserve(std::size_t) {} // the budget, not the file's claim, decides what is held

private:
    std::vector<QStringList> rows_;
};

// "32 MB", "100.000": limits as the messages show them.
QString megabytes(qint64 bytes);
QString count(qint64 n);

} // namespace ResultsReadingLimits
