#include "ResultsFileFormats.h"

#include <QBuffer>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringDecoder>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <cctype>
#include <limits>
#include <map>
#include <quazip.h>
#include <quazipfile.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Rows = std::vector<QStringList>;

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

// --------------------------------------------------------------------------- collecting draws

// Keeps the first row of each draw number; a later row with other numbers is a conflict.
class DrawCollector {
public:
    explicit DrawCollector(ResultsFormat f) { out_.format = f; }

    void add(int concurso, const std::array<int, 6>& numbers) {
        const bool valid = isValidDraw(numbers);
        const auto seen = index_.constFind(concurso);
        if (seen != index_.constEnd()) {
            const FileDraw& first = out_.draws[static_cast<std::size_t>(*seen)];
            const bool same = first.valid == valid && sortedNumbers(first.numbers) == sortedNumbers(numbers);
            if (!same && std::find(out_.conflicting.begin(), out_.conflicting.end(), concurso) ==
                             out_.conflicting.end())
                out_.conflicting.push_back(concurso);
            return;
        }
        index_.insert(concurso, static_cast<int>(out_.draws.size()));
        out_.draws.push_back({concurso, numbers, valid});
    }

    bool empty() const { return out_.draws.empty(); }
    ParsedResults take() { return std::move(out_); }

private:
    ParsedResults out_;
    QHash<int, int> index_;
};

// --------------------------------------------------------------------------- tables with headers

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
    bool complete() const {
        return concurso >= 0 && std::none_of(balls.begin(), balls.end(), [](int c) { return c < 0; });
    }
};

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
        if (const int ball = ballOfHeader(headerKey(row.at(i)));
            ball > 0 && c.balls[static_cast<std::size_t>(ball - 1)] < 0)
            c.balls[static_cast<std::size_t>(ball - 1)] = i;
    }
    return c;
}

bool looksLikeDate(QStringView cell) {
    return cell.contains(u'/') || (cell.contains(u'-') && !cell.trimmed().startsWith(u'-'));
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
            collect.add(*concurso, n);
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

// --------------------------------------------------------------------------- text encodings

// UTF-8 when the bytes are valid UTF-8 (a byte order mark is dropped), ISO-8859-1 otherwise.
QString decodeText(const QByteArray& bytes, bool declaredLatin1 = false) {
    if (!declaredLatin1) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = utf8.decode(bytes);
        if (!utf8.hasError())
            return s;
    }
    return QString::fromLatin1(bytes);
}

// --------------------------------------------------------------------------- spreadsheet

ParseOutcome parseHtml(const QByteArray& content);

// The cell column of a reference such as "C7": 2.
int columnOfReference(QStringView ref) {
    int col = 0;
    int letters = 0;
    for (const QChar c : ref) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        if (letters == 3)
            return std::numeric_limits<int>::max(); // beyond a sheet's last column "XFD"
        col = col * 26 + (u - u'A' + 1);
        ++letters;
    }
    return letters == 0 ? -1 : col - 1;
}

struct ZipReader {
    QuaZip& zip;
    // The whole entry, or nothing when it is missing or its data is damaged (checksum included).
    std::optional<QByteArray> read(const QString& name) {
        if (!zip.setCurrentFile(name, QuaZip::csInsensitive))
            return std::nullopt;
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::ReadOnly))
            return std::nullopt;
        QByteArray data = f.readAll();
        const bool readOk = f.getZipError() == UNZ_OK;
        f.close();
        if (!readOk || f.getZipError() != UNZ_OK)
            return std::nullopt;
        return data;
    }
};

std::optional<QStringList> sharedStrings(const QByteArray& xml) {
    QStringList out;
    QXmlStreamReader r(xml);
    QString current;
    bool inItem = false;
    int phonetic = 0;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement:
            if (r.name() == u"si") {
                inItem = true;
                current.clear();
            } else if (r.name() == u"rPh") {
                ++phonetic;
            } else if (r.name() == u"t" && inItem && phonetic == 0) {
                current += r.readElementText(QXmlStreamReader::IncludeChildElements);
            }
            break;
        case QXmlStreamReader::EndElement:
            if (r.name() == u"si") {
                out << current;
                inItem = false;
            } else if (r.name() == u"rPh") {
                --phonetic;
            }
            break;
        default:
            break;
        }
    }
    if (r.hasError())
        return std::nullopt;
    return out;
}

// A numeric cell as the program writes whole numbers ("4" for "4" or "4.0"); other values as
// they stand.
QString numericCell(const QString& v) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    // The range is checked before the conversion, which is undefined outside it.
    if (ok && d > -1e15 && d < 1e15 && d == static_cast<double>(static_cast<qint64>(d)))
        return QString::number(static_cast<qint64>(d));
    return v;
}

std::optional<Rows> sheetRows(const QByteArray& xml, const QStringList& strings) {
    Rows rows;
    QXmlStreamReader r(xml);
    QStringList row;
    bool inRow = false;
    int nextColumn = 0;
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::EndElement && r.name() == u"row") {
            rows.push_back(row);
            inRow = false;
            continue;
        }
        if (!r.isStartElement())
            continue;
        if (r.name() == u"row") {
            row.clear();
            inRow = true;
            nextColumn = 0;
            continue;
        }
        if (r.name() != u"c" || !inRow)
            continue;
        const QXmlStreamAttributes a = r.attributes();
        int col = columnOfReference(a.value(QLatin1String("r")));
        if (col < 0)
            col = nextColumn;
        if (col > 16384) // no sheet has more columns
            return std::nullopt;
        nextColumn = col + 1;
        const QStringView type = a.value(QLatin1String("t"));
        QString value;
        // The cell's children: <v> for a value, <is><t> for an inline string.
        while (r.readNextStartElement()) {
            if (r.name() == u"v") {
                value = r.readElementText();
            } else if (r.name() == u"is") {
                value = r.readElementText(QXmlStreamReader::IncludeChildElements);
            } else {
                r.skipCurrentElement();
            }
        }
        if (type == u"s") {
            bool ok = false;
            const int i = value.toInt(&ok);
            if (!ok || i < 0 || i >= strings.size())
                return std::nullopt;
            value = strings.at(i);
        } else if (type.isEmpty() || type == u"n") {
            value = numericCell(value);
        }
        while (row.size() <= col)
            row.append(QString());
        row[col] = value;
    }
    if (r.hasError())
        return std::nullopt;
    return rows;
}

// The first sheet's entry: through the workbook and its relations, else the first sheet file.
QString firstSheetName(ZipReader& z) {
    if (const auto wb = z.read(QStringLiteral("xl/workbook.xml"))) {
        QString relId;
        QXmlStreamReader r(*wb);
        while (!r.atEnd() && relId.isEmpty())
            if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"sheet")
                for (const QXmlStreamAttribute& a : r.attributes())
                    if (a.name() == u"id")
                        relId = a.value().toString();
        const auto rels = z.read(QStringLiteral("xl/_rels/workbook.xml.rels"));
        if (!relId.isEmpty() && rels) {
            QXmlStreamReader rr(*rels);
            while (!rr.atEnd())
                if (rr.readNext() == QXmlStreamReader::StartElement && rr.name() == u"Relationship" &&
                    rr.attributes().value(QLatin1String("Id")) == relId) {
                    QString target = rr.attributes().value(QLatin1String("Target")).toString();
                    if (target.startsWith(u'/'))
                        return target.mid(1);
                    return QStringLiteral("xl/") + target;
                }
        }
    }
    QStringList sheets;
    for (const QString& n : z.zip.getFileNameList())
        if (n.startsWith(u"xl/worksheets/sheet", Qt::CaseInsensitive) &&
            n.endsWith(u".xml", Qt::CaseInsensitive))
            sheets << n;
    std::sort(sheets.begin(), sheets.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return sheets.value(0);
}

ParseOutcome parseSpreadsheet(const QByteArray& content) {
    QBuffer buffer;
    buffer.setData(content);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return problem(QStringLiteral("o arquivo compactado está danificado ou incompleto"));
    ZipReader z{zip};
    const QString sheet = firstSheetName(z);
    if (sheet.isEmpty()) {
        // The old download, "D_megase.zip", held the results page "d_mega.htm".
        for (const QString& n : zip.getFileNameList())
            if (n.endsWith(u".htm", Qt::CaseInsensitive) || n.endsWith(u".html", Qt::CaseInsensitive)) {
                const auto page = z.read(n);
                if (!page)
                    return problem(QStringLiteral("o arquivo compactado está danificado ou incompleto"));
                return parseHtml(*page);
            }
        return problem(QStringLiteral("o arquivo compactado não é uma planilha (não tem nenhuma folha)"));
    }
    QStringList strings;
    if (zip.setCurrentFile(QStringLiteral("xl/sharedStrings.xml"), QuaZip::csInsensitive)) {
        const auto xml = z.read(QStringLiteral("xl/sharedStrings.xml"));
        const auto s = xml ? sharedStrings(*xml) : std::nullopt;
        if (!s)
            return problem(
                QStringLiteral("a planilha está danificada (os textos das células não podem ser lidos)"));
        strings = *s;
    }
    const auto xml = z.read(sheet);
    if (!xml)
        return problem(
            QStringLiteral("a planilha está danificada ou incompleta (a folha não pode ser lida)"));
    const auto rows = sheetRows(*xml, strings);
    if (!rows)
        return problem(QStringLiteral("a planilha está danificada (a folha não pode ser lida)"));
    return drawsOfRows(*rows, ResultsFormat::Spreadsheet, true);
}

// --------------------------------------------------------------------------- HTML

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

ParseOutcome parseHtml(const QByteArray& content) {
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
        if (inCell)
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

// --------------------------------------------------------------------------- text

QChar separatorOf(QStringView line) {
    if (line.contains(u'\t'))
        return u'\t';
    if (line.contains(u';'))
        return u';';
    return u',';
}

ParseOutcome parseText(const QByteArray& content) {
    const QString text = decodeText(content);
    const QStringList lines = text.split(u'\n');
    QChar sep;
    Rows rows;
    rows.reserve(static_cast<std::size_t>(lines.size()));
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (sep.isNull())
            sep = separatorOf(line);
        QStringList cells = line.split(sep);
        for (QString& c : cells) {
            c = c.trimmed();
            if (c.size() >= 2 && c.startsWith(u'"') && c.endsWith(u'"'))
                c = c.mid(1, c.size() - 2).trimmed();
        }
        rows.push_back(cells);
    }
    if (rows.empty())
        return problem(QStringLiteral("o arquivo não tem nenhuma linha"));
    return drawsOfRows(rows, ResultsFormat::Text, false);
}

// --------------------------------------------------------------------------- JSON

int jsonWhole(const QJsonValue& v) {
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (!(d > -1e9 && d < 1e9)) // also NaN; checked before the conversion
            return 0;
        return d == static_cast<double>(static_cast<int>(d)) ? static_cast<int>(d) : 0;
    }
    return wholeNumber(v.toString()).value_or(0);
}

std::array<int, 6> jsonNumbers(const QJsonValue& v) {
    std::array<int, 6> n{};
    const QJsonArray a = v.toArray();
    if (a.size() != 6)
        return n; // a list of another length is refused as a whole
    for (qsizetype i = 0; i < 6; ++i)
        n[static_cast<std::size_t>(i)] = jsonWhole(a.at(i));
    return n;
}

bool isServiceResult(const QJsonValue& v) {
    return v.isObject() && v.toObject().contains(u"numero");
}

void addServiceResult(DrawCollector& collect, const QJsonObject& o) {
    const int concurso = jsonWhole(o.value(QLatin1String("numero")));
    if (concurso < 1)
        return;
    const QJsonValue inOrder = o.value(QLatin1String("dezenasSorteadasOrdemSorteio"));
    const bool hasOrder = inOrder.isArray() && !inOrder.toArray().isEmpty();
    collect.add(concurso, jsonNumbers(hasOrder ? inOrder : o.value(QLatin1String("listaDezenas"))));
}

ParseOutcome parseJson(const QByteArray& content) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        return problem(
            QStringLiteral("o JSON está danificado ou incompleto (erro no caractere %1)").arg(error.offset));
    DrawCollector collect(ResultsFormat::Json);
    if (doc.isArray()) {
        for (const QJsonValue& v : doc.array())
            if (isServiceResult(v))
                addServiceResult(collect, v.toObject());
    } else if (isServiceResult(doc.object())) {
        addServiceResult(collect, doc.object());
    } else {
        const QJsonObject o = doc.object();
        std::map<int, QJsonValue> byNumber; // keys come in text order; draws go in number order
        for (auto it = o.begin(); it != o.end(); ++it) {
            const auto concurso = wholeNumber(it.key());
            if (!concurso || *concurso < 1 || !it.value().isArray())
                return problem(QStringLiteral("o JSON não traz os concursos no formato esperado (a chave "
                                              "\"%1\" não é o número de um concurso com as suas dezenas)")
                                   .arg(it.key()));
            byNumber.emplace(*concurso, it.value());
        }
        for (const auto& [concurso, numbers] : byNumber)
            collect.add(concurso, jsonNumbers(numbers));
    }
    if (collect.empty())
        return problem(QStringLiteral("o JSON não traz nenhum concurso"));
    return collect.take();
}

// --------------------------------------------------------------------------- detection

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
        return parseSpreadsheet(content);
    QByteArray body = content;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    const QByteArray start = body.trimmed().left(1);
    if (start == "{" || start == "[")
        return parseJson(body);
    if (looksLikeHtml(body))
        return parseHtml(body);
    if (looksBinary(body))
        return problem(QStringLiteral("o arquivo não é uma planilha, uma página de resultados, um texto com "
                                      "separadores nem um JSON"));
    const ParseOutcome text = parseText(body);
    if (const auto* p = std::get_if<ResultsFileProblem>(&text); p && !p->reason.contains(u"colunas"))
        return problem(QStringLiteral("o arquivo não é uma planilha, uma página de resultados, um texto com "
                                      "separadores nem um JSON (%1)")
                           .arg(p->reason));
    return text;
}
