#include "ooxml/package.h"

#include "ooxml/error.h"
#include "ooxml/temp_file.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>

namespace ooxml {

namespace {

std::string zipMessage(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Replacement content of a part.
struct NewContent {
    std::vector<PartPiece> pieces;
    int level = 6;
};

// Feeds a part made of pieces to libzip while it compresses (no copy of the whole part).
class PieceSource {
public:
    explicit PieceSource(const std::vector<PartPiece>& pieces) : pieces_(pieces)
    {
        zip_error_init(&error_);
        for (const auto& piece : pieces_)
            total_ += std::holds_alternative<std::string>(piece)
                          ? std::get<std::string>(piece).size()
                          : std::get<std::shared_ptr<TempFile>>(piece)->size();
    }
    ~PieceSource() { zip_error_fini(&error_); }

    static zip_int64_t callback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        return static_cast<PieceSource*>(state)->handle(data, length, command);
    }

private:
    zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_OPEN:
            index_ = 0;
            offset_ = 0;
            return 0;
        case ZIP_SOURCE_READ:
            return readInto(static_cast<char*>(data), length);
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* st = static_cast<zip_stat_t*>(data);
            zip_stat_init(st);
            st->size = total_;
            st->mtime = std::time(nullptr);
            st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&error_, data, length);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                  ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                  static_cast<zip_source_cmd_t>(-1));
        default:
            zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
            return -1;
        }
    }

    zip_int64_t readInto(char* data, zip_uint64_t length)
    {
        zip_uint64_t done = 0;
        while (done < length && index_ < pieces_.size()) {
            const auto& piece = pieces_[index_];
            std::size_t got;
            std::uint64_t pieceSize;
            const auto want = static_cast<std::size_t>(length - done);
            if (const auto* text = std::get_if<std::string>(&piece)) {
                pieceSize = text->size();
                got = static_cast<std::size_t>(std::min<std::uint64_t>(want, pieceSize - offset_));
                std::memcpy(data + done, text->data() + offset_, got);
            } else {
                const auto& file = std::get<std::shared_ptr<TempFile>>(piece);
                pieceSize = file->size();
                got = file->read(offset_, data + done,
                                 static_cast<std::size_t>(std::min<std::uint64_t>(want, pieceSize - offset_)));
                if (got == 0 && offset_ < pieceSize) {
                    zip_error_set(&error_, ZIP_ER_READ, errno);
                    return -1;
                }
            }
            done += got;
            offset_ += got;
            if (offset_ >= pieceSize) {
                ++index_;
                offset_ = 0;
            }
        }
        return static_cast<zip_int64_t>(done);
    }

    const std::vector<PartPiece>& pieces_;
    zip_error_t error_;
    std::uint64_t total_ = 0;
    std::size_t index_ = 0;
    std::uint64_t offset_ = 0;
};

}  // namespace

struct Package::Impl {
    std::string memory;  // the archive bytes when opened from memory
    zip_t* source = nullptr;
    std::vector<std::string> order;  // part names in archive order, new parts at the end
    std::map<std::string, zip_uint64_t> original;
    std::map<std::string, NewContent> changed;

    ~Impl()
    {
        if (source)
            zip_discard(source);
    }

    void index(const std::string& notAPackage)
    {
        const zip_int64_t count = zip_get_num_entries(source, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* name = zip_get_name(source, static_cast<zip_uint64_t>(i), 0);
            if (!name)
                throw Error(notAPackage);
            if (original.emplace(name, static_cast<zip_uint64_t>(i)).second)
                order.emplace_back(name);
        }
    }
};

Package::Package(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Package::Package(Package&&) noexcept = default;
Package& Package::operator=(Package&&) noexcept = default;
Package::~Package() = default;

Package Package::openFile(const std::string& path, const std::string& notAPackage)
{
    if (!looksLikeZip(fileHead(path)))
        throw Error(notAPackage);
    auto impl = std::make_unique<Impl>();
    int code = 0;
    impl->source = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!impl->source)
        throw Error(notAPackage);
    impl->index(notAPackage);
    return Package(std::move(impl));
}

Package Package::openMemory(std::string bytes, const std::string& notAPackage)
{
    if (!looksLikeZip(bytes))
        throw Error(notAPackage);
    auto impl = std::make_unique<Impl>();
    impl->memory = std::move(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(impl->memory.data(), impl->memory.size(), 0, &error);
    if (buffer) {
        impl->source = zip_open_from_source(buffer, ZIP_RDONLY, &error);
        if (!impl->source)
            zip_source_free(buffer);
    }
    zip_error_fini(&error);
    if (!impl->source)
        throw Error(notAPackage);
    impl->index(notAPackage);
    return Package(std::move(impl));
}

Package Package::create()
{
    return Package(std::make_unique<Impl>());
}

bool Package::contains(const std::string& part) const
{
    return d->changed.count(part) > 0 || d->original.count(part) > 0;
}

std::vector<std::string> Package::partNames() const
{
    std::vector<std::string> names;
    for (const auto& name : d->order)
        if (contains(name))
            names.push_back(name);
    return names;
}

std::string Package::read(const std::string& part) const
{
    if (auto it = d->changed.find(part); it != d->changed.end()) {
        std::string text;
        for (const auto& piece : it->second.pieces) {
            if (const auto* chunk = std::get_if<std::string>(&piece)) {
                text += *chunk;
            } else {
                const auto& file = std::get<std::shared_ptr<TempFile>>(piece);
                const std::size_t start = text.size();
                text.resize(start + file->size());
                file->read(0, text.data() + start, file->size());
            }
        }
        return text;
    }
    const auto it = d->original.find(part);
    if (it == d->original.end())
        throw Error("В файле нет части " + part);
    const std::string damaged = "Файл повреждён: не удаётся прочитать " + part;
    zip_stat_t st;
    if (zip_stat_index(d->source, it->second, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        throw Error(damaged);
    if (st.size > kMaxPartSize)
        throw Error("Файл повреждён или слишком велик: " + part);
    zip_file_t* file = zip_fopen_index(d->source, it->second, 0);
    if (!file)
        throw Error(damaged);
    std::string content(static_cast<std::size_t>(st.size), '\0');
    zip_uint64_t done = 0;
    while (done < st.size) {
        const zip_int64_t got = zip_fread(file, content.data() + done, st.size - done);
        if (got <= 0)
            break;
        done += static_cast<zip_uint64_t>(got);
    }
    // A short read, or a CRC mismatch reported on the final read, both mean damage.
    char extra;
    const bool overlong = done == st.size && zip_fread(file, &extra, 1) > 0;
    zip_fclose(file);
    if (done != st.size || overlong)
        throw Error(damaged);
    return content;
}

void Package::write(const std::string& part, std::string content, int level)
{
    std::vector<PartPiece> pieces;
    pieces.emplace_back(std::move(content));
    writePieces(part, std::move(pieces), level);
}

void Package::writePieces(const std::string& part, std::vector<PartPiece> pieces, int level)
{
    if (!contains(part) && std::find(d->order.begin(), d->order.end(), part) == d->order.end())
        d->order.push_back(part);
    d->changed[part] = NewContent{std::move(pieces), level};
}

void Package::remove(const std::string& part)
{
    d->changed.erase(part);
    d->original.erase(part);
}

void Package::save(const std::string& path) const
{
    auto failed = [&](const std::string& reason) {
        return Error("Не удалось сохранить файл " + path + ": " + reason);
    };
    int code = 0;
    zip_t* target = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!target)
        throw failed(zipMessage(code));
    std::vector<std::unique_ptr<PieceSource>> sources;  // must outlive zip_close
    try {
        for (const auto& name : d->order) {
            zip_source_t* source = nullptr;
            int level = 0;
            if (auto it = d->changed.find(name); it != d->changed.end()) {
                sources.push_back(std::make_unique<PieceSource>(it->second.pieces));
                source = zip_source_function(target, &PieceSource::callback, sources.back().get());
                level = it->second.level;
            } else if (auto orig = d->original.find(name); orig != d->original.end()) {
                source = zip_source_zip(target, d->source, orig->second, ZIP_FL_COMPRESSED, 0, -1);
            } else {
                continue;  // removed
            }
            if (!source)
                throw failed(zip_strerror(target));
            const zip_int64_t index = zip_file_add(target, name.c_str(), source, ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(source);
                throw failed(zip_strerror(target));
            }
            if (level > 0
                && zip_set_file_compression(target, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                            static_cast<zip_uint32_t>(level)) != 0)
                throw failed(zip_strerror(target));
        }
        if (zip_close(target) != 0)
            throw failed(zip_strerror(target));
    } catch (...) {
        zip_discard(target);
        throw;
    }
}

bool looksLikeZip(std::string_view head)
{
    return head.size() >= 4 && head.substr(0, 4) == std::string_view("PK\x03\x04", 4);
}

bool looksLikeOle(std::string_view head)
{
    return head.size() >= 8 && head.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

std::string fileHead(const std::string& path, std::size_t count)
{
    std::ifstream in(path, std::ios::binary);
    std::string head(count, '\0');
    in.read(head.data(), static_cast<std::streamsize>(count));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

}  // namespace ooxml
