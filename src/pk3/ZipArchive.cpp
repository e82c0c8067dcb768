// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/ZipArchive.h"

#include "core/Cp1252.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "core/Utf8.h"

#define ZLIB_CONST
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <zlib.h>

namespace twl {

namespace {

// The records of the zip format, by their signatures and fixed sizes.
constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::size_t EndSize = 22;
constexpr std::uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr std::size_t Zip64LocatorSize = 20;
constexpr std::uint32_t Zip64EndSignature = 0x06064b50;
constexpr std::size_t Zip64EndSize = 56;
constexpr std::uint32_t CentralSignature = 0x02014b50;
constexpr std::size_t CentralSize = 46;
constexpr std::uint32_t LocalSignature = 0x04034b50;
constexpr std::size_t LocalSize = 30;

constexpr std::uint16_t FlagEncrypted = 0x0001;
constexpr std::uint16_t FlagDataDescriptor = 0x0008;
constexpr std::uint16_t FlagUtf8 = 0x0800;
constexpr std::uint16_t MethodStored = 0;
constexpr std::uint16_t MethodDeflated = 8;
constexpr std::uint32_t Saturated32 = 0xFFFFFFFFu;

// The game looks for the end record in the last 65535 bytes of the file.
constexpr std::uint64_t EndSearchWindow = 0xFFFF;
// Nearly every archive ends with its end record: the first read takes this
// much of the file's end, the whole search window only when it must.
constexpr std::uint64_t FirstTailRead = 4096;
// No game archive's directory comes near this; a larger one is refused
// rather than read into memory.
constexpr std::uint64_t MaxDirectorySize = 256 * 1024 * 1024;
// A lookup reads a directory that is not in memory in pieces of this size
// through one buffer: a hundred thousand entries' directory (8 MiB) read
// whole into fresh memory costs more in page faults than the lookup itself.
constexpr std::size_t LookupPieceSize = 64 * 1024;

std::uint16_t Get16(const unsigned char* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t Get32(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

std::uint64_t Get64(const unsigned char* at)
{
    return static_cast<std::uint64_t>(Get32(at)) |
           (static_cast<std::uint64_t>(Get32(at + 4)) << 32);
}

std::string ErrnoText(int number)
{
    return std::system_category().message(number);
}

// An archive's failure: one of ZipErrorNumber and its description.
Failure ZipFailure(int number, std::string description)
{
    return Failure{{}, std::move(description), number};
}

Failure Inconsistent()
{
    return ZipFailure(ZipErrorInconsistent, "Zip archive inconsistent");
}

// Reads `size` bytes at `offset` of the file; a failure unless all of them came.
Result<> ReadAt(int file, unsigned char* buffer, std::size_t size, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        ssize_t got = ::pread(file, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return ZipFailure(ZipErrorRead, "Read error: " + ErrnoText(errno));
        }
        if (got == 0) {
            return ZipFailure(ZipErrorEnd, "Premature end of file");
        }
        done += static_cast<std::size_t>(got);
    }
    return {};
}

// A record of the central directory, its fields as the format places them.
struct CentralRecord
{
    const unsigned char* At;

    std::uint16_t Flags() const { return Get16(At + 8); }

    std::uint16_t Method() const { return Get16(At + 10); }

    std::uint32_t Crc() const { return Get32(At + 16); }

    std::uint16_t NameLength() const { return Get16(At + 28); }

    std::uint16_t ExtraLength() const { return Get16(At + 30); }

    std::size_t Length() const
    {
        return CentralSize + NameLength() + ExtraLength() + Get16(At + 32);
    }

    // The name as the game takes it: up to a NUL byte.
    std::string_view RawName() const
    {
        const char* name = reinterpret_cast<const char*>(At + CentralSize);
        const void* nul = std::memchr(name, '\0', NameLength());
        return std::string_view(name,
                                nul != nullptr
                                    ? static_cast<std::size_t>(static_cast<const char*>(nul) - name)
                                    : NameLength());
    }

    bool NeedsZip64() const
    {
        return Get32(At + 20) == Saturated32 || Get32(At + 24) == Saturated32 ||
               Get32(At + 42) == Saturated32;
    }
};

// Sizes and where the local header is: from the record, or, for a field
// the record leaves at its maximum, from its zip64 extra field.
struct EntryPlace
{
    std::uint64_t CompressedSize;
    std::uint64_t Size;
    std::uint64_t LocalOffset;
};

EntryPlace PlaceOf(const CentralRecord& record)
{
    EntryPlace place{Get32(record.At + 20), Get32(record.At + 24), Get32(record.At + 42)};
    if (!record.NeedsZip64()) {
        return place;
    }
    const unsigned char* extra = record.At + CentralSize + record.NameLength();
    std::size_t length = record.ExtraLength();
    for (std::size_t at = 0; at + 4 <= length;) {
        std::uint16_t id = Get16(extra + at);
        std::size_t size = Get16(extra + at + 2);
        if (size > length - at - 4) {
            break;
        }
        if (id == 0x0001) {
            // Only the fields the record leaves at their maximum are here,
            // in this order.
            const unsigned char* field = extra + at + 4;
            const unsigned char* end = field + size;
            for (std::uint64_t* value : {&place.Size, &place.CompressedSize, &place.LocalOffset}) {
                if (*value == Saturated32 && end - field >= 8) {
                    *value = Get64(field);
                    field += 8;
                }
            }
            break;
        }
        at += 4 + size;
    }
    return place;
}

// Eight bytes at a time: every name of a directory is looked at.
bool IsAscii(std::string_view text)
{
    std::uint64_t high = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        high |= word;
    }
    for (; at < text.size(); ++at) {
        high |= static_cast<unsigned char>(text[at]);
    }
    return (high & 0x8080808080808080u) == 0;
}

bool IsUtf8(std::string_view text)
{
    std::string copy(text);
    for (std::size_t at = 0; at < copy.size();) {
        if (!DecodeUtf8(copy, at)) {
            return false;
        }
    }
    return true;
}

// Whether the stored name reads as it is, in UTF-8.
bool ReadsAsStored(std::string_view raw, std::uint16_t flags)
{
    return IsAscii(raw) || ((flags & FlagUtf8) != 0 && IsUtf8(raw));
}

std::string NameOf(const CentralRecord& record)
{
    std::string_view raw = record.RawName();
    if (ReadsAsStored(raw, record.Flags())) {
        return std::string(raw);
    }
    return DecodeCp1252(std::string(raw));
}

// Whether an ASCII name equals `normalised` (NormalisedEntryName of a name)
// as the game compares them.
bool FoldedEqual(std::string_view name, const std::string& normalised)
{
    if (name.size() != normalised.size()) {
        return false;
    }
    // From the end: the names of one folder differ there, not in the folder.
    for (std::size_t at = name.size(); at-- > 0;) {
        char folded = name[at] == '\\' ? '/' : LowerAscii(name[at]);
        if (folded != normalised[at]) {
            return false;
        }
    }
    return true;
}

// The last end-record signature in the bytes, as a position in them.
std::optional<std::size_t> LastEndSignature(const unsigned char* bytes, std::size_t size)
{
    for (std::size_t at = size; at >= 4; --at) {
        if (Get32(bytes + at - 4) == EndSignature) {
            return at - 4;
        }
    }
    return std::nullopt;
}

// The central directory as the end record (or the zip64 end record it
// points to) describes it.
struct DirectoryPlace
{
    std::uint64_t Entries = 0;
    std::uint64_t Size = 0;
    std::uint64_t Offset = 0;
    std::uint64_t End = 0; // where the directory ends in the file
};

} // namespace

std::string NormalisedEntryName(const std::string& name)
{
    std::string normalised = LowerCase(name);
    std::replace(normalised.begin(), normalised.end(), '\\', '/');
    return normalised;
}

Result<std::unique_ptr<ZipReader>> ZipReader::Open(const std::filesystem::path& path)
{
    // Not blocking: a FIFO named like an archive is refused below instead of
    // waiting for a writer.
    int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) {
        return errno == ENOENT ? ZipFailure(ZipErrorNoFile, "No such file")
                               : ZipFailure(ZipErrorOpen, "Can't open file: " + ErrnoText(errno));
    }
    std::unique_ptr<ZipReader> reader(new ZipReader(file));
    struct stat status = {};
    if (::fstat(file, &status) != 0) {
        return ZipFailure(ZipErrorOpen, "Can't open file: " + ErrnoText(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return ZipFailure(ZipErrorNotSupported, "Operation not supported");
    }
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);
    reader->m_fileSize = fileSize;
    if (fileSize < EndSize) {
        return ZipFailure(ZipErrorNotZip, "Not a zip archive");
    }

    // The file's end, where the end record is.
    const std::uint64_t window = std::min(fileSize, EndSearchWindow);
    std::size_t tailSize = static_cast<std::size_t>(std::min(window, FirstTailRead));
    std::unique_ptr<unsigned char[]> tail(new unsigned char[static_cast<std::size_t>(window)]);
    if (Result<> read = ReadAt(file, tail.get(), tailSize, fileSize - tailSize); !read) {
        return read.Error();
    }
    std::optional<std::size_t> found = LastEndSignature(tail.get(), tailSize);
    if (!found && tailSize < window) {
        tailSize = static_cast<std::size_t>(window);
        if (Result<> read = ReadAt(file, tail.get(), tailSize, fileSize - tailSize); !read) {
            return read.Error();
        }
        found = LastEndSignature(tail.get(), tailSize);
    }
    const std::uint64_t tailStart = fileSize - tailSize;
    if (!found || *found + EndSize > tailSize) {
        return ZipFailure(ZipErrorNotZip, "Not a zip archive");
    }
    const unsigned char* end = tail.get() + *found;
    const std::uint64_t endPosition = tailStart + *found;
    if (Get16(end + 4) != 0 || Get16(end + 6) != 0) {
        return ZipFailure(ZipErrorMultiDisk, "Multi-disk zip archives not supported");
    }
    if (Get16(end + 8) != Get16(end + 10)) {
        return Inconsistent();
    }
    DirectoryPlace directory{Get16(end + 10), Get32(end + 12), Get32(end + 16), endPosition};

    // Some bytes of the file (in the tail when they lie there, else read).
    std::array<unsigned char, Zip64EndSize> record{};
    auto bytesAt = [&](std::uint64_t position, std::size_t size) -> const unsigned char* {
        if (position >= tailStart && position + size <= fileSize) {
            return tail.get() + (position - tailStart);
        }
        if (position + size > fileSize || !ReadAt(file, record.data(), size, position)) {
            return nullptr;
        }
        return record.data();
    };
    // A zip64 end record, found through its locator just before the end
    // record, describes a directory that the end record cannot.
    if (endPosition >= Zip64LocatorSize) {
        const std::uint64_t locatorPosition = endPosition - Zip64LocatorSize;
        const unsigned char* locator = bytesAt(locatorPosition, Zip64LocatorSize);
        if (locator != nullptr && Get32(locator) == Zip64LocatorSignature) {
            const std::uint64_t zip64Position = Get64(locator + 8);
            const unsigned char* zip64 = Get32(locator + 4) == 0 &&
                                                 locatorPosition >= Zip64EndSize &&
                                                 zip64Position <= locatorPosition - Zip64EndSize
                                             ? bytesAt(zip64Position, Zip64EndSize)
                                             : nullptr;
            if (zip64 == nullptr || Get32(zip64) != Zip64EndSignature) {
                return Inconsistent();
            }
            if (Get32(zip64 + 16) != 0 || Get32(zip64 + 20) != 0) {
                return ZipFailure(ZipErrorMultiDisk, "Multi-disk zip archives not supported");
            }
            if (Get64(zip64 + 24) != Get64(zip64 + 32)) {
                return Inconsistent();
            }
            directory = DirectoryPlace{
                Get64(zip64 + 32), Get64(zip64 + 40), Get64(zip64 + 48), zip64Position};
        }
    }
    // The directory ends where the end record starts; what lies before the
    // place the offsets give it came before the archive.
    if (directory.Size > directory.End || directory.Offset > directory.End - directory.Size) {
        return Inconsistent();
    }
    if (directory.Size > MaxDirectorySize) {
        return ZipFailure(ZipErrorInconsistent, "the archive's directory is too large");
    }
    reader->m_prefix = directory.End - directory.Size - directory.Offset;
    reader->m_declared = directory.Entries;
    reader->m_directorySize = static_cast<std::size_t>(directory.Size);
    reader->m_directoryStart = directory.End - directory.Size;
    // A directory that came with the end record is kept; a larger one is
    // read when a listing needs it whole.
    if (reader->m_directoryStart >= tailStart) {
        reader->m_directory.reset(
            new unsigned char[std::max<std::size_t>(1, reader->m_directorySize)]);
        std::memcpy(reader->m_directory.get(),
                    tail.get() + (reader->m_directoryStart - tailStart),
                    reader->m_directorySize);
    }
    return reader;
}

bool ZipReader::LoadDirectory() const
{
    if (m_directory) {
        return true;
    }
    std::unique_ptr<unsigned char[]> directory(
        new unsigned char[std::max<std::size_t>(1, m_directorySize)]);
    if (!ReadAt(m_file, directory.get(), m_directorySize, m_directoryStart)) {
        return false; // cut short since it was opened: no entries
    }
    m_directory = std::move(directory);
    return true;
}

ZipReader::~ZipReader()
{
    ::close(m_file);
}

template <typename Visit> void ZipReader::Walk(Visit visit) const
{
    if (!LoadDirectory()) {
        return;
    }
    const unsigned char* directory = m_directory.get();
    if (m_walked) {
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            visit(std::uint64_t{i}, CentralRecord{directory + m_records[i]});
        }
        return;
    }
    m_records.clear();
    m_records.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(m_declared, m_directorySize / CentralSize)));
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < m_declared; ++i) {
        if (m_directorySize - at < CentralSize || Get32(directory + at) != CentralSignature) {
            break;
        }
        CentralRecord record{directory + at};
        std::size_t length = record.Length();
        if (length > m_directorySize - at) {
            break;
        }
        m_records.push_back(static_cast<std::uint32_t>(at));
        visit(i, record);
        at += length;
    }
    m_walked = true;
}

template <typename Visit> void ZipReader::WalkPieces(Visit visit) const
{
    std::vector<unsigned char> buffer(std::min(m_directorySize, LookupPieceSize));
    std::size_t base = 0;   // where in the directory the buffer starts
    std::size_t filled = 0; // how much of the buffer holds directory bytes
    std::size_t at = 0;     // the next record, in the buffer
    // True when `size` bytes from `at` are in the buffer, read in as needed.
    auto have = [&](std::size_t size) {
        if (filled - at >= size) {
            return true;
        }
        if (size > m_directorySize - (base + at)) {
            return false;
        }
        std::memmove(buffer.data(), buffer.data() + at, filled - at);
        base += at;
        filled -= at;
        at = 0;
        buffer.resize(std::max(buffer.size(), size));
        std::size_t more = std::min(buffer.size() - filled, m_directorySize - (base + filled));
        if (!ReadAt(m_file, buffer.data() + filled, more, m_directoryStart + base + filled)) {
            return false;
        }
        filled += more;
        return filled - at >= size;
    };
    for (std::uint64_t i = 0; i < m_declared; ++i) {
        if (!have(CentralSize) || Get32(buffer.data() + at) != CentralSignature ||
            !have(CentralRecord{buffer.data() + at}.Length())) {
            break;
        }
        CentralRecord record{buffer.data() + at};
        visit(i, record, base + at);
        at += record.Length();
    }
}

std::vector<std::string> ZipReader::EntryNames() const
{
    std::deque<std::string> decoded;
    std::vector<std::string_view> views = EntryNameViews(decoded);
    return std::vector<std::string>(views.begin(), views.end());
}

std::vector<std::string_view> ZipReader::EntryNameViews(std::deque<std::string>& decoded) const
{
    std::vector<std::string_view> names;
    names.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(m_declared, m_directorySize / CentralSize)));
    if (!m_directory && m_recordOffsets.empty()) {
        // Not in memory: read in pieces, the names (less than half of a
        // directory) kept one after another, and where each record lies.
        // The room is reserved at once, so the names never move; a second
        // listing reads the directory whole instead.
        m_names.reserve(m_directorySize);
        std::vector<std::pair<std::size_t, std::size_t>> kept; // where in m_names, how long
        WalkPieces([&](std::uint64_t, CentralRecord record, std::size_t offset) {
            m_recordOffsets.push_back(static_cast<std::uint32_t>(offset));
            std::string_view raw = record.RawName();
            if (ReadsAsStored(raw, record.Flags())) {
                kept.emplace_back(m_names.size(), raw.size());
                m_names.append(raw);
            } else {
                decoded.push_back(DecodeCp1252(std::string(raw)));
                kept.emplace_back(std::string::npos, decoded.size() - 1);
            }
        });
        for (const auto& [at, length] : kept) {
            names.push_back(at == std::string::npos ? std::string_view(decoded[length])
                                                    : std::string_view(m_names).substr(at, length));
        }
        return names;
    }
    Walk([&](std::uint64_t, CentralRecord record) {
        std::string_view raw = record.RawName();
        if (ReadsAsStored(raw, record.Flags())) {
            names.push_back(raw);
        } else {
            decoded.push_back(DecodeCp1252(std::string(raw)));
            names.push_back(decoded.back());
        }
    });
    return names;
}

std::vector<ZipReader::EntryInfo> ZipReader::EntryInfos() const
{
    std::vector<EntryInfo> infos;
    Walk([&](std::uint64_t index, CentralRecord record) {
        EntryInfo info;
        info.Index = index;
        info.Name = NameOf(record);
        info.Method = record.Method();
        info.Encrypted = (record.Flags() & FlagEncrypted) != 0;
        info.Large = record.NeedsZip64();
        infos.push_back(std::move(info));
    });
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
    // up five entries of an archive that may hold a hundred thousand. A
    // directory no larger than one piece is read whole at once (the same one
    // read): the lookups and reads after it then read nothing more of it.
    if (!m_directory && m_recordOffsets.empty() && m_directorySize <= LookupPieceSize) {
        LoadDirectory();
    }
    std::vector<std::string> wanted;
    wanted.reserve(names.size());
    bool wantsOtherLetters = false;
    for (const std::string& name : names) {
        wanted.push_back(NormalisedEntryName(name));
        wantsOtherLetters = wantsOtherLetters || !IsAscii(wanted.back());
    }
    std::vector<std::optional<std::uint64_t>> found(names.size());
    // The records found, copied while a walk in pieces holds them.
    std::vector<std::vector<unsigned char>> records(m_directory ? 0 : names.size());
    auto keep = [&](std::size_t k, std::uint64_t index, CentralRecord record) {
        found[k] = index;
        if (!records.empty()) {
            records[k].assign(record.At, record.At + record.Length());
        }
    };
    // Of several entries of a name the game finds the last.
    // The lengths of the names; a name holding a NUL byte equals no entry's
    // name (the game cuts those at their first NUL), and gets a length no
    // name has.
    std::vector<std::size_t> sizes(wanted.size());
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        sizes[k] = wanted[k].find('\0') == std::string::npos
                       ? wanted[k].size()
                       : std::numeric_limits<std::size_t>::max();
    }
    auto offer = [&](std::uint64_t index, CentralRecord record, std::size_t = 0) {
        if (wantsOtherLetters) {
            std::string_view raw = record.RawName();
            // A name that is not plain ASCII never equals a plain ASCII one:
            // only then is it decoded and compared as a whole.
            if (!IsAscii(raw)) {
                std::string normalised = NormalisedEntryName(NameOf(record));
                for (std::size_t k = 0; k < wanted.size(); ++k) {
                    if (wanted[k] == normalised) {
                        keep(k, index, record);
                    }
                }
                return;
            }
        }
        // The name as the game takes it ends at its first NUL: it has a
        // wanted name's length when it is stored that long, or is longer
        // with a NUL just there (one before would not compare equal). So
        // most names are passed over on their stored length alone, without
        // looking for a NUL in them.
        const char* name = reinterpret_cast<const char*>(record.At + CentralSize);
        const std::size_t stored = record.NameLength();
        for (std::size_t k = 0; k < wanted.size(); ++k) {
            const std::size_t size = sizes[k];
            if ((stored == size || (stored > size && name[size] == '\0')) &&
                FoldedEqual(std::string_view(name, size), wanted[k])) {
                keep(k, index, record);
            }
        }
    };
    if (m_directory) {
        Walk(offer);
        return found;
    }
    // Not in memory: read in pieces, and the found records are kept for
    // reading their entries.
    WalkPieces(offer);
    for (std::size_t k = 0; k < found.size(); ++k) {
        if (found[k]) {
            m_foundRecords.emplace_back(*found[k], std::move(records[k]));
        }
    }
    return found;
}

const unsigned char* ZipReader::Record(std::uint64_t index, std::vector<unsigned char>& storage)
{
    std::optional<std::size_t> known;
    if (!m_directory) {
        for (auto found = m_foundRecords.rbegin(); found != m_foundRecords.rend(); ++found) {
            if (found->first == index) {
                return found->second.data();
            }
        }
        if (index < m_recordOffsets.size()) {
            known = m_recordOffsets[static_cast<std::size_t>(index)];
        }
    }
    if (known) {
        const std::size_t offset = *known;
        // Read again as the walk found it: whole inside the directory.
        storage.resize(CentralSize);
        if (!ReadAt(m_file, storage.data(), CentralSize, m_directoryStart + offset)) {
            return nullptr;
        }
        const std::size_t length = CentralRecord{storage.data()}.Length();
        if (Get32(storage.data()) != CentralSignature || length > m_directorySize - offset) {
            return nullptr;
        }
        storage.resize(length);
        if (!ReadAt(m_file, storage.data(), length, m_directoryStart + offset)) {
            return nullptr;
        }
        return storage.data();
    }
    if (!m_walked) {
        Walk([](std::uint64_t, CentralRecord) {});
    }
    if (index >= m_records.size()) {
        return nullptr;
    }
    return m_directory.get() + m_records[static_cast<std::size_t>(index)];
}

Result<std::string> ZipReader::ReadEntry(std::uint64_t index, std::uint64_t maxSize)
{
    std::vector<unsigned char> storage;
    const unsigned char* recordBytes = Record(index, storage);
    if (recordBytes == nullptr) {
        return ZipFailure(ZipErrorInvalid, "Invalid argument");
    }
    const CentralRecord record{recordBytes};
    if ((record.Flags() & FlagEncrypted) != 0) {
        return ZipFailure(ZipErrorEncrypted, "Encryption method not supported");
    }
    const std::uint16_t method = record.Method();
    if (method != MethodStored && method != MethodDeflated) {
        return ZipFailure(ZipErrorMethod, "Compression method not supported");
    }
    const EntryPlace place = PlaceOf(record);
    if (place.Size > maxSize || place.Size >= Saturated32) {
        return ZipFailure(ZipErrorInconsistent, "the entry is larger than a bot file can be");
    }
    const std::uint64_t size = place.Size;

    // The local header must agree with the directory, as the game requires.
    std::array<unsigned char, LocalSize> local{};
    if (place.LocalOffset > m_fileSize || m_prefix + place.LocalOffset + LocalSize > m_fileSize) {
        return Inconsistent();
    }
    const std::uint64_t localPosition = m_prefix + place.LocalOffset;
    if (Result<> read = ReadAt(m_file, local.data(), LocalSize, localPosition); !read) {
        return read.Error();
    }
    const bool sizesFollow = (Get16(local.data() + 6) & FlagDataDescriptor) != 0;
    auto agrees = [&](std::size_t at, std::uint32_t central) {
        return sizesFollow || central == Saturated32 || Get32(local.data() + at) == central;
    };
    if (Get32(local.data()) != LocalSignature || Get16(local.data() + 8) != method ||
        Get16(local.data() + 26) != record.NameLength() ||
        !(sizesFollow || Get32(local.data() + 14) == record.Crc()) ||
        !agrees(18, Get32(record.At + 20)) || !agrees(22, Get32(record.At + 24))) {
        return Inconsistent();
    }
    const std::uint64_t dataPosition =
        localPosition + LocalSize + Get16(local.data() + 26) + Get16(local.data() + 28);
    if (dataPosition > m_fileSize || place.CompressedSize > m_fileSize - dataPosition) {
        return Inconsistent();
    }

    std::string bytes(static_cast<std::size_t>(size), '\0');
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    if (method == MethodStored) {
        if (place.CompressedSize != size) {
            return ZipFailure(ZipErrorInconsistent, "the entry's size does not match its data");
        }
        if (Result<> read = ReadAt(m_file, out, static_cast<std::size_t>(size), dataPosition);
            !read) {
            return read.Error();
        }
    } else {
        // Inflated from the file a piece at a time: the compressed size may
        // lie, the declared size caps what is made. Once that much is made,
        // one byte more must not come.
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            return ZipFailure(ZipErrorZlib, "Zlib error: cannot start inflating");
        }
        std::unique_ptr<unsigned char[]> input(new unsigned char[65536]);
        std::uint64_t position = dataPosition;
        std::uint64_t left = place.CompressedSize;
        unsigned char probe = 0;
        bool probing = false;
        bool overrun = false;
        std::optional<Failure> failed;
        stream.next_out = out;
        stream.avail_out = static_cast<uInt>(size);
        while (!failed) {
            if (stream.avail_out == 0 && !probing) {
                probing = true;
                stream.next_out = &probe;
                stream.avail_out = 1;
            }
            if (stream.avail_in == 0) {
                if (left == 0) {
                    break; // the game reads no further either
                }
                std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, 65536));
                if (Result<> read = ReadAt(m_file, input.get(), piece, position); !read) {
                    failed = read.Error();
                }
                position += piece;
                left -= piece;
                stream.next_in = input.get();
                stream.avail_in = static_cast<uInt>(piece);
                continue;
            }
            int status = inflate(&stream, Z_NO_FLUSH);
            if (probing && stream.avail_out == 0) {
                overrun = true;
                break;
            }
            if (status == Z_STREAM_END) {
                break;
            }
            if (status != Z_OK) {
                failed = ZipFailure(ZipErrorCompressedData, "Compressed data invalid");
            }
        }
        const bool complete = (probing || stream.avail_out == 0) && !overrun;
        inflateEnd(&stream);
        if (failed) {
            return *failed;
        }
        if (!complete) {
            return ZipFailure(ZipErrorInconsistent, "the entry's size does not match its data");
        }
    }
    if (crc32(0, out, static_cast<uInt>(size)) != record.Crc()) {
        return ZipFailure(ZipErrorCrc, "CRC error");
    }
    return bytes;
}

namespace {

void Put16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The raw deflate stream of the bytes, at the strongest compression.
std::optional<std::string> Deflate(const std::string& bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return std::nullopt;
    }
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<const Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    int status = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) {
        return std::nullopt;
    }
    return out;
}

// Now as the zip format keeps a time: MS-DOS date and time of day, local.
std::pair<std::uint32_t, std::uint32_t> DosDateTime()
{
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    if (::localtime_r(&now, &local) == nullptr || local.tm_year < 80) {
        return {(1u << 5) | 1u, 0}; // 1980-01-01 00:00
    }
    auto day = static_cast<std::uint32_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) |
                                          local.tm_mday);
    auto clock = static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                            (local.tm_sec / 2));
    return {day, clock};
}

} // namespace

Result<std::string> MakeZipArchive(const std::vector<ZipEntry>& entries)
{
    std::string archive;

    struct Named
    {
        std::string Name; // in Windows-1252
        const std::string* Bytes;
    };

    std::vector<Named> named;
    for (const ZipEntry& entry : entries) {
        Result<std::string> name = EncodeCp1252(entry.Name);
        if (!name) {
            return ZipFailure(ZipErrorInvalid, name.Error().Reason);
        }
        auto same = std::find_if(named.begin(), named.end(), [&name](const Named& earlier) {
            return earlier.Name == name.Value();
        });
        if (same != named.end()) {
            same->Bytes = &entry.Bytes;
        } else {
            named.push_back(Named{std::move(name).Value(), &entry.Bytes});
        }
    }
    // The game reads no zip64: every size and offset must fit its fields.
    const Failure tooLarge =
        ZipFailure(ZipErrorInvalid, "the archive would be too large for the game");
    if (named.size() > 0xFFFF) {
        return tooLarge;
    }
    const std::pair<std::uint32_t, std::uint32_t> dosTime = DosDateTime();
    std::string directory;
    for (const Named& entry : named) {
        const std::string& bytes = *entry.Bytes;
        if (bytes.size() >= Saturated32 || entry.Name.size() > 0xFFFF) {
            return tooLarge;
        }
        std::optional<std::string> deflated = Deflate(bytes);
        if (!deflated) {
            return ZipFailure(ZipErrorZlib, "Zlib error: cannot deflate " + entry.Name);
        }
        const bool store = deflated->size() >= bytes.size();
        const std::string& data = store ? bytes : *deflated;
        const std::uint32_t method = store ? MethodStored : MethodDeflated;
        const auto crc = static_cast<std::uint32_t>(crc32(
            0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
        const std::uint64_t offset = archive.size();
        if (offset + LocalSize + entry.Name.size() + data.size() >= Saturated32) {
            return tooLarge;
        }
        auto common = [&](std::string& out) {
            Put16(out, store ? 10u : 20u); // version needed: 1.0, or 2.0 for deflate
            Put16(out, 0);                 // flags
            Put16(out, method);
            Put16(out, dosTime.second);
            Put16(out, dosTime.first);
            Put32(out, crc);
            Put32(out, static_cast<std::uint32_t>(data.size()));
            Put32(out, static_cast<std::uint32_t>(bytes.size()));
            Put16(out, static_cast<std::uint32_t>(entry.Name.size()));
            Put16(out, 0); // extra field length
        };
        Put32(archive, LocalSignature);
        common(archive);
        archive += entry.Name;
        archive += data;

        Put32(directory, CentralSignature);
        Put16(directory, 0x0314); // made on Unix, by zip format 2.0
        common(directory);
        Put16(directory, 0);              // comment length
        Put16(directory, 0);              // disk
        Put16(directory, 0);              // internal attributes
        Put32(directory, 0100644u << 16); // a regular file, rw-r--r--
        Put32(directory, static_cast<std::uint32_t>(offset));
        directory += entry.Name;
    }
    if (archive.size() + directory.size() >= Saturated32) {
        return tooLarge;
    }
    const auto count = static_cast<std::uint32_t>(named.size());
    std::string end;
    Put32(end, EndSignature);
    Put16(end, 0); // this disk
    Put16(end, 0); // the directory's disk
    Put16(end, count);
    Put16(end, count);
    Put32(end, static_cast<std::uint32_t>(directory.size()));
    Put32(end, static_cast<std::uint32_t>(archive.size()));
    Put16(end, 0); // comment length
    archive += directory;
    archive += end;
    return archive;
}

} // namespace twl
