#include "dataset_model.h"

#include "value_text.h"

namespace db {

DatasetModel::DatasetModel(Query* query, QObject* parent) : QAbstractTableModel(parent), query_(query) {
    connect(query, &Query::reset, this, [this] { beginResetModel(); endResetModel(); });
    connect(query, &Query::recordChanged, this, [this](int row) {
        if (row >= 0) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(query, &Query::recordInserted, this, [this](int row) {
        beginInsertRows({}, row, row);
        endInsertRows();
    });
    connect(query, &Query::recordRemoved, this, [this](int row) {
        beginRemoveRows({}, row, row);
        endRemoveRows();
    });
}

void DatasetModel::setTitle(const QString& fieldName, const QString& title) {
    titles_.insert(fieldName.toLower(), title);
    const int column = query_ ? query_->fieldIndex(fieldName) : -1;
    if (column >= 0) emit headerDataChanged(Qt::Horizontal, column, column);
}

QString DatasetModel::title(int column) const {
    const QString name = query_ ? query_->fieldName(column) : QString();
    return titles_.value(name.toLower(), name);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !query_ ? 0 : query_->recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !query_ ? 0 : query_->fieldCount();
}

QString DatasetModel::displayText(int row, int column) const {
    const Field f = query_->fieldAt(row, column);
    if (f.isNull()) return {};
    if (isNumericOid(query_->fieldTypeOid(column))) {
        QString text = f.asString();
        return text.replace(u'.', u',');
    }
    return f.asString();
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!query_ || !index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole: return displayText(index.row(), index.column());
    case Qt::EditRole: return query_->valueAt(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (isNumericOid(query_->fieldTypeOid(index.column())))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return title(section);
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (query_ && query_->cachedUpdates() && !readOnly_) f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!query_ || role != Qt::EditRole || !index.isValid()) return false;
    if (query_->recNo() != index.row()) query_->moveTo(index.row());
    query_->setFieldValue(index.column(), value);
    return true;
}

}  // namespace db
