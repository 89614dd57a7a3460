#pragma once

#include <QString>
#include <QtGlobal>

// A message box's content: the logic decides what to tell or ask the player, the window layer
// decides how to show it. Texts are the program's own, in Portuguese.
struct Message {
    QString title;
    QString text;
    // For a question: Enter answers Yes when the question goes forward (adding, trying again),
    // No when Yes would destroy something.
    bool yesByDefault = false;
    friend bool operator==(const Message&, const Message&) = default;
};

// The player's side of an operation that must tell or ask something while it runs (a generator's
// question after a thousand fruitless attempts, a confirmation). The window answers through
// message boxes; tests answer from a script.
class Prompter {
public:
    virtual ~Prompter() = default;
    // An OK button and the information icon.
    virtual void inform(const Message& m) = 0;
    // Yes and No with the question icon; true for Yes.
    virtual bool ask(const Message& m) = 0;
};

// Feedback of a long run. The run calls `report` now and then; a false answer means the player
// cancelled, and the run ends as if it had been told to stop, keeping what it already did.
class Progress {
public:
    virtual ~Progress() = default;
    // `done` of `total` steps (total 0 when unknown), `games` written or accepted so far.
    virtual bool report(qint64 done, qint64 total, qint64 games) = 0;
};

// For runs nobody watches.
class NoProgress final : public Progress {
public:
    bool report(qint64, qint64, qint64) override { return true; }
};
