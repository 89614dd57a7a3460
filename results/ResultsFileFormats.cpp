#include "ResultsFileFormats.h"

#include "Prompter.h"
#include "ResultsFileReading.h"

#include <QStringDecoder>

using namespace ResultsFileReading;

namespace {

bool looksLikeHtml(const QByteArray& content) {
    const QByteArray head = content.left(65536).toLower();
    return head.contains("<html") || head.contains("<!doctype html") || head.contains("<table");
}

// A binary file (a spreadsheet, any zip) holds a NUL byte within its first few hundred bytes (its
// headers hold zero-filled fields); a text file in any of the encodings the readers take holds
// none. One disk block's worth tells them apart without scanning a large file.
constexpr qsizetype kBinaryProbeBytes = 4096;

bool looksBinary(const QByteArray& content) {
    const QByteArray head = content.left(kBinaryProbeBytes);
    return head.contains('\0');
}

// Text saved as UTF-16 (some editors and browsers save a page so): told by its byte order mark,
// or, without one, by ASCII characters each with a zero byte on the same side.
std::optional<QStringDecoder::Encoding> utf16Encoding(const QByteArray& content) {
    if (content.startsWith("\xFF\xFE"))
        return QStringDecoder::Utf16LE;
    if (content.startsWith("\xFE\xFF"))
        return QStringDecoder::Utf16BE;
    const qsizetype n = std::min<qsizetype>(content.size(), 64) & ~qsizetype{1};
    if (n < 8)
        return std::nullopt;
    bool le = true;
    bool be = true;
    for (qsizetype i = 0; i < n; i += 2) {
        const char a = content.at(i);
        const char b = content.at(i + 1);
        le = le && a != 0 && b == 0;
        be = be && a == 0 && b != 0;
    }
    if (le)
        return QStringDecoder::Utf16LE;
    if (be)
        return QStringDecoder::Utf16BE;
    return std::nullopt;
}

ParseOutcome parseContent(const QByteArray& content);

} // namespace

QString resultsFormatName(ResultsFormat f) {
    switch (f) {
    case ResultsFormat::Spreadsheet:
        return QStringLiteral("planilha");
    case ResultsFormat::Html:
        return QStringLiteral("página HTML");
    case ResultsFormat::Text:
        return QStringLiteral("texto");
    case ResultsFormat::Json:
        return QStringLiteral("JSON");
    }
    return QString();
}

bool isValidDraw(const std::array<int, 6>& numbers) {
    const std::array<int, 6> s = sortedNumbers(numbers);
    if (s.front() < 1 || s.back() > 60)
        return false;
    return std::adjacent_find(s.begin(), s.end()) == s.end();
}

ParseOutcome ParseResultsFile(const QByteArray& content) {
    NoProgress quiet;
    return ParseResultsFile(content, quiet);
}

ParseOutcome ParseResultsFile(const QByteArray& content, Progress& progress) {
    using namespace ResultsReadingLimits;
    Budget budget(&progress);
    try {
        if (content.size() > kMostFileBytes)
            return problem(QStringLiteral("ele tem mais de %1, muito mais do que um arquivo de resultados")
                               .arg(megabytes(kMostFileBytes)));
        if (const auto utf16 = utf16Encoding(content)) {
            QStringDecoder decode(*utf16, QStringDecoder::Flag::Stateless);
            const QString text = decode.decode(content);
            if (decode.hasError())
                return problem(QStringLiteral("o texto em UTF-16 está danificado"));
            return parseContent(text.toUtf8());
        }
        return parseContent(content);
    } catch (const ReadingStopped& stop) {
        return ResultsFileProblem{stop.reason, stop.cancelled};
    }
}

namespace {
ParseOutcome parseContent(const QByteArray& content) {
    if (QByteArrayView(content).trimmed().isEmpty())
        return problem(QStringLiteral("o arquivo está vazio"));
    if (content.startsWith("PK\x03\x04") || content.startsWith("PK\x05\x06"))
        return readSpreadsheet(content);
    const QByteArray body = content.startsWith("\xEF\xBB\xBF") ? content.sliced(3) : content;
    const QByteArrayView trimmed = QByteArrayView(body).trimmed();
    const QByteArrayView start = trimmed.first(std::min<qsizetype>(trimmed.size(), 1));
    if (start == "{" || start == "[")
        return readResultsJson(body);
    if (looksLikeHtml(body))
        return readResultsPage(body);
    if (looksBinary(body))
        return problem(QStringLiteral("o arquivo não é uma planilha, uma página de resultados, um texto com "
                                      "separadores nem um JSON"));
    const ParseOutcome text = readSeparatedText(body);
    if (const auto* p = std::get_if<ResultsFileProblem>(&text); p && !p->reason.contains(u"colunas"))
        return problem(QStringLiteral("o arquivo não é uma planilha, uma página de resultados, um texto com "
                                      "separadores nem um JSON (%1)")
                           .arg(p->reason));
    return text;
}
} // namespace
