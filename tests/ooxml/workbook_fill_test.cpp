// Filling templates and reading the result back with our own reader.

#include "fixtures.h"

#include "ooxml/error.h"
#include "ooxml/sheet_reader.h"
#include "ooxml/workbook.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace ooxml {
namespace {

using namespace std::chrono;
using test::TempDir;

// Rows of a query: account, pupil, amount, date; as the report protocol hands them over.
struct Pupil {
    std::int64_t account;
    std::string name;
    double amount;
    Date date;
};
const std::vector<Pupil> kPupils = {
    {1001, "Иванов Иван", 1250.5, year{2023} / 2 / 1},
    {1002, "Петрова Мария", 0, year{2023} / 2 / 15},
    {1003, "Сидоров Олег", 99.99, year{2024} / 12 / 31},
};

RowSource pupilRows(const std::vector<Pupil>& pupils)
{
    auto next = std::make_shared<std::size_t>(0);
    return [&pupils, next](std::vector<CellValue>& row) {
        if (*next >= pupils.size())
            return false;
        const Pupil& pupil = pupils[(*next)++];
        row[0] = pupil.account;
        row[1] = pupil.name;
        row[2] = pupil.amount;
        row[3] = pupil.date;
        return true;
    };
}

// The `s` attribute of a cell in a saved sheet ("" when the cell or attribute is missing).
std::string cellStyle(const std::string& sheetXml, const std::string& cell)
{
    pugi::xml_document document;
    document.load_string(sheetXml.c_str());
    const auto node = document.select_node(("//c[@r='" + cell + "']").c_str()).node();
    return node.attribute("s").value();
}

class TemplateFill : public ::testing::Test {
protected:
    TempDir dir;
    std::string templatePath = dir.file("payreport.xlsx");
    std::string resultPath = dir.file("result.xlsx");
};

TEST_F(TemplateFill, NamedCellsAndBlockAtDataBeg)
{
    test::makeTemplate(templatePath);
    auto book = Workbook::openTemplate(templatePath);
    ASSERT_TRUE(book.hasName("Name_org"));
    ASSERT_TRUE(book.hasName("name_ORG"));  // names ignore case, as in spreadsheet programs
    book.setNamedCell("Name_org", std::string("МБОУ «Школа № 5»"));
    book.setNamedCell("CURRENT_DATE", std::string("01.02.2023"));
    const SheetCell origin = book.dataBlockOrigin();
    EXPECT_EQ(origin.sheet, "Data");
    EXPECT_EQ(origin.cell, (CellRef{5, 3}));
    EXPECT_EQ(book.writeBlock(origin, 4, pupilRows(kPupils)), 3u);
    book.save(resultPath);

    const SheetGrid parameters = readSheet(resultPath, "Parametrs");
    EXPECT_EQ(parameters.sheetCell(2, 2).text, "МБОУ «Школа № 5»");
    EXPECT_EQ(parameters.sheetCell(3, 2).text, "01.02.2023");
    EXPECT_EQ(parameters.sheetCell(2, 1).text, "Организация");  // template text survives

    const SheetGrid data = readSheet(resultPath, "Data");
    for (int i = 0; i < 3; ++i) {
        const int row = 5 + i;
        EXPECT_EQ(data.sheetCell(row, 3).number, static_cast<double>(kPupils[i].account));
        EXPECT_EQ(data.sheetCell(row, 4).text, kPupils[i].name);
        EXPECT_EQ(data.sheetCell(row, 5).type, CellType::Number);
        EXPECT_DOUBLE_EQ(data.sheetCell(row, 5).number, kPupils[i].amount);
        EXPECT_EQ(data.sheetCell(row, 6).type, CellType::Date);
        EXPECT_EQ(data.sheetCell(row, 6).text, formatDate(kPupils[i].date));
    }
    // Nothing outside C5:F7 was written by the block.
    EXPECT_EQ(data.sheetCell(5, 2).type, CellType::Empty);
    EXPECT_EQ(data.sheetCell(5, 7).type, CellType::Empty);
    EXPECT_EQ(data.sheetCell(4, 3).text, "Счёт");      // header row kept
    EXPECT_EQ(data.sheetCell(5, 8).text, "справа");    // the cell beside the block's first row kept
    EXPECT_EQ(data.sheetCell(1, 1).text, "Отчёт о питании");

    // Block cells keep the template's column styles; dates get a date style of their own.
    const std::string sheet = test::readPart(resultPath, "xl/worksheets/sheet2.xml");
    const std::string moneyStyle = cellStyle(sheet, "E5");
    ASSERT_FALSE(moneyStyle.empty());
    EXPECT_EQ(cellStyle(sheet, "E7"), moneyStyle);
    EXPECT_EQ(cellStyle(sheet, "C6"), cellStyle(sheet, "C5"));
    EXPECT_EQ(cellStyle(sheet, "F5"), cellStyle(sheet, "F7"));
    EXPECT_NE(cellStyle(sheet, "F5"), cellStyle(sheet, "C5"));
}

TEST_F(TemplateFill, ValueKinds)
{
    test::makeTemplate(templatePath, {.totals = false});
    auto book = Workbook::openTemplate(templatePath);
    const std::vector<CellValue> values = {
        CellValue{},
        std::string("  текст с пробелами <&> "),
        3.25,
        std::int64_t{1234567890123},
        true,
        Date{year{2023} / 2 / 1},
        DateTime{local_days{year{2023} / 2 / 1} + hours{14} + minutes{30}},
        std::numeric_limits<double>::quiet_NaN(),
        std::string("bad\x01" "control\xff" "byte"),
    };
    bool given = false;
    book.writeBlock({"Data", {10, 1}}, static_cast<int>(values.size()), [&](std::vector<CellValue>& row) {
        if (given)
            return false;
        row = values;
        given = true;
        return true;
    });
    book.save(resultPath);
    const SheetGrid grid = readSheet(resultPath, "Data");
    struct Expected {
        CellType type;
        double number;
        std::string text;
    };
    const Expected expected[] = {
        {CellType::Empty, 0, ""},
        {CellType::Text, 0, "  текст с пробелами <&> "},
        {CellType::Number, 3.25, "3,25"},
        {CellType::Number, 1234567890123.0, "1234567890123"},
        {CellType::Bool, 1, "ИСТИНА"},
        {CellType::Date, 44958, "01.02.2023"},
        {CellType::Text, 0, "01.02.2023 14:30:00"},  // date-times travel as text
        {CellType::Empty, 0, ""},
        {CellType::Text, 0, "badcontrol\xEF\xBF\xBD" "byte"},
    };
    for (std::size_t j = 0; j < values.size(); ++j) {
        const SheetValue& cell = grid.sheetCell(10, static_cast<int>(j) + 1);
        EXPECT_EQ(cell.type, expected[j].type) << j;
        EXPECT_EQ(cell.text, expected[j].text) << j;
        if (expected[j].type != CellType::Text) {
            EXPECT_DOUBLE_EQ(cell.number, expected[j].number) << j;
        }
    }
}

TEST_F(TemplateFill, TemplateWithoutDataBegGetsBlockAtA1OfData)
{
    test::makeTemplate(templatePath, {.dataBeg = false, .totals = false});
    auto book = Workbook::openTemplate(templatePath);
    const SheetCell origin = book.dataBlockOrigin();
    EXPECT_EQ(origin.sheet, "Data");
    EXPECT_EQ(origin.cell, (CellRef{1, 1}));
    book.writeBlock(origin, 4, pupilRows(kPupils));
    book.save(resultPath);
    const SheetGrid data = readSheet(resultPath, "Data");
    EXPECT_EQ(data.sheetCell(1, 1).number, 1001);
    EXPECT_EQ(data.sheetCell(3, 2).text, "Сидоров Олег");
    EXPECT_EQ(data.sheetCell(4, 3).text, "Счёт");  // the template's row 4 is below the block
}

TEST_F(TemplateFill, TemplateWithoutNameOrgStillExports)
{
    test::makeTemplate(templatePath, {.nameOrg = false});
    auto book = Workbook::openTemplate(templatePath);
    EXPECT_FALSE(book.hasName("Name_org"));
    EXPECT_THROW(book.setNamedCell("Name_org", std::string("x")), Error);
    book.writeBlock(book.dataBlockOrigin(), 4, pupilRows(kPupils));
    book.save(resultPath);
    EXPECT_EQ(readSheet(resultPath, "Data").sheetCell(7, 4).text, "Сидоров Олег");
}

TEST_F(TemplateFill, EmptyBlockLeavesTemplateAsItWas)
{
    test::makeTemplate(templatePath);
    auto book = Workbook::openTemplate(templatePath);
    EXPECT_EQ(book.writeBlock(book.dataBlockOrigin(), 4, [](std::vector<CellValue>&) { return false; }), 0u);
    book.save(resultPath);
    const SheetGrid data = readSheet(resultPath, "Data");
    EXPECT_EQ(data.sheetCell(6, 4).text, "Итого");
    EXPECT_EQ(data.sheetCell(5, 8).text, "справа");
}

TEST_F(TemplateFill, XltxTemplateIsSavedAsWorkbook)
{
    test::makeTemplate(templatePath, {.xltx = true});
    EXPECT_NE(test::readPart(templatePath, "[Content_Types].xml").find("template.main+xml"), std::string::npos);
    auto book = Workbook::openTemplate(templatePath);
    book.save(resultPath);
    const std::string types = test::readPart(resultPath, "[Content_Types].xml");
    EXPECT_EQ(types.find("template.main+xml"), std::string::npos);
    EXPECT_NE(types.find("spreadsheetml.sheet.main+xml"), std::string::npos);
}

TEST_F(TemplateFill, UntouchedPartsAreCopiedByteForByte)
{
    test::makeTemplate(templatePath);
    auto book = Workbook::openTemplate(templatePath);
    book.setNamedCell("Name_org", std::string("Школа"));
    book.save(resultPath);
    for (const char* part : {"xl/worksheets/sheet2.xml", "xl/theme/theme1.xml", "docProps/app.xml", "_rels/.rels"})
        EXPECT_EQ(test::readPart(resultPath, part), test::readPart(templatePath, part)) << part;
    EXPECT_NE(test::readPart(resultPath, "xl/worksheets/sheet1.xml"),
              test::readPart(templatePath, "xl/worksheets/sheet1.xml"));
}

TEST_F(TemplateFill, NamedCellKeepsStyleOfTemplateCell)
{
    test::makeTemplate(templatePath);
    const std::string before = cellStyle(test::readPart(templatePath, "xl/worksheets/sheet1.xml"), "B3");
    ASSERT_FALSE(before.empty());
    auto book = Workbook::openTemplate(templatePath);
    book.setNamedCell("CURRENT_DATE", Date{year{2023} / 3 / 1});
    book.setNamedCell("Name_org", 5.0);
    book.save(resultPath);
    const std::string sheet = test::readPart(resultPath, "xl/worksheets/sheet1.xml");
    EXPECT_FALSE(cellStyle(sheet, "B3").empty());
    EXPECT_NE(cellStyle(sheet, "B3"), before);  // a date style derived from the boxed one
    const SheetGrid parameters = readSheet(resultPath, "Parametrs");
    EXPECT_EQ(parameters.sheetCell(3, 2).type, CellType::Date);
    EXPECT_EQ(parameters.sheetCell(3, 2).text, "01.03.2023");
    EXPECT_EQ(parameters.sheetCell(2, 2).number, 5.0);
}

TEST(BlankWorkbook, HeaderTextColumnsAndFittedWidths)
{
    TempDir dir;
    auto book = Workbook::create();
    BlockOptions options;
    options.captions = {"Лицевой счёт", "Фамилия, имя", "Сумма", "Дата операции"};
    options.textColumns = {false, true, false, true};
    options.fitColumnWidths = true;
    const std::vector<Pupil> pupils = kPupils;
    EXPECT_EQ(book.writeBlock({"Data", {1, 1}}, 4, [&, i = std::size_t{0}](std::vector<CellValue>& row) mutable {
        if (i >= pupils.size())
            return false;
        row[0] = pupils[i].account;
        row[1] = pupils[i].name;
        row[2] = pupils[i].amount;
        row[3] = formatDateTime(local_days{pupils[i].date} + hours{9});
        ++i;
        return true;
    }, options), 3u);
    const std::string path = dir.file("plain.xlsx");
    book.save(path);

    const SheetGrid grid = readSheet(path);
    EXPECT_EQ(grid.rowCount, 4);
    EXPECT_EQ(grid.columnCount, 4);
    EXPECT_EQ(grid.at(1, 2).text, "Фамилия, имя");
    EXPECT_EQ(grid.at(2, 1).type, CellType::Number);
    EXPECT_EQ(grid.at(2, 4).text, "01.02.2023 09:00:00");
    EXPECT_EQ(grid.at(4, 3).text, "99,99");

    const std::string sheet = test::readPart(path, "xl/worksheets/sheet1.xml");
    const std::string styles = test::readPart(path, "xl/styles.xml");
    pugi::xml_document styleDoc;
    styleDoc.load_string(styles.c_str());
    auto numberFormatOf = [&](const std::string& cell) {
        const int style = std::stoi(cellStyle(sheet, cell));
        return styleDoc.select_nodes("//cellXfs/xf")[static_cast<std::size_t>(style)].node().attribute("numFmtId").as_int();
    };
    EXPECT_EQ(numberFormatOf("B1"), 49);  // "@" on text columns, header included
    EXPECT_EQ(numberFormatOf("B3"), 49);
    EXPECT_EQ(numberFormatOf("D2"), 49);
    EXPECT_TRUE(cellStyle(sheet, "C2").empty() || numberFormatOf("C2") != 49);

    pugi::xml_document sheetDoc;
    sheetDoc.load_string(sheet.c_str());
    const auto cols = sheetDoc.select_nodes("//cols/col");
    ASSERT_EQ(cols.size(), 4u);
    const double nameWidth = cols[1].node().attribute("width").as_double();
    const double sumWidth = cols[2].node().attribute("width").as_double();
    EXPECT_GT(nameWidth, static_cast<double>(std::string_view("Петрова Мария").size() / 2));
    EXPECT_LT(sumWidth, nameWidth);
}

}  // namespace
}  // namespace ooxml
