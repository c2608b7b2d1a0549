#include "dataset_block.h"

#include <QDateTime>

#include "query.h"
#include "value_text.h"

namespace api {

namespace {

enum : unsigned {
    BOOLOID = 16, INT8OID = 20, INT2OID = 21, INT4OID = 23, OIDOID = 26, FLOAT4OID = 700,
    FLOAT8OID = 701, NUMERICOID = 1700, DATEOID = 1082, TIMESTAMPOID = 1114, TIMESTAMPTZOID = 1184
};

CellKind kindOf(unsigned oid) {
    if (db::isTextOid(oid)) return CellKind::Text;
    switch (oid) {
    case BOOLOID: return CellKind::Flag;
    case INT2OID:
    case INT4OID:
    case INT8OID:
    case OIDOID: return CellKind::Integer;
    case FLOAT4OID:
    case FLOAT8OID:
    case NUMERICOID: return CellKind::Number;
    case DATEOID: return CellKind::Date;
    case TIMESTAMPOID:
    case TIMESTAMPTZOID: return CellKind::DateTimeText;
    default: return CellKind::OtherText;  // time, interval, uuid, ...: as the server shows them
    }
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

}  // namespace

std::vector<CellKind> cellKinds(const db::Query& query) {
    std::vector<CellKind> kinds;
    kinds.reserve(size_t(query.fieldCount()));
    for (int c = 0; c < query.fieldCount(); ++c) kinds.push_back(kindOf(query.fieldTypeOid(c)));
    return kinds;
}

bool writtenAsText(CellKind kind) {
    return kind == CellKind::Text || kind == CellKind::DateTimeText || kind == CellKind::OtherText;
}

ooxml::CellValue cellValue(const db::Query& query, int row, int column, CellKind kind) {
    const db::Field field = query.fieldAt(row, column);
    if (field.isNull()) return {};
    switch (kind) {
    case CellKind::Text:
    case CellKind::OtherText: return utf8(query.rawTextAt(row, column));
    // The text the date-time shows in the workstation's format ("01.02.2023 14:30:00").
    case CellKind::DateTimeText: return utf8(field.asString());
    case CellKind::Integer: {
        const QVariant v = field.value();
        if (v.typeId() == QMetaType::Double) return v.toDouble();  // an edited record
        return std::int64_t(v.toLongLong());
    }
    case CellKind::Number: return field.asFloat();
    case CellKind::Date: {
        const QDate d = field.asDate();
        if (!d.isValid()) return {};
        return ooxml::Date{std::chrono::year(d.year()), std::chrono::month(unsigned(d.month())),
                           std::chrono::day(unsigned(d.day()))};
    }
    case CellKind::Flag: return field.asBool();
    }
    return {};
}

ooxml::RowSource datasetRows(const db::Query& query, int columnCount) {
    auto kinds = std::make_shared<std::vector<CellKind>>(cellKinds(query));
    const int fields = std::min(columnCount, query.fieldCount());
    return [&query, kinds, fields, row = 0](std::vector<ooxml::CellValue>& out) mutable {
        if (row >= query.recordCount()) return false;
        for (int c = 0; c < fields; ++c) out[size_t(c)] = cellValue(query, row, c, (*kinds)[size_t(c)]);
        ++row;
        return true;
    };
}

}  // namespace api
