#include "param.h"

#include <charconv>

namespace db {

void Param::setText(const QString& v) { type_ = ParamType::Text; value_ = v; }
void Param::setInteger(qint64 v) { type_ = ParamType::Integer; value_ = v; }
void Param::setFloat(double v) { type_ = ParamType::Float; value_ = v; }
void Param::setBool(bool v) { type_ = ParamType::Bool; value_ = v; }
void Param::setNull() { type_ = ParamType::Null; value_ = QVariant(); }

void Param::setDate(const QDate& v) {
    if (!v.isValid()) return setNull();
    type_ = ParamType::Date;
    value_ = v;
}

void Param::setDateTime(const QDateTime& v) {
    if (!v.isValid()) return setNull();
    type_ = ParamType::DateTime;
    value_ = v;
}

unsigned Param::oid() const {
    switch (type_) {
    case ParamType::Integer: {
        const qint64 v = value_.toLongLong();
        return (v >= INT32_MIN && v <= INT32_MAX) ? 23u : 20u;  // int4, int8
    }
    case ParamType::Float: return 1700;   // numeric: widens to float8 and numeric alike
    case ParamType::Date: return 1082;
    case ParamType::DateTime: return 1114;  // timestamp without time zone
    case ParamType::Bool: return 16;
    case ParamType::Text:
    case ParamType::Null: return 0;
    }
    return 0;
}

QByteArray Param::text() const {
    switch (type_) {
    case ParamType::Null: return {};
    case ParamType::Text: return value_.toString().toUtf8();
    case ParamType::Integer: return QByteArray::number(value_.toLongLong());
    case ParamType::Float: {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, value_.toDouble());
        return QByteArray(buf, int(r.ptr - buf));
    }
    case ParamType::Date: return value_.toDate().toString(Qt::ISODate).toLatin1();
    case ParamType::DateTime:
        return value_.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    case ParamType::Bool: return value_.toBool() ? "t" : "f";
    }
    return {};
}

}  // namespace db
