#include "DrawEntry.h"
#include "DrawsFixture.h"
#include "ScriptedPrompterFixture.h"
#include "TableError.h"
#include "TestSupport.h"

// The draw entry panel's logic: reading typed numbers, finding or adding a draw, checking a
// number, deleting a draw and keeping a pending draw at shutdown.
class DrawEntryTest : public QObject {
    Q_OBJECT

    static void threeDraws(Tables& t) {
        startResults(t);
        addDraw(t, 2498, {1, 2, 3, 4, 5, 6});
        addDraw(t, 2499, {7, 8, 9, 10, 11, 12});
        addDraw(t, 2500, {13, 14, 15, 16, 17, 18});
    }
    static QString concursoOf(const Table& res) { return currentConcursoText(res); }
    static const Message& addQuestion() {
        // A question that goes forward: Enter answers Yes.
        static const Message m{QStringLiteral("Inclusão de concurso"),
                               QStringLiteral("Concurso não cadastrado. Cadastra? "), true};
        return m;
    }

private slots:
    void parseWholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("blanks") << QStringLiteral("   ") << false << 0;
        QTest::newRow("letters") << QStringLiteral("abc") << false << 0;
        QTest::newRow("zero") << QStringLiteral("0") << true << 0;
        QTest::newRow("negative") << QStringLiteral("-3") << true << -3;
        QTest::newRow("exponent") << QStringLiteral("1e3") << false << 0;
        QTest::newRow("trailing blank") << QStringLiteral("2500 ") << true << 2500;
        QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999") << false << 0;
        QTest::newRow("digits then letter") << QStringLiteral("7a") << false << 0;
        QTest::newRow("decimal comma") << QStringLiteral("2,5") << false << 0;
        QTest::newRow("largest") << QStringLiteral("2147483647") << true << 2147483647;
    }

    void parseWholeNumber() {
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QFETCH(int, value);
        const std::optional<int> n = ParseWholeNumber(text);
        QCOMPARE(n.has_value(), whole);
        if (whole)
            QCOMPARE(*n, value);
    }

    void numberCheck_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("61") << QStringLiteral("61") << true;
        QTest::newRow("0") << QStringLiteral("0") << true;
        QTest::newRow("-1") << QStringLiteral("-1") << true;
        QTest::newRow("blanks around 7") << QStringLiteral(" 7 ") << false;
        QTest::newRow("7a") << QStringLiteral("7a") << true;
        QTest::newRow("60") << QStringLiteral("60") << false;
        QTest::newRow("1") << QStringLiteral("1") << false;
        QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999") << true;
    }

    void numberCheck() {
        QFETCH(QString, text);
        QFETCH(bool, refused);
        const std::optional<Message> m = CheckDrawNumber(text);
        QCOMPARE(m.has_value(), refused);
        if (refused)
            QCOMPARE(*m, (Message{QStringLiteral("Valor das dezenas"),
                                  QStringLiteral("As dezenas varias de 1 a 60. ")}));
    }

    void numberCheckWithinTheDraw_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString range = QStringLiteral("As dezenas varias de 1 a 60. ");
        const QString twice =
            QStringLiteral("A dezena %1 já está neste concurso: as dezenas são seis números "
                           "diferentes. ");
        QTest::newRow("an empty field while typing") << QStringList{"5", "15", "", "", "", ""} << 2 << "";
        QTest::newRow("an empty field of an empty draw") << QStringList{"", "", "", "", "", ""} << 0 << "";
        QTest::newRow("61") << QStringList{"5", "61", "", "", "", ""} << 1 << range;
        QTest::newRow("5 twice") << QStringList{"5", "5", "", "", "", ""} << 1
                                 << twice.arg(QStringLiteral("05"));
        QTest::newRow("05 and 5") << QStringList{"05", "", "", " 5 ", "", ""} << 3
                                  << twice.arg(QStringLiteral("05"));
        QTest::newRow("60 in d1 and d6")
            << QStringList{"60", "1", "2", "3", "4", "60"} << 0 << twice.arg(QStringLiteral("60"));
        QTest::newRow("six different") << QStringList{"1", "2", "3", "4", "5", "60"} << 5 << "";
    }
    void numberCheckWithinTheDraw() {
        QFETCH(QStringList, fields);
        QFETCH(int, field);
        QFETCH(QString, message);
        std::array<QString, 6> f;
        for (std::size_t i = 0; i < 6; ++i)
            f[i] = fields[static_cast<qsizetype>(i)];
        const std::optional<Message> m = CheckDrawNumber(f, field);
        QCOMPARE(m.has_value(), !message.isEmpty());
        if (m) {
            QCOMPARE(m->text, message);
            QCOMPARE(m->title, QStringLiteral("Valor das dezenas"));
        }
    }

    void wholeDraws_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("whole");
        QTest::newRow("six different") << QStringList{"1", "12", "23", "34", "45", "60"} << true;
        QTest::newRow("blanks around") << QStringList{" 1", "12 ", "23", "34", "45", "60"} << true;
        QTest::newRow("three typed") << QStringList{"11", "22", "33", "", "", ""} << false;
        QTest::newRow("05 twice") << QStringList{"5", "05", "10", "20", "30", "40"} << false;
        QTest::newRow("0") << QStringList{"0", "12", "23", "34", "45", "60"} << false;
        QTest::newRow("61") << QStringList{"61", "12", "23", "34", "45", "60"} << false;
        QTest::newRow("empty") << QStringList{"", "", "", "", "", ""} << false;
    }
    void wholeDraws() {
        QFETCH(QStringList, fields);
        QFETCH(bool, whole);
        std::array<QString, 6> f;
        for (std::size_t i = 0; i < 6; ++i)
            f[i] = fields[static_cast<qsizetype>(i)];
        QCOMPARE(IsWholeDraw(f), whole);
    }

    // The last draw is the last whole one: an empty or half-typed draw after it is passed over.
    void theLastWholeDraw() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        Table& res = t.TableRes;
        QCOMPARE(LastWholeDrawPosition(res), std::optional<int>(2));
        addDrawCells(t, 2600, {});
        QCOMPARE(res.rowCount(), 4);
        QCOMPARE(LastWholeDrawPosition(res), std::optional<int>(2));
        addDraw(t, 2700, {5, 5, 10, 20, 30, 40});
        QCOMPARE(LastWholeDrawPosition(res), std::optional<int>(2));
        addDraw(t, 2800, {5, 6, 10, 20, 30, 40});
        QCOMPARE(LastWholeDrawPosition(res), std::optional<int>(5));
    }

    void storeRefusesTextThatIsNotANumber() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        Table& res = t.TableRes;
        res.edit();
        try {
            res.setText(res.fieldIndex(u"d3"), QStringLiteral("7a"));
            QFAIL("the field must refuse the text");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), QStringLiteral("O valor '7a' não é um número. Digite uma dezena de 1 a 60."));
        }
    }

    void lookupExistingDraw() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        ScriptedPrompter p;
        QCOMPARE(LookupOrAddDraw(QStringLiteral("2499"), t, p), std::nullopt);
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(concursoOf(t.TableRes), QStringLiteral("2499"));
        QCOMPARE(t.TableRes.text(t.TableRes.fieldIndex(u"d1")), QStringLiteral("7"));
    }

    void lookupIgnoresWhatIsNotADrawNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("abc") << QStringLiteral("abc");
        QTest::newRow("0") << QStringLiteral("0");
        QTest::newRow("-3") << QStringLiteral("-3");
        QTest::newRow("empty") << QString();
        QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999");
    }

    void lookupIgnoresWhatIsNotADrawNumber() {
        QFETCH(QString, text);
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        ScriptedPrompter p({true});
        QCOMPARE(LookupOrAddDraw(text, t, p), std::nullopt);
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(t.TableRes.rowCount(), 3);
        QCOMPARE(concursoOf(t.TableRes), QStringLiteral("2500"));
    }

    void addMissingDrawOnYes() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        t.TableRes.first();
        ScriptedPrompter p({true});
        QCOMPARE(LookupOrAddDraw(QStringLiteral(" 2501"), t, p), std::nullopt);
        QCOMPARE(p.asked, QList<Message>{addQuestion()});
        Table& res = t.TableRes;
        QCOMPARE(res.rowCount(), 4);
        QCOMPARE(res.state(), Table::State::Browse);
        QCOMPARE(concursoOf(res), QStringLiteral("2501"));
        QCOMPARE(res.position(), 3);
        for (int f = 1; f < res.fieldCount(); ++f)
            QVERIFY(res.isEmpty(f));
    }

    void keepTablesOnNo() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        QVERIFY(t.TableRes.locate(u"Concurso", 2498));
        ScriptedPrompter p({false});
        QCOMPARE(LookupOrAddDraw(QStringLiteral("2501"), t, p),
                 std::optional<QString>(QStringLiteral("2498")));
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(t.TableRes.rowCount(), 3);

        // Without any draw, EditConc is emptied.
        WorkFolder w2;
        Tables empty(w2.path());
        startResults(empty);
        ScriptedPrompter p2({false});
        QCOMPARE(LookupOrAddDraw(QStringLiteral("1"), empty, p2), std::optional<QString>(QString()));
    }

    void lookupPostsTheTypedNumbers() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        Table& res = t.TableRes;
        res.edit();
        res.setText(res.fieldIndex(u"d6"), QStringLiteral("44"));
        ScriptedPrompter p;
        LookupOrAddDraw(QStringLiteral("2498"), t, p);
        QVERIFY(res.locate(u"Concurso", 2500));
        QCOMPARE(res.text(res.fieldIndex(u"d6")), QStringLiteral("44"));
    }

    void deleteDraw_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("after");
        QTest::newRow("last: the new last becomes current") << 2500 << QStringLiteral("2499");
        QTest::newRow("first: the next one becomes current") << 2498 << QStringLiteral("2499");
        QTest::newRow("middle") << 2499 << QStringLiteral("2500");
    }

    void deleteDraw() {
        QFETCH(int, current);
        QFETCH(QString, after);
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        QVERIFY(t.TableRes.locate(u"Concurso", current));
        ScriptedPrompter p({true});
        QCOMPARE(DeleteCurrentDraw(t.TableRes, p), std::optional<QString>(after));
        QCOMPARE(p.asked, (QList<Message>{{QStringLiteral("Exclusão de concurso"),
                                           QStringLiteral("Deleta mesmo este concurso? ")}}));
        QCOMPARE(t.TableRes.rowCount(), 2);
        QVERIFY(!t.TableRes.locate(u"Concurso", current));
    }

    void deleteAnsweredNoOrNothingToDelete() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        ScriptedPrompter no({false});
        QCOMPARE(DeleteCurrentDraw(t.TableRes, no), std::nullopt);
        QCOMPARE(t.TableRes.rowCount(), 3);

        WorkFolder w2;
        Tables one(w2.path());
        startResults(one);
        addDraw(one, 1, {1, 2, 3, 4, 5, 6});
        ScriptedPrompter yes({true, true});
        QCOMPARE(DeleteCurrentDraw(one.TableRes, yes), std::optional<QString>(QString()));
        QCOMPARE(one.TableRes.rowCount(), 0);
        QCOMPARE(DeleteCurrentDraw(one.TableRes, yes), std::nullopt);
        QCOMPARE(yes.asked.size(), 1);
    }

    void pendingDrawAtShutdown_data() {
        QTest::addColumn<QStringList>("typed"); // d1..d6 as typed
        QTest::addColumn<bool>("stored");
        QTest::newRow("six good numbers")
            << QStringList{QStringLiteral("5"),  QStringLiteral("15"), QStringLiteral("25"),
                           QStringLiteral("35"), QStringLiteral("45"), QStringLiteral("55")}
            << true;
        QTest::newRow("three typed so far: never stored in part")
            << QStringList{QStringLiteral("5"), QStringLiteral("15"), QStringLiteral("25"), {}, {}, {}}
            << false;
        QTest::newRow("a number twice")
            << QStringList{QStringLiteral("5"),  QStringLiteral("5"),  QStringLiteral("25"),
                           QStringLiteral("35"), QStringLiteral("45"), QStringLiteral("55")}
            << false;
        QTest::newRow("61 in d4") << QStringList{QStringLiteral("5"),  QStringLiteral("15"),
                                                 QStringLiteral("25"), QStringLiteral("61"),
                                                 QStringLiteral("45"), QStringLiteral("55")}
                                  << false;
        QTest::newRow("0 in d1") << QStringList{QStringLiteral("0"),  QStringLiteral("15"),
                                                QStringLiteral("25"), QStringLiteral("35"),
                                                QStringLiteral("45"), QStringLiteral("55")}
                                 << false;
    }

    void pendingDrawAtShutdown() {
        QFETCH(QStringList, typed);
        QFETCH(bool, stored);
        WorkFolder w;
        {
            Tables t(w.path());
            startResults(t);
            addDrawCells(t, 7, {});
            Table& res = t.TableRes;
            res.edit();
            for (int i = 0; i < 6; ++i)
                res.setText(res.fieldIndex(QStringLiteral("d%1").arg(i + 1)), typed[i]);
            QCOMPARE(PendingDrawIsStorable(res), stored);
            QCOMPARE(StorePendingDraw(res), stored);
            QVERIFY(!res.isEditing());
            QVERIFY(t.closeAll().isEmpty());
        }
        Tables t(w.path());
        startResults(t);
        Table& res = t.TableRes;
        QCOMPARE(res.rowCount(), 1);
        QCOMPARE(res.text(res.fieldIndex(u"d1")), stored ? typed[0] : QString());
        QCOMPARE(res.text(res.fieldIndex(u"d3")), stored ? typed[2] : QString());
    }

    void nothingPendingNothingStored() {
        WorkFolder w;
        Tables t(w.path());
        threeDraws(t);
        QVERIFY(!PendingDrawIsStorable(t.TableRes));
        QVERIFY(!StorePendingDraw(t.TableRes));
    }

    void reminderText() {
        QCOMPARE(recomputeReminderMessage().text,
                 QStringLiteral("Ao alterar a tabela dos resultados, lembre-se de mandar o sistema atualizar "
                                "as estatísticas. "));
        QCOMPARE(recomputeReminderMessage().title, QStringLiteral("Atualizar as estatísticas"));
    }
};

QUINABEL_CORE_TEST_MAIN(DrawEntryTest)
#include "tst_drawentry.moc"
