#include "ResultsImport.h"

#include "DrawPrizes.h"
#include "RecomputeStatistics.h"
#include "Schemas.h"
#include "TableError.h"
#include "Tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <algorithm>

namespace {

struct ResultsFields {
    int concurso;
    std::array<int, 6> numbers;
    std::array<int, 4> derived;

    explicit ResultsFields(const Table& res)
        : concurso(res.fieldIndex(u"Concurso")), numbers{}, derived{res.fieldIndex(u"pares"),
                                                                    res.fieldIndex(u"impares"),
                                                                    res.fieldIndex(u"abaixo"),
                                                                    res.fieldIndex(u"acima")} {
        for (std::size_t i = 0; i < 6; ++i)
            numbers[i] = res.fieldIndex(QStringLiteral("d%1").arg(i + 1));
    }
};

DrawNumbers sorted(DrawNumbers d) {
    std::sort(d.begin(), d.end());
    return d;
}

// The draw numbers as short as they can be written: "1 a 5, 8, 10 a 12". Long lists end in "...".
QString drawList(std::vector<int> draws) {
    std::sort(draws.begin(), draws.end());
    QStringList parts;
    constexpr int kMostParts = 40;
    std::size_t i = 0;
    while (i < draws.size()) {
        std::size_t j = i;
        while (j + 1 < draws.size() && draws[j + 1] == draws[j] + 1)
            ++j;
        if (parts.size() == kMostParts) {
            parts << QStringLiteral("...");
            break;
        }
        if (j == i)
            parts << QString::number(draws[i]);
        else if (j == i + 1)
            parts << QString::number(draws[i]) << QString::number(draws[j]);
        else
            parts << QStringLiteral("%1 a %2").arg(draws[i]).arg(draws[j]);
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString countAndList(const std::vector<int>& draws) {
    if (draws.empty())
        return QStringLiteral("0");
    return QStringLiteral("%1 (%2)").arg(draws.size()).arg(drawList(draws));
}

QString shownName(const QString& fileName) {
    return QDir::toNativeSeparators(fileName);
}

ResultsImportOutcome refusedFile(const QString& fileName, const QString& reason) {
    ResultsImportOutcome o;
    o.fileRefused = true;
    o.message = {importResultsTitle(),
                 QStringLiteral("O arquivo \"%1\" não foi importado: %2. Nada foi alterado.")
                     .arg(shownName(fileName), reason)};
    return o;
}

// The range held and the draws missing inside it, after the import.
QString rangeText(const Table& res, int concursoField) {
    std::vector<int> held;
    held.reserve(static_cast<std::size_t>(res.rowCount()));
    for (int i = 0; i < res.rowCount(); ++i)
        if (const auto c = res.rowAt(i).intValue(concursoField))
            held.push_back(*c);
    if (held.empty())
        return QStringLiteral("Nenhum concurso cadastrado.");
    std::sort(held.begin(), held.end());
    held.erase(std::unique(held.begin(), held.end()), held.end());
    std::vector<int> missing;
    for (std::size_t i = 1; i < held.size(); ++i)
        for (int c = held[i - 1] + 1; c < held[i]; ++c)
            missing.push_back(c);
    QString text = QStringLiteral("Concursos cadastrados: de %1 a %2.").arg(held.front()).arg(held.back());
    if (missing.empty())
        text += QStringLiteral("\nNão falta nenhum concurso nesse intervalo.");
    else
        text += QStringLiteral("\nFaltam nesse intervalo: %1.").arg(countAndList(missing));
    return text;
}

QString summaryText(const QString& fileName, const ParsedResults& parsed, const ResultsImportOutcome& o,
                    const Table& res, int concursoField) {
    QStringList lines;
    lines << QStringLiteral("Arquivo \"%1\" (%2): %3 concursos lidos.")
                 .arg(shownName(fileName), resultsFormatName(parsed.format))
                 .arg(parsed.draws.size());
    lines << QStringLiteral("Incluídos: %1").arg(countAndList(o.added));
    lines << QStringLiteral("Substituídos: %1").arg(countAndList(o.replaced));
    if (!o.kept.empty())
        lines << QStringLiteral("Diferentes do arquivo, mantidos como estavam: %1").arg(countAndList(o.kept));
    lines << QStringLiteral("Já cadastrados iguais: %1").arg(o.equal.size());
    if (o.refused.empty())
        lines << QStringLiteral("Recusados: 0");
    else
        lines << QStringLiteral("Recusados: %1 (as dezenas não são seis números diferentes de 1 a 60)")
                     .arg(countAndList(o.refused));
    if (!o.prizesRead.empty() || !o.prizesUnreadable.empty()) {
        lines << QStringLiteral("Prêmios lidos: %1 concursos").arg(o.prizesRead.size());
        if (!o.prizesUnreadable.empty())
            lines << QStringLiteral("Prêmios que não puderam ser lidos, deixados em branco: %1")
                         .arg(countAndList(o.prizesUnreadable));
    }
    lines << rangeText(res, concursoField);
    return lines.join(u'\n');
}

void setDraw(Table& res, const ResultsFields& f, const DrawNumbers& numbers) {
    for (std::size_t i = 0; i < 6; ++i)
        res.setInteger(f.numbers[i], numbers[i]);
    const DerivedCounts counts = derivedCounts(numbers);
    for (std::size_t i = 0; i < 4; ++i)
        res.setInteger(f.derived[i], counts[i]);
}

// What was in TableRes before a replacement: its numbers and derived fields, to put back.
struct Previous {
    int concurso;
    std::array<QVariant, 10> cells;
};

} // namespace

QString importResultsTitle() {
    return QStringLiteral("Importar resultados");
}

void WriteImportedResults(Table& res, Table* prizes) {
    if (prizes)
        prizes->commitChanges();
    // Added and replaced draws go into the file in one transaction, or none of them does.
    res.commitChanges();
}

ResultsImportOutcome ImportResultsFile(Tables& t, const QString& path, Prompter& prompter) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refusedFile(path, QStringLiteral("ele não pode ser lido (%1)").arg(file.errorString()));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refusedFile(path, QStringLiteral("ele não pode ser lido (%1)").arg(file.errorString()));
    return ImportResults(t, content, path, prompter);
}

ResultsImportOutcome ImportResults(Tables& t, const QByteArray& content, const QString& fileName,
                                   Prompter& prompter) {
    ParseOutcome parse = ParseResultsFile(content);
    if (const auto* p = std::get_if<ResultsFileProblem>(&parse))
        return refusedFile(fileName, p->reason);
    const ParsedResults& parsed = std::get<ParsedResults>(parse);

    Table& res = t.TableRes;
    if (!res.isOpen())
        res.open();
    if (res.isEditing())
        res.post(); // a draw being typed is stored first, as moving the cursor would
    const ResultsFields f(res);

    QHash<int, DrawNumbers> held;
    held.reserve(res.rowCount());
    for (int i = 0; i < res.rowCount(); ++i) {
        const RowRef row = res.rowAt(i);
        const auto c = row.intValue(f.concurso);
        if (!c)
            continue;
        DrawNumbers d{};
        for (std::size_t k = 0; k < 6; ++k)
            d[k] = row.intValue(f.numbers[k]).value_or(0);
        held.insert(*c, d);
    }

    ResultsImportOutcome o;
    std::vector<const FileDraw*> toAdd;
    std::vector<const FileDraw*> differing;
    for (const FileDraw& d : parsed.draws) {
        if (!d.valid || std::find(parsed.conflicting.begin(), parsed.conflicting.end(), d.concurso) !=
                            parsed.conflicting.end()) {
            o.refused.push_back(d.concurso);
            continue;
        }
        const auto it = held.constFind(d.concurso);
        if (it == held.constEnd())
            toAdd.push_back(&d);
        else if (sorted(*it) == sorted(d.numbers))
            o.equal.push_back(d.concurso);
        else
            differing.push_back(&d);
    }

    bool replace = false;
    if (!differing.empty()) {
        std::vector<int> numbers;
        for (const FileDraw* d : differing)
            numbers.push_back(d->concurso);
        const QString which =
            numbers.size() == 1
                ? QStringLiteral("O concurso %1 do arquivo tem dezenas diferentes das cadastradas.")
                      .arg(numbers.front())
                : QStringLiteral("%1 concursos do arquivo têm dezenas diferentes das cadastradas: %2.")
                      .arg(numbers.size())
                      .arg(drawList(numbers));
        replace =
            prompter.ask({importResultsTitle(),
                          which + QStringLiteral("\nSubstitui as dezenas cadastradas pelas do arquivo? ")});
        (replace ? o.replaced : o.kept) = numbers;
    }
    for (const FileDraw* d : toAdd)
        o.added.push_back(d->concurso);

    Table prizes(QStringLiteral("TablePremios"), t.folder(), Schemas::kDrawPrizesFile);
    DefineDrawPrizesTable(prizes);
    const PrizesMerge merged = MergeFilePrizes(prizes, parsed, o.refused);
    o.prizesRead = merged.read;
    o.prizesUnreadable = merged.unreadable;
    if (toAdd.empty() && !replace && !merged.changed.empty()) {
        WriteImportedResults(res, &prizes); // only prizes are new: the draws stay as they are
        o.prizesWritten = true;
    }

    if (!toAdd.empty() || replace) {
        std::vector<Previous> previous;
        {
            const Table::BulkChange quiet(res);
            try {
                if (replace) {
                    for (const FileDraw* d : differing) {
                        res.locate(f.concurso, d->concurso);
                        Previous p{d->concurso, {}};
                        for (std::size_t i = 0; i < 6; ++i)
                            p.cells[i] = res.value(f.numbers[i]);
                        for (std::size_t i = 0; i < 4; ++i)
                            p.cells[6 + i] = res.value(f.derived[i]);
                        res.edit();
                        setDraw(res, f, d->numbers);
                        res.post();
                        previous.push_back(p);
                    }
                }
                for (const FileDraw* d : toAdd) {
                    res.insert();
                    res.setInteger(f.concurso, d->concurso);
                    setDraw(res, f, d->numbers);
                    res.post();
                }
                WriteImportedResults(res, merged.changed.empty() ? nullptr : &prizes);
            } catch (const TableError&) {
                // The file is as it was; the table goes back to it too.
                if (res.isEditing())
                    res.cancel();
                for (const FileDraw* d : toAdd)
                    if (res.locate(f.concurso, d->concurso))
                        res.remove();
                for (const Previous& p : previous) {
                    res.locate(f.concurso, p.concurso);
                    res.edit();
                    for (std::size_t i = 0; i < 6; ++i)
                        res.setValue(f.numbers[i], p.cells[i]);
                    for (std::size_t i = 0; i < 4; ++i)
                        res.setValue(f.derived[i], p.cells[6 + i]);
                    res.post();
                }
                throw;
            }
        }
        o.written = true;
        o.prizesWritten = !merged.changed.empty();
        o.statistics = RecomputeStatistics(t);
    }
    if (res.rowCount() > 0)
        res.last();
    o.message = {importResultsTitle(), summaryText(fileName, parsed, o, res, f.concurso)};
    return o;
}
