#include "ooxml/xml_text.h"

namespace ooxml {

namespace {

// Length of the valid UTF-8 sequence at the start of `s`, or 0.
std::size_t validSequenceLength(const unsigned char* s, std::size_t available)
{
    const unsigned char c = s[0];
    std::size_t length;
    unsigned minimum;
    unsigned code;
    if (c >= 0xC2 && c <= 0xDF) { length = 2; code = c & 0x1F; minimum = 0x80; }
    else if (c >= 0xE0 && c <= 0xEF) { length = 3; code = c & 0x0F; minimum = 0x800; }
    else if (c >= 0xF0 && c <= 0xF4) { length = 4; code = c & 0x07; minimum = 0x10000; }
    else return 0;
    if (available < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (s[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    if (code == 0xFFFE || code == 0xFFFF)
        return 0;
    return length;
}

}  // namespace

void appendXmlEscaped(std::string& out, std::string_view text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t plainStart = 0;
    auto flush = [&](std::size_t end) {
        out.append(text.data() + plainStart, end - plainStart);
    };
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c >= 0x20 && c < 0x80 && c != '<' && c != '>' && c != '&' && c != '"') {
            ++i;
            continue;
        }
        if (c >= 0x80) {
            const std::size_t length = validSequenceLength(s + i, n - i);
            if (length > 0) {
                i += length;
                continue;
            }
            flush(i);
            out += "\xEF\xBF\xBD";
            plainStart = ++i;
            continue;
        }
        flush(i);
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default: break;  // other control characters cannot appear in XML 1.0
        }
        plainStart = ++i;
    }
    flush(n);
}

std::size_t utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

bool needsSpacePreserve(std::string_view text)
{
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    return !text.empty() && (isSpace(text.front()) || isSpace(text.back()));
}

}  // namespace ooxml
