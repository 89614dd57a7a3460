#include "BrowserLauncher.h"
#include "MenuFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUrl>

// The help link through the desktop's real opener, xdg-open, which starts the browser the BROWSER
// variable names: the page opens when the browser starts, and the player is told where the page
// is when no browser can show it or the opener itself is missing.
class TestHelpLink : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void linkOpensThePageOrSaysWhereItIs_data();
    void linkOpensThePageOrSaysWhereItIs();
    void missingOpenerSaysWhereThePageIs();
    void missingPageIsSaid();

private:
    QTemporaryDir desktop_;
};

// xdg-open outside a desktop environment: no desktop's own opener and no desktop's default
// applications, so the browser it starts is the one BROWSER names. Offscreen there is no display
// either; under Xvfb (QUINABEL_KEEP_DISPLAY) xdg-open first asks the display's defaults, in vain.
// Nothing of the machine's own settings counts: the test has its own home, its own XDG folders and
// its own (empty) mailcap list, so the system's MIME settings and whatever mailcap entries the
// installed packages added (an HTML viewer through sensible-browser, say) are not asked.
void TestHelpLink::initTestCase() {
    QVERIFY(desktop_.isValid());
    if (qEnvironmentVariableIsSet("QUINABEL_KEEP_DISPLAY")) {
        QVERIFY(qEnvironmentVariableIsSet("DISPLAY"));
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
    } else {
        qunsetenv("DISPLAY");
    }
    for (const char* name :
         {"WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
          "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID"})
        qunsetenv(name);
    qputenv("XDG_DATA_HOME", desktop_.filePath("data").toUtf8());
    qputenv("XDG_DATA_DIRS", desktop_.filePath("data-dirs").toUtf8());
    qputenv("XDG_CONFIG_HOME", desktop_.filePath("config").toUtf8());
    qputenv("XDG_CACHE_HOME", desktop_.filePath("cache").toUtf8());
    qputenv("HOME", desktop_.filePath("home").toUtf8());
    QVERIFY(QDir().mkpath(desktop_.filePath("home")));
    QFile mailcaps(desktop_.filePath("mailcap"));
    QVERIFY(mailcaps.open(QIODevice::WriteOnly));
    mailcaps.close();
    qputenv("MAILCAPS", mailcaps.fileName().toUtf8());
    if (QStandardPaths::findExecutable("xdg-open").isEmpty())
        QFAIL("xdg-open is missing: scripts/install-dependencies.sh installs xdg-utils");
}

void TestHelpLink::linkOpensThePageOrSaysWhereItIs_data() {
    QTest::addColumn<QString>("browserScript");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a browser that starts") << "#!/bin/sh\necho \"$1\" >> \"$0.log\"\n" << true;
    QTest::newRow("a browser that fails") << "#!/bin/sh\necho \"$1\" >> \"$0.log\"\nexit 1\n" << false;
    QTest::newRow("no browser at all") << QString() << false;
}

void TestHelpLink::linkOpensThePageOrSaysWhereItIs() {
    QFETCH(QString, browserScript);
    QFETCH(bool, opens);
    MenuFixture f;
    const QString browser = f.folder.file("browser");
    if (!browserScript.isEmpty()) {
        QFile script(browser);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(browserScript.toUtf8());
        script.close();
        QVERIFY(
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    }
    qputenv("BROWSER", browser.toUtf8());

    BrowserLauncher launcher(&f.messages);
    f.browser = [&launcher](const QString& page) { launcher.open(page); };
    f.start();
    QSignalSpy finished(&launcher, &BrowserLauncher::finished);
    auto* link = f.find<QLabel>("LabelTabela");
    QVERIFY(link->isVisible());
    QTest::mouseClick(link, Qt::LeftButton);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().first().toBool(), opens);

    QCOMPARE(f.openedPages.size(), 1);
    const QString page = f.openedPages.first();
    QVERIFY(QFileInfo(page).isFile());
    if (!browserScript.isEmpty()) {
        // The browser was given the page, as a file address or as a path: which form the opener
        // passes is its own affair (it may try a failing browser more than once).
        QFile log(browser + ".log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList calls = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(!calls.isEmpty());
        for (const QString& call : calls) {
            const QUrl url(call);
            const QString given = url.isLocalFile() ? url.toLocalFile() : call;
            QVERIFY2(QFileInfo(given).canonicalFilePath() == QFileInfo(page).canonicalFilePath(),
                     qPrintable(call));
        }
        if (opens)
            QCOMPARE(calls.size(), 1);
    }
    if (opens) {
        QVERIFY(f.messages.shown().isEmpty());
    } else {
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().first().title, QString("Página do Quinabel"));
        QVERIFY(f.messages.shown().first().text.startsWith("Não foi possível abrir o navegador."));
        QVERIFY(f.messages.shown().first().text.contains(page));
    }
    qunsetenv("BROWSER");
}

void TestHelpLink::missingOpenerSaysWhereThePageIs() {
    ScriptedMessageBoxes messages;
    WorkFolder w;
    BrowserLauncher launcher(&messages, w.file("no-such-opener"));
    QSignalSpy finished(&launcher, &BrowserLauncher::finished);
    launcher.open(w.file("ajuda.html"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(messages.texts(), QStringList{"Não foi possível abrir o navegador.\n\nA página de ajuda do "
                                           "Quinabel está em:\n" +
                                           w.file("ajuda.html") + "\n\nAbra esse arquivo no seu navegador."});
}

void TestHelpLink::missingPageIsSaid() {
    ScriptedMessageBoxes messages;
    BrowserLauncher launcher(&messages);
    QSignalSpy finished(&launcher, &BrowserLauncher::finished);
    launcher.open(QString());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(messages.texts(),
             QStringList{"A página de ajuda do Quinabel não foi encontrada. Reinstale o programa."});
}

QUINABEL_GUI_TEST_MAIN(TestHelpLink)
#include "tst_help_link.moc"
