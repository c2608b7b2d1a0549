#include "ooxml/docx_document.h"

#include "ooxml/error.h"
#include "ooxml/opc.h"
#include "ooxml/package.h"

#include <pugixml.hpp>

#include <filesystem>

namespace ooxml {

namespace {

const char* kDocumentMainType = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
const char* kTemplateMainType = "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
const char* kMacroDocumentMainType = "application/vnd.ms-word.document.macroEnabled.main+xml";
const char* kMacroTemplateMainType = "application/vnd.ms-word.template.macroEnabledTemplate.main+xml";

// Element name with the document's prefix for WordprocessingML ("w:r").
std::string wordName(const pugi::xml_node& sample, const char* local)
{
    const std::string_view name = sample.name();
    const auto colon = name.find(':');
    return (colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1))) + local;
}

// Walks the document in order, depth first.
pugi::xml_node nextInOrder(pugi::xml_node node, const pugi::xml_node& root)
{
    if (node.first_child())
        return node.first_child();
    while (node && node != root) {
        if (node.next_sibling())
            return node.next_sibling();
        node = node.parent();
    }
    return {};
}

}  // namespace

struct DocxDocument::Impl {
    std::string path;
    Package package;
    std::string documentPart;
    pugi::xml_document contentTypes;
    pugi::xml_document document;

    explicit Impl(Package p) : package(std::move(p)) {}

    pugi::xml_node findStart(std::string_view name) const
    {
        const auto root = document.document_element();
        for (auto node = root; node; node = nextInOrder(node, root))
            if (node.type() == pugi::node_element && localName(node) == "bookmarkStart"
                && attributeNamed(node, "name") == name)
                return node;
        return {};
    }

    pugi::xml_node findEnd(const pugi::xml_node& start) const
    {
        const std::string_view id = attributeNamed(start, "id");
        const auto root = document.document_element();
        for (auto node = nextInOrder(start, root); node; node = nextInOrder(node, root))
            if (node.type() == pugi::node_element && localName(node) == "bookmarkEnd" && attributeNamed(node, "id") == id)
                return node;
        return {};
    }
};

DocxDocument::DocxDocument(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
DocxDocument::DocxDocument(DocxDocument&&) noexcept = default;
DocxDocument& DocxDocument::operator=(DocxDocument&&) noexcept = default;
DocxDocument::~DocxDocument() = default;

DocxDocument DocxDocument::open(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw Error("Файл шаблона не найден: " + path);
    const std::string notADocument = "Файл не является документом Word: " + path;
    const std::string damaged = "Файл повреждён: " + path;
    auto impl = std::make_unique<Impl>(Package::openFile(path, notADocument));
    impl->path = path;
    impl->documentPart = mainPartName(impl->package);
    if (impl->documentPart.empty() || !impl->package.contains(impl->documentPart)
        || !impl->package.contains(kContentTypesPart))
        throw Error(notADocument);
    parseXml(impl->contentTypes, impl->package.read(kContentTypesPart), damaged);
    if (overrideContentType(impl->contentTypes, impl->documentPart).find("wordprocessingml") == std::string::npos
        && overrideContentType(impl->contentTypes, impl->documentPart).find("ms-word") == std::string::npos)
        throw Error(notADocument);
    parseXml(impl->document, impl->package.read(impl->documentPart), damaged);
    return DocxDocument(std::move(impl));
}

bool DocxDocument::hasBookmark(std::string_view name) const
{
    return static_cast<bool>(d->findStart(name));
}

std::vector<std::string> DocxDocument::bookmarkNames() const
{
    std::vector<std::string> names;
    const auto root = d->document.document_element();
    for (auto node = root; node; node = nextInOrder(node, root))
        if (node.type() == pugi::node_element && localName(node) == "bookmarkStart")
            names.emplace_back(attributeNamed(node, "name"));
    return names;
}

void DocxDocument::setBookmark(std::string_view name, std::string_view text)
{
    const auto start = d->findStart(name);
    if (!start)
        throw Error("Bookmark " + std::string(name) + " not found.");
    const auto end = d->findEnd(start);
    if (!end)
        throw Error("Файл повреждён: у закладки " + std::string(name) + " нет конца");

    // Collect what lies between start and end: within one paragraph these are its siblings;
    // a bookmark spanning paragraphs loses the content up to its end paragraph's end mark.
    pugi::xml_node formatSource;
    std::vector<pugi::xml_node> doomed;
    auto collect = [&](pugi::xml_node node) {
        if (!formatSource && localName(node) == "r")
            formatSource = node;
        const auto ln = localName(node);
        if (ln == "r" || ln == "hyperlink" || ln == "smartTag" || ln == "fldSimple" || ln == "ins" || ln == "p"
            || ln == "proofErr")
            doomed.push_back(node);
    };
    if (start.parent() == end.parent()) {
        for (auto node = start.next_sibling(); node && node != end; node = node.next_sibling())
            collect(node);
    } else {
        for (auto node = start.next_sibling(); node; node = node.next_sibling())
            collect(node);
        for (auto node = start.parent().next_sibling(); node && !(node == end.parent()); node = node.next_sibling()) {
            bool holdsEnd = false;
            for (auto inner = node; inner; inner = nextInOrder(inner, node))
                if (inner == end) {
                    holdsEnd = true;
                    break;
                }
            if (holdsEnd)
                break;
            collect(node);
        }
        for (auto node = end.previous_sibling(); node; node = node.previous_sibling())
            collect(node);
    }
    if (!formatSource)  // an empty bookmark: take the formatting of the run before it
        for (auto node = start.previous_sibling(); node; node = node.previous_sibling())
            if (localName(node) == "r") {
                formatSource = node;
                break;
            }

    pugi::xml_node run = start.parent().insert_child_after(wordName(start, "r").c_str(), start);
    if (formatSource)
        if (const auto properties = childNamed(formatSource, "rPr"))
            run.append_copy(properties);
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t stop = text.find_first_of("\r\n\t", from);
        const auto piece = text.substr(from, stop == std::string_view::npos ? std::string_view::npos : stop - from);
        if (!piece.empty()) {
            auto t = run.append_child(wordName(start, "t").c_str());
            t.append_attribute("xml:space") = "preserve";
            t.text().set(std::string(piece).c_str());
        }
        if (stop == std::string_view::npos)
            break;
        from = stop + 1;
        if (text[stop] == '\t') {
            run.append_child(wordName(start, "tab").c_str());
        } else {
            run.append_child(wordName(start, "br").c_str());
            if (text[stop] == '\r' && from < text.size() && text[from] == '\n')
                ++from;
        }
    }
    for (auto node : doomed)
        node.parent().remove_child(node);
}

void DocxDocument::save(const std::string& path)
{
    const std::string type = overrideContentType(d->contentTypes, d->documentPart);
    if (type == kTemplateMainType)
        setOverrideContentType(d->contentTypes, d->documentPart, kDocumentMainType);
    else if (type == kMacroTemplateMainType)
        setOverrideContentType(d->contentTypes, d->documentPart, kMacroDocumentMainType);
    d->package.write(kContentTypesPart, serializeXml(d->contentTypes));
    d->package.write(d->documentPart, serializeXml(d->document));
    d->package.save(path);
}

}  // namespace ooxml
