// Word bookmarks: the text replaces the bookmark's runs within its paragraph.

#include "fixtures.h"

#include "ooxml/docx_document.h"
#include "ooxml/error.h"
#include "ooxml/package.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace ooxml {
namespace {

using test::TempDir;

// A document whose bookmark "FIO" spans three runs (as Word splits text), an empty bookmark
// "DATE" after a bold run, and text around them that must stay.
void makeDocument(const std::string& path, bool dotx)
{
    Package package = Package::create();
    package.write("[Content_Types].xml",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
                  R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
                  R"(<Default Extension="xml" ContentType="application/xml"/>)"
                  R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.)"
                  + std::string(dotx ? "template" : "document") + R"(.main+xml"/></Types>)");
    package.write("_rels/.rels",
                  R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                  R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
                  R"(</Relationships>)");
    package.write("word/document.xml",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
                  R"(<w:p><w:r><w:t xml:space="preserve">Заявитель: </w:t></w:r>)"
                  R"(<w:bookmarkStart w:id="0" w:name="FIO"/>)"
                  R"(<w:r><w:rPr><w:i/></w:rPr><w:t>Фамилия</w:t></w:r><w:proofErr w:type="spellStart"/>)"
                  R"(<w:r><w:t xml:space="preserve"> Имя</w:t></w:r><w:r><w:t> Отчество</w:t></w:r>)"
                  R"(<w:bookmarkEnd w:id="0"/><w:r><w:t>, ученик</w:t></w:r></w:p>)"
                  R"(<w:p><w:r><w:rPr><w:b/></w:rPr><w:t xml:space="preserve">Дата: </w:t></w:r>)"
                  R"(<w:bookmarkStart w:id="1" w:name="DATE"/><w:bookmarkEnd w:id="1"/></w:p>)"
                  R"(</w:body></w:document>)");
    package.save(path);
}

std::vector<std::string> paragraphTexts(const std::string& documentXml)
{
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(documentXml.c_str()));
    std::vector<std::string> texts;
    for (const auto& p : document.select_nodes("//w:p")) {
        std::string text;
        auto pieces = p.node().select_nodes(".//w:t|.//w:br");
        pieces.sort();
        for (const auto& t : pieces)
            text += std::string_view(t.node().name()) == "w:br" ? std::string("\n") : std::string(t.node().text().get());
        texts.push_back(text);
    }
    return texts;
}

TEST(DocxDocument, BookmarksAreReplacedWithinTheirParagraph)
{
    TempDir dir;
    for (const bool dotx : {false, true}) {
        const std::string path = dir.file(dotx ? "form.dotx" : "form.docx");
        makeDocument(path, dotx);
        auto document = DocxDocument::open(path);
        EXPECT_TRUE(document.hasBookmark("FIO"));
        document.setBookmark("FIO", "Иванов Иван Иванович");
        document.setBookmark("DATE", "01.02.2023\nподпись");
        const std::string result = dir.file("filled.docx");
        document.save(result);

        const std::string xml = test::readPart(result, "word/document.xml");
        EXPECT_EQ(paragraphTexts(xml), (std::vector<std::string>{"Заявитель: Иванов Иван Иванович, ученик",
                                                                  "Дата: 01.02.2023\nподпись"}));
        pugi::xml_document parsed;
        parsed.load_string(xml.c_str());
        // One run with the first run's formatting; the bookmark itself stays.
        const auto run = parsed.select_node("//w:bookmarkStart[@w:name='FIO']/following-sibling::w:r[1]").node();
        EXPECT_TRUE(run.child("w:rPr").child("w:i"));
        EXPECT_STREQ(run.child("w:t").text().get(), "Иванов Иван Иванович");
        EXPECT_TRUE(run.next_sibling().name() == std::string("w:bookmarkEnd"));
        // The empty bookmark took the formatting of the run before it.
        EXPECT_TRUE(parsed.select_node("//w:bookmarkStart[@w:name='DATE']/following-sibling::w:r[1]/w:rPr/w:b"));
        const std::string types = test::readPart(result, "[Content_Types].xml");
        EXPECT_NE(types.find("wordprocessingml.document.main+xml"), std::string::npos);
    }
}

TEST(DocxDocument, MissingBookmarkMessage)
{
    TempDir dir;
    const std::string path = dir.file("form.docx");
    makeDocument(path, false);
    auto document = DocxDocument::open(path);
    EXPECT_FALSE(document.hasBookmark("Address"));
    try {
        document.setBookmark("Address", "x");
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Bookmark Address not found.");
    }
}

}  // namespace
}  // namespace ooxml
