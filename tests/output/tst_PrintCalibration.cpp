#include "PrintCalibration.h"
#include "Schemas.h"
#include "Table.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QFile>

class TestPrintCalibration : public QObject {
    Q_OBJECT

private slots:
    void offsetsAreBoundedToTenthsWithinFiveMm_data();
    void offsetsAreBoundedToTenthsWithinFiveMm();
    void withoutAFileEveryOffsetIsZero();
    void storedOffsetsComeBackInANewRun();
    void valuesEditedOutOfRangeAreBroughtBack();
    void aDamagedFileIsRefusedWithItsName();
};

void TestPrintCalibration::offsetsAreBoundedToTenthsWithinFiveMm_data() {
    QTest::addColumn<double>("given");
    QTest::addColumn<double>("kept");
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("a tenth") << 0.1 << 0.1;
    QTest::newRow("rounded to the nearest tenth") << 1.26 << 1.3;
    QTest::newRow("negative") << -2.44 << -2.4;
    QTest::newRow("the limit") << 5.0 << 5.0;
    QTest::newRow("beyond the limit") << 7.5 << 5.0;
    QTest::newRow("beyond the negative limit") << -12.0 << -5.0;
    QTest::newRow("minus nothing is zero") << -0.01 << 0.0;
    QTest::newRow("not a number") << std::nan("") << 0.0;
}

void TestPrintCalibration::offsetsAreBoundedToTenthsWithinFiveMm() {
    QFETCH(double, given);
    QFETCH(double, kept);
    QCOMPARE(BoundCalibrationOffset(given), kept);
    QVERIFY(!std::signbit(BoundCalibrationOffset(-0.01)));
}

void TestPrintCalibration::withoutAFileEveryOffsetIsZero() {
    WorkFolder folder;
    QCOMPARE(LoadPrintCalibration(folder.path()), PrintCalibration{});
    QVERIFY(!QFile::exists(folder.file(Schemas::kCalibrationFile)));
}

void TestPrintCalibration::storedOffsetsComeBackInANewRun() {
    WorkFolder folder;
    const PrintCalibration c{QPointF(1.3, -0.7), QPointF(-5.0, 2.0)};
    StorePrintCalibration(folder.path(), c);
    QVERIFY(QFile::exists(folder.file(Schemas::kCalibrationFile)));
    QCOMPARE(LoadPrintCalibration(folder.path()), c);

    // The file is a table like every other: one row per paper.
    Table t(QStringLiteral("T"), folder.path(), Schemas::kCalibrationFile);
    t.defineFields(Schemas::calibration());
    t.open();
    QCOMPARE(t.rowCount(), 2);
    t.first();
    QCOMPARE(t.text(u"Papel"), QStringLiteral("Volante"));
    QCOMPARE(t.real(u"Horizontal"), 1.3);
    QCOMPARE(t.real(u"Vertical"), -0.7);
    t.next();
    QCOMPARE(t.text(u"Papel"), QStringLiteral("A4"));
    QCOMPARE(t.real(u"Horizontal"), -5.0);
    t.close();

    StorePrintCalibration(folder.path(), PrintCalibration{});
    QCOMPARE(LoadPrintCalibration(folder.path()), PrintCalibration{});
}

void TestPrintCalibration::valuesEditedOutOfRangeAreBroughtBack() {
    WorkFolder folder;
    {
        Table t(QStringLiteral("T"), folder.path(), Schemas::kCalibrationFile);
        t.defineFields(Schemas::calibration());
        t.create();
        t.insert();
        t.setText(0, QStringLiteral("A4"));
        t.setReal(1, 9.87);
        t.post();
        t.insert();
        t.setText(0, QStringLiteral("Outro"));
        t.setReal(1, 1.0);
        t.post();
        t.commitChanges();
        t.close();
    }
    const PrintCalibration c = LoadPrintCalibration(folder.path());
    QCOMPARE(c.a4, QPointF(5.0, 0.0)); // the empty vertical offset counts as zero
    QCOMPARE(c.slipPaper, QPointF());
}

void TestPrintCalibration::aDamagedFileIsRefusedWithItsName() {
    WorkFolder folder;
    QFile f(folder.file(Schemas::kCalibrationFile));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a table");
    f.close();
    try {
        LoadPrintCalibration(folder.path());
        QFAIL("a damaged file was read");
    } catch (const TableError& e) {
        QVERIFY2(e.message().contains(Schemas::kCalibrationFile), qPrintable(e.message()));
    }
}

QUINABEL_CORE_TEST_MAIN(TestPrintCalibration)
#include "tst_PrintCalibration.moc"
