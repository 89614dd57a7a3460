#include "ResultsFileReading.h"

#include <QStringDecoder>
#include <cctype>
#include <climits>
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#include <memory>

using namespace Qt::Literals::StringLiterals;

// The saved results page is read by libxml2's HTML parser, as forgiving as a browser: any page a
// browser shows as a table is read as one, with every entity HTML knows and the encoding the page
// declares (in a meta tag, or by a byte order mark).
namespace ResultsFileReading {

namespace {

// Whether the page declares its encoding in its first bytes ("charset=...").
bool declaresCharset(const QByteArray& content) {
    const QByteArray head = content.left(4096).toLower();
    const qsizetype at = head.indexOf("charset");
    if (at < 0)
        return false;
    qsizetype b = at + 7;
    while (b < head.size() && (head.at(b) == ' ' || head.at(b) == '='))
        ++b;
    while (b < head.size() && (head.at(b) == '"' || head.at(b) == '\''))
        ++b;
    return b < head.size() && std::isalnum(static_cast<unsigned char>(head.at(b)));
}

bool startsWithBom(const QByteArray& content) {
    return content.startsWith("\xEF\xBB\xBF") || content.startsWith("\xFF\xFE") ||
           content.startsWith("\xFE\xFF");
}

bool isUtf8(const QByteArray& content) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(content);
    return !utf8.hasError();
}

bool named(const xmlNode* n, const char* name) {
    return n->type == XML_ELEMENT_NODE && n->name &&
           xmlStrcasecmp(n->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool isCell(const xmlNode* n) {
    return named(n, "td") || named(n, "th");
}

QString textOf(const xmlChar* s) {
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s)) : QString();
}

// The text a cell shows: its text nodes in order, a blank where a line break or a block starts,
// without scripts and styles.
void appendText(const xmlNode* n, QString& out) {
    for (const xmlNode* c = n->children; c; c = c->next) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            out += textOf(c->content);
        } else if (c->type == XML_ELEMENT_NODE) {
            if (named(c, "script") || named(c, "style"))
                continue;
            const bool block = named(c, "br") || named(c, "p") || named(c, "div");
            if (block)
                out += u' ';
            appendText(c, out);
            if (block)
                out += u' ';
        }
    }
}

struct Walk {
    Rows rows;
    bool sawTable = false;

    // Every element that holds cells (a table row) gives a row of their texts, in document order.
    void visit(const xmlNode* n) {
        for (const xmlNode* c = n; c; c = c->next) {
            if (c->type != XML_ELEMENT_NODE)
                continue;
            if (named(c, "script") || named(c, "style"))
                continue;
            if (named(c, "table"))
                sawTable = true;
            QStringList row;
            bool hasCells = false;
            for (const xmlNode* k = c->children; k; k = k->next)
                if (isCell(k)) {
                    hasCells = true;
                    QString text;
                    appendText(k, text);
                    row << text.simplified();
                }
            if (hasCells)
                rows.push_back(std::move(row));
            if (c->children)
                visit(c->children);
        }
    }
};

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

} // namespace

ParseOutcome readResultsPage(const QByteArray& content) {
    if (content.size() > INT_MAX)
        return problem(QStringLiteral("a página é grande demais"));
    // A page cut off before its table ends would import part of the history as if it were all.
    const QByteArray lower = content.toLower();
    if (lower.contains("<table") && !lower.contains("</table"))
        return problem(QStringLiteral("a página está incompleta (a tabela dos resultados não termina)"));

    // The page's own declaration decides its encoding; a page without one is UTF-8 when its bytes
    // are, and Windows-1252 (ISO-8859-1 with the printer's quotes and dashes) otherwise.
    const char* encoding = nullptr;
    if (!declaresCharset(content) && !startsWithBom(content))
        encoding = isUtf8(content) ? "UTF-8" : "windows-1252";
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(content.constData(), static_cast<int>(content.size()), nullptr, encoding, options));
    if (!doc)
        return problem(QStringLiteral("a página não pode ser lida"));

    Walk walk;
    walk.visit(xmlDocGetRootElement(doc.get()));
    if (!walk.sawTable)
        return problem(QStringLiteral("a página não tem a tabela dos resultados"));
    return drawsOfRows(walk.rows, ResultsFormat::Html, false);
}

} // namespace ResultsFileReading
