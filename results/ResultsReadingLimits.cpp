#include "ResultsReadingLimits.h"

#include "Prompter.h"

#include <QLocale>

namespace ResultsReadingLimits {

namespace {
thread_local Budget* innermost = nullptr;
constexpr qsizetype kRowsPerReport = 1024;
constexpr qint64 kBytesPerReport = 1024 * 1024;
} // namespace

Budget::Budget(Progress* progress) : progress_(progress), outer_(innermost) {
    innermost = this;
}

Budget::~Budget() {
    innermost = outer_;
}

void Budget::report() {
    if (progress_ && !progress_->report(0, 0, rows_))
        throw ReadingStopped{QStringLiteral("a leitura foi cancelada"), true};
}

void Budget::rowRead(qsizetype cells) {
    Budget* b = innermost;
    if (!b)
        return;
    if (b->rows_ + 1 > kMostRows)
        throw ReadingStopped{QStringLiteral("ele tem mais de %1 linhas, muito mais do que um arquivo de "
                                            "resultados")
                                 .arg(count(kMostRows))};
    if (b->cells_ + cells > kMostCells)
        throw ReadingStopped{QStringLiteral("ele tem mais de %1 células, muito mais do que um arquivo de "
                                            "resultados")
                                 .arg(count(kMostCells))};
    ++b->rows_;
    b->cells_ += cells;
    if (b->rows_ % kRowsPerReport == 0)
        b->report();
}

void Budget::cellsRead(qsizetype cells) {
    Budget* b = innermost;
    if (!b)
        return;
    if (b->cells_ + cells > kMostCells)
        throw ReadingStopped{QStringLiteral("ele tem mais de %1 células, muito mais do que um arquivo de "
                                            "resultados")
                                 .arg(count(kMostCells))};
    b->cells_ += cells;
}

void Budget::bytesRead(qint64 bytes) {
    Budget* b = innermost;
    if (!b)
        return;
    b->bytes_ += bytes;
    if (b->bytes_ - b->bytesAtReport_ >= kBytesPerReport) {
        b->bytesAtReport_ = b->bytes_;
        b->report();
    }
}

void Budget::checkpoint() {
    if (Budget* b = innermost)
        b->report();
}

QString megabytes(qint64 bytes) {
    return QStringLiteral("%1 MB").arg(QLocale().toString(bytes / (1024 * 1024)));
}

QString count(qint64 n) {
    return QLocale().toString(n);
}

} // namespace ResultsReadingLimits
