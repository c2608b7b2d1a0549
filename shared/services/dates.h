#pragma once
// The workstation's short date format: dd.mm.yyyy.

#include <QDate>
#include <QString>

#include "api_export.h"

namespace api {

inline QString shortDateFormat() { return QStringLiteral("dd.MM.yyyy"); }
API_EXPORT QString toShortDate(const QDate& date);
API_EXPORT QDate fromShortDate(const QString& text);  // invalid when malformed

}  // namespace api
