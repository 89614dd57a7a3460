#include "ResultsImport.h"

#include "DrawPrizes.h"
#include "FileErrorText.h"
#include "RecomputeStatistics.h"
#include "Schemas.h"
#include "ResultsReadingLimits.h"
#include "TableError.h"
#include "Tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Runs of consecutive draw numbers, from the first to the last of each, both included.
using Spans = std::vector<std::pair<qint64, qint64>>;

Spans spansOf(std::vector<int> draws) {
    std::sort(draws.begin(), draws.end());
    draws.erase(std::unique(draws.begin(), draws.end()), draws.end());
    Spans spans;
    for (const int d : draws) {
        if (!spans.empty() && spans.back().second + 1 == d)
            spans.back().second = d;
        else
            spans.emplace_back(d, d);
    }
    return spans;
}

qint64 countOf(const Spans& spans) {
    qint64 n = 0;
    for (const auto& [from, to] : spans)
        n += to - from + 1;
    return n;
}

// The draw numbers as short as they can be written: "1 a 5, 8, 10 a 12". Long lists end in "...".
QString spansText(const Spans& spans) {
    QStringList parts;
    constexpr int kMostParts = 40;
    for (const auto& [from, to] : spans) {
        if (parts.size() >= kMostParts) {
            parts << QStringLiteral("...");
            break;
        }
        if (from == to)
            parts << QString::number(from);
        else if (to == from + 1)
            parts << QString::number(from) << QString::number(to);
        else
            parts << QStringLiteral("%1 a %2").arg(from).arg(to);
    }
    return parts.join(QStringLiteral(", "));
}

QString drawList(std::vector<int> draws) {
    return spansText(spansOf(std::move(draws)));
}

QString countAndList(const Spans& spans) {
    if (spans.empty())
        return QStringLiteral("0");
    return QStringLiteral("%1 (%2)").arg(countOf(spans)).arg(spansText(spans));
}

QString countAndList(const std::vector<int>& draws) {
    return countAndList(spansOf(draws));
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

// The range held and the draws missing inside it, after the import, as runs: a draw number far
// beyond the others costs no more than a near one.
QString rangeText(const Table& res, int concursoField) {
    std::vector<int> held;
    held.reserve(static_cast<std::size_t>(res.rowCount()));
    for (int i = 0; i < res.rowCount(); ++i)
        if (const auto c = res.rowAt(i).intValue(concursoField))
            held.push_back(*c);
    if (held.empty())
        return QStringLiteral("Nenhum concurso cadastrado.");
    const Spans spans = spansOf(held);
    Spans missing;
    for (std::size_t i = 1; i < spans.size(); ++i)
        missing.emplace_back(spans[i - 1].second + 1, spans[i].first - 1);
    QString text = QStringLiteral("Concursos cadastrados: de %1 a %2.")
                       .arg(spans.front().first)
                       .arg(spans.back().second);
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
    const QSet<int> conflicting(o.conflicting.begin(), o.conflicting.end());
    std::vector<int> invalid;
    for (const int c : o.refused)
        if (!conflicting.contains(c))
            invalid.push_back(c);
    if (o.refused.empty() && o.implausible == 0)
        lines << QStringLiteral("Recusados: 0");
    if (!invalid.empty())
        lines << QStringLiteral("Recusados: %1 (as dezenas não são seis números diferentes de 1 a 60)")
                     .arg(countAndList(invalid));
    if (!o.conflicting.empty())
        lines << QStringLiteral("Recusados: %1 (o arquivo dá o mesmo concurso mais de uma vez, com dezenas "
                                "diferentes)")
                     .arg(countAndList(o.conflicting));
    if (o.implausible > 0)
        lines << QStringLiteral("Linhas recusadas: %1 (o número do concurso passa de %2, nenhum concurso "
                                "real chega lá)")
                     .arg(QLocale().toString(o.implausible),
                          QLocale().toString(ResultsReadingLimits::kMostDrawNumber));
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

namespace {

QString cannotRead(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("ele não pode ser lido (o arquivo não existe)");
    case EACCES:
    case EPERM:
        return QStringLiteral("ele não pode ser lido (sem permissão de leitura)");
    default:
        return QStringLiteral("ele não pode ser lido (%1)").arg(FileErrorText::ofErrno(error));
    }
}

// Anything but a regular file is refused by its kind: reading a pipe or a device could wait
// forever or never end.
QString notAFile(mode_t mode) {
    QString kind;
    if (S_ISDIR(mode))
        kind = QStringLiteral("é uma pasta");
    else if (S_ISFIFO(mode))
        kind = QStringLiteral("é um canal de comunicação entre programas (FIFO)");
    else if (S_ISSOCK(mode))
        kind = QStringLiteral("é um soquete");
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        kind = QStringLiteral("é um dispositivo do sistema");
    else
        kind = QStringLiteral("não é um arquivo de dados");
    return QStringLiteral("ele não é um arquivo comum (%1)").arg(kind);
}

QString tooLarge() {
    return QStringLiteral("ele tem mais de %1, muito mais do que um arquivo de resultados")
        .arg(ResultsReadingLimits::megabytes(ResultsReadingLimits::kMostFileBytes));
}

ResultsImportOutcome cancelledImport(const QString& fileName) {
    ResultsImportOutcome o;
    o.fileRefused = true;
    o.cancelled = true;
    o.message = {importResultsTitle(),
                 QStringLiteral("A importação do arquivo \"%1\" foi cancelada. Nada foi "
                                "alterado.")
                     .arg(shownName(fileName))};
    return o;
}

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::variant<ParsedResults, ResultsImportOutcome> ReadResultsFile(const QString& path, Progress& progress) {
    using ResultsReadingLimits::kMostFileBytes;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return refusedFile(path, cannotRead(errno));
    if (!S_ISREG(st.st_mode))
        return refusedFile(path, notAFile(st.st_mode));
    if (st.st_size > kMostFileBytes)
        return refusedFile(path, tooLarge());
    // Never waiting: should the name have become a pipe since, the open returns at once and the
    // kind is checked again on what was opened.
    const Descriptor file{::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        return refusedFile(path, cannotRead(errno));
    if (::fstat(file.fd, &st) != 0)
        return refusedFile(path, cannotRead(errno));
    if (!S_ISREG(st.st_mode))
        return refusedFile(path, notAFile(st.st_mode));
    QByteArray content;
    content.reserve(static_cast<qsizetype>(std::min<qint64>(st.st_size, kMostFileBytes) + 1));
    constexpr qsizetype kChunk = 1024 * 1024;
    for (;;) {
        const qsizetype at = content.size();
        if (at > kMostFileBytes)
            return refusedFile(path, tooLarge()); // it grew while being read
        content.resize(at + kChunk);
        const ssize_t n = ::read(file.fd, content.data() + at, static_cast<std::size_t>(kChunk));
        if (n < 0 && errno == EINTR) {
            content.resize(at);
            continue;
        }
        if (n < 0) {
            const int error = errno;
            return refusedFile(path, cannotRead(error));
        }
        content.resize(at + n);
        if (n == 0)
            break;
        if (!progress.report(content.size(), st.st_size, 0))
            return cancelledImport(path);
    }
    ParseOutcome parse = ParseResultsFile(content, progress);
    if (const auto* p = std::get_if<ResultsFileProblem>(&parse))
        return p->cancelled ? cancelledImport(path) : refusedFile(path, p->reason);
    return std::get<ParsedResults>(std::move(parse));
}

ResultsImportOutcome ImportResultsFile(Tables& t, const QString& path, Prompter& prompter) {
    NoProgress quiet;
    auto read = ReadResultsFile(path, quiet);
    if (auto* refused = std::get_if<ResultsImportOutcome>(&read))
        return std::move(*refused);
    return ImportParsedResults(t, std::get<ParsedResults>(read), path, prompter);
}

ResultsImportOutcome ImportResults(Tables& t, const QByteArray& content, const QString& fileName,
                                   Prompter& prompter) {
    ParseOutcome parse = ParseResultsFile(content);
    if (const auto* p = std::get_if<ResultsFileProblem>(&parse))
        return refusedFile(fileName, p->reason);
    return ImportParsedResults(t, std::get<ParsedResults>(parse), fileName, prompter);
}

ResultsImportOutcome ImportParsedResults(Tables& t, const ParsedResults& parsed, const QString& fileName,
                                         Prompter& prompter) {
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
    o.conflicting = parsed.conflicting;
    o.implausible = parsed.implausible;
    std::vector<const FileDraw*> toAdd;
    std::vector<const FileDraw*> differing;
    const QSet<int> conflicting(parsed.conflicting.begin(), parsed.conflicting.end());
    for (const FileDraw& d : parsed.draws) {
        if (!d.valid || conflicting.contains(d.concurso)) {
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
