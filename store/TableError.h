#pragma once

#include "Schemas.h"

#include <QRegularExpression>
#include <QString>
#include <stdexcept>

// Every failure of the table layer. The message is what the player sees in the message box, so it
// is complete on its own and in Portuguese: it names the player's data and file, never a table or
// a field of the program, and says what the player can do. File problems get their reason from
// FileErrorText.
class TableError : public std::runtime_error {
public:
    explicit TableError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    const QString& message() const noexcept { return message_; }

    // The table's file was never made: the player is told which data do not exist yet.
    static TableError missingData(const QString& table, const QString& fileName) {
        if (fileName.compare(Schemas::kGamesFile, Qt::CaseInsensitive) == 0)
            return TableError(QStringLiteral("Ainda não há jogos: o arquivo \"%1\" não existe. Gere os "
                                             "jogos primeiro.")
                                  .arg(fileName));
        return TableError(QStringLiteral("Os dados %1 ainda não existem: o arquivo \"%2\" não foi criado. "
                                         "Feche o Quinabel e abra-o de novo.")
                              .arg(whatItHolds(table), fileName));
    }
    static TableError noFields(const QString& table) {
        return TableError(QStringLiteral("Os dados %1 não puderam ser criados: faltam as suas colunas. "
                                         "Feche o Quinabel e abra-o de novo.")
                              .arg(whatItHolds(table)));
    }
    // A file that lacks a column the program needs (written by another program, or damaged).
    static TableError fieldNotFound(const QString& table, const QString& fileName, const QString& field) {
        return TableError(QStringLiteral("O arquivo \"%1\" (dados %2) não tem %3. Ele pode ter sido "
                                         "gravado por outro programa; renomeie-o ou remova-o para que o "
                                         "Quinabel possa criar um novo.")
                              .arg(fileName, whatItHolds(table), column(field)));
    }
    // A typed or stored value that is not a whole number (or does not fit one).
    static TableError notAnInteger(const QString& text, const QString& field) {
        static const QRegularExpression digits(QStringLiteral("^\\s*[-+]?\\d+\\s*$"));
        const QString what = digits.match(text).hasMatch()
                                 ? QStringLiteral("O valor '%1' é grande demais.").arg(text)
                                 : QStringLiteral("O valor '%1' não é um número.").arg(text);
        return TableError(what + QLatin1Char(' ') + hint(field));
    }
    static TableError notANumber(const QString& text, const QString& field) {
        return TableError(QStringLiteral("O valor '%1' não é um número. %2").arg(text, hint(field)));
    }
    // The messages the program writes itself never name its internal tables or fields: they say
    // which of the player's data is concerned and what the player can do.
    static TableError emptyAsNumber(const QString&) {
        return TableError(QStringLiteral("Um número necessário está vazio. Preencha-o e tente de novo."));
    }
    static TableError notOpen(const QString& table) {
        return TableError(
            QStringLiteral("Os dados %1 não estão abertos agora. Feche o Quinabel e abra-o de "
                           "novo; se o aviso voltar, verifique os arquivos da pasta do programa.")
                .arg(whatItHolds(table)));
    }
    static TableError noCurrentRow(const QString& table) {
        return TableError(
            QStringLiteral("Nenhum registro dos dados %1 está marcado. Marque um na lista e tente de novo.")
                .arg(whatItHolds(table)));
    }
    static TableError notEditing(const QString& table) {
        return TableError(
            QStringLiteral("Os dados %1 não estão em edição. Digite o valor de novo e tente outra vez.")
                .arg(whatItHolds(table)));
    }
    // What the player should type into a field, by what it holds.
    static QString hint(const QString& field) {
        static const QRegularExpression number(QStringLiteral("^d(\\d+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
        if (number.match(field).hasMatch() || field.compare(u"Dezena", Qt::CaseInsensitive) == 0)
            return QStringLiteral("Digite uma dezena de 1 a 60.");
        if (field.compare(u"Concurso", Qt::CaseInsensitive) == 0)
            return QStringLiteral("Digite o número do concurso.");
        if (field.compare(u"Cartao", Qt::CaseInsensitive) == 0 ||
            field.compare(u"Cartela", Qt::CaseInsensitive) == 0)
            return QStringLiteral("Digite o número do jogo.");
        return QStringLiteral("Digite um número inteiro.");
    }
    // A column of a file, as the player knows it ("a coluna da 3ª dezena").
    static QString column(const QString& field) {
        static const QRegularExpression number(QStringLiteral("^d(\\d+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
        if (const auto m = number.match(field); m.hasMatch())
            return QStringLiteral("a coluna da %1ª dezena").arg(m.captured(1));
        if (field.compare(u"Concurso", Qt::CaseInsensitive) == 0)
            return QStringLiteral("a coluna do número do concurso");
        if (field.compare(u"Cartao", Qt::CaseInsensitive) == 0)
            return QStringLiteral("a coluna do número do jogo");
        return QStringLiteral("a coluna \"%1\"").arg(field);
    }
    // What a table holds, as the player knows it ("dos resultados dos concursos").
    // (each table's entry in Schemas says it).
    static QString whatItHolds(const QString& table) {
        if (const Schemas::Definition* d = Schemas::definitionOf(table))
            return d->holds;
        return QStringLiteral("do programa");
    }

private:
    QString message_;
};
