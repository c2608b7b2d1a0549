#pragma once
// Moving the row numbers of cell references in formulas, for footer rows pushed down under a
// written block.

#include <string>
#include <string_view>

namespace ooxml {

struct RowShift {
    int fromRow = 0;       // references at or below this row move ...
    int delta = 0;         // ... by this many rows
    int stretchFirst = 0;  // a range with both ends in [stretchFirst, fromRow) ...
    int stretchLast = 0;   // ... ends at this row afterwards
};

// Rewrites the cell references of a formula (string literals and quoted sheet names are left
// alone). "SUM(C5:C5)*$B$9" with {fromRow 6, delta 3, stretch 5..8} -> "SUM(C5:C8)*$B$12".
std::string shiftFormulaRows(std::string_view formula, const RowShift& shift);
// The same for a reference or range text ("C6", "C6:F6").
std::string shiftReferenceRows(std::string_view reference, const RowShift& shift);

}  // namespace ooxml
