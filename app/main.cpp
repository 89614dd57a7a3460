#include "FolderLock.h"
#include "PlayerFolder.h"
#include "ProgramServices.h"
#include "ProgramVersion.h"
#include "QtTranslations.h"
#include "ShutdownSignals.h"
#include "UnitMenu.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quinabel"));
    QApplication::setApplicationVersion(programVersion());
    QApplication::setQuitOnLastWindowClosed(true);
    if (const std::optional<QString> problem = installQtTranslations(app))
        qWarning("%s", qPrintable(*problem));
    // The Brazilian number format is set by the window, before it reads or shows anything.

    // The handlers come first, so that a signal that arrives while the window is still starting
    // (a start-up message box open, say) is honoured as soon as events are processed.
    ShutdownSignals shutdown;

    // The desktop menu starts the program in the player's data folder; a terminal, in its own.
    const StartFolder folder =
        chooseStartFolder(QApplication::arguments(), QDir::homePath(), QDir::currentPath());
    if (!folder.error.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Quinabel"), folder.error);
        return 1;
    }
    QDir::setCurrent(folder.path);

    // One copy per folder, taken before any table is read: a second copy writes nothing.
    FolderLock lock(folder.path);
    if (const FolderLock::Outcome taken = lock.take(); taken != FolderLock::Outcome::Taken) {
        if (taken == FolderLock::Outcome::HeldByOther)
            lock.callHolder();
        const QString text = lock.refusal();
        qWarning("%s", qUtf8Printable(text)); // for a start from a terminal
        if (!ShutdownSignals::requested())
            QMessageBox::information(nullptr, QStringLiteral("Quinabel"), text);
        return taken == FolderLock::Outcome::HeldByOther ? 0 : 1;
    }

    ProgramServices services;
    TFormMenu menu(folder.path, services.menuServices());
    services.attachTo(&menu);
    shutdown.setWindow(&menu);
    // The end of the desktop session ends the program as a termination signal does.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &shutdown,
                     [&shutdown] { shutdown.request(); });

    lock.answerCalls([&menu] {
        if (menu.isMinimized())
            menu.showNormal();
        menu.show();
        menu.raise();
        menu.activateWindow();
    });

    menu.show();
    menu.fitToScreen(); // on a small screen the window scrolls
    return app.exec();
}
