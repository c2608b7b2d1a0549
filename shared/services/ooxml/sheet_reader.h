#pragma once
// Reading the active sheet of an .xlsx or legacy .xls file for imports: the used range, cell by
// cell, with each cell's value and the text a spreadsheet program would display.
//
// The format is told by content (zip or OLE compound file), not by the file name. Files that
// are truncated, damaged, password-protected or not workbooks raise ooxml::Error with a message
// for the user; no input makes the reader crash.

#include <string>
#include <string_view>
#include <vector>

namespace ooxml {

enum class CellType { Empty, Number, Date, Text, Bool };

struct SheetValue {
    CellType type = CellType::Empty;
    double number = 0;  // numbers, dates (serial day number, time as the fraction), booleans (0/1)
    std::string text;   // displayed text: "12,5", "01.02.2023", "ИСТИНА", the string itself
};

struct SheetGrid {
    // The used range: the smallest rectangle holding every non-empty cell.
    int firstRow = 1;     // sheet row of the range's first row (1-based)
    int firstColumn = 1;  // sheet column of its first column
    int rowCount = 0;
    int columnCount = 0;
    std::vector<SheetValue> cells;  // row by row

    // Cell (row, column) of the used range, both counted from 1 (UsedRange.Cells(r, c)).
    // Outside the range: an empty cell.
    const SheetValue& at(int row, int column) const;
    // Cell at sheet position (row, column), both 1-based: empty outside the used range.
    const SheetValue& sheetCell(int row, int column) const;
};

// Most cells a used range may span (a stray value far away must not exhaust memory).
inline constexpr std::size_t kMaxGridCells = 4'000'000;

// Throws ooxml::Error: "Файл не найден: <path>", "Файл не является книгой Excel: <path>",
// "Файл повреждён: <path>", "Файл защищён паролем: <path>".
SheetGrid readSheet(const std::string& path);
// A sheet chosen by name instead of the active one (Error when the workbook has no such sheet).
SheetGrid readSheet(const std::string& path, const std::string& sheetName);
// The same for file content in memory; `name` stands for the file in messages.
SheetGrid readSheetFromMemory(std::string_view bytes, const std::string& name = "данные");

// Text of a number in the general format, with a decimal comma ("12,5", "1000000").
std::string generalNumberText(double number);

}  // namespace ooxml
