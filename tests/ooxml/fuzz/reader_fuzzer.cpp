// Feeds arbitrary bytes to the .xlsx and .xls readers: they may refuse the input with
// ooxml::Error, never crash, hang or leak.

#include "ooxml/error.h"
#include "ooxml/sheet_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const auto grid = ooxml::readSheetFromMemory(std::string_view(reinterpret_cast<const char*>(data), size));
        for (int r = 1; r <= grid.rowCount; ++r)
            for (int c = 1; c <= grid.columnCount; ++c)
                (void)grid.at(r, c).text.size();
    } catch (const ooxml::Error&) {
    }
    return 0;
}
