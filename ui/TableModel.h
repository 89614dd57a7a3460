#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QVector>
#include <functional>

class Table;

// A thin adaptor that shows a table's rows, in its index order, as an item model: it turns the
// table's change notifications into the model's begin/end signals, so a view follows every change
// (rows, order, open or closed; a closed table shows no rows). Typing into an editable cell puts
// the table in the edit state; the change reaches the row when the table posts.
class TableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Column {
        Column(QString f, QString t, Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter, QColor bg = {},
               bool titleAligned = false, QString mark = {})
            : field(std::move(f)), title(std::move(t)), alignment(a), background(bg),
              titleAlignedLike(titleAligned), markField(std::move(mark)) {}
        QString field;
        QString title;
        Qt::Alignment alignment;
        QColor background;     // invalid: the grid's own
        bool titleAlignedLike; // the title takes the column's alignment
        // A field whose value "S" marks the cell (a number the last check found in the draw).
        QString markField;
    };

    TableModel(Table& table, QVector<Column> columns, QObject* parent = nullptr);

    Table& table() const { return table_; }
    void setEditable(bool editable) { editable_ = editable; }
    // Table failures while editing (a text that is not a number) are reported here.
    void setErrorHandler(std::function<void(const QString&)> handler) { onError_ = std::move(handler); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // The table's current row moved to `row` (-1 for none): the view marks it.
    void currentRowChanged(int row);

private:
    void resolveFields();
    int field(int column) const { return fields_[column]; }
    bool marked(const QModelIndex& index) const;

    Table& table_;
    QVector<Column> columns_;
    QVector<int> fields_; // -1 where the table has no such field
    QVector<int> marks_;  // the columns' mark fields, -1 for none
    bool editable_ = false;
    bool resetting_ = false;
    std::function<void(const QString&)> onError_;
};
