#include "ooxml/column_names.h"
#include "ooxml/error.h"

#include <gtest/gtest.h>

namespace ooxml {
namespace {

TEST(ColumnNames, LettersOfColumnNumbers)
{
    const std::pair<int, const char*> cases[] = {
        {1, "A"}, {26, "Z"}, {27, "AA"}, {28, "AB"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"},
    };
    for (const auto& [number, letters] : cases) {
        EXPECT_EQ(xlR1C1ColToA1Col(number), letters) << number;
        std::size_t used = 0;
        EXPECT_EQ(parseColumnLetters(letters, &used), number) << letters;
    }
    EXPECT_THROW(xlR1C1ColToA1Col(0), Error);
    EXPECT_THROW(xlR1C1ColToA1Col(16385), Error);
}

TEST(ColumnNames, ColumnsRange)
{
    EXPECT_EQ(ColumnsRange(1, 28), "A:AB");
    EXPECT_EQ(ColumnsRange(3, 3), "C:C");
    for (const auto& [first, last] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-1, 2}}) {
        try {
            ColumnsRange(first, last);
            FAIL() << first << "," << last;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Ошибка преобразования столбцового диапазона: нулевой столбец или строка ["
                          + std::to_string(first) + "," + std::to_string(last) + "]");
        }
    }
}

TEST(ColumnNames, CellNames)
{
    CellRef cell;
    for (const char* text : {"C5", "$C$5", "c5", "C$5"}) {
        ASSERT_TRUE(parseCellName(text, cell)) << text;
        EXPECT_EQ(cell, (CellRef{5, 3})) << text;
    }
    for (const char* text : {"", "C", "5", "C0", "C5:D6", "#REF!", "XFE1", "A1048577", "C5x"})
        EXPECT_FALSE(parseCellName(text, cell)) << text;
    EXPECT_EQ(cellName({1048576, 16384}), "XFD1048576");
}

}  // namespace
}  // namespace ooxml
