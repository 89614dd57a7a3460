#pragma once

#include <QString>
#include <stdexcept>

// Every failure of the table layer. The message is what the player sees in the message box, so it
// is complete on its own: the three messages the program has always shown keep their old wording,
// and every file problem names the file and the reason in Portuguese.
class TableError : public std::runtime_error {
public:
    explicit TableError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    const QString& message() const noexcept { return message_; }

    static TableError missingData() {
        return TableError(QStringLiteral("Missing data provider or data packet"));
    }
    static TableError noFields() {
        return TableError(QStringLiteral("No fields defined.  Cannot create dataset"));
    }
    static TableError fieldNotFound(const QString& name) {
        return TableError(QStringLiteral("Field '%1' not found").arg(name));
    }
    static TableError notAnInteger(const QString& text, const QString& field) {
        return TableError(
            QStringLiteral("'%1' is not a valid integer value for field '%2'").arg(text, field));
    }
    static TableError emptyAsNumber(const QString& field) {
        return TableError(
            QStringLiteral("O campo '%1' está vazio e não pode ser lido como número.").arg(field));
    }
    static TableError notOpen(const QString& table) {
        return TableError(QStringLiteral("A tabela %1 não está aberta.").arg(table));
    }
    static TableError noCurrentRow(const QString& table) {
        return TableError(QStringLiteral("A tabela %1 não tem registro corrente.").arg(table));
    }
    static TableError notEditing(const QString& table) {
        return TableError(QStringLiteral("A tabela %1 não está em edição.").arg(table));
    }

private:
    QString message_;
};
