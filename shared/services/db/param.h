#pragma once
// A named statement parameter with the type it travels to the server with.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include "api_export.h"

namespace db {

enum class ParamType { Null, Text, Integer, Float, Date, DateTime, Bool };

class API_EXPORT Param {
public:
    Param() = default;
    explicit Param(QString name) : name_(std::move(name)) {}

    void setText(const QString& v);
    void setInteger(qint64 v);
    void setFloat(double v);
    void setDate(const QDate& v);          // an invalid date travels as null
    void setDateTime(const QDateTime& v);  // an invalid date-time travels as null
    void setBool(bool v);
    void setNull();

    const QString& name() const { return name_; }
    ParamType type() const { return type_; }
    const QVariant& value() const { return value_; }
    bool isNull() const { return type_ == ParamType::Null; }

    // Wire form for libpq: the type OID (0 lets the server infer it from the context, as
    // it does for a quoted literal) and the value as text.
    unsigned oid() const;
    QByteArray text() const;

private:
    QString name_;
    ParamType type_ = ParamType::Null;
    QVariant value_;
};

}  // namespace db
