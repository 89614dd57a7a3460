#include "NumberBoard.h"

#include "NamedColors.h"

#include <stdexcept>

namespace {
std::size_t slot(int n) {
    return static_cast<std::size_t>(n - 1);
}
bool onBoard(int n) {
    return n >= 1 && n <= NumberBoard::kNumbers;
}
} // namespace

quint32 StateColor(NumberState s) {
    switch (s) {
    case NumberState::Valid:
        return clYellow;
    case NumberState::Discarded:
        return clSkyBlue;
    case NumberState::Fixed:
        return clWhite;
    }
    return clYellow;
}

NumberBoard::NumberBoard(QObject* parent) : QObject(parent) {
    states_.fill(NumberState::Valid);
}

NumberState NumberBoard::state(int n) const {
    if (!onBoard(n))
        throw std::out_of_range("number outside 1..60");
    return states_[slot(n)];
}

void NumberBoard::ToggleCell(int n, PressButton button) {
    if (!onBoard(n))
        return;
    // Only two kinds of press matter: the right button ("Direito") and any other ("Esquerdo").
    const bool right = button == PressButton::Right;
    NumberState& s = states_[slot(n)];
    if (s == NumberState::Valid) {
        if (right) {
            s = NumberState::Fixed;
        } else {
            s = NumberState::Discarded;
            ++discardedCount_;
        }
    } else {
        if (s == NumberState::Discarded)
            --discardedCount_;
        s = NumberState::Valid;
    }
    UpdateBoardCounts();
}

void NumberBoard::InvertSelection() {
    discardedCount_ = 0;
    for (NumberState& s : states_) {
        if (s == NumberState::Valid) {
            s = NumberState::Discarded;
            ++discardedCount_;
        } else if (s == NumberState::Discarded) {
            s = NumberState::Valid;
        }
    }
    UpdateBoardCounts();
}

void NumberBoard::ClearSelection() {
    states_.fill(NumberState::Valid);
    discardedCount_ = 0;
    UpdateBoardCounts();
}

void NumberBoard::setDiscardedNumbers(const QList<int>& discarded) {
    states_.fill(NumberState::Valid);
    discardedCount_ = 0;
    for (const int n : discarded) {
        if (onBoard(n) && states_[slot(n)] != NumberState::Discarded) {
            states_[slot(n)] = NumberState::Discarded;
            ++discardedCount_;
        }
    }
    UpdateBoardCounts();
}

void NumberBoard::UpdateBoardCounts() {
    validEvenCount_ = 0;
    for (int n = 2; n <= kNumbers; n += 2)
        if (states_[slot(n)] != NumberState::Discarded)
            ++validEvenCount_;
    emit changed();
}

QString NumberBoard::DiscardedLabelText() const {
    return QStringLiteral("Dezenas: Desprezadas=%1  Válidas=%2")
        .arg(discardedCount_)
        .arg(kNumbers - discardedCount_);
}

QString NumberBoard::EvenLabelText() const {
    return QStringLiteral("Dezenas válidas pares: %1. Impares= %2")
        .arg(validEvenCount_)
        .arg(kNumbers - discardedCount_ - validEvenCount_);
}

QList<int> NumberBoard::numbersWhere(bool (*keep)(NumberState)) const {
    QList<int> out;
    for (int n = 1; n <= kNumbers; ++n)
        if (keep(states_[slot(n)]))
            out.push_back(n);
    return out;
}

QList<int> NumberBoard::numbersInPlay() const {
    return numbersWhere([](NumberState s) { return s != NumberState::Discarded; });
}

QList<int> NumberBoard::validNumbers() const {
    return numbersWhere([](NumberState s) { return s == NumberState::Valid; });
}

QList<int> NumberBoard::fixedNumbers() const {
    return numbersWhere([](NumberState s) { return s == NumberState::Fixed; });
}

QList<int> NumberBoard::discardedNumbers() const {
    return numbersWhere([](NumberState s) { return s == NumberState::Discarded; });
}

int NumberBoard::count(NumberState s) const {
    int c = 0;
    for (const NumberState x : states_)
        if (x == s)
            ++c;
    return c;
}
