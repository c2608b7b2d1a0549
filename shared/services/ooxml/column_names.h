#pragma once
// A1-style names of columns and cells.

#include <string>
#include <string_view>

namespace ooxml {

// Largest column a worksheet has (XFD).
inline constexpr int kMaxColumn = 16384;
inline constexpr int kMaxRow = 1048576;

// 1 -> "A", 26 -> "Z", 27 -> "AA", 52 -> "AZ", 702 -> "ZZ", 703 -> "AAA" (up to XFD).
// Throws ooxml::Error for n < 1 or beyond the last column.
std::string xlR1C1ColToA1Col(int n);

// ColumnsRange(1, 28) == "A:AB". Throws ooxml::Error
// "Ошибка преобразования столбцового диапазона: нулевой столбец или строка [first,last]"
// when either number is below 1.
std::string ColumnsRange(int first, int last);

struct CellRef {
    int row = 1;     // 1-based
    int column = 1;  // 1-based
    friend bool operator==(const CellRef&, const CellRef&) = default;
};

// "C5" for {5, 3}.
std::string cellName(CellRef cell);
// Appends the column letters of `column` (1-based, valid) to `out`.
void appendColumnLetters(std::string& out, int column);

// Parses "C5", "$C$5" (case-insensitive letters). Returns false on anything else.
bool parseCellName(std::string_view text, CellRef& cell);
// Column number of the letters at the start of `text`; stops at the first non-letter.
// Returns 0 when there are none or the column is out of range.
int parseColumnLetters(std::string_view text, std::size_t* consumed = nullptr);

}  // namespace ooxml
