#include "CombinationGeneration.h"
#include "MenuFixture.h"
#include "NumberBoard.h"
#include "RunProgress.h"
#include "TableModel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <numeric>
#include <random>

// The generation choice and the random and combination panels with their filter strip, as the
// player uses them: clicks on the board, typed fields, the buttons, and the progress of long runs.
namespace {

void typeInto(QLineEdit* e, const QString& text) {
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
}

void click(const MenuFixture& f, const char* name) {
    MenuFixture::press(f.find<QWidget>(name), Qt::LeftButton);
}

// Presses the board cells of `from`..`to` with `button`.
void pressCells(TFormMenu& m, int from, int to, Qt::MouseButton button = Qt::LeftButton) {
    for (int n = from; n <= to; ++n)
        MenuFixture::press(m.numberControl(QStringLiteral("P%1").arg(n)), button);
}

bool shown(const MenuFixture& f, const char* name) {
    return !f.find<QWidget>(name)->isHidden();
}

QString summary(const MenuFixture& f) {
    return f.find<QPlainTextEdit>("MemoJogos")->toPlainText();
}

// Every progress dialog that appears while it lives.
class ProgressWatch : public QObject {
public:
    ProgressWatch() { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && qobject_cast<QProgressDialog*>(o))
            ++shows;
        return false;
    }
};

// Clicks "Cancelar" on the progress dialog as soon as it is on screen, and notes what it showed.
struct CancelWhenShown {
    QTimer timer;
    QElapsedTimer clock;
    qint64 shownAfterMs = -1;
    QString label;
    QString cancelText;

    explicit CancelWhenShown(TFormMenu& m) {
        clock.start();
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this, &m] {
            auto* d = m.findChild<QProgressDialog*>();
            if (!d || !d->isVisible() || shownAfterMs >= 0)
                return;
            shownAfterMs = clock.elapsed();
            label = d->labelText();
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->isVisible()) {
                    cancelText = b->text();
                    QTest::mouseClick(b, Qt::LeftButton);
                }
        });
        timer.start();
    }
};

// Game numbers 1..N with no gap, and the derived fields of every game filled.
void verifyGamesComplete(Table& car, bool withLinhas) {
    const int cartao = car.fieldIndex(u"Cartao");
    const int pares = car.fieldIndex(u"Pares");
    const int abaixo = car.fieldIndex(u"Abaixo");
    const int linhas = car.fieldIndex(u"Linhas");
    for (int i = 0; i < car.rowCount(); ++i) {
        const RowRef r = car.rowAt(i);
        QCOMPARE(r.intValue(cartao), std::optional<int>(i + 1));
        QVERIFY(!r.isEmpty(pares));
        QVERIFY(!r.isEmpty(abaixo));
        if (withLinhas)
            QVERIFY(!r.isEmpty(linhas));
    }
}

QStringList todosOf(Table& car) {
    QStringList all;
    for (int i = 0; i < car.rowCount(); ++i)
        all << car.rowAt(i).value(car.fieldIndex(u"Todos")).toString();
    return all;
}

} // namespace

class GenerationUiTest : public QObject {
    Q_OBJECT

private slots:
    // The combination run's bar shows the games written against the games the run will write
    // (counted first), not the combinations examined, which run ahead whenever filters pass over
    // some.
    void combinationProgressShowsGamesWrittenAgainstTheCount() {
        struct Recorder final : Progress {
            QList<std::array<qint64, 3>> reports;
            bool report(qint64 done, qint64 total, qint64 games) override {
                reports.append({done, total, games});
                return true;
            }
        };
        WorkFolder work;
        Tables t(work.path());
        t.TableCar.create();
        CombinationRequest r;
        for (int n = 1; n <= 24; ++n)
            r.board.valid.push_back(n);
        r.filters.pares = QStringLiteral("3");
        r.counting = true;
        NoProgress silent;
        const qint64 count = RunCombinations(t.TableCar, r, silent).count;
        QVERIFY(count > 0);
        r.counting = false;
        Recorder raw;
        GamesWrittenProgress shown(raw, count);
        const CombinationRunResult res = RunCombinations(t.TableCar, r, shown);
        QCOMPARE(res.count, count);
        QVERIFY(!raw.reports.isEmpty());
        for (const auto& [done, total, games] : raw.reports) {
            QCOMPARE(total, count);
            QCOMPARE(done, games);
            QVERIFY(done <= total);
        }
    }

    void choiceOpensWithNothingMarked() {
        MenuFixture f;
        f.start();
        click(f, "ButtonGera");
        QVERIFY(f.find<QFrame>("PanelGeraQual")->isVisible());
        click(f, "RBAlea");
        click(f, "ButtonCanAlea");
        click(f, "ButtonGera");
        for (const char* rb : {"RBDistribui", "RBAlea", "RBCombina", "RBCancela"})
            QVERIFY(!f.find<QRadioButton>(rb)->isChecked());
        QCOMPARE(f.find<QLabel>("LabelSel")->text(), QStringLiteral("60"));
        QCOMPARE(f.find<QLabel>("LabelSelC")->text(), QStringLiteral("60 pedras= 50.063.860"));
        QVERIFY(f.find<QLabel>("LabelMax")->text().isEmpty());
    }

    void eachChoiceShowsItsPanels_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QStringList>("visible");
        QTest::newRow("distribution") << "RBDistribui"
                                      << "ButtonCanDistribui" << QStringList{"PanelGera", "PanelDistribui"};
        QTest::newRow("random") << "RBAlea"
                                << "ButtonCanAlea" << QStringList{"PanelGera", "PanelAlea", "PanelFiltro"};
        QTest::newRow("combination") << "RBCombina"
                                     << "BitBtn4" << QStringList{"PanelGera", "PanelCombina", "PanelFiltro"};
        QTest::newRow("cancel") << "RBCancela"
                                << "" << QStringList{};
    }
    void eachChoiceShowsItsPanels() {
        QFETCH(QString, choice);
        QFETCH(QString, cancel);
        QFETCH(QStringList, visible);
        MenuFixture f;
        f.start();
        click(f, "ButtonGera");
        click(f, choice.toLatin1().constData());
        QVERIFY(!shown(f, "PanelGeraQual"));
        QCOMPARE(shown(f, "PanelGera"), !visible.isEmpty());
        if (!visible.isEmpty())
            for (const char* p : {"PanelDistribui", "PanelAlea", "PanelCombina", "PanelFiltro"})
                QVERIFY2(shown(f, p) == visible.contains(QLatin1String(p)), p);
        if (!cancel.isEmpty()) {
            click(f, cancel.toLatin1().constData());
            QVERIFY(!shown(f, "PanelGera"));
            QVERIFY(!shown(f, "PanelGeraQual"));
        }
        QVERIFY(f.messages.shown().isEmpty());
    }

    void filterStripStartsWithItsTexts() {
        MenuFixture f;
        f.start();
        QCOMPARE(f.find<QLineEdit>("EditPares")->text(), QStringLiteral("1-6"));
        QCOMPARE(f.find<QLineEdit>("EditLinhas")->text(), QStringLiteral("1-6"));
        QCOMPARE(f.find<QLineEdit>("EditInicial")->text(), QStringLiteral("60"));
        QCOMPARE(f.find<QLineEdit>("EditFinal")->text(), QStringLiteral("1"));
        QCOMPARE(f.find<QLabel>("Label61")->text(), QStringLiteral("Faixa de pares "));
        QCOMPARE(f.find<QLabel>("Label66")->text(), QStringLiteral("Dezena inicial  <="));
    }

    void enterMovesTheFocusOn() {
        MenuFixture f;
        TFormMenu& m = f.start();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        auto check = [&](const char* name) {
            auto* e = f.find<QLineEdit>(name);
            e->setFocus();
            QVERIFY2(e->hasFocus(), name);
            QTest::keyClicks(e, "7");
            QTest::keyClick(e, Qt::Key_Return);
            QVERIFY2(!e->hasFocus(), name);
            QVERIFY2(e->text().endsWith(QLatin1Char('7')), name);
        };
        click(f, "ButtonGera");
        click(f, "RBDistribui");
        check("EditMax");
        click(f, "ButtonCanDistribui");
        click(f, "ButtonGera");
        click(f, "RBAlea");
        for (const char* name :
             {"EditDezJogo", "EditQuant", "EditPares", "EditLinhas", "EditInicial", "EditFinal"})
            check(name);
        QVERIFY(f.messages.shown().isEmpty()); // 7 numbers per game is a size the random panel takes
    }

    void leavingTheSizeFieldChecksIt() {
        MenuFixture f;
        TFormMenu& m = f.start();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        click(f, "ButtonGera");
        click(f, "RBAlea");
        auto* size = f.find<QLineEdit>("EditDezJogo");
        size->setFocus();
        QTest::keyClicks(size, "5");
        QTest::keyClick(size, Qt::Key_Return);
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().last().title, QStringLiteral("Geração dos jogos"));
        QCOMPARE(f.messages.shown().last().text,
                 QStringLiteral("As dezenas por jogo são no mínimo 6 e no máximo 15"));
        size->setFocus();
        QTest::keyClick(size, Qt::Key_Backspace);
        QTest::keyClicks(size, "6");
        QTest::keyClick(size, Qt::Key_Return);
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.find<QLabel>("LabelMax")->text(), QStringLiteral("50.063.860"));
    }

    // The program's texts are Brazilian, and so are its numbers, whatever locale the system (here:
    // the process default before the window starts) has.
    void numbersAreBrazilianWhateverTheLocale_data() {
        QTest::addColumn<QLocale>("system");
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
    }
    void numbersAreBrazilianWhateverTheLocale() {
        QFETCH(QLocale, system);
        QLocale::setDefault(system);
        MenuFixture f;
        f.start();
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("6"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("5"));
        click(f, "ButtonOKAlea");
        const QString max = f.find<QLabel>("LabelMax")->text();
        const QString memo = summary(f);
        useBrazilianLocale();
        QCOMPARE(max, QStringLiteral("50.063.860"));
        QVERIFY2(memo.startsWith(QStringLiteral("5 jogos com 6 dezenas x 6,00 = 30,00\n")), qPrintable(memo));
    }

    void randomGamesThroughThePanel() {
        MenuFixture f;
        TFormMenu& m = f.start();
        ProgressWatch watch;
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("6"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("10"));
        click(f, "ButtonOKAlea");
        QVERIFY(!shown(f, "PanelGera"));
        QCOMPARE(f.find<QTableView>("DBGrid2")->model()->rowCount(), 10);
        QVERIFY(summary(f).startsWith(
            QStringLiteral("10 jogos com 6 dezenas x 6,00 = 60,00\nTotal dos jogos:60,00\n")));
        QCOMPARE(f.find<QLabel>("LabelMax")->text(), QStringLiteral("50.063.860"));
        verifyGamesComplete(m.tables().TableCar, true);
        QCOMPARE(watch.shows, 0); // a short run shows no progress
    }

    void randomRunsFollowTheSeed() {
        auto run = [](quint64 seed) {
            MenuFixture f;
            f.seed = seed;
            TFormMenu& m = f.start();
            click(f, "ButtonGera");
            click(f, "RBAlea");
            typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("8"));
            typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("5"));
            click(f, "ButtonOKAlea");
            return todosOf(m.tables().TableCar);
        };
        const QStringList first = run(7);
        QCOMPARE(first.size(), 5);
        QCOMPARE(run(7), first);
        QVERIFY(run(8) != first);
    }

    void refusedRandomRunKeepsThePanel() {
        MenuFixture f;
        TFormMenu& m = f.start();
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("6"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("0"));
        click(f, "ButtonOKAlea");
        QCOMPARE(f.messages.shown().last().text, QStringLiteral("O número de jogos desejados é inválido."));
        QVERIFY(shown(f, "PanelGera"));
        QCOMPARE(m.tables().TableCar.rowCount(), 0);
    }

    void noToTheHardQuestionKeepsTheGames() {
        MenuFixture f;
        TFormMenu& m = f.start();
        pressCells(m, 1, 5, Qt::RightButton); // fixed: 2 and 4 are even
        pressCells(m, 16, 60);                // discarded; 6..15 stay valid
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("7"));
        // 45 games exist; only the 10 whose two dealt numbers are odd have exactly two even.
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("20"));
        typeInto(f.find<QLineEdit>("EditPares"), QStringLiteral("2-2"));
        click(f, "ButtonOKAlea");
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().last().title, QStringLiteral("Tá difícil"));
        QVERIFY(f.messages.shown().last().yesNo);
        Table& car = m.tables().TableCar;
        QCOMPARE(car.rowCount(), 10);
        verifyGamesComplete(car, true);
        QVERIFY(summary(f).startsWith(QStringLiteral("10 jogos com 7 dezenas x 42,00 = 420,00\n")));
        QVERIFY(!shown(f, "PanelGera"));
    }

    // Every game holds the fixed numbers, so the count of possible games is that of the valid
    // numbers taken k − fixed at a time; a request up to it is met in full, one above it refused.
    void countsOfPossibleGamesHoldTheFixedNumbers_data() {
        QTest::addColumn<int>("perGame");
        QTest::addColumn<QString>("labelMax");
        QTest::newRow("6 per game: C(37, 4)") << 6 << "66.045";
        QTest::newRow("15 per game: C(37, 13)") << 15 << "3.562.467.300";
    }
    void countsOfPossibleGamesHoldTheFixedNumbers() {
        QFETCH(int, perGame);
        QFETCH(QString, labelMax);
        MenuFixture f;
        TFormMenu& m = f.start();
        pressCells(m, 1, 2, Qt::RightButton); // fixed
        pressCells(m, 40, 60);                // discarded; 3..39 valid: 37
        click(f, "ButtonGera");
        QCOMPARE(f.find<QLabel>("LabelSelC")->text(), QStringLiteral("39 pedras= 66.045"));
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QString::number(perGame));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("1"));
        QCOMPARE(f.find<QLabel>("LabelMax")->text(), labelMax);
        QCOMPARE(f.find<QLabel>("LabelSel")->text(), QStringLiteral("37"));
    }

    void aRequestAboveThePossibleGamesIsRefused() {
        MenuFixture f;
        TFormMenu& m = f.start();
        pressCells(m, 1, 5, Qt::RightButton); // fixed
        pressCells(m, 16, 60);                // discarded; 6..15 stay valid
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("7"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("46")); // only 45 games exist
        click(f, "ButtonOKAlea");
        QCOMPARE(f.find<QLabel>("LabelMax")->text(), QStringLiteral("45"));
        QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("O número de jogos desejados é inválido.")});
        QVERIFY(shown(f, "PanelGera"));
        Table& car = m.tables().TableCar;
        QCOMPARE(car.rowCount(), 0);
        // All 45 are asked for and made, each with the five fixed numbers.
        f.messages.clear();
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("45"));
        click(f, "ButtonOKAlea");
        QVERIFY(f.messages.shown().isEmpty());
        QCOMPARE(car.rowCount(), 45);
        verifyGamesComplete(car, true);
        QSet<QString> todos;
        for (int r = 0; r < car.rowCount(); ++r) {
            const QString t = car.rowAt(r).text(car.fieldIndex(u"Todos"));
            QVERIFY2(t.startsWith(QStringLiteral("0102030405")), qPrintable(t));
            todos.insert(t);
        }
        QCOMPARE(todos.size(), 45);
    }

    // Fixed numbers kept over a restart are in every game of the next random run.
    void fixedNumbersAfterARestartAreInEveryGame() {
        MenuFixture f;
        TFormMenu& first = f.start();
        pressCells(first, 7, 8, Qt::RightButton);
        TFormMenu& m = f.restart();
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("7"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("12"));
        click(f, "ButtonOKAlea");
        Table& car = m.tables().TableCar;
        QCOMPARE(car.rowCount(), 12);
        for (const QString& t : todosOf(car))
            QVERIFY2(t.contains(QStringLiteral("0708")), qPrintable(t));
    }

    void noToTheHardQuestionWithEmptyInitialBound() {
        MenuFixture f;
        TFormMenu& m = f.start();
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("6"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("10"));
        click(f, "ButtonOKAlea");
        QCOMPARE(m.tables().TableCar.rowCount(), 10);
        const QString before = summary(f);

        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("6"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("3"));
        typeInto(f.find<QLineEdit>("EditInicial"), QString());
        f.messages.answer({true});
        click(f, "ButtonOKAlea");
        QCOMPARE(f.messages.shown().size(), 2); // Yes once, then the unscripted No
        QCOMPARE(f.messages.shown().last().title, QStringLiteral("Tá difícil"));
        QCOMPARE(m.tables().TableCar.rowCount(), 10);
        verifyGamesComplete(m.tables().TableCar, true);
        QCOMPARE(summary(f), before);
        QVERIFY(!shown(f, "PanelGera"));
        QCOMPARE(f.find<QLineEdit>("EditInicial")->text(), QString()); // never rewritten
    }

    // "Calcula combinações a gerar" through the window over many boards and filter strips, with
    // games already in the list: each press answers with the count (or its message) and leaves
    // the panel open and the games as they were. Run it under the sanitizers as well.
    void countingOverRandomBoardsThroughTheWindow() {
        MenuFixture f;
        TFormMenu& m = f.start();
        std::mt19937 rng(1210);
        auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const std::vector<const char*> strips{"",    "1-6", "6-1", "0",           "3",
                                              "2-4", "-",   "7",   "99999999999", "a"};
        const std::vector<const char*> bounds{"", "0", "30", "60", "61", "-1", "x"};
        auto any = [&pick](const std::vector<const char*>& from) {
            return QString::fromUtf8(
                from[static_cast<std::size_t>(pick(0, static_cast<int>(from.size()) - 1))]);
        };
        // Some games first, so that the summary the count refreshes has something to read.
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("8"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("30"));
        click(f, "ButtonOKAlea");
        const int games = m.tables().TableCar.rowCount();
        QVERIFY(games > 0);
        for (int round = 0; round < 60; ++round) {
            std::vector<int> all(60);
            std::iota(all.begin(), all.end(), 1);
            std::shuffle(all.begin(), all.end(), rng);
            const int inPlay = round % 7 == 0 ? 60 : pick(0, 24);
            QList<int> discarded(all.begin() + inPlay, all.end());
            m.board().setDiscardedNumbers(discarded);
            for (int i = 0, fixed = pick(0, 7); i < fixed && i < inPlay; ++i)
                m.board().ToggleCell(all[static_cast<std::size_t>(i)], PressButton::Right);
            f.messages.clear();
            click(f, "ButtonGera");
            click(f, "RBCombina");
            typeInto(f.find<QLineEdit>("EditPares"), any(strips));
            typeInto(f.find<QLineEdit>("EditLinhas"), any(strips));
            typeInto(f.find<QLineEdit>("EditInicial"), any(bounds));
            typeInto(f.find<QLineEdit>("EditFinal"), any(bounds));
            click(f, "ButtonCalcComb");
            QVERIFY(shown(f, "PanelGera"));
            QCOMPARE(m.tables().TableCar.rowCount(), games);
            click(f, "BitBtn4");
        }
    }

    void combinationsOfTwelveNumbers() {
        MenuFixture f;
        TFormMenu& m = f.start();
        ProgressWatch watch;
        pressCells(m, 13, 60);
        click(f, "ButtonGera");
        QCOMPARE(f.find<QLabel>("LabelSelC")->text(), QStringLiteral("12 pedras= 924"));
        click(f, "RBCombina");
        QVERIFY(f.find<QLabel>("LabelAGerar")->text().isEmpty());
        click(f, "ButtonCalcComb");
        QCOMPARE(f.find<QLabel>("LabelAGerar")->text(), QStringLiteral("923"));
        QVERIFY(shown(f, "PanelGera"));
        QCOMPARE(m.tables().TableCar.rowCount(), 0);
        typeInto(f.find<QLineEdit>("EditPares"), QStringLiteral("3"));
        click(f, "ButtonCalcComb");
        QCOMPARE(f.find<QLabel>("LabelAGerar")->text(), QStringLiteral("400"));
        typeInto(f.find<QLineEdit>("EditPares"), QStringLiteral("1-6"));
        click(f, "ButtonOKComb");
        QVERIFY(!shown(f, "PanelGera"));
        Table& car = m.tables().TableCar;
        QCOMPARE(car.rowCount(), 923);
        QCOMPARE(f.find<QTableView>("DBGrid2")->model()->rowCount(), 923);
        verifyGamesComplete(car, true);
        QCOMPARE(car.rowAt(0).value(car.fieldIndex(u"Emite")).toString(), QStringLiteral("S"));
        QVERIFY(summary(f).startsWith(QStringLiteral("923 jogos com 6 dezenas x 6,00 = 5.538,00\n")));
        QCOMPARE(watch.shows, 0);
    }

    void tooFewNumbersForCombinations() {
        MenuFixture f;
        TFormMenu& m = f.start();
        pressCells(m, 6, 60);
        click(f, "ButtonGera");
        QCOMPARE(f.messages.shown().last().text,
                 QStringLiteral("Você tem de ter mais de 6 dezenas para gerar combinações"));
        QCOMPARE(f.find<QLabel>("LabelSelC")->text(), QStringLiteral("5 pedras= 0"));
        click(f, "RBCombina");
        click(f, "ButtonOKComb");
        QCOMPARE(f.messages.shown().last().title, QStringLiteral("Dezenas insuficientes"));
        QVERIFY(shown(f, "PanelGera"));
    }

    void longCombinationRunCancelled() {
        MenuFixture f;
        TFormMenu& m = f.start();
        click(f, "ButtonGera");
        click(f, "RBCombina");
        CancelWhenShown cancel(m);
        click(f, "ButtonOKComb");
        QVERIFY(cancel.shownAfterMs >= 450);
        QCOMPARE(cancel.cancelText, QStringLiteral("Cancelar"));
        QVERIFY(cancel.label.contains(QStringLiteral("Jogos gerados até agora:")));
        QVERIFY(m.findChild<QProgressDialog*>() == nullptr);
        Table& car = m.tables().TableCar;
        const int n = car.rowCount();
        QVERIFY(n > 0);
        QVERIFY(n < 1000000);
        verifyGamesComplete(car, true);
        QVERIFY(summary(f).startsWith(QStringLiteral("%1 jogos com 6 dezenas x 6,00 = ").arg(n)));
        QVERIFY(!shown(f, "PanelGera"));
    }

    void longRandomRunCancelled() {
        MenuFixture f;
        TFormMenu& m = f.start();
        click(f, "ButtonGera");
        click(f, "RBAlea");
        typeInto(f.find<QLineEdit>("EditDezJogo"), QStringLiteral("15"));
        typeInto(f.find<QLineEdit>("EditQuant"), QStringLiteral("2000000"));
        CancelWhenShown cancel(m);
        click(f, "ButtonOKAlea");
        QVERIFY(cancel.shownAfterMs >= 450);
        QCOMPARE(cancel.cancelText, QStringLiteral("Cancelar"));
        QVERIFY(f.messages.shown().isEmpty());
        Table& car = m.tables().TableCar;
        const int n = car.rowCount();
        QVERIFY(n > 0);
        QVERIFY(n < 2000000);
        verifyGamesComplete(car, true);
        QVERIFY(summary(f).startsWith(QStringLiteral("%1 jogos com 15 dezenas x 30.030,00 = ").arg(n)));
        QVERIFY(!shown(f, "PanelGera"));
    }
};

QUINABEL_GUI_TEST_MAIN(GenerationUiTest)
#include "tst_generation_ui.moc"
