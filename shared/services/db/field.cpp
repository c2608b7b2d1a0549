#include "field.h"

#include "db_error.h"
#include "query.h"

namespace db {

QString Field::name() const { return query_->fieldName(column_); }

bool Field::isNull() const { return query_->cellIsNull(record_, column_); }

QVariant Field::value() const { return query_->cell(record_, column_); }

QString Field::asString() const {
    const QVariant v = value();
    if (v.isNull()) return {};
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("dd.MM.yyyy"))
                                        : dt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    case QMetaType::Double: return query_->cellText(record_, column_);
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default: return v.toString();
    }
}

qint64 Field::asInteger() const {
    const QVariant v = value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::Double) return qRound64(v.toDouble());
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (!ok) throw DbError(QStringLiteral("\"%1\" не является целым числом").arg(v.toString()));
    return n;
}

double Field::asFloat() const {
    const QVariant v = value();
    if (v.isNull()) return 0;
    bool ok = false;
    const double d = v.typeId() == QMetaType::QString
                         ? QString(v.toString()).replace(u',', u'.').toDouble(&ok)
                         : v.toDouble(&ok);
    if (!ok) throw DbError(QStringLiteral("\"%1\" не является числом").arg(v.toString()));
    return d;
}

QDate Field::asDate() const {
    const QVariant v = value();
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate();
    case QMetaType::QDateTime: return v.toDateTime().date();
    case QMetaType::QString: {
        const QString s = v.toString().trimmed();
        QDate d = QDate::fromString(s.left(10), QStringLiteral("dd.MM.yyyy"));
        if (!d.isValid()) d = QDate::fromString(s.left(10), Qt::ISODate);
        return d;
    }
    default: return {};
    }
}

QDateTime Field::asDateTime() const {
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    return v.toDateTime();
}

bool Field::asBool() const {
    const QVariant v = value();
    if (v.typeId() == QMetaType::QString) return v.toString() == QLatin1String("t") || v.toString() == QLatin1String("1");
    return v.toBool();
}

void Field::setValue(const QVariant& v) const {
    const_cast<Query*>(query_)->setFieldValue(column_, v);
}

}  // namespace db
