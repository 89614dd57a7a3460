#include "MenuFixture.h"
#include "NumberBoard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTableView>

// What the player is told about table files the program cannot read or write, and that such a
// file is never replaced by an empty table, neither during the run nor at its end.
namespace {
QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
} // namespace

class FilesUiTest : public QObject {
    Q_OBJECT

private slots:
    void damagedFileIsReportedAndKept_data() {
        QTest::addColumn<QString>("file");
        for (const char* f : {"Resultados.cds", "Desprezadas.cds", "Rel.cds", "Aval.cds", "Cartelas.cds"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void damagedFileIsReportedAndKept() {
        QFETCH(QString, file);
        MenuFixture f;
        const QString path = f.folder.file(file);
        {
            QFile bad(path);
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write("Este arquivo não é uma tabela.\n");
        }
        const QByteArray before = digest(path);
        f.start();
        QVERIFY2(!f.messages.shown().isEmpty(), "the damaged file must be reported");
        bool named = false;
        for (const auto& s : f.messages.shown())
            named = named || (s.icon == MessageBoxes::Icon::Critical && s.text.contains(file));
        QVERIFY2(named, qPrintable(f.messages.texts().join(QLatin1String(" | "))));
        // The player goes on working: a draw typed, a generation opened, the program closed.
        f.menu->close();
        QCOMPARE(digest(path), before);
    }

    void firstStartShowsNoMessage() {
        MenuFixture f;
        f.start();
        QVERIFY(f.messages.shown().isEmpty());
        QCOMPARE(f.find<QTableView>("GridRes")->model()->rowCount(), 0);
        QCOMPARE(f.find<QTableView>("DBGrid2")->model()->rowCount(), 0);
        QCOMPARE(f.find<QPlainTextEdit>("MemoJogos")->toPlainText(), QString());
    }

    void everyFailedWriteIsShownAtShutdown() {
        MenuFixture f;
        const QString folder = f.folder.file("pasta");
        QVERIFY(QDir().mkdir(folder));
        f.folder.dir.setAutoRemove(true);
        // The working folder is the subfolder, so that it can vanish under the running program.
        MenuServices s;
        s.messages = &f.messages;
        s.previews = &f.previews;
        f.reports = std::make_unique<ReportForms>();
        s.reports = f.reports.get();
        auto menu = std::make_unique<TFormMenu>(folder, s);
        menu->board().ToggleCell(5, PressButton::Left);
        // The start-up already put the weights on disk; a change since then is still to write
        // (no operation has ended since it, so nothing committed it).
        Table& aval = menu->tables().TableAval;
        aval.first();
        aval.edit();
        aval.setText(aval.fieldIndex(u"Desprezada"), QStringLiteral("S"));
        aval.post();
        QVERIFY(QDir(folder).removeRecursively());
        f.messages.clear();
        menu->close();
        const QStringList texts = f.messages.texts();
        // The statistics were written by the start-up's recomputation that filled them: the close
        // writes only the player's changes, and closing the rest writes nothing.
        for (const QString& t : texts)
            QVERIFY2(!t.contains(QStringLiteral("Saidas.cds")), qPrintable(t));
        for (const char* file : {"Desprezadas.cds", "Aval.cds"}) {
            bool shown = false;
            for (const QString& t : texts)
                shown = shown ||
                        (t.contains(QLatin1String(file)) && t.startsWith(QStringLiteral("Não foi possível")));
            QVERIFY2(shown,
                     qPrintable(
                         QStringLiteral("%1 not reported: %2").arg(QLatin1String(file), texts.join(" | "))));
        }
    }
};

QUINABEL_GUI_TEST_MAIN(FilesUiTest)
#include "tst_files_ui.moc"
