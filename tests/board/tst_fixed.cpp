#include "FixedNumbers.h"
#include "NumberBoard.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QFile>

// The fixed numbers across a restart, in their own file beside the discarded ones.
class FixedTest : public QObject {
    Q_OBJECT

    static QString fileOf(const WorkFolder& w) { return w.file(QStringLiteral("Fixas.cds")); }

private slots:
    void aFolderWithoutTheFileHasNoneFixed() {
        WorkFolder w;
        QCOMPARE(LoadFixed(w.path()), QList<int>{});
        // Nothing fixed and no file yet: none is made.
        SaveFixed(w.path(), {});
        QVERIFY(!QFile::exists(fileOf(w)));
    }

    void savedAndLoadedBack_data() {
        QTest::addColumn<QList<int>>("fixed");
        QTest::newRow("two") << QList<int>{12, 33};
        QTest::newRow("one") << QList<int>{60};
        QTest::newRow("fourteen") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    }
    void savedAndLoadedBack() {
        QFETCH(QList<int>, fixed);
        WorkFolder w;
        SaveFixed(w.path(), fixed);
        QVERIFY(QFile::exists(fileOf(w)));
        QCOMPARE(LoadFixed(w.path()), fixed);
        // Changed later: the file holds the new list.
        SaveFixed(w.path(), {4});
        QCOMPARE(LoadFixed(w.path()), QList<int>{4});
        SaveFixed(w.path(), fixed);
        QCOMPARE(LoadFixed(w.path()), fixed);
        // Emptied later: the file says so, and the next start has none fixed.
        SaveFixed(w.path(), {});
        QCOMPARE(LoadFixed(w.path()), QList<int>{});
        QVERIFY(!QFile::exists(w.file(QStringLiteral("Desprezadas.cds"))));
    }

    // A number discarded in the meantime stays discarded; the others become fixed.
    void appliedOverTheDiscarded() {
        NumberBoard b;
        b.setDiscardedNumbers({5, 7});
        ApplyFixed(b, {5, 12, 33});
        QCOMPARE(b.fixedNumbers(), (QList<int>{12, 33}));
        QCOMPARE(b.discardedNumbers(), (QList<int>{5, 7}));
        QCOMPARE(b.DiscardedCount(), 2);
    }

    void damagedFileIsRefusedAndKept() {
        WorkFolder w;
        QFile f(fileOf(w));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a table at all");
        f.close();
        QVERIFY_THROWS_EXCEPTION(TableError, LoadFixed(w.path()));
        QVERIFY_THROWS_EXCEPTION(TableError, SaveFixed(w.path(), {4}));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("not a table at all"));
    }
};

QUINABEL_CORE_TEST_MAIN(FixedTest)
#include "tst_fixed.moc"
