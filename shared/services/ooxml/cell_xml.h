#pragma once
// Rendering one worksheet cell (<c>) as XML text: the fast path of block writing, also used
// for single named cells.

#include "ooxml/cell_value.h"

#include <string>
#include <string_view>

namespace ooxml {

class StyleSheet;

struct CellFormat {
    int style = -1;          // the `s` attribute; -1 for none
    int dateStyle = -1;      // style used for Date values (derived from `style` on first use)
    bool asText = false;     // text column: every value is written as text
};

// Appends the cell; nothing when the value is null and there is no style.
// `reference` is the cell name ("C5"). Resolves format.dateStyle through `styles` when needed.
void appendCellXml(std::string& out, std::string_view reference, const CellValue& value, CellFormat& format,
                   StyleSheet& styles);

// Text a value has in a text column or for width fitting.
std::string valueAsText(const CellValue& value);
// Width in characters the value needs when displayed.
std::size_t displayLength(const CellValue& value);

}  // namespace ooxml
