#include "FileCalls.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileCalls*& installed() {
    static FileCalls* calls = nullptr;
    return calls;
}

int syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int rc = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return rc;
}

} // namespace

FileCalls& FileCalls::current() {
    static FileCalls system;
    return installed() ? *installed() : system;
}

FileCalls::Use::Use(FileCalls& calls) : previous_(installed()) {
    installed() = &calls;
}

FileCalls::Use::~Use() {
    installed() = previous_;
}

int FileCalls::createUnique(const QString& pattern, int suffixLength, mode_t mode, QString& path) {
    QByteArray name = QFile::encodeName(pattern);
    const int fd = ::mkostemps(name.data(), suffixLength, O_CLOEXEC);
    if (fd < 0)
        return errno != 0 ? errno : EACCES;
    const int rc = ::fchmod(fd, mode) == 0 ? 0 : errno;
    ::close(fd);
    path = QFile::decodeName(name);
    if (rc != 0)
        ::unlink(name.constData());
    return rc;
}

int FileCalls::syncFile(const QString& path) {
    return syncPath(path, O_RDONLY);
}

int FileCalls::syncFolder(const QString& path) {
    return syncPath(path, O_RDONLY | O_DIRECTORY);
}

int FileCalls::rename(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
}

int FileCalls::remove(const QString& path) {
    return ::unlink(QFile::encodeName(path).constData()) == 0 ? 0 : errno;
}
