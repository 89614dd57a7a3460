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

private:
    void followTable(int row);
    void selectionMoved(const QModelIndex& current);

    TableModel* model_;
    std::function<void(const QString&)> onError_;
    bool following_ = false;
};
