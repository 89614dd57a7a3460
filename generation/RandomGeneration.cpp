#include "RandomGeneration.h"

#include "CountText.h"
#include "FileNames.h"
#include "GameMeasures.h"
#include "GamesTable.h"
#include "Schemas.h"
#include "Tables.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <set>

namespace {

const QString kSizeTitle = QStringLiteral("Geração dos jogos");

Message sizeMessage(const QString& text) {
    return {kSizeTitle, text};
}

const Message& hardQuestion() {
    static const Message m{
        QStringLiteral("Tá difícil"),
        QStringLiteral("O sistema já tentou 1000 combinações aleatórias e não consegue atender "
                       "a seus filtros? Tenta mais 1000?"),
        true};
    return m;
}

// Attempts between two progress reports.
constexpr int kReportEvery = 256;

int roundHalfUp(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

// One range of classes: the quota of each class in lo..hi that lies in first..last, in proportion
// to its share, the class hi taking what the others left. The loop never leaves first..last, so a
// range typed as "1-999999999" costs no more than "1-6".
template <std::size_t N>
void shareOut(int games, int lo, int hi, int first, const std::array<double, N>& share, int* quota) {
    const int last = first + static_cast<int>(N) - 1;
    const int from = std::max(lo, first);
    const int to = std::min(hi, last);
    double sum = 0.0;
    for (int j = from; j <= to; ++j)
        sum += share[static_cast<std::size_t>(j - first)];
    int given = 0;
    for (int j = from; j <= to; ++j) {
        if (j == hi) {
            quota[j] = games - given;
        } else {
            quota[j] =
                roundHalfUp(static_cast<double>(games) * share[static_cast<std::size_t>(j - first)] / sum);
            given += quota[j];
        }
    }
}

} // namespace

GameSizeCheck CheckGameSize(const BoardSelection& board, QStringView dezJogo) {
    GameSizeCheck c;
    c.gameSizeOk = true;
    c.available = static_cast<int>(board.valid.size());
    c.perGame = WholeNumber(dezJogo).value_or(0);
    if (c.perGame < 6 || c.perGame > 15) {
        c.gameSizeOk = false;
        c.message = sizeMessage(QStringLiteral("As dezenas por jogo são no mínimo 6 e no máximo 15"));
        return c;
    }
    if (c.available < c.perGame) {
        c.gameSizeOk = false;
        c.message = sizeMessage(QStringLiteral("Dezenas disponíveis insuficientes"));
        return c;
    }
    // Every game holds all the Fixed numbers, so only k − fixed of its numbers are chosen among the
    // Valid ones: that many games exist, and no more can be asked for.
    const int fixedCount = static_cast<int>(std::set<int>(board.fixed.begin(), board.fixed.end()).size());
    c.maxGames = fixedCount < c.perGame ? FloatCombinations(c.available, c.perGame - fixedCount) : 0.0;
    c.labelMax = CountText(*c.maxGames);
    return c;
}

Quotas ComputeQuotas(int games, const FilterSettings& s) {
    Quotas q;
    shareOut(games, s.paresMin, s.paresMax, 0, EvenSharePercent, q.even.data());
    shareOut(games, s.linhasMin, s.linhasMax, 1, RowSharePercent, q.row.data());
    return q;
}

RandomKeys ClockSeededKeys() {
    const auto seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(seed ^ (seed >> 32)));
    return [engine]() { return std::uniform_int_distribution<int>(0, 999)(*engine); };
}

RandomRunResult GenerateRandomGames(Tables& t, const RandomRequest& request, const RandomKeys& keys,
                                    Prompter& prompter, Progress& progress) {
    RandomRunResult result;
    result.size = CheckGameSize(request.board, request.dezJogo);
    if (!result.size.gameSizeOk) {
        result.message = result.size.message;
        return result;
    }
    const int k = result.size.perGame;
    const std::set<int> fixedSet(request.board.fixed.begin(), request.board.fixed.end());
    // As many Fixed numbers as numbers per game leave no game to make (MaxGames is 0): that is
    // what the player is told, not that the count of games is wrong. The panel closes as it does
    // when this is found while preparing the run.
    if (static_cast<int>(fixedSet.size()) >= k) {
        result.message =
            Message{QStringLiteral("Quantidade de dezenas fixas"),
                    QStringLiteral("O número de dezenas fixas deve ser menor que as dezenas jogadas.")};
        result.panelOpen = false;
        return result;
    }

    const int games = WholeNumber(request.quant).value_or(0);
    if (games < 1 || static_cast<double>(games) > *result.size.maxGames) {
        result.message = Message{QStringLiteral("Quantidade de jogos"),
                                 QStringLiteral("O número de jogos desejados é inválido.")};
        return result;
    }
    result.wanted = games;
    const FilterSettings filters = RandomFilterSettings(request.filters);
    if (filters.paresMax > k) {
        result.message = Message{
            QStringLiteral("Dezenas pares"),
            QStringLiteral("A quantidade de dezenas pares do filtro é maior que a de dezenas por jogo.")};
        return result;
    }

    // From here on the generation panel is closed, whatever follows.
    result.panelOpen = false;

    Table& ord = t.TableOrd;
    ord.setIndexFieldNames(QStringLiteral("Dezena"));
    ord.create();

    Table& deck = t.TableDezVal;
    FileNames::remove(t.folder(), Schemas::kOldDeckFile);
    deck.setIndexFieldNames(QStringLiteral("Dezena"));
    deck.create();
    const int deckDezena = deck.fieldIndex(u"Dezena");
    const int deckAlea = deck.fieldIndex(u"Alea");
    const int ordDezena = ord.fieldIndex(u"Dezena");
    const std::set<int> valid(request.board.valid.begin(), request.board.valid.end());
    {
        Table::BulkChange guard(deck);
        for (int n = 1; n <= 60; ++n) {
            if (!valid.contains(n))
                continue;
            deck.insert();
            deck.setInteger(deckDezena, n);
            deck.post();
        }
    }
    std::vector<int> fixed;
    for (int n = 1; n <= 60; ++n)
        if (fixedSet.contains(n))
            fixed.push_back(n);
    if (static_cast<int>(fixed.size()) >= k) {
        result.message =
            Message{QStringLiteral("Quantidade de dezenas fixas"),
                    QStringLiteral("O número de dezenas fixas deve ser menor que as dezenas jogadas.")};
        return result;
    }

    Table& car = t.TableCar;
    const GameFields f(car);
    qint64 lastGame = NextGameNumber(car) - 1;
    Quotas quotas;
    std::array<int, 7> evenTally{};
    std::array<int, 7> rowTally{};
    if (k == 6)
        quotas = ComputeQuotas(games, filters);
    result.refreshSummary = true;

    Table::BulkChange carGuard(car);
    Table::BulkChange deckGuard(deck);
    Table::BulkChange ordGuard(ord);
    std::array<int, 15> game{};
    int accepted = 0;
    int attempts = 0;
    int sinceReport = 0;
    bool stop = false;
    while (accepted < games && !stop) {
        // Shuffle: a fresh key for every row, then the deck in key order.
        deck.setIndexFieldNames(QStringLiteral("Dezena"));
        for (deck.first(); !deck.eof(); deck.next()) {
            deck.edit();
            deck.setInteger(deckAlea, keys());
            deck.post();
        }
        deck.setIndexFieldNames(QStringLiteral("Alea"));
        deck.first();

        while (!deck.eof() && accepted < games) {
            if (++sinceReport == kReportEvery) {
                sinceReport = 0;
                if (!progress.report(accepted, games, accepted)) {
                    stop = true;
                    break;
                }
            }
            if (++attempts > 1000) {
                attempts = 0;
                if (!prompter.ask(hardQuestion())) {
                    stop = true;
                    break;
                }
            }
            ord.emptyTable();
            for (const int n : fixed) {
                ord.insert();
                ord.setInteger(ordDezena, n);
                ord.post();
            }
            while (ord.rowCount() < k && !deck.eof()) {
                const int n = deck.integer(deckDezena);
                ord.insert();
                ord.setInteger(ordDezena, n);
                ord.post();
                deck.next();
            }
            if (ord.rowCount() < k)
                break; // the deck ran out: reshuffle
            for (int i = 0; i < k; ++i)
                game[static_cast<std::size_t>(i)] = ord.rowAt(i).rawInteger(ordDezena);
            const std::span<const int> numbers(game.data(), static_cast<std::size_t>(k));
            const GameMeasures m = MeasureGame(numbers);
            if (!PassesFilters(m, filters))
                continue;
            const QString todos = TodosText(numbers);
            if (car.locate(u"Todos", todos))
                continue;
            if (k == 6) {
                auto& rows = rowTally[static_cast<std::size_t>(m.linhas)];
                auto& evens = evenTally[static_cast<std::size_t>(m.pares)];
                if (rows >= quotas.row[static_cast<std::size_t>(m.linhas)] ||
                    evens >= quotas.even[static_cast<std::size_t>(m.pares)])
                    continue;
                ++rows;
                ++evens;
            }
            attempts = 0;
            ++accepted;
            ++lastGame;
            AppendGame(car, f, lastGame, numbers, GameRowFields::random(), m);
        }
    }
    // The run's own working tables are written by the run, as every scratch table is.
    deck.commitChanges();
    ord.commitChanges();
    result.accepted = accepted;
    result.stopped = accepted < games;
    FillParesAbaixo(car);
    return result;
}

void FillParesAbaixo(Table& games) {
    const GameFields f(games);
    Table::BulkChange guard(games);
    std::array<int, 15> numbers{};
    const int rows = games.rowCount();
    for (int i = 0; i < rows; ++i) {
        const RowRef row = games.rowAt(i);
        if (!row.isEmpty(f.abaixo))
            continue;
        const int n = ReadGameNumbers(row, f, numbers);
        const GameMeasures m = MeasureGame(std::span<const int>(numbers.data(), static_cast<std::size_t>(n)));
        games.moveTo(i);
        games.edit();
        games.setInteger(f.pares, m.pares);
        games.setInteger(f.abaixo, m.abaixo);
        games.post();
        // In a table ordered by Pares or Abaixo the row moves away, and the row after it takes
        // its place: that one is looked at next.
        if (games.position() != i)
            --i;
    }
}
