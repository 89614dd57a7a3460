#include "WheelGeneration.h"

#include "Filters.h"
#include "GamePrice.h"
#include "GamesTable.h"
#include "Table.h"

#include <QLocale>
#include <cmath>
#include <unordered_set>

namespace {

const QString kTitle = QStringLiteral("Fechamento");

Message refusal(const QString& text) {
    return {kTitle, text};
}

// The guarantee in the question's words: "pelo menos uma quadra", "a sena".
QString prizePhrase(int t) {
    switch (t) {
    case 3:
        return QStringLiteral("pelo menos um terno");
    case 4:
        return QStringLiteral("pelo menos uma quadra");
    case 5:
        return QStringLiteral("pelo menos uma quina");
    default:
        return QStringLiteral("a sena");
    }
}

qint64 priceCents(int size) {
    return std::llround(GamePrice(size) * 100.0);
}

} // namespace

QStringList WheelPrizeNames() {
    return {QStringLiteral("Terno"), QStringLiteral("Quadra"), QStringLiteral("Quina"),
            QStringLiteral("Sena")};
}

QStringList WheelConditionTexts(int t) {
    QStringList items;
    for (int m = std::max(t, 3); m <= 6; ++m)
        items << QStringLiteral("se saírem %1 das dezenas escolhidas").arg(m);
    return items;
}

std::optional<Message> RefuseWheel(const WheelShape& s) {
    if (s.k < 6 || s.k > 15)
        return refusal(QStringLiteral("O número de dezenas por jogo deve variar de 6 a 15."));
    if (s.t < 3 || s.t > 6 || s.m < s.t || s.m > 6)
        return refusal(
            QStringLiteral("A condição deve pedir de %1 a 6 dezenas sorteadas.").arg(std::max(s.t, 3)));
    if (s.v < s.k)
        return refusal(
            QStringLiteral("Há só %1 dezenas escolhidas: um jogo de %2 dezenas precisa de pelo menos "
                           "%2 dezenas escolhidas.")
                .arg(s.v)
                .arg(s.k));
    if (s.m > s.v)
        return refusal(QStringLiteral("A condição pede %1 das dezenas escolhidas, mas só há %2 escolhidas.")
                           .arg(s.m)
                           .arg(s.v));
    if (const qint64 lower = WheelLowerBound(s); lower > kMaxWheelGames)
        return refusal(
            QStringLiteral("Esse fechamento teria pelo menos %1 jogos; o programa faz fechamentos de "
                           "até %2 jogos.")
                .arg(QLocale().toString(lower), QLocale().toString(kMaxWheelGames)));
    return std::nullopt;
}

double ConditionChance(int v, int m) {
    if (v < 0 || v > 60)
        return 0.0;
    double favourable = 0.0;
    for (int j = std::max(m, 0); j <= 6; ++j)
        favourable += static_cast<double>(Binomial(v, j)) * static_cast<double>(Binomial(60 - v, 6 - j));
    return favourable / static_cast<double>(Binomial(60, 6));
}

QString ConditionChanceText(int v, int m) {
    const double p = ConditionChance(v, m);
    const QLocale locale;
    if (p <= 0.0)
        return QStringLiteral("Nenhum sorteio tem %1 das %2 dezenas escolhidas.").arg(m).arg(v);
    return QStringLiteral("Chance de um sorteio ter %1 ou mais das %2 dezenas escolhidas: 1 em %3 (%4%).")
        .arg(m)
        .arg(v)
        .arg(locale.toString(1.0 / p, 'f', 1), locale.toString(100.0 * p, 'f', 4));
}

Message WheelQuestion(const WheelShape& s, int games, int alreadyThere) {
    QString text = QStringLiteral("Fechamento de %1 dezenas em %2 jogos de %3 dezenas (R$ %4): garante %5 se "
                                  "saírem %6 das %1 dezenas escolhidas.")
                       .arg(s.v)
                       .arg(games)
                       .arg(s.k)
                       .arg(FormatMoney(priceCents(s.k) * games))
                       .arg(prizePhrase(s.t))
                       .arg(s.m);
    if (alreadyThere == 1)
        text += QStringLiteral(" 1 desses jogos já está na lista e não será gravado de novo.");
    else if (alreadyThere > 1)
        text += QStringLiteral(" %1 desses jogos já estão na lista e não serão gravados de novo.")
                    .arg(alreadyThere);
    text += QStringLiteral(" Grava os jogos?");
    return {kTitle, text, true};
}

WheelOffer OfferWheel(const Table& games, const WheelRequest& request, Progress& progress) {
    WheelOffer offer;
    const std::vector<int> chosen = request.board.candidates();
    WheelShape& shape = offer.shape;
    shape.v = static_cast<int>(chosen.size());
    shape.k = WholeNumber(request.dezFecha).value_or(0);
    shape.t = request.t;
    shape.m = request.m;
    if (auto no = RefuseWheel(shape)) {
        offer.message = no;
        return offer;
    }
    const WheelSearchResult found = SearchWheel(shape, request.search, progress);
    offer.cancelled = found.cancelled;
    if (found.games.empty()) {
        offer.message = refusal(QStringLiteral("A busca foi cancelada antes de achar um fechamento."));
        return offer;
    }
    // The positions of the search are the chosen numbers in ascending order.
    std::vector<WheelMask> wheel;
    wheel.reserve(found.games.size());
    for (const WheelMask positions : found.games) {
        WheelMask numbers = 0;
        for (WheelMask p = positions; p; p &= p - 1)
            numbers |= WheelMask{1} << (chosen[static_cast<std::size_t>(std::countr_zero(p))] - 1);
        wheel.push_back(numbers);
    }
    // The guarantee is proven on the very games offered, before the player is asked.
    if (!CheckWheel(WheelMaskOf(chosen), wheel, shape.t, shape.m).holds) {
        offer.message =
            refusal(QStringLiteral("O fechamento achado não passou na verificação e não foi oferecido."));
        return offer;
    }
    const GameFields f(games);
    std::unordered_set<WheelMask> stored;
    std::array<int, 15> numbers{};
    for (int i = 0; i < games.rowCount(); ++i) {
        const int n = ReadGameNumbers(games.rowAt(i), f, numbers);
        stored.insert(WheelMaskOf(std::span<const int>(numbers.data(), static_cast<std::size_t>(n))));
    }
    for (const WheelMask g : wheel) {
        offer.games.push_back(WheelNumbersOf(g));
        offer.present.push_back(stored.contains(g));
        offer.alreadyThere += offer.present.back() ? 1 : 0;
    }
    offer.question = WheelQuestion(shape, static_cast<int>(wheel.size()), offer.alreadyThere);
    return offer;
}

int AppendWheel(Table& games, const WheelOffer& offer) {
    const GameFields f(games);
    qint64 cartao = NextGameNumber(games);
    int appended = 0;
    Table::BulkChange guard(games);
    for (std::size_t i = 0; i < offer.games.size(); ++i) {
        if (offer.present[i])
            continue;
        AppendGame(games, f, cartao++, offer.games[i], GameRowFields::wheel());
        ++appended;
    }
    return appended;
}

WheelRunResult RunWheel(Table& games, const WheelRequest& request, Prompter& prompter, Progress& progress) {
    WheelRunResult result;
    result.offer = OfferWheel(games, request, progress);
    if (result.offer.message)
        return result;
    result.asked = true;
    if (prompter.ask(result.offer.question))
        result.appended = AppendWheel(games, result.offer);
    return result;
}
