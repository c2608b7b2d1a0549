// Legacy .xls workbooks (BIFF in an OLE compound file), read through FreeXL.
//
// FreeXL trusts the lengths it finds in the file (fuzzing found out-of-bounds reads in its
// string conversion), so it runs in a child process: a file that makes it crash or hang costs
// that child only, and the user gets "Файл повреждён".

#include "ooxml/cell_value.h"
#include "ooxml/error.h"
#include "ooxml/sheet_grid.h"
#include "ooxml/sheet_reader.h"

#include <freexl.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/common_interface_defs.h>
#define OOXML_UNDER_ASAN 1
#endif
#endif

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

// The grid travels from the child to the parent as: 'G', four int32 (first row, first column,
// rows, columns), then per cell its type (1 byte), number (8 bytes), text length (4) and text;
// or 'E' and an error message.
template <typename T>
void put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
bool take(std::string_view& in, T& value)
{
    if (in.size() < sizeof value)
        return false;
    std::memcpy(&value, in.data(), sizeof value);
    in.remove_prefix(sizeof value);
    return true;
}

std::string encodeGrid(const SheetGrid& grid)
{
    std::string out = "G";
    put<std::int32_t>(out, grid.firstRow);
    put<std::int32_t>(out, grid.firstColumn);
    put<std::int32_t>(out, grid.rowCount);
    put<std::int32_t>(out, grid.columnCount);
    for (const auto& cell : grid.cells) {
        put<std::uint8_t>(out, static_cast<std::uint8_t>(cell.type));
        put<double>(out, cell.number);
        put<std::uint32_t>(out, static_cast<std::uint32_t>(cell.text.size()));
        out += cell.text;
    }
    return out;
}

bool decodeGrid(std::string_view in, SheetGrid& grid)
{
    std::int32_t firstRow, firstColumn, rows, columns;
    if (!take(in, firstRow) || !take(in, firstColumn) || !take(in, rows) || !take(in, columns) || rows < 0
        || columns < 0 || (columns > 0 && static_cast<std::size_t>(rows) > kMaxGridCells / static_cast<std::size_t>(columns)))
        return false;
    grid.firstRow = firstRow;
    grid.firstColumn = firstColumn;
    grid.rowCount = rows;
    grid.columnCount = columns;
    grid.cells.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (auto& cell : grid.cells) {
        std::uint8_t type;
        std::uint32_t length;
        if (!take(in, type) || !take(in, cell.number) || !take(in, length) || in.size() < length
            || type > static_cast<std::uint8_t>(CellType::Bool))
            return false;
        cell.type = static_cast<CellType>(type);
        cell.text.assign(in.substr(0, length));
        in.remove_prefix(length);
    }
    return in.empty();
}

void writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t done = ::write(fd, data.data(), data.size());
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return;
        data.remove_prefix(static_cast<std::size_t>(done));
    }
}

SheetGrid parseXls(const std::string& path, const std::string& name, const std::string* sheetName)
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

}  // namespace

SheetGrid readXlsFile(const std::string& path, const std::string& name, const std::string* sheetName)
{
    const std::string damaged = "Файл повреждён: " + name;
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        throw Error("Не удалось прочитать файл " + name + ": " + std::strerror(errno));
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        throw Error("Не удалось прочитать файл " + name + ": " + std::strerror(errno));
    }
    if (child == 0) {
#ifdef OOXML_UNDER_ASAN
        // A fault found by the sanitizer ends this child like a crash would, nothing more.
        __sanitizer_set_death_callback(nullptr);
#endif
        ::close(channel[0]);
        std::string answer;
        try {
            answer = encodeGrid(parseXls(path, name, sheetName));
        } catch (const Error& error) {
            answer = std::string("E") + error.what();
        } catch (...) {
            answer = "E" + damaged;
        }
        writeAll(channel[1], answer);
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string answer;
    bool timedOut = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd waiting{channel[0], POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        char buffer[65536];
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    if (timedOut)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.empty())
        throw Error(damaged);
    if (answer[0] == 'E')
        throw Error(answer.substr(1));
    SheetGrid grid;
    if (answer[0] != 'G' || !decodeGrid(std::string_view(answer).substr(1), grid))
        throw Error(damaged);
    return grid;
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
