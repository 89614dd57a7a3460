#pragma once

#include "Prompter.h"
#include "ShutdownSignals.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QtGlobal>

class QProgressDialog;
class QWidget;

// The progress of a long generation run, in a dialog over the window with a "Cancelar" button. A
// run that ends within about half a second shows nothing; a longer one shows how far it is and how
// many games it has made, and keeps the dialog responsive by handling pending events now and then.
// Once the player cancels, every report answers false and the run stops, keeping what it made; a
// termination signal or the end of the session cancels it the same way, and the window closes
// only after the run has ended.
class RunProgress final : public Progress {
public:
    static constexpr qint64 kShowAfterMs = 500;
    static constexpr qint64 kEventsEveryMs = 50;

    // What the dialog says: its object name, its title and its text, where "%1" is the count of
    // games reported. The generation's texts unless a run gives its own.
    struct Texts {
        QString name = QStringLiteral("ProgressGera");
        QString title = QStringLiteral("Geração dos jogos");
        QString label = QStringLiteral("Gerando os jogos...\nJogos gerados até agora: %1");
    };

    explicit RunProgress(QWidget* owner);
    RunProgress(QWidget* owner, Texts texts);
    ~RunProgress() override;
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    bool report(qint64 done, qint64 total, qint64 games) override;
    bool cancelled() const { return cancelled_; }

private:
    void open();

    QWidget* owner_;
    Texts texts_;
    QElapsedTimer clock_;
    qint64 lastEvents_ = 0;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
    ShutdownSignals::Busy busy_;
};

// A run whose games are counted before it starts (the count is instant) reports the games written
// against that count, so that the bar shows how much of the work is done; the steps the run
// itself counts (combinations examined) run ahead of the games whenever the filters pass over some.
class GamesWrittenProgress final : public Progress {
public:
    GamesWrittenProgress(Progress& shown, qint64 gamesToWrite) : shown_(shown), total_(gamesToWrite) {}
    bool report(qint64, qint64, qint64 games) override { return shown_.report(games, total_, games); }

private:
    Progress& shown_;
    qint64 total_;
};
