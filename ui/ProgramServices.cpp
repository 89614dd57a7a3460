#include "ProgramServices.h"

#include "PrintPreview.h"
#include "ReportForms.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QUrl>

ProgramServices::ProgramServices() : previews_(std::make_unique<PrintPreview>()) {}
ProgramServices::~ProgramServices() = default;

MenuServices ProgramServices::menuServices() {
    MenuServices s;
    s.messages = &messages_;
    s.previews = previews_.get();
    s.randomSeed = [] { return static_cast<quint64>(QDateTime::currentMSecsSinceEpoch()); };
    s.openBrowser = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    return s;
}

void ProgramServices::attachTo(TFormMenu* menu) {
    messages_.setParent(menu);
    *previews_ = PrintPreview(menu, &messages_);
    reports_ = std::make_unique<ReportForms>();
    menu->attachReports(reports_.get());
}
