#include "db_lookup_combo.h"

#include "query.h"

namespace api {

DbLookupCombo::DbLookupCombo(QWidget* parent) : QComboBox(parent) {}

void DbLookupCombo::setQuery(db::Query* query, const QString& keyField, const QString& listField) {
    if (resetConnection_) disconnect(resetConnection_);
    query_ = query;
    keyField_ = keyField;
    listField_ = listField;
    if (query) resetConnection_ = connect(query, &db::Query::reset, this, &DbLookupCombo::reload);
    reload();
}

void DbLookupCombo::reload() {
    const QVariant chosen = keyValue();
    clear();
    if (!query_ || !query_->isOpen()) return;
    const int key = query_->fieldIndex(keyField_);
    const int list = query_->fieldIndex(listField_);
    if (key < 0 || list < 0) return;
    for (int row = 0; row < query_->recordCount(); ++row)
        addItem(query_->fieldAt(row, list).asString(), query_->valueAt(row, key));
    setKeyValue(chosen);
}

QVariant DbLookupCombo::keyValue() const { return currentIndex() < 0 ? QVariant() : currentData(); }

void DbLookupCombo::setKeyValue(const QVariant& key) {
    int found = -1;
    if (key.isValid() && !key.isNull())
        for (int i = 0; i < count() && found < 0; ++i)
            if (itemData(i).toString() == key.toString()) found = i;
    setCurrentIndex(found);
}

}  // namespace api
