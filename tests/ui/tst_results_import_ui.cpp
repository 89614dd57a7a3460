#include "EntryPanelDriver.h"
#include "ResultsFileSamples.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTableView>
#include <QTimer>

using ResultsSamples::draw;

// Importing results through "Importar resultados" in the entry panel: the file dialog (the real
// one and the test's stand-in), the folder it remembers, the summary, the grid and the statistics.
class ResultsImportUiTest : public QObject {
    Q_OBJECT

    static QString writeFile(const QString& path, const QByteArray& content) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static std::vector<ResultsSamples::Draw> someDraws(int from, int to) {
        std::vector<ResultsSamples::Draw> d;
        for (int c = from; c <= to; ++c)
            d.push_back(draw(c, {1 + c % 54, 2 + c % 54, 3 + c % 54, 4 + c % 54, 5 + c % 54, 7 + c % 53}));
        return d;
    }

private slots:
    void importThroughTheButton() {
        MenuFixture f;
        seedDraws(f.folder.path(), {{1, 1, 2, 3, 4, 5, 6}});
        const QString downloads = f.folder.file(QStringLiteral("Downloads"));
        const QString path =
            writeFile(downloads + QStringLiteral("/Mega-Sena.xlsx"), ResultsSamples::xlsx(someDraws(2, 30)));
        QStringList startedIn;
        f.chooseResultsFile = [&](QWidget*, const QString& folder) {
            startedIn << folder;
            return path;
        };
        f.start();
        EntryPanelDriver p{f};
        p.open();
        QVERIFY(f.find<QPushButton>("ButtonImporta")->isVisible());
        QCOMPARE(f.find<QPushButton>("ButtonImporta")->text(), QStringLiteral("Importar resultados"));
        f.messages.clear();
        p.click("ButtonImporta");

        QCOMPARE(startedIn, QStringList{QDir::homePath()});
        QCOMPARE(f.messages.shown().size(), 1);
        const auto& shown = f.messages.shown().at(0);
        QCOMPARE(shown.title, QStringLiteral("Importar resultados"));
        QVERIFY2(shown.text.contains(QStringLiteral("Incluídos: 29 (2 a 30)")), qPrintable(shown.text));
        QCOMPARE(f.menu->tables().TableRes.rowCount(), 30);
        QCOMPARE(p.conc()->text(), QStringLiteral("30"));
        QCOMPARE(p.field(1)->text(), QString::number(1 + 30 % 54));
        QCOMPARE(f.find<QLabel>("LabelMedia")->text(), QStringLiteral("Média por dezena = 3"));
        // The grid marks the last draw.
        auto* grid = f.find<QTableView>("GridRes");
        QCOMPARE(grid->currentIndex().row(), 29);

        // The next import opens in the folder of this one, also after a restart.
        f.restart();
        p.open();
        f.messages.clear();
        p.click("ButtonImporta");
        QCOMPARE(startedIn.value(1), downloads);
        QVERIFY(f.messages.texts().value(0).contains(QStringLiteral("Incluídos: 0\n")));
    }

    void refusedFileIsShownAsAnError() {
        MenuFixture f;
        seedDraws(f.folder.path(), {{1, 1, 2, 3, 4, 5, 6}});
        const QString path = writeFile(f.folder.file(QStringLiteral("vazio.csv")), QByteArray());
        f.chooseResultsFile = [&](QWidget*, const QString&) { return path; };
        f.start();
        EntryPanelDriver p{f};
        p.open();
        f.messages.clear();
        p.click("ButtonImporta");
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().at(0).icon, MessageBoxes::Icon::Critical);
        QCOMPARE(
            f.messages.shown().at(0).text,
            QStringLiteral("O arquivo \"%1\" não foi importado: o arquivo está vazio. Nada foi alterado.")
                .arg(QDir::toNativeSeparators(path)));
        QCOMPARE(f.menu->tables().TableRes.rowCount(), 1);
        // Nothing was changed, not even the folder the next import opens in.
        QVERIFY(!QFile::exists(f.folder.file(QStringLiteral("PastaImportacao.cds"))));
    }

    void cancelledDialogImportsNothing() {
        MenuFixture f;
        f.chooseResultsFile = [](QWidget*, const QString&) { return QString(); };
        f.start();
        EntryPanelDriver p{f};
        p.open();
        f.messages.clear();
        p.click("ButtonImporta");
        QVERIFY(f.messages.shown().isEmpty());
        QVERIFY(!QFile::exists(f.folder.file(QStringLiteral("PastaImportacao.cds"))));
    }

    // The program's own dialog: Portuguese, opening in the remembered folder, the file chosen in it.
    void realFileDialog() {
        MenuFixture f; // chooseResultsFile unset: the real dialog
        const QString downloads = f.folder.file(QStringLiteral("Downloads"));
        const QString path = writeFile(downloads + QStringLiteral("/resultados.json"),
                                       ResultsSamples::jsonKeyed(someDraws(1, 12)));
        f.start();
        EntryPanelDriver p{f};
        p.open();
        f.messages.clear();

        QString title, directory, acceptText, cancelText;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            title = d->windowTitle();
            directory = d->directory().absolutePath();
            acceptText = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->text();
            cancelText = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
            d->setDirectory(downloads);
            d->selectFile(path);
            QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open),
                              Qt::LeftButton);
        });
        p.click("ButtonImporta");
        QCOMPARE(title, QStringLiteral("Importar resultados"));
        QCOMPARE(directory, QDir::homePath());
        QCOMPARE(acceptText.remove(u'&'), QStringLiteral("Abrir")); // Qt's own Portuguese
        QCOMPARE(cancelText, QStringLiteral("Cancelar"));
        QVERIFY2(f.messages.texts().value(0).contains(QStringLiteral("Incluídos: 12 (1 a 12)")),
                 qPrintable(f.messages.texts().join(u'|')));
        QCOMPARE(f.menu->tables().TableRes.rowCount(), 12);

        // The second time it opens where the file was; Cancel imports nothing.
        f.messages.clear();
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            directory = d->directory().absolutePath();
            QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                              Qt::LeftButton);
        });
        p.click("ButtonImporta");
        QCOMPARE(directory, downloads);
        QVERIFY(f.messages.shown().isEmpty());
    }
};

QUINABEL_GUI_TEST_MAIN(ResultsImportUiTest)
#include "tst_results_import_ui.moc"
