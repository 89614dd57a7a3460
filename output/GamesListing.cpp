#include "GamesListing.h"

#include "FileErrorText.h"
#include "FileNames.h"
#include "Schemas.h"
#include "TableError.h"

#include <QDir>
#include <QSaveFile>
#include <cerrno>
#include <cmath>

namespace {

// Room for the longest line: a game number of up to 20 characters and fifteen numbers.
constexpr std::size_t kLineRoom = 24 + 15 * 12;

char* putDigits(char* out, qint64 v, int minDigits) {
    char tmp[24];
    int n = 0;
    const bool negative = v < 0;
    quint64 u = negative ? static_cast<quint64>(-(v + 1)) + 1u : static_cast<quint64>(v);
    do {
        tmp[n++] = static_cast<char>('0' + u % 10u);
        u /= 10u;
    } while (u != 0);
    if (negative)
        *out++ = '-';
    for (int i = n; i < minDigits; ++i)
        *out++ = '0';
    while (n > 0)
        *out++ = tmp[--n];
    return out;
}

// Writes the line of one game at `out` and answers its end.
char* writeLine(char* out, const RowRef& game, const GameFields& f) {
    const auto number = game.realValue(f.cartao);
    const qint64 cartao =
        number && std::isfinite(*number) && std::abs(*number) < 9.0e15 ? static_cast<qint64>(*number) : 0;
    out = putDigits(out, cartao, 7);
    *out++ = ';';
    for (std::size_t p = 0; p < 15; ++p) {
        const auto v = game.intValue(f.d[p]);
        if (p >= 6 && (!v || *v <= 0))
            continue;
        out = putDigits(out, v.value_or(0), 2);
        *out++ = ';';
    }
    return out;
}

// The reason in the player's words, from the system's error number where it left one (the
// platform's own text is English).
TableError unwritable(const QSaveFile& file, int systemError) {
    return TableError(FileErrorText::cannotWrite(
        file.fileName(), systemError != 0 ? FileErrorText::ofErrno(systemError)
                                          : FileErrorText::ofUnknownWriteFailure()));
}

void commit(QSaveFile& file, const QByteArray& bytes) {
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw unwritable(file, errno);
}

} // namespace

QString FormatListingLine(const RowRef& game, const GameFields& f) {
    char line[kLineRoom];
    const char* end = writeLine(line, game, f);
    return QString::fromLatin1(line, static_cast<qsizetype>(end - line));
}

std::optional<Message> BuildGamesListing(Tables& t) {
    Table& games = t.TableCar;
    Table& rel = t.TableRel;

    if (!rel.isOpen())
        throw TableError::notOpen(rel.name());
    // A games file that exists but could not be opened (damaged, foreign) stops the listing before
    // anything changes: its message names it, and neither the listing nor "Cartelas.csv" is
    // emptied as if there were no games.
    if (!games.isOpen() && games.fileExists())
        games.open();
    // No games file was ever made: there is nothing to list, and the earlier listing and its
    // export stay as they are.
    if (!games.isOpen())
        return Message{QStringLiteral("Relação dos jogos"),
                       QStringLiteral("Não há jogos para listar. Gere os jogos primeiro; a relação "
                                      "anterior e o arquivo \"%1\" ficaram como estavam.")
                           .arg(Schemas::kExportFile)};
    QSaveFile file(FileNames::writeTarget(t.folder(), FileNames::resolve(t.folder(), Schemas::kExportFile)));
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw unwritable(file, errno);

    games.first(); // stores a pending game, so that it is listed as it stands
    const GameFields f(games);
    const int n = games.rowCount();
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(n) * 40);
    std::vector<std::pair<int, int>> lines; // offset and length in `bytes`
    lines.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        char line[kLineRoom];
        const char* end = writeLine(line, games.rowAt(i), f);
        const auto length = static_cast<int>(end - line);
        lines.emplace_back(static_cast<int>(bytes.size()), length);
        bytes.append(line, length);
        bytes.append("\r\n", 2);
    }
    // The file first: when it cannot be written nothing has changed yet.
    commit(file, bytes);

    rel.emptyTable();
    const int linha = rel.fieldIndex(u"Linha");
    const int detalhe = rel.fieldIndex(u"Detalhe");
    {
        Table::BulkChange guard(rel);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            rel.insert();
            rel.setInteger(linha, static_cast<qint32>(i + 1));
            rel.setText(detalhe, QString::fromLatin1(bytes.constData() + lines[i].first, lines[i].second));
            rel.post();
        }
    }
    rel.commitChanges();
    rel.first();
    games.last();
    return std::nullopt;
}
