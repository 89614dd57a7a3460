#include "FileErrorText.h"

#include <QDir>
#include <cerrno>
#include <sqlite3.h>

namespace {
QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}
} // namespace

QString FileErrorText::ofErrno(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("o sistema não informou o motivo");
    case ENOSPC:
        return QStringLiteral("o disco está cheio");
    case EDQUOT:
        return QStringLiteral("a sua cota de espaço no disco acabou");
    case EACCES:
    case EPERM:
        return QStringLiteral("sem permissão de gravação");
    case EROFS:
        return QStringLiteral("o disco só permite leitura");
    case ENOENT:
        return QStringLiteral("o arquivo ou a pasta não existe");
    case ENOTDIR:
        return QStringLiteral("uma parte do caminho não é uma pasta");
    case EISDIR:
        return QStringLiteral("há uma pasta com esse nome");
    case EEXIST:
        return QStringLiteral("já existe um arquivo ou uma pasta com esse nome");
    case ENOTEMPTY:
        return QStringLiteral("há uma pasta com esse nome, e ela não está vazia");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("o arquivo está em uso por outro programa");
    case EIO:
        return QStringLiteral("erro de entrada e saída do disco");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("há arquivos abertos demais no sistema");
    case ENAMETOOLONG:
        return QStringLiteral("o nome do arquivo é longo demais");
    case EXDEV:
        return QStringLiteral("o destino fica em outro disco");
    case ENOMEM:
        return QStringLiteral("a memória do computador acabou");
    case EFBIG:
        return QStringLiteral("o arquivo ficaria grande demais");
    case ELOOP:
        return QStringLiteral("o caminho tem atalhos demais");
    case EAGAIN:
    case EINTR:
        return QStringLiteral("o sistema interrompeu a operação");
    default:
        return QStringLiteral("o sistema recusou a operação (erro %1)").arg(code);
    }
}

QString FileErrorText::ofUnknownWriteFailure() {
    return QStringLiteral("o disco pode estar cheio, o arquivo pode estar aberto em outro programa ou há "
                          "uma pasta com esse nome");
}

QString FileErrorText::ofSqlite(int code, int systemErrno) {
    switch (code & 0xFF) {
    case SQLITE_FULL:
        return ofErrno(ENOSPC);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return ofErrno(EACCES);
    case SQLITE_CANTOPEN:
        return systemErrno != 0 ? ofErrno(systemErrno)
                                : QStringLiteral("o arquivo não pôde ser aberto: a pasta não existe ou não "
                                                 "permite gravação");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ofErrno(EBUSY);
    case SQLITE_IOERR:
        return systemErrno != 0 && systemErrno != EIO ? ofErrno(systemErrno) : ofErrno(EIO);
    case SQLITE_NOMEM:
        return ofErrno(ENOMEM);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return QStringLiteral("o arquivo está danificado");
    case SQLITE_TOOBIG:
        return QStringLiteral("um valor é grande demais");
    case SQLITE_NOLFS:
        return ofErrno(EFBIG);
    case SQLITE_PROTOCOL:
        return QStringLiteral("outro programa mexeu no arquivo ao mesmo tempo");
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
        return ofErrno(EINTR);
    case SQLITE_SCHEMA:
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
    case SQLITE_ERROR:
        return QStringLiteral("o conteúdo do arquivo não é o esperado");
    default:
        return QStringLiteral("o banco de dados recusou a operação (código %1)").arg(code);
    }
}

QString FileErrorText::cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2. O conteúdo anterior do arquivo "
                          "continua intacto.")
        .arg(shown(path), reason);
}

QString FileErrorText::cannotRead(const QString& path, const QString& reason) {
    return QStringLiteral("Não foi possível ler o arquivo \"%1\": %2. O arquivo não foi alterado.")
        .arg(shown(path), reason);
}

QString FileErrorText::cannotRemove(const QString& path, const QString& reason) {
    return QStringLiteral("Não foi possível apagar o arquivo \"%1\": %2.").arg(shown(path), reason);
}

QString FileErrorText::cannotRename(const QString& from, const QString& to, const QString& reason) {
    return QStringLiteral("Não foi possível renomear o arquivo \"%1\" para \"%2\": %3.")
        .arg(shown(from), shown(to), reason);
}
