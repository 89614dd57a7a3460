#include "ResultsFileReading.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <limits>
#include <quazip.h>
#include <quazipfile.h>

using namespace Qt::Literals::StringLiterals;

namespace ResultsFileReading {

namespace {

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

} // namespace

ParseOutcome readSpreadsheet(const QByteArray& content) {
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
                return readResultsPage(*page);
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

} // namespace ResultsFileReading
