// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace twl {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::vector<std::string> LinesOf(const std::string& bytes)
{
    std::istringstream in(bytes);
    return ReadTextLines(in);
}

TEST(ReadTextLines, CrLfLfAndCrReadAlike)
{
    std::vector<std::string> expected = {"one", "", "three"};
    for (const char* text : {"one\r\n\r\nthree\r\n",
                             "one\n\nthree\n",
                             "one\r\n\nthree",
                             "one\r\rthree\r",
                             "one\r\n\rthree"}) {
        EXPECT_EQ(LinesOf(text), expected) << text;
    }
}

TEST(ReadTextLines, EdgesOfTheFile)
{
    EXPECT_TRUE(LinesOf("").empty());
    EXPECT_EQ(LinesOf("\r\n"), std::vector<std::string>{""});
    EXPECT_EQ(LinesOf("a\r"), std::vector<std::string>{"a"});
    EXPECT_EQ(LinesOf("\n\r"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(LinesOf("caf\xE9\r\n"), std::vector<std::string>{"café"});
}

TEST(EncodeTextLines, EncodesWithCrLf)
{
    Result<std::string> bytes = EncodeTextLines({"café", "", "x"});
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes.Value(), "caf\xE9\r\n\r\nx\r\n");
}

TEST(WriteTextFiles, ReplacesTheOldFileAndKeepsItsMode)
{
    TempFolder folder;
    std::filesystem::path path = folder / "list";
    WriteBytes(path, "old\r\n");
    std::filesystem::permissions(path, std::filesystem::perms(0640));

    Result<> result = WriteTextFiles({{path, {"new"}}});
    ASSERT_TRUE(result.Ok()) << result.Error().Reason;
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left behind";
}

// Read straight into the result: every length around the first guess and
// the cap reads whole, past the cap is refused; a file that says it is
// empty but is not (as /proc has them) is read to its end.
TEST(ReadFileBytes, ReadsEveryLengthWholeAndRefusesPastItsCap)
{
    TempFolder folder;
    constexpr std::uint64_t Cap = 200000;
    for (int length : {0, 1, 4095, 65536, 65537, 199999, 200000, 200001}) {
        const auto size = static_cast<std::size_t>(length);
        std::string bytes(size, 'x');
        for (std::size_t i = 0; i < size; i += 997) {
            bytes[i] = static_cast<char>('a' + i % 26);
        }
        WriteBytes(folder / "file", bytes);
        Result<std::string> read = ReadFileBytes(folder / "file", Cap);
        EXPECT_EQ(read.Ok(), size <= Cap) << size;
        EXPECT_EQ(std::move(read).ValueOr("(refused)"), size <= Cap ? bytes : "(refused)") << size;
    }
    Result<std::string> status = ReadFileBytes("/proc/self/status");
    ASSERT_TRUE(status) << status.Error().Reason;
    EXPECT_EQ(status->rfind("Name:", 0), 0u);
    EXPECT_EQ(status->back(), '\n');
}

// A new file gets the mode of the file it replaces (through a link, of the
// file the link leads to), else what the umask allows; the link itself is
// replaced. Written alone and as a set, alike.
TEST(WriteFileAtomic, ANewFileTakesTheModeOfWhatItReplaces)
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    const auto fresh = std::filesystem::perms(0666 & ~mask);
    for (bool asSet : {false, true}) {
        TempFolder folder;
        WriteBytes(folder / "old", "old");
        std::filesystem::permissions(folder / "old", std::filesystem::perms(0640));
        WriteBytes(folder / "target", "target");
        std::filesystem::permissions(folder / "target", std::filesystem::perms(0600));
        std::filesystem::create_symlink("target", folder / "link");
        std::filesystem::create_symlink("nowhere", folder / "dangling");
        const std::pair<const char*, std::filesystem::perms> cases[] = {
            {"old", std::filesystem::perms(0640)},
            {"missing", fresh},
            {"link", std::filesystem::perms(0600)},
            {"dangling", fresh}};
        std::vector<FileContent> files;
        for (const auto& [name, mode] : cases) {
            files.push_back(FileContent{folder / name, std::string("new ") + name});
            if (!asSet) {
                ASSERT_TRUE(WriteFilesAtomic({files.back()}).Ok()) << name;
            }
        }
        if (asSet) {
            ASSERT_TRUE(WriteFilesAtomic(files).Ok());
        }
        for (const auto& [name, mode] : cases) {
            std::filesystem::path path = folder / name;
            EXPECT_FALSE(std::filesystem::is_symlink(path)) << name;
            EXPECT_EQ(ReadBytes(path), std::string("new ") + name);
            EXPECT_EQ(std::filesystem::status(path).permissions(), mode) << name << asSet;
        }
        EXPECT_EQ(ReadBytes(folder / "target"), "target") << "what a link led to stays";
    }
}

// A file is compared with the new bytes a piece at a time: a difference in
// any piece, or in the length, replaces it; the same bytes leave it alone,
// through the plain writer and through the one that keeps damaged files
// (which then judges nothing: nothing is replaced).
TEST(WriteFileAtomic, AFileThatHoldsTheSameBytesIsLeftAlone)
{
    const std::string large = std::string(200 * 1024, 'a') + "tail";

    struct Case
    {
        const char* Name;
        std::string Old;
        std::string New;
    };

    const Case cases[] = {
        {"small, the same", "content", "content"},
        {"small, one byte differs", "content", "contend"},
        {"large, the same", large, large},
        {"large, differs in a later piece", large, large.substr(0, large.size() - 1) + "L"},
        {"old is longer", large + "x", large},
        {"old is shorter", large.substr(1), large},
        {"empty, the same", "", ""},
    };
    TempFolder folder;
    std::filesystem::path path = folder / "same";
    for (const Case& c : cases) {
        for (bool keepingDamaged : {false, true}) {
            WriteBytes(path, c.Old);
            auto before = std::filesystem::last_write_time(path) - std::chrono::hours(1);
            std::filesystem::last_write_time(path, before);
            Result<> written =
                keepingDamaged
                    ? ReplaceKeepingDamaged(path, c.New, [](const std::string&) { return true; })
                    : WriteFileAtomic(path, c.New);
            ASSERT_TRUE(written.Ok()) << c.Name;
            EXPECT_EQ(ReadBytes(path), c.New) << c.Name;
            EXPECT_EQ(std::filesystem::last_write_time(path) == before, c.Old == c.New)
                << c.Name << (keepingDamaged ? ", keeping damaged" : "");
            EXPECT_EQ(std::filesystem::exists(folder / "same.bak"),
                      keepingDamaged && c.Old != c.New)
                << c.Name << ": a copy only of a file that is replaced";
            std::filesystem::remove(folder / "same.bak");
        }
    }
}

TEST(WriteTextFiles, UnwritableCharacterKeepsTheOldFile)
{
    TempFolder folder;
    std::filesystem::path path = folder / "list";
    WriteBytes(path, "old\r\n");
    Result<> result = WriteTextFiles({{path, {"fine", "Жук"}}});
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Error().Path, path);
    EXPECT_NE(result.Error().Reason.find("U+0416"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
}

TEST(WriteFileAtomic, FailingHalfWayKeepsTheOldFile)
{
    TempFolder folder;
    std::filesystem::path path = folder / "twl.ini";
    WriteBytes(path, "the old settings\r\n");

    // A file-size limit makes the write fail part of the way through, as a
    // full disk would, even for root.
    struct rlimit before = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    struct rlimit tight = before;
    tight.rlim_cur = 8;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    Result<> result = WriteFileAtomic(path, std::string(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Error().Reason, "File too large");
    EXPECT_EQ(ReadBytes(path), "the old settings\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "the partial temporary file is removed";
}

TEST(WriteFileAtomic, MissingFolderIsAFailureWithItsReason)
{
    TempFolder folder;
    Result<> result = WriteFileAtomic(folder / "missing" / "file", "x");
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Error().Reason, "No such file or directory");
}

TEST(WriteFileAtomic, AFolderInTheWayIsNotReplaced)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "target" / "inside");
    Result<> result = WriteFileAtomic(folder / "target", "x");
    EXPECT_FALSE(result.Ok());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "target" / "inside"));
}

TEST(ReadTextFile, MissingFileIsAFailure)
{
    TempFolder folder;
    Result<std::vector<std::string>> read = ReadTextFile(folder / "none");
    EXPECT_FALSE(read.Ok());
    EXPECT_TRUE(read.Missing());
}

TEST(TextFile, AllBytesRoundTripThroughAFile)
{
    TempFolder folder;
    std::string line;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\n' && byte != '\r') {
            line += static_cast<char>(byte);
        }
    }
    WriteBytes(folder / "in", line + "\r\n");
    Result<std::vector<std::string>> read = ReadTextFile(folder / "in");
    ASSERT_TRUE(read.Ok());
    ASSERT_TRUE(WriteTextFiles({{folder / "out", read.Value()}}).Ok());
    EXPECT_EQ(ReadBytes(folder / "out"), line + "\r\n");
}

TEST(ReplaceKeepingDamaged, ADamagedFileIsCopiedFirstAndNeverLost)
{
    struct Case
    {
        const char* Name;
        const char* Old;         // nullptr: no file
        std::size_t OlderCopies; // .bak, .bak1, ... already there
        bool Written;            // the new bytes replaced the file
        const char* KeptAs;      // where the old bytes were copied, or nullptr
    };

    const std::vector<Case> cases = {
        {"no file yet", nullptr, 0, true, nullptr},
        {"a sound file is just replaced", "good", 0, true, nullptr},
        {"a damaged file is copied to .bak", "bad", 0, true, "x.bak"},
        {"an older copy is never written over", "bad", 2, true, "x.bak2"},
        {"no room for another copy: nothing changes", "bad", 100, false, nullptr},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        std::filesystem::path path = folder / "x";
        if (c.Old != nullptr) {
            WriteBytes(path, c.Old);
        }
        for (std::size_t number = 0; number < c.OlderCopies; ++number) {
            WriteBytes(folder / ("x.bak" + (number == 0 ? "" : std::to_string(number))), "older");
        }
        Result<> result = ReplaceKeepingDamaged(
            path, std::string("new"), [](const std::string& old) { return old == "bad"; });
        EXPECT_EQ(result.Ok(), c.Written) << c.Name << ": " << result.Error().Reason;
        EXPECT_EQ(ReadBytes(path), c.Written ? "new" : c.Old) << c.Name;
        if (c.KeptAs != nullptr) {
            EXPECT_EQ(ReadBytes(folder / c.KeptAs), c.Old) << c.Name;
        }
        auto files = std::distance(std::filesystem::directory_iterator(folder.Path()),
                                   std::filesystem::directory_iterator());
        std::size_t expected =
            (c.Old || c.Written ? 1u : 0u) + c.OlderCopies + (c.KeptAs ? 1u : 0u);
        EXPECT_EQ(static_cast<std::size_t>(files), expected) << c.Name;
    }
}

} // namespace
} // namespace twl
