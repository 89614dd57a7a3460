#include "ImportFolder.h"

#include "Schemas.h"
#include "Table.h"

namespace {
// The table of the remembered folder: one row, or none before the first import.
void openImportFolderTable(Table& t) {
    t.defineFields(Schemas::importFolder());
    if (t.fileExists())
        t.open();
    else
        t.create();
}
} // namespace

QString LastImportFolder(const QString& workFolder) {
    Table t(QStringLiteral("TableImportFolder"), workFolder, Schemas::kImportFolderFile);
    if (!t.fileExists())
        return QString();
    openImportFolderTable(t);
    QString folder;
    if (t.rowCount() > 0)
        folder = t.rowAt(0).text(t.fieldIndex(u"Pasta"));
    t.close();
    return folder;
}

void RememberImportFolder(const QString& workFolder, const QString& folder) {
    Table t(QStringLiteral("TableImportFolder"), workFolder, Schemas::kImportFolderFile);
    openImportFolderTable(t);
    const int pasta = t.fieldIndex(u"Pasta");
    if (t.rowCount() > 0) {
        t.first();
        if (t.text(pasta) == folder) {
            t.close();
            return;
        }
        t.edit();
    } else {
        t.insert();
    }
    t.setText(pasta, folder);
    t.post();
    t.commitChanges();
    t.close();
}
