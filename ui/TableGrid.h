#pragma once

#include "TableModel.h"

#include <QTableView>
#include <functional>

// A grid bound to a table: shows the model's rows, marks the table's current row, and moves the
// table's cursor when the player selects a row (posting a pending row first, as any move does).
class TableGrid : public QTableView {
    Q_OBJECT

public:
    TableGrid(TableModel* model, QWidget* parent = nullptr);
    TableModel* tableModel() const { return model_; }
    void setReadOnly(bool readOnly);
    void setErrorHandler(std::function<void(const QString&)> handler);
    void setColumnWidths(const QVector<int>& widths);
    // Sizes every column to its widest expected text (`samples`, one per column, shown bold, as a
    // marked cell is) and to its title, making the grid's font smaller, down to
    // `smallestPixelSize`, until all columns fit the visible width beside the vertical scroll bar.
    // Answers whether they fit.
    bool fitColumns(const QStringList& samples, int smallestPixelSize);
    // Asked before the player's selection moves the table's cursor; false keeps the cursor and
    // puts the selection back on the current row.
    void setMoveGuard(std::function<bool()> guard) { moveGuard_ = std::move(guard); }

private:
    void followTable(int row);
    void selectionMoved(const QModelIndex& current);

    TableModel* model_;
    std::function<void(const QString&)> onError_;
    std::function<bool()> moveGuard_;
    bool following_ = false;
};
