#pragma once
// Writing text into XML by hand (the streamed sheet data does not go through a DOM).

#include <string>
#include <string_view>

namespace ooxml {

// Appends `text` escaped for element content and attribute values. Characters XML cannot
// carry (control characters other than tab, LF, CR) are dropped; bytes that are not valid
// UTF-8 become U+FFFD, so the output is always well-formed.
void appendXmlEscaped(std::string& out, std::string_view text);

// Number of characters (code points) of UTF-8 text.
std::size_t utf8Length(std::string_view text);

// True when the text starts or ends with white space (needs xml:space="preserve").
bool needsSpacePreserve(std::string_view text);

}  // namespace ooxml
