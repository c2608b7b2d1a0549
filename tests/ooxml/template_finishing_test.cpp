// The finishing step that stands in for the template macro "Start".

#include "fixtures.h"

#include "ooxml/package.h"
#include "ooxml/sheet_reader.h"
#include "ooxml/workbook.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace ooxml {
namespace {

using test::TempDir;

RowSource numberedRows(int count)
{
    return [count, i = 0](std::vector<CellValue>& row) mutable {
        if (i >= count)
            return false;
        ++i;
        row[0] = static_cast<std::int64_t>(i);
        row[1] = "Ученик " + std::to_string(i);
        row[2] = 10.0 * i;
        return true;
    };
}

pugi::xml_document parse(const std::string& xml)
{
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(xml.c_str()));
    return document;
}

std::string definedName(const std::string& workbookXml, const std::string& name)
{
    const auto document = parse(workbookXml);
    return document.select_node(("//definedName[@name='" + name + "']").c_str()).node().text().get();
}

TEST(TemplateFinishing, FooterMovesUnderTheBlockAndTotalsCoverIt)
{
    TempDir dir;
    const std::string templatePath = dir.file("t.xlsx");
    const std::string result = dir.file("r.xlsx");
    test::makeTemplate(templatePath, {.printArea = true});

    struct Case {
        int rows;
        std::string totalsCell;
        std::string formula;
        int signatureRow;
    };
    // DataBeg C5, footer (DataTotals) at row 6, signature line at row 8.
    const Case cases[] = {
        {1, "E6", "SUM(E5:E5)", 8},
        {3, "E8", "SUM(E5:E7)", 10},
        {100, "E105", "SUM(E5:E104)", 107},
    };
    for (const auto& c : cases) {
        auto book = Workbook::openTemplate(templatePath);
        book.writeBlock(book.dataBlockOrigin(), 3, numberedRows(c.rows));
        book.save(result);
        const auto sheet = parse(test::readPart(result, "xl/worksheets/sheet2.xml"));
        const auto totals = sheet.select_node(("//c[@r='" + c.totalsCell + "']/f").c_str()).node();
        EXPECT_STREQ(totals.text().get(), c.formula.c_str()) << c.rows;
        const SheetGrid data = readSheet(result, "Data");
        EXPECT_EQ(data.sheetCell(c.signatureRow, 3).text, "Бухгалтер ____________") << c.rows;
        EXPECT_EQ(data.sheetCell(4 + c.rows, 4).text, "Ученик " + std::to_string(c.rows));
        const std::string workbook = test::readPart(result, "xl/workbook.xml");
        EXPECT_EQ(definedName(workbook, "DataTotals"), "Data!$C$" + std::to_string(5 + c.rows)) << c.rows;
        // The print area reaches the moved footer.
        EXPECT_EQ(definedName(workbook, "_xlnm.Print_Area"), "Data!$A$1:$F$" + std::to_string(5 + c.rows));
        // Rows stay in ascending order.
        int previous = 0;
        for (const auto& row : sheet.select_nodes("//sheetData/row")) {
            EXPECT_GT(row.node().attribute("r").as_int(), previous);
            previous = row.node().attribute("r").as_int();
        }
    }
}

TEST(TemplateFinishing, FormulasRecalculateOnOpenAndStaleChainIsDropped)
{
    TempDir dir;
    const std::string templatePath = dir.file("t.xlsx");
    test::makeTemplate(templatePath);
    {
        // Give the template a calculation chain, as spreadsheet programs write one.
        Package package = Package::openFile(templatePath, "x");
        package.write("xl/calcChain.xml",
                      R"(<calcChain xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><c r="E6" i="2"/></calcChain>)");
        std::string rels = package.read("xl/_rels/workbook.xml.rels");
        rels.insert(rels.find("</Relationships>"),
                    R"(<Relationship Id="rId99" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain" Target="calcChain.xml"/>)");
        package.write("xl/_rels/workbook.xml.rels", rels);
        std::string types = package.read("[Content_Types].xml");
        types.insert(types.find("</Types>"),
                     R"(<Override PartName="/xl/calcChain.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"/>)");
        package.write("[Content_Types].xml", types);
        package.save(templatePath + ".new");
        std::filesystem::rename(templatePath + ".new", templatePath);
    }
    auto book = Workbook::openTemplate(templatePath);
    book.writeBlock(book.dataBlockOrigin(), 3, numberedRows(2));
    const std::string result = dir.file("r.xlsx");
    book.save(result);

    const auto workbook = parse(test::readPart(result, "xl/workbook.xml"));
    EXPECT_TRUE(workbook.select_node("//calcPr").node().attribute("fullCalcOnLoad").as_bool());
    const auto parts = test::partNames(result);
    EXPECT_EQ(std::find(parts.begin(), parts.end(), "xl/calcChain.xml"), parts.end());
    EXPECT_EQ(test::readPart(result, "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
    EXPECT_EQ(test::readPart(result, "[Content_Types].xml").find("calcChain"), std::string::npos);
}

TEST(TemplateFinishing, AutofitNameFitsBlockColumns)
{
    TempDir dir;
    const std::string templatePath = dir.file("t.xlsx");
    for (const bool autofit : {false, true}) {
        test::makeTemplate(templatePath, {.totals = false, .autofit = autofit});
        auto book = Workbook::openTemplate(templatePath);
        book.writeBlock(book.dataBlockOrigin(), 3, numberedRows(3));
        const std::string result = dir.file("r.xlsx");
        book.save(result);
        const auto sheet = parse(test::readPart(result, "xl/worksheets/sheet2.xml"));
        const auto widened = sheet.select_node("//cols/col[@min='4'][@max='4']").node();
        EXPECT_EQ(static_cast<bool>(widened), autofit);
        if (autofit) {
            EXPECT_GT(widened.attribute("width").as_double(), 9.0);
        }
    }
}

}  // namespace
}  // namespace ooxml
