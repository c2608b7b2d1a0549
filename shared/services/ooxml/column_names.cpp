#include "ooxml/column_names.h"

#include "ooxml/error.h"

#include <charconv>

namespace ooxml {

void appendColumnLetters(std::string& out, int column)
{
    char letters[4];
    int count = 0;
    while (column > 0) {
        const int rest = (column - 1) % 26;
        letters[count++] = static_cast<char>('A' + rest);
        column = (column - 1) / 26;
    }
    while (count > 0)
        out.push_back(letters[--count]);
}

std::string xlR1C1ColToA1Col(int n)
{
    if (n < 1 || n > kMaxColumn)
        throw Error("Недопустимый номер столбца: " + std::to_string(n));
    std::string letters;
    appendColumnLetters(letters, n);
    return letters;
}

std::string ColumnsRange(int first, int last)
{
    if (first < 1 || last < 1)
        throw Error("Ошибка преобразования столбцового диапазона: нулевой столбец или строка ["
                    + std::to_string(first) + "," + std::to_string(last) + "]");
    return xlR1C1ColToA1Col(first) + ":" + xlR1C1ColToA1Col(last);
}

std::string cellName(CellRef cell)
{
    std::string name;
    appendColumnLetters(name, cell.column);
    name += std::to_string(cell.row);
    return name;
}

int parseColumnLetters(std::string_view text, std::size_t* consumed)
{
    int column = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + (c - 'A' + 1);
        if (column > kMaxColumn)
            return 0;
    }
    if (consumed)
        *consumed = i;
    return column;
}

bool parseCellName(std::string_view text, CellRef& cell)
{
    if (!text.empty() && text.front() == '$')
        text.remove_prefix(1);
    std::size_t used = 0;
    const int column = parseColumnLetters(text, &used);
    if (column == 0)
        return false;
    text.remove_prefix(used);
    if (!text.empty() && text.front() == '$')
        text.remove_prefix(1);
    int row = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (ec != std::errc() || end != text.data() + text.size() || row < 1 || row > kMaxRow)
        return false;
    cell = {row, column};
    return true;
}

}  // namespace ooxml
