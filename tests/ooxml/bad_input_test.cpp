// Bad input gives a clear ooxml::Error and leaves nothing half-written behind.

#include "fixtures.h"

#include "ooxml/error.h"
#include "ooxml/package.h"
#include "ooxml/sheet_reader.h"
#include "ooxml/workbook.h"

#include <gtest/gtest.h>

#include <random>
#include <unistd.h>

namespace ooxml {
namespace {

using test::TempDir;

// The message of the Error `action` throws ("" when it throws nothing).
template <typename Action>
std::string errorOf(Action&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string validXlsx(const TempDir& dir)
{
    const std::string path = dir.file("valid.xlsx");
    test::makeTemplate(path);
    auto book = Workbook::openTemplate(path);
    book.writeBlock(book.dataBlockOrigin(), 2, [i = 0](std::vector<CellValue>& row) mutable {
        row[0] = std::string("текст");
        row[1] = 1.5 * i;
        return ++i <= 20;
    });
    const std::string result = dir.file("filled.xlsx");
    book.save(result);
    return test::readFile(result);
}

TEST(BadInput, TemplatesThatCannotBeOpened)
{
    TempDir dir;
    const std::string zipBytes = validXlsx(dir);
    struct Case {
        std::string name;
        std::string bytes;  // "" = the file does not exist
        std::string message;
    };
    const Case cases[] = {
        {"missing.xlsx", "", "Файл шаблона не найден: "},
        {"text.xlsx", "это не книга", "Файл не является книгой Excel: "},
        {"empty.xlsx", std::string(), "Файл шаблона не найден: "},
        {"truncated.xlsx", zipBytes.substr(0, zipBytes.size() / 2), "Файл не является книгой Excel: "},
        {"ole.xlsx", test::makeXls({}), "Файл не является книгой Excel: "},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        if (!c.bytes.empty())
            test::writeFile(path, c.bytes);
        const std::string message = errorOf([&] { Workbook::openTemplate(path); });
        EXPECT_EQ(message, c.message + path) << c.name;
    }
    // A Word document is a package too, but not a workbook.
    const std::string docx = dir.file("letter.xlsx");
    {
        Package package = Package::openMemory(zipBytes, "x");
        std::string types = package.read("[Content_Types].xml");
        const std::string main = "spreadsheetml.sheet.main+xml";
        types.replace(types.find(main), main.size(), "wordprocessingml.document.main+xml");
        package.write("[Content_Types].xml", types);
        package.save(docx);
    }
    EXPECT_EQ(errorOf([&] { Workbook::openTemplate(docx); }), "Файл не является книгой Excel: " + docx);
}

TEST(BadInput, DefinedNameToMissingSheet)
{
    TempDir dir;
    const std::string path = dir.file("t.xlsx");
    test::makeTemplate(path, {.dataBeg = false, .extraName = "DataBeg", .extraReference = "=Missing!$C$5"});
    auto book = Workbook::openTemplate(path);
    EXPECT_TRUE(book.hasName("DataBeg"));
    EXPECT_TRUE(startsWith(errorOf([&] { book.namedCell("DataBeg"); }),
                           "Имя \"DataBeg\" ссылается на отсутствующий лист \"Missing\""));
    EXPECT_TRUE(startsWith(errorOf([&] { book.setNamedCell("DataBeg", 1.0); }), "Имя \"DataBeg\""));
    // The report protocol falls back to A1 of "Data".
    EXPECT_EQ(book.dataBlockOrigin().cell, (CellRef{1, 1}));
    EXPECT_TRUE(startsWith(errorOf([&] { book.setCell({"Отсутствует", {1, 1}}, 1.0); }), "В книге нет листа"));
}

TEST(BadInput, FailedSaveLeavesNoFileAtTarget)
{
    TempDir dir;
    const std::string templatePath = dir.file("t.xlsx");
    test::makeTemplate(templatePath);
    // Root writes into read-only folders anyway; /proc refuses new files to everyone.
    const std::filesystem::path folder = geteuid() == 0 ? std::filesystem::path("/proc") : dir.path() / "readonly";
    if (geteuid() != 0) {
        std::filesystem::create_directory(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    const std::string targets[] = {(folder / "report.xlsx").string(), dir.file("no-such-folder/report.xlsx")};
    for (const auto& target : targets) {
        auto book = Workbook::openTemplate(templatePath);
        book.writeBlock(book.dataBlockOrigin(), 1, [i = 0](std::vector<CellValue>& row) mutable {
            row[0] = 1.0;
            return ++i <= 10;
        });
        EXPECT_TRUE(startsWith(errorOf([&] { book.save(target); }), "Не удалось сохранить файл " + target)) << target;
        EXPECT_FALSE(std::filesystem::exists(target)) << target;
    }
    if (geteuid() != 0) {
        EXPECT_TRUE(std::filesystem::is_empty(folder));
    }

    // A row source that fails stops the export before anything is written.
    auto book = Workbook::openTemplate(templatePath);
    EXPECT_THROW(book.writeBlock(book.dataBlockOrigin(), 1,
                                 [](std::vector<CellValue>&) -> bool { throw std::runtime_error("query failed"); }),
                 std::runtime_error);
}

TEST(BadInput, ImportFilesThatCannotBeRead)
{
    TempDir dir;
    const std::string zipBytes = validXlsx(dir);
    test::XlsShape xls;
    xls.rows = {{1.0, std::string("a")}, {2.0, std::string("b")}};
    const std::string xlsBytes = test::makeXls(xls);
    xls.obfuscated = true;
    std::mt19937 random(42);
    std::string noise(3000, '\0');
    for (auto& c : noise)
        c = static_cast<char>(random());
    std::string brokenSheet;
    {
        Package package = Package::openMemory(zipBytes, "x");
        package.write("xl/worksheets/sheet1.xml", "<worksheet><sheetData><row>");
        const std::string path = dir.file("broken.xlsx");
        package.save(path);
        brokenSheet = test::readFile(path);
    }
    struct Case {
        std::string name;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"noise.xlsx", noise, "Файл не является книгой Excel: "},
        {"empty.xls", "", "Файл не является книгой Excel: "},
        {"truncated.xlsx", zipBytes.substr(0, zipBytes.size() - 200), "Файл не является книгой Excel: "},
        {"truncated.xls", xlsBytes.substr(0, 1500), "Файл повреждён: "},
        {"password.xls", test::makeXls(xls), "Файл защищён паролем: "},
        {"encrypted.xlsx", test::makeOleFile("EncryptionInfo", std::string(200, 'x')), "Файл защищён паролем: "},
        {"other.doc", test::makeOleFile("WordDocument", std::string(200, 'x')), "Файл не является книгой Excel: "},
        {"broken.xlsx", brokenSheet, "Файл повреждён: "},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        test::writeFile(path, c.bytes);
        EXPECT_EQ(errorOf([&] { readSheet(path); }), c.message + path) << c.name;
    }
    EXPECT_EQ(errorOf([&] { readSheet(dir.file("absent.xlsx")); }), "Файл не найден: " + dir.file("absent.xlsx"));
}

TEST(BadInput, DamagedBytesNeverCrashTheReaders)
{
    TempDir dir;
    test::XlsShape xls;
    xls.rows = {{1.0, std::string("текст")}, {std::chrono::year_month_day{std::chrono::year{2023} / 1 / 9}}};
    for (const std::string& original : {validXlsx(dir), test::makeXls(xls)}) {
        std::mt19937 random(7);
        for (int round = 0; round < 300; ++round) {
            std::string bytes = original;
            for (int k = 0; k < 1 + round % 8; ++k)
                bytes[random() % bytes.size()] = static_cast<char>(random());
            try {
                readSheetFromMemory(bytes);
            } catch (const Error&) {
            }
        }
    }
}

}  // namespace
}  // namespace ooxml
