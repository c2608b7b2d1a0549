#include "ooxml/temp_file.h"

#include "ooxml/error.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace ooxml {

TempFile::TempFile() : file_(std::tmpfile())
{
    if (!file_)
        throw Error(std::string("Не удалось создать временный файл: ") + std::strerror(errno));
}

TempFile::~TempFile()
{
    std::fclose(file_);
}

void TempFile::append(std::string_view data)
{
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size())
        throw Error(std::string("Не удалось записать временный файл: ") + std::strerror(errno));
    size_ += data.size();
}

void TempFile::flush()
{
    if (std::fflush(file_) != 0)
        throw Error(std::string("Не удалось записать временный файл: ") + std::strerror(errno));
}

std::size_t TempFile::read(std::uint64_t offset, char* data, std::size_t length) const
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fileno(file_), data + done, length - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace ooxml
