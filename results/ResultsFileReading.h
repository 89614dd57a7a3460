#pragma once

#include "ResultsFileFormats.h"

#include <QHash>
#include <QStringList>
#include <QStringView>
#include <algorithm>

// What the readers of the results files share, and the readers, one per format; used by
// ParseResultsFile only.
namespace ResultsFileReading {

using Rows = std::vector<QStringList>;

ResultsFileProblem problem(const QString& reason);
// A cell read as a whole number: blanks around it and leading zeros allowed ("04"), nothing else.
std::optional<int> wholeNumber(QStringView cell);
std::array<int, 6> sortedNumbers(std::array<int, 6> n);

// Keeps the first row of each draw number; a later row with other numbers is a conflict.
class DrawCollector {
public:
    explicit DrawCollector(ResultsFormat f) { out_.format = f; }

    void add(int concurso, const std::array<int, 6>& numbers,
             std::optional<FilePrizes> prizes = std::nullopt) {
        const bool valid = isValidDraw(numbers);
        const auto seen = index_.constFind(concurso);
        if (seen != index_.constEnd()) {
            const FileDraw& first = out_.draws[static_cast<std::size_t>(*seen)];
            const bool same = first.valid == valid && sortedNumbers(first.numbers) == sortedNumbers(numbers);
            if (!same && std::find(out_.conflicting.begin(), out_.conflicting.end(), concurso) ==
                             out_.conflicting.end())
                out_.conflicting.push_back(concurso);
            return;
        }
        index_.insert(concurso, static_cast<int>(out_.draws.size()));
        out_.draws.push_back({concurso, numbers, valid, std::move(prizes)});
    }

    bool empty() const { return out_.draws.empty(); }
    ParsedResults take() { return std::move(out_); }

private:
    ParsedResults out_;
    QHash<int, int> index_;
};

// Rows -> draws. Before a header is seen, a row that starts with a draw number gives the six
// numbers after it (skipping a date); after a header, its columns are used. Rows without a draw
// number where one is expected (titles, a winner's city or state alone) are skipped. With
// `requireHeader` only rows under a header count.
ParseOutcome drawsOfRows(const Rows& rows, ResultsFormat format, bool requireHeader);

// UTF-8 when the bytes are valid UTF-8, ISO-8859-1 otherwise (or when the file declares it).
QString decodeText(const QByteArray& bytes, bool declaredLatin1 = false);

// The readers, each for content already told to be of its format.
ParseOutcome readSpreadsheet(const QByteArray& content);   // ResultsSpreadsheet.cpp
ParseOutcome readResultsPage(const QByteArray& content);   // ResultsPage.cpp
ParseOutcome readSeparatedText(const QByteArray& content); // ResultsSeparatedText.cpp
ParseOutcome readResultsJson(const QByteArray& content);   // ResultsJson.cpp

} // namespace ResultsFileReading
