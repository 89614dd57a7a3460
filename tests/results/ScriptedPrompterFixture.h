#pragma once

#include "Prompter.h"

#include <QList>

// Answers questions from a script, in order, and keeps every message it was shown. A question
// beyond the script is answered No.
class ScriptedPrompter final : public Prompter {
public:
    explicit ScriptedPrompter(QList<bool> answers = {}) : answers_(std::move(answers)) {}

    void inform(const Message& m) override { informed << m; }
    bool ask(const Message& m) override {
        asked << m;
        return answers_.isEmpty() ? false : answers_.takeFirst();
    }

    QList<Message> informed;
    QList<Message> asked;

private:
    QList<bool> answers_;
};
