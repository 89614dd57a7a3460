#include "DrawPrizes.h"

#include "Schemas.h"
#include "Table.h"

#include <QHash>
#include <algorithm>

namespace {

struct PrizeFields {
    int concurso, data;
    std::array<int, 3> winners, prizes;
    explicit PrizeFields(const Table& t)
        : concurso(t.fieldIndex(u"Concurso")),
          data(t.fieldIndex(u"Data")), winners{t.fieldIndex(u"Ganhadores6"), t.fieldIndex(u"Ganhadores5"),
                                               t.fieldIndex(u"Ganhadores4")},
          prizes{t.fieldIndex(u"Rateio6"), t.fieldIndex(u"Rateio5"), t.fieldIndex(u"Rateio4")} {}
};

DrawPayout payoutOfRow(const RowRef& row, const PrizeFields& f) {
    DrawPayout p;
    p.concurso = row.intValue(f.concurso).value_or(0);
    p.date = row.text(f.data);
    DrawTiers tiers;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto w = row.intValue(f.winners[i]);
        const auto prize = ParseMoney(row.text(f.prizes[i]));
        if (!w || *w < 0 || !prize)
            return p;
        tiers[i] = {*w, *prize};
    }
    p.tiers = tiers;
    return p;
}

void setPayout(Table& t, const PrizeFields& f, const DrawPayout& p) {
    t.setInteger(f.concurso, p.concurso);
    if (p.date.isEmpty())
        t.setEmpty(f.data);
    else
        t.setText(f.data, p.date);
    for (std::size_t i = 0; i < 3; ++i) {
        if (p.tiers) {
            t.setInteger(f.winners[i], static_cast<qint32>((*p.tiers)[i].winners));
            t.setText(f.prizes[i], MoneyFileText((*p.tiers)[i].prize));
        } else {
            t.setEmpty(f.winners[i]);
            t.setEmpty(f.prizes[i]);
        }
    }
}

} // namespace

void DefineDrawPrizesTable(Table& prizes) {
    prizes.defineFields(Schemas::drawPrizes());
    prizes.setIndexFieldNames(QStringLiteral("Concurso"));
}

std::vector<DrawPayout> LoadDrawPayouts(const QString& folder) {
    Table t(QStringLiteral("TablePremios"), folder, Schemas::kDrawPrizesFile);
    DefineDrawPrizesTable(t);
    std::vector<DrawPayout> out;
    if (!t.fileExists())
        return out;
    t.open();
    const PrizeFields f(t);
    out.reserve(static_cast<std::size_t>(t.rowCount()));
    for (int i = 0; i < t.rowCount(); ++i) {
        DrawPayout p = payoutOfRow(t.rowAt(i), f);
        if (p.concurso > 0)
            out.push_back(std::move(p));
    }
    t.close();
    return out;
}

PrizesMerge MergeFilePrizes(Table& prizes, const ParsedResults& parsed, const std::vector<int>& refused) {
    PrizesMerge m;
    std::vector<const FileDraw*> withPrizes;
    for (const FileDraw& d : parsed.draws)
        if (d.prizes && std::find(refused.begin(), refused.end(), d.concurso) == refused.end())
            withPrizes.push_back(&d);
    if (withPrizes.empty())
        return m;

    if (!prizes.isOpen()) {
        if (prizes.fileExists())
            prizes.open();
        else
            prizes.create();
    }
    const PrizeFields f(prizes);
    QHash<int, int> held; // Concurso -> position
    held.reserve(prizes.rowCount());
    for (int i = 0; i < prizes.rowCount(); ++i)
        if (const auto c = prizes.rowAt(i).intValue(f.concurso))
            held.insert(*c, i);

    std::vector<DrawPayout> toAdd;
    std::vector<std::pair<int, DrawPayout>> toChange; // position, new row
    for (const FileDraw* d : withPrizes) {
        const FilePrizes& fp = *d->prizes;
        if (fp.tiers)
            m.read.push_back(d->concurso);
        if (fp.unreadable)
            m.unreadable.push_back(d->concurso);
        const auto at = held.constFind(d->concurso);
        DrawPayout before;
        before.concurso = d->concurso;
        if (at != held.constEnd())
            before = payoutOfRow(prizes.rowAt(*at), f);
        DrawPayout after = before;
        if (!fp.date.isEmpty())
            after.date = fp.date;
        if (fp.tiers)
            after.tiers = fp.tiers;
        if (at == held.constEnd()) {
            if (!after.date.isEmpty() || after.tiers)
                toAdd.push_back(after);
        } else if (after != before) {
            toChange.emplace_back(*at, after);
        }
    }
    if (toAdd.empty() && toChange.empty())
        return m;
    const Table::BulkChange quiet(prizes);
    // Changed rows first, by position: additions would move them.
    for (const auto& [position, payout] : toChange) {
        prizes.moveTo(position);
        prizes.edit();
        setPayout(prizes, f, payout);
        prizes.post();
        m.changed.push_back(payout.concurso);
    }
    for (const DrawPayout& p : toAdd) {
        prizes.insert();
        setPayout(prizes, f, p);
        prizes.post();
        m.changed.push_back(p.concurso);
    }
    return m;
}
