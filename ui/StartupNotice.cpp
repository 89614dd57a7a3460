#include "StartupNotice.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

StartupNotice::StartupNotice() {
    label_ = new QLabel;
    label_->setObjectName(QStringLiteral("StartupNotice"));
    label_->setWindowTitle(QStringLiteral("Quinabel - carregando"));
    label_->setWindowFlag(Qt::WindowStaysOnTopHint);
    label_->setAttribute(Qt::WA_ShowWithoutActivating);
    label_->setAlignment(Qt::AlignCenter);
    label_->setMargin(18);
    label_->setMinimumWidth(320);
    say(QStringLiteral("Abrindo os arquivos..."));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        label_->move(screen->availableGeometry().center() - QPoint(160, 40));
    label_->show();
}

StartupNotice::~StartupNotice() {
    delete label_.data();
}

void StartupNotice::say(const QString& step) {
    if (!label_)
        return;
    label_->setText(QStringLiteral("Quinabel\n\nCarregando os dados do jogador.\n") + step);
    // Painted now: the steps that follow keep the event loop waiting.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
