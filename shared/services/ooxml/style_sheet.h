#pragma once
// The cell styles of a workbook (xl/styles.xml): which styles show dates, and styles derived
// from a template cell's style with another number format (dates, text "@").

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ooxml {

enum class NumberFormatKind { Plain, Date, DateTime, Time };

// Kind of a number format, by built-in id or by format code ("dd.mm.yyyy", "h:mm", ...).
NumberFormatKind builtInFormatKind(int id);
NumberFormatKind formatCodeKind(std::string_view code);

inline constexpr int kDateFormatId = 14;  // short date in the user's locale
inline constexpr int kTextFormatId = 49;  // "@"

class StyleSheet {
public:
    // Throws Error(damaged) when the XML is malformed.
    StyleSheet(const std::string& xml, const std::string& damaged);
    ~StyleSheet();
    StyleSheet(StyleSheet&&) noexcept;

    NumberFormatKind kindOf(int style) const;
    int styleCount() const;

    // A style equal to `baseStyle` (fonts, borders, fills) but showing dates: `baseStyle` itself
    // when it already shows dates.
    int dateStyle(int baseStyle);
    // The same, with the text number format "@".
    int textStyle(int baseStyle);
    // Bold variant of a style (header rows of new workbooks).
    int boldStyle(int baseStyle);

    bool modified() const { return modified_; }
    std::string xml() const;

private:
    int derive(int baseStyle, int numberFormat, bool bold);
    struct Dom;
    std::unique_ptr<Dom> dom_;
    std::vector<int> formatOfStyle_;
    std::map<int, NumberFormatKind> customFormats_;
    std::map<std::pair<int, int>, int> derived_;
    bool modified_ = false;
};

}  // namespace ooxml
