#include "PlayerFolder.h"

#include <QDir>

StartFolder chooseStartFolder(const QStringList& arguments, const QString& home, const QString& current) {
    if (!arguments.contains(QString::fromUtf16(kPlayerFolderOption)))
        return {current, {}};
    const QString folder = QDir(home).filePath(QStringLiteral("Quinabel"));
    if (!QDir().mkpath(folder))
        return {folder,
                QStringLiteral("Não foi possível criar a pasta de dados do Quinabel:\n%1").arg(folder)};
    return {folder, {}};
}
