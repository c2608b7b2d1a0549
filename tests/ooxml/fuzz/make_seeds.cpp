// Writes the starting corpus of the reader fuzzer: a filled template, a blank workbook, a
// legacy .xls, and the XML parts of the filled template in the fuzzer's "parts" form.

#include "fixtures.h"

#include "ooxml/workbook.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    using namespace ooxml;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    test::TempDir dir;

    const std::string templatePath = dir.file("t.xlsx");
    test::makeTemplate(templatePath);
    auto book = Workbook::openTemplate(templatePath);
    book.writeBlock(book.dataBlockOrigin(), 4, [i = 0](std::vector<CellValue>& row) mutable {
        row[0] = std::int64_t{1000 + i};
        row[1] = std::string("Ученик ") + std::to_string(i);
        row[2] = 12.5 * i;
        row[3] = Date{std::chrono::year{2023} / 2 / (1 + i)};
        return ++i <= 3;
    });
    const std::string filled = dir.file("filled.xlsx");
    book.save(filled);
    auto seed = [&](const std::string& name, char mode, const std::string& bytes) {
        test::writeFile((folder / name).string(), std::string(1, mode) + bytes);
    };
    seed("filled.xlsx", '\0', test::readFile(filled));
    seed("filled-parts", '\1',
         test::readPart(filled, "xl/worksheets/sheet2.xml") + "\n--part--\n<sst/>\n--part--\n"
             + test::readPart(filled, "xl/styles.xml") + "\n--part--\n");

    test::XlsShape xls;
    xls.rows = {{1.0, std::string("текст"), Date{std::chrono::year{2023} / 1 / 9}}, {std::monostate{}, 2.5}};
    seed("sheet.xls", '\0', test::makeXls(xls));
    xls.obfuscated = true;
    seed("password.xls", '\0', test::makeXls(xls));
    return 0;
}
