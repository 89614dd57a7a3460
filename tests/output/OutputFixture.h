#pragma once

#include "Prompter.h"
#include "Schemas.h"
#include "Tables.h"

#include <QList>
#include <QStringList>
#include <optional>

// Games as the generators leave them: Cartao, Dezenas and the numbers in d1 upward. A number 0
// in `numbers` is stored as 0; the positions after the list stay empty.
inline void createGames(Tables& t) {
    Table& car = t.TableCar;
    car.close();
    car.defineFields(Schemas::games());
    car.setIndexFieldNames(QStringLiteral("Cartao"));
    car.create();
}

inline void addGame(Table& car, double cartao, const QList<int>& numbers, std::optional<int> dezenas = {}) {
    car.insert();
    car.setReal(car.fieldIndex(u"Cartao"), cartao);
    if (dezenas.value_or(1) != -1)
        car.setInteger(car.fieldIndex(u"Dezenas"), dezenas.value_or(static_cast<int>(numbers.size())));
    for (int i = 0; i < numbers.size(); ++i)
        car.setInteger(car.fieldIndex(QStringLiteral("d%1").arg(i + 1)), numbers[i]);
    car.post();
}

// A numbered run of games of the given sizes, numbers 1, 2, ... size.
inline void addGamesOfSizes(Table& car, const QList<int>& sizes) {
    for (int g = 0; g < sizes.size(); ++g) {
        QList<int> numbers;
        for (int n = 1; n <= sizes[g]; ++n)
            numbers << n;
        addGame(car, g + 1, numbers);
    }
}

inline void createResults(Tables& t) {
    Table& res = t.TableRes;
    res.close();
    res.defineFields(Schemas::results());
    res.setIndexFieldNames(QStringLiteral("Concurso"));
    res.create();
}

inline void addDraw(Tables& t, int concurso, const QList<int>& numbers) {
    Table& res = t.TableRes;
    res.insert();
    res.setInteger(res.fieldIndex(u"Concurso"), concurso);
    for (int i = 0; i < numbers.size(); ++i)
        res.setInteger(res.fieldIndex(QStringLiteral("d%1").arg(i + 1)), numbers[i]);
    res.post();
}

// The flags ad1..ad15 of the current game, "" for an empty one.
inline QStringList flagsOf(const Table& car) {
    QStringList flags;
    for (int i = 1; i <= 15; ++i)
        flags << car.text(car.fieldIndex(QStringLiteral("ad%1").arg(i)));
    return flags;
}

// The Cartao of every game in the table's current order.
inline QList<int> gameNumbers(const Table& car) {
    QList<int> out;
    const int f = car.fieldIndex(u"Cartao");
    for (int i = 0; i < car.rowCount(); ++i)
        out << static_cast<int>(*car.rowAt(i).realValue(f));
    return out;
}

// Answers the questions from a script and keeps what was asked.
class ScriptedPrompter final : public Prompter {
public:
    explicit ScriptedPrompter(bool answer) : answer_(answer) {}
    void inform(const Message& m) override { told << m; }
    bool ask(const Message& m) override {
        asked << m;
        return answer_;
    }
    QList<Message> told;
    QList<Message> asked;

private:
    bool answer_;
};
