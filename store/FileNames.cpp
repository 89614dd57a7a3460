#include "FileNames.h"

#include "FileErrorText.h"
#include "TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString FileNames::writeTarget(const QString& folder, const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString inside = QDir(folder).canonicalPath() + QLatin1Char('/');
    QString target = info.canonicalFilePath(); // the end of a chain of links
    if (target.isEmpty()) {
        // A link to a file not made yet: where it would be made.
        const QFileInfo pointed(info.symLinkTarget());
        const QString dir = QDir(pointed.absolutePath()).canonicalPath();
        if (!dir.isEmpty())
            target = dir + QLatin1Char('/') + pointed.fileName();
    }
    if (target.isEmpty() || !target.startsWith(inside) || QFileInfo(target).isDir())
        throw TableError(
            QStringLiteral("O arquivo \"%1\" é um atalho (link simbólico) para \"%2\", fora da "
                           "pasta do programa, e o Quinabel só grava dentro da sua pasta. Nada "
                           "foi gravado; troque o atalho pelo próprio arquivo.")
                .arg(QDir::toNativeSeparators(path),
                     QDir::toNativeSeparators(target.isEmpty() ? info.symLinkTarget() : target)));
    return target;
}

void FileNames::replace(const QString& folder, const QString& from, const QString& to) {
    const QString src = resolve(folder, from);
    const QString dst = resolve(folder, to);
    if (std::rename(QFile::encodeName(src).constData(), QFile::encodeName(dst).constData()) != 0)
        throw TableError(FileErrorText::cannotRename(src, dst, FileErrorText::ofErrno(errno)));
}
