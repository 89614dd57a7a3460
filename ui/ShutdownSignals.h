#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

// SIGTERM, SIGINT, SIGHUP and the end of the desktop session end the program the normal way,
// whatever is open: a message box or question is closed as No (or OK) would close it, a print
// preview as its close button does, a running generation stops as its "Cancelar" stops it, and the
// main window then closes, which stores every table; the event loop ends with status 0. While the
// shutdown is pending no new message box opens (a question answers No at once).
//
// The signal handlers only set a flag and write a byte that the event loop reads, so they are
// installed before the window exists: a signal during the start-up is honoured as soon as events
// are processed (a start-up message box runs them).
class ShutdownSignals final : public QObject {
public:
    ShutdownSignals();
    ~ShutdownSignals() override;
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    // The window the shutdown closes; until it is set, a requested shutdown waits for it.
    void setWindow(QWidget* window);
    // Starts the shutdown now (the end of the session uses this; a signal does it through the pipe).
    void request();

    // True once a shutdown was requested, even from inside a signal handler whose byte the event
    // loop has not read yet (a run that processes no socket events still sees it).
    static bool requested();

    // While one exists, the program is inside an operation that must reach its end (a generating
    // run, which stops at its next report once the shutdown is requested); the window closes after.
    class Busy {
    public:
        Busy();
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };

private:
    void closeOpenDialogs();
    void closeWhenIdle();

    QSocketNotifier* notifier_ = nullptr;
    QPointer<QWidget> window_;
    bool closing_ = false;
};
