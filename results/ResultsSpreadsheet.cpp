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

using ResultsReadingLimits::ReadingStopped;

ReadingStopped entryTooLarge() {
    return {QStringLiteral("uma parte do arquivo compactado tem mais de %1 descompactada, muito mais do "
                           "que uma planilha de resultados")
                .arg(ResultsReadingLimits::megabytes(ResultsReadingLimits::kMostEntryBytes))};
}

// One zip entry as a stream: what comes out of the decompression is counted, never trusted from
// the entry's header, and reading ends with an error once it passes the limit of an entry or the
// player cancels (the reason is kept, to be thrown once the reader above has stopped).
class EntryStream final : public QIODevice {
public:
    explicit EntryStream(QuaZip& zip) : file_(&zip) {}
    bool start() { return file_.open(QIODevice::ReadOnly) && open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    // At its end once a read found nothing more, never by the sizes the entry claims.
    bool atEnd() const override { return ended_ && QIODevice::bytesAvailable() == 0; }
    // After the reader stopped: throws the reason it was stopped for, if any; answers whether the
    // whole entry came out undamaged (its checksum included).
    bool finish() {
        // The rest of the entry, after the end its reader found, is read too: the checksum is
        // only known at the entry's end.
        char rest[65536];
        while (readData(rest, sizeof rest) > 0) {
        }
        if (stopped_)
            throw *stopped_;
        const bool readOk = !failed_ && file_.getZipError() == UNZ_OK;
        file_.close();
        return readOk && file_.getZipError() == UNZ_OK;
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (ended_)
            return -1;
        if (maxSize <= 0)
            return 0;
        const qint64 n =
            file_.read(data, std::min(maxSize, ResultsReadingLimits::kMostEntryBytes + 1 - out_));
        if (n <= 0) { // the end of the entry, or a damaged one
            failed_ = n < 0;
            ended_ = true;
            return -1;
        }
        out_ += n;
        try {
            if (out_ > ResultsReadingLimits::kMostEntryBytes)
                throw entryTooLarge();
            ResultsReadingLimits::Budget::bytesRead(n);
        } catch (const ReadingStopped& stop) {
            stopped_ = stop;
            ended_ = true;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QuaZipFile file_;
    qint64 out_ = 0;
    bool ended_ = false;
    bool failed_ = false;
    std::optional<ReadingStopped> stopped_;
};

struct ZipReader {
    QuaZip& zip;
    // The whole entry, or nothing when it is missing or its data is damaged (checksum included).
    // Only for the small entries (the workbook, its relations, an old results page).
    std::optional<QByteArray> read(const QString& name) {
        if (!zip.setCurrentFile(name, QuaZip::csInsensitive))
            return std::nullopt;
        EntryStream f(zip);
        if (!f.start())
            return std::nullopt;
        QByteArray data;
        char chunk[65536];
        qint64 n;
        while ((n = f.read(chunk, sizeof chunk)) > 0)
            data.append(chunk, static_cast<qsizetype>(n));
        if (!f.finish())
            return std::nullopt;
        return data;
    }
};

std::optional<QStringList> sharedStrings(QIODevice& xml) {
    using namespace ResultsReadingLimits;
    QStringList out;
    qsizetype chars = 0;
    QXmlStreamReader r(&xml);
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
                chars += current.size();
                if (out.size() == kMostSharedStrings || chars > kMostSharedChars)
                    throw ReadingStopped{
                        QStringLiteral("a planilha tem mais textos do que uma planilha de resultados "
                                       "(mais de %1 textos ou de %2 caracteres)")
                            .arg(count(kMostSharedStrings), count(kMostSharedChars))};
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

std::optional<Rows> sheetRows(QIODevice& xml, const QStringList& strings) {
    Rows rows;
    QXmlStreamReader r(&xml);
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
        // A cell far right of any results column ("XFD7") is skipped: it pads the row with
        // nothing.
        const bool kept = col < ResultsReadingLimits::kMostColumns;
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
        if (!kept)
            continue;
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
    if (zip.getEntriesCount() > ResultsReadingLimits::kMostZipEntries)
        return problem(QStringLiteral("o arquivo compactado tem mais de %1 partes, muito mais do que uma "
                                      "planilha de resultados")
                           .arg(ResultsReadingLimits::count(ResultsReadingLimits::kMostZipEntries)));
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
        EntryStream xml(zip);
        const auto s = xml.start() ? sharedStrings(xml) : std::nullopt;
        if (!xml.finish() || !s)
            return problem(
                QStringLiteral("a planilha está danificada (os textos das células não podem ser lidos)"));
        strings = *s;
    }
    if (!zip.setCurrentFile(sheet, QuaZip::csInsensitive))
        return problem(
            QStringLiteral("a planilha está danificada ou incompleta (a folha não pode ser lida)"));
    EntryStream xml(zip);
    if (!xml.start())
        return problem(
            QStringLiteral("a planilha está danificada ou incompleta (a folha não pode ser lida)"));
    const auto rows = sheetRows(xml, strings);
    if (!xml.finish())
        return problem(
            QStringLiteral("a planilha está danificada ou incompleta (a folha não pode ser lida)"));
    if (!rows)
        return problem(QStringLiteral("a planilha está danificada (a folha não pode ser lida)"));
    return drawsOfRows(*rows, ResultsFormat::Spreadsheet, true);
}

} // namespace ResultsFileReading
