// The table store against bare SQLite on a games table of 1,000,000 six-number games: writing it
// (close), loading it (open), memory per row, closing after an append of 10,001 games, and locate
// on a text field.
#include "GameMeasures.h"
#include "RecordStore.h"
#include "Schemas.h"
#include "Table.h"
#include "TableFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <string>

namespace {
constexpr int kGames = 1000000;

long rssKb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// The same rows the table holds: Cartao, Dezenas 6, d1..d6, Pares/Linhas/Abaixo, Todos; the rest NULL.
struct Game {
    double cartao;
    int d[6];
    int pares, linhas, abaixo;
    QByteArray todos;
};

std::vector<Game> makeGames() {
    std::vector<Game> games;
    games.reserve(kGames);
    QRandomGenerator rng(7);
    for (int i = 0; i < kGames; ++i) {
        Game g{};
        g.cartao = i + 1;
        int pool[60];
        for (int k = 0; k < 60; ++k)
            pool[k] = k + 1;
        for (int k = 0; k < 6; ++k)
            std::swap(pool[k], pool[k + static_cast<int>(rng.bounded(60 - k))]);
        std::sort(pool, pool + 6);
        std::copy(pool, pool + 6, g.d);
        const GameMeasures m = MeasureGame(std::span<const int>(g.d, 6));
        g.pares = m.pares;
        g.linhas = m.linhas;
        g.abaixo = m.abaixo;
        g.todos = TodosText(std::span<const int>(g.d, 6)).toLatin1();
        games.push_back(g);
    }
    return games;
}

void fillTable(Table& t, const std::vector<Game>& games, std::size_t from, std::size_t to) {
    const int cartao = t.fieldIndex(u"Cartao"), dezenas = t.fieldIndex(u"Dezenas"),
              pares = t.fieldIndex(u"Pares"), linhas = t.fieldIndex(u"Linhas"),
              abaixo = t.fieldIndex(u"Abaixo"), todos = t.fieldIndex(u"Todos"), d1 = t.fieldIndex(u"d1");
    Table::BulkChange bulk(t);
    for (std::size_t i = from; i < to; ++i) {
        const Game& g = games[i];
        t.insert();
        t.setReal(cartao, g.cartao);
        t.setInteger(dezenas, 6);
        for (int k = 0; k < 6; ++k)
            t.setInteger(d1 + k, g.d[k]);
        t.setInteger(pares, g.pares);
        t.setInteger(linhas, g.linhas);
        t.setInteger(abaixo, g.abaixo);
        t.setText(todos, QString::fromLatin1(g.todos));
        t.post();
    }
}

// The reference: a prepared INSERT per row into the same schema, in one transaction, into a
// fresh file with the same settings the store uses for a whole write, then flushed.
double bareWrite(const QString& path, const std::vector<Game>& games) {
    QFile::remove(path);
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
                 "PRAGMA cache_size=-16384",
                 nullptr, nullptr, nullptr);
    QByteArray create = "CREATE TABLE data (";
    const FieldList fields = Schemas::games();
    for (std::size_t f = 0; f < fields.size(); ++f)
        create +=
            (f ? ", \"" : "\"") + fields[f].name.toUtf8() + "\" " + TableFile::columnType(fields[f]).toUtf8();
    create += ")";
    sqlite3_exec(db, create.constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    QByteArray ins = "INSERT INTO data VALUES (?";
    for (std::size_t f = 1; f < fields.size(); ++f)
        ins += ",?";
    ins += ")";
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, ins.constData(), -1, &s, nullptr);
    for (const Game& g : games) {
        for (int c = 1; c <= static_cast<int>(fields.size()); ++c)
            sqlite3_bind_null(s, c);
        sqlite3_bind_double(s, 1, g.cartao);
        sqlite3_bind_int(s, 3, g.pares);
        sqlite3_bind_int(s, 4, g.linhas);
        sqlite3_bind_int(s, 5, g.abaixo);
        sqlite3_bind_int(s, 6, 6);
        for (int k = 0; k < 6; ++k)
            sqlite3_bind_int(s, 8 + k, g.d[k]);
        sqlite3_bind_text(s, 38, g.todos.constData(), static_cast<int>(g.todos.size()), SQLITE_STATIC);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    FILE* f = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (f) {
        fsync(fileno(f));
        std::fclose(f);
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The reference for loading: step through every row and read every column.
double bareRead(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM data ORDER BY rowid", -1, &s, nullptr);
    long long sum = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int n = sqlite3_column_count(s);
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_INTEGER:
                sum += sqlite3_column_int(s, c);
                break;
            case SQLITE_FLOAT:
                sum += static_cast<long long>(sqlite3_column_double(s, c));
                break;
            case SQLITE_TEXT:
                sum += sqlite3_column_bytes(s, c);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    if (sum == 42)
        std::puts("");
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

template <typename F> double seconds(F&& f) {
    QElapsedTimer timer;
    timer.start();
    f();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<Game> games = makeGames();

    double bestBareWrite = 1e9, bestBareRead = 1e9, bestWrite = 1e9, bestOpen = 1e9;
    long rowBytes = 0;
    double heldBytes = 0;
    for (int round = 0; round < 3; ++round) {
        bestBareWrite = std::min(bestBareWrite, bareWrite(dir.filePath(QStringLiteral("bare.db")), games));
        bestBareRead = std::min(bestBareRead, bareRead(dir.filePath(QStringLiteral("bare.db"))));

        Table t(QStringLiteral("TableCar"), dir.path(), QStringLiteral("Cartelas.cds"));
        t.defineFields(Schemas::games());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        QFile::remove(dir.filePath(QStringLiteral("Cartelas.cds")));
        t.create();
        fillTable(t, games, 0, games.size());
        bestWrite = std::min(bestWrite, seconds([&] {
            t.commitChanges();
            t.close();
        }));

        Table u(QStringLiteral("TableCarImp"), dir.path(), QStringLiteral("Cartelas.cds"));
        u.setIndexFieldNames(QStringLiteral("Cartao"));
        const long before = rssKb();
        bestOpen = std::min(bestOpen, seconds([&] { u.open(); }));
        rowBytes = (rssKb() - before) * 1024 / kGames;
        heldBytes = static_cast<double>(u.memoryBytes()) / kGames;
    }
    std::printf("write 1,000,000 games: table close %.3f s, bare SQLite loop %.3f s (ratio %.2f)\n",
                bestWrite, bestBareWrite, bestWrite / bestBareWrite);
    std::printf("load 1,000,000 games:  table open  %.3f s, bare SQLite loop %.3f s (ratio %.2f)\n", bestOpen,
                bestBareRead, bestOpen / bestBareRead);
    std::printf("memory of the open table: %ld bytes per row\n", rowBytes);
    {
        RecordLayout full;
        full.setFields(Schemas::games());
        std::printf("held by the table (Table::memoryBytes): %.1f bytes per game; reference, a full-width "
                    "record per row plus its place in the order: %zu bytes\n",
                    heldBytes, full.recordSize() + sizeof(quint32));
    }

    // Close after appending 10,001 games to the 1,000,000 already written.
    {
        Table t(QStringLiteral("TableCar"), dir.path(), QStringLiteral("Cartelas.cds"));
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.open();
        std::vector<Game> more(games.begin(), games.begin() + 10001);
        for (std::size_t i = 0; i < more.size(); ++i)
            more[i].cartao = kGames + 1 + static_cast<double>(i);
        fillTable(t, more, 0, more.size());
        const double append = seconds([&] {
            t.commitChanges();
            t.close();
        });
        std::printf("commit after appending 10,001 games: %.4f s = %.1f %% of writing the table whole\n",
                    append, 100.0 * append / bestWrite);

        // locate on Todos: the first call builds the index, then each one is a lookup.
        t.open();
        QRandomGenerator rng(3);
        const int lookups = 200000;
        std::vector<QString> keys;
        for (int i = 0; i < lookups; ++i)
            keys.push_back(QString::fromLatin1(games[static_cast<std::size_t>(rng.bounded(kGames))].todos));
        const int todos = t.fieldIndex(u"Todos");
        const double build = seconds([&] { t.locate(todos, keys[0]); });
        int found = 0;
        const double total = seconds([&] {
            for (const QString& k : keys)
                found += t.locate(todos, k) ? 1 : 0;
        });
        std::printf(
            "locate on Todos over %d rows: %.3f us on average (%d found; first call with the index build "
            "%.3f s)\n",
            t.rowCount(), 1e6 * total / lookups, found, build);
    }
    return 0;
}
