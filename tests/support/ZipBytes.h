#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace twl::test {

// One entry of a hand-made zip: stored (not compressed), with its name
// bytes as given.
struct RawZipEntry
{
    std::string Name;
    std::string Data;
    bool Utf8Flag = false;
    // When set, the size written into the headers instead of the real one.
    std::int64_t DeclaredSize = -1;
};

// The bytes of a zip archive holding the entries, built by hand so that
// tests can make archives that no library would write.
std::string MakeStoredZip(const std::vector<RawZipEntry>& entries);

} // namespace twl::test
