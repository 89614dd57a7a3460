#include "ShutdownSignals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t signalled = 0;
bool requestedInProcess = false;
int busyOperations = 0;

extern "C" void onShutdownSignal(int) {
    signalled = 1;
    const char b = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &b, 1);
}

constexpr int kRetryMs = 20;

} // namespace

ShutdownSignals::ShutdownSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    struct sigaction sa {};
    sa.sa_handler = onShutdownSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char b;
        [[maybe_unused]] const auto n = ::read(signalPipe[0], &b, 1);
        request();
    });
}

ShutdownSignals::~ShutdownSignals() {
    if (notifier_) {
        struct sigaction sa {};
        sa.sa_handler = SIG_DFL;
        sigemptyset(&sa.sa_mask);
        for (const int sig : {SIGTERM, SIGINT, SIGHUP})
            sigaction(sig, &sa, nullptr);
    }
}

void ShutdownSignals::setWindow(QWidget* window) {
    window_ = window;
}

bool ShutdownSignals::requested() {
    return requestedInProcess || signalled != 0;
}

void ShutdownSignals::request() {
    requestedInProcess = true;
    closeOpenDialogs();
    if (!closing_) {
        closing_ = true;
        QTimer::singleShot(0, this, [this] { closeWhenIdle(); });
    }
}

void ShutdownSignals::closeOpenDialogs() {
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w == window_.data())
            continue;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            QAbstractButton* answer = box->button(QMessageBox::No);
            if (!answer)
                answer = box->button(QMessageBox::Cancel);
            if (!answer)
                answer = box->button(QMessageBox::Ok);
            if (answer)
                answer->click();
            else
                box->reject();
        } else if (auto* progress = qobject_cast<QProgressDialog*>(w)) {
            progress->cancel();
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->reject();
        }
    }
}

// The window closes from the outermost event loop only, once no run is under way: closing it from
// inside a dialog's loop or a run's event processing would take the tables from under them.
void ShutdownSignals::closeWhenIdle() {
    QWidget* window = window_.data();
    if (window == nullptr || busyOperations > 0 || QThread::currentThread()->loopLevel() > 1) {
        closeOpenDialogs();
        QTimer::singleShot(kRetryMs, this, [this] { closeWhenIdle(); });
        return;
    }
    if (window->isVisible())
        window->close();
    else
        QCoreApplication::quit();
}

ShutdownSignals::Busy::Busy() {
    ++busyOperations;
}

ShutdownSignals::Busy::~Busy() {
    --busyOperations;
}
