#pragma once

#include "BoardSelection.h"
#include "GameMeasures.h"
#include "GamesTable.h"
#include "Prompter.h"
#include "Table.h"

#include <QList>
#include <functional>
#include <random>
#include <vector>

// The player's side of a generator run, answering from a script and remembering what it was told
// and asked. When the script runs out every question is answered No.
class ScriptedPrompter final : public Prompter {
public:
    explicit ScriptedPrompter(QList<bool> answers = {}) : answers_(std::move(answers)) {}
    void inform(const Message& m) override { informed.push_back(m); }
    bool ask(const Message& m) override {
        asked.push_back(m);
        return answers_.isEmpty() ? false : answers_.takeFirst();
    }
    QList<Message> informed;
    QList<Message> asked;

private:
    QList<bool> answers_;
};

// A progress display that lets the run go on for `allowed` reports and cancels at the next one
// (never, for a negative `allowed`).
class ScriptedProgress final : public Progress {
public:
    explicit ScriptedProgress(int allowed = -1) : allowed_(allowed) {}
    bool report(qint64, qint64, qint64) override {
        ++calls;
        return allowed_ < 0 || calls <= allowed_;
    }
    int calls = 0;

private:
    int allowed_;
};

inline std::vector<int> numbersFrom(int from, int to) {
    std::vector<int> v;
    for (int n = from; n <= to; ++n)
        v.push_back(n);
    return v;
}

// Shuffle keys from a fixed seed, so that a run deals the same games every time.
inline std::function<int()> seededKeys(unsigned seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine]() { return std::uniform_int_distribution<int>(0, 999)(*engine); };
}

// Appends a game as another generator would have stored it; `withTodos` false for the games of
// the combination generator.
inline void appendGame(Table& car, double cartao, const std::vector<int>& numbers, bool withTodos) {
    const GameFields f(car);
    car.insert();
    car.setReal(f.cartao, cartao);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        car.setInteger(f.d[i], numbers[i]);
    car.setInteger(f.dezenas, static_cast<int>(numbers.size()));
    if (withTodos)
        car.setText(f.todos, TodosText(numbers));
    car.post();
}

inline std::vector<int> gameAt(const Table& car, const GameFields& f, int position) {
    std::array<int, 15> out{};
    const int n = ReadGameNumbers(car.rowAt(position), f, out);
    return {out.begin(), out.begin() + n};
}

inline std::vector<int> gameAt(const Table& car, int position) {
    return gameAt(car, GameFields(car), position);
}
