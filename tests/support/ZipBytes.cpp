#include "support/ZipBytes.h"

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

} // namespace

std::string MakeStoredZip(const std::vector<RawZipEntry>& entries)
{
    std::string local;
    std::string central;
    for (const RawZipEntry& entry : entries) {
        std::uint32_t offset = static_cast<std::uint32_t>(local.size());
        std::uint32_t size = entry.DeclaredSize >= 0
                                 ? static_cast<std::uint32_t>(entry.DeclaredSize)
                                 : static_cast<std::uint32_t>(entry.Data.size());
        std::uint32_t crc = Crc32(entry.Data);
        std::uint32_t flags = entry.Utf8Flag ? 0x0800u : 0u;
        auto common = [&](std::string& out) {
            Put16(out, 10);    // version needed
            Put16(out, flags); // general purpose flags
            Put16(out, 0);     // stored
            Put16(out, 0);     // time
            Put16(out, 0x21);  // date: 1980-01-01
            Put32(out, crc);
            Put32(out, size);
            Put32(out, size);
            Put16(out, static_cast<std::uint32_t>(entry.Name.size()));
            Put16(out, 0); // extra field length
        };
        Put32(local, 0x04034b50);
        common(local);
        local += entry.Name;
        local += entry.Data;

        Put32(central, 0x02014b50);
        Put16(central, 20); // version made by
        common(central);
        Put16(central, 0); // comment length
        Put16(central, 0); // disk
        Put16(central, 0); // internal attributes
        Put32(central, 0); // external attributes
        Put32(central, offset);
        central += entry.Name;
    }
    std::string end;
    Put32(end, 0x06054b50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<std::uint32_t>(entries.size()));
    Put16(end, static_cast<std::uint32_t>(entries.size()));
    Put32(end, static_cast<std::uint32_t>(central.size()));
    Put32(end, static_cast<std::uint32_t>(local.size()));
    Put16(end, 0);
    return local + central + end;
}

} // namespace twl::test
