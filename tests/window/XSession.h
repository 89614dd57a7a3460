#pragma once

#include <QDeadlineTimer>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <csignal>
#include <memory>

// A virtual X display of its own (Xvfb on the first free display number, which the server picks
// itself) with the openbox window manager, and the tools a person's hands stand in for: xdotool
// for the mouse, the keyboard and finding windows by title, wmctrl for closing a window the way
// its title bar's close button does. Every wait polls with a deadline; nothing sleeps blindly.
class XSession {
public:
    ~XSession() { stop(); }

    // Starts the display (of `screen`, "WxHxDepth") and the window manager; answers an empty
    // string or what went wrong.
    QString start(const QString& screen = QStringLiteral("1280x800x24")) {
        xvfb_.setProgram(QStringLiteral("Xvfb"));
        xvfb_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                            QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        xvfb_.setProcessChannelMode(QProcess::SeparateChannels);
        xvfb_.start();
        if (!xvfb_.waitForStarted(10000))
            return QStringLiteral("Xvfb could not be started: ") + xvfb_.errorString();
        QByteArray out;
        const QDeadlineTimer deadline(15000);
        while (!out.contains('\n') && !deadline.hasExpired() && xvfb_.state() == QProcess::Running) {
            xvfb_.waitForReadyRead(100);
            out += xvfb_.readAllStandardOutput();
        }
        bool ok = false;
        const int number = QString::fromLatin1(out).trimmed().toInt(&ok);
        if (!ok)
            return QStringLiteral("Xvfb named no display: ") +
                   QString::fromLocal8Bit(xvfb_.readAllStandardError());
        display_ = QStringLiteral(":%1").arg(number);

        wm_.setProcessEnvironment(environment());
        wm_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!wm_.waitForStarted(10000))
            return QStringLiteral("openbox could not be started: ") + wm_.errorString();
        if (!poll([this] { return run(QStringLiteral("wmctrl"), {QStringLiteral("-m")}).ok; }, 10000))
            return QStringLiteral("the window manager did not come up");
        return {};
    }

    void stop() {
        for (QProcess* p : {&wm_, &xvfb_}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000)) {
                    p->kill();
                    p->waitForFinished(1000);
                }
            }
        }
    }

    const QString& display() const { return display_; }

    // The environment of a program on this display, on the xcb platform.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("XAUTHORITY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("SESSION_MANAGER"));
        return env;
    }

    struct Result {
        bool ok = false;
        QString out;
    };
    Result run(const QString& program, const QStringList& args, int timeoutMs = 10000) const {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(program, args);
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished(1000);
            return {};
        }
        return {p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                QString::fromLocal8Bit(p.readAllStandardOutput())};
    }
    Result xdotool(const QStringList& args) const { return run(QStringLiteral("xdotool"), args); }

    // The visible windows whose title matches `pattern` (an extended regular expression).
    QStringList windows(const QString& pattern) const {
        const Result r = xdotool(
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern});
        return r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Waits for one visible window titled `pattern`; answers its id, empty when none came.
    QString waitForWindow(const QString& pattern, int timeoutMs = 15000) const {
        QString id;
        poll(
            [&] {
                const QStringList w = windows(pattern);
                if (!w.isEmpty())
                    id = w.first();
                return !id.isEmpty();
            },
            timeoutMs);
        return id;
    }
    // True when no window titled `pattern` shows up within `ms`.
    bool staysAbsent(const QString& pattern, int ms) const {
        return !poll([&] { return !windows(pattern).isEmpty(); }, ms);
    }
    bool waitUntilGone(const QString& pattern, int timeoutMs = 10000) const {
        return poll([&] { return windows(pattern).isEmpty(); }, timeoutMs);
    }
    // A window's frame-less geometry on the screen: x, y, width, height (all -1 when unknown).
    QRect geometry(const QString& id) const {
        const Result r = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
        QMap<QString, int> v;
        for (const QString& line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            v.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
        if (!r.ok || !v.contains(QStringLiteral("WIDTH")))
            return QRect(-1, -1, -1, -1);
        return QRect(v.value(QStringLiteral("X")), v.value(QStringLiteral("Y")),
                     v.value(QStringLiteral("WIDTH")), v.value(QStringLiteral("HEIGHT")));
    }
    QString activeWindow() const { return xdotool({QStringLiteral("getactivewindow")}).out.trimmed(); }
    bool activate(const QString& id) const {
        xdotool({QStringLiteral("windowactivate"), id});
        return poll([&] { return activeWindow() == id; }, 5000);
    }

    // A real press and release of the left button at (x, y) inside the window's client area.
    void click(const QString& window, int x, int y) const {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
                 QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
    }
    // Keys pressed on the keyboard, reaching whichever window has the focus ("Return", "ctrl+a").
    void key(const QStringList& keys) const {
        xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} + keys);
    }
    void type(const QString& text) const {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
    }
    // Asks the window manager to close the window, as its title bar's close button does.
    void closeWindow(const QString& id) const {
        run(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), id});
    }

    template <typename F> static bool poll(F done, int timeoutMs) {
        const QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            if (done())
                return true;
            QThread::msleep(40);
        }
        return done();
    }

private:
    QProcess xvfb_;
    QProcess wm_;
    QString display_;
};
