#include "FileNames.h"

#include "FileErrorText.h"
#include "TableError.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

QString FileNames::resolve(const QString& folder, const QString& fileName) {
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFile::exists(exact))
        return exact;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : names)
        if (n.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(n);
    return exact;
}

bool FileNames::exists(const QString& folder, const QString& fileName) {
    return QFile::exists(resolve(folder, fileName));
}

bool FileNames::remove(const QString& folder, const QString& fileName) {
    const QString path = resolve(folder, fileName);
    if (!QFile::exists(path))
        return false;
    if (std::remove(QFile::encodeName(path).constData()) != 0)
        throw TableError(FileErrorText::cannotRemove(path, FileErrorText::ofErrno(errno)));
    return true;
}

void FileNames::replace(const QString& folder, const QString& from, const QString& to) {
    const QString src = resolve(folder, from);
    const QString dst = resolve(folder, to);
    if (std::rename(QFile::encodeName(src).constData(), QFile::encodeName(dst).constData()) != 0)
        throw TableError(FileErrorText::cannotRename(src, dst, FileErrorText::ofErrno(errno)));
}
