// SPDX-License-Identifier: GPL-3.0-or-later
// The archive reader on its own: the end record, the directory, the lookup
// and every entry read, then the same entries again after the file was cut
// short under the open reader. Sizes, offsets and CRCs may all lie; many
// entries may point at one stream.
#include "FuzzSupport.h"
#include "pk3/ZipArchive.h"

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    const std::filesystem::path path = fuzz::ScratchFolder() / "reader.pk3";
    fuzz::WriteScratch("reader.pk3", fuzz::Bytes(data, size));
    std::unique_ptr<ZipReader> reader = ZipReader::Open(path).ValueOr(nullptr);
    if (!reader) {
        return 0;
    }
    std::vector<std::string> names = reader->EntryNames();
    std::vector<ZipReader::EntryInfo> infos = reader->EntryInfos();
    if (infos.size() != names.size()) {
        __builtin_trap(); // both walk the same records
    }
    std::vector<std::string> wanted = {"scripts/bots.txt", "botfiles\\bots\\a_c.c"};
    if (!names.empty()) {
        wanted.push_back(names.back());
    }
    std::vector<std::optional<std::uint64_t>> found = reader->FindEntries(wanted);
    if (!names.empty() && (!found.back() || NormalisedEntryName(names[*found.back()]) !=
                                                NormalisedEntryName(names.back()))) {
        __builtin_trap(); // a name of the archive is found, as itself
    }
    // The entries read (and one past the last), up to a budget of entries
    // and of output: a thousand entries may share one stream.
    constexpr std::uint64_t MaxEntrySize = 64 * 1024;
    std::uint64_t made = 0;
    for (std::uint64_t index = 0; index <= names.size() && index < 256 && made < (256u << 10);
         ++index) {
        if (Result<std::string> bytes = reader->ReadEntry(index, MaxEntrySize)) {
            if (bytes->size() > MaxEntrySize) {
                __builtin_trap();
            }
            made += bytes->size() + 1;
        }
    }
    // The file cut short (at a place the input chooses, for one input in
    // four) under the open reader.
    if (size > 2 && (data[size - 1] & 3) == 0) {
        const auto cut = static_cast<off_t>((data[0] | (data[1] << 8)) % size);
        if (::truncate(path.c_str(), cut) == 0) {
            for (std::uint64_t index = 0; index < names.size() && index < 64; ++index) {
                (void)reader->ReadEntry(index, MaxEntrySize);
            }
        }
    }
    return 0;
}
