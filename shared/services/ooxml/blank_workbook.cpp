// The package of a new, empty workbook: one sheet, default styles.

#include "ooxml/package.h"
#include "ooxml/xml_text.h"

namespace ooxml {

Package blankWorkbookPackage(const std::string& sheetName)
{
    Package package = Package::create();
    package.write("[Content_Types].xml",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  "\n"
                  R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
                  R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
                  R"(<Default Extension="xml" ContentType="application/xml"/>)"
                  R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
                  R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
                  R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
                  R"(</Types>)");
    package.write("_rels/.rels",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  "\n"
                  R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                  R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
                  R"(</Relationships>)");
    std::string workbook =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        "\n"
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<bookViews><workbookView/></bookViews><sheets><sheet name=")";
    appendXmlEscaped(workbook, sheetName);
    workbook += R"(" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    package.write("xl/workbook.xml", std::move(workbook));
    package.write("xl/_rels/workbook.xml.rels",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  "\n"
                  R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                  R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
                  R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
                  R"(</Relationships>)");
    package.write("xl/styles.xml",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  "\n"
                  R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
                  R"(<fonts count="1"><font><sz val="11"/><name val="Calibri"/><family val="2"/><charset val="204"/></font></fonts>)"
                  R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
                  R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
                  R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
                  R"(<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
                  R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
                  R"(</styleSheet>)");
    package.write("xl/worksheets/sheet1.xml",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  "\n"
                  R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
                  R"(<sheetViews><sheetView workbookViewId="0"/></sheetViews><sheetFormatPr defaultRowHeight="15"/>)"
                  R"(<sheetData/><pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>)"
                  R"(</worksheet>)");
    return package;
}

}  // namespace ooxml
