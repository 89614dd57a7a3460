#pragma once

#include <QObject>
#include <functional>

class Table;

// The one place that decides when the player's work goes to disk: when an operation ends. An
// operation is a handler run through TFormMenu::guarded (its end is told by `operationEnded`), or
// anything that changed a watched table or the board outside one (a typed change in a grid, a press
// on the board), which ends when the program is about to wait for the player again. Input that
// arrives while changes are pending commits them before it is delivered, so what the player did is
// on disk before the window takes the next click, even when clicks queue up.
//
// `commit` runs once per ended operation that changed something; a failure it shows is not retried
// until the next change, so a full disk does not bring up one box after another.
class DurableWork : public QObject {
    Q_OBJECT

public:
    explicit DurableWork(std::function<void()> commit, QObject* parent = nullptr);
    ~DurableWork() override;

    // Changes of `t` (rows added, changed, removed, replaced) mark work pending.
    void watch(Table& t);
    // Something the commit writes changed (the board's discarded numbers).
    void changed() { pending_ = true; }

    // Brackets an operation: nothing is committed while one runs (its progress and questions run
    // event loops of their own), and its end commits.
    void operationStarted() { ++depth_; }
    void operationEnded();
    // No more commits (the window is closing and writes everything itself).
    void stop() { stopped_ = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void commitIfPending();

    std::function<void()> commit_;
    int depth_ = 0;
    bool pending_ = false;
    bool committing_ = false;
    bool stopped_ = false;
};
