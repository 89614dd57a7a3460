#include "RecomputeStatistics.h"

#include "DrawEntry.h"
#include "Schemas.h"
#include "Tables.h"

#include <vector>

DerivedCounts derivedCounts(const DrawNumbers& d) {
    int even = 0;
    int low = 0;
    for (const int x : d) {
        even += x % 2 == 0 ? 1 : 0;
        low += x <= 30 ? 1 : 0;
    }
    return {even, 6 - even, low, 6 - low};
}

namespace {

// Writes the derived counts of every draw (empty for an incomplete draw) and answers the draws in
// Concurso order. Rows that already hold the right counts are not touched, so a recomputation
// that changes nothing leaves the results file as it is.
std::vector<DrawNumbers> readAndMarkDraws(Table& res) {
    std::array<int, 6> numberFields{};
    for (int i = 0; i < 6; ++i)
        numberFields[static_cast<std::size_t>(i)] = res.fieldIndex(QStringLiteral("d%1").arg(i + 1));
    const std::array<int, 4> derivedFields{res.fieldIndex(u"pares"), res.fieldIndex(u"impares"),
                                           res.fieldIndex(u"abaixo"), res.fieldIndex(u"acima")};

    std::vector<DrawNumbers> draws;
    draws.reserve(static_cast<std::size_t>(res.rowCount()));
    const Table::BulkChange quiet(res);
    for (res.first(); !res.eof(); res.next()) {
        DrawNumbers d{};
        for (std::size_t i = 0; i < 6; ++i)
            d[i] = res.intValue(numberFields[i]).value_or(0);
        draws.push_back(d);

        const bool complete = isCompleteDraw(d);
        const DerivedCounts counts = complete ? derivedCounts(d) : DerivedCounts{};
        bool same = true;
        for (std::size_t i = 0; i < 4 && same; ++i) {
            const auto stored = res.intValue(derivedFields[i]);
            same = complete ? stored == counts[i] : res.isEmpty(derivedFields[i]);
        }
        if (same)
            continue;
        res.edit();
        for (std::size_t i = 0; i < 4; ++i) {
            if (complete)
                res.setInteger(derivedFields[i], counts[i]);
            else
                res.setEmpty(derivedFields[i]);
        }
        // the next move posts the row
    }
    return draws;
}

// The number of the last complete draw, the one the statistics stop at; 0 without one (or with an
// empty Concurso). The table is left on its last row.
int lastConcurso(Table& res) {
    if (res.rowCount() == 0)
        return 0;
    res.last();
    const auto whole = LastWholeDrawPosition(res);
    return whole ? res.rowAt(*whole).intValue(res.fieldIndex(u"Concurso")).value_or(0) : 0;
}

void rebuildSaidas(Table& saidas, const NumberStatistics& s) {
    // A scratch table never read before it is re-created, so its old rows are dropped unwritten.
    saidas.defineFields(Schemas::numberStats());
    saidas.create();
    const int dezena = saidas.fieldIndex(u"Dezena");
    const int ausencia = saidas.fieldIndex(u"Saidas");
    const int demora = saidas.fieldIndex(u"Demora");
    const int maior = saidas.fieldIndex(u"MaiorDemora");
    const int total = saidas.fieldIndex(u"TotSai");
    const Table::BulkChange quiet(saidas);
    for (int n = 1; n <= NumberStatistics::kNumbers; ++n) {
        const NumberCounts& c = s.of(n);
        saidas.insert();
        saidas.setInteger(dezena, n);
        saidas.setInteger(ausencia, c.absence);
        saidas.setInteger(demora, c.lastAbsence);
        saidas.setInteger(maior, c.longestAbsence);
        saidas.setInteger(total, c.timesDrawn);
        saidas.post();
    }
    saidas.first();
}

// Opens the weights table, creating it with its 60 rows when "Aval.cds" does not exist yet. An
// open table already holds the rows of this run and is kept, so it is never re-created.
void openWeights(Table& aval) {
    if (!aval.isOpen()) {
        if (aval.fileExists()) {
            aval.open();
        } else {
            aval.defineFields(Schemas::weights());
            aval.create();
            const int dezena = aval.fieldIndex(u"dezena");
            for (int n = 1; n <= NumberStatistics::kNumbers; ++n) {
                aval.insert();
                aval.setInteger(dezena, n);
                aval.post();
            }
        }
    }
    aval.setIndexFieldNames(QStringLiteral("Nota"));
}

// Nota := the weight of each number. Rows that already hold it are not touched; a number without a
// row gets one, so that no weight lands on another number's row.
void storeWeights(Table& aval, const NumberStatistics& s) {
    const int nota = aval.fieldIndex(u"Nota");
    const int dezena = aval.fieldIndex(u"dezena");
    const Table::BulkChange quiet(aval);
    for (int n = 1; n <= NumberStatistics::kNumbers; ++n) {
        const double w = s.of(n).weight;
        if (aval.locate(u"dezena", n)) {
            if (!aval.isEmpty(nota) && aval.real(nota) == w)
                continue;
            aval.edit();
        } else {
            aval.insert();
            aval.setInteger(dezena, n);
        }
        aval.setReal(nota, w);
        aval.post();
    }
    aval.first();
}

} // namespace

NumberStatistics RecomputeStatistics(Tables& t) {
    Table& res = t.TableRes;
    openWeights(t.TableAval);
    const std::vector<DrawNumbers> draws = readAndMarkDraws(res);
    NumberStatistics s = tallyDraws(draws);
    s.lastConcurso = lastConcurso(res);
    rebuildSaidas(t.TableSaidas, s);
    t.TableSaidas.commitChanges(); // the orders of a later run read them back from the file
    storeWeights(t.TableAval, s);
    return s;
}
