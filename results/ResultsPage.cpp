#include "ResultsFileReading.h"

#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <climits>
#include <exception>
#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;

// The saved results page is read by libxml2's HTML parser, as forgiving as a browser: any page a
// browser shows as a table is read as one, with every entity HTML knows and the encoding the page
// declares (in a meta tag, or by a byte order mark).
namespace ResultsFileReading {

namespace {

// HTML has a page declare its encoding within its first 1024 bytes, but pages saved by browsers
// and editors put comments and long heads before the meta tag; the search goes four times as far,
// and no further, so that a "charset" in the text of a large page is never taken for the page's.
constexpr qsizetype kCharsetProbeBytes = 4096;

// Whether the page declares its encoding in its first bytes ("charset=...").
bool declaresCharset(const QByteArray& content) {
    const QByteArray head = content.left(kCharsetProbeBytes).toLower();
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

bool named(const xmlChar* name, const char* wanted) {
    return name && xmlStrcasecmp(name, reinterpret_cast<const xmlChar*>(wanted)) == 0;
}

bool isCell(const xmlChar* name) {
    return named(name, "td") || named(name, "th");
}

bool isBlock(const xmlChar* name) {
    return named(name, "br") || named(name, "p") || named(name, "div");
}

// A cell of a results page is a number, a date, an amount or a few city names: text past this
// belongs to no real page and is not kept.
constexpr qsizetype kMostCellText = 64 * 1024;
// Elements nested deeper than this (no page of results comes near it) are not followed one by one:
// their text still counts for the cells around them, but no row or cell starts there.
constexpr std::size_t kMostDepth = 256;

// The page is read as the parser meets it (libxml2's SAX interface), so no tree of the whole page
// is ever held: a hostile page costs only the rows the budget lets through. Every element that
// holds cells (a table row) gives a row of their texts, in document order (the row takes its place
// when its first cell starts, before any row nested in its cells). A cell's text is the text of
// everything inside it, with a blank where a line break or a block starts, without scripts and
// styles. Cells right of the column limit are dropped.
class PageReader {
public:
    explicit PageReader(Rows& rows) : rows_(rows) {}

    bool sawTable() const { return sawTable_; }

    // Each callback runs inside libxml2's C code, which must not be unwound through: a limit or a
    // cancel reached in a callback is kept here and the parser stopped.
    static void start(void* ctx, const xmlChar* name, const xmlChar**) {
        of(ctx).guard(ctx, [&](PageReader& r) { r.startElement(name); });
    }
    static void end(void* ctx, const xmlChar* name) {
        of(ctx).guard(ctx, [&](PageReader& r) { r.endElement(name); });
    }
    static void text(void* ctx, const xmlChar* chars, int length) {
        of(ctx).guard(ctx, [&](PageReader& r) { r.characters(chars, length); });
    }

    void finish() {
        deeper_ = 0;
        while (!open_.empty())
            endElement(nullptr);
    }
    void rethrow() const {
        if (stopped_)
            std::rethrow_exception(stopped_);
    }

private:
    struct Open {
        bool cell = false;
        bool skip = false; // a script or a style
        std::optional<std::size_t> row;
        QStringList cells;
        QString text;
    };

    static PageReader& of(void* ctx) {
        return *static_cast<PageReader*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    }

    template <typename F> void guard(void* ctx, F&& f) {
        if (stopped_)
            return;
        try {
            f(*this);
        } catch (...) {
            stopped_ = std::current_exception();
            xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
        }
    }

    bool skipping() const { return !open_.empty() && open_.back().skip; }

    void appendToCells(QStringView piece) {
        for (Open& o : open_)
            if (o.cell && o.text.size() < kMostCellText)
                o.text += piece.left(kMostCellText - o.text.size());
    }

    void startElement(const xmlChar* name) {
        if (named(name, "table"))
            sawTable_ = true;
        if (open_.size() >= kMostDepth) {
            ++deeper_;
            return;
        }
        Open next;
        next.skip = skipping() || named(name, "script") || named(name, "style");
        if (!next.skip && isCell(name)) {
            next.cell = true;
            if (!open_.empty() && !open_.back().row)
                open_.back().row = rows_.reserveRow();
        }
        if (!next.skip && isBlock(name))
            appendToCells(u" ");
        open_.push_back(std::move(next));
    }

    void endElement(const xmlChar* name) {
        if (deeper_ > 0) {
            --deeper_;
            return;
        }
        if (open_.empty())
            return;
        Open done = std::move(open_.back());
        open_.pop_back();
        if (done.cell && !open_.empty() && open_.back().cells.size() < ResultsReadingLimits::kMostColumns)
            open_.back().cells << done.text.simplified();
        if (done.row)
            rows_.fillRow(*done.row, std::move(done.cells));
        if (!done.skip && isBlock(name))
            appendToCells(u" ");
    }

    void characters(const xmlChar* chars, int length) {
        if (skipping() || length <= 0)
            return;
        if (std::none_of(open_.begin(), open_.end(), [](const Open& o) { return o.cell; }))
            return;
        appendToCells(QString::fromUtf8(reinterpret_cast<const char*>(chars), length));
    }

    Rows& rows_;
    std::vector<Open> open_;
    std::size_t deeper_ = 0; // elements open below kMostDepth
    bool sawTable_ = false;
    std::exception_ptr stopped_;
};

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

struct ContextFree {
    void operator()(htmlParserCtxt* c) const { htmlFreeParserCtxt(c); }
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
    const std::unique_ptr<htmlParserCtxt, ContextFree> ctxt(htmlNewParserCtxt());
    if (!ctxt || !ctxt->sax)
        return problem(QStringLiteral("a página não pode ser lida"));
    Rows rows;
    PageReader reader(rows);
    ctxt->_private = &reader;
    ctxt->sax->startElement = &PageReader::start;
    ctxt->sax->endElement = &PageReader::end;
    ctxt->sax->characters = &PageReader::text;
    ctxt->sax->cdataBlock = &PageReader::text;
    ctxt->sax->ignorableWhitespace = &PageReader::text;
    ctxt->sax->comment = nullptr;
    ctxt->sax->processingInstruction = nullptr;
    const std::unique_ptr<xmlDoc, DocFree> doc(htmlCtxtReadMemory(
        ctxt.get(), content.constData(), static_cast<int>(content.size()), nullptr, encoding, options));
    reader.rethrow(); // a limit reached or a cancel, as the other readers give it
    reader.finish();
    if (!reader.sawTable())
        return problem(QStringLiteral("a página não tem a tabela dos resultados"));
    return drawsOfRows(rows, ResultsFormat::Html, false);
}

} // namespace ResultsFileReading
