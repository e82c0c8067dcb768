// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ZipBytes.h"

#include "core/TextFile.h"

#include <zlib.h>

namespace twl::test {

namespace {

std::uint32_t Crc32(const std::string& data)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// The raw deflate stream of the bytes (no zlib header), as zips hold it.
std::string RawDeflate(const std::string& data)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

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

void Put64(std::string& out, std::uint64_t value)
{
    Put32(out, static_cast<std::uint32_t>(value));
    Put32(out, static_cast<std::uint32_t>(value >> 32));
}

} // namespace

std::string MakeStoredZip(const std::vector<RawZipEntry>& entries, const RawZipLayout& layout)
{
    std::string local;
    std::string central;
    for (const RawZipEntry& entry : entries) {
        std::uint32_t offset = static_cast<std::uint32_t>(local.size());
        std::string packed = entry.Deflate ? RawDeflate(entry.Data) : entry.Data;
        std::uint32_t size = entry.DeclaredSize >= 0
                                 ? static_cast<std::uint32_t>(entry.DeclaredSize)
                                 : static_cast<std::uint32_t>(entry.Data.size());
        std::uint32_t packedSize = entry.Deflate || entry.DeclaredSize < 0
                                       ? static_cast<std::uint32_t>(packed.size())
                                       : size;
        std::uint32_t crc = entry.DeclaredCrc >= 0 ? static_cast<std::uint32_t>(entry.DeclaredCrc)
                                                   : Crc32(entry.Data);
        std::uint32_t flags = (entry.Utf8Flag ? 0x0800u : 0u) | entry.Flags;
        std::uint32_t method = entry.DeclaredMethod >= 0
                                   ? static_cast<std::uint32_t>(entry.DeclaredMethod)
                                   : (entry.Deflate ? 8u : 0u);
        std::string zip64Extra;
        if (entry.Zip64Sizes) {
            Put16(zip64Extra, 0x0001);
            Put16(zip64Extra, 16);
            Put64(zip64Extra, size);
            Put64(zip64Extra, packedSize);
        }
        auto common = [&](std::string& out, bool inDirectory) {
            bool large = inDirectory && entry.Zip64Sizes;
            Put16(out, 20);     // version needed
            Put16(out, flags);  // general purpose flags
            Put16(out, method); //
            Put16(out, 0);      // time
            Put16(out, 0x21);   // date: 1980-01-01
            Put32(out, crc);
            Put32(out, large ? 0xFFFFFFFFu : packedSize);
            Put32(out, large ? 0xFFFFFFFFu : size);
            Put16(out, static_cast<std::uint32_t>(entry.Name.size()));
            Put16(out, inDirectory ? static_cast<std::uint32_t>(zip64Extra.size()) : 0);
        };
        Put32(local, 0x04034b50);
        common(local, false);
        local += entry.Name;
        local += packed;

        Put32(central, 0x02014b50);
        Put16(central, 20); // version made by
        common(central, true);
        Put16(central, 0); // comment length
        Put16(central, 0); // disk
        Put16(central, 0); // internal attributes
        Put32(central, 0); // external attributes
        Put32(central, offset);
        central += entry.Name;
        central += zip64Extra;
    }
    const auto count = static_cast<std::uint32_t>(entries.size());
    std::string end;
    if (layout.Zip64End) {
        const std::uint64_t zip64At = local.size() + central.size();
        Put32(end, 0x06064b50);
        Put64(end, 44); // the size of the rest of the record
        Put16(end, 45); // version made by
        Put16(end, 45); // version needed
        Put32(end, 0);  // this disk
        Put32(end, 0);  // the directory's disk
        Put64(end, count);
        Put64(end, count);
        Put64(end, central.size());
        Put64(end, local.size());
        Put32(end, 0x07064b50);
        Put32(end, 0); // the zip64 end record's disk
        Put64(end, zip64At);
        Put32(end, 1); // disks
    }
    Put32(end, 0x06054b50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, layout.Zip64End ? 0xFFFFu : count);
    Put16(end, layout.Zip64End ? 0xFFFFu : count);
    Put32(end, layout.Zip64End ? 0xFFFFFFFFu : static_cast<std::uint32_t>(central.size()));
    Put32(end, layout.Zip64End ? 0xFFFFFFFFu : static_cast<std::uint32_t>(local.size()));
    Put16(end, static_cast<std::uint32_t>(layout.Comment.size()));
    return layout.Prefix + local + central + end + layout.Comment;
}

bool WriteZipArchive(const std::filesystem::path& path, const std::vector<ZipEntry>& entries)
{
    Result<std::string> archive = MakeZipArchive(entries);
    return archive && WriteFileAtomic(path, archive.Value()).Ok();
}

} // namespace twl::test
