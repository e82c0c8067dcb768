// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twl {

// The numbers of an archive's failures (Failure::Code). They are the numbers
// libzip gives the same
// failures (and the descriptions are its texts), so that the messages keep
// the numbers they have always shown.
enum ZipErrorNumber : int
{
    ZipErrorMultiDisk = 1,       // "Multi-disk zip archives not supported"
    ZipErrorRead = 5,            // "Read error: <reason>"
    ZipErrorWrite = 6,           // "Write error: <reason>"
    ZipErrorCrc = 7,             // "CRC error"
    ZipErrorNoFile = 9,          // "No such file"
    ZipErrorOpen = 11,           // "Can't open file: <reason>"
    ZipErrorZlib = 13,           // "Zlib error: <reason>"
    ZipErrorMethod = 16,         // "Compression method not supported"
    ZipErrorEnd = 17,            // "Premature end of file"
    ZipErrorInvalid = 18,        // "Invalid argument"
    ZipErrorNotZip = 19,         // "Not a zip archive"
    ZipErrorInconsistent = 21,   // "Zip archive inconsistent"
    ZipErrorEncrypted = 24,      // "Encryption method not supported"
    ZipErrorNotSupported = 28,   // "Operation not supported" (not a regular file)
    ZipErrorCompressedData = 31, // "Compressed data invalid"
};

// One open zip archive, read-only, read as the game reads its archives.
//
// The end record is the last one in the file's final 65535 bytes (the game
// looks no further back), so an archive comment and bytes before the archive
// (the offsets of the archive then count from where it starts) are taken as
// the game takes them. A small directory comes with the end record, in
// one read; a larger one is gone through in pieces, so that finding five
// entries or listing the names does not fill memory with a large directory
// (EntryInfos reads it whole, with one read). The file stays open,
// not mapped, while the reader lives, so an archive that is cut short
// meanwhile gives an error, never a crash. Every offset and length is
// checked against the file before it is used.
//
// The entries are the records of the directory in its order, up to the first
// damaged one: the game keeps the entries before it, and so does the reader.
// A directory of more than 65535 entries, which only a zip64 end record can
// describe, is read whole, although the game takes only its first 65535
// entries (EntryInfos tells which entries need zip64, which the game cannot
// read).
//
// Names are taken as stored, up to a NUL byte as the game takes them: in
// UTF-8 when they are marked UTF-8 (and are UTF-8) or are plain ASCII,
// decoded from Windows-1252 otherwise.
//
// A reader is used by one thread at a time: the first walk over the
// directory is kept for the next ones.
class ZipReader
{
public:
    // A failure (its Code one of ZipErrorNumber, its Reason the description)
    // when the file cannot be opened as a zip. An empty file is no zip; an
    // end record alone is an archive without entries (the game skips such a
    // file, which comes to the same).
    static Result<std::unique_ptr<ZipReader>> Open(const std::filesystem::path& path);

    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader();

    // The entry names of the central directory, in its order, in UTF-8.
    std::vector<std::string> EntryNames() const;

    // The same names without a copy where one is not needed: a name stored
    // as it reads is seen where the reader keeps the directory, a decoded
    // one is kept in `decoded`. The views last as long as the reader and
    // `decoded`. One walk over the directory, no allocation per entry but
    // for the decoded names.
    std::vector<std::string_view> EntryNameViews(std::deque<std::string>& decoded) const;

    // How each entry of the central directory is stored, in its order.
    struct EntryInfo
    {
        std::uint64_t Index = 0;
        std::string Name;
        std::uint16_t Method = 0; // 0 stored, 8 deflated, others as the zip format numbers them
        bool Encrypted = false;
        bool Large = false; // a size or an offset that only a zip64 record can hold
    };

    std::vector<EntryInfo> EntryInfos() const;

    // The entry whose name equals `name` without regard to case, "/" and "\"
    // counting alike, as the game looks entries up; of several of that name
    // the last, which is the one the game finds. One pass over the names, no
    // index.
    std::optional<std::uint64_t> FindEntry(const std::string& name);

    // FindEntry of each name, all in the same one pass over the names.
    std::vector<std::optional<std::uint64_t>> FindEntries(const std::vector<std::string>& names);

    // The bytes of the entry at `index` (as FindEntry and EntryInfos number
    // them), read from the file and inflated in memory, when the entry is
    // stored or deflated and not encrypted, its size is at most `maxSize`,
    // its local header agrees with the directory as the game requires, its
    // data lies inside the file and its CRC matches; a failure (as Open's)
    // otherwise.
    Result<std::string> ReadEntry(std::uint64_t index, std::uint64_t maxSize);

private:
    explicit ZipReader(int file)
        : m_file(file)
    {}

    // Calls visit(index, record) for each record of the directory, in its
    // order, up to the first damaged one, with the directory in memory.
    template <typename Visit> void Walk(Visit visit) const;
    // The same without the directory in memory: visit(index, record,
    // offset in the directory), the record valid during the call only.
    template <typename Visit> void WalkPieces(Visit visit) const;
    // Reads the directory whole, when it is not in memory yet; false when
    // it cannot be read (the file was cut short since it was opened).
    bool LoadDirectory() const;
    // The record of entry `index`, in the directory in memory or read into
    // `storage`; nothing when there is no such entry.
    const unsigned char* Record(std::uint64_t index, std::vector<unsigned char>& storage);

    int m_file;
    std::uint64_t m_fileSize = 0;
    // Where the archive starts in the file: the bytes before it, which the
    // offsets of the archive do not count.
    std::uint64_t m_prefix = 0;
    // How many entries the end record declares.
    std::uint64_t m_declared = 0;
    // The directory: where it lies in the file, and its bytes once read.
    std::uint64_t m_directoryStart = 0;
    mutable std::unique_ptr<unsigned char[]> m_directory;
    std::size_t m_directorySize = 0;
    // Entries found without the directory in memory, with a copy of their
    // records, which a read of the entry takes instead of reading them again.
    std::vector<std::pair<std::uint64_t, std::vector<unsigned char>>> m_foundRecords;
    // A listing without the directory in memory: the names, one after
    // another, and where each entry's record lies in the directory.
    mutable std::string m_names;
    mutable std::vector<std::uint32_t> m_recordOffsets;
    // Where each record starts in m_directory, once a walk went through.
    mutable std::vector<std::uint32_t> m_records;
    mutable bool m_walked = false;
};

// A file to put into an archive: its path inside the archive ("/"
// separators) and its bytes.
struct ZipEntry
{
    std::string Name;
    std::string Bytes;
};

// A new zip archive that the game reads, made in memory: each entry
// deflated (stored when deflating would not make it smaller), its name in
// Windows-1252, no zip64. An entry of the same name as an earlier one takes
// its place. A failure (ZipErrorInvalid) when a name cannot be stored or the
// archive would need zip64.
Result<std::string> MakeZipArchive(const std::vector<ZipEntry>& entries);

// The name as the game compares entry names: lower case, "\" as "/".
std::string NormalisedEntryName(const std::string& name);

} // namespace twl
