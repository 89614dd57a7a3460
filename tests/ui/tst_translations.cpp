#include "QtTranslations.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

// Qt's own dialogs, once the program's start-up installed Qt's Brazilian Portuguese translations.
class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const std::optional<QString> problem = installQtTranslations(*qApp);
        QVERIFY2(!problem, qPrintable(problem.value_or(QString())));
    }

    void messageBoxButtonsSpeakPortuguese() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Quinabel"), QStringLiteral("Apaga?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Sim"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Não"));
        QCOMPARE(box.button(QMessageBox::Ok)->text().remove(QLatin1Char('&')), QStringLiteral("OK"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Cancelar"));
    }

    void printPreviewToolbarSpeaksPortuguese() {
        QPrinter printer;
        QPrintPreviewDialog dialog(&printer);
        QStringList texts;
        for (QAction* a : dialog.findChildren<QAction*>())
            texts << a->text();
        QVERIFY2(texts.contains(QStringLiteral("Imprimir")), qPrintable(texts.join(QStringLiteral(", "))));
        QVERIFY2(!texts.contains(QStringLiteral("Print")), qPrintable(texts.join(QStringLiteral(", "))));
        QVERIFY2(!texts.contains(QStringLiteral("Page setup")), qPrintable(texts.join(QStringLiteral(", "))));
        QVERIFY(dialog.windowTitle() != QStringLiteral("Print Preview"));
    }

    void printDialogSpeaksPortuguese() {
        QPrinter printer;
        QPrintDialog dialog(&printer);
        QStringList texts;
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            texts << b->text().remove(QLatin1Char('&'));
        QVERIFY2(texts.contains(QStringLiteral("Cancelar")), qPrintable(texts.join(QStringLiteral(", "))));
        QVERIFY2(texts.contains(QStringLiteral("Imprimir")), qPrintable(texts.join(QStringLiteral(", "))));
        QVERIFY(dialog.windowTitle() != QStringLiteral("Print"));
    }
};

QUINABEL_GUI_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
