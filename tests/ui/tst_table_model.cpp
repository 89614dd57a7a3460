#include "Schemas.h"
#include "Table.h"
#include "TableModel.h"
#include "TestSupport.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSignalSpy>

// The grid adaptor follows every change of its table: rows added, changed, moved by the index and
// removed, a new order, the table closed and opened again. Qt's model tester checks that every
// notification keeps the model consistent.
class TableModelTest : public QObject {
    Q_OBJECT

    static void add(Table& t, int cartao, const QString& dezena) {
        t.insert();
        t.setInteger(0, cartao);
        t.setText(1, dezena);
        t.post();
    }
    static QStringList shown(const TableModel& m) {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.index(r, 0).data().toString() + QLatin1Char('/') + m.index(r, 1).data().toString();
        return out;
    }

private slots:
    void followsEveryChange() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(
            {FieldDef::integer(QStringLiteral("Cartao")), FieldDef::string(QStringLiteral("Dezena"), 2)});
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        TableModel model(t, {{QStringLiteral("Cartao"), QStringLiteral("Jogo")},
                             {QStringLiteral("Dezena"), QStringLiteral("Dz")}});
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 0); // closed: no rows

        t.create();
        add(t, 20, "b");
        add(t, 10, "a");
        add(t, 30, "c");
        QCOMPARE(shown(model), (QStringList{"10/a", "20/b", "30/c"}));

        QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
        t.first();
        t.edit();
        t.setInteger(0, 40);
        t.post();
        QCOMPARE(moved.count(), 1);
        QCOMPARE(shown(model), (QStringList{"20/b", "30/c", "40/a"}));

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        t.first();
        t.edit();
        t.setText(1, QStringLiteral("x"));
        t.post();
        QVERIFY(changed.count() >= 1);
        QCOMPARE(shown(model), (QStringList{"20/x", "30/c", "40/a"}));

        t.setIndexFieldNames(QStringLiteral("Dezena"));
        QCOMPARE(shown(model), (QStringList{"40/a", "30/c", "20/x"}));

        t.locate(u"Cartao", 30);
        t.remove();
        QCOMPARE(shown(model), (QStringList{"40/a", "20/x"}));

        t.commitChanges();
        t.close();
        QCOMPARE(model.rowCount(), 0);
        t.open();
        QCOMPARE(shown(model), (QStringList{"40/a", "20/x"}));

        {
            Table::BulkChange bulk(t);
            for (int i = 0; i < 100; ++i)
                add(t, 100 + i, "z");
        }
        QCOMPARE(model.rowCount(), 102);
        t.emptyTable();
        QCOMPARE(model.rowCount(), 0);
    }

    void typingIntoAnEditableCellEditsTheRow() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(
            {FieldDef::integer(QStringLiteral("Cartao")), FieldDef::string(QStringLiteral("Dezena"), 2)});
        t.create();
        add(t, 1, "a");
        add(t, 2, "b");
        TableModel model(t, {{QStringLiteral("Cartao"), QStringLiteral("Jogo")},
                             {QStringLiteral("Dezena"), QStringLiteral("Dz")}});
        model.setEditable(true);
        QString error;
        model.setErrorHandler([&](const QString& e) { error = e; });
        QVERIFY(model.setData(model.index(0, 1), QStringLiteral("q"), Qt::EditRole));
        QCOMPARE(t.state(), Table::State::Edit);
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("q")); // the pending text shows
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x1"), Qt::EditRole));
        QCOMPARE(error, QStringLiteral("O valor 'x1' não é um número. Digite o número do jogo."));
        t.next(); // moving to another row posts the change
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.rowAt(0).text(1), QStringLiteral("q"));
    }
};

QUINABEL_GUI_TEST_MAIN(TableModelTest)
#include "tst_table_model.moc"
