// Reading import files: .xlsx through our own reader, legacy .xls through FreeXL.

#include "fixtures.h"

#include "ooxml/error.h"
#include "ooxml/sheet_reader.h"
#include "ooxml/workbook.h"

#include <xlsxwriter.h>

#include <gtest/gtest.h>

namespace ooxml {
namespace {

using namespace std::chrono;
using test::TempDir;

struct Expected {
    CellType type;
    double number;
    std::string text;
};

// A payment import: date, terminal, account, amount; an empty cell; text.
const Expected kExpected[2][5] = {
    {{CellType::Date, 44958, "01.02.2023"}, {CellType::Number, 7, "7"}, {CellType::Number, 100234, "100234"},
     {CellType::Number, 1250.5, "1250,5"}, {CellType::Text, 0, "Оплата питания"}},
    {{CellType::Date, 44972, "15.02.2023"}, {CellType::Number, 12, "12"}, {CellType::Empty, 0, ""},
     {CellType::Number, 0.1, "0,1"}, {CellType::Text, 0, "Ёлкин"}},
};

void expectPaymentGrid(const SheetGrid& grid, int firstRow, int firstColumn)
{
    EXPECT_EQ(grid.firstRow, firstRow);
    EXPECT_EQ(grid.firstColumn, firstColumn);
    ASSERT_EQ(grid.rowCount, 2);
    ASSERT_EQ(grid.columnCount, 5);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c) {
            const SheetValue& cell = grid.at(r + 1, c + 1);
            const Expected& expected = kExpected[r][c];
            EXPECT_EQ(cell.type, expected.type) << r << "," << c;
            EXPECT_EQ(cell.text, expected.text) << r << "," << c;
            if (expected.type != CellType::Text) {
                EXPECT_DOUBLE_EQ(cell.number, expected.number) << r << "," << c;
            }
        }
    EXPECT_EQ(grid.at(3, 1).type, CellType::Empty);  // outside the used range
}

TEST(SheetReader, XlsxWrittenByAnotherProgram)
{
    TempDir dir;
    const std::string path = dir.file("payments.xlsx");
    lxw_workbook* workbook = workbook_new(path.c_str());
    workbook_add_worksheet(workbook, "Пусто");
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Платежи");
    worksheet_activate(sheet);  // the active sheet is read, not the first one
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "dd.mm.yyyy");
    lxw_format* money = workbook_add_format(workbook);
    format_set_num_format(money, "0.00");
    const lxw_datetime dates[] = {{2023, 2, 1, 0, 0, 0}, {2023, 2, 15, 0, 0, 0}};
    for (int r = 0; r < 2; ++r) {
        const auto row = static_cast<lxw_row_t>(2 + r);  // used range starts at B3
        worksheet_write_datetime(sheet, row, 1, const_cast<lxw_datetime*>(&dates[r]), date);
        worksheet_write_number(sheet, row, 2, kExpected[r][1].number, nullptr);
        if (kExpected[r][2].type == CellType::Number)
            worksheet_write_number(sheet, row, 3, kExpected[r][2].number, nullptr);
        else
            worksheet_write_blank(sheet, row, 3, money);  // formatted but empty
        worksheet_write_number(sheet, row, 4, kExpected[r][3].number, nullptr);
        worksheet_write_string(sheet, row, 5, kExpected[r][4].text.c_str(), nullptr);
    }
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    expectPaymentGrid(readSheet(path), 3, 2);
}

TEST(SheetReader, XlsLegacyWorkbook)
{
    TempDir dir;
    test::XlsShape shape;
    shape.rows = {
        {std::monostate{}, Date{year{2023} / 2 / 1}, 7.0, 100234.0, 1250.5, std::string("Оплата питания")},
        {std::monostate{}, Date{year{2023} / 2 / 15}, 12.0, std::monostate{}, 0.1, std::string("Ёлкин")},
    };
    const std::string path = dir.file("payments.dat");  // told by content, not by name
    test::writeFile(path, test::makeXls(shape));
    expectPaymentGrid(readSheet(path), 1, 2);
}

TEST(SheetReader, EmptySheetHasEmptyRange)
{
    TempDir dir;
    const std::string path = dir.file("empty.xlsx");
    auto book = Workbook::create("Лист1");
    book.save(path);
    const SheetGrid grid = readSheet(path);
    EXPECT_EQ(grid.rowCount, 0);
    EXPECT_EQ(grid.columnCount, 0);
    EXPECT_EQ(grid.at(1, 1).type, CellType::Empty);
}

}  // namespace
}  // namespace ooxml
