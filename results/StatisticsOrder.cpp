#include "StatisticsOrder.h"

#include "DrawEntry.h"
#include "Schemas.h"
#include "Table.h"
#include "Tables.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

struct StatsFields {
    int dezena, saidas, demora, maiorDemora, totSai, ordenador;
    explicit StatsFields(const Table& s)
        : dezena(s.fieldIndex(u"Dezena")), saidas(s.fieldIndex(u"Saidas")), demora(s.fieldIndex(u"Demora")),
          maiorDemora(s.fieldIndex(u"MaiorDemora")), totSai(s.fieldIndex(u"TotSai")),
          ordenador(s.fieldIndex(u"Ordenador")) {}
};

void openSaidas(Table& saidas) {
    if (!saidas.isOpen())
        saidas.open(); // before the first recomputation there is nothing to order: the store says so
}

// The key written into Ordenador; histories far beyond any real one would leave 32 bits, so the
// key is held at its ends, which keeps the longest delays first.
qint32 storedKey(StatsOrder order, const Table& s, const StatsFields& f) {
    const auto v = [&](int field) { return s.intValue(field).value_or(0); };
    const qint64 k = orderKey(order, v(f.dezena), v(f.saidas), v(f.demora), v(f.maiorDemora), v(f.totSai));
    return static_cast<qint32>(
        std::clamp<qint64>(k, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

void writeKeys(Table& saidas, StatsOrder order) {
    const StatsFields f(saidas);
    saidas.setIndexFieldNames(QStringLiteral("Dezena"));
    const Table::BulkChange quiet(saidas);
    for (saidas.first(); !saidas.eof(); saidas.next()) {
        saidas.edit();
        saidas.setInteger(f.ordenador, storedKey(order, saidas, f));
    }
    saidas.setIndexFieldNames(QStringLiteral("Ordenador"));
    saidas.first();
}

} // namespace

qint64 orderKey(StatsOrder order, int dezena, int saidas, int demora, int maiorDemora, int totSai) {
    const auto delayKey = [&](int delay) { return 1000000 - qint64{delay} * 1000 + totSai; };
    switch (order) {
    case StatsOrder::Dezena:
        return dezena;
    case StatsOrder::Saidas:
        return delayKey(saidas);
    case StatsOrder::Demora:
        return delayKey(demora);
    case StatsOrder::MaiorDemora:
        return delayKey(maiorDemora);
    }
    return dezena;
}

void OrderStatistics(Tables& t, StatsOrder order) {
    openSaidas(t.TableSaidas);
    writeKeys(t.TableSaidas, order);
    t.TableSaidas.commitChanges();
}

void BuildStatisticsReport(Tables& t) {
    Table& rel = t.TableRelSai;
    Table& saidas = t.TableSaidas;
    rel.close();
    rel.defineFields(Schemas::statsReport());
    rel.setIndexFieldNames(QStringLiteral("Dezena"));
    rel.create();
    openSaidas(saidas);
    const StatsFields f(saidas);
    const std::array<int, 4> from{f.dezena, f.saidas, f.demora, f.maiorDemora};
    const auto groupFields = [&](const QString& suffix) {
        return std::array<int, 4>{rel.fieldIndex(QStringLiteral("Dezena") + suffix),
                                  rel.fieldIndex(QStringLiteral("Saidas") + suffix),
                                  rel.fieldIndex(QStringLiteral("Demora") + suffix),
                                  rel.fieldIndex(QStringLiteral("MaiorDemora") + suffix)};
    };
    const auto copyGroup = [&](const std::array<int, 4>& to) {
        for (std::size_t i = 0; i < 4; ++i)
            rel.setValue(to[i], saidas.value(from[i]));
    };

    const Table::BulkChange quietReport(rel);
    saidas.setIndexFieldNames(QStringLiteral("Dezena"));
    for (saidas.first(); !saidas.eof(); saidas.next()) {
        rel.insert();
        copyGroup(groupFields(QString()));
        rel.post();
    }

    const std::array<std::pair<StatsOrder, QString>, 3> groups{
        {{StatsOrder::Saidas, QStringLiteral("N")},
         {StatsOrder::Demora, QStringLiteral("D")},
         {StatsOrder::MaiorDemora, QStringLiteral("M")}}};
    for (const auto& [order, suffix] : groups) {
        writeKeys(saidas, order);
        const std::array<int, 4> to = groupFields(suffix);
        rel.first();
        for (saidas.first(); !saidas.eof() && !rel.eof(); saidas.next(), rel.next()) {
            rel.edit();
            copyGroup(to);
        }
        saidas.setIndexFieldNames(QStringLiteral("Dezena"));
    }
    rel.commitChanges();
    saidas.commitChanges();
    rel.first();
    saidas.first();
}

QString StatisticsReportTitle(Table& res) {
    if (!res.isOpen() || res.rowCount() == 0)
        return QStringLiteral("Mega-Sena. Nenhum concurso cadastrado");
    // The figures stop at the last complete draw, so the title names that one.
    res.last();
    const auto whole = LastWholeDrawPosition(res);
    if (!whole)
        return QStringLiteral("Mega-Sena. Nenhum concurso cadastrado");
    return QStringLiteral("Mega-Sena. Concurso: ") + res.rowAt(*whole).text(res.fieldIndex(u"Concurso"));
}
