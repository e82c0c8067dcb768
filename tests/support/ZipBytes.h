// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pk3/ZipArchive.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace twl::test {

// One entry of a hand-made zip, with its name bytes as given.
struct RawZipEntry
{
    std::string Name;
    std::string Data;
    bool Utf8Flag = false;
    // When set, the size written into the headers instead of the real one.
    std::int64_t DeclaredSize = -1;
    // Raw-deflated (method 8) instead of stored.
    bool Deflate = false;
    // When set, the method written into the headers (the data as above).
    std::int32_t DeclaredMethod = -1;
    // More general-purpose flags (1: encrypted), in both headers.
    std::uint16_t Flags = 0;
    // When set, the CRC written into the headers instead of the real one.
    std::int64_t DeclaredCrc = -1;
    // The directory's sizes at 0xFFFFFFFF, the real ones in a zip64 extra
    // field, as a writer of large entries stores them.
    bool Zip64Sizes = false;
};

// Where and how the archive lies in its file.
struct RawZipLayout
{
    std::string Prefix;  // bytes before the archive (its offsets leave them out)
    std::string Comment; // the archive's comment, after the end record
    // A zip64 end record and its locator before the end record, whose counts
    // then read 0xFFFF and its offsets 0xFFFFFFFF, as writers of archives of
    // more than 65535 entries leave them.
    bool Zip64End = false;
};

// The bytes of a zip archive holding the entries, built by hand so that
// tests can make archives that no library would write.
std::string MakeStoredZip(const std::vector<RawZipEntry>& entries, const RawZipLayout& layout = {});

// An archive as the program makes it (MakeZipArchive), written at `path`.
// True when it was written.
bool WriteZipArchive(const std::filesystem::path& path, const std::vector<ZipEntry>& entries);

} // namespace twl::test
