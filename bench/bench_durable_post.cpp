// Posting a draw into a history of 3,000 draws, durably: the post and the commit that puts it on
// disk (one SQLite transaction, fsync included), at most 10 ms. Reference in the same run: the same
// row inserted by bare SQLite into a copy of the same file with the same journal and synchronous
// settings, i.e. what the disk's syncs cost by themselves.
#include "BenchSupport.h"
#include "Schemas.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {
double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    constexpr int kHistory = 3000;
    constexpr int kPosts = 30;
    {
        Tables t(dir.path());
        t.TableRes.create();
        Table::BulkChange bulk(t.TableRes);
        for (int c = 1; c <= kHistory; ++c) {
            t.TableRes.insert();
            t.TableRes.setInteger(0, c);
            for (int i = 1; i <= 6; ++i)
                t.TableRes.setInteger(i, (c * 7 + i * 11) % 60 + 1);
            t.TableRes.post();
        }
        t.closeAll();
    }
    const QString copy = dir.filePath(QStringLiteral("copy.cds"));
    QFile::copy(dir.filePath(Schemas::kResultsFile), copy);

    Tables t(dir.path());
    rebuildResultsFile(t);
    std::vector<double> posts;
    for (int k = 0; k < kPosts; ++k) {
        QElapsedTimer timer;
        timer.start();
        t.TableRes.insert();
        t.TableRes.setInteger(0, kHistory + 1 + k);
        for (int i = 1; i <= 6; ++i)
            t.TableRes.setInteger(i, i * 9);
        t.TableRes.post(); // "Salva"
        const QStringList failures = t.commitChanges();
        posts.push_back(bench::ms(timer));
        if (!failures.isEmpty())
            return 1;
    }

    std::vector<double> bare;
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(copy).constData(), &db);
    for (int k = 0; k < kPosts; ++k) {
        QElapsedTimer timer;
        timer.start();
        sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; BEGIN IMMEDIATE;", nullptr,
                     nullptr, nullptr);
        const QByteArray ins = "INSERT INTO data (Concurso, d1, d2, d3, d4, d5, d6) VALUES (" +
                               QByteArray::number(kHistory + 1 + k) + ",9,18,27,36,45,54)";
        sqlite3_exec(db, ins.constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        bare.push_back(bench::ms(timer));
    }
    sqlite3_close(db);
    std::printf("durable post of a draw into %d draws: median %.2f ms, worst %.2f ms (limit 10 ms); "
                "reference, bare SQLite insert with the same syncs: median %.2f ms, worst %.2f ms\n",
                kHistory, median(posts), *std::max_element(posts.begin(), posts.end()), median(bare),
                *std::max_element(bare.begin(), bare.end()));
    return 0;
}
