#pragma once
// A drop-down list over a query: shows the list field, keeps the key field of the chosen
// row. The items follow the query whenever it is opened, closed or filtered.

#include <QComboBox>
#include <QPointer>
#include <QVariant>

#include "api_export.h"

#include "query.h"

namespace api {

class API_EXPORT DbLookupCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DbLookupCombo(QWidget* parent = nullptr);

    void setQuery(db::Query* query, const QString& keyField, const QString& listField);
    db::Query* query() const { return query_; }

    // The key of the chosen row; null when nothing is chosen.
    QVariant keyValue() const;
    // Chooses the row with that key; nothing is chosen when no row has it.
    void setKeyValue(const QVariant& key);

private:
    void reload();

    QPointer<db::Query> query_;
    QString keyField_, listField_;
    QMetaObject::Connection resetConnection_;
};

}  // namespace api
