#include "pk3/ZipArchive.h"

#include "support/TempFolder.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

namespace twl {
namespace {

using test::MakeStoredZip;
using test::RawZipEntry;
using test::TempFolder;

std::unique_ptr<ZipReader> OpenBytes(const TempFolder& folder, const std::string& bytes)
{
    test::WriteBytes(folder / "a.pk3", bytes);
    ZipError error;
    std::unique_ptr<ZipReader> reader = ZipReader::Open(folder / "a.pk3", error);
    EXPECT_TRUE(reader) << error.Number << " " << error.Description;
    return reader;
}

TEST(ZipReader, NamesAreWindows1252UnlessMarkedUtf8)
{
    TempFolder folder;
    auto reader = OpenBytes(folder,
                            MakeStoredZip({{"models/players/caf\xE9/icon_x.tga", "a"},
                                           {"scripts/\xC3\xA9t\xC3\xA9.bot", "b", true},
                                           {"plain/ascii.txt", "c"}}));
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->EntryNames(),
              (std::vector<std::string>{
                  "models/players/café/icon_x.tga", "scripts/été.bot", "plain/ascii.txt"}));
}

TEST(ZipReader, LooksEntriesUpAsTheGameDoes)
{
    TempFolder folder;
    auto reader = OpenBytes(folder,
                            MakeStoredZip({{"botfiles/bots/Sarge_C.c", "first"},
                                           {"botfiles/bots/sarge_c.c", "second"}}));
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->FindEntry("BOTFILES\\bots\\sarge_c.C"), std::uint64_t{0});
    EXPECT_FALSE(reader->FindEntry("botfiles/bots/sarge_w.c"));
    ZipError error;
    EXPECT_EQ(reader->ReadEntry(1, 100, error), std::string("second"));
}

// Asked one at a time or all together in one pass, every kind of name
// finds the same entry: the first that the game would take.
TEST(ZipReader, LookUpsAloneAndTogetherFindTheSameEntry)
{
    TempFolder folder;
    const std::string bytes = MakeStoredZip({{"Models/Players/Sarge/Icon_Red.tga", "0"},
                                             {"models/players/sarge/icon_red.tga", "1"},
                                             {"models\\players\\keel\\icon_blue.tga", "2"},
                                             {"models/players/caf\xC9/icon_x.tga", "3"},
                                             {"scripts/\xC3\x89T\xC3\x89.bot", "4", true},
                                             {"short", "5"}});
    const std::vector<std::pair<std::string, std::optional<std::uint64_t>>> cases = {
        {"MODELS\\players\\SARGE\\icon_red.TGA", 0},
        {"Models/Players/Keel/Icon_Blue.tga", 2},
        {"models/players/CAF\u00C9/icon_x.tga", 3},
        {"scripts/\u00E9t\u00E9.bot", 4},
        {"SHORT", 5},
        {"shor", std::nullopt},
        {"shorter", std::nullopt},
        {"", std::nullopt}};
    auto reader = OpenBytes(folder, bytes);
    ASSERT_TRUE(reader);
    std::vector<std::string> names;
    std::vector<std::optional<std::uint64_t>> expectedAll;
    for (const auto& [asked, expected] : cases) {
        EXPECT_EQ(reader->FindEntry(asked), expected) << asked;
        names.push_back(asked);
        expectedAll.push_back(expected);
    }
    EXPECT_EQ(reader->FindEntries(names), expectedAll);
    // The same name twice, and in reverse order: each asks on its own.
    std::reverse(names.begin(), names.end());
    std::reverse(expectedAll.begin(), expectedAll.end());
    names.push_back(names.front());
    expectedAll.push_back(expectedAll.front());
    EXPECT_EQ(reader->FindEntries(names), expectedAll);
}

TEST(ZipReader, OversizedAndLyingEntriesAreNotRead)
{
    TempFolder folder;
    RawZipEntry lying{"lies.txt", "twelve bytes", false, 5};
    auto reader = OpenBytes(folder, MakeStoredZip({{"big.bin", std::string(100, 'x')}, lying}));
    ASSERT_TRUE(reader);
    ZipError error;
    EXPECT_FALSE(reader->ReadEntry(0, 99, error));
    EXPECT_TRUE(reader->ReadEntry(0, 100, error));
    EXPECT_FALSE(reader->ReadEntry(1, 100, error));
    EXPECT_NE(error.Number, 0);
}

TEST(ZipReader, FilesThatAreNoZipsAreRefused)
{
    TempFolder folder;
    for (const std::string& bytes : {std::string("this is no zip at all"),
                                     std::string(),
                                     MakeStoredZip({{"a.txt", "hello"}}).substr(0, 30)}) {
        test::WriteBytes(folder / "bad.pk3", bytes);
        ZipError error;
        EXPECT_FALSE(ZipReader::Open(folder / "bad.pk3", error));
        EXPECT_NE(error.Number, 0);
        EXPECT_FALSE(error.Description.empty());
    }
    ZipError error;
    EXPECT_FALSE(ZipReader::Open(folder / "missing.pk3", error));
    EXPECT_EQ(error.Description, "No such file");
}

TEST(WriteZipArchive, WritesDeflatedEntriesThatReadBack)
{
    TempFolder folder;
    std::string text(5000, 'a');
    ASSERT_FALSE(WriteZipArchive(folder / "out.pk3",
                                 {{"botfiles/bots/x_c.c", text}, {"scripts/x.bot", "{}"}}));
    ZipError error;
    auto reader = ZipReader::Open(folder / "out.pk3", error);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->EntryNames(),
              (std::vector<std::string>{"botfiles/bots/x_c.c", "scripts/x.bot"}));
    EXPECT_EQ(reader->ReadEntry(0, 10000, error), text);
    EXPECT_LT(std::filesystem::file_size(folder / "out.pk3"), 1000u)
        << "the entries are compressed";
}

TEST(WriteZipArchive, AFailedWriteKeepsTheOldArchive)
{
    TempFolder folder;
    ASSERT_FALSE(WriteZipArchive(folder / "out.pk3", {{"old.txt", "old"}}));
    std::string before = test::ReadBytes(folder / "out.pk3");

    struct rlimit limit = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    struct rlimit tight = limit;
    tight.rlim_cur = 64;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string noise;
    for (int i = 0; i < 20000; ++i) {
        noise += static_cast<char>((i * 7919) % 251);
    }
    std::optional<ZipError> error = WriteZipArchive(folder / "out.pk3", {{"new.bin", noise}});
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_TRUE(error);
    EXPECT_EQ(test::ReadBytes(folder / "out.pk3"), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no temporary archive is left";
}

TEST(WriteZipArchive, NamesWindows1252CannotHoldAreRefused)
{
    TempFolder folder;
    std::optional<ZipError> error = WriteZipArchive(folder / "out.pk3", {{"bots/\u0416.c", "x"}});
    ASSERT_TRUE(error);
    EXPECT_FALSE(std::filesystem::exists(folder / "out.pk3"));
}

} // namespace
} // namespace twl
