#pragma once
// Open Packaging Conventions details shared by workbooks and documents: relationships,
// part names, content types.

#include <string>
#include <string_view>
#include <vector>

namespace pugi { class xml_document; class xml_node; }

namespace ooxml {

class Package;

struct Relationship {
    std::string id;
    std::string type;    // full type URI
    std::string target;  // part name resolved against the source part; "" for external targets
};

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for "" (the package).
std::string relationshipsPartOf(const std::string& part);
// Resolves a relationship target ("worksheets/sheet1.xml", "../media/a.png", "/xl/x.xml")
// against the folder of `sourcePart`. The result has no leading slash.
std::string resolvePartName(const std::string& sourcePart, std::string_view target);

// Relationships of a part (empty when it has none). Throws Error when the rels part is damaged.
std::vector<Relationship> readRelationships(const Package& package, const std::string& sourcePart);
// True when `type` ends with "/<suffix>" (transitional and strict namespaces alike).
bool relationshipTypeIs(std::string_view type, std::string_view suffix);
// The main part of the package (the workbook or the document), "" when there is none.
std::string mainPartName(const Package& package);

// Parses XML text (a part). Throws Error(damaged) on malformed XML.
void parseXml(pugi::xml_document& document, const std::string& text, const std::string& damaged);
// Serialises a document as its part content, without reformatting.
std::string serializeXml(const pugi::xml_document& document);

// Local name of an element (without a namespace prefix).
std::string_view localName(const pugi::xml_node& node);
// First child element with the given local name.
pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name);
// Value of the attribute with the given local name (any prefix), "" when missing.
std::string_view attributeNamed(const pugi::xml_node& node, std::string_view name);

// Content types ([Content_Types].xml) edits.
inline constexpr const char* kContentTypesPart = "[Content_Types].xml";
// The Override content type of a part ("" when none).
std::string overrideContentType(const pugi::xml_document& types, const std::string& part);
void setOverrideContentType(pugi::xml_document& types, const std::string& part, const std::string& type);
void removeOverride(pugi::xml_document& types, const std::string& part);

}  // namespace ooxml
