#pragma once

#include "Prompter.h"

#include <QList>
#include <QString>

class QWidget;

// Every message box of the program goes through one of these, so that tests can answer them.
// The window's own failures (a table that cannot be read or written) are shown with `error`.
class MessageBoxes : public Prompter {
public:
    enum class Icon { Information, Question, Warning, Critical };
    // Shows a table layer failure or a file error; the operation that failed has stopped.
    virtual void error(const QString& text) = 0;
};

// The real thing: modal QMessageBox dialogs over the main window.
class QtMessageBoxes final : public MessageBoxes {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void inform(const Message& m) override;
    bool ask(const Message& m) override;
    void error(const QString& text) override;

private:
    QWidget* parent_ = nullptr;
};

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
