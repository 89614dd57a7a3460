#include "GamesCheck.h"

#include "DrawEntry.h"
#include "GamesTable.h"
#include "NumberStatistics.h"
#include "PrizeTiers.h"
#include "Schemas.h"
#include "TableError.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <bit>

namespace {

// The fields a check writes; a table ordered by one of them would move its rows under the loop.
bool orderUsesCheckFields(const Table& games, const GameFields& f) {
    for (const QString& part : games.indexFieldNames().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const auto k = games.findField(part.trimmed());
        if (!k)
            continue;
        if (*k == f.acertos || std::find(f.ad.begin(), f.ad.end(), *k) != f.ad.end())
            return true;
    }
    return false;
}

// Puts the games in an order: an open table re-sorts its rows where they are (nothing is written:
// the write path stores the games when the operation ends), a closed one is opened in that order.
// A pending row is dropped, as a close would drop it. The callers ignore failures of this step.
void reopenIn(Table& games, const QString& order) {
    try {
        if (games.isEditing())
            games.cancel();
        games.setIndexFieldNames(order);
        if (games.isOpen())
            games.first(); // where an open would put the cursor
        else
            games.open();
    } catch (const TableError&) {
    }
}

} // namespace

void CheckGamesAgainstDraw(Table& games, std::span<const int> draw) {
    const GameFields f(games);
    const QString yes = QStringLiteral("S");
    const QString no = QStringLiteral("N");

    const QString order = games.indexFieldNames();
    const bool reorder = orderUsesCheckFields(games, f);
    if (reorder)
        games.setIndexFieldNames(QString()); // rows stay in place while their hits change

    {
        // The hits and flags are in no order (the one that used them was set aside above), so they
        // are written straight into the rows, without a post per game.
        std::vector<int> written(f.ad.begin(), f.ad.end());
        written.push_back(f.acertos);
        Table::FieldUpdate update(games, std::move(written));
        QByteArray scratch;
        // The games' numbers are Integer fields in every file the program writes; read so, they
        // need no conversion (a file that made them texts is still read, through intValue).
        const bool integers =
            games.fields()[static_cast<std::size_t>(f.acertos)].type == FieldType::Integer &&
            std::all_of(f.d.begin(), f.d.end(), [&games](int k) {
                return games.fields()[static_cast<std::size_t>(k)].type == FieldType::Integer;
            });
        // Answers whether cell k holds a number, and puts it in v (a plain int rather than an
        // optional: the loop below runs 15 million times).
        const auto number = [integers](const RowRef& r, int k, int& v) {
            if (r.isEmpty(k))
                return false;
            if (integers) {
                v = r.rawInteger(k);
                return true;
            }
            const auto x = r.intValue(k);
            v = x.value_or(0);
            return x.has_value();
        };
        const int rows = games.rowCount();
        for (int row = 0; row < rows; ++row) {
            // The row is read whole before the update is given any of its cells: storing cells
            // may move the records of its chunk.
            // Reading the stored flags lets unchanged ones be left alone: a second check against
            // the same draw then only reads.
            std::array<bool, 15> found{};
            std::array<bool, 15> stale{};
            std::size_t numbers = 0;
            int hits = 0;
            bool hitsStale = false;
            {
                const RowRef stored = games.rowAt(row);
                for (; numbers < 15; ++numbers) {
                    int v = 0;
                    const bool filled = number(stored, f.d[numbers], v);
                    if (filled && v == 0)
                        break;
                    found[numbers] = filled && std::find(draw.begin(), draw.end(), v) != draw.end();
                    hits += found[numbers] ? 1 : 0;
                    const int flag = f.ad[numbers];
                    const std::string_view now =
                        stored.isEmpty(flag) ? std::string_view() : stored.utf8(flag, scratch);
                    stale[numbers] = now != (found[numbers] ? std::string_view("S") : std::string_view("N"));
                }
                int storedHits = 0;
                hitsStale = !number(stored, f.acertos, storedHits) || storedHits != hits;
            }
            for (std::size_t p = 0; p < numbers; ++p)
                if (stale[p])
                    update.setText(row, f.ad[p], found[p] ? yes : no);
            if (hitsStale)
                update.setInteger(row, f.acertos, hits);
        }
    }
    games.last(); // where the check leaves the cursor

    if (reorder) {
        games.setIndexFieldNames(order);
        games.last();
    }
}

std::optional<Message> CheckGamesWithLastDraw(Tables& t) {
    Table& games = t.TableCar;
    reopenIn(games, QStringLiteral("Cartao"));
    if (!games.isOpen())
        return std::nullopt; // no games file yet

    Table& res = t.TableRes;
    res.last();
    const auto whole = LastWholeDrawPosition(res);
    if (!whole) {
        // Without a draw there is nothing to check against; the hits of the last check stay.
        return Message{QStringLiteral("Conferência dos jogos"),
                       QStringLiteral("Não há concurso cadastrado para conferir os jogos.")};
    }
    // A draw typed only in part is no draw to check against: the last complete one is used, and
    // the player is told which when it is not the last row.
    std::optional<Message> notice;
    if (*whole != res.rowCount() - 1) {
        const QString skipped = res.text(res.fieldIndex(u"Concurso"));
        res.moveTo(*whole);
        notice = Message{QStringLiteral("Conferência dos jogos"),
                         QStringLiteral("Os jogos foram conferidos com o concurso %1, o último com as seis "
                                        "dezenas; o concurso %2 está incompleto.")
                             .arg(res.text(res.fieldIndex(u"Concurso")), skipped)};
    }
    std::array<int, 6> numbers{};
    std::size_t count = 0;
    Table& ord = t.TableOrd;
    ord.close();
    ord.defineFields(Schemas::numberList());
    ord.setIndexFieldNames(QStringLiteral("Dezena"));
    ord.create();
    const int dezena = ord.fieldIndex(u"Dezena");
    for (int i = 1; i <= 6; ++i) {
        const auto v = res.intValue(res.fieldIndex(QStringLiteral("d%1").arg(i)));
        ord.insert();
        if (v) {
            ord.setInteger(dezena, *v);
            numbers[count++] = *v;
        } else {
            ord.setEmpty(dezena);
        }
        ord.post();
    }
    ord.commitChanges();

    if (games.isEditing())
        games.cancel();
    games.setIndexFieldNames(QStringLiteral("Cartao"));
    games.open();
    CheckGamesAgainstDraw(games, std::span<const int>(numbers.data(), count));

    reopenIn(games, QStringLiteral("Acertos"));
    try {
        games.last();
    } catch (const TableError&) {
    }
    return notice;
}

bool GamesHoldHits(const Table& games) {
    if (!games.isOpen())
        return false;
    const int acertos = games.fieldIndex(u"Acertos");
    for (int i = 0; i < games.rowCount(); ++i)
        if (!games.rowAt(i).isEmpty(acertos))
            return true;
    return false;
}

std::optional<ResultDraw> DrawOfStoredHits(const Table& games, std::span<const ResultDraw> draws) {
    if (!games.isOpen())
        return std::nullopt;
    // What each checked game says of the draw: numbers drawn, numbers not drawn, how many hits.
    struct Said {
        NumberMask drawn = 0, notDrawn = 0;
        int hits = 0;
    };
    std::vector<Said> said;
    const GameFields f(games);
    QByteArray scratch;
    for (int i = 0; i < games.rowCount(); ++i) {
        const RowRef row = games.rowAt(i);
        const auto hits = row.intValue(f.acertos);
        if (!hits)
            continue;
        Said s;
        s.hits = *hits;
        for (std::size_t p = 0; p < 15; ++p) {
            const auto v = row.intValue(f.d[p]);
            if (!v || *v < 1 || *v > 60)
                continue;
            const NumberMask bit = NumberMask{1} << *v; // as MaskOf places it
            const bool yes = !row.isEmpty(f.ad[p]) && row.utf8(f.ad[p], scratch) == std::string_view("S");
            (yes ? s.drawn : s.notDrawn) |= bit;
        }
        said.push_back(s);
    }
    if (said.empty())
        return std::nullopt;
    for (auto d = draws.rbegin(); d != draws.rend(); ++d) {
        if (!isCompleteDraw(d->numbers))
            continue;
        const NumberMask drawMask = d->mask;
        const bool fits = std::all_of(said.begin(), said.end(), [drawMask](const Said& s) {
            return (drawMask & s.drawn) == s.drawn && (drawMask & s.notDrawn) == 0 &&
                   std::popcount(drawMask & (s.drawn | s.notDrawn)) == s.hits;
        });
        if (fits)
            return *d;
    }
    return std::nullopt;
}

void SetGamesOrder(Table& games, GamesOrder order) {
    reopenIn(games, order == GamesOrder::ByGame ? QStringLiteral("Cartao") : QStringLiteral("Acertos"));
}

bool DeleteCurrentGame(Table& games, Prompter& prompter) {
    if (!games.isOpen() || games.position() < 0)
        return false;
    if (!prompter.ask({QStringLiteral("Deleção de jogo"), QStringLiteral("Deleta mesmo o jogo marcado? ")}))
        return false;
    games.remove();
    return true;
}
