#include "EntryPanelDriver.h"
#include "NumberCell.h"
#include "Schemas.h"

#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

// What the player does in the window is on disk before the window takes the next click: a
// program killed right after finds it at the next start.
namespace {

// What the next start would read: the draws of "Resultados.cds", in Concurso order.
QStringList drawsOnDisk(const QString& folder) {
    Tables t(folder);
    t.TableRes.open();
    QStringList out;
    for (int i = 0; i < t.TableRes.rowCount(); ++i) {
        const RowRef r = t.TableRes.rowAt(i);
        QStringList row;
        for (int c = 0; c < 7; ++c)
            row << r.text(c);
        out << row.join(u' ');
    }
    return out;
}

QList<int> discardedOnDisk(const QString& folder) {
    Tables t(folder);
    if (!t.TableDes.fileExists())
        return {};
    t.TableDes.open();
    QList<int> out;
    for (int i = 0; i < t.TableDes.rowCount(); ++i)
        out << t.TableDes.rowAt(i).intValue(0).value_or(-1);
    return out;
}

// Runs `check` when the next mouse press reaches `w`, before `w` handles it.
class AtNextPress : public QObject {
public:
    AtNextPress(QWidget* w, std::function<void()> check) : check_(std::move(check)) {
        w->installEventFilter(this);
    }
    bool ran = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress && !ran) {
            ran = true;
            check_();
        }
        return false;
    }

private:
    std::function<void()> check_;
};

} // namespace

class DurableUiTest : public QObject {
    Q_OBJECT

private slots:
    void salvaPutsTheDrawInTheFileAtOnce() {
        MenuFixture f;
        seedDraws(f.folder.path(), {{2500, 1, 2, 3, 4, 5, 6}});
        f.start();
        EntryPanelDriver p{f};
        p.open();
        p.activate();
        p.addDraw(2501, {7, 13, 24, 35, 46, 57});
        // No event loop has run since the click: the handler's end wrote it.
        QCOMPARE(drawsOnDisk(f.folder.path()),
                 (QStringList{QStringLiteral("2500 1 2 3 4 5 6"), QStringLiteral("2501 7 13 24 35 46 57")}));
        for (const auto& shown : f.messages.shown())
            QVERIFY2(shown.icon != ScriptedMessageBoxes::Icon::Critical, qPrintable(shown.text));
    }

    void aBoardPressIsInTheFileBeforeTheNextClick() {
        MenuFixture f;
        f.start();
        f.messages.clear();
        auto* cell = f.find<NumberCell>("p17");
        QTest::mouseClick(cell, Qt::LeftButton, Qt::NoModifier, cell->rect().center());
        QList<int> seen{-1};
        auto* other = f.find<QPushButton>("ButtonIns");
        AtNextPress probe(other, [&] { seen = discardedOnDisk(f.folder.path()); });
        QTest::mouseClick(other, Qt::LeftButton);
        QVERIFY(probe.ran);
        QCOMPARE(seen, QList<int>{17});
    }

    void aTypedChangeInAGridIsInTheFileWhenTheProgramWaits() {
        MenuFixture f;
        seedDraws(f.folder.path(), {{2500, 1, 2, 3, 4, 5, 6}});
        f.start();
        Table& res = f.menu->tables().TableRes;
        res.last();
        res.edit();
        res.setInteger(1, 9);
        res.post(); // as a grid's editor posts what was typed
        // The program goes idle, waiting for the player, as its event loop does.
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(drawsOnDisk(f.folder.path()), QStringList{QStringLiteral("2500 9 2 3 4 5 6")});
    }

    // A file that cannot be written is reported once per operation: the failed save is not tried
    // again by itself while the program waits, only at the player's next change.
    void anUnwritableFileIsReportedOncePerOperation() {
        MenuFixture f;
        f.start();
        f.messages.clear();
        // "Desprezadas.cds" cannot be put in place: a folder holding something is there.
        QVERIFY(QDir().mkpath(f.folder.file(Schemas::kDiscardedFile) + QStringLiteral("/ocupado")));
        const auto errors = [&] {
            int n = 0;
            for (const auto& shown : f.messages.shown())
                if (shown.icon == ScriptedMessageBoxes::Icon::Critical) {
                    ++n;
                    if (!shown.text.contains(Schemas::kDiscardedFile))
                        return -1;
                }
            return n;
        };
        const auto idle = [] {
            QEventLoop loop;
            QTimer::singleShot(300, &loop, &QEventLoop::quit);
            loop.exec();
        };
        auto* cell = f.find<NumberCell>("p17");
        QTest::mouseClick(cell, Qt::LeftButton, Qt::NoModifier, cell->rect().center());
        idle();
        QCOMPARE(errors(), 1);
        QTest::keyClick(f.menu.get(), Qt::Key_Return); // as the key that closes the box would
        idle();
        QCOMPARE(errors(), 1);
        auto* other = f.find<NumberCell>("p18");
        QTest::mouseClick(other, Qt::LeftButton, Qt::NoModifier, other->rect().center());
        idle();
        QCOMPARE(errors(), 2);
    }
};

QUINABEL_GUI_TEST_MAIN(DurableUiTest)
#include "tst_durable_ui.moc"
