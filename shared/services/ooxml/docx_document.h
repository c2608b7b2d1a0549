#pragma once
// Filling bookmarks of Word documents (.docx, or .dotx templates saved as documents).
//
//   auto doc = ooxml::DocxDocument::open(templatePath);
//   doc.setBookmark("FIO", "Иванов Иван Иванович");
//   doc.save(docFolder + "/statement.docx");

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ooxml {

class DocxDocument {
public:
    // Throws Error "Файл шаблона не найден: <path>", "Файл не является документом Word: <path>",
    // "Файл повреждён: <path>".
    static DocxDocument open(const std::string& path);

    DocxDocument(DocxDocument&&) noexcept;
    DocxDocument& operator=(DocxDocument&&) noexcept;
    ~DocxDocument();

    bool hasBookmark(std::string_view name) const;
    std::vector<std::string> bookmarkNames() const;
    // Replaces the bookmark's content with `text`: the runs between its start and end become one
    // run with the formatting of the first of them (line breaks and tabs in `text` become Word
    // breaks and tabs). Throws Error "Bookmark <name> not found." when there is no such bookmark.
    void setBookmark(std::string_view name, std::string_view text);

    // Writes the document to `path` atomically (nothing is left there on failure).
    void save(const std::string& path);

private:
    struct Impl;
    explicit DocxDocument(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

}  // namespace ooxml
