#include "ooxml/sheet_grid.h"

#include "ooxml/cell_value.h"
#include "ooxml/error.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ooxml {

const SheetValue& SheetGrid::at(int row, int column) const
{
    static const SheetValue empty;
    if (row < 1 || column < 1 || row > rowCount || column > columnCount)
        return empty;
    return cells[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(columnCount)
                 + static_cast<std::size_t>(column - 1)];
}

const SheetValue& SheetGrid::sheetCell(int row, int column) const
{
    return at(row - firstRow + 1, column - firstColumn + 1);
}

std::string generalNumberText(double number)
{
    if (!std::isfinite(number))
        return "#ЧИСЛО!";
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", number);
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', ',');
    return result;
}

void GridBuilder::add(int row, int column, SheetValue value)
{
    if (value.type == CellType::Empty)
        return;
    if (entries_.empty()) {
        minRow_ = maxRow_ = row;
        minColumn_ = maxColumn_ = column;
    } else {
        minRow_ = std::min(minRow_, row);
        maxRow_ = std::max(maxRow_, row);
        minColumn_ = std::min(minColumn_, column);
        maxColumn_ = std::max(maxColumn_, column);
    }
    entries_.push_back({row, column, std::move(value)});
}

SheetGrid GridBuilder::build()
{
    SheetGrid grid;
    if (entries_.empty())
        return grid;
    const auto rows = static_cast<std::size_t>(maxRow_ - minRow_ + 1);
    const auto columns = static_cast<std::size_t>(maxColumn_ - minColumn_ + 1);
    if (rows > kMaxGridCells / columns)
        throw Error(tooLarge_);
    grid.firstRow = minRow_;
    grid.firstColumn = minColumn_;
    grid.rowCount = static_cast<int>(rows);
    grid.columnCount = static_cast<int>(columns);
    grid.cells.resize(rows * columns);
    for (auto& entry : entries_)
        grid.cells[static_cast<std::size_t>(entry.row - minRow_) * columns
                   + static_cast<std::size_t>(entry.column - minColumn_)] = std::move(entry.value);
    entries_.clear();
    return grid;
}

SheetValue dateValue(double serial, bool withDate, bool withTime)
{
    SheetValue value;
    value.number = serial;
    if (!std::isfinite(serial) || serial < 0 || serial > 2958466) {
        value.type = CellType::Number;
        value.text = generalNumberText(serial);
        return value;
    }
    long seconds = std::lround((serial - std::floor(serial)) * 86400.0);
    double day = std::floor(serial);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += 1;
    }
    char time[48];
    std::snprintf(time, sizeof time, "%02ld:%02ld", seconds / 3600, seconds / 60 % 60);
    if (withDate) {
        value.type = CellType::Date;
        value.text = formatDate(dateFromSerial(day));
        if (withTime)
            value.text += std::string(" ") + time;
    } else {
        value.type = CellType::Number;
        char full[64];
        std::snprintf(full, sizeof full, "%s:%02ld", time, seconds % 60);
        value.text = full;
    }
    return value;
}

}  // namespace ooxml
