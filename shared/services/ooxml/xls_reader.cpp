// Legacy .xls workbooks (BIFF in an OLE compound file), read through FreeXL.

#include "ooxml/cell_value.h"
#include "ooxml/error.h"
#include "ooxml/sheet_grid.h"
#include "ooxml/sheet_reader.h"

#include <freexl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace ooxml {

namespace {

class FreeXlHandle {
public:
    ~FreeXlHandle()
    {
        if (handle_)
            freexl_close(handle_);
    }
    const void** out() { return &handle_; }
    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

// "2023-02-01", "2023-02-01 14:30:00", "14:30:00" -> serial day number.
bool parseFreeXlDate(const char* text, double& serial)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) >= 3) {
        const Date date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(mo)},
                        std::chrono::day{static_cast<unsigned>(d)}};
        if (!date.ok())
            return false;
        serial = excelSerial(date) + (h * 3600 + mi * 60 + s) / 86400.0;
        return true;
    }
    if (std::sscanf(text, "%d:%d:%d", &h, &mi, &s) == 3) {
        serial = (h * 3600 + mi * 60 + s) / 86400.0;
        return true;
    }
    return false;
}

}  // namespace

SheetGrid readXlsFile(const std::string& path, const std::string& name, const std::string* sheetName)
{
    const std::string damaged = "Файл повреждён: " + name;
    FreeXlHandle handle;
    const int opened = freexl_open(path.c_str(), handle.out());
    if (opened != FREEXL_OK) {
        if (opened == FREEXL_FILE_NOT_FOUND)
            throw Error("Файл не найден: " + name);
        if (opened == FREEXL_BIFF_WORKBOOK_NOT_FOUND)
            throw Error("Файл не является книгой Excel: " + name);
        throw Error(damaged);
    }
    unsigned int info = 0;
    if (freexl_get_info(handle.get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        throw Error("Файл защищён паролем: " + name);
    if (freexl_get_info(handle.get(), FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK || info == 0)
        throw Error("Файл не является книгой Excel: " + name);
    unsigned short sheet = 0;
    if (sheetName) {
        sheet = 0xFFFF;
        for (unsigned short i = 0; i < info; ++i) {
            const char* title = nullptr;
            if (freexl_get_worksheet_name(handle.get(), i, &title) == FREEXL_OK && title && *sheetName == title)
                sheet = i;
        }
        if (sheet == 0xFFFF)
            throw Error("В книге нет листа \"" + *sheetName + "\": " + name);
    }
    if (freexl_select_active_worksheet(handle.get(), sheet) != FREEXL_OK)
        throw Error(damaged);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle.get(), &rows, &columns) != FREEXL_OK)
        throw Error(damaged);

    GridBuilder grid("Лист слишком велик для загрузки: " + name);
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle.get(), r, c, &cell) != FREEXL_OK)
                throw Error(damaged);
            SheetValue value;
            switch (cell.type) {
            case FREEXL_CELL_INT:
                value.type = CellType::Number;
                value.number = cell.value.int_value;
                value.text = generalNumberText(value.number);
                break;
            case FREEXL_CELL_DOUBLE:
                value.type = CellType::Number;
                value.number = cell.value.double_value;
                value.text = generalNumberText(value.number);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                if (cell.value.text_value && *cell.value.text_value) {
                    value.type = CellType::Text;
                    value.text = cell.value.text_value;
                }
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: {
                double serial = 0;
                if (!cell.value.text_value || !parseFreeXlDate(cell.value.text_value, serial))
                    throw Error(damaged);
                value = dateValue(serial, cell.type != FREEXL_CELL_TIME, cell.type != FREEXL_CELL_DATE);
                break;
            }
            default:
                break;
            }
            grid.add(static_cast<int>(r) + 1, static_cast<int>(c) + 1, std::move(value));
        }
    }
    return grid.build();
}

SheetGrid readXlsMemory(std::string_view bytes, const std::string& name)
{
    // FreeXL reads files only.
    char path[] = "/tmp/ooxml-xls-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0)
        throw Error("Не удалось создать временный файл");
    bool written = true;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t got = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            written = false;
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    try {
        if (!written)
            throw Error("Не удалось записать временный файл");
        SheetGrid grid = readXlsFile(path, name, nullptr);
        ::unlink(path);
        return grid;
    } catch (...) {
        ::unlink(path);
        throw;
    }
}

}  // namespace ooxml
