#pragma once
// An Open Packaging Conventions container (the zip of an .xlsx or .docx) opened for editing.
//
// Parts are read on demand; changed parts are kept until save(), which writes a fresh archive:
// unchanged entries are copied compressed as they are (byte for byte), changed ones are
// deflated anew. libzip writes the archive to a temporary file in the target's folder and
// renames it over the target only when everything was written, so a failed save never leaves
// a half-written file behind.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ooxml {

class TempFile;

// Content of a part written piece by piece at save time (text, then spooled data, ...).
using PartPiece = std::variant<std::string, std::shared_ptr<TempFile>>;

class Package {
public:
    // Open an existing package. `notAPackage` is the message thrown when the bytes are not a zip.
    static Package openFile(const std::string& path, const std::string& notAPackage);
    static Package openMemory(std::string bytes, const std::string& notAPackage);
    static Package create();

    Package(Package&&) noexcept;
    Package& operator=(Package&&) noexcept;
    ~Package();

    bool contains(const std::string& part) const;
    // Current content of a part. Throws Error when it is missing or cannot be read.
    std::string read(const std::string& part) const;
    std::vector<std::string> partNames() const;

    // Deflate levels: 1 is fastest; 6 is the usual default.
    void write(const std::string& part, std::string content, int level = 6);
    void writePieces(const std::string& part, std::vector<PartPiece> pieces, int level);
    void remove(const std::string& part);

    void save(const std::string& path) const;

    // Largest part size the engine agrees to inflate (guards against zip bombs).
    static constexpr std::uint64_t kMaxPartSize = 512ull << 20;

private:
    struct Impl;
    explicit Package(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

// True when the bytes start like a zip archive / like an OLE compound file (legacy .xls/.doc,
// and also password-protected OOXML).
bool looksLikeZip(std::string_view head);
bool looksLikeOle(std::string_view head);
// First bytes of a file ("" when it cannot be read).
std::string fileHead(const std::string& path, std::size_t count = 8);

}  // namespace ooxml
