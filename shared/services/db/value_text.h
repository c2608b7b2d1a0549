#pragma once
// Server text output (DateStyle ISO) to typed values, by type OID.

#include <QVariant>

namespace db {

QVariant valueFromServerText(const char* text, int length, unsigned oid);
bool isTextOid(unsigned oid);
bool isNumericOid(unsigned oid);

}  // namespace db
