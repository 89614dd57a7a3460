// Start-up of the main window in a folder whose games file holds 1,000,000 games and whose results
// hold the real draw history (when the test data is there): from creating the window to the
// window shown. The reference is loading the same games file alone in the same run.
#include "FolderLock.h"
#include "GameMeasures.h"
#include "ScriptedMessageBoxes.h"
#include "Schemas.h"
#include "Tables.h"
#include "UnitMenu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {
void makeFolder(const QString& folder) {
    Tables t(folder);
    Table& car = t.TableCar;
    car.create();
    const int cartao = car.fieldIndex(u"Cartao"), dezenas = car.fieldIndex(u"Dezenas"),
              d1 = car.fieldIndex(u"d1"), pares = car.fieldIndex(u"Pares"),
              linhas = car.fieldIndex(u"Linhas"), abaixo = car.fieldIndex(u"Abaixo");
    QRandomGenerator rng(11);
    {
        Table::BulkChange bulk(car);
        for (int i = 1; i <= 1000000; ++i) {
            int g[6];
            for (int k = 0; k < 6; ++k)
                g[k] = 1 + static_cast<int>(rng.bounded(10)) + 10 * k; // one number per row of ten
            const GameMeasures m = MeasureGame(std::span<const int>(g, 6));
            car.insert();
            car.setReal(cartao, i);
            car.setInteger(dezenas, 6);
            for (int k = 0; k < 6; ++k)
                car.setInteger(d1 + k, g[k]);
            car.setInteger(pares, m.pares);
            car.setInteger(linhas, m.linhas);
            car.setInteger(abaixo, m.abaixo);
            car.post();
        }
    }
    QFile json(QStringLiteral(QUINABEL_BENCH_DATA "/megasena-draws.json"));
    if (json.open(QIODevice::ReadOnly)) {
        const QJsonObject draws = QJsonDocument::fromJson(json.readAll()).object();
        Table& res = t.TableRes;
        res.create();
        Table::BulkChange bulk(res);
        for (auto it = draws.begin(); it != draws.end(); ++it) {
            res.insert();
            res.setInteger(0, it.key().toInt());
            const QJsonArray numbers = it.value().toArray();
            for (int k = 0; k < 6; ++k)
                res.setText(k + 1, numbers.at(k).toString());
            res.post();
        }
    }
    t.TableDes.create();
    t.TableDes.insert();
    t.TableDes.setInteger(0, 13);
    t.TableDes.post();
    t.closeAll();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    makeFolder(dir.path());

    double best = 1e9, bestLoad = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer load;
        load.start();
        {
            Table games(QStringLiteral("TableCar"), dir.path(), Schemas::kGamesFile);
            games.open();
        }
        bestLoad = std::min(bestLoad, static_cast<double>(load.nsecsElapsed()) / 1e9);

        ScriptedMessageBoxes messages;
        MenuServices services;
        services.messages = &messages;
        QElapsedTimer timer;
        timer.start();
        // As the program starts: the folder's lock first, then the window.
        FolderLock lock(dir.path());
        if (lock.take() != FolderLock::Outcome::Taken)
            std::printf("lock refused: %s\n", qPrintable(lock.refusal()));
        auto* menu = new TFormMenu(dir.path(), services);
        lock.answerCalls([menu] { menu->raise(); });
        menu->show();
        QApplication::processEvents();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (!messages.shown().isEmpty())
            std::printf("message: %s\n", qPrintable(messages.shown().first().text));
        delete menu;
    }
    std::printf(
        "start-up with 1,000,000 games and the folder's lock: window shown in %.3f s (loading the games file alone: %.3f s)\n",
        best, bestLoad);
    return 0;
}
