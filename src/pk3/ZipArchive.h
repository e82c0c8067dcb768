#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace twl {

// What went wrong in libzip: its error number and its description.
struct ZipError
{
    int Number = 0;
    std::string Description;
};

// One open zip archive, read-only. The only place that talks to libzip's
// reading side; the archive is closed (discarded) when the object goes.
class ZipReader
{
public:
    // Nothing and `error` set when the file cannot be opened as a zip.
    static std::unique_ptr<ZipReader> Open(const std::filesystem::path& path, ZipError& error);
    // The same, with the whole file read into memory first when it has at
    // most `maxBytes`: reading many entries then costs no seek or read of
    // the file each (a larger file is opened as Open does).
    static std::unique_ptr<ZipReader>
    OpenInMemory(const std::filesystem::path& path, std::uint64_t maxBytes, ZipError& error);

    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader();

    // The entry names of the central directory, in its order, in UTF-8: as
    // stored when the entry is marked UTF-8 (or is plain ASCII), decoded from
    // Windows-1252 otherwise.
    std::vector<std::string> EntryNames() const;

    // The same names without a copy where one is not needed: a name stored
    // as it reads (plain ASCII, or marked UTF-8) is seen where the archive
    // keeps it, a decoded one is kept in `decoded`. The views last as long as
    // the reader and `decoded`.
    std::vector<std::string_view> EntryNameViews(std::deque<std::string>& decoded) const;

    // How each entry of the central directory is stored, in its order.
    struct EntryInfo
    {
        std::uint64_t Index = 0;
        std::string Name;
        std::uint16_t Method = 0; // 0 stored, 8 deflated, others as the zip format numbers them
        bool Encrypted = false;
        bool Large = false; // a size that only a zip64 record can hold
    };

    std::vector<EntryInfo> EntryInfos() const;

    // The entry whose name equals `name` without regard to case, "/" and "\"
    // counting alike (as the game looks entries up); the first of that name.
    // One pass over the names, no index.
    std::optional<std::uint64_t> FindEntry(const std::string& name);

    // FindEntry of each name, all in the same one pass over the names.
    std::vector<std::optional<std::uint64_t>> FindEntries(const std::vector<std::string>& names);

    // The entry's bytes, when its size is at most `maxSize` and it reads
    // back whole and intact.
    std::optional<std::string>
    ReadEntry(std::uint64_t index, std::uint64_t maxSize, ZipError& error);

private:
    explicit ZipReader(zip* archive)
        : m_archive(archive)
    {}

    std::optional<std::string> EntryName(std::uint64_t index) const;
    // The name as it reads when it needs no decoding, else nothing (and
    // `raw` set to the stored bytes, when there are any).
    std::optional<std::string_view> StoredName(std::uint64_t index, const char*& raw) const;

    zip* m_archive;
    std::string m_bytes; // the file, when it was read into memory
};

// A file to put into an archive: its path inside the archive ("/"
// separators) and its bytes.
struct ZipEntry
{
    std::string Name;
    std::string Bytes;
};

// Writes a new zip archive at `path`, every entry deflate-compressed. libzip
// writes to a temporary file and renames it over `path` only when complete,
// so an old archive survives a failed write. Nothing on success.
std::optional<ZipError> WriteZipArchive(const std::filesystem::path& path,
                                        const std::vector<ZipEntry>& entries);

// The name as the game compares entry names: lower case, "\" as "/".
std::string NormalisedEntryName(const std::string& name);

} // namespace twl
