#pragma once
// A Qt table model over a Query, so any grid shows any dataset. Cells are converted when
// the view asks for them: opening a large result costs no more than the result itself.

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>

#include "api_export.h"
#include "query.h"

namespace db {

class API_EXPORT DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Query* query, QObject* parent = nullptr);

    Query* query() const { return query_; }

    // Column title by field name (the field name itself otherwise).
    void setTitle(const QString& fieldName, const QString& title);
    QString title(int column) const;
    void setReadOnly(bool on) { readOnly_ = on; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Display text of a cell as the grid shows it (dates dd.MM.yyyy, decimal comma).
    QString displayText(int row, int column) const;

private:
    QPointer<Query> query_;
    QHash<QString, QString> titles_;  // lower-cased field name -> title
    bool readOnly_ = false;
};

}  // namespace db
