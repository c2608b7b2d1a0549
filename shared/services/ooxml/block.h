#pragma once
// A block of rows written into a worksheet in one streamed pass.

#include "ooxml/cell_value.h"

#include <functional>
#include <string>
#include <vector>

namespace ooxml {

// Fills the next row: `row` holds one null value per block column on entry. Returns false when
// there are no more rows (what it put into `row` then is ignored). May throw; the exception
// passes through writeBlock and the workbook stays unchanged on disk.
using RowSource = std::function<bool(std::vector<CellValue>& row)>;

struct BlockOptions {
    // A header row above the data (reports without a template): one caption per column.
    std::vector<std::string> captions;
    // Columns with the text number format "@" (header and data); every value in them is
    // written as text. Shorter than the column count means "not text" for the rest.
    std::vector<bool> textColumns;
    // Set the widths of the block's columns from their longest value (AutoFit).
    bool fitColumnWidths = false;
};

}  // namespace ooxml
