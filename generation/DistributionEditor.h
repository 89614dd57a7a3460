#pragma once

#include "Distribution.h"
#include "Table.h"
#include "Tables.h"

#include <QObject>
#include <array>
#include <vector>

// The top a chip takes when it is dropped with its top at `top`: the top of the row it falls on
// (10..36 row 1 at 25, 37..61 row 2 at 50, ..., 237..256 row 10 at 250), or `top` itself when it
// falls on no row.
int SnappedTop(int top);

// The editor of dealt games: the chips of the 60 numbers on a panel of ten rows. A visible chip
// whose Top is exactly 25 × r belongs to game row r (1..10); within a row the chips stand in slots
// at Left 20, 41, 62, ... in ascending number order. Hidden chips are the numbers out of play.
// Positions are pixels inside the panel; the view moves its chip widgets when told by the signals
// and feeds the mouse events of the chips back (positions relative to the chip, as the chip
// receives them).
class DistributionEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int kRows = 10;
    static constexpr int kRowPitch = 25;  // row r's top is 25 × r
    static constexpr int kSlotPitch = 21; // slot i's left is 21 × i − 1
    static constexpr int kFirstLeft = 20;
    static constexpr int kChipWidth = 21;
    static constexpr int kChipHeight = 23;

    struct Chip {
        bool visible = false;
        int left = 0;
        int top = 0;
    };

    explicit DistributionEditor(QObject* parent = nullptr);

    const Chip& chip(int number) const { return chips_[index(number)]; }
    // The row (1..10) a chip belongs to, 0 for a hidden chip or one outside every row.
    int rowOf(int number) const;
    // The numbers of row r in ascending order.
    std::vector<int> rowNumbers(int row) const;

    // Shows exactly the chips of the numbers in play and parks every chip at the panel's top left,
    // outside every row, until the layout places it.
    void showInPlay(const NumberFlags& inPlay);
    // Puts row k's numbers (k from 1) in its slots 1, 2, ... and shows them.
    void placeRows(const std::vector<std::vector<int>>& rows);

    // The drag protocol. A press grabs the chip at (x, y); each move while dragging shifts it so
    // that the grabbed point stays under the pointer; the release moves it once more, snaps it to
    // the row it is dropped on, records the number's row in `aval` (Cartao := Top ÷ 25, looked up
    // by Dezena) and repacks every row. Events on a hidden chip are ignored.
    void press(int number, int x, int y);
    void move(int number, int x, int y);
    void release(Table& aval, int number, int x, int y);

    bool Dragging() const { return Dragging_; }
    int GrabX() const { return GrabX_; }
    int GrabY() const { return GrabY_; }

    // Moves the chip onto the row its Top falls on (see SnappedTop).
    void SnapChipToRow(int number);
    // Packs every row from slot 1 in ascending number order; chips outside the rows stay where
    // they are. A 16th chip of a row lands at Left 335, past the row's band.
    void RepackChips();
    // The Left the next chip of each row (index row − 1) was to get in the last repacking.
    const std::array<int, kRows>& NextChipLeft() const { return NextChipLeft_; }

signals:
    void chipMoved(int number);             // its Left or Top changed
    void chipVisibilityChanged(int number); // shown or hidden
    void dragStarted(int number);           // bring it to the front and capture the mouse
    void dragEnded(int number);             // release the mouse capture

private:
    static std::size_t index(int number) { return static_cast<std::size_t>(number - 1); }
    void setPosition(int number, int left, int top);
    void setVisible(int number, bool visible);
    void shift(int number, int x, int y);

    std::array<Chip, 60> chips_{};
    std::array<int, kRows> NextChipLeft_{};
    bool Dragging_ = false;
    int GrabX_ = 0;
    int GrabY_ = 0;
};

// Appends to TableCar (open, in Cartao order) every editor row of 6 to 15 numbers whose Todos is
// not in the table yet, numbered on from the last game, with Todos, Dezenas and d1..dN; the other
// rows are passed over. Answers how many games were appended.
int CommitDistributedGames(Tables& t, const DistributionEditor& editor);

// Fills Pares, Linhas and Abaixo of every row whose Abaixo is empty, from d1 up to the first empty
// or 0 field. Rows whose Abaixo holds a value are left as they are.
void FillDerivedFields(Table& games);
