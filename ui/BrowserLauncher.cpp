#include "BrowserLauncher.h"

#include "MessageBoxes.h"

#include <QProcess>
#include <QUrl>
#include <utility>

BrowserLauncher::BrowserLauncher(MessageBoxes* messages, QString opener, QObject* parent)
    : QObject(parent), messages_(messages), opener_(std::move(opener)) {}

BrowserLauncher::~BrowserLauncher() {
    for (QProcess* process : findChildren<QProcess*>())
        process->disconnect(this);
}

void BrowserLauncher::open(const QString& path) {
    if (path.isEmpty()) {
        fail(path);
        return;
    }
    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    // Either signal ends the run once: a failure to start brings no `finished`.
    connect(process, &QProcess::errorOccurred, this, [this, process, path](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        fail(path);
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this, [this, process, path](int code, QProcess::ExitStatus status) {
        const bool opened = status == QProcess::NormalExit && code == 0;
        if (opened)
            emit finished(true);
        else
            fail(path);
        process->deleteLater();
    });
    process->start(opener_, {QUrl::fromLocalFile(path).toString()});
}

void BrowserLauncher::fail(const QString& path) {
    if (messages_) {
        const QString text =
            path.isEmpty()
                ? QStringLiteral("A página de ajuda do Quinabel não foi encontrada. Reinstale o programa.")
                : QStringLiteral("Não foi possível abrir o navegador.\n\nA página de ajuda do Quinabel está "
                                 "em:\n%1\n\nAbra esse arquivo no seu navegador.")
                      .arg(path);
        messages_->inform({QStringLiteral("Página do Quinabel"), text});
    }
    emit finished(false);
}
