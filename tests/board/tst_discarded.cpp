#include "DiscardedNumbers.h"
#include "NumberBoard.h"
#include "TableError.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QFile>

// The discarded numbers across a restart, and the first run without a file.
class DiscardedTest : public QObject {
    Q_OBJECT

    static QString fileOf(const WorkFolder& w) { return w.file(QStringLiteral("Desprezadas.cds")); }

private slots:
    void firstStartWithoutFile() {
        WorkFolder w;
        Tables t(w.path());
        NumberBoard b;
        b.ToggleCell(4, PressButton::Left); // whatever was on the board goes
        QVERIFY(LoadDiscarded(t, b));
        QCOMPARE(b.count(NumberState::Valid), 60);
        QCOMPARE(b.DiscardedLabelText(), QStringLiteral("Dezenas: Desprezadas=0  Válidas=60"));
        QCOMPARE(b.EvenLabelText(), QStringLiteral("Dezenas válidas pares: 30. Impares= 30"));
        QVERIFY(t.TableDes.isOpen());
        QCOMPARE(t.TableDes.rowCount(), 0);

        // Nothing discarded: the file stays absent, so the next start is a first run again.
        SaveDiscarded(t, b);
        QVERIFY(!QFile::exists(fileOf(w)));
        Tables again(w.path());
        NumberBoard b2;
        QVERIFY(LoadDiscarded(again, b2));
    }

    void restartKeepsDiscardedOnly() {
        WorkFolder w;
        {
            Tables t(w.path());
            NumberBoard b;
            QVERIFY(LoadDiscarded(t, b));
            for (const int n : {45, 3, 20})
                b.ToggleCell(n, PressButton::Left);
            b.ToggleCell(8, PressButton::Right);
            b.ToggleCell(33, PressButton::Right);
            SaveDiscarded(t, b);
            QVERIFY(t.closeAll().isEmpty());
        }
        QVERIFY(QFile::exists(fileOf(w)));
        Tables t(w.path());
        NumberBoard b;
        QVERIFY(!LoadDiscarded(t, b));
        QCOMPARE(b.discardedNumbers(), (QList<int>{3, 20, 45}));
        QCOMPARE(b.state(8), NumberState::Valid);
        QCOMPARE(b.state(33), NumberState::Valid);
        QCOMPARE(b.DiscardedCount(), 3);
        QCOMPARE(b.DiscardedLabelText(), QStringLiteral("Dezenas: Desprezadas=3  Válidas=57"));
        QCOMPARE(b.EvenLabelText(), QStringLiteral("Dezenas válidas pares: 29. Impares= 28"));
        QVERIFY(!t.TableDes.isOpen());

        // The rows are rewritten in ascending order, one per discarded number.
        b.ToggleCell(20, PressButton::Left);
        b.ToggleCell(1, PressButton::Left);
        SaveDiscarded(t, b);
        t.TableDes.open();
        QStringList rows;
        for (int i = 0; i < t.TableDes.rowCount(); ++i)
            rows << t.TableDes.rowAt(i).text(0);
        QCOMPARE(rows, (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("45")}));
    }

    void damagedFileIsRefusedAndKept() {
        WorkFolder w;
        QFile f(fileOf(w));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a table at all");
        f.close();
        Tables t(w.path());
        NumberBoard b;
        QVERIFY_THROWS_EXCEPTION(TableError, LoadDiscarded(t, b));
        b.ToggleCell(5, PressButton::Left);
        QVERIFY_THROWS_EXCEPTION(TableError, SaveDiscarded(t, b));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("not a table at all"));
    }
};

QUINABEL_CORE_TEST_MAIN(DiscardedTest)
#include "tst_discarded.moc"
