#pragma once
// Test fixtures made on the fly: template workbooks (libxlsxwriter), legacy .xls files (a small
// BIFF8 writer), and helpers to look inside produced packages.

#include "ooxml/cell_value.h"

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace ooxml::test {

// A fresh folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct TemplateShape {
    bool nameOrg = true;       // Parametrs!$B$2 named "Name_org"
    bool dataBeg = true;       // Data!$C$5 named "DataBeg"
    bool totals = true;        // Data!C6 = SUM(C5:C5), named "DataTotals", and a footer line below
    bool printArea = false;    // print area Data!$A$1:$F$6
    bool autofit = false;      // the "__autofit" name
    bool xltx = false;         // saved with the template content type
    std::string extraName;     // a name and its reference, e.g. "Broken" -> "=Missing!$A$1"
    std::string extraReference;
};

// A report template as a person would make it: sheet "Parametrs" (captions in column A, values
// in column B), sheet "Data" with a title, a header row 4, a styled first data row 5.
void makeTemplate(const std::string& path, const TemplateShape& shape = {});

// Content of one part of a package on disk.
std::string readPart(const std::string& packagePath, const std::string& part);
std::vector<std::string> partNames(const std::string& packagePath);

// Legacy .xls (BIFF8 in an OLE compound file), first sheet only.
using XlsCell = std::variant<std::monostate, double, std::string, Date>;
struct XlsShape {
    std::vector<std::vector<XlsCell>> rows;
    bool obfuscated = false;  // carries a FILEPASS record (password-protected)
};
std::string makeXls(const XlsShape& shape);
// An OLE compound file with one stream of the given name (e.g. "EncryptionInfo").
std::string makeOleFile(const std::string& streamName, const std::string& content);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

}  // namespace ooxml::test
