#include "PrizeCells.h"

#include <QDate>
#include <QStringList>

namespace ResultsFileReading {

namespace {

int tierOfSuffix(QStringView rest) {
    if (rest == u"6acertos" || rest == u"6" || rest == u"sena")
        return 0;
    if (rest == u"5acertos" || rest == u"5" || rest == u"quina")
        return 1;
    if (rest == u"4acertos" || rest == u"4" || rest == u"quadra")
        return 2;
    return -1;
}

int tierAfter(QStringView key, QStringView prefix) {
    return key.startsWith(prefix) ? tierOfSuffix(key.sliced(prefix.size())) : -1;
}

bool allDigits(QStringView s) {
    if (s.isEmpty())
        return false;
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

int winnersTierOfHeader(QStringView key) {
    return tierAfter(key, u"ganhadores");
}

int prizeTierOfHeader(QStringView key) {
    const int t = tierAfter(key, u"rateio");
    return t >= 0 ? t : tierAfter(key, u"valorrateio");
}

bool isDateHeader(QStringView key) {
    return key == u"datadosorteio" || key == u"datasorteio" || key == u"data" || key == u"dataapuracao" ||
           key == u"datadoconcurso";
}

QString drawDate(QStringView cell) {
    QStringView s = cell.trimmed();
    if (const qsizetype blank = s.indexOf(u' '); blank > 0)
        s = s.first(blank); // "11/03/1996 00:00:00"
    QDate d;
    if (s.contains(u'/')) {
        const QList<QStringView> parts = s.split(u'/');
        if (parts.size() == 3 && allDigits(parts[0]) && allDigits(parts[1]) && allDigits(parts[2]) &&
            parts[2].size() == 4)
            d = QDate(parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
    } else if (s.contains(u'-')) {
        d = QDate::fromString(s.toString(), Qt::ISODate);
    } else if (allDigits(s) && s.size() <= 6) {
        // A spreadsheet's date is a number of days since 30 December 1899.
        const int days = s.toInt();
        if (days > 0)
            d = QDate(1899, 12, 30).addDays(days);
    }
    if (!d.isValid() || d.year() < 1996 || d.year() > 9999)
        return QString();
    return d.toString(Qt::ISODate);
}

std::optional<qint64> winnersCount(QStringView cell) {
    const QStringView s = cell.trimmed();
    // Far more than all the bets of a draw, and within the table's 32-bit field.
    constexpr qint64 kMostWinners = 2'000'000'000;
    if (allDigits(s)) {
        const qint64 n = s.size() <= 10 ? s.toLongLong() : kMostWinners + 1;
        return n <= kMostWinners ? std::optional<qint64>(n) : std::nullopt;
    }
    // Grouped thousands: 1 to 3 digits, then groups of three.
    const QList<QStringView> groups = s.split(u'.');
    if (groups.size() < 2 || groups.front().size() > 3 || groups.size() > 4)
        return std::nullopt;
    qint64 n = 0;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (!allDigits(groups[i]) || (i > 0 && groups[i].size() != 3))
            return std::nullopt;
        n = n * 1000 + groups[i].toLongLong();
    }
    return n <= kMostWinners ? std::optional<qint64>(n) : std::nullopt;
}

FilePrizes prizesOfCells(std::optional<QStringView> date, const std::array<QStringView, 3>& winners,
                         const std::array<QStringView, 3>& prizes) {
    FilePrizes out;
    if (date)
        out.date = drawDate(*date);
    DrawTiers tiers;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto w = winnersCount(winners[i]);
        const auto p = ParseMoney(prizes[i], MoneyText::File);
        if (!w || !p) {
            out.unreadable = true;
            return out;
        }
        tiers[i] = {*w, *p};
    }
    out.tiers = tiers;
    return out;
}

} // namespace ResultsFileReading
