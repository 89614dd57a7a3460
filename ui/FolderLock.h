#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

// One copy of the program per data folder. The copy that starts first takes a lock file in the
// folder before it reads any table and keeps it until it ends; a second copy on the same folder
// finds it taken, writes nothing, asks the first copy (through a local socket named after the
// folder) to bring its window forward, and tells the player where Quinabel is already open. The
// lock knows the process that holds it: a lock left by a copy that was killed or crashed is taken
// over at the next start without a question.
class FolderLock final : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Taken,       // this copy holds the folder
        HeldByOther, // another running copy holds it; this one must end without writing
        Failed,      // the lock file cannot be made (a folder that cannot be written)
    };

    // The lock file, hidden in the data folder.
    static QString fileName() { return QStringLiteral(".Quinabel.lock"); }

    explicit FolderLock(const QString& folder, QObject* parent = nullptr);
    ~FolderLock() override;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    Outcome take();
    // After HeldByOther or Failed: what the player is told, in Portuguese (saying whether the
    // holder's window came forward).
    QString refusal() const;

    // After HeldByOther: asks the copy that holds the folder to bring its window forward; true when
    // it answered. Nothing is written in the folder.
    bool callHolder(int timeoutMs = 2000);
    // After Taken: later copies that call are answered by `comeForward`.
    void answerCalls(std::function<void()> comeForward);

private:
    QString serverName() const;

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<void()> comeForward_;
    qint64 holderPid_ = 0;
    QString holderHost_;
    QString failure_;
    bool answered_ = false;
};
