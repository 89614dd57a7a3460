#include "FolderLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>
#include <unistd.h>

namespace {
// What a later copy sends, and what the holder answers once its window is forward.
constexpr char kComeForward[] = "frente\n";
constexpr char kDone[] = "ok\n";
} // namespace

FolderLock::FolderLock(const QString& folder, QObject* parent) : QObject(parent), folder_(folder) {}

FolderLock::~FolderLock() {
    if (server_)
        server_->close();
    if (lock_)
        lock_->unlock();
}

FolderLock::Outcome FolderLock::take() {
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(fileName()));
    // Never stale by age: a copy may stay open for days. A lock whose process is gone (killed,
    // crashed, a reused process id of another program) is stale and taken over at once.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Outcome::Taken;
    if (lock_->error() == QLockFile::LockFailedError) {
        QString app;
        if (!lock_->getLockInfo(&holderPid_, &holderHost_, &app)) {
            holderPid_ = 0;
            holderHost_.clear();
        }
        return Outcome::HeldByOther;
    }
    failure_ = lock_->error() == QLockFile::PermissionError
                   ? QStringLiteral("a pasta não permite gravar")
                   : QStringLiteral("o sistema não deixou criar o arquivo");
    return Outcome::Failed;
}

QString FolderLock::refusal() const {
    const QString where = QDir::toNativeSeparators(QFileInfo(folder_).absoluteFilePath());
    if (!failure_.isEmpty())
        return QStringLiteral("O Quinabel não pode usar a pasta \"%1\": %2. Os seus dados não foram "
                              "alterados.")
            .arg(where, failure_);
    QString holder;
    if (holderPid_ > 0) {
        holder = QStringLiteral(" (processo %1").arg(holderPid_);
        if (!holderHost_.isEmpty() && holderHost_ != QSysInfo::machineHostName())
            holder += QStringLiteral(" no computador \"%1\"").arg(holderHost_);
        holder += QStringLiteral(")");
    }
    if (answered_)
        return QStringLiteral("O Quinabel já está aberto na pasta \"%1\"%2; a janela dele foi trazida para "
                              "a frente.\nEsta cópia fecha sem gravar nada.")
            .arg(where, holder);
    return QStringLiteral("O Quinabel já está aberto na pasta \"%1\"%2.\nUse a janela que já está aberta: "
                          "esta cópia fecha sem gravar nada.")
        .arg(where, holder);
}

QString FolderLock::serverName() const {
    // One name per folder and user; the socket lives in the system's temporary folder, never in
    // the data folder.
    const QByteArray key = QFile::encodeName(QFileInfo(folder_).canonicalFilePath());
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("quinabel-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool FolderLock::callHolder(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kComeForward);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    socket.disconnectFromServer();
    answered_ = reply == kDone;
    return answered_;
}

void FolderLock::answerCalls(std::function<void()> comeForward) {
    comeForward_ = std::move(comeForward);
    if (server_)
        return;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a copy that was killed would refuse the name; the folder is ours now.
    QLocalServer::removeServer(serverName());
    if (!server_->listen(serverName())) {
        qWarning("%s", qUtf8Printable(server_->errorString()));
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (!s->canReadLine())
                    return;
                s->readAll();
                if (comeForward_)
                    comeForward_();
                s->write(kDone);
                s->flush();
            });
        }
    });
}
