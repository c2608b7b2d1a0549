// Feeds arbitrary bytes to the .xlsx and .xls readers: they may refuse the input with
// ooxml::Error, never crash, hang or leak.
//
// The first byte picks what the rest is:
//   even: a whole file (zip, OLE compound file, anything);
//   odd:  the XML of a workbook's parts, separated by "\n--part--\n" (sheet, shared strings,
//         styles, workbook), packed into a valid zip here, so that mutations reach the XML
//         reading instead of stopping at the zip's checksums.

#include "ooxml/error.h"
#include "ooxml/package.h"
#include "ooxml/sheet_reader.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

const char* const kWorkbook =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="Data" sheetId="1" r:id="rId1"/></sheets></workbook>)";

std::string packParts(std::string_view text)
{
    std::string parts[4];
    const std::string_view separator = "\n--part--\n";
    for (int i = 0; i < 4; ++i) {
        const auto at = i < 3 ? text.find(separator) : std::string_view::npos;
        parts[i] = std::string(text.substr(0, at));
        text = at == std::string_view::npos ? std::string_view() : text.substr(at + separator.size());
    }
    ooxml::Package package = ooxml::Package::create();
    package.write("[Content_Types].xml",
                  R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
                  R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>)");
    package.write("_rels/.rels",
                  R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                  R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)");
    package.write("xl/_rels/workbook.xml.rels",
                  R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                  R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
                  R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
                  R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)");
    package.write("xl/worksheets/sheet1.xml", parts[0], 1);
    package.write("xl/sharedStrings.xml", parts[1], 1);
    package.write("xl/styles.xml", parts[2], 1);
    package.write("xl/workbook.xml", parts[3].empty() ? std::string(kWorkbook) : parts[3], 1);
    static const std::string path = "/tmp/ooxml-fuzz-" + std::to_string(getpid()) + ".xlsx";
    package.save(path);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        const std::string packed = (data[0] & 1) ? packParts(input) : std::string();
        const auto grid = ooxml::readSheetFromMemory((data[0] & 1) ? std::string_view(packed) : input);
        for (int r = 1; r <= grid.rowCount; ++r)
            for (int c = 1; c <= grid.columnCount; ++c)
                (void)grid.at(r, c).text.size();
    } catch (const ooxml::Error&) {
    }
    return 0;
}
