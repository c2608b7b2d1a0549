#include "ooxml/opc.h"

#include "ooxml/error.h"
#include "ooxml/package.h"

#include <pugixml.hpp>

#include <sstream>

namespace ooxml {

std::string relationshipsPartOf(const std::string& part)
{
    const auto slash = part.rfind('/');
    if (slash == std::string::npos)
        return "_rels/" + part + ".rels";
    return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

std::string resolvePartName(const std::string& sourcePart, std::string_view target)
{
    std::vector<std::string> segments;
    if (target.empty() || target.front() != '/') {
        std::string_view folder = sourcePart;
        const auto slash = folder.rfind('/');
        folder = slash == std::string_view::npos ? std::string_view() : folder.substr(0, slash);
        std::size_t start = 0;
        while (start < folder.size()) {
            auto end = folder.find('/', start);
            if (end == std::string_view::npos)
                end = folder.size();
            segments.emplace_back(folder.substr(start, end - start));
            start = end + 1;
        }
    }
    std::size_t start = 0;
    while (start <= target.size()) {
        auto end = target.find('/', start);
        if (end == std::string_view::npos)
            end = target.size();
        const auto segment = target.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.emplace_back(segment);
        }
        start = end + 1;
    }
    std::string name;
    for (const auto& segment : segments) {
        if (!name.empty())
            name += '/';
        name += segment;
    }
    return name;
}

void parseXml(pugi::xml_document& document, const std::string& text, const std::string& damaged)
{
    const auto result = document.load_buffer(text.data(), text.size(),
                                             pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_declaration
                                                 | pugi::parse_ws_pcdata_single | pugi::parse_comments
                                                 | pugi::parse_pi | pugi::parse_doctype,
                                             pugi::encoding_utf8);
    if (!result || !document.document_element())
        throw Error(damaged);
}

std::string serializeXml(const pugi::xml_document& document)
{
    // The part's own declaration node (standalone="yes" matters to some readers) is printed
    // with the document; format_no_declaration only stops pugixml from adding a second one.
    std::ostringstream out;
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

std::string_view localName(const pugi::xml_node& node)
{
    std::string_view name = node.name();
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name)
{
    for (auto child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && localName(child) == name)
            return child;
    return {};
}

std::string_view attributeNamed(const pugi::xml_node& node, std::string_view name)
{
    for (auto attribute = node.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        std::string_view attributeName = attribute.name();
        const auto colon = attributeName.find(':');
        if (colon != std::string_view::npos) {
            if (attributeName.substr(0, colon) == "xmlns")
                continue;
            attributeName = attributeName.substr(colon + 1);
        }
        if (attributeName == name)
            return attribute.value();
    }
    return {};
}

bool relationshipTypeIs(std::string_view type, std::string_view suffix)
{
    return type.size() > suffix.size() && type.substr(type.size() - suffix.size()) == suffix
           && type[type.size() - suffix.size() - 1] == '/';
}

std::vector<Relationship> readRelationships(const Package& package, const std::string& sourcePart)
{
    std::vector<Relationship> relationships;
    const std::string relsPart = relationshipsPartOf(sourcePart);
    if (!package.contains(relsPart))
        return relationships;
    pugi::xml_document document;
    parseXml(document, package.read(relsPart), "Файл повреждён: ошибка в " + relsPart);
    for (auto node = document.document_element().first_child(); node; node = node.next_sibling()) {
        if (localName(node) != "Relationship")
            continue;
        Relationship relationship;
        relationship.id = node.attribute("Id").value();
        relationship.type = node.attribute("Type").value();
        if (std::string_view(node.attribute("TargetMode").value()) != "External")
            relationship.target = resolvePartName(sourcePart, node.attribute("Target").value());
        relationships.push_back(std::move(relationship));
    }
    return relationships;
}

std::string mainPartName(const Package& package)
{
    for (const auto& relationship : readRelationships(package, ""))
        if (relationshipTypeIs(relationship.type, "officeDocument") && !relationship.target.empty())
            return relationship.target;
    return {};
}

namespace {
pugi::xml_node findOverride(const pugi::xml_document& types, const std::string& part)
{
    const std::string partName = "/" + part;
    for (auto node = types.document_element().first_child(); node; node = node.next_sibling())
        if (localName(node) == "Override" && partName == node.attribute("PartName").value())
            return node;
    return {};
}
}  // namespace

std::string overrideContentType(const pugi::xml_document& types, const std::string& part)
{
    return findOverride(types, part).attribute("ContentType").value();
}

void setOverrideContentType(pugi::xml_document& types, const std::string& part, const std::string& type)
{
    auto node = findOverride(types, part);
    if (!node) {
        node = types.document_element().append_child("Override");
        node.append_attribute("PartName") = ("/" + part).c_str();
        node.append_attribute("ContentType");
    }
    node.attribute("ContentType") = type.c_str();
}

void removeOverride(pugi::xml_document& types, const std::string& part)
{
    if (auto node = findOverride(types, part))
        node.parent().remove_child(node);
}

}  // namespace ooxml
