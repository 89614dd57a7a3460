#include "Schemas.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QThread>
#include <csignal>

namespace {

QProcess* startProgram(const QString& folder, QObject* parent) {
    auto* program = new QProcess(parent);
    program->setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program->setProcessEnvironment(env);
    program->start(QStringLiteral(QUINABEL_PROGRAM), {});
    return program;
}

// The process that holds the folder's lock, or 0.
qint64 lockHolder(const QString& folder) {
    QLockFile lock(folder + "/.Quinabel.lock");
    qint64 pid = 0;
    QString host, app;
    return lock.getLockInfo(&pid, &host, &app) ? pid : 0;
}

// Every file of the folder, hidden ones too, with a digest of its content.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            files[name] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        else
            files[name] = "unreadable";
    }
    return files;
}

void writeOneDraw(const QString& folder) {
    Tables t(folder);
    t.TableRes.create();
    t.TableRes.insert();
    const int values[7] = {1, 2, 4, 6, 31, 33, 60};
    for (int i = 0; i < 7; ++i)
        t.TableRes.setInteger(i, values[i]);
    t.TableRes.post();
    QVERIFY(t.closeAll().isEmpty());
}

} // namespace

// The program as the system runs it: in its working folder, ended by a signal or by the end of
// the session, it closes the normal way and stores its tables.
class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void signalsCloseTheWindowTheNormalWay_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalsCloseTheWindowTheNormalWay() {
        QFETCH(int, signal);
        WorkFolder w;
        {
            // A draw whose derived counts the start-up fills in; they reach the file at shutdown.
            Tables t(w.path());
            t.TableRes.create();
            t.TableRes.insert();
            const int values[7] = {1, 2, 4, 6, 31, 33, 60};
            for (int i = 0; i < 7; ++i)
                t.TableRes.setInteger(i, values[i]);
            t.TableRes.post();
            QVERIFY(t.closeAll().isEmpty());
        }
        QProcess program;
        program.setWorkingDirectory(w.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        const auto before =
            QFileInfo(w.file(Schemas::kResultsFile)).fileTime(QFileDevice::FileModificationTime);
        QThread::msleep(20);
        program.start(QStringLiteral(QUINABEL_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        // The start-up rebuilds the results file first; the statistics it computes after that exist
        // in memory only until the window closes.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo(w.file(Schemas::kResultsFile)).fileTime(QFileDevice::FileModificationTime) != before,
            30000);
        ::kill(static_cast<pid_t>(program.processId()), signal);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);

        Tables t(w.path());
        t.TableRes.open();
        QCOMPARE(t.TableRes.integer(u"pares"), 4);
        QVERIFY(QFile::exists(w.file(Schemas::kWeightsFile)));
    }

    // The desktop entry starts the program with --pasta-do-jogador from wherever the desktop
    // stands: it makes ~/Quinabel on first use and keeps every table file there.
    void desktopEntryStartsInThePlayersFolder() {
        WorkFolder home;
        WorkFolder elsewhere;
        QProcess program;
        program.setWorkingDirectory(elsewhere.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home.path());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUINABEL_PROGRAM), {"--pasta-do-jogador"});
        QVERIFY(program.waitForStarted());
        const QString folder = home.file("Quinabel");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(folder).isDir(), 30000);
        // The first start computes the weights; they reach their file when the window closes.
        QThread::msleep(1500);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(QFile::exists(folder + "/" + Schemas::kWeightsFile));
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }

    // A second copy on a folder that a running copy holds changes nothing in it, tells the player
    // where Quinabel is open, and ends with status 0 once the player has read it (the termination
    // signal closes its message box as OK does). The first copy goes on and stores its tables.
    void secondCopyOnTheSameFolderIsRefused() {
        WorkFolder w;
        writeOneDraw(w.path());
        QProcess* first = startProgram(w.path(), this);
        QVERIFY(first->waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(w.path()), first->processId(), 30000);
        // The start-up's work is on disk once the weights file exists.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(w.file(Schemas::kWeightsFile)), 30000);
        QThread::msleep(500);
        const auto before = snapshot(w.path());

        QProcess* second = startProgram(w.path(), this);
        QVERIFY(second->waitForStarted());
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += second->readAllStandardError()).contains("já está aberto"), 30000);
        const QString text = QString::fromUtf8(said);
        QVERIFY2(text.contains(QDir::toNativeSeparators(QFileInfo(w.path()).absoluteFilePath())),
                 qPrintable(text));
        QVERIFY2(text.contains(QString::number(first->processId())), qPrintable(text));
        // The first copy answered the call to bring its window forward.
        QVERIFY2(text.contains("trazida para a frente"), qPrintable(text));
        QCOMPARE(second->state(), QProcess::Running); // waiting for the player to read the message
        ::kill(static_cast<pid_t>(second->processId()), SIGTERM);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(snapshot(w.path()), before);
        QCOMPARE(lockHolder(w.path()), first->processId());

        ::kill(static_cast<pid_t>(first->processId()), SIGTERM);
        QVERIFY(first->waitForFinished(10000));
        QCOMPARE(first->exitCode(), 0);
        QVERIFY(!QFile::exists(w.file(".Quinabel.lock")));
        Tables t(w.path());
        t.TableRes.open();
        QCOMPARE(t.TableRes.integer(u"pares"), 4);
    }

    // A copy killed outright leaves its lock file behind; the next start takes it over without a
    // word, since the process it names is gone.
    void lockOfAKilledCopyDoesNotStopTheNextStart() {
        WorkFolder w;
        writeOneDraw(w.path());
        QProcess* killed = startProgram(w.path(), this);
        QVERIFY(killed->waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(w.path()), killed->processId(), 30000);
        ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
        QVERIFY(killed->waitForFinished(10000));
        QVERIFY(QFile::exists(w.file(".Quinabel.lock")));

        QProcess* next = startProgram(w.path(), this);
        QVERIFY(next->waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(w.path()), next->processId(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(w.file(Schemas::kWeightsFile)), 30000);
        QCOMPARE(next->state(), QProcess::Running);
        QVERIFY(!QString::fromUtf8(next->readAllStandardError()).contains("já está aberto"));
        ::kill(static_cast<pid_t>(next->processId()), SIGTERM);
        QVERIFY(next->waitForFinished(10000));
        QCOMPARE(next->exitStatus(), QProcess::NormalExit);
        QCOMPARE(next->exitCode(), 0);
        Tables t(w.path());
        t.TableRes.open();
        QCOMPARE(t.TableRes.integer(u"pares"), 4);
    }
};

QUINABEL_CORE_TEST_MAIN(ProgramTest)
#include "tst_program.moc"
