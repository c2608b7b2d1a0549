#include "ooxml/cell_xml.h"

#include "ooxml/style_sheet.h"
#include "ooxml/xml_text.h"

#include <charconv>
#include <cmath>

namespace ooxml {

namespace {

void appendNumber(std::string& out, double number)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, number);
    out.append(text, result.ptr);
}

void appendInteger(std::string& out, std::int64_t number)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, number);
    out.append(text, result.ptr);
}

void openCell(std::string& out, std::string_view reference, int style)
{
    out += "<c r=\"";
    out += reference;
    out += '"';
    if (style >= 0) {
        out += " s=\"";
        appendInteger(out, style);
        out += '"';
    }
}

void appendInlineString(std::string& out, std::string_view reference, int style, std::string_view text)
{
    openCell(out, reference, style);
    out += needsSpacePreserve(text) ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">" : " t=\"inlineStr\"><is><t>";
    appendXmlEscaped(out, text);
    out += "</t></is></c>";
}

void appendValueCell(std::string& out, std::string_view reference, int style, const char* type)
{
    openCell(out, reference, style);
    if (type) {
        out += " t=\"";
        out += type;
        out += '"';
    }
    out += "><v>";
}

}  // namespace

std::string valueAsText(const CellValue& value)
{
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(double number) const
        {
            std::string text;
            if (std::isfinite(number))
                appendNumber(text, number);
            return text;
        }
        std::string operator()(std::int64_t number) const { return std::to_string(number); }
        std::string operator()(bool flag) const { return flag ? "ИСТИНА" : "ЛОЖЬ"; }
        std::string operator()(const Date& date) const { return formatDate(date); }
        std::string operator()(const DateTime& dateTime) const { return formatDateTime(dateTime); }
    };
    return std::visit(Visitor{}, value);
}

std::size_t displayLength(const CellValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return utf8Length(*text);
    if (std::holds_alternative<Date>(value))
        return 10;
    if (std::holds_alternative<DateTime>(value))
        return 19;
    if (std::holds_alternative<std::monostate>(value))
        return 0;
    return utf8Length(valueAsText(value));
}

void appendCellXml(std::string& out, std::string_view reference, const CellValue& value, CellFormat& format,
                   StyleSheet& styles)
{
    if (format.asText) {
        if (std::holds_alternative<std::monostate>(value)) {
            if (format.style >= 0) {
                openCell(out, reference, format.style);
                out += "/>";
            }
        } else if (const auto* text = std::get_if<std::string>(&value)) {
            appendInlineString(out, reference, format.style, *text);
        } else {
            appendInlineString(out, reference, format.style, valueAsText(value));
        }
        return;
    }
    switch (value.index()) {
    case 0:  // null
        if (format.style >= 0) {
            openCell(out, reference, format.style);
            out += "/>";
        }
        return;
    case 1:
        appendInlineString(out, reference, format.style, std::get<std::string>(value));
        return;
    case 2: {
        const double number = std::get<double>(value);
        if (!std::isfinite(number)) {  // a worksheet cannot hold NaN or infinity
            if (format.style >= 0) {
                openCell(out, reference, format.style);
                out += "/>";
            }
            return;
        }
        appendValueCell(out, reference, format.style, nullptr);
        appendNumber(out, number);
        break;
    }
    case 3:
        appendValueCell(out, reference, format.style, nullptr);
        appendInteger(out, std::get<std::int64_t>(value));
        break;
    case 4:
        appendValueCell(out, reference, format.style, "b");
        out += std::get<bool>(value) ? '1' : '0';
        break;
    case 5:
        if (format.dateStyle < 0)
            format.dateStyle = styles.dateStyle(format.style < 0 ? 0 : format.style);
        appendValueCell(out, reference, format.dateStyle, nullptr);
        appendNumber(out, excelSerial(std::get<Date>(value)));
        break;
    case 6:
        appendInlineString(out, reference, format.style, formatDateTime(std::get<DateTime>(value)));
        return;
    }
    out += "</v></c>";
}

}  // namespace ooxml
