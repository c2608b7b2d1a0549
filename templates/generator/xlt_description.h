#pragma once
// A report template described as text (templates/*.txt), one directive per line:
//
//   # a comment
//   title   "Отчет о питании за месяц"              Data sheet, row 1 (bold, large)
//   line    "Здание: {Organization_name}"           a line under the title; {name} shows the
//                                                   value of that Parametrs cell (a formula)
//   param   Name_org "Организация"                  a named cell on the sheet "Parametrs":
//                                                   caption in column A, the cell in column B
//   orient  landscape                               page orientation (portrait by default)
//   column  <width> <format> <total> "Caption"      one block column, left to right
//   columns <count> <width> <format> <total> "%d"   <count> columns captioned 1, 2, ...
//   label   "Итого"                                 the caption of the totals row (under the
//                                                   first column whose total is "label")
//   footer  "Ответственный ____________"            a line under the totals (moves with them)
//
// format: text | int | num | money | date | center;  total: - | sum | label.
// Layout of the sheet "Data": title, lines, an empty row, the header row, the first data row
// (named DataBeg, column A), the totals row (named DataTotals, only when a column has a total
// or a label), one empty row, the footer lines.

#include <string>
#include <vector>

namespace xlt {

enum class Format { Text, Int, Num, Money, Date, Center };
enum class Total { None, Sum, Label };

struct Column {
    double width = 10;
    Format format = Format::Text;
    Total total = Total::None;
    std::string caption;
};

struct Param {
    std::string name;
    std::string caption;
};

struct Description {
    std::string title;
    std::vector<std::string> lines;
    std::vector<Param> params;
    std::vector<Column> columns;
    std::vector<std::string> footer;
    std::string totalsLabel = "Итого";
    bool landscape = false;

    bool hasTotals() const;
    // Row numbers (1-based) of the sheet "Data".
    int headerRow() const { return 2 + int(lines.size()) + 1; }
    int dataRow() const { return headerRow() + 1; }
    int totalsRow() const { return dataRow() + 1; }
};

// Throws std::runtime_error "<source>:<line>: <what>" on a malformed description.
Description parseDescription(const std::string& text, const std::string& source);

// Writes the workbook (.xlsx) with libxlsxwriter. Throws std::runtime_error on failure.
void writeTemplate(const Description& description, const std::string& path);

}  // namespace xlt
