#include "PrizeCells.h"
#include "ResultsFileReading.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <map>

using namespace Qt::Literals::StringLiterals;

namespace ResultsFileReading {

namespace {

int jsonWhole(const QJsonValue& v) {
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (!(d > -1e9 && d < 1e9)) // also NaN; checked before the conversion
            return 0;
        return d == static_cast<double>(static_cast<int>(d)) ? static_cast<int>(d) : 0;
    }
    return wholeNumber(v.toString()).value_or(0);
}

std::array<int, 6> jsonNumbers(const QJsonValue& v) {
    std::array<int, 6> n{};
    const QJsonArray a = v.toArray();
    if (a.size() != 6)
        return n; // a list of another length is refused as a whole
    for (qsizetype i = 0; i < 6; ++i)
        n[static_cast<std::size_t>(i)] = jsonWhole(a.at(i));
    return n;
}

bool isServiceResult(const QJsonValue& v) {
    return v.isObject() && v.toObject().contains(u"numero");
}

// A count or an amount as the service gives it: a JSON number, or a text.
std::optional<qint64> jsonCount(const QJsonValue& v) {
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (!(d >= 0 && d < 1e12) || d != static_cast<double>(static_cast<qint64>(d)))
            return std::nullopt;
        return static_cast<qint64>(d);
    }
    return v.isString() ? winnersCount(v.toString()) : std::nullopt;
}

std::optional<Centavos> jsonMoney(const QJsonValue& v) {
    if (v.isDouble())
        return MoneyOfNumber(v.toDouble());
    return v.isString() ? ParseMoney(v.toString()) : std::nullopt;
}

// `listaRateioPremio` (`faixa` 1 to 3: 6, 5 and 4 hits) with `dataApuracao`; nothing when the
// object has no prize list.
std::optional<FilePrizes> servicePrizes(const QJsonObject& o) {
    const QJsonValue list = o.value(QLatin1String("listaRateioPremio"));
    if (list.isUndefined() || list.isNull())
        return std::nullopt;
    FilePrizes p;
    p.date = drawDate(o.value(QLatin1String("dataApuracao")).toString());
    DrawTiers tiers;
    std::array<bool, 3> seen{};
    for (const QJsonValue& v : list.toArray()) {
        const QJsonObject tier = v.toObject();
        const int faixa = jsonWhole(tier.value(QLatin1String("faixa")));
        if (faixa < 1 || faixa > 3)
            continue; // the smaller tiers of other games, or none
        const auto winners = jsonCount(tier.value(QLatin1String("numeroDeGanhadores")));
        const auto prize = jsonMoney(tier.value(QLatin1String("valorPremio")));
        const auto i = static_cast<std::size_t>(faixa - 1);
        if (!winners || !prize || seen[i]) {
            p.unreadable = true;
            return p;
        }
        tiers[i] = {*winners, *prize};
        seen[i] = true;
    }
    if (seen != std::array<bool, 3>{true, true, true}) {
        p.unreadable = true;
        return p;
    }
    p.tiers = tiers;
    return p;
}

void addServiceResult(DrawCollector& collect, const QJsonObject& o) {
    const int concurso = jsonWhole(o.value(QLatin1String("numero")));
    if (concurso < 1)
        return;
    const QJsonValue inOrder = o.value(QLatin1String("dezenasSorteadasOrdemSorteio"));
    const bool hasOrder = inOrder.isArray() && !inOrder.toArray().isEmpty();
    collect.add(concurso, jsonNumbers(hasOrder ? inOrder : o.value(QLatin1String("listaDezenas"))),
                servicePrizes(o));
}

} // namespace

ParseOutcome readResultsJson(const QByteArray& content) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        return problem(
            QStringLiteral("o JSON está danificado ou incompleto (erro no caractere %1)").arg(error.offset));
    DrawCollector collect(ResultsFormat::Json);
    if (doc.isArray()) {
        for (const QJsonValue& v : doc.array())
            if (isServiceResult(v))
                addServiceResult(collect, v.toObject());
    } else if (isServiceResult(doc.object())) {
        addServiceResult(collect, doc.object());
    } else {
        const QJsonObject o = doc.object();
        std::map<int, QJsonValue> byNumber; // keys come in text order; draws go in number order
        for (auto it = o.begin(); it != o.end(); ++it) {
            const auto concurso = wholeNumber(it.key());
            if (!concurso || *concurso < 1 || !it.value().isArray())
                return problem(QStringLiteral("o JSON não traz os concursos no formato esperado (a chave "
                                              "\"%1\" não é o número de um concurso com as suas dezenas)")
                                   .arg(it.key()));
            byNumber.emplace(*concurso, it.value());
        }
        for (const auto& [concurso, numbers] : byNumber)
            collect.add(concurso, jsonNumbers(numbers));
    }
    if (collect.empty())
        return problem(QStringLiteral("o JSON não traz nenhum concurso"));
    return collect.take();
}

} // namespace ResultsFileReading
