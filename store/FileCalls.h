#pragma once

#include <QString>
#include <sys/types.h>

// The file-system calls of a write, in one place so that a test can stand between the store and
// the disk (and see every write, sync and rename a write makes). The program uses the system's
// own calls; a test installs its own for the time of a test. Each call answers 0 or an errno.
class FileCalls {
public:
    virtual ~FileCalls() = default;

    // Creates a new empty file from `pattern`, whose six X before `suffixLength` last characters
    // are replaced to make a unique name, with the permission bits `mode`; puts its name in `path`.
    virtual int createUnique(const QString& pattern, int suffixLength, mode_t mode, QString& path);
    // Flushes the content of a file (or the entries of a folder) to the disk.
    virtual int syncFile(const QString& path);
    virtual int syncFolder(const QString& path);
    virtual int rename(const QString& from, const QString& to);
    virtual int remove(const QString& path);
    // The SQLite VFS the store's write connections use; nullptr is SQLite's default.
    virtual const char* sqliteVfs() const { return nullptr; }

    // The calls in use: the system's, unless a test installed others.
    static FileCalls& current();

    // Installs `calls` for the lifetime of the guard.
    class Use {
    public:
        explicit Use(FileCalls& calls);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        FileCalls* previous_;
    };
};
