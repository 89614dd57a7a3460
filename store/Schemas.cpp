#include "Schemas.h"

namespace {
void addNumbered(FieldList& fs, const char* prefix, int count, FieldType type, int size = 0) {
    for (int i = 1; i <= count; ++i)
        fs.push_back({QLatin1String(prefix) + QString::number(i), type, size});
}
} // namespace

FieldList Schemas::results() {
    FieldList fs{FieldDef::integer(QStringLiteral("Concurso"))};
    addNumbered(fs, "d", 6, FieldType::Integer);
    for (const char* n : {"pares", "impares", "abaixo", "acima"})
        fs.push_back(FieldDef::integer(QLatin1String(n)));
    return fs;
}

FieldList Schemas::weights() {
    return {FieldDef::real(QStringLiteral("Nota")), FieldDef::integer(QStringLiteral("dezena")),
            FieldDef::string(QStringLiteral("Desprezada"), 1), FieldDef::integer(QStringLiteral("Cartao"))};
}

FieldList Schemas::games() {
    FieldList fs{FieldDef::real(QStringLiteral("Cartao")), FieldDef::string(QStringLiteral("Emite"), 1)};
    for (const char* n : {"Pares", "Linhas", "Abaixo", "Dezenas", "Acertos"})
        fs.push_back(FieldDef::integer(QLatin1String(n)));
    addNumbered(fs, "d", 15, FieldType::Integer);
    addNumbered(fs, "ad", 15, FieldType::String, 1);
    fs.push_back(FieldDef::string(QStringLiteral("Todos"), 30));
    return fs;
}

FieldList Schemas::numberList() {
    return {FieldDef::integer(QStringLiteral("Dezena"))};
}

FieldList Schemas::numberStats() {
    FieldList fs;
    for (const char* n : {"Dezena", "Saidas", "Demora", "MaiorDemora", "TotSai", "Ordenador"})
        fs.push_back(FieldDef::integer(QLatin1String(n)));
    return fs;
}

FieldList Schemas::statsReport() {
    FieldList fs;
    for (const char* group : {"", "N", "D", "M"})
        for (const char* n : {"Dezena", "Saidas", "Demora", "MaiorDemora"})
            fs.push_back(FieldDef::integer(QLatin1String(n) + QLatin1String(group)));
    return fs;
}

FieldList Schemas::distributed() {
    FieldList fs{FieldDef::real(QStringLiteral("Cartao"))};
    addNumbered(fs, "d", 15, FieldType::Integer);
    return fs;
}

FieldList Schemas::deck() {
    return {FieldDef::integer(QStringLiteral("Dezena")), FieldDef::integer(QStringLiteral("Alea"))};
}

FieldList Schemas::listing() {
    return {FieldDef::integer(QStringLiteral("Linha")), FieldDef::string(QStringLiteral("Detalhe"), 95)};
}

FieldList Schemas::printNumbers() {
    return {FieldDef::integer(QStringLiteral("Cartao")), FieldDef::string(QStringLiteral("Dezena"), 2),
            FieldDef::integer(QStringLiteral("Quant"))};
}

FieldList Schemas::slips() {
    FieldList fs;
    for (const char* n : {"Cartela", "J1", "J2", "J3", "Dezenas"})
        fs.push_back(FieldDef::integer(QLatin1String(n)));
    return fs;
}

FieldList Schemas::calibration() {
    return {FieldDef::string(QStringLiteral("Papel"), 10), FieldDef::real(QStringLiteral("Horizontal")),
            FieldDef::real(QStringLiteral("Vertical"))};
}

FieldList Schemas::importFolder() {
    return {FieldDef::string(QStringLiteral("Pasta"), 1000)};
}

FieldList Schemas::betPrice() {
    return {FieldDef::string(QStringLiteral("Preco"), 20)};
}

FieldList Schemas::drawPrizes() {
    FieldList fs{FieldDef::integer(QStringLiteral("Concurso")), FieldDef::string(QStringLiteral("Data"), 10)};
    for (const char* hits : {"6", "5", "4"}) {
        fs.push_back(FieldDef::integer(QStringLiteral("Ganhadores") + QLatin1String(hits)));
        fs.push_back(FieldDef::string(QStringLiteral("Rateio") + QLatin1String(hits), 20));
    }
    return fs;
}
