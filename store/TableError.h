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
    // What a table holds, as the player knows it ("dos resultados dos concursos").
    static QString whatItHolds(const QString& table) {
        static const struct {
            const char16_t* table;
            const char16_t* holds;
        } kNames[] = {{u"TableRes", u"dos resultados dos concursos"},
                      {u"TableLimpaRes", u"dos resultados dos concursos"},
                      {u"TableAval", u"dos pesos das dezenas"},
                      {u"TableCar", u"dos jogos"},
                      {u"TableCarImp", u"dos jogos"},
                      {u"TableDes", u"das dezenas desprezadas"},
                      {u"TableOrd", u"da lista de dezenas"},
                      {u"TableSaidas", u"das estatísticas das dezenas"},
                      {u"TableRelSai", u"das estatísticas das dezenas"},
                      {u"TableDis", u"da distribuição das dezenas"},
                      {u"TableDezVal", u"da distribuição das dezenas"},
                      {u"TableRel", u"da listagem dos jogos"},
                      {u"TableImp", u"das cartelas a imprimir"},
                      {u"TableCImp", u"das cartelas a imprimir"}};
        for (const auto& n : kNames)
            if (table == QStringView(n.table))
                return QString::fromUtf16(n.holds);
        return QStringLiteral("do programa");
    }

private:
    QString message_;
};
