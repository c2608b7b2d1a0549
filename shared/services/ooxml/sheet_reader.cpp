#include "ooxml/sheet_reader.h"

#include "ooxml/cell_value.h"
#include "ooxml/column_names.h"
#include "ooxml/error.h"
#include "ooxml/opc.h"
#include "ooxml/package.h"
#include "ooxml/sheet_grid.h"
#include "ooxml/style_sheet.h"

#include <pugixml.hpp>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace ooxml {

SheetGrid readXlsFile(const std::string& path, const std::string& name, const std::string* sheetName);  // xls_reader.cpp
SheetGrid readXlsMemory(std::string_view bytes, const std::string& name);  // xls_reader.cpp

namespace {

struct Messages {
    std::string name, notAWorkbook, damaged, tooLarge;
    explicit Messages(const std::string& fileName)
        : name(fileName), notAWorkbook("Файл не является книгой Excel: " + name),
          damaged("Файл повреждён: " + name),
          tooLarge("Лист слишком велик для загрузки: " + name)
    {
    }
};

void appendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Strings in spreadsheets escape some characters as _xHHHH_ (carriage returns, mostly).
std::string decodeEscapes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            unsigned code = 0;
            bool hex = true;
            for (std::size_t k = i + 2; k < i + 6 && hex; ++k) {
                const char c = text[k];
                code <<= 4;
                if (c >= '0' && c <= '9') code |= static_cast<unsigned>(c - '0');
                else if (c >= 'a' && c <= 'f') code |= static_cast<unsigned>(c - 'a' + 10);
                else if (c >= 'A' && c <= 'F') code |= static_cast<unsigned>(c - 'A' + 10);
                else hex = false;
            }
            if (hex && (code < 0xD800 || code > 0xDFFF)) {
                appendUtf8(out, code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Text of a string item (<si>, <is>): plain <t>, or the runs' <t>; phonetic hints skipped.
std::string stringItemText(const pugi::xml_node& item)
{
    std::string text;
    for (auto child = item.first_child(); child; child = child.next_sibling()) {
        const auto name = localName(child);
        if (name == "t")
            text += child.text().get();
        else if (name == "r")
            text += childNamed(child, "t").text().get();
    }
    return text.find("_x") == std::string::npos ? text : decodeEscapes(text);
}

bool parseNumber(const char* text, double& number)
{
    if (!*text)
        return false;
    errno = 0;
    char* end = nullptr;
    number = std::strtod(text, &end);
    while (end && (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r'))
        ++end;
    return end && *end == '\0' && end != text;
}

// ISO 8601 cell values (t="d"): "2023-02-01" or "2023-02-01T14:30:00".
bool parseIsoDate(std::string_view text, double& serial, bool& hasTime)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    const std::string copy(text);
    const int fields = std::sscanf(copy.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    if (fields < 3 || y < 1900 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > 31)
        return false;
    const Date date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(mo)},
                    std::chrono::day{static_cast<unsigned>(d)}};
    if (!date.ok())
        return false;
    hasTime = fields > 3;
    serial = excelSerial(date) + (h * 3600 + mi * 60 + s) / 86400.0;
    return true;
}

class XlsxReader {
public:
    XlsxReader(Package package, const Messages& messages, const std::string* sheetName)
        : package_(std::move(package)), messages_(messages), sheetName_(sheetName)
    {
    }

    SheetGrid read()
    {
        const std::string workbookPart = mainPartName(package_).empty() && package_.contains("xl/workbook.xml")
                                             ? std::string("xl/workbook.xml")
                                             : mainPartName(package_);
        if (workbookPart.empty() || !package_.contains(workbookPart))
            throw Error(messages_.notAWorkbook);
        pugi::xml_document workbook;
        parseXml(workbook, package_.read(workbookPart), messages_.damaged);
        const auto root = workbook.document_element();
        if (localName(root) != "workbook")
            throw Error(messages_.notAWorkbook);
        date1904_ = childNamed(root, "workbookPr").attribute("date1904").as_bool();

        std::map<std::string, std::string> targets;
        std::string sharedStringsPart, stylesPart;
        for (const auto& relationship : readRelationships(package_, workbookPart)) {
            targets[relationship.id] = relationship.target;
            if (relationshipTypeIs(relationship.type, "sharedStrings"))
                sharedStringsPart = relationship.target;
            else if (relationshipTypeIs(relationship.type, "styles"))
                stylesPart = relationship.target;
        }
        std::vector<std::string> sheetParts;
        std::size_t chosen = childNamed(childNamed(root, "bookViews"), "workbookView").attribute("activeTab").as_uint(0);
        for (auto node = childNamed(root, "sheets").first_child(); node; node = node.next_sibling()) {
            if (localName(node) != "sheet")
                continue;
            if (sheetName_ && *sheetName_ == node.attribute("name").value())
                chosen = sheetParts.size();
            sheetParts.push_back(targets[std::string(attributeNamed(node, "id"))]);
        }
        if (sheetParts.empty())
            throw Error(messages_.notAWorkbook);
        if (sheetName_ && (chosen >= sheetParts.size() || !sheetNamed(root, chosen)))
            throw Error("В книге нет листа \"" + *sheetName_ + "\": " + messages_.name);
        const std::string& sheetPart = sheetParts[chosen < sheetParts.size() ? chosen : 0];
        if (sheetPart.empty() || !package_.contains(sheetPart))
            throw Error(messages_.damaged);

        if (!sharedStringsPart.empty() && package_.contains(sharedStringsPart))
            loadSharedStrings(sharedStringsPart);
        if (!stylesPart.empty() && package_.contains(stylesPart))
            styles_ = std::make_unique<StyleSheet>(package_.read(stylesPart), messages_.damaged);
        return readCells(sheetPart);
    }

private:
    bool sheetNamed(const pugi::xml_node& root, std::size_t index) const
    {
        std::size_t i = 0;
        for (auto node = childNamed(root, "sheets").first_child(); node; node = node.next_sibling())
            if (localName(node) == "sheet" && i++ == index)
                return *sheetName_ == node.attribute("name").value();
        return false;
    }

    void loadSharedStrings(const std::string& part)
    {
        pugi::xml_document document;
        parseXml(document, package_.read(part), messages_.damaged);
        for (auto item = document.document_element().first_child(); item; item = item.next_sibling())
            if (localName(item) == "si")
                sharedStrings_.push_back(stringItemText(item));
    }

    SheetValue cellValue(const pugi::xml_node& cell) const
    {
        SheetValue value;
        const std::string_view type = cell.attribute("t").value();
        const auto v = childNamed(cell, "v");
        const char* raw = v.text().get();
        if (type == "s") {
            const long index = std::strtol(raw, nullptr, 10);
            if (!*raw || index < 0 || static_cast<std::size_t>(index) >= sharedStrings_.size())
                throw Error(messages_.damaged);
            value.text = sharedStrings_[static_cast<std::size_t>(index)];
            value.type = value.text.empty() ? CellType::Empty : CellType::Text;
        } else if (type == "inlineStr") {
            value.text = stringItemText(childNamed(cell, "is"));
            value.type = value.text.empty() ? CellType::Empty : CellType::Text;
        } else if (type == "str" || type == "e") {
            value.text = raw;
            value.type = value.text.empty() ? CellType::Empty : CellType::Text;
        } else if (type == "b") {
            if (!v)
                return value;
            value.type = CellType::Bool;
            value.number = std::strtol(raw, nullptr, 10) != 0;
            value.text = value.number != 0 ? "ИСТИНА" : "ЛОЖЬ";
        } else if (type == "d") {
            double serial;
            bool hasTime = false;
            if (!v)
                return value;
            if (!parseIsoDate(raw, serial, hasTime)) {
                value.type = CellType::Text;
                value.text = raw;
                return value;
            }
            return dateValue(serial, true, hasTime);
        } else {
            double number;
            if (!v || !parseNumber(raw, number))
                return value;
            const auto kind = styles_ ? styles_->kindOf(cell.attribute("s").as_int(0)) : NumberFormatKind::Plain;
            if (kind != NumberFormatKind::Plain)
                return dateValue(date1904_ ? number + 1462 : number, kind != NumberFormatKind::Time,
                                 kind != NumberFormatKind::Date);
            value.type = CellType::Number;
            value.number = number;
            value.text = generalNumberText(number);
        }
        return value;
    }

    SheetGrid readCells(const std::string& part)
    {
        pugi::xml_document document;
        parseXml(document, package_.read(part), messages_.damaged);
        const auto sheetData = childNamed(document.document_element(), "sheetData");
        GridBuilder grid(messages_.tooLarge);
        int rowNumber = 0;
        for (auto row = sheetData.first_child(); row; row = row.next_sibling()) {
            if (localName(row) != "row")
                continue;
            const int explicitRow = row.attribute("r").as_int(0);
            rowNumber = explicitRow > 0 ? explicitRow : rowNumber + 1;
            if (rowNumber > kMaxRow)
                throw Error(messages_.damaged);
            int column = 0;
            for (auto cell = row.first_child(); cell; cell = cell.next_sibling()) {
                if (localName(cell) != "c")
                    continue;
                CellRef ref;
                column = parseCellName(cell.attribute("r").value(), ref) ? ref.column : column + 1;
                if (column > kMaxColumn)
                    throw Error(messages_.damaged);
                grid.add(rowNumber, column, cellValue(cell));
            }
        }
        return grid.build();
    }

    Package package_;
    const Messages& messages_;
    const std::string* sheetName_;
    std::vector<std::string> sharedStrings_;
    std::unique_ptr<StyleSheet> styles_;
    bool date1904_ = false;
};

// Password-protected OOXML files are OLE compound files holding an "EncryptionInfo" stream.
bool mentionsEncryption(std::string_view bytes)
{
    static const std::string name = [] {
        std::string utf16;
        for (const char c : std::string_view("EncryptionInfo")) {
            utf16 += c;
            utf16 += '\0';
        }
        return utf16;
    }();
    return bytes.find(name) != std::string_view::npos;
}

SheetGrid readBytes(std::string_view bytes, const std::string& name, const std::string* path,
                    const std::string* sheetName = nullptr)
{
    const Messages messages(name);
    if (looksLikeZip(bytes)) {
        return XlsxReader(Package::openMemory(std::string(bytes), messages.notAWorkbook), messages, sheetName).read();
    }
    if (looksLikeOle(bytes)) {
        if (mentionsEncryption(bytes))
            throw Error("Файл защищён паролем: " + name);
        return path ? readXlsFile(*path, name, sheetName) : readXlsMemory(bytes, name);
    }
    throw Error(messages.notAWorkbook);
}

}  // namespace

namespace {
std::string readWholeFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw Error("Файл не найден: " + path);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error("Не удаётся открыть файл: " + path);
    // The whole file is needed anyway (zip directory at the end, OLE sectors anywhere); spreadsheets
    // for import are small.
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
}  // namespace

SheetGrid readSheet(const std::string& path)
{
    return readBytes(readWholeFile(path), path, &path);
}

SheetGrid readSheet(const std::string& path, const std::string& sheetName)
{
    return readBytes(readWholeFile(path), path, &path, &sheetName);
}

SheetGrid readSheetFromMemory(std::string_view bytes, const std::string& name)
{
    return readBytes(bytes, name, nullptr);
}

}  // namespace ooxml
