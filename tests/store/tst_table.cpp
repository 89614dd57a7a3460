#include "RecordStore.h"
#include "Schemas.h"
#include "Table.h"
#include "TableError.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <algorithm>
#include <cmath>
#include <limits>

// The table's rules of order, cursor, state and files, on small tables in a fresh folder.
class TableTest : public QObject {
    Q_OBJECT

    static FieldList sample() {
        return {FieldDef::integer(QStringLiteral("Cartao")), FieldDef::string(QStringLiteral("Dezena"), 2),
                FieldDef::real(QStringLiteral("Nota")), FieldDef::string(QStringLiteral("Nome"), 10)};
    }
    static void add(Table& t, const QVariant& cartao, const QVariant& dezena, const QVariant& nota = {}) {
        t.insert();
        t.setValue(0, cartao);
        t.setValue(1, dezena);
        t.setValue(2, nota);
        t.post();
    }
    static QStringList rows(Table& t) {
        QStringList out;
        for (int i = 0; i < t.rowCount(); ++i) {
            const RowRef r = t.rowAt(i);
            out << QStringLiteral("%1/%2/%3").arg(r.text(0), r.text(1), r.text(2));
        }
        return out;
    }

    // A value held outside the table for its current row, as a bound edit field holds typed text.
    struct HeldValue final : PendingEdit {
        Table& t;
        QString text;
        int asked = 0;
        explicit HeldValue(Table& table) : t(table) {}
        void storePendingEdit() override {
            ++asked;
            if (!text.isEmpty() && t.isEditing()) {
                t.setText(0, text); // throws for a text that is not a number
                text.clear();
            }
        }
    };

private slots:
    // The table asks what is held for its row before it posts or leaves it: the value reaches the
    // row first, a refused one stops the move and the row stays pending; a holder removed is no
    // longer asked.
    void pendingEditsReachTheRowBeforeItIsLeft() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        add(t, 1, QStringLiteral("a"));
        add(t, 2, QStringLiteral("b"));
        HeldValue held(t);
        t.addPendingEdit(&held);
        t.first();
        t.edit();
        held.text = QStringLiteral("7a");
        QVERIFY_THROWS_EXCEPTION(TableError, t.next());
        QVERIFY(t.isEditing());
        QCOMPARE(t.position(), 0);
        held.text = QStringLiteral("5");
        t.next(); // stores 5 into the first row, which moves after the second
        QVERIFY(!t.isEditing());
        QCOMPARE(rows(t), (QStringList{QStringLiteral("2/b/"), QStringLiteral("5/a/")}));
        t.removePendingEdit(&held);
        const int asked = held.asked;
        t.first();
        t.edit();
        t.post();
        QCOMPARE(held.asked, asked);
    }

    // Every table of the set is what its entry in Schemas says, and every entry has its table.
    void everyTableIsWhatItsSchemaSays() {
        WorkFolder w;
        Tables t(w.path());
        QCOMPARE(Schemas::definitions().size(), t.all().size());
        for (Table* table : t.all()) {
            const Schemas::Definition* d = Schemas::definitionOf(table->name());
            QVERIFY2(d, qPrintable(table->name()));
            QCOMPARE(table->fileName(), d->file);
            QCOMPARE(table->indexFieldNames(), d->order);
            QCOMPARE(table->fieldCount(), static_cast<int>(d->fields.size()));
            for (int f = 0; f < table->fieldCount(); ++f)
                QCOMPARE(table->fields()[static_cast<std::size_t>(f)].name,
                         d->fields[static_cast<std::size_t>(f)].name);
            QVERIFY2(!d->holds.isEmpty() && d->holds.startsWith(u'd'), qPrintable(d->holds));
        }
        QVERIFY(!Schemas::definitionOf(u"TableNenhuma"));
    }

    // A bulk update writes fields outside the order straight into the rows; a row set to what it
    // holds is no change, a changed one reaches the file at the next commit.
    void fieldUpdateWritesOutsideTheOrder() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        add(t, 2, QStringLiteral("b"));
        add(t, 1, QStringLiteral("a"));
        t.commitChanges();
        QVERIFY(!t.changedMark());
        {
            Table::FieldUpdate same(t, {1});
            same.setText(0, 1, u"a");
        }
        QVERIFY(!t.changedMark());
        {
            Table::FieldUpdate update(t, {1, 3});
            update.setText(1, 1, u"zzz"); // cut to the field's two characters
            update.setText(0, 3, u"ação");
        }
        QVERIFY(t.changedMark());
        QCOMPARE(rows(t), (QStringList{QStringLiteral("1/a/"), QStringLiteral("2/zz/")}));
        t.commitChanges();
        Table again(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        again.setIndexFieldNames(QStringLiteral("Cartao"));
        again.open();
        QCOMPARE(rows(again), rows(t));
        QCOMPARE(again.rowAt(0).text(3), QStringLiteral("ação"));
        QVERIFY_THROWS_EXCEPTION(TableError, Table::FieldUpdate(t, {0}));
    }

    void createWithoutRowsWritesNoFile() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        t.close();
        QVERIFY(!QFile::exists(w.file(QStringLiteral("t.cds"))));
        try {
            t.open();
            QFAIL("open must fail without a file");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), QStringLiteral("Os dados do programa ainda não existem: o arquivo \"t.cds\" "
                                                 "não foi criado. Feche o Quinabel e abra-o de novo."));
        }
    }

    void theThreeStoreMessages() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        try {
            t.create();
            QFAIL("create without fields must fail");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), QStringLiteral("Os dados do programa não puderam ser criados: faltam as suas "
                                                 "colunas. Feche o Quinabel e abra-o de novo."));
        }
        t.defineFields(sample());
        t.create();
        try {
            t.fieldIndex(u"Acertos");
            QFAIL("unknown field must fail");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), QStringLiteral("O arquivo \"t.cds\" (dados do programa) não tem a coluna "
                                                 "\"Acertos\". Ele pode ter sido gravado por outro programa; "
                                                 "renomeie-o ou remova-o para que o Quinabel possa criar um novo."));
        }
        QCOMPARE(t.fieldIndex(u"cartao"), 0); // names match without regard to case
    }

    // The program's own messages name no internal table or field: they say which of the player's
    // data is concerned and what the player can do.
    void ownMessagesSpeakThePlayersLanguage_data() {
        QTest::addColumn<int>("failure");
        QTest::newRow("not open") << 0;
        QTest::newRow("no current row") << 1;
        QTest::newRow("not editing") << 2;
        QTest::newRow("empty read as a number") << 3;
    }
    void ownMessagesSpeakThePlayersLanguage() {
        QFETCH(int, failure);
        WorkFolder w;
        Table t(QStringLiteral("TableRes"), w.path(), QStringLiteral("Resultados.cds"));
        t.defineFields(sample());
        QString message;
        try {
            if (failure == 0)
                QFAIL(qPrintable(t.text(0))); // the table is not open yet
            t.create();
            if (failure == 1)
                QFAIL(qPrintable(t.text(0))); // no row yet
            if (failure == 2)
                t.post();
            add(t, 1, QString());
            if (failure == 3)
                QFAIL(qPrintable(QString::number(t.integer(u"Nota"))));
            QFAIL("the operation must fail");
        } catch (const TableError& e) {
            message = e.message();
        }
        QVERIFY2(!message.contains(u"Table") && !message.contains(u"Nota") && !message.contains(u"tabela"),
                 qPrintable(message));
        if (failure < 3)
            QVERIFY2(message.contains(u"resultados dos concursos"), qPrintable(message));
        QVERIFY2(message.contains(u"tente") || message.contains(u"Feche"), qPrintable(message));
    }

    void roundTripKeepsFieldsEmptiesAndOrder() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        add(t, 3, QStringLiteral("07"), 1.5);
        add(t, QVariant(), QStringLiteral("é"), QVariant());
        add(t, 1, QVariant(), -0.25);
        t.insert();
        t.setText(3, QStringLiteral("ação e reação")); // longer than 10: kept to 10 characters
        t.post();
        t.commitChanges();
        t.close();
        Table u(QStringLiteral("U"), w.path(), QStringLiteral("t.cds"));
        u.open();
        QCOMPARE(u.fields(), sample());
        QCOMPARE(rows(u), (QStringList{QStringLiteral("3/07/1.5"), QStringLiteral("/é/"),
                                       QStringLiteral("1//-0.25"), QStringLiteral("//")}));
        u.last();
        QCOMPARE(u.text(3), QStringLiteral("ação e rea"));
        u.first();
        QVERIFY(u.isEmpty(3));
    }

    void openChangeNothingCloseWritesNothing() {
        WorkFolder w;
        Table a(QStringLiteral("A"), w.path(), QStringLiteral("t.cds"));
        Table b(QStringLiteral("B"), w.path(), QStringLiteral("t.cds"));
        a.defineFields(sample());
        a.create();
        add(a, 1, QStringLiteral("01"));
        a.commitChanges();
        a.close();
        a.open();
        QVERIFY(!a.changedMark()); // a loaded row is not a changed row
        // Another table of the same file writes other rows meanwhile: closing A, which only read
        // the file, leaves them there.
        b.defineFields(sample());
        b.create();
        add(b, 2, QStringLiteral("02"));
        add(b, 3, QStringLiteral("03"));
        b.commitChanges();
        b.close();
        a.close();
        b.open();
        QCOMPARE(rows(b), (QStringList{QStringLiteral("2/02/"), QStringLiteral("3/03/")}));
    }

    void sharedFileOpenSeesTheRowsTheOtherTableWrote() {
        WorkFolder w;
        Table car(QStringLiteral("Car"), w.path(), QStringLiteral("Cartelas.cds"));
        Table carImp(QStringLiteral("CarImp"), w.path(), QStringLiteral("cartelas.cds"));
        car.defineFields(sample());
        car.create();
        add(car, 2, QStringLiteral("10"));
        add(car, 1, QStringLiteral("20"));
        car.commitChanges();
        car.close();
        carImp.setIndexFieldNames(QStringLiteral("cartao"));
        carImp.open();
        QCOMPARE(rows(carImp), (QStringList{QStringLiteral("1/20/"), QStringLiteral("2/10/")}));
    }

    void indexOrder_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none: as added") << QString() << QStringList{"2/b/", "1/a/1", "/c/", "2/a/", "1/a/2"};
        QTest::newRow("one field, empty first, ties as added")
            << QStringLiteral("Cartao") << QStringList{"/c/", "1/a/1", "1/a/2", "2/b/", "2/a/"};
        QTest::newRow("two fields") << QStringLiteral("Cartao;Dezena")
                                    << QStringList{"/c/", "1/a/1", "1/a/2", "2/a/", "2/b/"};
        QTest::newRow("text by character codes, name in other case")
            << QStringLiteral("dezena") << QStringList{"1/a/1", "2/a/", "1/a/2", "2/b/", "/c/"};
    }
    void indexOrder() {
        QFETCH(QString, index);
        QFETCH(QStringList, expected);
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        add(t, 2, QStringLiteral("b"));
        add(t, 1, QStringLiteral("a"), 1.0);
        add(t, QVariant(), QStringLiteral("c"));
        add(t, 2, QStringLiteral("a"));
        add(t, 1, QStringLiteral("a"), 2.0);
        t.setIndexFieldNames(index);
        QCOMPARE(rows(t), expected);
        // Ties keep their order across a close and an open.
        t.commitChanges();
        t.close();
        t.open();
        QCOMPARE(rows(t), expected);
    }

    // Leaving an order brings back the rows as added, without the deleted ones.
    void droppingTheOrderGivesTheLiveRowsAsAdded() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        for (const int c : {5, 3, 4, 1, 2})
            add(t, c, QString::number(c));
        QVERIFY(t.locate(u"Cartao", 4));
        t.remove();
        t.setIndexFieldNames(QString());
        QCOMPARE(rows(t), (QStringList{"5/5/", "3/3/", "1/1/", "2/2/"}));
    }

    void reindexKeepsTheCursorOnItsRow() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        for (int i = 5; i >= 1; --i)
            add(t, i, QString::number(10 - i));
        QVERIFY(t.locate(u"Cartao", 4));
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        QCOMPARE(t.integer(0), 4);
        QCOMPARE(t.position(), 3);
    }

    void nextOnTheLastRowSetsEndAndStays() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        QVERIFY(t.eof()); // an empty table is at its end
        add(t, 1, QStringLiteral("a"));
        add(t, 2, QStringLiteral("b"));
        t.last();
        QVERIFY(!t.eof());
        t.next();
        QVERIFY(t.eof());
        QCOMPARE(t.integer(0), 2);
        t.first();
        QVERIFY(!t.eof());
    }

    void deletingUntilTheEndEmptiesTheTable_data() {
        QTest::addColumn<int>("start");
        for (int s = 0; s < 4; ++s)
            QTest::addRow("from row %d", s) << s;
    }
    void deletingUntilTheEndEmptiesTheTable() {
        QFETCH(int, start);
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        for (int i = 1; i <= 4; ++i)
            add(t, i, QStringLiteral("x"));
        t.moveTo(start);
        const int following = start + 2; // the row after the deleted one becomes current
        t.remove();
        QCOMPARE(t.integer(0), start == 3 ? 3 : following);
        int guard = 0;
        while (!t.eof() && guard++ < 10)
            t.remove();
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(t.eof());
        t.commitChanges();
        t.close();
        t.open();
        QCOMPARE(t.rowCount(), 0); // the deletions reached the file
    }

    void locate_data() {
        QTest::addColumn<int>("rows");
        QTest::newRow("small table, searched row by row") << 10;
        QTest::newRow("large table, hash-indexed") << 5000;
    }
    void locate() {
        QFETCH(int, rows);
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        for (int i = rows; i >= 1; --i)
            add(t, i, QString::number(i % 7));
        t.moveTo(2);
        const int before = t.integer(0);
        QVERIFY(!t.locate(u"Dezena", QStringLiteral("9")));
        QCOMPARE(t.integer(0), before); // not found: the cursor stays
        QVERIFY(!t.locate(u"Cartao", QStringLiteral("abc")));
        QVERIFY(t.locate(u"dezena", QStringLiteral("3")));
        QCOMPARE(t.integer(0), 3); // the first in index order
        QVERIFY(t.locate(u"Cartao", QStringLiteral("7")));
        QCOMPARE(t.text(1), QStringLiteral("0"));
        // Changes keep the index current.
        t.edit();
        t.setText(1, QStringLiteral("zz"));
        t.post();
        QVERIFY(t.locate(u"Dezena", QStringLiteral("zz")));
        QCOMPARE(t.integer(0), 7);
        t.remove();
        QVERIFY(!t.locate(u"Dezena", QStringLiteral("zz")));
        add(t, rows + 1, QStringLiteral("zz"));
        QVERIFY(t.locate(u"Dezena", QStringLiteral("zz")));
        QCOMPARE(t.integer(0), rows + 1);
        // Empty values are found too, the first in index order, and follow the changes.
        add(t, rows + 2, QVariant());
        add(t, rows + 3, QVariant());
        QVERIFY(t.locate(u"Dezena", QVariant()));
        QCOMPARE(t.integer(0), rows + 2);
        t.edit();
        t.setText(1, QStringLiteral("9"));
        t.post();
        QVERIFY(t.locate(u"Dezena", QVariant()));
        QCOMPARE(t.integer(0), rows + 3);
        QVERIFY(t.locate(u"Dezena", QStringLiteral("9")));
        QCOMPARE(t.integer(0), rows + 2);
    }

    // Rows whose looked-up field is empty (combination games have no Todos) cost nothing in the
    // lookup index: building it over many of them takes time in proportion to the rows.
    void emptyValuesDoNotSlowTheIndex() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        {
            Table::BulkChange bulk(t);
            for (int i = 1; i <= 200000; ++i) {
                t.insert();
                t.setInteger(0, i);
                t.post();
            }
        }
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!t.locate(u"Dezena", QStringLiteral("1")));
        add(t, 200001, QStringLiteral("1"));
        QVERIFY(t.locate(u"Dezena", QStringLiteral("1")));
        QCOMPARE(t.integer(0), 200001);
        // With one chain of 200,000 empty values this took minutes.
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    }

    void movingPostsThePendingRow() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        add(t, 1, QStringLiteral("a"));
        add(t, 2, QStringLiteral("b"));
        t.first();
        t.edit();
        t.setText(1, QStringLiteral("x"));
        t.next(); // posts
        QCOMPARE(t.state(), Table::State::Browse);
        t.first();
        QCOMPARE(t.text(1), QStringLiteral("x"));
        // An inserted row never changed is dropped by the move.
        t.insert();
        t.first();
        QCOMPARE(t.rowCount(), 2);
        // Close discards a pending row.
        t.edit();
        t.setText(1, QStringLiteral("lost"));
        t.commitChanges();
        t.close();
        t.open();
        QCOMPARE(t.text(1), QStringLiteral("x"));
    }

    void postRepositionsByTheIndex() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        for (int i = 1; i <= 3; ++i)
            add(t, i * 10, QStringLiteral("x"));
        t.first();
        t.edit();
        t.setInteger(0, 25);
        QSignalSpy moved(&t, &Table::rowMoved);
        t.post();
        QCOMPARE(t.position(), 1);
        QCOMPARE(t.integer(0), 25);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(rows(t), (QStringList{"20/x/", "25/x/", "30/x/"}));
    }

    void conversions_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // or the error message
        QTest::newRow("whole number") << QStringLiteral("7") << QStringLiteral("7");
        QTest::newRow("blanks around") << QStringLiteral(" 7 ") << QStringLiteral("7");
        QTest::newRow("negative") << QStringLiteral("-1") << QStringLiteral("-1");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("letters") << QStringLiteral("7a")
                                 << QStringLiteral("O valor '7a' não é um número. Digite o número do jogo.");
        QTest::newRow("too large for 32 bits")
            << QStringLiteral("99999999999")
            << QStringLiteral("O valor '99999999999' é grande demais. Digite o número do jogo.");
        QTest::newRow("exponent") << QStringLiteral("1e3")
                                  << QStringLiteral("O valor '1e3' não é um número. Digite o número do jogo.");
    }
    void conversions() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        t.insert();
        try {
            t.setText(0, typed);
            t.post();
            QCOMPARE(t.text(0), stored);
        } catch (const TableError& e) {
            QCOMPARE(e.message(), stored);
        }
    }

    void readingAnEmptyFieldAsANumberIsAnError() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(sample());
        t.create();
        add(t, QVariant(), QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(TableError, t.integer(0));
        QVERIFY(!t.intValue(0).has_value());
        QCOMPARE(t.intValue(u"Dezena"), std::nullopt); // "x" is no number
    }

    void gamesTableStaysCompact() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields(Schemas::games());
        t.create();
        // 38 fields packed: far below a variant per cell.
        RecordLayout layout;
        layout.setFields(Schemas::games());
        QVERIFY2(layout.recordSize() <= 160, qPrintable(QString::number(layout.recordSize())));
    }

    // Rows are kept in chunks whose slots are only as wide as their values: values that need more
    // (larger integers, fractions, longer or non-ASCII texts, texts kept aside) widen the chunk,
    // and every other row of it keeps its values, in memory and through the file, whether the
    // values come by edit and post or by a bulk update that writes cells where they stand.
    // The file gets the rows by a whole write, or (when it held them before the changes) by the
    // changed rows alone.
    void cellsKeepTheirValuesWhenTheirChunkWidens_data() {
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("storedBefore");
        QTest::newRow("edit and post, whole write") << false << false;
        QTest::newRow("edit and post, changes written") << false << true;
        QTest::newRow("bulk update, whole write") << true << false;
        QTest::newRow("bulk update, changes written") << true << true;
    }
    void cellsKeepTheirValuesWhenTheirChunkWidens() {
        QFETCH(bool, inPlace);
        QFETCH(bool, storedBefore);
        WorkFolder w;
        constexpr int kRows = 40000; // three chunks
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields({FieldDef::integer(QStringLiteral("I")), FieldDef::real(QStringLiteral("F")),
                        FieldDef::string(QStringLiteral("S"), 5), FieldDef::integer(QStringLiteral("E"))});
        t.create();
        {
            const Table::BulkChange bulk(t);
            for (int r = 0; r < kRows; ++r) {
                t.insert();
                t.setInteger(0, r % 100);
                t.setReal(1, r % 7);
                t.setText(2, r % 3 == 0 ? QString() : QStringLiteral("a"));
                t.post();
            }
        }
        struct Change {
            int row;
            qint32 i;
            double f;
            QString s;
        };
        const std::vector<Change> changes{
            {5, 300, 0.5, QStringLiteral("abcde")},
            {17000, -100000, -0.0, QStringLiteral("ção")},                              // 5 bytes of UTF-8
            {17001, std::numeric_limits<qint32>::min(), 1e12, QStringLiteral("ççççç")}, // kept aside
            {kRows - 1, std::numeric_limits<qint32>::max(), -3.25, QStringLiteral("zz")},
        };
        if (storedBefore)
            t.commitChanges();
        if (inPlace) {
            Table::FieldUpdate update(t, {0, 1, 2, 3});
            for (const Change& c : changes) {
                update.setText(c.row, 2, u"x"); // held, then replaced before the row is stored
                update.setInteger(c.row, 0, c.i);
                update.setReal(c.row, 1, c.f);
                update.setText(c.row, 2, c.s);
                update.setInteger(c.row, 3, c.row);
            }
        } else {
            for (const Change& c : changes) {
                t.moveTo(c.row);
                t.edit();
                t.setInteger(0, c.i);
                t.setReal(1, c.f);
                t.setText(2, c.s);
                t.setInteger(3, c.row);
                t.post();
            }
        }
        const auto check = [&](Table& x, bool fromFile) {
            QCOMPARE(x.rowCount(), kRows);
            for (int r = 0; r < kRows; ++r) {
                x.moveTo(r);
                const auto c =
                    std::find_if(changes.begin(), changes.end(), [r](const Change& k) { return k.row == r; });
                if (c == changes.end()) {
                    QCOMPARE(x.integer(0), r % 100);
                    QCOMPARE(x.real(1), double(r % 7));
                    QCOMPARE(x.text(2), r % 3 == 0 ? QString() : QStringLiteral("a"));
                    QVERIFY(x.isEmpty(3));
                } else {
                    QCOMPARE(x.integer(0), c->i);
                    QCOMPARE(x.real(1), c->f);
                    if (!fromFile) // SQLite keeps a whole REAL as an integer, so -0.0 comes back as 0
                        QCOMPARE(std::signbit(x.real(1)), std::signbit(c->f));
                    QCOMPARE(x.text(2), c->s);
                    QCOMPARE(x.integer(3), r);
                }
            }
        };
        check(t, false);
        if (QTest::currentTestFailed())
            return;
        t.commitChanges();
        t.close();
        Table u(QStringLiteral("U"), w.path(), QStringLiteral("t.cds"));
        u.open(); // read from the file
        check(u, true);
    }

    // A load that gives up keeping row numbers half-way drops the dead records again, moving rows
    // across chunks whose slots differ: a row moved into a narrower chunk widens it.
    void compactingMovesRowsAcrossChunks() {
        WorkFolder w;
        Table t(QStringLiteral("T"), w.path(), QStringLiteral("t.cds"));
        t.defineFields({FieldDef::integer(QStringLiteral("R")), FieldDef::string(QStringLiteral("S"), 5)});
        t.create();
        const auto textOf = [](int r) { return r >= 25384 ? QStringLiteral("abcde") : QStringLiteral("a"); };
        {
            const Table::BulkChange bulk(t);
            for (int r = 0; r < 40000; ++r) {
                t.insert();
                t.setInteger(0, r);
                t.setText(1, textOf(r));
                t.post();
            }
        }
        t.commitChanges();
        t.close();
        t.open();
        std::vector<int> kept;
        {
            const Table::BulkChange bulk(t);
            // A small gap first (kept as a dead record), then one too large to keep numbering.
            for (int r = 39999; r >= 0; --r) {
                if (r == 500 || (r >= 1000 && r < 10000)) {
                    t.moveTo(r);
                    t.remove();
                } else {
                    kept.push_back(r);
                }
            }
        }
        std::reverse(kept.begin(), kept.end());
        t.commitChanges();
        t.close();
        Table u(QStringLiteral("U"), w.path(), QStringLiteral("t.cds"));
        u.open();
        QCOMPARE(u.rowCount(), static_cast<int>(kept.size()));
        for (int i = 0; i < u.rowCount(); ++i) {
            const RowRef row = u.rowAt(i);
            QCOMPARE(row.intValue(0), kept[static_cast<std::size_t>(i)]);
            QCOMPARE(row.text(1), textOf(kept[static_cast<std::size_t>(i)]));
        }
    }

    // A six-number combination game fills 11 of the 38 fields: what the table holds for it must
    // stay at most 40 bytes, written row by row or read back from the file.
    void sixNumberGamesCostWhatTheyFill() {
        WorkFolder w;
        constexpr int kGames = 200000;
        Table t(QStringLiteral("TableCar"), w.path(), QStringLiteral("Cartelas.cds"));
        t.defineFields(Schemas::games());
        t.setIndexFieldNames(QStringLiteral("Cartao"));
        t.create();
        const int cartao = t.fieldIndex(u"Cartao"), emite = t.fieldIndex(u"Emite");
        const int pares = t.fieldIndex(u"Pares"), linhas = t.fieldIndex(u"Linhas");
        const int abaixo = t.fieldIndex(u"Abaixo"), dezenas = t.fieldIndex(u"Dezenas");
        int d[6];
        for (int i = 0; i < 6; ++i)
            d[i] = t.fieldIndex(QStringLiteral("d%1").arg(i + 1));
        {
            const Table::BulkChange bulk(t);
            int numbers[6] = {1, 2, 3, 4, 5, 6};
            for (int g = 1; g <= kGames; ++g) {
                t.insert();
                t.setReal(cartao, g);
                t.setText(emite, QStringLiteral("S"));
                t.setInteger(pares, numbers[0] % 7);
                t.setInteger(linhas, numbers[1] % 6);
                t.setInteger(abaixo, numbers[2] % 7);
                t.setInteger(dezenas, 6);
                for (int i = 0; i < 6; ++i)
                    t.setInteger(d[i], numbers[i]);
                t.post();
                for (int i = 5; i >= 0; --i) // the next combination of 6 out of 60
                    if (numbers[i] < 55 + i) {
                        ++numbers[i];
                        for (int j = i + 1; j < 6; ++j)
                            numbers[j] = numbers[j - 1] + 1;
                        break;
                    }
            }
        }
        const auto perGame = [](const Table& x) { return static_cast<double>(x.memoryBytes()) / kGames; };
        QVERIFY2(perGame(t) <= 40.0, qPrintable(QString::number(perGame(t))));
        t.commitChanges();
        t.close();
        Table u(QStringLiteral("TableCarImp"), w.path(), QStringLiteral("Cartelas.cds"));
        u.setIndexFieldNames(QStringLiteral("Cartao"));
        u.open(); // read from the file
        QCOMPARE(u.rowCount(), kGames);
        QVERIFY2(perGame(u) <= 40.0, qPrintable(QString::number(perGame(u))));
        u.last();
        QCOMPARE(u.real(cartao), double(kGames));
        QCOMPARE(u.text(emite), QStringLiteral("S"));
        QCOMPARE(u.integer(dezenas), 6);
        u.first();
        QCOMPARE(u.integer(d[5]), 6);
        QCOMPARE(u.real(cartao), 1.0);
    }
};

QUINABEL_CORE_TEST_MAIN(TableTest)
#include "tst_table.moc"
