#include "ResultsFileDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QTranslator>

QString resultsFileDialogTitle() {
    return QStringLiteral("Importar resultados");
}

QString ChooseResultsFile(QWidget* parent, const QString& folder) {
    // Qt's standard texts (the folder view, its menus and buttons) in Portuguese while the dialog
    // is open; installed only here so that nothing else of the program changes language.
    QTranslator portuguese;
    const bool translated =
        portuguese.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(&portuguese);

    QFileDialog dialog(parent, resultsFileDialogTitle(), folder);
    dialog.setObjectName(QStringLiteral("DialogImportaResultados"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({QStringLiteral("Resultados da Mega-Sena (*.xlsx *.htm *.html *.csv *.txt *.json)"),
                           QStringLiteral("Todos os arquivos (*)")});
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Examinar:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nome do arquivo:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    const bool chosen = dialog.exec() == QDialog::Accepted;
    if (translated)
        QCoreApplication::removeTranslator(&portuguese);
    return chosen ? dialog.selectedFiles().value(0) : QString();
}
