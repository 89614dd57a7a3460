#include "ResultsFileReading.h"

#include <QStringList>

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

} // namespace ResultsFileReading
