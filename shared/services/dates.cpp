#include "dates.h"

namespace api {

QString toShortDate(const QDate& date) { return date.toString(shortDateFormat()); }

QDate fromShortDate(const QString& text) {
    return QDate::fromString(text.trimmed(), shortDateFormat());
}

}  // namespace api
