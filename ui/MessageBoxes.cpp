#include "MessageBoxes.h"

#include <QMessageBox>

void QtMessageBoxes::inform(const Message& m) {
    QMessageBox::information(parent_, m.title, m.text, QMessageBox::Ok);
}

bool QtMessageBoxes::ask(const Message& m) {
    return QMessageBox::question(parent_, m.title, m.text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void QtMessageBoxes::error(const QString& text) {
    QMessageBox::critical(parent_, QStringLiteral("Quinabel"), text, QMessageBox::Ok);
}
