#include "fixtures.h"

#include "ooxml/package.h"

#include <xlsxwriter.h>


#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace ooxml::test {

TempDir::TempDir()
{
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("ooxml-test-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(path_, error);
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void makeTemplate(const std::string& path, const TemplateShape& shape)
{
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format* money = workbook_add_format(workbook);
    format_set_num_format(money, "#,##0.00");
    format_set_border(money, LXW_BORDER_THIN);
    lxw_format* boxed = workbook_add_format(workbook);
    format_set_border(boxed, LXW_BORDER_THIN);

    lxw_worksheet* parameters = workbook_add_worksheet(workbook, "Parametrs");
    worksheet_write_string(parameters, 0, 0, "Параметры отчёта", bold);
    worksheet_write_string(parameters, 1, 0, "Организация", nullptr);
    worksheet_write_string(parameters, 2, 0, "Дата", nullptr);
    worksheet_write_string(parameters, 2, 1, "", boxed);

    lxw_worksheet* data = workbook_add_worksheet(workbook, "Data");
    worksheet_write_string(data, 0, 0, "Отчёт о питании", bold);
    worksheet_write_formula(data, 1, 0, "=Parametrs!B2", nullptr);
    const char* headers[] = {"Счёт", "Ученик", "Сумма", "Дата"};
    for (int j = 0; j < 4; ++j)
        worksheet_write_string(data, 3, static_cast<lxw_col_t>(2 + j), headers[j], bold);
    // The first data row carries the column formats the block inherits.
    worksheet_write_blank(data, 4, 2, boxed);
    worksheet_write_blank(data, 4, 3, boxed);
    worksheet_write_blank(data, 4, 4, money);
    worksheet_write_blank(data, 4, 5, boxed);
    worksheet_write_string(data, 4, 7, "справа", nullptr);  // beside the block, must survive
    if (shape.totals) {
        worksheet_write_string(data, 5, 3, "Итого", bold);
        worksheet_write_formula(data, 5, 4, "=SUM(E5:E5)", money);
        worksheet_write_string(data, 7, 2, "Бухгалтер ____________", nullptr);
        workbook_define_name(workbook, "DataTotals", "=Data!$C$6");
    }
    if (shape.nameOrg)
        workbook_define_name(workbook, "Name_org", "=Parametrs!$B$2");
    workbook_define_name(workbook, "CURRENT_DATE", "=Parametrs!$B$3");
    if (shape.dataBeg)
        workbook_define_name(workbook, "DataBeg", "=Data!$C$5");
    if (shape.printArea)
        worksheet_print_area(data, 0, 0, 5, 5);
    if (shape.autofit)
        workbook_define_name(workbook, "__autofit", "=Data!$A$1");
    if (!shape.extraName.empty())
        workbook_define_name(workbook, shape.extraName.c_str(), shape.extraReference.c_str());
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw std::runtime_error("libxlsxwriter failed on " + path);

    if (shape.xltx) {
        Package package = Package::openFile(path, "not a package");
        std::string types = package.read("[Content_Types].xml");
        const std::string sheet = "spreadsheetml.sheet.main+xml";
        types.replace(types.find(sheet), sheet.size(), "spreadsheetml.template.main+xml");
        package.write("[Content_Types].xml", types);
        const std::string copy = path + ".tmp";
        package.save(copy);
        std::filesystem::rename(copy, path);
    }
}

std::string readPart(const std::string& packagePath, const std::string& part)
{
    return Package::openFile(packagePath, "not a package").read(part);
}

std::vector<std::string> partNames(const std::string& packagePath)
{
    return Package::openFile(packagePath, "not a package").partNames();
}

// ---- legacy .xls -----------------------------------------------------------------------------

namespace {

class Bytes {
public:
    void u8(unsigned v) { data_ += static_cast<char>(v & 0xFF); }
    void u16(unsigned v) { u8(v); u8(v >> 8); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void raw(const std::string& bytes) { data_ += bytes; }
    void record(unsigned type, const Bytes& body)
    {
        u16(type);
        u16(static_cast<unsigned>(body.size()));
        raw(body.str());
    }
    std::size_t size() const { return data_.size(); }
    const std::string& str() const { return data_; }
    std::string& str() { return data_; }

private:
    std::string data_;
};

// UTF-8 -> UTF-16LE code units (BMP only, enough for fixtures).
std::u16string utf16(const std::string& text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char16_t>(c);
            i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            out += static_cast<char16_t>(((c & 0x1F) << 6) | (text[i + 1] & 0x3F));
            i += 2;
        } else {
            out += static_cast<char16_t>(((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F));
            i += 3;
        }
    }
    return out;
}

Bytes bof(unsigned kind)
{
    Bytes b;
    b.u16(0x0600);
    b.u16(kind);
    b.u16(0x0DBB);
    b.u16(0x07CC);
    b.u32(0);
    b.u32(6);
    return b;
}

}  // namespace

std::string makeOleFile(const std::string& streamName, const std::string& content)
{
    std::string stream = content;
    if (stream.size() < 4096)  // below the cutoff a stream would live in the mini stream
        stream.resize(4096, '\0');
    const std::size_t sectors = (stream.size() + 511) / 512;
    if (sectors > 126)
        throw std::runtime_error("fixture stream too large");
    stream.resize(sectors * 512, '\0');

    Bytes header;
    header.raw(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    header.raw(std::string(16, '\0'));
    header.u16(0x003E);
    header.u16(0x0003);
    header.u16(0xFFFE);
    header.u16(9);
    header.u16(6);
    header.raw(std::string(6, '\0'));
    header.u32(0);           // directory sectors (version 3)
    header.u32(1);           // FAT sectors
    header.u32(1);           // first directory sector
    header.u32(0);
    header.u32(4096);        // mini stream cutoff
    header.u32(0xFFFFFFFE);  // no mini FAT
    header.u32(0);
    header.u32(0xFFFFFFFE);  // no DIFAT sectors
    header.u32(0);
    header.u32(0);  // the FAT is sector 0
    for (int i = 1; i < 109; ++i)
        header.u32(0xFFFFFFFF);

    Bytes fat;
    fat.u32(0xFFFFFFFD);  // the FAT itself
    fat.u32(0xFFFFFFFE);  // directory: one sector
    for (std::size_t i = 0; i < sectors; ++i)
        fat.u32(i + 1 == sectors ? 0xFFFFFFFE : static_cast<std::uint32_t>(3 + i));
    while (fat.size() < 512)
        fat.u32(0xFFFFFFFF);

    auto entry = [](Bytes& dir, const std::string& name, unsigned type, std::uint32_t child, std::uint32_t start,
                    std::uint32_t size) {
        const std::u16string wide = utf16(name);
        for (const char16_t c : wide)
            dir.u16(c);
        for (std::size_t i = wide.size(); i < 32; ++i)
            dir.u16(0);
        dir.u16(name.empty() ? 0 : static_cast<unsigned>((wide.size() + 1) * 2));
        dir.u8(type);
        dir.u8(name.empty() ? 0 : 1);
        dir.u32(0xFFFFFFFF);
        dir.u32(0xFFFFFFFF);
        dir.u32(child);
        dir.raw(std::string(16 + 4 + 16, '\0'));
        dir.u32(start);
        dir.u32(size);
        dir.u32(0);
    };
    Bytes directory;
    entry(directory, "Root Entry", 5, 1, 0xFFFFFFFE, 0);
    entry(directory, streamName, 2, 0xFFFFFFFF, 2, static_cast<std::uint32_t>(content.size() < 4096 ? 4096 : content.size()));
    entry(directory, "", 0, 0xFFFFFFFF, 0, 0);
    entry(directory, "", 0, 0xFFFFFFFF, 0, 0);

    return header.str() + fat.str() + directory.str() + stream;
}

std::string makeXls(const XlsShape& shape)
{
    // Shared strings first: every text cell refers to them.
    std::vector<std::string> strings;
    for (const auto& row : shape.rows)
        for (const auto& cell : row)
            if (const auto* text = std::get_if<std::string>(&cell))
                strings.push_back(*text);

    Bytes globals;
    globals.record(0x0809, bof(0x0005));
    if (shape.obfuscated) {
        Bytes filepass;
        filepass.u16(0);  // XOR obfuscation
        filepass.u16(0x1234);
        filepass.u16(0x5678);
        globals.record(0x002F, filepass);
    }
    Bytes codepage;
    codepage.u16(1200);
    globals.record(0x0042, codepage);
    Bytes datemode;
    datemode.u16(0);
    globals.record(0x0022, datemode);
    for (unsigned format : {0u, 14u}) {  // XF 0: general, XF 1: short date
        Bytes xf;
        xf.u16(0);
        xf.u16(format);
        xf.u16(0x0001);
        xf.raw(std::string(14, '\0'));
        globals.record(0x00E0, xf);
    }
    const std::string sheetName = "Лист1";
    const std::u16string wideName = utf16(sheetName);
    Bytes boundsheet;
    boundsheet.u32(0);  // patched below
    boundsheet.u8(0);
    boundsheet.u8(0);
    boundsheet.u8(static_cast<unsigned>(wideName.size()));
    boundsheet.u8(1);
    for (const char16_t c : wideName)
        boundsheet.u16(c);
    const std::size_t boundsheetAt = globals.size() + 4;
    globals.record(0x0085, boundsheet);
    Bytes sst;
    sst.u32(static_cast<std::uint32_t>(strings.size()));
    sst.u32(static_cast<std::uint32_t>(strings.size()));
    for (const auto& text : strings) {
        const std::u16string wide = utf16(text);
        sst.u16(static_cast<unsigned>(wide.size()));
        sst.u8(1);
        for (const char16_t c : wide)
            sst.u16(c);
    }
    globals.record(0x00FC, sst);
    globals.record(0x000A, Bytes());

    const auto sheetAt = static_cast<std::uint32_t>(globals.size());
    for (int i = 0; i < 4; ++i)
        globals.str()[boundsheetAt + static_cast<std::size_t>(i)] = static_cast<char>((sheetAt >> (8 * i)) & 0xFF);

    Bytes sheet;
    sheet.record(0x0809, bof(0x0010));
    std::size_t columns = 0;
    for (const auto& row : shape.rows)
        columns = std::max(columns, row.size());
    Bytes dimensions;
    dimensions.u32(0);
    dimensions.u32(static_cast<std::uint32_t>(shape.rows.size()));
    dimensions.u16(0);
    dimensions.u16(static_cast<unsigned>(columns));
    dimensions.u16(0);
    sheet.record(0x0200, dimensions);
    std::uint32_t stringIndex = 0;
    for (std::size_t r = 0; r < shape.rows.size(); ++r) {
        for (std::size_t c = 0; c < shape.rows[r].size(); ++c) {
            const auto& cell = shape.rows[r][c];
            Bytes body;
            body.u16(static_cast<unsigned>(r));
            body.u16(static_cast<unsigned>(c));
            if (const auto* number = std::get_if<double>(&cell)) {
                body.u16(0);
                body.f64(*number);
                sheet.record(0x0203, body);
            } else if (const auto* date = std::get_if<Date>(&cell)) {
                body.u16(1);
                body.f64(excelSerial(*date));
                sheet.record(0x0203, body);
            } else if (std::holds_alternative<std::string>(cell)) {
                body.u16(0);
                body.u32(stringIndex++);
                sheet.record(0x00FD, body);
            }
        }
    }
    sheet.record(0x000A, Bytes());
    return makeOleFile("Workbook", globals.str() + sheet.str());
}

}  // namespace ooxml::test
