#pragma once
// Collecting the cells of a sheet into its used range (shared by the .xlsx and .xls readers).

#include "ooxml/sheet_reader.h"

#include <string>
#include <vector>

namespace ooxml {

class GridBuilder {
public:
    explicit GridBuilder(std::string tooLarge) : tooLarge_(std::move(tooLarge)) {}
    // Non-empty cells only; positions 1-based.
    void add(int row, int column, SheetValue value);
    SheetGrid build();

private:
    struct Entry {
        int row, column;
        SheetValue value;
    };
    std::vector<Entry> entries_;
    std::string tooLarge_;
    int minRow_ = 0, maxRow_ = 0, minColumn_ = 0, maxColumn_ = 0;
};

// Value and displayed text of a number shown with a date or time format.
SheetValue dateValue(double serial, bool withDate, bool withTime);

}  // namespace ooxml
