// A produced workbook is a valid package: every part well-formed, content types and
// relationships consistent. When a spreadsheet program is installed, it must agree too.

#include "fixtures.h"

#include "ooxml/opc.h"
#include "ooxml/package.h"
#include "ooxml/workbook.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace ooxml {
namespace {

using test::TempDir;

void expectValidPackage(const std::string& path)
{
    const Package package = Package::openFile(path, "not a package");
    const auto parts = package.partNames();
    auto has = [&](const std::string& part) { return std::find(parts.begin(), parts.end(), part) != parts.end(); };
    for (const auto& part : parts) {
        if (part.size() < 4 || (part.substr(part.size() - 4) != ".xml" && part.substr(part.size() - 5) != ".rels"))
            continue;
        pugi::xml_document document;
        const std::string xml = package.read(part);
        EXPECT_TRUE(document.load_buffer(xml.data(), xml.size())) << part;
    }
    pugi::xml_document types;
    const std::string typesXml = package.read(kContentTypesPart);
    ASSERT_TRUE(types.load_string(typesXml.c_str()));
    for (const auto& node : types.select_nodes("//*[local-name()='Override']")) {
        const std::string name = node.node().attribute("PartName").value();
        EXPECT_TRUE(has(name.substr(1))) << "content type of a missing part " << name;
    }
    for (const auto& part : parts) {
        const bool isRels = part.size() > 5 && part.substr(part.size() - 5) == ".rels";
        if (isRels) {
            // _rels/x.rels belongs to x in the folder above.
            const auto slash = part.rfind("_rels/");
            const std::string source = part.substr(0, slash) + part.substr(slash + 6, part.size() - slash - 11);
            for (const auto& relationship : readRelationships(package, source)) {
                if (!relationship.target.empty()) {
                    EXPECT_TRUE(has(relationship.target)) << part << " -> " << relationship.target;
                }
            }
        }
    }
}

TEST(PackageValidity, FilledTemplateAndBlankWorkbook)
{
    TempDir dir;
    const std::string templatePath = dir.file("t.xltx");
    test::makeTemplate(templatePath, {.printArea = true, .xltx = true});
    auto book = Workbook::openTemplate(templatePath);
    book.setNamedCell("Name_org", std::string("Школа"));
    book.writeBlock(book.dataBlockOrigin(), 2, [i = 0](std::vector<CellValue>& row) mutable {
        row[0] = std::string("строка ") + std::to_string(i);
        row[1] = static_cast<double>(i);
        return ++i <= 50;
    });
    const std::string filled = dir.file("filled.xlsx");
    book.save(filled);
    expectValidPackage(filled);

    auto blank = Workbook::create();
    blank.writeBlock({"Data", {1, 1}}, 1, [i = 0](std::vector<CellValue>& row) mutable {
        row[0] = std::chrono::year_month_day{std::chrono::year{2024} / 1 / 1};
        return ++i <= 3;
    }, {.captions = {"Дата"}, .textColumns = {}, .fitColumnWidths = true});
    const std::string plain = dir.file("plain.xlsx");
    blank.save(plain);
    expectValidPackage(plain);
}

TEST(PackageValidity, SpreadsheetProgramReadsTheResult)
{
    if (std::system("command -v soffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice is not installed";
    TempDir dir;
    auto book = Workbook::create();
    book.writeBlock({"Data", {1, 1}}, 3, [i = 0](std::vector<CellValue>& row) mutable {
        row[0] = std::string("Ученик ") + std::to_string(i + 1);
        row[1] = 10.5 * (i + 1);
        row[2] = std::chrono::year_month_day{std::chrono::year{2023}, std::chrono::month{2}, std::chrono::day{1}};
        return ++i <= 2;
    }, {.captions = {"Имя", "Сумма", "Дата"}, .textColumns = {true}, .fitColumnWidths = true});
    const std::string result = dir.file("r.xlsx");
    book.save(result);
    // A profile of its own, so a spreadsheet program already running elsewhere is not asked.
    const std::string command = "cd " + dir.path().string() + " && HOME=" + dir.path().string()
                                + " timeout 180 soffice -env:UserInstallation=file://" + dir.path().string()
                                + "/profile --headless --convert-to csv:\"Text - txt - csv (StarCalc)\":44,34,76,1,,1033"
                                  " r.xlsx > /dev/null 2>&1";
    const int rc = std::system(command.c_str());
    if (!std::filesystem::exists(dir.file("r.csv")))
        GTEST_SKIP() << "soffice could not convert here (exit " << rc << ")";
    const std::string csv = test::readFile(dir.file("r.csv"));
    EXPECT_NE(csv.find("Имя,Сумма,Дата"), std::string::npos) << csv;
    EXPECT_NE(csv.find("Ученик 1,10.5,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("Ученик 2,21,"), std::string::npos) << csv;
}

}  // namespace
}  // namespace ooxml
