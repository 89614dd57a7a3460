#pragma once

#include "Prompter.h"

#include <QList>
#include <QString>

class QWidget;

// Every message box of the program goes through one of these, so that tests can answer them
// (tests/support/ScriptedMessageBoxes.h).
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
