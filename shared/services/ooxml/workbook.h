#pragma once
// Filling spreadsheet templates (.xlsx/.xltx) and building template-less workbooks.
//
//   auto book = ooxml::Workbook::openTemplate(folder + "/XLT/payreport_v2.xltx");
//   if (book.hasName("Name_org")) book.setNamedCell("Name_org", orgName);
//   book.writeBlock(book.dataBlockOrigin(), fieldCount, nextRow);
//   book.save(docFolder + "/report-0001.xlsx");
//
// Everything in the template that is not written to survives byte for byte: parts that are not
// touched are copied as they are; touched sheets keep their other cells, styles, merged cells,
// formulas. A written cell keeps the style of the template cell it replaces; block cells take
// the style of the template's cell in the block's first row, per column.
//
// The template's finishing step (what the desktop macro "Start" did) runs in save():
//   * always: formulas are recalculated when the file is opened (fullCalcOnLoad, the stale
//     calculation chain is dropped), so totals written in the template come out right;
//   * the sheet's print area (_xlnm.Print_Area), when it is one range, is extended down and
//     across to cover the written block;
//   * a defined name "__autofit" (any reference) fits the widths of the block's columns to
//     their longest values, as AutoFit does;
//   * a defined name "DataTotals" (a cell on the block's sheet, in a row below the block's first
//     row) marks the template's footer: that row and every row below it move down so that the
//     footer starts right under the written block; ranges in the footer's formulas that span
//     the block's first template rows are stretched over the whole block, e.g.
//     SUM(C5:C5) -> SUM(C5:C104), and merged cells in the footer move with it.
// A template without any of these names is fine.

#include "ooxml/block.h"
#include "ooxml/cell_value.h"
#include "ooxml/column_names.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ooxml {

struct SheetCell {
    std::string sheet;
    CellRef cell;
};

class Workbook {
public:
    // Throws Error "Файл шаблона не найден: <path>", "Файл не является книгой Excel: <path>",
    // "Файл повреждён: <path>".
    static Workbook openTemplate(const std::string& path);
    // A new workbook with one empty sheet (reports without a template).
    static Workbook create(const std::string& sheetName = "Data");

    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;
    ~Workbook();

    std::vector<std::string> sheetNames() const;
    bool hasSheet(std::string_view sheet) const;

    // Whether the workbook defines the name (callers decide whether a missing one matters).
    bool hasName(std::string_view name) const;
    // First cell of the range a defined name refers to. Throws Error when the name is missing,
    // names a sheet the workbook does not have, or does not refer to cells.
    SheetCell namedCell(std::string_view name) const;
    // The data block's origin as the report protocol finds it: sheet "Data", at the row and
    // column of the cell named "DataBeg", or at A1 when that name is missing or unusable.
    SheetCell dataBlockOrigin() const;

    void setNamedCell(std::string_view name, const CellValue& value);
    void setCell(const SheetCell& at, const CellValue& value);

    // Writes the rows of `source` from `origin` on, `columnCount` values per row, in one
    // streamed pass (memory does not grow with the row count). One block per sheet; single
    // cells cannot be written into its rows afterwards. Returns the number of data rows.
    std::size_t writeBlock(const SheetCell& origin, int columnCount, const RowSource& source,
                           const BlockOptions& options = {});

    // Runs the finishing step and writes the workbook to `path` (an .xlsx) atomically: on
    // failure nothing is left at `path` (an existing file there stays as it was).
    void save(const std::string& path);

private:
    struct Impl;
    explicit Workbook(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

}  // namespace ooxml
