#pragma once
// The rows of an open query as a block of workbook cells, the way the reports hand them to
// the spreadsheet: string and date-time (timestamp) fields as their text, numbers, dates and
// flags as native values, nulls as empty cells.

#include <vector>

#include "api_export.h"
#include "ooxml/block.h"

namespace db { class Query; }

namespace api {

enum class CellKind { Text, DateTimeText, Integer, Number, Date, Flag, OtherText };

// How each of the query's fields is written.
API_EXPORT std::vector<CellKind> cellKinds(const db::Query& query);

// Whether a column of that kind goes to the sheet as text (string and date-time fields).
API_EXPORT bool writtenAsText(CellKind kind);

// The cell for (row, column) of the query's visible records.
API_EXPORT ooxml::CellValue cellValue(const db::Query& query, int row, int column, CellKind kind);

// Every visible record in order, `columnCount` values per row: value j is the query's field j
// (columns beyond the query's fields stay empty). Does not move the query's current record.
API_EXPORT ooxml::RowSource datasetRows(const db::Query& query, int columnCount);

}  // namespace api
