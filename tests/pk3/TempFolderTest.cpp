#include "pk3/TempFolder.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace twl {
namespace {

TEST(PrivateTempFolder, IsPrivateAndGoesAway)
{
    std::filesystem::path path;
    {
        PrivateTempFolder temp;
        path = temp.Path();
        ASSERT_FALSE(path.empty());
        struct stat info = {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        test::WriteBytes(path / "left.txt", "x");
        PrivateTempFolder other;
        EXPECT_NE(other.Path(), path);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace twl
