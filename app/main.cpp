#include "MessageBoxes.h"
#include "PlayerFolder.h"
#include "ProgramServices.h"
#include "QtTranslations.h"
#include "UnitMenu.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// SIGTERM and SIGINT close the main window the normal way, so every table is stored; the signal
// handler only writes a byte that the event loop reads.
int signalPipe[2] = {-1, -1};
extern "C" void onSignal(int) {
    const char b = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &b, 1);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quinabel"));
    QApplication::setApplicationVersion(QStringLiteral("2.1"));
    QApplication::setQuitOnLastWindowClosed(true);
    if (const std::optional<QString> problem = installQtTranslations(app))
        qWarning("%s", qPrintable(*problem));

    // The handlers come first, so that a signal that arrives while the window is still starting
    // waits in the pipe and closes it as soon as the event loop runs.
    const bool signalsHandled = ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0;
    if (signalsHandled) {
        struct sigaction sa {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
        sigaction(SIGHUP, &sa, nullptr);
    }

    // The desktop menu starts the program in the player's data folder; a terminal, in its own.
    const StartFolder folder =
        chooseStartFolder(QApplication::arguments(), QDir::homePath(), QDir::currentPath());
    if (!folder.error.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Quinabel"), folder.error);
        return 1;
    }
    QDir::setCurrent(folder.path);

    ProgramServices services;
    TFormMenu menu(folder.path, services.menuServices());
    services.attachTo(&menu);

    if (signalsHandled) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &menu);
        QObject::connect(notifier, &QSocketNotifier::activated, &menu, [&menu] {
            char b;
            [[maybe_unused]] const auto n = ::read(signalPipe[0], &b, 1);
            menu.close();
        });
    }
    // The end of the desktop session closes the window the normal way too.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &menu, [&menu] { menu.close(); });

    menu.show();
    return app.exec();
}
