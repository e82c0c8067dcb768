// SPDX-License-Identifier: GPL-3.0-or-later
// Bad input and faults: special files, failing renames, long names.
#include "core/TextFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace twl {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(ReadFileBytes, OnlyRegularFilesWithinTheLimitAreRead)
{
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "zero");
    std::filesystem::create_symlink("/dev/null", folder / "null");
    WriteBytes(folder / "big", std::string(2048, 'x'));
    WriteBytes(folder / "small", "abc");

    struct Case
    {
        std::string Name;
        std::uint64_t Limit;
        bool Ok;
        bool Missing;
        std::string Reason;
    };

    const std::vector<Case> cases = {
        {"small", 1024, true, false, ""},
        {"none", 1024, false, true, "No such file or directory"},
        {"none/deeper", 1024, false, true, "No such file or directory"},
        {"small/deeper", 1024, false, true, "Not a directory"},
        {"folder", 1024, false, false, "it is a folder, not a file"},
        {"fifo", 1024, false, false, "it is not a regular file"},
        {"zero", 1024, false, false, "it is not a regular file"},
        {"null", 1024, false, false, "it is not a regular file"},
        {"big", 1024, false, false, "larger than"},
        {"big", 4096, true, false, ""},
    };
    for (const Case& c : cases) {
        Result<std::string> read = ReadFileBytes(folder / c.Name, c.Limit);
        EXPECT_EQ(read.Ok(), c.Ok) << c.Name;
        EXPECT_EQ(read.Missing(), c.Missing) << c.Name;
        if (!read) {
            EXPECT_NE(read.Error().Reason.find(c.Reason), std::string::npos)
                << c.Name << ": " << read.Error().Reason;
        }
    }
    EXPECT_EQ(ReadFileBytes(folder / "small").Value(), "abc");
}

// A rename that fails on its n-th call since the last reset.
int RenameCalls = 0;
int FailingCall = 0;

int FailingRename(const char* from, const char* to)
{
    if (++RenameCalls == FailingCall) {
        errno = EIO;
        return -1;
    }
    return ::rename(from, to);
}

class FailingRenameTest : public ::testing::Test
{
protected:
    void TearDown() override { SetRenameForTesting(nullptr); }
};

TEST_F(FailingRenameTest, FiveFilesAreReplacedAllOrNone)
{
    TempFolder folder;
    const std::vector<std::string> names = {"b_c.c", "b_w.c", "b_i.c", "b_t.c", "b.bot"};
    for (int failing = 1; failing <= 5; ++failing) {
        std::vector<FileContent> files;
        for (std::size_t i = 0; i < names.size(); ++i) {
            // The fourth file is new each time: it must go again on failure.
            std::filesystem::remove(folder / names[3]);
            if (i != 3) {
                WriteBytes(folder / names[i], "old " + names[i]);
            }
            files.push_back(FileContent{folder / names[i], "new " + names[i]});
        }
        RenameCalls = 0;
        FailingCall = failing;
        SetRenameForTesting(FailingRename);
        Result<> result = WriteFilesAtomic(files);
        SetRenameForTesting(nullptr);
        EXPECT_FALSE(result.Ok()) << failing;
        EXPECT_EQ(result.Error().Path, folder / names[static_cast<std::size_t>(failing - 1)]);
        EXPECT_EQ(result.Error().Reason, std::strerror(EIO));
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i == 3) {
                EXPECT_FALSE(std::filesystem::exists(folder / names[i])) << failing;
            } else {
                EXPECT_EQ(ReadBytes(folder / names[i]), "old " + names[i]) << failing;
            }
        }
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            static_cast<void>(entry);
            ++count;
        }
        EXPECT_EQ(count, 4u) << "no temporary or kept file is left, after failure " << failing;
    }
    ASSERT_TRUE(WriteFilesAtomic({FileContent{folder / names[0], "fine"}}).Ok());
    EXPECT_EQ(ReadBytes(folder / names[0]), "fine");
}

// A rename that ends the process on its n-th call: a program killed there.
int KillingRename(const char* from, const char* to)
{
    if (++RenameCalls == FailingCall) {
        ::_exit(9);
    }
    return ::rename(from, to);
}

TEST(WriteFilesAtomic, ASetTornByAKillIsFinishedByTheNextProgram)
{
    const std::vector<std::string> names = {"b_c.c", "b_w.c", "b_i.c", "b_t.c", "b.bot", "b.pk3"};
    for (int killed = 1; killed <= 6; ++killed) {
        TempFolder folder;
        std::filesystem::create_directory(folder / "scripts");
        std::vector<FileContent> files;
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::filesystem::path path = (i == 4 ? folder / "scripts" : folder.Path()) / names[i];
            if (i != 3) { // the fourth is new
                WriteBytes(path, "old " + names[i]);
            }
            files.push_back(FileContent{path, "new " + names[i]});
        }
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RenameCalls = 0;
            FailingCall = killed;
            SetRenameForTesting(KillingRename);
            (void)WriteFilesAtomic(files);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9) << killed;
        EXPECT_EQ(ReadBytes(folder / names[0]), killed > 1 ? "new b_c.c" : "old b_c.c");

        EXPECT_TRUE(RecoverReplacement(folder.Path())) << killed;
        RemoveLeftovers(folder.Path());
        RemoveLeftovers(folder / "scripts");
        for (const FileContent& file : files) {
            EXPECT_EQ(ReadBytes(file.Path), file.Bytes) << killed;
        }
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
            count += entry.is_regular_file() ? 1u : 0u;
        }
        EXPECT_EQ(count, names.size()) << "nothing is left over after a kill at " << killed;
        EXPECT_FALSE(RecoverReplacement(folder.Path())) << "the journal is gone";
    }
}

TEST(WriteFilesAtomic, AFolderInTheWayReplacesNothing)
{
    TempFolder folder;
    WriteBytes(folder / "a", "old");
    std::filesystem::create_directory(folder / "b");
    Result<> result =
        WriteFilesAtomic({FileContent{folder / "a", "new"}, FileContent{folder / "b", "x"}});
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Error().Path, folder / "b");
    EXPECT_EQ(ReadBytes(folder / "a"), "old");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "b"));
}

TEST(WriteFilesAtomic, ANameOfTheFileSystemsFullLengthCanBeWritten)
{
    TempFolder folder;
    std::string name(255, 'n');
    ASSERT_TRUE(WriteFileAtomic(folder / name, "a").Ok());
    ASSERT_TRUE(WriteFileAtomic(folder / name, "b").Ok()) << "replacing it too";
    EXPECT_EQ(ReadBytes(folder / name), "b");
}

} // namespace
} // namespace twl
