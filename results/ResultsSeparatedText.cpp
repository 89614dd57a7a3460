#include "ResultsFileReading.h"

#include <QStringList>
#include <QStringTokenizer>

using namespace Qt::Literals::StringLiterals;

namespace ResultsFileReading {

namespace {

QChar separatorOf(QStringView line) {
    if (line.contains(u'\t'))
        return u'\t';
    if (line.contains(u';'))
        return u';';
    return u',';
}

} // namespace

ParseOutcome readSeparatedText(const QByteArray& content) {
    // Line by line, so that only one line is ever held as text; a line's cells past the last
    // column a table can have are dropped as they are met.
    const bool utf8 = content.isValidUtf8();
    QChar sep;
    Rows rows;
    qsizetype from = 0;
    while (from < content.size()) {
        qsizetype end = content.indexOf('\n', from);
        if (end < 0)
            end = content.size();
        const QByteArrayView bytes = QByteArrayView(content).sliced(from, end - from);
        from = end + 1;
        ResultsReadingLimits::Budget::bytesRead(bytes.size() + 1);
        QString line = utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (sep.isNull())
            sep = separatorOf(line);
        QStringList cells;
        for (const QStringView part : QStringTokenizer(line, sep)) {
            if (cells.size() == ResultsReadingLimits::kMostColumns)
                break;
            QString c = part.trimmed().toString();
            if (c.size() >= 2 && c.startsWith(u'"') && c.endsWith(u'"'))
                c = c.mid(1, c.size() - 2).trimmed();
            cells << c;
        }
        rows.push_back(cells);
    }
    if (rows.empty())
        return problem(QStringLiteral("o arquivo não tem nenhuma linha"));
    return drawsOfRows(rows, ResultsFormat::Text, false);
}

} // namespace ResultsFileReading
