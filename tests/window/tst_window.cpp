#include "Schemas.h"
#include "Tables.h"
#include "TestSupport.h"
#include "XSession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <csignal>

// The real program on a real (virtual) display, driven as a person drives it: typing, pressing
// Enter, clicking controls and grid rows, switching to another application and back, closing the
// window from its title bar, and ending the program by a signal. Afterwards the table files say
// what was stored. Positions are those of the window's own layout (it opens at the top-left corner
// with a fixed size), relative to its client area.
namespace {

constexpr auto kMainTitle = "^Quinabel - Vers";
constexpr auto kRangeTitle = "^Valor das dezenas$";
constexpr auto kAddDrawTitle = "^Inclus"; // "Inclusão de concurso"
constexpr auto kIncompleteTitle = "^Concurso incompleto$";

struct At {
    int x, y;
};
constexpr At kButtonGera{433, 41};
constexpr At kButtonImp{433, 81};
constexpr At kRBCart{60, 412};
constexpr At kButtonRes{433, 121};
constexpr At kButtonIns{433, 241};
constexpr At kEditConc{115, 417};
constexpr At kButtonSalva{64, 526};
constexpr At kGridResFirstRow{650, 362};
constexpr At kRBAlea{40, 390};
constexpr At kEditDezJogo{160, 433};
constexpr At kEditQuant{393, 433};
constexpr At kButtonOKAlea{73, 501};
At drawField(int n) { // DBEdit1 .. DBEdit6
    return {99 + 42 * (n - 1), 447};
}

// `count` games of six numbers, as a long combination run leaves them.
void seedGames(const QString& folder, int count) {
    Tables t(folder);
    Table& car = t.TableCar;
    car.defineFields(Schemas::games());
    car.setIndexFieldNames(QStringLiteral("Cartao"));
    car.create();
    const Table::BulkChange bulk(car);
    const int cartao = car.fieldIndex(u"Cartao");
    const int dezenas = car.fieldIndex(u"Dezenas");
    for (int g = 0; g < count; ++g) {
        car.insert();
        car.setReal(cartao, g + 1);
        car.setInteger(dezenas, 6);
        for (int i = 0; i < 6; ++i)
            car.setInteger(car.fieldIndex(QStringLiteral("d%1").arg(i + 1)), 1 + (g + 7 * i) % 60);
        car.post();
    }
    QVERIFY(t.closeAll().isEmpty());
}

QString program() {
    const QByteArray other = qgetenv("QUINABEL_PROGRAM_UNDER_TEST");
    return other.isEmpty() ? QStringLiteral(QUINABEL_PROGRAM) : QString::fromLocal8Bit(other);
}

void seedDraws(const QString& folder, const QList<QList<int>>& draws) {
    Tables t(folder);
    Table& res = t.TableRes;
    res.defineFields(Schemas::results());
    res.setIndexFieldNames(QStringLiteral("Concurso"));
    res.create();
    for (const QList<int>& d : draws) {
        res.insert();
        for (int i = 0; i < d.size(); ++i)
            res.setInteger(i, d[i]);
        res.post();
    }
    QVERIFY(t.closeAll().isEmpty());
}

// Concurso followed by d1..d6 of every stored draw, in Concurso order; "-" for an empty number.
QStringList storedDraws(const QString& folder) {
    Tables t(folder);
    t.TableRes.open();
    QStringList out;
    for (int r = 0; r < t.TableRes.rowCount(); ++r) {
        QStringList row;
        for (int i = 0; i < 7; ++i) {
            const QString v = t.TableRes.rowAt(r).text(i);
            row << (v.isEmpty() ? QStringLiteral("-") : v);
        }
        out << row.join(QLatin1Char(' '));
    }
    t.closeAll();
    return out;
}

const QList<QList<int>> kThreeDraws{
    {2498, 1, 2, 3, 4, 5, 6}, {2499, 7, 8, 9, 10, 11, 12}, {2500, 13, 14, 15, 16, 17, 18}};
const QStringList kThreeStored{QStringLiteral("2498 1 2 3 4 5 6"), QStringLiteral("2499 7 8 9 10 11 12"),
                               QStringLiteral("2500 13 14 15 16 17 18")};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    XSession x_;
    std::unique_ptr<QProcess> quinabel_;
    QString main_;

    void click(At at) const { x_.click(main_, at.x, at.y); }

    // Starts the program in `folder` and waits for its main window (when `waitForMain`).
    bool startProgram(const QString& folder, bool waitForMain = true) {
        quinabel_ = std::make_unique<QProcess>();
        quinabel_->setProcessEnvironment(x_.environment());
        quinabel_->setWorkingDirectory(folder);
        quinabel_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        quinabel_->start(program(), {});
        if (!quinabel_->waitForStarted(10000))
            return false;
        if (!waitForMain)
            return true;
        main_ = x_.waitForWindow(QString::fromLatin1(kMainTitle), 20000);
        return !main_.isEmpty() && x_.activate(main_);
    }
    // True when the program ended on its own within `ms`, with status 0.
    bool endsCleanly(int ms) {
        if (!quinabel_->waitForFinished(ms)) {
            quinabel_->kill();
            quinabel_->waitForFinished(2000);
            return false;
        }
        return quinabel_->exitStatus() == QProcess::NormalExit && quinabel_->exitCode() == 0;
    }
    void signal(int sig) const { ::kill(static_cast<pid_t>(quinabel_->processId()), sig); }
    // Waits for the dialog titled `pattern` and answers it with Enter.
    bool answerWithEnter(const char* pattern) {
        if (x_.waitForWindow(QString::fromLatin1(pattern), 10000).isEmpty())
            return false;
        x_.key({QStringLiteral("Return")});
        return x_.waitUntilGone(QString::fromLatin1(pattern));
    }

    // Waits for the question titled `pattern` and answers Yes (its default button is No).
    bool answerYes(const char* pattern) {
        if (x_.waitForWindow(QString::fromLatin1(pattern), 10000).isEmpty())
            return false;
        x_.key({QStringLiteral("shift+Tab"), QStringLiteral("space")});
        return x_.waitUntilGone(QString::fromLatin1(pattern));
    }

private slots:
    void initTestCase() {
        const QString failure = x_.start();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
    void cleanup() {
        if (QTest::currentTestFailed()) {
            // What the screen showed, for whoever reads the failure (when ImageMagick is there).
            const QString shot = QDir::temp().filePath(
                QStringLiteral("tst_window-%1.png").arg(QString::fromLatin1(QTest::currentTestFunction())));
            if (x_.run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot})
                    .ok)
                qInfo("screenshot: %s", qPrintable(shot));
        }
        if (quinabel_ && quinabel_->state() != QProcess::NotRunning) {
            quinabel_->kill();
            quinabel_->waitForFinished(2000);
        }
        quinabel_.reset();
    }
    void cleanupTestCase() { x_.stop(); }

    // The first draw of an empty folder: one question, no number check behind it; leaving the
    // window for another application, or a field's context menu, checks nothing; closing the window
    // with the focus in a number field stores the draw without a word.
    void firstDrawAsksOneQuestionAndLeavingTheWindowChecksNothing() {
        WorkFolder w;
        QVERIFY(startProgram(w.path()));
        click(kButtonIns);
        click(kEditConc);
        x_.type(QStringLiteral("2789"));
        x_.key({QStringLiteral("Return")});
        QVERIFY(!x_.waitForWindow(QString::fromLatin1(kAddDrawTitle)).isEmpty());
        QVERIFY2(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 700),
                 "a number check stacked on the question");
        QVERIFY(answerWithEnter(kAddDrawTitle)); // Enter goes forward: the draw is added

        // Another application takes the focus while DBEdit1 is still empty.
        QProcess other;
        other.setProcessEnvironment(x_.environment());
        other.start(QStringLiteral("xlogo"), {});
        QVERIFY(other.waitForStarted());
        const QString logo = x_.waitForWindow(QStringLiteral("^xlogo$"));
        QVERIFY(!logo.isEmpty());
        QVERIFY(x_.activate(logo));
        QVERIFY2(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 800),
                 "leaving the window ran a number check");
        QVERIFY(x_.activate(main_));
        QVERIFY(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 300));
        // The field's own context menu is no leaving of the field either.
        x_.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), main_,
                    QString::number(drawField(1).x), QString::number(drawField(1).y), QStringLiteral("click"),
                    QStringLiteral("3")});
        QVERIFY2(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 600), "a context menu ran a number check");
        x_.key({QStringLiteral("Escape")});
        other.terminate();
        other.waitForFinished(3000);

        QVERIFY(x_.activate(main_));
        click(drawField(1));
        for (const char* n : {"4", "8", "15", "16", "23"}) {
            x_.type(QString::fromLatin1(n));
            x_.key({QStringLiteral("Return")});
        }
        x_.type(QStringLiteral("42"));
        QVERIFY(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 300));
        x_.closeWindow(main_); // the focus is still in DBEdit6
        QVERIFY2(endsCleanly(5000), "the window did not close");
        QCOMPARE(storedDraws(w.path()), QStringList{QStringLiteral("2789 4 8 15 16 23 42")});
    }

    // A number the check refused stays out of the table: a click on another draw of the grid
    // neither moves the selection nor posts it, "Salva" does not store it, nor does the close.
    void refusedNumberNeverReachesTheTable() {
        WorkFolder w;
        seedDraws(w.path(), kThreeDraws);
        QVERIFY(startProgram(w.path()));
        click(kButtonIns);
        click(drawField(3));
        x_.key({QStringLiteral("ctrl+a")});
        x_.type(QStringLiteral("61"));
        click(kGridResFirstRow);
        QVERIFY(answerWithEnter(kRangeTitle));
        click(kButtonSalva);
        QVERIFY(answerWithEnter(kRangeTitle));
        // The draw is not whole: the close asks whether to discard it, and Yes does.
        x_.closeWindow(main_);
        QVERIFY(answerYes(kIncompleteTitle));
        QVERIFY2(endsCleanly(5000), "the window did not close");
        QCOMPARE(storedDraws(w.path()), kThreeStored);
    }

    // A number typed twice is refused as the focus leaves its field, and the focus stays there:
    // what is typed next replaces it.
    void aRepeatedNumberKeepsTheFocusInItsField() {
        WorkFolder w;
        seedDraws(w.path(), kThreeDraws);
        QVERIFY(startProgram(w.path()));
        click(kButtonIns);
        click(kEditConc);
        x_.key({QStringLiteral("ctrl+a")});
        x_.type(QStringLiteral("2799"));
        x_.key({QStringLiteral("Return")});
        QVERIFY(answerWithEnter(kAddDrawTitle));
        x_.type(QStringLiteral("5"));
        x_.key({QStringLiteral("Return")});
        x_.type(QStringLiteral("05"));
        x_.key({QStringLiteral("Return")});
        QVERIFY(answerWithEnter(kRangeTitle));
        x_.key({QStringLiteral("ctrl+a")});
        for (const char* n : {"7", "10", "20", "30", "40"}) {
            x_.type(QString::fromLatin1(n));
            x_.key({QStringLiteral("Return")});
        }
        QVERIFY(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 300));
        click(kButtonSalva);
        x_.closeWindow(main_);
        QVERIFY2(endsCleanly(5000), "the window did not close");
        QCOMPARE(storedDraws(w.path()), kThreeStored + QStringList{QStringLiteral("2799 5 7 10 20 30 40")});
    }

    // A half-typed draw: clicks between its empty fields are free; closing the window asks
    // whether to discard it; No keeps the window and the draw, Yes closes without storing it.
    void aHalfTypedDrawIsNeverStored() {
        WorkFolder w;
        seedDraws(w.path(), kThreeDraws);
        QVERIFY(startProgram(w.path()));
        click(kButtonIns);
        click(kEditConc);
        x_.key({QStringLiteral("ctrl+a")});
        x_.type(QStringLiteral("2799"));
        x_.key({QStringLiteral("Return")});
        QVERIFY(answerWithEnter(kAddDrawTitle));
        for (const char* n : {"11", "22", "33"}) {
            x_.type(QString::fromLatin1(n));
            x_.key({QStringLiteral("Return")});
        }
        for (int f : {5, 6, 4, 6, 5})
            click(drawField(f));
        QVERIFY2(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 500), "an empty field trapped the player");
        x_.closeWindow(main_);
        QVERIFY(answerWithEnter(kIncompleteTitle)); // Enter answers No: back to the draw
        QVERIFY(!x_.windows(QString::fromLatin1(kMainTitle)).isEmpty());
        x_.type(QStringLiteral("44"));
        QVERIFY(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 200));
        x_.closeWindow(main_);
        QVERIFY(answerYes(kIncompleteTitle));
        QVERIFY2(endsCleanly(5000), "the window did not close");
        QCOMPARE(storedDraws(w.path()), kThreeStored);
    }

    // On a 1024 x 768 screen the window, frame and title bar included, stays on the screen, and
    // the statistics column beyond its right edge is reached by scrolling: its "Imprime" opens
    // the preview.
    void theWindowFitsASmallScreen() {
        XSession small;
        const QString failure = small.start(QStringLiteral("1024x768x24"));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        WorkFolder w;
        seedDraws(w.path(), kThreeDraws);
        QProcess p;
        p.setProcessEnvironment(small.environment());
        p.setWorkingDirectory(w.path());
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program(), {});
        QVERIFY(p.waitForStarted(10000));
        const QString id = small.waitForWindow(QString::fromLatin1(kMainTitle), 20000);
        QVERIFY(!id.isEmpty());
        QRect g;
        QVERIFY(XSession::poll(
            [&] {
                g = small.geometry(id);
                return g.width() > 0 && g.right() < 1024 && g.bottom() < 768;
            },
            5000));
        QVERIFY2(g.left() >= 0 && g.top() >= 0,
                 qPrintable(QStringLiteral("%1,%2").arg(g.left()).arg(g.top())));
        QVERIFY(g.width() < 1171);
        QVERIFY(small.activate(id));
        // To the right end: the wheel's sideways clicks over the window.
        small.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), id, QStringLiteral("600"),
                       QStringLiteral("200"), QStringLiteral("click"), QStringLiteral("--repeat"),
                       QStringLiteral("40"), QStringLiteral("--delay"), QStringLiteral("10"),
                       QStringLiteral("7")});
        // The window is as tall as the content and its sideways scroll bar, so only the width
        // scrolls: "Imprime" of the statistics stands 184 px left of the content's right edge.
        QVERIFY2(g.height() > 631, qPrintable(QString::number(g.height())));
        small.click(id, g.width() - 184, 593);
        QVERIFY2(!small.waitForWindow(QStringLiteral("^Visualiza"), 15000).isEmpty(),
                 "the statistics' print button could not be reached");
        p.kill();
        p.waitForFinished(3000);
        small.stop();
    }

    // A start that reads many games shows at once a small window saying what it loads, then the
    // main window.
    void aLongStartUpSaysWhatItLoads() {
        WorkFolder w;
        seedDraws(w.path(), kThreeDraws);
        seedGames(w.path(), 1200000);
        QVERIFY(startProgram(w.path(), false));
        QVERIFY2(!x_.waitForWindow(QStringLiteral("^Quinabel - carregando$"), 15000).isEmpty(),
                 "the start-up showed nothing while it loaded");
        main_ = x_.waitForWindow(QString::fromLatin1(kMainTitle), 60000);
        QVERIFY(!main_.isEmpty());
        QVERIFY(x_.waitUntilGone(QStringLiteral("^Quinabel - carregando$")));
        x_.closeWindow(main_);
        QVERIFY2(endsCleanly(30000), "the window did not close");
    }

    // The slip preview of hundreds of thousands of games shows the progress dialog while it lays
    // the slips out; its "Cancelar" opens no preview and leaves the window working. The run is
    // long enough that the Escape lands in the layout even on an idle machine: a layout that ended
    // first would hand the Escape to the preview's own progress, which shows the pages made so far.
    void aLongPreviewShowsProgressAndCancels() {
        WorkFolder w;
        seedDraws(w.path(), kThreeDraws);
        seedGames(w.path(), 600000);
        QVERIFY(startProgram(w.path()));
        click(kButtonImp);
        click(kRBCart);
        const QString progress = x_.waitForWindow(QStringLiteral("^Impress"), 30000);
        QVERIFY2(!progress.isEmpty(), "no progress while the slips were laid out");
        x_.activate(progress);
        x_.key({QStringLiteral("Escape")}); // the dialog's "Cancelar"
        QVERIFY(x_.waitUntilGone(QStringLiteral("^Impress"), 20000));
        QVERIFY2(x_.staysAbsent(QStringLiteral("^Visualiza"), 1500), "a cancelled preview opened");
        QVERIFY(x_.activate(main_));
        x_.closeWindow(main_);
        QVERIFY2(endsCleanly(30000), "the window did not close");
    }

    // A termination signal, whatever dialog is open, closes it as No would, stores the tables
    // and ends the program with status 0 within five seconds.
    void signalsEndTheProgramWhateverIsOpen_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("sig");
        QTest::newRow("question open, SIGTERM") << "question" << int(SIGTERM);
        QTest::newRow("question open, SIGHUP") << "question" << int(SIGHUP);
        QTest::newRow("refused number in the focused field, SIGTERM") << "refused" << int(SIGTERM);
        QTest::newRow("refused number in the focused field, SIGINT") << "refused" << int(SIGINT);
        QTest::newRow("damaged file message at start-up, SIGTERM") << "damaged" << int(SIGTERM);
    }
    void signalsEndTheProgramWhateverIsOpen() {
        QFETCH(QString, situation);
        QFETCH(int, sig);
        WorkFolder w;
        const QByteArray damaged("this is no table file");
        if (situation == QLatin1String("damaged")) {
            QFile f(w.file(Schemas::kResultsFile));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(damaged);
            f.close();
            QVERIFY(startProgram(w.path(), false));
            QVERIFY(!x_.waitForWindow(QStringLiteral("^Quinabel$"), 20000).isEmpty());
        } else {
            seedDraws(w.path(), kThreeDraws);
            QVERIFY(startProgram(w.path()));
            click(kButtonIns);
            if (situation == QLatin1String("question")) {
                click(kEditConc);
                x_.key({QStringLiteral("ctrl+a")});
                x_.type(QStringLiteral("2790"));
                x_.key({QStringLiteral("Return")});
                QVERIFY(!x_.waitForWindow(QString::fromLatin1(kAddDrawTitle)).isEmpty());
            } else {
                click(drawField(3));
                x_.key({QStringLiteral("ctrl+a")});
                x_.type(QStringLiteral("61"));
                QVERIFY(x_.staysAbsent(QString::fromLatin1(kRangeTitle), 200));
            }
        }
        signal(sig);
        QVERIFY2(endsCleanly(5000), "the program did not end cleanly within 5 s");
        if (situation == QLatin1String("damaged")) {
            QFile f(w.file(Schemas::kResultsFile));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), damaged);
        } else {
            // The question counts as No; the refused number is not stored; the draws are.
            QCOMPARE(storedDraws(w.path()), kThreeStored);
            QVERIFY(QFile::exists(w.file(Schemas::kWeightsFile)));
        }
    }

    // Putting the games in hit order while the generation panel is open does not make the next
    // run reuse game numbers: new games are numbered after the highest one.
    void gamesCheckedDuringGenerationKeepTheirNumbersUnique() {
        WorkFolder w;
        seedDraws(w.path(), {{2500, 1, 2, 3, 4, 5, 6}});
        {
            Tables t(w.path());
            Table& car = t.TableCar;
            car.defineFields(Schemas::games());
            car.setIndexFieldNames(QStringLiteral("Cartao"));
            car.create();
            // Game 1 hits all six, so the hit order puts it last.
            const QList<QList<int>> games{
                {1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {13, 14, 15, 16, 17, 18}};
            for (int g = 0; g < games.size(); ++g) {
                car.insert();
                car.setReal(car.fieldIndex(u"Cartao"), g + 1);
                car.setInteger(car.fieldIndex(u"Dezenas"), 6);
                for (int i = 0; i < 6; ++i)
                    car.setInteger(car.fieldIndex(QStringLiteral("d%1").arg(i + 1)), games[g][i]);
                car.post();
            }
            QVERIFY(t.closeAll().isEmpty());
        }
        QVERIFY(startProgram(w.path()));
        click(kButtonGera);
        click(kRBAlea);
        click(kButtonRes);
        click(kEditDezJogo);
        x_.type(QStringLiteral("6"));
        click(kEditQuant);
        x_.type(QStringLiteral("3"));
        click(kButtonOKAlea);
        QVERIFY(x_.staysAbsent(QStringLiteral("^Quinabel$|^Gera|^Quantidade|^Dezenas"), 500));
        x_.closeWindow(main_);
        QVERIFY2(endsCleanly(5000), "the window did not close");

        Tables t(w.path());
        t.TableCar.open();
        QCOMPARE(t.TableCar.rowCount(), 6);
        QSet<QString> numbers;
        for (int r = 0; r < t.TableCar.rowCount(); ++r)
            numbers.insert(t.TableCar.rowAt(r).text(t.TableCar.fieldIndex(u"Cartao")));
        QCOMPARE(numbers.size(), 6);
        t.closeAll();
    }
};

QUINABEL_CORE_TEST_MAIN(WindowTest)
#include "tst_window.moc"
