#include "TableGrid.h"

#include "Table.h"
#include "TableError.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

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

bool TableGrid::fitColumns(const QStringList& samples, int smallestPixelSize) {
    // Titles take only a little room beside their text, so that short titles over narrow number
    // columns are not cut.
    horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 0px 2px; }"));
    const int available = width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
    const int cellMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 2;
    const int titleMargin = 2 * 2 + 4;
    QFont f = font();
    int pixels = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    for (;; --pixels) {
        f.setPixelSize(pixels);
        QFont bold = f;
        bold.setBold(true);
        const QFontMetrics cell(bold), title(f);
        QVector<int> widths;
        int total = 0;
        for (int c = 0; c < model_->columnCount(); ++c) {
            const QString t = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            const int w = std::max(cell.horizontalAdvance(samples.value(c)) + cellMargin,
                                   title.horizontalAdvance(t) + titleMargin);
            widths.append(w);
            total += w;
        }
        if (total <= available || pixels <= smallestPixelSize) {
            setFont(f);
            horizontalHeader()->setFont(f);
            verticalHeader()->setDefaultSectionSize(std::max(16, QFontMetrics(f).height() + 4));
            // What is left goes to the first column, so the grid's right edge is the last column's.
            if (total < available && !widths.isEmpty())
                widths[0] += available - total;
            setColumnWidths(widths);
            return total <= available;
        }
    }
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
    if (moveGuard_ && !moveGuard_()) {
        followTable(t.position());
        return;
    }
    try {
        t.moveTo(current.row());
    } catch (const TableError& e) {
        if (onError_)
            onError_(e.message());
        followTable(t.position());
    }
}
