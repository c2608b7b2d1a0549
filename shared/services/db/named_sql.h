#pragma once
// Statement text with ":name" parameters turned into libpq's "$n" placeholders.

#include <QString>
#include <QStringList>

#include "api_export.h"

namespace db {

struct NamedSql {
    QByteArray text;   // UTF-8 with $1..$n in place of the names
    QStringList names; // names in order of first appearance; $k is names[k-1]
};

// Quoted strings, quoted identifiers, dollar-quoted bodies, comments and "::" casts
// are left alone; a name used twice maps to the same placeholder.
API_EXPORT NamedSql parseNamedSql(const QString& sql);

}  // namespace db
