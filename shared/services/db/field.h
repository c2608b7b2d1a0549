#pragma once
// One column of one record of a Query, read (and, while editing, written) by name.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include "api_export.h"

namespace db {

class Query;

class API_EXPORT Field {
public:
    Field(const Query* query, int record, int column) : query_(query), record_(record), column_(column) {}

    QString name() const;
    int column() const { return column_; }
    bool isNull() const;
    QVariant value() const;      // typed: qlonglong, double, QDate, QDateTime, bool, QString
    QString asString() const;    // empty for null; dates as dd.MM.yyyy
    qint64 asInteger() const;    // 0 for null
    double asFloat() const;      // 0 for null
    QDate asDate() const;        // invalid for null
    QDateTime asDateTime() const;
    bool asBool() const;

    // Writing is allowed while the query edits or inserts the current record.
    void setValue(const QVariant& v) const;

private:
    const Query* query_;
    int record_;  // index among all records (not only the filtered ones)
    int column_;
};

}  // namespace db
