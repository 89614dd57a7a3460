#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <array>

// What the player chose for one number: playable, never to be played, or in every game.
enum class NumberState { Valid, Discarded, Fixed };

// The mouse button of a press on a cell. Only the right button fixes; every other button acts as
// the left one.
enum class PressButton { Left, Middle, Right };

// The background of a cell in each state: clYellow, clSkyBlue or clWhite (0xRRGGBB).
quint32 StateColor(NumberState s);

// The player's selection over the 60 numbers, the only source of it for the generators. A fixed
// number counts as valid everywhere here (in "Válidas" and in the even/odd counts).
//
// DiscardedCount is kept by the operations (each one adds, takes or resets), never recounted on
// read; ValidEvenCount is recounted whenever the counts labels are rewritten. `changed()` follows
// every operation, once.
class NumberBoard : public QObject {
    Q_OBJECT

public:
    static constexpr int kNumbers = 60;

    explicit NumberBoard(QObject* parent = nullptr);

    // Throws std::out_of_range for a number outside 1..60.
    NumberState state(int n) const;

    // A press on cell n: Valid becomes Fixed (right button) or Discarded (any other); Discarded and
    // Fixed become Valid with any button. A number outside 1..60 is not on the board: nothing happens.
    void ToggleCell(int n, PressButton button);
    // Valid and Discarded swap; Fixed stays and is not counted.
    void InvertSelection();
    // Every number Valid, fixed ones too.
    void ClearSelection();
    // The selection read back at start-up: the given numbers Discarded, every other one Valid.
    // Numbers outside 1..60 are ignored and a number given twice counts once.
    void setDiscardedNumbers(const QList<int>& discarded);

    int DiscardedCount() const { return discardedCount_; }
    int ValidEvenCount() const { return validEvenCount_; }
    // "Dezenas: Desprezadas=D  Válidas=60-D"
    QString DiscardedLabelText() const;
    // "Dezenas válidas pares: E. Impares= 60-D-E"
    QString EvenLabelText() const;

    // The numbers that are not Discarded, ascending (Valid and Fixed).
    QList<int> numbersInPlay() const;
    // The numbers whose state is exactly Valid (free to deal), ascending.
    QList<int> validNumbers() const;
    QList<int> fixedNumbers() const;
    QList<int> discardedNumbers() const;
    int count(NumberState s) const;

signals:
    void changed();

private:
    // Recounts ValidEvenCount; the labels read it with DiscardedCount.
    void UpdateBoardCounts();
    QList<int> numbersWhere(bool (*keep)(NumberState)) const;

    std::array<NumberState, kNumbers> states_{};
    int discardedCount_ = 0;
    int validEvenCount_ = kNumbers / 2;
};
