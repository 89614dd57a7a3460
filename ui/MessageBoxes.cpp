#include "MessageBoxes.h"

#include "ShutdownSignals.h"

#include <QMessageBox>

// Once the program is ending (a termination signal, the end of the session) no box opens: a
// question is answered No, as the shutdown answers the one that is open.

void QtMessageBoxes::inform(const Message& m) {
    if (ShutdownSignals::requested())
        return;
    QMessageBox::information(parent_, m.title, m.text, QMessageBox::Ok);
}

bool QtMessageBoxes::ask(const Message& m) {
    if (ShutdownSignals::requested())
        return false;
    return QMessageBox::question(parent_, m.title, m.text, QMessageBox::Yes | QMessageBox::No,
                                 m.yesByDefault ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

void QtMessageBoxes::error(const QString& text) {
    if (ShutdownSignals::requested()) {
        qWarning("%s", qUtf8Printable(text));
        return;
    }
    QMessageBox::critical(parent_, QStringLiteral("Quinabel"), text, QMessageBox::Ok);
}
