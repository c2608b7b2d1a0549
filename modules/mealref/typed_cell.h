#pragma once
// What the user typed into a grid cell, read as the type the statement binds: a whole
// number (a fractional value is rounded, a decimal comma accepted, an empty cell is 0) or
// a date (dd.mm.yyyy). Text that is neither raises api::AppError naming the column.

#include <QDate>
#include <QString>
#include <QVariant>

namespace mealref {

qint64 wholeNumber(const QVariant& value, const QString& columnTitle);
QDate cellDate(const QVariant& value, const QString& columnTitle);

}  // namespace mealref
