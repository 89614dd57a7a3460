#include "TableGrid.h"

#include "Table.h"
#include "TableError.h"

#include <QHeaderView>

TableGrid::TableGrid(TableModel* model, QWidget* parent) : QTableView(parent), model_(model) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Fixed row heights keep a grid of millions of rows as quick as one of ten.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(16);
    setAlternatingRowColors(false);
    setWordWrap(false);
    connect(model_, &TableModel::currentRowChanged, this, &TableGrid::followTable);
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { followTable(model_->table().position()); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectionMoved(current); });
    followTable(model_->table().position());
}

void TableGrid::setReadOnly(bool readOnly) {
    model_->setEditable(!readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
}

void TableGrid::setErrorHandler(std::function<void(const QString&)> handler) {
    onError_ = handler;
    model_->setErrorHandler(std::move(handler));
}

void TableGrid::setColumnWidths(const QVector<int>& widths) {
    for (int c = 0; c < widths.size(); ++c)
        setColumnWidth(c, widths[c]);
}

void TableGrid::followTable(int row) {
    if (following_)
        return;
    following_ = true;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clearSelection();
    } else {
        const QModelIndex at = model_->index(row, std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(at,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(at);
    }
    following_ = false;
}

void TableGrid::selectionMoved(const QModelIndex& current) {
    if (following_ || !current.isValid())
        return;
    Table& t = model_->table();
    if (current.row() == t.position())
        return;
    try {
        t.moveTo(current.row());
    } catch (const TableError& e) {
        if (onError_)
            onError_(e.message());
        followTable(t.position());
    }
}
