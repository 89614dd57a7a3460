#include "PrizeCells.h"
#include "ResultsFileReading.h"

#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

namespace ResultsFileReading {

namespace {

// "1ª Dezena" -> "1adezena", "Bola 1" -> "bola1": compatibility-decomposed, lower case, letters
// and digits only.
QString headerKey(const QString& cell) {
    const QString d = cell.normalized(QString::NormalizationForm_KD).toLower();
    QString key;
    key.reserve(d.size());
    for (const QChar c : d)
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            key.append(c);
    return key;
}

// Which of the six numbers a header names (1..6), or 0: "bola1", "bolas1", "dezena1", "d1",
// "1adezena", "1odezena", "1dezena".
int ballOfHeader(QStringView key) {
    if (key.size() < 2)
        return 0;
    const QChar last = key.back();
    if (last >= u'1' && last <= u'6') {
        const QStringView prefix = key.chopped(1);
        if (prefix == u"bola" || prefix == u"bolas" || prefix == u"dezena" || prefix == u"d")
            return last.unicode() - u'0';
    }
    const QChar first = key.front();
    if (first >= u'1' && first <= u'6') {
        const QStringView rest = key.sliced(1);
        if (rest == u"adezena" || rest == u"odezena" || rest == u"dezena")
            return first.unicode() - u'0';
    }
    return 0;
}

bool isConcursoHeader(const QString& key) {
    return key == u"concurso" || key == u"conc" || key == u"nconcurso" || key == u"noconcurso";
}

struct Columns {
    int concurso = -1;
    std::array<int, 6> balls{-1, -1, -1, -1, -1, -1};
    // The date and, for the sena, the quina and the quadra, the winners and the prize per winner.
    int date = -1;
    std::array<int, 3> winners{-1, -1, -1};
    std::array<int, 3> prizes{-1, -1, -1};
    bool complete() const {
        return concurso >= 0 && std::none_of(balls.begin(), balls.end(), [](int c) { return c < 0; });
    }
    // A file has the prizes when it names the winners and the prize of all three tiers; a winners
    // column alone (the sena's, beside the winners' cities) is not a prize.
    bool hasPrizes() const {
        return std::none_of(winners.begin(), winners.end(), [](int c) { return c < 0; }) &&
               std::none_of(prizes.begin(), prizes.end(), [](int c) { return c < 0; });
    }
};

// The date and prizes of a data row under the header's columns; nothing when the header does not
// name the prizes.
std::optional<FilePrizes> prizesOfRow(const QStringList& row, const Columns& c) {
    if (!c.hasPrizes())
        return std::nullopt;
    const auto cell = [&row](int column) {
        return column >= 0 && column < row.size() ? QStringView(row.at(column)) : QStringView();
    };
    std::array<QStringView, 3> winners, prizes;
    for (std::size_t i = 0; i < 3; ++i) {
        winners[i] = cell(c.winners[i]);
        prizes[i] = cell(c.prizes[i]);
    }
    return prizesOfCells(c.date >= 0 ? std::optional<QStringView>(cell(c.date)) : std::nullopt, winners,
                         prizes);
}

// The columns a header row names; nothing when the row names no draw number. Only cells that
// start with a letter can name the draw number, which keeps data rows cheap.
std::optional<Columns> headerColumns(const QStringList& row) {
    Columns c;
    for (int i = 0; i < row.size() && c.concurso < 0; ++i) {
        const QString& cell = row.at(i);
        if (!cell.isEmpty() && cell.front().isLetter() && isConcursoHeader(headerKey(cell)))
            c.concurso = i;
    }
    if (c.concurso < 0)
        return std::nullopt;
    for (int i = 0; i < row.size(); ++i) {
        if (i == c.concurso)
            continue;
        const QString key = headerKey(row.at(i));
        if (const int ball = ballOfHeader(key); ball > 0 && c.balls[static_cast<std::size_t>(ball - 1)] < 0)
            c.balls[static_cast<std::size_t>(ball - 1)] = i;
        else if (isDateHeader(key) && c.date < 0)
            c.date = i;
        else if (const int w = winnersTierOfHeader(key); w >= 0 && c.winners[static_cast<std::size_t>(w)] < 0)
            c.winners[static_cast<std::size_t>(w)] = i;
        else if (const int p = prizeTierOfHeader(key); p >= 0 && c.prizes[static_cast<std::size_t>(p)] < 0)
            c.prizes[static_cast<std::size_t>(p)] = i;
    }
    return c;
}

bool looksLikeDate(QStringView cell) {
    return cell.contains(u'/') || (cell.contains(u'-') && !cell.trimmed().startsWith(u'-'));
}

} // namespace

ResultsFileProblem problem(const QString& reason) {
    return {reason};
}

// A cell read as a whole number: blanks around it and leading zeros allowed ("04"), nothing else.
std::optional<int> wholeNumber(QStringView cell) {
    bool ok = false;
    const int v = cell.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

std::array<int, 6> sortedNumbers(std::array<int, 6> n) {
    std::sort(n.begin(), n.end());
    return n;
}

// Rows -> draws. Before a header is seen, a row that starts with a draw number gives the six
// numbers after it (skipping a date); after a header, its columns are used. Rows without a draw
// number where one is expected (titles, a winner's city or state alone) are skipped.
ParseOutcome drawsOfRows(const Rows& rows, ResultsFormat format, bool requireHeader) {
    DrawCollector collect(format);
    std::optional<Columns> columns;
    bool headerWithoutColumns = false;
    for (const QStringList& row : rows) {
        if (row.isEmpty())
            continue;
        if (const auto h = headerColumns(row)) {
            if (h->complete())
                columns = h;
            else
                headerWithoutColumns = true;
            continue;
        }
        if (columns) {
            const auto concurso = wholeNumber(row.value(columns->concurso));
            if (!concurso || *concurso < 1)
                continue;
            std::array<int, 6> n{};
            for (std::size_t i = 0; i < 6; ++i)
                n[i] = wholeNumber(row.value(columns->balls[i])).value_or(0);
            collect.add(*concurso, n, prizesOfRow(row, *columns));
            continue;
        }
        if (requireHeader)
            continue;
        const auto concurso = wholeNumber(row.first());
        if (!concurso || *concurso < 1)
            continue;
        std::array<int, 6> n{};
        std::size_t got = 0;
        for (int i = 1; i < row.size() && got < 6; ++i) {
            if (got == 0 && looksLikeDate(row.at(i)))
                continue;
            n[got++] = wholeNumber(row.at(i)).value_or(0);
        }
        collect.add(*concurso, n);
    }
    if (collect.empty()) {
        if (headerWithoutColumns || (requireHeader && !columns))
            return problem(
                QStringLiteral("a tabela não tem as colunas do número do concurso (\"Concurso\") e das "
                               "seis dezenas (\"Bola1\" a \"Bola6\")"));
        return problem(QStringLiteral("nenhum concurso foi encontrado nele"));
    }
    return collect.take();
}

// UTF-8 when the bytes are valid UTF-8 (a byte order mark is dropped), ISO-8859-1 otherwise.
QString decodeText(const QByteArray& bytes, bool declaredLatin1) {
    if (!declaredLatin1) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = utf8.decode(bytes);
        if (!utf8.hasError())
            return s;
    }
    return QString::fromLatin1(bytes);
}

} // namespace ResultsFileReading
