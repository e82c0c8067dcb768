// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempFolder.h"

#include "core/TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace twl::test {

TempFolder::TempFolder()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarnwell-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder from " << pattern;
    }
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code error;
    // Folders made read-only by a test must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         !error && it != std::filesystem::recursive_directory_iterator();
         it.increment(error)) {
        std::filesystem::permissions(it->path(),
                                     std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add,
                                     error);
    }
    std::filesystem::permissions(
        m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return ReadStreamBytes(in);
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::filesystem::path FixturePath(const std::string& relative)
{
    return std::filesystem::path(TARNWELL_FIXTURES) / relative;
}

} // namespace twl::test
