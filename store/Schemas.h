#pragma once

#include "FieldDef.h"

#include <QString>
#include <optional>
#include <vector>

class RecordStore;

// The one place where every table of the program is defined: its fields in order with their types
// and sizes, its file in the working folder, the order its rows are visited in at start-up, the
// rules its file's values keep, and what it holds as the player knows it (`definitions`, one entry
// per table; `Tables` binds its tables to them by name).
namespace Schemas {

FieldList results(); // TableRes and TableLimpaRes: Concurso, d1..d6, pares, impares, abaixo, acima
FieldList weights(); // TableAval: Nota, dezena, Desprezada, Cartao
FieldList
games(); // TableCar: Cartao, Emite, Pares, Linhas, Abaixo, Dezenas, Acertos, d1..d15, ad1..ad15, Todos
FieldList numberList();   // TableDes, TableOrd: Dezena
FieldList numberStats();  // TableSaidas: Dezena, Saidas, Demora, MaiorDemora, TotSai, Ordenador
FieldList statsReport();  // TableRelSai: Dezena, Saidas, Demora, MaiorDemora and the N, D and M groups
FieldList distributed();  // TableDis: Cartao, d1..d15
FieldList deck();         // TableDezVal: Dezena, Alea
FieldList listing();      // TableRel: Linha, Detalhe
FieldList printNumbers(); // TableImp: Cartao, Dezena, Quant
FieldList slips();        // TableCImp: Cartela, J1, J2, J3, Dezenas

// File names, spelled the one way every access uses.
inline const QString kResultsFile = QStringLiteral("Resultados.cds");
inline const QString kScratchFile = QStringLiteral("Limpares.cds");
inline const QString kWeightsFile = QStringLiteral("Aval.cds");
inline const QString kGamesFile = QStringLiteral("Cartelas.cds");
inline const QString kDiscardedFile = QStringLiteral("Desprezadas.cds");
inline const QString kOrderFile = QStringLiteral("Ordem.cds");
inline const QString kStatsFile = QStringLiteral("Saidas.cds");
inline const QString kStatsReportFile = QStringLiteral("RelSai.cds");
inline const QString kDistributedFile = QStringLiteral("Distribuidas.cds");
inline const QString kDeckFile = QStringLiteral("DesVal.cds");
inline const QString kOldDeckFile = QStringLiteral("DezVal.cds");
inline const QString kListingFile = QStringLiteral("Rel.cds");
inline const QString kExportFile = QStringLiteral("Cartelas.csv");

// The printer calibration (read and written by output/PrintCalibration): one row per paper,
// Papel ("Volante" or "A4"), Horizontal and Vertical (mm, to the right and down).
FieldList calibration();
inline const QString kCalibrationFile = QStringLiteral("Calibragem.cds");

// The folder the last results file was imported from (one row, field Pasta), so that the file
// dialog of the import opens there again.
FieldList importFolder();
inline const QString kImportFolderFile = QStringLiteral("PastaImportacao.cds");

// The player's price of a simple bet (one row, field Preco: the amount as "6.00").
FieldList betPrice();
inline const QString kBetPriceFile = QStringLiteral("Preco.cds");

// The lottery's prizes of each draw, as the imported results files gave them: one row per draw,
// Concurso, Data ("1996-03-11"), and for 6, 5 and 4 hits the winners (Ganhadores6 ...) and the
// prize per winner (Rateio6 ..., the amount as "1714650.23"); a draw whose values could not be
// read has its date at most.
FieldList drawPrizes();
inline const QString kDrawPrizesFile = QStringLiteral("Premios.cds");

// One table of the program, whole.
struct Definition {
    QString table;    // the name the program knows it by ("TableRes")
    QString file;     // its file in the working folder
    QString order;    // its index fields ("Dezenas;Cartao"), empty for the order rows were added in
    FieldList fields; // its fields in order
    // The rules the file's values keep (LoadChecks), checked as it is read; none when empty.
    std::optional<QString> (*check)(const FieldList&, const RecordStore&) = nullptr;
    QString holds; // what it holds, as the player reads it in a message: "dos resultados dos concursos"
};
// Every table of `Tables`, one entry each.
const std::vector<Definition>& definitions();
// The entry of `table`, or nothing for a table outside them.
const Definition* definitionOf(QStringView table);

} // namespace Schemas
