#include "ResultsFileReading.h"

#include <QHash>
#include <cctype>

using namespace Qt::Literals::StringLiterals;

namespace ResultsFileReading {

namespace {

QString decodeEntities(const QString& s) {
    if (!s.contains(u'&'))
        return s;
    static const QHash<QString, QChar> named{{u"nbsp"_s, QChar(0xA0)},
                                             {u"amp"_s, u'&'},
                                             {u"lt"_s, u'<'},
                                             {u"gt"_s, u'>'},
                                             {u"quot"_s, u'"'},
                                             {u"apos"_s, u'\''},
                                             {u"ordf"_s, QChar(0xAA)},
                                             {u"ordm"_s, QChar(0xBA)},
                                             {u"deg"_s, QChar(0xB0)},
                                             {u"aacute"_s, QChar(0xE1)},
                                             {u"agrave"_s, QChar(0xE0)},
                                             {u"acirc"_s, QChar(0xE2)},
                                             {u"atilde"_s, QChar(0xE3)},
                                             {u"eacute"_s, QChar(0xE9)},
                                             {u"ecirc"_s, QChar(0xEA)},
                                             {u"iacute"_s, QChar(0xED)},
                                             {u"oacute"_s, QChar(0xF3)},
                                             {u"ocirc"_s, QChar(0xF4)},
                                             {u"otilde"_s, QChar(0xF5)},
                                             {u"uacute"_s, QChar(0xFA)},
                                             {u"ccedil"_s, QChar(0xE7)},
                                             {u"Aacute"_s, QChar(0xC1)},
                                             {u"Atilde"_s, QChar(0xC3)},
                                             {u"Eacute"_s, QChar(0xC9)},
                                             {u"Ccedil"_s, QChar(0xC7)},
                                             {u"Oacute"_s, QChar(0xD3)},
                                             {u"Uacute"_s, QChar(0xDA)},
                                             {u"Iacute"_s, QChar(0xCD)},
                                             {u"Ocirc"_s, QChar(0xD4)},
                                             {u"Otilde"_s, QChar(0xD5)}};
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) != u'&') {
            out.append(s.at(i));
            continue;
        }
        const qsizetype semi = s.indexOf(u';', i + 1);
        if (semi < 0 || semi - i > 10) {
            out.append(s.at(i));
            continue;
        }
        const QString name = s.mid(i + 1, semi - i - 1);
        bool ok = false;
        uint code = 0;
        if (name.startsWith(u"#x") || name.startsWith(u"#X"))
            code = name.mid(2).toUInt(&ok, 16);
        else if (name.startsWith(u'#'))
            code = name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0xFFFF) {
            out.append(QChar(static_cast<char16_t>(code)));
        } else if (const auto it = named.constFind(name); it != named.constEnd()) {
            out.append(*it);
        } else {
            out.append(s.mid(i, semi - i + 1));
        }
        i = semi;
    }
    return out;
}

// The charset a page declares in its first bytes, lower case, or empty.
QByteArray declaredCharset(const QByteArray& content) {
    const QByteArray head = content.left(4096).toLower();
    const qsizetype at = head.indexOf("charset=");
    if (at < 0)
        return {};
    qsizetype b = at + 8;
    while (b < head.size() && (head.at(b) == '"' || head.at(b) == '\''))
        ++b;
    qsizetype e = b;
    while (e < head.size() &&
           (std::isalnum(static_cast<unsigned char>(head.at(e))) || head.at(e) == '-' || head.at(e) == '_'))
        ++e;
    return head.mid(b, e - b);
}

} // namespace

ParseOutcome readResultsPage(const QByteArray& content) {
    const QByteArray charset = declaredCharset(content);
    const bool latin1 = charset == "iso-8859-1" || charset == "latin1" || charset == "windows-1252";
    const QString page = decodeText(content, latin1);

    Rows rows;
    QStringList row;
    QString cell;
    bool inRow = false;
    bool inCell = false;
    bool sawTable = false;
    bool sawTableEnd = false;
    const auto endCell = [&] {
        if (inCell && row.size() < ResultsReadingLimits::kMostColumns) // cells further right are dropped
            row << decodeEntities(cell).simplified();
        cell.clear();
        inCell = false;
    };
    const auto endRow = [&] {
        endCell();
        if (inRow)
            rows.push_back(row);
        row.clear();
        inRow = false;
    };
    const qsizetype n = page.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = page.at(i);
        if (c != u'<') {
            if (inCell)
                cell.append(c);
            continue;
        }
        if (QStringView(page).sliced(i).startsWith(u"<!--")) {
            const qsizetype end = page.indexOf(u"-->", i + 4);
            if (end < 0)
                break;
            i = end + 2;
            continue;
        }
        const qsizetype close = page.indexOf(u'>', i + 1);
        if (close < 0)
            break; // a tag cut off: the page is truncated
        QStringView tag = QStringView(page).mid(i + 1, close - i - 1).trimmed();
        i = close;
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && !tag.at(nameEnd).isSpace() && tag.at(nameEnd) != u'/')
            ++nameEnd;
        if (nameEnd == 0 && tag.startsWith(u'/')) {
            nameEnd = 1;
            while (nameEnd < tag.size() && !tag.at(nameEnd).isSpace())
                ++nameEnd;
        }
        const QString name = tag.left(nameEnd).toString().toLower();
        if (name == u"script" || name == u"style") {
            const qsizetype end = page.indexOf(u"</"_s + name, i + 1, Qt::CaseInsensitive);
            if (end < 0)
                break;
            i = page.indexOf(u'>', end);
            if (i < 0)
                break;
        } else if (name == u"table") {
            sawTable = true;
        } else if (name == u"/table") {
            endRow();
            sawTableEnd = true;
        } else if (name == u"tr") {
            endRow();
            inRow = true;
        } else if (name == u"/tr") {
            endRow();
        } else if (name == u"td" || name == u"th") {
            endCell();
            if (!inRow) {
                inRow = true;
                row.clear();
            }
            inCell = true;
        } else if (name == u"/td" || name == u"/th") {
            endCell();
        } else if (name == u"br" || name == u"p" || name == u"/p" || name == u"div" || name == u"/div") {
            if (inCell)
                cell.append(u' ');
        }
    }
    if (!sawTable)
        return problem(QStringLiteral("a página não tem a tabela dos resultados"));
    if (!sawTableEnd)
        return problem(QStringLiteral("a página está incompleta (a tabela dos resultados não termina)"));
    return drawsOfRows(rows, ResultsFormat::Html, false);
}

} // namespace ResultsFileReading
