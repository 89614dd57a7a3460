#include "Tables.h"

#include "FileErrorText.h"
#include "FileNames.h"
#include "LoadChecks.h"
#include "Schemas.h"
#include "TableError.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace Schemas;

namespace {
QString fileOf(QStringView table) {
    const Definition* d = definitionOf(table);
    Q_ASSERT(d);
    return d ? d->file : QString();
}
} // namespace

Tables::Tables(const QString& folder)
    : folder_(folder), TableRes(QStringLiteral("TableRes"), folder, fileOf(u"TableRes")),
      TableLimpaRes(QStringLiteral("TableLimpaRes"), folder, fileOf(u"TableLimpaRes")),
      TableAval(QStringLiteral("TableAval"), folder, fileOf(u"TableAval")),
      TableCar(QStringLiteral("TableCar"), folder, fileOf(u"TableCar")),
      TableDes(QStringLiteral("TableDes"), folder, fileOf(u"TableDes")),
      TableOrd(QStringLiteral("TableOrd"), folder, fileOf(u"TableOrd")),
      TableSaidas(QStringLiteral("TableSaidas"), folder, fileOf(u"TableSaidas")),
      TableRelSai(QStringLiteral("TableRelSai"), folder, fileOf(u"TableRelSai")),
      TableDis(QStringLiteral("TableDis"), folder, fileOf(u"TableDis")),
      TableDezVal(QStringLiteral("TableDezVal"), folder, fileOf(u"TableDezVal")),
      TableRel(QStringLiteral("TableRel"), folder, fileOf(u"TableRel")),
      TableImp(QStringLiteral("TableImp"), folder, fileOf(u"TableImp")),
      TableCImp(QStringLiteral("TableCImp"), folder, fileOf(u"TableCImp")) {
    // Each table is what its entry in Schemas says: its file, order, rules of its file and fields.
    for (Table* t : all()) {
        const Definition* d = definitionOf(t->name());
        if (!d)
            continue;
        t->setIndexFieldNames(d->order);
        if (d->check)
            t->setLoadCheck(d->check);
        t->defineFields(d->fields);
    }
}

std::array<Table*, 13> Tables::all() {
    return {&TableRes,    &TableLimpaRes, &TableAval,   &TableCar, &TableDes, &TableOrd, &TableSaidas,
            &TableRelSai, &TableDis,      &TableDezVal, &TableRel, &TableImp, &TableCImp};
}

QStringList Tables::closeAll() {
    QStringList failures;
    const auto players = playerTables();
    for (Table* t : players) {
        try {
            t->commitChanges();
        } catch (const TableError& e) {
            failures << e.message();
        }
    }
    for (Table* t : all()) {
        const bool player = std::find(players.begin(), players.end(), t) != players.end();
        if (!(player && t->changedMark())) // a player's table whose commit failed keeps its rows
            t->close();
    }
    return failures;
}

QStringList Tables::commitChanges() {
    QStringList failures;
    for (Table* t : playerTables()) {
        try {
            t->commitChanges();
        } catch (const TableError& e) {
            failures << e.message();
        }
    }
    return failures;
}

namespace {
// Makes `backup` a second name of the file `path` (replacing an older backup in one step), so the
// file survives its replacement by the rename that follows.
void keepBeside(const QString& folder, const QString& path, const QString& backup) {
    const QString target = QDir(folder).filePath(backup);
    const QString link = target + QStringLiteral(".tmp");
    QFile::remove(link);
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()) != 0 ||
        ::rename(QFile::encodeName(link).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString why = FileErrorText::ofErrno(errno);
        QFile::remove(link);
        throw TableError(QStringLiteral("Não foi possível guardar a cópia \"%1\" do arquivo \"%2\": %3.")
                             .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(path), why));
    }
}
} // namespace

void rebuildResultsFile(Tables& t) {
    QStringList ownFiles;
    for (Table* table : t.all())
        ownFiles << table->fileName();
    ownFiles << kCalibrationFile << kImportFolderFile;
    TableFile::removeLeftovers(t.folder(), ownFiles);
    Table& res = t.TableRes;
    if (!res.fileExists()) {
        res.close();
        res.defineFields(results());
        res.create();
        res.open();
        res.last();
        return;
    }
    // Reading: a file that cannot be read, or whose values are damaged, is refused as it is and
    // TableRes stays closed, so nothing can ever write it.
    res.close();
    res.setIndexFieldNames(QStringLiteral("Concurso"));
    res.open();
    if (const auto fault = LoadChecks::drawNumbers(res)) {
        // A number no draw has: a damaged disk, or one typed and stored without the field's check.
        // The file is not copied anywhere (neither rebuilt nor kept as ".anterior") until it is
        // mended, so damage is not carried into every later copy; the draws stay usable.
        res.last();
        throw TableError(
            QStringLiteral("No arquivo dos resultados \"%1\", %2. O arquivo não foi alterado nem "
                           "copiado; os resultados foram lidos dele e podem ser usados. Corrija esse "
                           "concurso em \"Inserir Resultados\".")
                .arg(QDir::toNativeSeparators(res.filePath()), *fault));
    }
    Table& copy = t.TableLimpaRes;
    try {
        // Writing: a failure here (the scratch file, the previous copy, a full disk, a folder that
        // cannot be written) leaves "Resultados.cds" as it was and the draws read from it usable.
        const QString path = FileNames::writeTarget(t.folder(), res.filePath());
        TableFile::settleWal(path);
        copy.close();
        copy.defineFields(results());
        copy.create();
        const int from[7] = {res.fieldIndex(u"Concurso"), res.fieldIndex(u"d1"), res.fieldIndex(u"d2"),
                             res.fieldIndex(u"d3"),       res.fieldIndex(u"d4"), res.fieldIndex(u"d5"),
                             res.fieldIndex(u"d6")};
        {
            Table::BulkChange bulk(copy);
            for (res.first(); !res.eof(); res.next()) {
                copy.insert();
                for (int i = 0; i < 7; ++i)
                    copy.setValue(i, res.value(from[i])); // the first seven fields of the new layout
                copy.post();
            }
        }
        res.close(); // before its file is replaced: it keeps its rows while they equal the file
        // The new file is complete on disk before it takes the old one's place, and the rename
        // replaces it in one step: the draws are in "Resultados.cds" at every moment. It keeps the
        // old file's permission bits (a file the player made read-only stays so).
        copy.write();
        copy.close();
        const QString scratch = FileNames::writeTarget(t.folder(), copy.filePath());
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) == 0)
            ::chmod(QFile::encodeName(scratch).constData(), st.st_mode & 07777);
        keepBeside(t.folder(), path, kPreviousResultsFile);
        if (std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(path).constData()) != 0)
            throw TableError(QStringLiteral("Não foi possível renomear o arquivo \"%1\" para \"%2\": %3.")
                                 .arg(QDir::toNativeSeparators(scratch), QDir::toNativeSeparators(path),
                                      FileErrorText::ofErrno(errno)));
    } catch (const TableError& e) {
        copy.create(); // its rows are dropped unwritten
        copy.close();
        res.close();
        res.open(); // the file as it was
        res.last();
        throw TableError(
            QStringLiteral("O arquivo dos resultados \"%1\" não pôde ser renovado na abertura do "
                           "programa, e continua como estava; os resultados foram lidos dele e "
                           "podem ser usados. Motivo: %2")
                .arg(QDir::toNativeSeparators(res.filePath()), e.message()));
    }
    res.close();
    res.open();
    res.last();
}
