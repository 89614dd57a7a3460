#include "Schemas.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>

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
};

QUINABEL_CORE_TEST_MAIN(ProgramTest)
#include "tst_program.moc"
