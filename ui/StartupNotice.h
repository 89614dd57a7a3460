#pragma once

#include <QPointer>
#include <QString>

class QLabel;

// A small window that says what the start-up is loading, shown at once, before the first file is
// read, so that a start that reads millions of games is never a silent wait; it closes when the
// main window is ready.
class StartupNotice {
public:
    StartupNotice();
    ~StartupNotice();
    StartupNotice(const StartupNotice&) = delete;
    StartupNotice& operator=(const StartupNotice&) = delete;

    // Shows the step now being done ("Lendo os jogos...").
    void say(const QString& step);

private:
    QPointer<QLabel> label_;
};
