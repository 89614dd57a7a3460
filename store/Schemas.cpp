#include "Schemas.h"

#include "LoadChecks.h"

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

const std::vector<Schemas::Definition>& Schemas::definitions() {
    static const std::vector<Definition> all{
        {QStringLiteral("TableRes"), kResultsFile, QStringLiteral("Concurso"), results(), LoadChecks::draws,
         QStringLiteral("dos resultados dos concursos")},
        // The scratch copy of the start-up rebuild; it only copies TableRes, whose file is checked.
        {QStringLiteral("TableLimpaRes"), kScratchFile, QStringLiteral("Concurso"), results(), nullptr,
         QStringLiteral("dos resultados dos concursos")},
        {QStringLiteral("TableAval"), kWeightsFile, QStringLiteral("Nota"), weights(), nullptr,
         QStringLiteral("dos pesos das dezenas")},
        {QStringLiteral("TableCar"), kGamesFile, QStringLiteral("Cartao"), games(), LoadChecks::games,
         QStringLiteral("dos jogos")},
        {QStringLiteral("TableDes"), kDiscardedFile, QStringLiteral("Dezena"), numberList(),
         LoadChecks::discarded, QStringLiteral("das dezenas desprezadas")},
        {QStringLiteral("TableOrd"), kOrderFile, QStringLiteral("Dezena"), numberList(), nullptr,
         QStringLiteral("da lista de dezenas")},
        {QStringLiteral("TableSaidas"), kStatsFile, QStringLiteral("Ordenador"), numberStats(), nullptr,
         QStringLiteral("das estatísticas das dezenas")},
        {QStringLiteral("TableRelSai"), kStatsReportFile, QStringLiteral("Dezena"), statsReport(), nullptr,
         QStringLiteral("das estatísticas das dezenas")},
        {QStringLiteral("TableDis"), kDistributedFile, QStringLiteral("Cartao"), distributed(), nullptr,
         QStringLiteral("da distribuição das dezenas")},
        {QStringLiteral("TableDezVal"), kDeckFile, QString(), deck(), nullptr,
         QStringLiteral("da distribuição das dezenas")},
        {QStringLiteral("TableRel"), kListingFile, QStringLiteral("Linha"), listing(), nullptr,
         QStringLiteral("da listagem dos jogos")},
        {QStringLiteral("TableImp"), kScratchFile, QString(), printNumbers(), nullptr,
         QStringLiteral("das cartelas a imprimir")},
        {QStringLiteral("TableCImp"), kScratchFile, QStringLiteral("Cartela"), slips(), nullptr,
         QStringLiteral("das cartelas a imprimir")},
    };
    return all;
}

const Schemas::Definition* Schemas::definitionOf(QStringView table) {
    for (const Definition& d : definitions())
        if (d.table == table)
            return &d;
    return nullptr;
}
