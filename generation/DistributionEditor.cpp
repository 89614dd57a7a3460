#include "DistributionEditor.h"

#include "GameMeasures.h"
#include "GamesTable.h"

int SnappedTop(int top) {
    // Row 1 catches from 10 and row 10 stops before 257; rows 2..9 catch 25 × r − 13 .. 25 × r + 12.
    if (top < 10 || top >= 257)
        return top;
    if (top < 37)
        return 25;
    if (top >= 237)
        return 250;
    return (top + 13) / 25 * 25;
}

DistributionEditor::DistributionEditor(QObject* parent) : QObject(parent) {
    NextChipLeft_.fill(kFirstLeft);
}

int DistributionEditor::rowOf(int number) const {
    const Chip& c = chip(number);
    if (!c.visible || c.top % kRowPitch != 0)
        return 0;
    const int r = c.top / kRowPitch;
    return r >= 1 && r <= kRows ? r : 0;
}

std::vector<int> DistributionEditor::rowNumbers(int row) const {
    std::vector<int> numbers;
    for (int k = 1; k <= 60; ++k)
        if (rowOf(k) == row)
            numbers.push_back(k);
    return numbers;
}

void DistributionEditor::setPosition(int number, int left, int top) {
    Chip& c = chips_[index(number)];
    if (c.left == left && c.top == top)
        return;
    c.left = left;
    c.top = top;
    emit chipMoved(number);
}

void DistributionEditor::setVisible(int number, bool visible) {
    Chip& c = chips_[index(number)];
    if (c.visible == visible)
        return;
    c.visible = visible;
    emit chipVisibilityChanged(number);
}

void DistributionEditor::showInPlay(const NumberFlags& inPlay) {
    Dragging_ = false;
    for (int k = 1; k <= 60; ++k) {
        // A chip the layout does not place must not keep a row from an earlier distribution.
        setPosition(k, 0, 0);
        setVisible(k, inPlay[index(k)]);
    }
}

void DistributionEditor::placeRows(const std::vector<std::vector<int>>& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int top = kRowPitch * static_cast<int>(r + 1);
        int left = kFirstLeft;
        for (const int number : rows[r]) {
            if (number < 1 || number > 60)
                break;
            setPosition(number, left, top);
            setVisible(number, true);
            left += kSlotPitch;
        }
    }
}

void DistributionEditor::shift(int number, int x, int y) {
    const Chip& c = chip(number);
    setPosition(number, c.left + x - GrabX_, c.top + y - GrabY_);
}

void DistributionEditor::press(int number, int x, int y) {
    if (!chip(number).visible)
        return;
    Dragging_ = true;
    GrabX_ = x;
    GrabY_ = y;
    emit dragStarted(number);
}

void DistributionEditor::move(int number, int x, int y) {
    if (Dragging_ && chip(number).visible)
        shift(number, x, y);
}

void DistributionEditor::release(Table& aval, int number, int x, int y) {
    if (!chip(number).visible)
        return;
    if (Dragging_) {
        Dragging_ = false;
        emit dragEnded(number);
        shift(number, x, y);
        SnapChipToRow(number);
    }
    if (aval.locate(u"Dezena", number)) {
        aval.edit();
        aval.setInteger(aval.fieldIndex(u"Cartao"), chip(number).top / kRowPitch);
        aval.post();
    }
    RepackChips();
}

void DistributionEditor::SnapChipToRow(int number) {
    const Chip& c = chip(number);
    setPosition(number, c.left, SnappedTop(c.top));
}

void DistributionEditor::RepackChips() {
    NextChipLeft_.fill(kFirstLeft);
    for (int k = 1; k <= 60; ++k) {
        const int r = rowOf(k);
        if (r == 0)
            continue;
        int& next = NextChipLeft_[static_cast<std::size_t>(r - 1)];
        setPosition(k, next, chip(k).top);
        next += kSlotPitch;
    }
}

int CommitDistributedGames(Tables& t, const DistributionEditor& editor) {
    Table& car = t.TableCar;
    const GameFields f(car);
    const Table::BulkChange bulk(car);
    int appended = 0;
    qint64 cartao = NextGameNumber(car);
    for (int r = 1; r <= DistributionEditor::kRows; ++r) {
        const std::vector<int> numbers = editor.rowNumbers(r);
        const auto c = static_cast<int>(numbers.size());
        if (c < 6 || c > 15)
            continue;
        const QString todos = TodosText(numbers);
        if (car.locate(u"Todos", todos))
            continue; // the game stands in the table already
        AppendGame(car, f, cartao++, numbers, GameRowFields::distribution());
        ++appended;
    }
    return appended;
}

void FillDerivedFields(Table& games) {
    const GameFields f(games);
    const Table::BulkChange bulk(games);
    std::array<int, 15> numbers{};
    for (int i = 0; i < games.rowCount(); ++i) {
        const RowRef row = games.rowAt(i);
        if (!row.isEmpty(f.abaixo))
            continue;
        std::size_t n = 0;
        for (const int field : f.d) {
            const int v = row.intValue(field).value_or(0);
            if (v == 0)
                break;
            numbers[n++] = v;
        }
        const GameMeasures m = MeasureGame(std::span<const int>(numbers.data(), n));
        games.moveTo(i);
        games.edit();
        games.setInteger(f.pares, m.pares);
        games.setInteger(f.linhas, m.linhas);
        games.setInteger(f.abaixo, m.abaixo);
        games.post();
        // In a table ordered by a derived field the row moves away, and the row after it takes
        // its place: that one is looked at next.
        if (games.position() != i)
            --i;
    }
}
