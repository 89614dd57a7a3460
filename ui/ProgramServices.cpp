#include "ProgramServices.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QUrl>

ProgramServices::ProgramServices() = default;
ProgramServices::~ProgramServices() = default;

MenuServices ProgramServices::menuServices() {
    MenuServices s;
    s.messages = &messages_;
    s.randomSeed = [] { return static_cast<quint64>(QDateTime::currentMSecsSinceEpoch()); };
    s.openBrowser = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    return s;
}

void ProgramServices::attachTo(TFormMenu* menu) { messages_.setParent(menu); }
