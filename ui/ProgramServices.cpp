#include "ProgramServices.h"

#include "BrowserLauncher.h"
#include "PrintPreview.h"
#include "ReportForms.h"
#include "RunProgress.h"

#include <QDateTime>

ProgramServices::ProgramServices()
    : previews_(std::make_unique<PrintPreview>()), browser_(std::make_unique<BrowserLauncher>(&messages_)) {}
ProgramServices::~ProgramServices() = default;

MenuServices ProgramServices::menuServices() {
    MenuServices s;
    s.messages = &messages_;
    s.previews = previews_.get();
    s.randomSeed = [] { return static_cast<quint64>(QDateTime::currentMSecsSinceEpoch()); };
    s.openBrowser = [this](const QString& path) { browser_->open(path); };
    return s;
}

void ProgramServices::attachTo(TFormMenu* menu) {
    messages_.setParent(menu);
    *previews_ = PrintPreview(menu, &messages_);
    // Laying out or printing thousands of slips takes seconds: the window's progress dialog shows.
    previews_->setProgress([menu](const QString& title, const QString& label) -> std::unique_ptr<Progress> {
        return std::make_unique<RunProgress>(menu,
                                             RunProgress::Texts{QStringLiteral("ProgressImp"), title, label});
    });
    reports_ = std::make_unique<ReportForms>();
    menu->attachReports(reports_.get());
}
