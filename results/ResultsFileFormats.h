#pragma once

#include "DrawPayout.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <variant>
#include <vector>

// Reading the draw history from the files the lottery publishes, without touching any table.
//
// The format is told by the content, never by the file name:
// - a zip container: the operator's spreadsheet ("Mega-Sena.xlsx"), its first sheet read through
//   the workbook's relations (or the first xl/worksheets/sheet*.xml), numbers and shared strings;
//   a zip without a sheet but with an HTML page (the old "D_megase.zip") is read as that page;
// - JSON: the results service's objects (one, or an array of them) with `numero` and
//   `dezenasSorteadasOrdemSorteio` or `listaDezenas`, or one object whose keys are draw numbers
//   and whose values are the six numbers;
// - HTML: the saved results page, in UTF-8 or ISO-8859-1; rows that hold only a city or a state
//   (draws with winners in several places) are skipped;
// - anything else: text with `;`, tab or `,` between the fields, with or without a header row.
//
// Tabular formats with a header row find the draw number under "Concurso" and the six numbers
// under "Bola1".."Bola6", "Bola 1", "1ª Dezena", "Dezena1" or "D1"; where the file has them, the
// date under "Data do Sorteio" (or "Data") and the prizes under "Ganhadores 6 acertos", "Rateio 6
// acertos" ... "Rateio 4 acertos" (or "Ganhadores_Sena", "Rateio_Quina" ...); other columns are
// ignored. JSON gives the date as `dataApuracao` and the prizes in `listaRateioPremio`.
// Text without such a header gives the draw number first and the six numbers after it (a date
// between them is skipped).

enum class ResultsFormat { Spreadsheet, Html, Text, Json };
QString resultsFormatName(ResultsFormat f); // "planilha", "página HTML", "texto", "JSON"

// One row of the file that names a draw. `numbers` holds the six numbers in the order the file
// gives them; `valid` is false when they are not six different whole numbers from 1 to 60 (the
// row is then refused, its numbers are meaningless).
struct FileDraw {
    int concurso = 0;
    std::array<int, 6> numbers{};
    bool valid = false;
    // The draw's date and prizes, when the file has a date or prize columns.
    std::optional<FilePrizes> prizes;
};

struct ParsedResults {
    ResultsFormat format = ResultsFormat::Text;
    std::vector<FileDraw> draws; // in file order; one per draw number (the first row that names it)
    // Draw numbers named again with other numbers than their first row; such rows are refused.
    std::vector<int> conflicting;
};

// Why a file could not be read at all, in Portuguese, without the file name ("o arquivo está
// vazio").
struct ResultsFileProblem {
    QString reason;
};

using ParseOutcome = std::variant<ParsedResults, ResultsFileProblem>;

// Reads the whole content of a results file. A file in none of the formats, damaged, truncated,
// empty, or a table without the draw number and the six numbers' columns is a problem; a file
// whose rows name no draw at all is one too.
ParseOutcome ParseResultsFile(const QByteArray& content);

// Six whole numbers from 1 to 60, all different.
bool isValidDraw(const std::array<int, 6>& numbers);
