#include "ooxml/style_sheet.h"

#include "ooxml/error.h"
#include "ooxml/opc.h"

#include <pugixml.hpp>

#include <cctype>

namespace ooxml {

NumberFormatKind builtInFormatKind(int id)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58))
        return NumberFormatKind::Date;
    if (id == 22)
        return NumberFormatKind::DateTime;
    if ((id >= 18 && id <= 21) || (id >= 32 && id <= 33) || (id >= 45 && id <= 47))
        return NumberFormatKind::Time;
    return NumberFormatKind::Plain;
}

NumberFormatKind formatCodeKind(std::string_view code)
{
    bool day = false, month = false, year = false, hour = false, second = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(code[i])));
        if (c == ';')
            break;  // only the first section decides
        if (c == '"') {
            const auto end = code.find('"', i + 1);
            if (end == std::string_view::npos)
                break;
            i = end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const auto end = code.find(']', i + 1);
            if (end == std::string_view::npos)
                break;
            const auto inside = code.substr(i + 1, end - i - 1);
            if (!inside.empty() && (inside[0] == 'h' || inside[0] == 'H' || inside[0] == 'm' || inside[0] == 'M'
                                    || inside[0] == 's' || inside[0] == 'S'))
                hour = true;  // elapsed time
            i = end;
        } else if (c == 'd') {
            day = true;
        } else if (c == 'y') {
            year = true;
        } else if (c == 'm') {
            month = true;
        } else if (c == 'h') {
            hour = true;
        } else if (c == 's') {
            second = true;
        }
    }
    const bool date = day || year || (month && !hour && !second);
    const bool time = hour || second;
    if (date && time)
        return NumberFormatKind::DateTime;
    if (date)
        return NumberFormatKind::Date;
    if (time)
        return NumberFormatKind::Time;
    return NumberFormatKind::Plain;
}

struct StyleSheet::Dom {
    pugi::xml_document document;
    pugi::xml_node cellXfs;
    pugi::xml_node fonts;
};

StyleSheet::StyleSheet(const std::string& xml, const std::string& damaged) : dom_(std::make_unique<Dom>())
{
    parseXml(dom_->document, xml, damaged);
    const auto root = dom_->document.document_element();
    if (const auto numFmts = childNamed(root, "numFmts"))
        for (auto node = numFmts.first_child(); node; node = node.next_sibling())
            if (localName(node) == "numFmt")
                customFormats_[node.attribute("numFmtId").as_int(-1)] = formatCodeKind(node.attribute("formatCode").value());
    dom_->fonts = childNamed(root, "fonts");
    dom_->cellXfs = childNamed(root, "cellXfs");
    for (auto node = dom_->cellXfs.first_child(); node; node = node.next_sibling())
        if (localName(node) == "xf")
            formatOfStyle_.push_back(node.attribute("numFmtId").as_int(0));
}

StyleSheet::~StyleSheet() = default;
StyleSheet::StyleSheet(StyleSheet&&) noexcept = default;

int StyleSheet::styleCount() const
{
    return static_cast<int>(formatOfStyle_.size());
}

NumberFormatKind StyleSheet::kindOf(int style) const
{
    if (style < 0 || style >= styleCount())
        return NumberFormatKind::Plain;
    const int id = formatOfStyle_[static_cast<std::size_t>(style)];
    if (const auto custom = customFormats_.find(id); custom != customFormats_.end())
        return custom->second;
    return builtInFormatKind(id);
}

int StyleSheet::dateStyle(int baseStyle)
{
    const auto kind = kindOf(baseStyle);
    if (kind == NumberFormatKind::Date || kind == NumberFormatKind::DateTime)
        return baseStyle;
    return derive(baseStyle, kDateFormatId, false);
}

int StyleSheet::textStyle(int baseStyle)
{
    if (baseStyle >= 0 && baseStyle < styleCount() && formatOfStyle_[static_cast<std::size_t>(baseStyle)] == kTextFormatId)
        return baseStyle;
    return derive(baseStyle, kTextFormatId, false);
}

int StyleSheet::boldStyle(int baseStyle)
{
    return derive(baseStyle, -1, true);
}

int StyleSheet::derive(int baseStyle, int numberFormat, bool bold)
{
    if (baseStyle < 0 || baseStyle >= styleCount())
        baseStyle = 0;
    const std::pair key{baseStyle, bold ? -2 - numberFormat : numberFormat};
    if (const auto it = derived_.find(key); it != derived_.end())
        return it->second;
    if (!dom_->cellXfs)
        throw Error("Файл повреждён: в styles.xml нет cellXfs");
    pugi::xml_node base;
    int index = 0;
    for (auto node = dom_->cellXfs.first_child(); node; node = node.next_sibling())
        if (localName(node) == "xf" && index++ == baseStyle) {
            base = node;
            break;
        }
    pugi::xml_node xf = base ? dom_->cellXfs.append_copy(base) : dom_->cellXfs.append_child("xf");
    if (numberFormat >= 0) {
        (xf.attribute("numFmtId") ? xf.attribute("numFmtId") : xf.append_attribute("numFmtId")) = numberFormat;
        (xf.attribute("applyNumberFormat") ? xf.attribute("applyNumberFormat") : xf.append_attribute("applyNumberFormat")) = 1;
    }
    if (bold && dom_->fonts) {
        const int fontIndex = xf.attribute("fontId").as_int(0);
        int i = 0;
        pugi::xml_node font;
        for (auto node = dom_->fonts.first_child(); node; node = node.next_sibling())
            if (localName(node) == "font" && i++ == fontIndex) {
                font = node;
                break;
            }
        pugi::xml_node boldFont = font ? dom_->fonts.append_copy(font) : dom_->fonts.append_child("font");
        if (!childNamed(boldFont, "b"))
            boldFont.prepend_child("b");
        int fontCount = 0;
        for (auto node = dom_->fonts.first_child(); node; node = node.next_sibling())
            fontCount += localName(node) == "font";
        if (auto count = dom_->fonts.attribute("count"))
            count = fontCount;
        (xf.attribute("fontId") ? xf.attribute("fontId") : xf.append_attribute("fontId")) = fontCount - 1;
        (xf.attribute("applyFont") ? xf.attribute("applyFont") : xf.append_attribute("applyFont")) = 1;
    }
    formatOfStyle_.push_back(numberFormat >= 0 ? numberFormat : formatOfStyle_.empty() ? 0 : formatOfStyle_[static_cast<std::size_t>(baseStyle)]);
    if (auto count = dom_->cellXfs.attribute("count"))
        count = styleCount();
    modified_ = true;
    const int style = styleCount() - 1;
    derived_[key] = style;
    return style;
}

std::string StyleSheet::xml() const
{
    return serializeXml(dom_->document);
}

}  // namespace ooxml
