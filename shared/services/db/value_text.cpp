#include "value_text.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <charconv>

namespace db {

namespace {

enum : unsigned {
    BOOLOID = 16, INT8OID = 20, INT2OID = 21, INT4OID = 23, OIDOID = 26, FLOAT4OID = 700,
    FLOAT8OID = 701, NUMERICOID = 1700, DATEOID = 1082, TIMEOID = 1083, TIMESTAMPOID = 1114,
    TIMESTAMPTZOID = 1184, TEXTOID = 25, VARCHAROID = 1043, BPCHAROID = 1042, NAMEOID = 19,
    CHAROID = 18, UNKNOWNOID = 705
};

int digits(const char* p, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) v = v * 10 + (p[i] - '0');
    return v;
}

QDate parseDate(const char* p, int len) {
    if (len < 10 || p[4] != '-' || p[7] != '-') return {};
    return QDate(digits(p, 4), digits(p + 5, 2), digits(p + 8, 2));
}

QTime parseTime(const char* p, int len) {
    if (len < 8) return {};
    int ms = 0;
    if (len > 9 && p[8] == '.') {
        int scale = 100;
        for (int i = 9; i < len && i < 12 && p[i] >= '0' && p[i] <= '9'; ++i, scale /= 10)
            ms += (p[i] - '0') * scale;
    }
    return QTime(digits(p, 2), digits(p + 3, 2), digits(p + 6, 2), ms);
}

}  // namespace

bool isTextOid(unsigned oid) {
    return oid == TEXTOID || oid == VARCHAROID || oid == BPCHAROID || oid == NAMEOID ||
           oid == CHAROID || oid == UNKNOWNOID;
}

bool isNumericOid(unsigned oid) {
    return oid == INT2OID || oid == INT4OID || oid == INT8OID || oid == OIDOID ||
           oid == FLOAT4OID || oid == FLOAT8OID || oid == NUMERICOID;
}

QVariant valueFromServerText(const char* text, int length, unsigned oid) {
    switch (oid) {
    case BOOLOID: return QVariant(length > 0 && text[0] == 't');
    case INT2OID:
    case INT4OID:
    case INT8OID:
    case OIDOID: {
        qlonglong v = 0;
        std::from_chars(text, text + length, v);
        return QVariant(v);
    }
    case FLOAT4OID:
    case FLOAT8OID:
    case NUMERICOID: {
        double v = 0;
        auto r = std::from_chars(text, text + length, v);
        if (r.ec != std::errc()) return QVariant(QString::fromLatin1(text, length).toDouble());
        return QVariant(v);
    }
    case DATEOID: return QVariant(parseDate(text, length));
    case TIMEOID: return QVariant(parseTime(text, length));
    case TIMESTAMPOID:
    case TIMESTAMPTZOID: {
        const QDate d = parseDate(text, length);
        const QTime t = length > 11 ? parseTime(text + 11, length - 11) : QTime(0, 0);
        return QVariant(QDateTime(d, t));
    }
    default: return QVariant(QString::fromUtf8(text, length));
    }
}

}  // namespace db
