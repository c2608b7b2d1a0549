#include "ooxml/worksheet.h"

#include "ooxml/cell_xml.h"
#include "ooxml/error.h"
#include "ooxml/opc.h"
#include "ooxml/style_sheet.h"
#include "ooxml/temp_file.h"
#include "ooxml/xml_text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <map>
#include <sstream>

namespace ooxml {

namespace {

// Where the streamed block goes in the serialised sheet.
constexpr const char* kBlockMarker = "ooxml-block-5c1e0b7d";
constexpr std::size_t kSpoolChunk = 256 * 1024;

int rowNumber(const pugi::xml_node& row)
{
    return row.attribute("r").as_int(0);
}

int cellColumn(const pugi::xml_node& cell)
{
    CellRef ref;
    return parseCellName(cell.attribute("r").value(), ref) ? ref.column : 0;
}

pugi::xml_attribute ensureAttribute(pugi::xml_node node, const char* name)
{
    auto attribute = node.attribute(name);
    return attribute ? attribute : node.append_attribute(name);
}

std::string nodeText(const pugi::xml_node& node)
{
    std::ostringstream out;
    node.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

// Row attributes a generated row copies from a template row (not its number, not spans).
std::string rowAttributes(const pugi::xml_node& row)
{
    std::string text;
    for (auto attribute = row.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        const std::string_view name = attribute.name();
        if (name == "r" || name == "spans")
            continue;
        text += ' ';
        text += name;
        text += "=\"";
        appendXmlEscaped(text, attribute.value());
        text += '"';
    }
    return text;
}

}  // namespace

struct Worksheet::Dom {
    pugi::xml_document document;
    pugi::xml_node root;
    pugi::xml_node sheetData;

    // Style a new cell at `column` of `row` takes: the row's style when it has a custom format,
    // else the column's default style.
    int defaultStyle(const pugi::xml_node& row, int column) const
    {
        if (row && row.attribute("customFormat").as_bool() && row.attribute("s"))
            return row.attribute("s").as_int();
        if (const auto cols = childNamed(root, "cols"))
            for (auto col = cols.first_child(); col; col = col.next_sibling())
                if (col.attribute("min").as_int() <= column && column <= col.attribute("max").as_int()
                    && col.attribute("style"))
                    return col.attribute("style").as_int();
        return -1;
    }

    pugi::xml_node findRow(int number) const
    {
        for (auto row = sheetData.first_child(); row; row = row.next_sibling())
            if (localName(row) == "row" && rowNumber(row) == number)
                return row;
        return {};
    }

    pugi::xml_node rowForWriting(int number)
    {
        for (auto row = sheetData.first_child(); row; row = row.next_sibling()) {
            if (localName(row) != "row")
                continue;
            if (rowNumber(row) == number)
                return row;
            if (rowNumber(row) > number) {
                auto created = sheetData.insert_child_before("row", row);
                created.append_attribute("r") = number;
                return created;
            }
        }
        auto created = sheetData.append_child("row");
        created.append_attribute("r") = number;
        return created;
    }
};

Worksheet::Worksheet(std::string part, const std::string& xml, const std::string& damaged)
    : part_(std::move(part)), dom_(std::make_unique<Dom>())
{
    parseXml(dom_->document, xml, damaged);
    dom_->root = dom_->document.document_element();
    dom_->sheetData = childNamed(dom_->root, "sheetData");
    if (localName(dom_->root) != "worksheet" || !dom_->sheetData)
        throw Error(damaged);
    // Rows and cells may leave out their positions; give every one of them an explicit "r".
    int previousRow = 0;
    for (auto row = dom_->sheetData.first_child(); row; row = row.next_sibling()) {
        if (localName(row) != "row")
            continue;
        int number = rowNumber(row);
        if (number <= 0) {
            number = previousRow + 1;
            ensureAttribute(row, "r") = number;
        }
        previousRow = number;
        int previousColumn = 0;
        for (auto cell = row.first_child(); cell; cell = cell.next_sibling()) {
            if (localName(cell) != "c")
                continue;
            int column = cellColumn(cell);
            if (column <= 0) {
                column = std::min(previousColumn + 1, kMaxColumn);
                ensureAttribute(cell, "r") = cellName({number, column}).c_str();
            }
            previousColumn = column;
        }
    }
}

Worksheet::~Worksheet() = default;

void Worksheet::setCell(CellRef at, const CellValue& value, StyleSheet& styles)
{
    if (block_ && at.row >= block_->firstRow && at.row <= block_->lastRow)
        throw std::logic_error("ooxml: a single cell is written into rows of a block already written");
    auto row = dom_->rowForWriting(at.row);
    pugi::xml_node before;
    pugi::xml_node existing;
    for (auto cell = row.first_child(); cell; cell = cell.next_sibling()) {
        if (localName(cell) != "c")
            continue;
        const int column = cellColumn(cell);
        if (column == at.column) {
            existing = cell;
            break;
        }
        if (column > at.column) {
            before = cell;
            break;
        }
    }
    CellFormat format;
    format.style = existing ? (existing.attribute("s") ? existing.attribute("s").as_int() : -1)
                            : dom_->defaultStyle(row, at.column);
    std::string xml;
    appendCellXml(xml, cellName(at), value, format, styles);
    if (xml.empty())
        xml = "<c r=\"" + cellName(at) + "\"/>";
    pugi::xml_document fragment;
    if (!fragment.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8))
        throw std::logic_error("ooxml: malformed cell XML");
    if (existing) {
        row.insert_copy_before(fragment.first_child(), existing);
        row.remove_child(existing);
    } else if (before) {
        row.insert_copy_before(fragment.first_child(), before);
    } else {
        row.append_copy(fragment.first_child());
    }
}

std::size_t Worksheet::writeBlock(CellRef origin, int columnCount, const RowSource& source,
                                  const BlockOptions& options, StyleSheet& styles, int footerRow)
{
    if (block_)
        throw std::logic_error("ooxml: one block per worksheet");
    if (columnCount < 1 || origin.column + columnCount - 1 > kMaxColumn)
        throw Error("Блок данных не помещается на лист: " + std::to_string(columnCount) + " столбцов");
    const int firstColumn = origin.column;
    const int lastColumn = origin.column + columnCount - 1;
    const bool header = !options.captions.empty();

    // The footer leaves the sheet while the block is written and comes back under it.
    pugi::xml_document footer;
    if (footerRow > origin.row) {
        for (auto row = dom_->sheetData.first_child(); row;) {
            const auto next = row.next_sibling();
            if (localName(row) == "row" && rowNumber(row) >= footerRow) {
                footer.append_copy(row);
                dom_->sheetData.remove_child(row);
            }
            row = next;
        }
    }

    // Template rows from the block's first row on, by number.
    std::map<int, pugi::xml_node> templateRows;
    for (auto row = dom_->sheetData.first_child(); row; row = row.next_sibling())
        if (localName(row) == "row" && rowNumber(row) >= origin.row)
            templateRows.emplace(rowNumber(row), row);

    // Column formats from the template's first block row.
    const pugi::xml_node firstRow = templateRows.count(origin.row) ? templateRows[origin.row] : pugi::xml_node();
    std::vector<CellFormat> formats(static_cast<std::size_t>(columnCount));
    std::vector<std::string> letters(static_cast<std::size_t>(columnCount));
    for (int j = 0; j < columnCount; ++j) {
        auto& format = formats[static_cast<std::size_t>(j)];
        format.style = dom_->defaultStyle(firstRow, firstColumn + j);
        for (auto cell = firstRow.first_child(); cell; cell = cell.next_sibling())
            if (localName(cell) == "c" && cellColumn(cell) == firstColumn + j && cell.attribute("s"))
                format.style = cell.attribute("s").as_int();
        format.asText = static_cast<std::size_t>(j) < options.textColumns.size() && options.textColumns[static_cast<std::size_t>(j)];
        if (format.asText)
            format.style = styles.textStyle(format.style < 0 ? 0 : format.style);
        appendColumnLetters(letters[static_cast<std::size_t>(j)], firstColumn + j);
    }
    const std::string newRowAttributes = firstRow ? rowAttributes(firstRow) : std::string();

    auto spool = std::make_shared<TempFile>();
    lengths_.assign(static_cast<std::size_t>(columnCount), 0);
    std::string buffer;
    buffer.reserve(kSpoolChunk + 64 * 1024);
    std::string reference;
    char rowText[16];

    auto emitRow = [&](int number, const std::vector<CellValue>& values, std::vector<CellFormat>& rowFormats) {
        if (number > kMaxRow)
            throw Error("Данные не помещаются на лист: больше " + std::to_string(kMaxRow) + " строк");
        const auto rowEnd = std::to_chars(rowText, rowText + sizeof rowText, number).ptr;
        const std::string_view rowDigits(rowText, static_cast<std::size_t>(rowEnd - rowText));
        const auto found = templateRows.find(number);
        const pugi::xml_node templateRow = found == templateRows.end() ? pugi::xml_node() : found->second;
        buffer += "<row r=\"";
        buffer += rowDigits;
        buffer += '"';
        buffer += templateRow ? rowAttributes(templateRow) : newRowAttributes;
        buffer += '>';
        // Template cells of this row: those left of the block stay before it, those right after.
        std::vector<pugi::xml_node> right;
        std::map<int, int> templateStyles;
        for (auto cell = templateRow.first_child(); cell; cell = cell.next_sibling()) {
            if (localName(cell) != "c")
                continue;
            const int column = cellColumn(cell);
            if (column < firstColumn)
                buffer += nodeText(cell);
            else if (column > lastColumn)
                right.push_back(cell);
            else if (cell.attribute("s"))
                templateStyles[column] = cell.attribute("s").as_int();
        }
        for (int j = 0; j < columnCount; ++j) {
            const auto index = static_cast<std::size_t>(j);
            reference.assign(letters[index]);
            reference += rowDigits;
            if (!templateStyles.empty() && templateStyles.count(firstColumn + j) && number != origin.row) {
                CellFormat own = rowFormats[index];
                own.style = own.asText ? styles.textStyle(templateStyles[firstColumn + j]) : templateStyles[firstColumn + j];
                own.dateStyle = -1;
                appendCellXml(buffer, reference, values[index], own, styles);
            } else {
                appendCellXml(buffer, reference, values[index], rowFormats[index], styles);
            }
            lengths_[index] = std::max(lengths_[index], displayLength(values[index]));
        }
        for (const auto& cell : right)
            buffer += nodeText(cell);
        buffer += "</row>";
        if (templateRow)
            dom_->sheetData.remove_child(templateRow);
        if (buffer.size() >= kSpoolChunk) {
            spool->append(buffer);
            buffer.clear();
        }
    };

    int rowNumberNext = origin.row;
    if (header) {
        std::vector<CellValue> captions(static_cast<std::size_t>(columnCount));
        std::vector<CellFormat> headerFormats = formats;
        for (int j = 0; j < columnCount; ++j) {
            const auto index = static_cast<std::size_t>(j);
            if (index < options.captions.size())
                captions[index] = options.captions[index];
            headerFormats[index].style = styles.boldStyle(formats[index].style < 0 ? 0 : formats[index].style);
        }
        emitRow(rowNumberNext++, captions, headerFormats);
    }
    std::size_t written = 0;
    std::vector<CellValue> values(static_cast<std::size_t>(columnCount));
    for (;;) {
        for (auto& value : values)
            value = std::monostate{};
        if (!source(values))
            break;
        emitRow(rowNumberNext++, values, formats);
        ++written;
    }
    spool->append(buffer);
    spool->flush();
    spool_ = std::move(spool);
    block_ = BlockExtent{origin.row, rowNumberNext - 1, firstColumn, lastColumn};

    // The block goes before the first template row below it.
    pugi::xml_node below;
    for (auto row = dom_->sheetData.first_child(); row; row = row.next_sibling())
        if (localName(row) == "row" && rowNumber(row) > block_->lastRow) {
            below = row;
            break;
        }
    if (below)
        dom_->sheetData.insert_child_before(pugi::node_comment, below).set_value(kBlockMarker);
    else
        dom_->sheetData.append_child(pugi::node_comment).set_value(kBlockMarker);

    if (footerRow > origin.row) {
        footerShift_ = RowShift{footerRow, std::max(0, block_->lastRow + 1 - footerRow), 0, 0};
        moveFooter(footer);
    }

    // Keep the recorded dimension covering the data.
    if (auto dimension = childNamed(dom_->root, "dimension"); dimension && block_->lastRow >= block_->firstRow) {
        std::string_view ref = dimension.attribute("ref").value();
        const auto colon = ref.find(':');
        CellRef first{1, 1}, last{1, 1};
        if (parseCellName(ref.substr(0, colon), first)) {
            if (colon == std::string_view::npos || !parseCellName(ref.substr(colon + 1), last))
                last = first;
            first.row = std::min(first.row, block_->firstRow);
            first.column = std::min(first.column, firstColumn);
            last.row = std::max(last.row, block_->lastRow);
            last.column = std::max(last.column, lastColumn);
            dimension.attribute("ref") = (cellName(first) + ":" + cellName(last)).c_str();
        }
    }
    return written;
}

void Worksheet::moveFooter(const pugi::xml_document& footer)
{
    const RowShift& shift = footerShift_;
    // Ranges of footer formulas that lie in the block's template rows end at its last row.
    RowShift formulas = shift;
    formulas.stretchFirst = block_->firstRow;
    formulas.stretchLast = block_->lastRow >= block_->firstRow ? block_->lastRow : 0;
    for (auto row = footer.first_child(); row; row = row.next_sibling()) {
        auto placed = dom_->sheetData.append_copy(row);
        placed.attribute("r") = rowNumber(row) + shift.delta;
        placed.remove_attribute("spans");
        for (auto cell = placed.first_child(); cell; cell = cell.next_sibling()) {
            if (localName(cell) != "c")
                continue;
            CellRef ref;
            if (parseCellName(cell.attribute("r").value(), ref)) {
                ref.row += shift.delta;
                cell.attribute("r") = cellName(ref).c_str();
            }
            if (auto formula = childNamed(cell, "f")) {
                if (auto text = formula.first_child(); text.type() == pugi::node_pcdata)
                    text.set_value(shiftFormulaRows(text.value(), formulas).c_str());
                if (auto ref = formula.attribute("ref"))
                    ref = shiftReferenceRows(ref.value(), shift).c_str();
                // The cached result is stale now.
                if (auto value = childNamed(cell, "v"))
                    cell.remove_child(value);
            }
        }
    }
    if (auto merges = childNamed(dom_->root, "mergeCells"))
        for (auto merge = merges.first_child(); merge; merge = merge.next_sibling())
            if (auto ref = merge.attribute("ref"))
                ref = shiftReferenceRows(ref.value(), shift).c_str();
}

void Worksheet::setColumnWidths(int firstColumn, const std::vector<double>& widths)
{
    auto cols = childNamed(dom_->root, "cols");
    if (!cols)
        cols = dom_->root.insert_child_before("cols", dom_->sheetData);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int column = firstColumn + static_cast<int>(i);
        pugi::xml_node covering;
        pugi::xml_node after;
        for (auto col = cols.first_child(); col; col = col.next_sibling()) {
            if (localName(col) != "col")
                continue;
            if (col.attribute("min").as_int() <= column && column <= col.attribute("max").as_int()) {
                covering = col;
                break;
            }
            if (col.attribute("min").as_int() > column) {
                after = col;
                break;
            }
        }
        if (covering) {
            const int min = covering.attribute("min").as_int();
            const int max = covering.attribute("max").as_int();
            if (min < column)
                cols.insert_copy_before(covering, covering).attribute("max") = column - 1;
            if (max > column)
                cols.insert_copy_after(covering, covering).attribute("min") = column + 1;
        } else {
            covering = after ? cols.insert_child_before("col", after) : cols.append_child("col");
            covering.append_attribute("min");
            covering.append_attribute("max");
        }
        covering.attribute("min") = column;
        covering.attribute("max") = column;
        char width[32];
        const auto end = std::to_chars(width, width + sizeof width, widths[i]).ptr;
        *end = '\0';
        ensureAttribute(covering, "width") = width;
        ensureAttribute(covering, "customWidth") = 1;
    }
}

std::vector<PartPiece> Worksheet::content() const
{
    std::string text = serializeXml(dom_->document);
    std::vector<PartPiece> pieces;
    const std::string marker = std::string("<!--") + kBlockMarker + "-->";
    const auto at = spool_ ? text.find(marker) : std::string::npos;
    if (at == std::string::npos) {
        pieces.emplace_back(std::move(text));
        return pieces;
    }
    pieces.emplace_back(text.substr(0, at));
    pieces.emplace_back(spool_);
    pieces.emplace_back(text.substr(at + marker.size()));
    return pieces;
}

}  // namespace ooxml
