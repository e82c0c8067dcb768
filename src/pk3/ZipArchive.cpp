#include "pk3/ZipArchive.h"

#include "core/Cp1252.h"
#include "core/TextCase.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>

namespace twl {

namespace {

ZipError ErrorOf(zip_error_t* error)
{
    return ZipError{zip_error_code_zip(error), zip_error_strerror(error)};
}

bool IsAscii(const char* text)
{
    for (const char* c = text; *c != '\0'; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Closes an archive that was opened for writing without writing it, unless
// it was handed on.
struct DiscardOnFailure
{
    zip_t* Archive;

    ~DiscardOnFailure()
    {
        if (Archive != nullptr) {
            zip_discard(Archive);
        }
    }
};

} // namespace

std::string NormalisedEntryName(const std::string& name)
{
    std::string normalised = LowerCase(name);
    std::replace(normalised.begin(), normalised.end(), '\\', '/');
    return normalised;
}

std::unique_ptr<ZipReader> ZipReader::Open(const std::filesystem::path& path, ZipError& error)
{
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        error = ErrorOf(&zipError);
        zip_error_fini(&zipError);
        return nullptr;
    }
    return std::unique_ptr<ZipReader>(new ZipReader(archive));
}

ZipReader::~ZipReader()
{
    zip_discard(m_archive);
}

std::optional<std::string> ZipReader::EntryName(std::uint64_t index) const
{
    const char* raw = zip_get_name(m_archive, index, ZIP_FL_ENC_RAW);
    if (raw == nullptr) {
        return std::nullopt;
    }
    if (IsAscii(raw)) {
        return std::string(raw);
    }
    // Marked UTF-8, libzip hands the strict name back unchanged; otherwise
    // the bytes are in the Windows code page that the game's tools use.
    const char* strict = zip_get_name(m_archive, index, ZIP_FL_ENC_STRICT);
    if (strict != nullptr && std::string(strict) == raw) {
        return std::string(raw);
    }
    return DecodeCp1252(raw);
}

std::vector<std::string> ZipReader::EntryNames() const
{
    zip_int64_t count = zip_get_num_entries(m_archive, 0);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count < 0 ? 0 : count));
    for (zip_int64_t i = 0; i < count; ++i) {
        if (std::optional<std::string> name = EntryName(static_cast<std::uint64_t>(i))) {
            names.push_back(std::move(*name));
        }
    }
    return names;
}

std::vector<ZipReader::EntryInfo> ZipReader::EntryInfos() const
{
    zip_int64_t count = zip_get_num_entries(m_archive, 0);
    std::vector<EntryInfo> infos;
    for (zip_int64_t i = 0; i < count; ++i) {
        auto index = static_cast<std::uint64_t>(i);
        std::optional<std::string> name = EntryName(index);
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (!name || zip_stat_index(m_archive, index, 0, &stat) != 0) {
            continue;
        }
        EntryInfo info;
        info.Index = index;
        info.Name = std::move(*name);
        info.Method = static_cast<std::uint16_t>(stat.comp_method);
        info.Encrypted =
            (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE;
        info.Large = stat.size >= 0xFFFFFFFFu || stat.comp_size >= 0xFFFFFFFFu;
        infos.push_back(std::move(info));
    }
    return infos;
}

std::optional<std::uint64_t> ZipReader::FindEntry(const std::string& name)
{
    // One pass over the names, no index: a bot load looks up five entries
    // of an archive that may hold thousands.
    const std::string wanted = NormalisedEntryName(name);
    auto fold = [](char c) {
        if (c >= 'A' && c <= 'Z') {
            return static_cast<char>(c - 'A' + 'a');
        }
        return c == '\\' ? '/' : c;
    };
    zip_int64_t count = zip_get_num_entries(m_archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        std::uint64_t index = static_cast<std::uint64_t>(i);
        const char* raw = zip_get_name(m_archive, index, ZIP_FL_ENC_RAW);
        if (raw == nullptr) {
            continue;
        }
        if (IsAscii(raw)) {
            std::size_t at = 0;
            while (at < wanted.size() && raw[at] != 0 && fold(raw[at]) == wanted[at]) {
                ++at;
            }
            if (at == wanted.size() && raw[at] == 0) {
                return index; // the first entry of a name wins, as in the game
            }
            continue;
        }
        std::optional<std::string> entry = EntryName(index);
        if (entry && NormalisedEntryName(*entry) == wanted) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<std::string>
ZipReader::ReadEntry(std::uint64_t index, std::uint64_t maxSize, ZipError& error)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, index, 0, &stat) != 0) {
        error = ErrorOf(zip_get_error(m_archive));
        return std::nullopt;
    }
    if ((stat.valid & ZIP_STAT_SIZE) == 0 || stat.size > maxSize) {
        error = ZipError{ZIP_ER_INCONS, "the entry is larger than a bot file can be"};
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(m_archive, index, 0);
    if (file == nullptr) {
        error = ErrorOf(zip_get_error(m_archive));
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    zip_int64_t read = bytes.empty() ? 0 : zip_fread(file, bytes.data(), stat.size);
    // One more byte must not come: a declared size that lies is caught here
    // or by libzip's CRC check at the end of the entry.
    char extra = 0;
    zip_int64_t more = zip_fread(file, &extra, 1);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size || more != 0) {
        error = read < 0 || more < 0
                    ? ErrorOf(zip_file_get_error(file))
                    : ZipError{ZIP_ER_INCONS, "the entry's size does not match its data"};
        zip_fclose(file);
        return std::nullopt;
    }
    if (zip_fclose(file) != 0) {
        error = ZipError{ZIP_ER_CRC, "CRC error"};
        return std::nullopt;
    }
    return bytes;
}

std::optional<ZipError> WriteZipArchive(const std::filesystem::path& path,
                                        const std::vector<ZipEntry>& entries)
{
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        ZipError error = ErrorOf(&zipError);
        zip_error_fini(&zipError);
        return error;
    }
    DiscardOnFailure guard{archive};
    for (const ZipEntry& entry : entries) {
        EncodeResult name = EncodeCp1252(entry.Name);
        if (name.Error) {
            return ZipError{ZIP_ER_INVAL, *name.Error};
        }
        // libzip keeps the bytes' address until the archive is written.
        zip_source_t* source =
            zip_source_buffer(archive, entry.Bytes.data(), entry.Bytes.size(), 0);
        if (source == nullptr) {
            return ErrorOf(zip_get_error(archive));
        }
        zip_int64_t index = zip_file_add(archive, name.Bytes.c_str(), source, ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return ErrorOf(zip_get_error(archive));
        }
        if (zip_set_file_compression(
                archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9) != 0) {
            return ErrorOf(zip_get_error(archive));
        }
    }
    if (zip_close(archive) != 0) {
        return ErrorOf(zip_get_error(archive));
    }
    guard.Archive = nullptr;
    return std::nullopt;
}

} // namespace twl
