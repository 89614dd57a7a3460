#include "GamesTable.h"
#include "MenuFixture.h"
#include "ShutdownSignals.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <csignal>

// A termination signal during a long generating run: the run stops as "Cancelar" stops it, the
// games it wrote are kept, numbered without gaps and with their measures, the window closes and
// stores the tables, all within five seconds. The signal is a real one, raised in this process,
// and goes through the program's own handler. (Once raised, the shutdown stays requested for the
// rest of the process, so this program holds this one test.)
class ShutdownTest : public QObject {
    Q_OBJECT

private slots:
    void aSignalDuringARunCancelsItAndClosesTheWindow() {
        MenuFixture f;
        ShutdownSignals shutdown;
        f.start();
        shutdown.setWindow(f.menu.get());
        QElapsedTimer sinceSignal;
        bool dialogShown = false;
        QTimer::singleShot(1500, [&] {
            dialogShown = f.menu->findChild<QProgressDialog*>(QStringLiteral("ProgressGera")) != nullptr;
            sinceSignal.start();
            ::raise(SIGTERM);
        });
        f.press(f.find<QPushButton>("ButtonGera"), Qt::LeftButton);
        f.press(f.find<QWidget>("RBCombina"), Qt::LeftButton);
        // All 50,063,860 combinations of the 60 numbers: minutes of work, were it not stopped.
        f.press(f.find<QPushButton>("ButtonOKComb"), Qt::LeftButton);
        QVERIFY(sinceSignal.isValid());
        QVERIFY(dialogShown);
        QTRY_VERIFY_WITH_TIMEOUT(!f.menu->isVisible(), 5000);
        QVERIFY(sinceSignal.elapsed() < 5000);
        QVERIFY(!f.menu->tables().TableCar.isOpen()); // stored and closed

        Tables t(f.folder.path());
        Table& car = t.TableCar;
        car.open();
        const GameFields g(car);
        QVERIFY(car.rowCount() > 0);
        for (int r = 0; r < car.rowCount(); ++r) {
            const RowRef row = car.rowAt(r);
            QCOMPARE(row.realValue(g.cartao), std::optional<double>(r + 1));
            QVERIFY(!row.isEmpty(g.pares) && !row.isEmpty(g.linhas) && !row.isEmpty(g.abaixo));
        }
        t.closeAll();
    }
};

QUINABEL_GUI_TEST_MAIN(ShutdownTest)
#include "tst_shutdown.moc"
