#pragma once

#include <QString>

// Every file error the player may meet, in Portuguese: the system's and SQLite's own texts are
// English, so they never reach a message box. A reason is a short clause ("o disco está cheio");
// a message names the player's file and says what stays as it was.
namespace FileErrorText {

// The reason for a system error number (errno).
QString ofErrno(int code);
// When a write failed and the system did not say why: the usual causes.
QString ofUnknownWriteFailure();
// The reason for an SQLite result code, primary or extended; `systemErrno` (sqlite3_system_errno)
// tells an input or output error apart when it is known.
QString ofSqlite(int code, int systemErrno = 0);

// "Não foi possível gravar o arquivo "…": reason. O conteúdo anterior do arquivo continua intacto."
QString cannotWrite(const QString& path, const QString& reason);
// The file could not be read (it was not changed).
QString cannotRead(const QString& path, const QString& reason);
QString cannotRemove(const QString& path, const QString& reason);
QString cannotRename(const QString& from, const QString& to, const QString& reason);

} // namespace FileErrorText
