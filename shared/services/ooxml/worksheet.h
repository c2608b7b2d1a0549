#pragma once
// One worksheet part being filled: single cells go into its DOM (templates are small), a data
// block is streamed into a temporary file and spliced in when the part is saved.

#include "ooxml/block.h"
#include "ooxml/column_names.h"
#include "ooxml/formula_rows.h"
#include "ooxml/package.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pugi { class xml_document; }

namespace ooxml {

class StyleSheet;

struct BlockExtent {
    int firstRow = 0;
    int lastRow = 0;  // below firstRow when no row was written
    int firstColumn = 0;
    int lastColumn = 0;
};

class Worksheet {
public:
    // Throws Error(damaged) when the part is not a worksheet.
    Worksheet(std::string part, const std::string& xml, const std::string& damaged);
    ~Worksheet();

    const std::string& part() const { return part_; }

    void setCell(CellRef cell, const CellValue& value, StyleSheet& styles);
    // Returns the number of data rows written (header excluded). `footerRow` (0 for none) is
    // the first row of the template's footer, which moves down under the block.
    std::size_t writeBlock(CellRef origin, int columnCount, const RowSource& source, const BlockOptions& options,
                           StyleSheet& styles, int footerRow = 0);
    // How the footer moved (delta 0 when it did not).
    const RowShift& footerShift() const { return footerShift_; }
    const std::optional<BlockExtent>& block() const { return block_; }
    // Longest display length per block column (header included), for fitting widths.
    const std::vector<std::size_t>& blockTextLengths() const { return lengths_; }

    // Width in characters per column, from `firstColumn` on.
    void setColumnWidths(int firstColumn, const std::vector<double>& widths);

    // The part's content with the block spliced in.
    std::vector<PartPiece> content() const;

private:
    void moveFooter(const pugi::xml_document& footer);
    struct Dom;
    std::string part_;
    std::unique_ptr<Dom> dom_;
    std::optional<BlockExtent> block_;
    std::vector<std::size_t> lengths_;
    std::shared_ptr<TempFile> spool_;
    RowShift footerShift_;
};

}  // namespace ooxml
