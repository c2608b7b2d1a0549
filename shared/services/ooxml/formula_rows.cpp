#include "ooxml/formula_rows.h"

#include "ooxml/column_names.h"

#include <cctype>
#include <charconv>

namespace ooxml {

namespace {

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$'
           || static_cast<unsigned char>(c) >= 0x80;
}

struct Reference {
    std::size_t begin = 0, end = 0;     // text span
    std::size_t digitsBegin = 0;        // where the row number starts
    int row = 0;
};

// A cell reference at `at` ("$C$5", "c5"), not part of a longer name or a function call.
bool referenceAt(std::string_view text, std::size_t at, Reference& ref)
{
    if (at > 0 && isNameChar(text[at - 1]))
        return false;
    std::size_t i = at;
    if (i < text.size() && text[i] == '$')
        ++i;
    std::size_t used = 0;
    if (parseColumnLetters(text.substr(i), &used) == 0 || used > 3)
        return false;
    i += used;
    if (i < text.size() && text[i] == '$')
        ++i;
    const std::size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i == digits || i - digits > 7)
        return false;
    if (i < text.size() && (isNameChar(text[i]) || text[i] == '(' || text[i] == '!'))
        return false;
    ref.begin = at;
    ref.end = i;
    ref.digitsBegin = digits;
    std::from_chars(text.data() + digits, text.data() + i, ref.row);
    return ref.row >= 1;
}

void appendWithRow(std::string& out, std::string_view text, const Reference& ref, int row)
{
    out.append(text.substr(ref.begin, ref.digitsBegin - ref.begin));
    out += std::to_string(row);
}

}  // namespace

std::string shiftFormulaRows(std::string_view text, const RowShift& shift)
{
    std::string out;
    out.reserve(text.size() + 8);
    auto moved = [&](int row) { return row >= shift.fromRow ? row + shift.delta : row; };
    auto inStretch = [&](int row) { return row >= shift.stretchFirst && row < shift.fromRow; };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' || c == '\'') {  // string literal or quoted sheet name: copy as is
            std::size_t end = i + 1;
            while (end < text.size()) {
                if (text[end] == c) {
                    if (end + 1 < text.size() && text[end + 1] == c) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            end = std::min(end + 1, text.size());
            out.append(text.substr(i, end - i));
            i = end;
            continue;
        }
        Reference first;
        if (!referenceAt(text, i, first)) {
            out += c;
            ++i;
            continue;
        }
        Reference second;
        if (first.end < text.size() && text[first.end] == ':' && referenceAt(text, first.end + 1, second)) {
            const bool stretch = shift.stretchLast > 0 && inStretch(first.row) && inStretch(second.row);
            appendWithRow(out, text, first, moved(first.row));
            out += ':';
            appendWithRow(out, text, second, stretch ? shift.stretchLast : moved(second.row));
            i = second.end;
        } else {
            appendWithRow(out, text, first, moved(first.row));
            i = first.end;
        }
    }
    return out;
}

std::string shiftReferenceRows(std::string_view reference, const RowShift& shift)
{
    return shiftFormulaRows(reference, shift);
}

}  // namespace ooxml
