#include "RunProgress.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProgressDialog>
#include <algorithm>

namespace {
constexpr int kSteps = 1000; // the bar's resolution: done/total may exceed what an int holds
}

RunProgress::RunProgress(QWidget* owner) : RunProgress(owner, Texts{}) {}

RunProgress::RunProgress(QWidget* owner, Texts texts) : owner_(owner), texts_(std::move(texts)) {
    clock_.start();
}

RunProgress::~RunProgress() {
    delete dialog_.data();
}

void RunProgress::open() {
    dialog_ = new QProgressDialog(owner_);
    dialog_->setObjectName(texts_.name);
    dialog_->setWindowTitle(texts_.title);
    dialog_->setCancelButtonText(QStringLiteral("Cancelar"));
    // The dialog is shown and closed by the run, never by the value it reaches.
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    // The window must not take clicks while the run it started is still going.
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumWidth(320);
    dialog_->setRange(0, kSteps);
    dialog_->setValue(0);
    QObject::connect(dialog_, &QProgressDialog::canceled, dialog_, [this] { cancelled_ = true; });
    dialog_->show();
}

bool RunProgress::report(qint64 done, qint64 total, qint64 games) {
    if (ShutdownSignals::requested())
        cancelled_ = true;
    if (cancelled_)
        return false;
    const qint64 now = clock_.elapsed();
    if (!dialog_) {
        if (now < kShowAfterMs)
            return true;
        open();
    } else if (now - lastEvents_ < kEventsEveryMs) {
        return true;
    }
    lastEvents_ = now;
    if (total > 0) {
        dialog_->setRange(0, kSteps);
        dialog_->setValue(static_cast<int>(std::min<qint64>(kSteps, done * kSteps / total)));
    } else {
        dialog_->setRange(0, 0);
    }
    dialog_->setLabelText(texts_.label.arg(QLocale().toString(games)));
    QCoreApplication::processEvents();
    if (ShutdownSignals::requested())
        cancelled_ = true;
    return !cancelled_;
}
