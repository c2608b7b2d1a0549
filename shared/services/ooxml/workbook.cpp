#include "ooxml/workbook.h"

#include "ooxml/error.h"
#include "ooxml/opc.h"
#include "ooxml/package.h"
#include "ooxml/style_sheet.h"
#include "ooxml/worksheet.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

namespace ooxml {

Package blankWorkbookPackage(const std::string& sheetName);  // blank_workbook.cpp

namespace {

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                  return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
              });
}

// "Parametrs!$B$2", "'Отчёт (1)'!$C$5:$F$9", "=Data!C5" -> sheet and range text.
bool splitReference(std::string_view text, std::string& sheet, std::string_view& range)
{
    if (!text.empty() && text.front() == '=')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '\'') {
        sheet.clear();
        std::size_t i = 1;
        for (; i < text.size(); ++i) {
            if (text[i] == '\'') {
                if (i + 1 < text.size() && text[i + 1] == '\'') {
                    sheet += '\'';
                    ++i;
                    continue;
                }
                break;
            }
            sheet += text[i];
        }
        if (i + 1 >= text.size() || text[i + 1] != '!')
            return false;
        range = text.substr(i + 2);
        return true;
    }
    const auto bang = text.find('!');
    if (bang == std::string_view::npos)
        return false;
    sheet.assign(text.substr(0, bang));
    range = text.substr(bang + 1);
    return true;
}

const char* kSheetMainType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
const char* kTemplateMainType = "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
const char* kMacroSheetMainType = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
const char* kMacroTemplateMainType = "application/vnd.ms-excel.template.macroEnabled.main+xml";

double fittedWidth(std::size_t characters)
{
    return std::min(100.0, std::round((static_cast<double>(std::max<std::size_t>(characters, 4)) * 1.1 + 2.0) * 4) / 4);
}

}  // namespace

struct Workbook::Impl {
    std::string path;  // for messages
    Package package;
    std::string workbookPart;
    pugi::xml_document workbook;
    pugi::xml_document contentTypes;
    struct Sheet {
        std::string name;
        std::string part;
    };
    std::vector<Sheet> sheets;
    std::string stylesPart;
    std::unique_ptr<StyleSheet> styles;
    std::map<std::string, std::unique_ptr<Worksheet>> worksheets;
    std::vector<std::string> removedRelationshipParts;

    explicit Impl(Package p) : package(std::move(p)) {}

    std::string damaged() const { return "Файл повреждён: " + path; }

    void load(const std::string& notAWorkbook)
    {
        workbookPart = mainPartName(package);
        if (workbookPart.empty() && package.contains("xl/workbook.xml"))
            workbookPart = "xl/workbook.xml";
        if (workbookPart.empty() || !package.contains(workbookPart) || !package.contains(kContentTypesPart))
            throw Error(notAWorkbook);
        parseXml(contentTypes, package.read(kContentTypesPart), damaged());
        const std::string type = overrideContentType(contentTypes, workbookPart);
        if (type.find("spreadsheetml") == std::string::npos && type.find("ms-excel") == std::string::npos)
            throw Error(notAWorkbook);
        parseXml(workbook, package.read(workbookPart), damaged());
        if (localName(workbook.document_element()) != "workbook")
            throw Error(notAWorkbook);
        std::map<std::string, std::string> targets;
        for (const auto& relationship : readRelationships(package, workbookPart)) {
            targets[relationship.id] = relationship.target;
            if (relationshipTypeIs(relationship.type, "styles"))
                stylesPart = relationship.target;
        }
        if (const auto list = childNamed(workbook.document_element(), "sheets"))
            for (auto node = list.first_child(); node; node = node.next_sibling())
                if (localName(node) == "sheet")
                    sheets.push_back({node.attribute("name").value(), targets[std::string(attributeNamed(node, "id"))]});
    }

    const Sheet* findSheet(std::string_view name) const
    {
        for (const auto& sheet : sheets)
            if (sheet.name == name)
                return &sheet;
        for (const auto& sheet : sheets)
            if (sameNameIgnoringCase(sheet.name, name))
                return &sheet;
        return nullptr;
    }

    int sheetIndex(std::string_view name) const
    {
        const auto* sheet = findSheet(name);
        return sheet ? static_cast<int>(sheet - sheets.data()) : -1;
    }

    pugi::xml_node definedNames() const { return childNamed(workbook.document_element(), "definedNames"); }

    // A workbook-wide definition wins over sheet-local ones.
    pugi::xml_node findDefinedName(std::string_view name) const
    {
        pugi::xml_node local;
        for (auto node = definedNames().first_child(); node; node = node.next_sibling()) {
            if (localName(node) != "definedName" || !sameNameIgnoringCase(node.attribute("name").value(), name))
                continue;
            if (!node.attribute("localSheetId"))
                return node;
            if (!local)
                local = node;
        }
        return local;
    }

    StyleSheet& styleSheet()
    {
        if (!styles) {
            if (stylesPart.empty() || !package.contains(stylesPart))
                throw Error(damaged() + " (нет таблицы стилей)");
            styles = std::make_unique<StyleSheet>(package.read(stylesPart), damaged());
        }
        return *styles;
    }

    Worksheet& worksheet(std::string_view sheetName)
    {
        const auto* sheet = findSheet(sheetName);
        if (!sheet)
            throw Error("В книге нет листа \"" + std::string(sheetName) + "\": " + path);
        if (sheet->part.empty() || !package.contains(sheet->part))
            throw Error(damaged());
        auto& slot = worksheets[sheet->part];
        if (!slot)
            slot = std::make_unique<Worksheet>(sheet->part, package.read(sheet->part), damaged());
        return *slot;
    }

    void finish();
    void dropCalculationChain();
    void adjustPrintArea(int sheetIndex, const BlockExtent& block, const RowShift& footer);
};

Workbook::Workbook(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::openTemplate(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw Error("Файл шаблона не найден: " + path);
    const std::string notAWorkbook = "Файл не является книгой Excel: " + path;
    auto impl = std::make_unique<Impl>(Package::openFile(path, notAWorkbook));
    impl->path = path;
    impl->load(notAWorkbook);
    return Workbook(std::move(impl));
}

Workbook Workbook::create(const std::string& sheetName)
{
    auto impl = std::make_unique<Impl>(blankWorkbookPackage(sheetName));
    impl->path = "новая книга";
    impl->load("Файл не является книгой Excel");
    return Workbook(std::move(impl));
}

std::vector<std::string> Workbook::sheetNames() const
{
    std::vector<std::string> names;
    for (const auto& sheet : d->sheets)
        names.push_back(sheet.name);
    return names;
}

bool Workbook::hasSheet(std::string_view sheet) const
{
    return d->findSheet(sheet) != nullptr;
}

bool Workbook::hasName(std::string_view name) const
{
    return static_cast<bool>(d->findDefinedName(name));
}

SheetCell Workbook::namedCell(std::string_view name) const
{
    const auto node = d->findDefinedName(name);
    const std::string quoted = "\"" + std::string(name) + "\"";
    if (!node)
        throw Error("В шаблоне нет имени " + quoted + ": " + d->path);
    const std::string_view text = node.text().get();
    std::string sheet;
    std::string_view range;
    if (!splitReference(text, sheet, range)) {
        const auto local = node.attribute("localSheetId");
        if (!local || local.as_int() < 0 || local.as_uint() >= d->sheets.size())
            throw Error("Имя " + quoted + " не указывает на ячейку: " + std::string(text));
        sheet = d->sheets[local.as_uint()].name;
        range = text;
        if (!range.empty() && range.front() == '=')
            range.remove_prefix(1);
    }
    const auto* found = d->findSheet(sheet);
    if (!found)
        throw Error("Имя " + quoted + " ссылается на отсутствующий лист \"" + sheet + "\": " + d->path);
    CellRef cell;
    if (!parseCellName(range.substr(0, range.find(':')), cell))
        throw Error("Имя " + quoted + " не указывает на ячейку: " + std::string(text));
    return {found->name, cell};
}

SheetCell Workbook::dataBlockOrigin() const
{
    const auto* data = d->findSheet("Data");
    if (!data)
        throw Error("В шаблоне нет листа \"Data\": " + d->path);
    SheetCell origin{data->name, {1, 1}};
    try {
        if (hasName("DataBeg"))
            origin.cell = namedCell("DataBeg").cell;
    } catch (const Error&) {
        // An unusable "DataBeg" means A1, as in the desktop program.
    }
    return origin;
}

void Workbook::setNamedCell(std::string_view name, const CellValue& value)
{
    setCell(namedCell(name), value);
}

void Workbook::setCell(const SheetCell& at, const CellValue& value)
{
    d->worksheet(at.sheet).setCell(at.cell, value, d->styleSheet());
}

std::size_t Workbook::writeBlock(const SheetCell& origin, int columnCount, const RowSource& source,
                                 const BlockOptions& options)
{
    auto& sheet = d->worksheet(origin.sheet);
    int footerRow = 0;
    if (hasName("DataTotals")) {
        try {
            const auto totals = namedCell("DataTotals");
            if (d->findSheet(totals.sheet) == d->findSheet(origin.sheet) && totals.cell.row > origin.cell.row)
                footerRow = totals.cell.row;
        } catch (const Error&) {
            // A broken footer mark only means there is no footer to move.
        }
    }
    const std::size_t rows = sheet.writeBlock(origin.cell, columnCount, source, options, d->styleSheet(), footerRow);
    if (options.fitColumnWidths || hasName("__autofit")) {
        std::vector<double> widths;
        for (const auto length : sheet.blockTextLengths())
            widths.push_back(fittedWidth(length));
        sheet.setColumnWidths(origin.cell.column, widths);
    }
    if (footerRow > 0 && sheet.footerShift().delta > 0) {
        auto node = d->findDefinedName("DataTotals");
        node.text().set(shiftFormulaRows(node.text().get(), sheet.footerShift()).c_str());
    }
    return rows;
}

void Workbook::Impl::dropCalculationChain()
{
    const std::string relsPart = relationshipsPartOf(workbookPart);
    if (!package.contains(relsPart))
        return;
    pugi::xml_document rels;
    parseXml(rels, package.read(relsPart), damaged());
    bool changed = false;
    for (auto node = rels.document_element().first_child(); node;) {
        const auto next = node.next_sibling();
        if (relationshipTypeIs(node.attribute("Type").value(), "calcChain")) {
            const std::string part = resolvePartName(workbookPart, node.attribute("Target").value());
            package.remove(part);
            removeOverride(contentTypes, part);
            rels.document_element().remove_child(node);
            changed = true;
        }
        node = next;
    }
    if (changed)
        package.write(relsPart, serializeXml(rels));
}

void Workbook::Impl::adjustPrintArea(int index, const BlockExtent& block, const RowShift& footer)
{
    for (auto node = definedNames().first_child(); node; node = node.next_sibling()) {
        if (std::string_view(node.attribute("name").value()) != "_xlnm.Print_Area"
            || node.attribute("localSheetId").as_int(-1) != index)
            continue;
        const std::string text = node.text().get();
        std::string sheet;
        std::string_view range;
        if (!splitReference(text, sheet, range) || range.find(',') != std::string_view::npos)
            return;
        const auto colon = range.find(':');
        CellRef first, last;
        if (colon == std::string_view::npos || !parseCellName(range.substr(0, colon), first)
            || !parseCellName(range.substr(colon + 1), last))
            return;
        if (last.row >= footer.fromRow && footer.delta > 0)
            last.row += footer.delta;
        last.row = std::max(last.row, block.lastRow);
        last.column = std::max(last.column, block.lastColumn);
        first.row = std::min(first.row, block.firstRow);
        first.column = std::min(first.column, block.firstColumn);
        auto absolute = [](CellRef cell) {
            std::string name = "$";
            appendColumnLetters(name, cell.column);
            return name + "$" + std::to_string(cell.row);
        };
        const std::string head = text.substr(0, text.size() - range.size());
        node.text().set((head + absolute(first) + ":" + absolute(last)).c_str());
        return;
    }
}

void Workbook::Impl::finish()
{
    auto root = workbook.document_element();
    auto calcPr = childNamed(root, "calcPr");
    if (!calcPr) {
        // calcPr follows sheets, functionGroups, externalReferences and definedNames.
        pugi::xml_node after;
        for (const char* name : {"sheets", "functionGroups", "externalReferences", "definedNames"})
            if (auto node = childNamed(root, name))
                after = node;
        calcPr = after ? root.insert_child_after("calcPr", after) : root.append_child("calcPr");
        const std::string_view rootName = root.name();
        if (const auto colon = rootName.find(':'); colon != std::string_view::npos)
            calcPr.set_name((std::string(rootName.substr(0, colon + 1)) + "calcPr").c_str());
    }
    (calcPr.attribute("fullCalcOnLoad") ? calcPr.attribute("fullCalcOnLoad") : calcPr.append_attribute("fullCalcOnLoad")) = 1;
    dropCalculationChain();

    for (const auto& [part, sheet] : worksheets)
        if (sheet->block())
            for (std::size_t i = 0; i < sheets.size(); ++i)
                if (sheets[i].part == part)
                    adjustPrintArea(static_cast<int>(i), *sheet->block(), sheet->footerShift());

    // A template instantiates as an ordinary workbook.
    const std::string type = overrideContentType(contentTypes, workbookPart);
    if (type == kTemplateMainType)
        setOverrideContentType(contentTypes, workbookPart, kSheetMainType);
    else if (type == kMacroTemplateMainType)
        setOverrideContentType(contentTypes, workbookPart, kMacroSheetMainType);
}

void Workbook::save(const std::string& path)
{
    d->finish();
    d->package.write(d->workbookPart, serializeXml(d->workbook));
    d->package.write(kContentTypesPart, serializeXml(d->contentTypes));
    if (d->styles && d->styles->modified())
        d->package.write(d->stylesPart, d->styles->xml());
    for (const auto& [part, sheet] : d->worksheets)
        d->package.writePieces(part, sheet->content(), sheet->block() ? 1 : 6);
    d->package.save(path);
}

}  // namespace ooxml
