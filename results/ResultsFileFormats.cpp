#include "ResultsFileFormats.h"

#include "ResultsFileReading.h"

using namespace ResultsFileReading;

namespace {

bool looksLikeHtml(const QByteArray& content) {
    const QByteArray head = content.left(65536).toLower();
    return head.contains("<html") || head.contains("<!doctype html") || head.contains("<table");
}

bool looksBinary(const QByteArray& content) {
    const QByteArray head = content.left(4096);
    return head.contains('\0');
}

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
    if (content.trimmed().isEmpty())
        return problem(QStringLiteral("o arquivo está vazio"));
    if (content.startsWith("PK\x03\x04") || content.startsWith("PK\x05\x06"))
        return readSpreadsheet(content);
    QByteArray body = content;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    const QByteArray start = body.trimmed().left(1);
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
