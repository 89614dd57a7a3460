#pragma once

#include "MessageBoxes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

// For tests: records every box it is asked to show and answers questions from a script. A
// question with nothing scripted left is answered No and recorded, so a test notices it.
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        Icon icon;
        QString title;
        QString text;
        bool yesNo;
        bool yesByDefault = false; // what Enter would answer
    };

    void answer(std::initializer_list<bool> yesNo) { answers_.append(QList<bool>(yesNo)); }
    void inform(const Message& m) override { shown_.append({Icon::Information, m.title, m.text, false}); }
    bool ask(const Message& m) override {
        shown_.append({Icon::Question, m.title, m.text, true, m.yesByDefault});
        return answers_.isEmpty() ? false : answers_.takeFirst();
    }
    void error(const QString& text) override { shown_.append({Icon::Critical, QString(), text, false}); }

    const QList<Shown>& shown() const { return shown_; }
    int unanswered() const { return static_cast<int>(answers_.size()); }
    QStringList texts() const {
        QStringList t;
        for (const Shown& s : shown_)
            t << s.text;
        return t;
    }
    void clear() {
        shown_.clear();
        answers_.clear();
    }

private:
    QList<Shown> shown_;
    QList<bool> answers_;
};
