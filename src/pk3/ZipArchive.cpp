#include "pk3/ZipArchive.h"

#include "core/Cp1252.h"
#include "core/TextCase.h"
#include "core/TextFile.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <dlfcn.h>

namespace twl {

namespace {

// libzip is loaded when the first archive is opened or written, not when
// the program starts: the commands and windows that never touch an archive
// do not pay for loading it and the libraries it needs (libcrypto among
// them). These are the functions of it that this file calls.
struct LibZip
{
    decltype(&::zip_close) Close = nullptr;
    decltype(&::zip_discard) Discard = nullptr;
    decltype(&::zip_error_code_zip) ErrorCodeZip = nullptr;
    decltype(&::zip_error_fini) ErrorFini = nullptr;
    decltype(&::zip_error_init) ErrorInit = nullptr;
    decltype(&::zip_error_init_with_code) ErrorInitWithCode = nullptr;
    decltype(&::zip_error_strerror) ErrorStrerror = nullptr;
    decltype(&::zip_fclose) Fclose = nullptr;
    decltype(&::zip_file_add) FileAdd = nullptr;
    decltype(&::zip_file_get_error) FileGetError = nullptr;
    decltype(&::zip_fopen_index) FopenIndex = nullptr;
    decltype(&::zip_fread) Fread = nullptr;
    decltype(&::zip_get_error) GetError = nullptr;
    decltype(&::zip_get_name) GetName = nullptr;
    decltype(&::zip_get_num_entries) GetNumEntries = nullptr;
    decltype(&::zip_open) Open = nullptr;
    decltype(&::zip_open_from_source) OpenFromSource = nullptr;
    decltype(&::zip_set_file_compression) SetFileCompression = nullptr;
    decltype(&::zip_source_buffer) SourceBuffer = nullptr;
    decltype(&::zip_source_buffer_create) SourceBufferCreate = nullptr;
    decltype(&::zip_source_free) SourceFree = nullptr;
    decltype(&::zip_stat_index) StatIndex = nullptr;
    decltype(&::zip_stat_init) StatInit = nullptr;

    std::string LoadError; // empty once every function was found
};

template <typename Function> bool Bind(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

LibZip LoadLibZip()
{
    LibZip zip;
    // The library is never unloaded: it stays for the rest of the run.
    void* library = ::dlopen(TARNWELL_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        zip.LoadError = std::string("libzip could not be loaded: ") +
                        (reason != nullptr ? reason : TARNWELL_LIBZIP_SONAME);
        return zip;
    }
    bool complete =
        Bind(library, "zip_close", zip.Close) && Bind(library, "zip_discard", zip.Discard) &&
        Bind(library, "zip_error_code_zip", zip.ErrorCodeZip) &&
        Bind(library, "zip_error_fini", zip.ErrorFini) &&
        Bind(library, "zip_error_init", zip.ErrorInit) &&
        Bind(library, "zip_error_init_with_code", zip.ErrorInitWithCode) &&
        Bind(library, "zip_error_strerror", zip.ErrorStrerror) &&
        Bind(library, "zip_fclose", zip.Fclose) && Bind(library, "zip_file_add", zip.FileAdd) &&
        Bind(library, "zip_file_get_error", zip.FileGetError) &&
        Bind(library, "zip_fopen_index", zip.FopenIndex) && Bind(library, "zip_fread", zip.Fread) &&
        Bind(library, "zip_get_error", zip.GetError) &&
        Bind(library, "zip_get_name", zip.GetName) &&
        Bind(library, "zip_get_num_entries", zip.GetNumEntries) &&
        Bind(library, "zip_open", zip.Open) &&
        Bind(library, "zip_open_from_source", zip.OpenFromSource) &&
        Bind(library, "zip_set_file_compression", zip.SetFileCompression) &&
        Bind(library, "zip_source_buffer", zip.SourceBuffer) &&
        Bind(library, "zip_source_buffer_create", zip.SourceBufferCreate) &&
        Bind(library, "zip_source_free", zip.SourceFree) &&
        Bind(library, "zip_stat_index", zip.StatIndex) &&
        Bind(library, "zip_stat_init", zip.StatInit);
    if (!complete) {
        const char* reason = ::dlerror();
        zip = LibZip();
        zip.LoadError = std::string("libzip lacks a function this program needs: ") +
                        (reason != nullptr ? reason : TARNWELL_LIBZIP_SONAME);
    }
    return zip;
}

// The library, loaded on the first call (thread-safe, once).
const LibZip& Zip()
{
    static const LibZip zip = LoadLibZip();
    return zip;
}

// Nothing when libzip is there; otherwise why not, as an error of the
// archive at hand.
std::optional<ZipError> LibZipMissing()
{
    const LibZip& zip = Zip();
    if (zip.LoadError.empty()) {
        return std::nullopt;
    }
    return ZipError{ZIP_ER_INTERNAL, zip.LoadError};
}

ZipError ErrorOf(zip_error_t* error)
{
    return ZipError{Zip().ErrorCodeZip(error), Zip().ErrorStrerror(error)};
}

// The length of a stored name, and whether all of it is plain ASCII, in
// one pass over it.
bool IsAsciiName(const char* text, std::size_t& length)
{
    unsigned char high = 0;
    for (length = 0; text[length] != '\0'; ++length) {
        high |= static_cast<unsigned char>(text[length]);
    }
    return (high & 0x80) == 0;
}

// Closes an archive that was opened for writing without writing it, unless
// it was handed on.
struct DiscardOnFailure
{
    zip_t* Archive;

    ~DiscardOnFailure()
    {
        if (Archive != nullptr) {
            Zip().Discard(Archive);
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
    if (std::optional<ZipError> missing = LibZipMissing()) {
        error = *missing;
        return nullptr;
    }
    int code = 0;
    zip_t* archive = Zip().Open(path.c_str(), ZIP_RDONLY, &code);
    if (archive == nullptr) {
        zip_error_t zipError;
        Zip().ErrorInitWithCode(&zipError, code);
        error = ErrorOf(&zipError);
        Zip().ErrorFini(&zipError);
        return nullptr;
    }
    return std::unique_ptr<ZipReader>(new ZipReader(archive));
}

std::unique_ptr<ZipReader>
ZipReader::OpenInMemory(const std::filesystem::path& path, std::uint64_t maxBytes, ZipError& error)
{
    std::error_code sizeError;
    std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (sizeError || size > maxBytes) {
        return Open(path, error);
    }
    if (std::optional<ZipError> missing = LibZipMissing()) {
        error = *missing;
        return nullptr;
    }
    ReadBytesResult read = ReadFileBytes(path, maxBytes);
    if (!read.Result.Ok) {
        return Open(path, error);
    }
    // The bytes live in the reader; libzip reads them where they are.
    std::unique_ptr<ZipReader> reader(new ZipReader(nullptr));
    reader->m_bytes = std::move(read.Bytes);
    zip_error_t zipError;
    Zip().ErrorInit(&zipError);
    zip_source_t* source =
        Zip().SourceBufferCreate(reader->m_bytes.empty() ? nullptr : reader->m_bytes.data(),
                                 reader->m_bytes.size(),
                                 0,
                                 &zipError);
    zip_t* archive =
        source == nullptr ? nullptr : Zip().OpenFromSource(source, ZIP_RDONLY, &zipError);
    if (archive == nullptr) {
        if (source != nullptr) {
            Zip().SourceFree(source);
        }
        error = ErrorOf(&zipError);
        Zip().ErrorFini(&zipError);
        return nullptr;
    }
    Zip().ErrorFini(&zipError);
    reader->m_archive = archive;
    return reader;
}

ZipReader::~ZipReader()
{
    if (m_archive != nullptr) {
        Zip().Discard(m_archive);
    }
}

std::optional<std::string_view> ZipReader::StoredName(std::uint64_t index, const char*& raw) const
{
    raw = Zip().GetName(m_archive, index, ZIP_FL_ENC_RAW);
    if (raw == nullptr) {
        return std::nullopt;
    }
    std::size_t length = 0;
    if (IsAsciiName(raw, length)) {
        return std::string_view(raw, length);
    }
    // Marked UTF-8, libzip hands the strict name back unchanged; otherwise
    // the bytes are in the Windows code page that the game's tools use.
    const char* strict = Zip().GetName(m_archive, index, ZIP_FL_ENC_STRICT);
    if (strict != nullptr && std::string_view(strict) == raw) {
        return std::string_view(raw);
    }
    return std::nullopt;
}

std::optional<std::string> ZipReader::EntryName(std::uint64_t index) const
{
    const char* raw = nullptr;
    if (std::optional<std::string_view> stored = StoredName(index, raw)) {
        return std::string(*stored);
    }
    if (raw == nullptr) {
        return std::nullopt;
    }
    return DecodeCp1252(raw);
}

std::vector<std::string> ZipReader::EntryNames() const
{
    std::deque<std::string> decoded;
    std::vector<std::string_view> views = EntryNameViews(decoded);
    return std::vector<std::string>(views.begin(), views.end());
}

std::vector<std::string_view> ZipReader::EntryNameViews(std::deque<std::string>& decoded) const
{
    zip_int64_t count = Zip().GetNumEntries(m_archive, 0);
    std::vector<std::string_view> names;
    names.reserve(static_cast<std::size_t>(count < 0 ? 0 : count));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = nullptr;
        if (std::optional<std::string_view> stored =
                StoredName(static_cast<std::uint64_t>(i), raw)) {
            names.push_back(*stored);
        } else if (raw != nullptr) {
            decoded.push_back(DecodeCp1252(raw));
            names.push_back(decoded.back());
        }
    }
    return names;
}

std::vector<ZipReader::EntryInfo> ZipReader::EntryInfos() const
{
    zip_int64_t count = Zip().GetNumEntries(m_archive, 0);
    std::vector<EntryInfo> infos;
    for (zip_int64_t i = 0; i < count; ++i) {
        auto index = static_cast<std::uint64_t>(i);
        std::optional<std::string> name = EntryName(index);
        zip_stat_t stat;
        Zip().StatInit(&stat);
        if (!name || Zip().StatIndex(m_archive, index, 0, &stat) != 0) {
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
    return FindEntries({name}).front();
}

std::vector<std::optional<std::uint64_t>>
ZipReader::FindEntries(const std::vector<std::string>& names)
{
    // One pass over the names for all of them, no index: a bot load looks
    // up five entries of an archive that may hold a hundred thousand.
    std::vector<std::string> wanted;
    wanted.reserve(names.size());
    for (const std::string& name : names) {
        wanted.push_back(NormalisedEntryName(name));
    }
    std::vector<std::optional<std::uint64_t>> found(names.size());
    std::size_t left = names.size();
    auto offer = [&](std::uint64_t index, const char* name, std::size_t length, auto equal) {
        for (std::size_t k = 0; k < wanted.size(); ++k) {
            // The first entry of a name wins, as in the game.
            if (!found[k] && wanted[k].size() == length && equal(name, wanted[k])) {
                found[k] = index;
                --left;
            }
        }
    };
    // A plain ASCII name is compared as it stands, folded byte by byte.
    auto foldedEqual = [](const char* name, const std::string& normalised) {
        for (std::size_t at = 0; at < normalised.size(); ++at) {
            char folded = name[at] == '\\' ? '/' : LowerAscii(name[at]);
            if (folded != normalised[at]) {
                return false;
            }
        }
        return true;
    };
    auto sameText = [](const char* name, const std::string& normalised) {
        return normalised.compare(0, normalised.size(), name, normalised.size()) == 0;
    };
    zip_int64_t count = Zip().GetNumEntries(m_archive, 0);
    for (zip_int64_t i = 0; i < count && left > 0; ++i) {
        auto index = static_cast<std::uint64_t>(i);
        const char* raw = Zip().GetName(m_archive, index, ZIP_FL_ENC_RAW);
        if (raw == nullptr) {
            continue;
        }
        std::size_t length = 0;
        if (IsAsciiName(raw, length)) {
            offer(index, raw, length, foldedEqual);
            continue;
        }
        if (std::optional<std::string> entry = EntryName(index)) {
            std::string normalised = NormalisedEntryName(*entry);
            offer(index, normalised.c_str(), normalised.size(), sameText);
        }
    }
    return found;
}

std::optional<std::string>
ZipReader::ReadEntry(std::uint64_t index, std::uint64_t maxSize, ZipError& error)
{
    zip_stat_t stat;
    Zip().StatInit(&stat);
    if (Zip().StatIndex(m_archive, index, 0, &stat) != 0) {
        error = ErrorOf(Zip().GetError(m_archive));
        return std::nullopt;
    }
    if ((stat.valid & ZIP_STAT_SIZE) == 0 || stat.size > maxSize) {
        error = ZipError{ZIP_ER_INCONS, "the entry is larger than a bot file can be"};
        return std::nullopt;
    }
    zip_file_t* file = Zip().FopenIndex(m_archive, index, 0);
    if (file == nullptr) {
        error = ErrorOf(Zip().GetError(m_archive));
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    zip_int64_t read = bytes.empty() ? 0 : Zip().Fread(file, bytes.data(), stat.size);
    // One more byte must not come: a declared size that lies is caught here
    // or by libzip's CRC check at the end of the entry.
    char extra = 0;
    zip_int64_t more = Zip().Fread(file, &extra, 1);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size || more != 0) {
        error = read < 0 || more < 0
                    ? ErrorOf(Zip().FileGetError(file))
                    : ZipError{ZIP_ER_INCONS, "the entry's size does not match its data"};
        Zip().Fclose(file);
        return std::nullopt;
    }
    if (Zip().Fclose(file) != 0) {
        error = ZipError{ZIP_ER_CRC, "CRC error"};
        return std::nullopt;
    }
    return bytes;
}

std::optional<ZipError> WriteZipArchive(const std::filesystem::path& path,
                                        const std::vector<ZipEntry>& entries)
{
    if (std::optional<ZipError> missing = LibZipMissing()) {
        return missing;
    }
    int code = 0;
    zip_t* archive = Zip().Open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        zip_error_t zipError;
        Zip().ErrorInitWithCode(&zipError, code);
        ZipError error = ErrorOf(&zipError);
        Zip().ErrorFini(&zipError);
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
            Zip().SourceBuffer(archive, entry.Bytes.data(), entry.Bytes.size(), 0);
        if (source == nullptr) {
            return ErrorOf(Zip().GetError(archive));
        }
        zip_int64_t index = Zip().FileAdd(archive, name.Bytes.c_str(), source, ZIP_FL_OVERWRITE);
        if (index < 0) {
            Zip().SourceFree(source);
            return ErrorOf(Zip().GetError(archive));
        }
        if (Zip().SetFileCompression(
                archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9) != 0) {
            return ErrorOf(Zip().GetError(archive));
        }
    }
    if (Zip().Close(archive) != 0) {
        return ErrorOf(Zip().GetError(archive));
    }
    guard.Archive = nullptr;
    return std::nullopt;
}

} // namespace twl
