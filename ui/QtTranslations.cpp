#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

std::optional<QString> installQtTranslations(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_pt_BR"), folder)) {
        delete translator;
        return QStringLiteral("As traduções do Qt para o português (qtbase_pt_BR.qm) não estão em %1; "
                              "os diálogos do Qt ficam em inglês. Instale o pacote qt6-translations-l10n.")
            .arg(folder);
    }
    QCoreApplication::installTranslator(translator);
    return std::nullopt;
}
