#include "TableModel.h"

#include "Table.h"
#include "TableError.h"

#include <QFont>

TableModel::TableModel(Table& table, QVector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
    resolveFields();
    connect(&table_, &Table::aboutToReset, this, [this] {
        if (!resetting_) {
            resetting_ = true;
            beginResetModel();
        }
    });
    connect(&table_, &Table::reset, this, [this] {
        resolveFields();
        if (resetting_) {
            resetting_ = false;
            endResetModel();
        }
    });
    connect(&table_, &Table::rowsAboutToBeInserted, this, [this](int at) { beginInsertRows({}, at, at); });
    connect(&table_, &Table::rowsInserted, this, [this](int) { endInsertRows(); });
    connect(&table_, &Table::rowsAboutToBeRemoved, this, [this](int at) { beginRemoveRows({}, at, at); });
    connect(&table_, &Table::rowsRemoved, this, [this](int) { endRemoveRows(); });
    connect(&table_, &Table::rowAboutToMove, this,
            [this](int from, int to) { beginMoveRows({}, from, from, {}, to > from ? to + 1 : to); });
    connect(&table_, &Table::rowMoved, this, [this](int, int) { endMoveRows(); });
    connect(&table_, &Table::rowChanged, this, [this](int at) {
        emit dataChanged(index(at, 0), index(at, static_cast<int>(columns_.size()) - 1));
    });
    connect(&table_, &Table::currentChanged, this, &TableModel::currentRowChanged);
}

void TableModel::resolveFields() {
    fields_.clear();
    marks_.clear();
    for (const Column& c : columns_) {
        const auto f = table_.findField(c.field);
        fields_.append(f ? *f : -1);
        const auto m = c.markField.isEmpty() ? std::nullopt : table_.findField(c.markField);
        marks_.append(m ? *m : -1);
    }
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= table_.rowCount())
        return {};
    const Column& c = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const int f = field(index.column());
        if (f < 0)
            return {};
        // The row being edited shows what was typed into it.
        if (table_.state() == Table::State::Edit && index.row() == table_.position())
            return table_.text(f);
        return table_.rowAt(index.row()).text(f);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(c.alignment);
    case Qt::BackgroundRole:
        if (marked(index))
            return QColor(Qt::yellow);
        return c.background.isValid() ? QVariant(c.background) : QVariant();
    case Qt::FontRole:
        if (marked(index)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

bool TableModel::marked(const QModelIndex& index) const {
    const int m = marks_.value(index.column(), -1);
    return m >= 0 && table_.rowAt(index.row()).text(m) == QLatin1String("S");
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& c = columns_[section];
    if (role == Qt::DisplayRole)
        return c.title;
    if (role == Qt::TextAlignmentRole && c.titleAlignedLike)
        return QVariant::fromValue(c.alignment);
    return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable_ && index.isValid() && field(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!editable_ || role != Qt::EditRole || !index.isValid() || field(index.column()) < 0)
        return false;
    try {
        if (index.row() != table_.position())
            table_.moveTo(index.row());
        table_.edit();
        table_.setText(field(index.column()), value.toString());
    } catch (const TableError& e) {
        if (onError_)
            onError_(e.message());
        return false;
    }
    emit dataChanged(index, index);
    return true;
}
