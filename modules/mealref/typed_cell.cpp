#include "typed_cell.h"

#include <cmath>

#include "app_error.h"
#include "dates.h"

namespace mealref {

qint64 wholeNumber(const QVariant& value, const QString& columnTitle) {
    if (value.isNull()) return 0;
    QString text = value.toString().trimmed();
    if (text.isEmpty()) return 0;
    text.replace(u',', u'.');
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::fabs(number) > 2147483647.0)
        throw api::AppError(QStringLiteral("Значение «%1» в столбце «%2» не является числом")
                                .arg(value.toString(), columnTitle));
    return std::llround(number);
}

QDate cellDate(const QVariant& value, const QString& columnTitle) {
    QDate date;
    if (value.metaType().id() == QMetaType::QDate) date = value.toDate();
    else if (value.metaType().id() == QMetaType::QDateTime) date = value.toDateTime().date();
    else date = api::fromShortDate(value.toString().trimmed());
    if (!date.isValid())
        throw api::AppError(QStringLiteral("Значение «%1» в столбце «%2» не является датой в формате ДД.ММ.ГГГГ")
                                .arg(value.toString(), columnTitle));
    return date;
}

}  // namespace mealref
