#pragma once
// An anonymous temporary file (removed by the system when closed): spools streamed sheet
// data so that big blocks never sit in memory.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace ooxml {

class TempFile {
public:
    TempFile();
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void append(std::string_view data);
    // Makes everything appended readable through read().
    void flush();
    std::uint64_t size() const { return size_; }
    // Reads up to `length` bytes at `offset`; returns the count read (0 at the end).
    std::size_t read(std::uint64_t offset, char* data, std::size_t length) const;

private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

}  // namespace ooxml
