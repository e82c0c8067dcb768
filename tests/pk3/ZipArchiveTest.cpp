// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/ZipArchive.h"

#include "support/TempFolder.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <deque>
#include <optional>
#include <sys/resource.h>

namespace twl {
namespace {

using test::MakeStoredZip;
using test::RawZipEntry;
using test::RawZipLayout;

constexpr std::uint64_t MaxSize = 1 << 20;
using test::TempFolder;

// The last failure a test saw: its number and description.
struct Seen
{
    int Number = 0;
    std::string Description;

    void Take(const Failure& failure)
    {
        Number = failure.Code;
        Description = failure.Reason;
    }
};

std::unique_ptr<ZipReader> Open(const std::filesystem::path& path, Seen& seen)
{
    Result<std::unique_ptr<ZipReader>> opened = ZipReader::Open(path);
    if (!opened) {
        seen.Take(opened.Error());
        return nullptr;
    }
    return std::move(opened).Value();
}

std::optional<std::string>
Read(ZipReader& reader, std::uint64_t index, std::uint64_t maxSize, Seen& seen)
{
    Result<std::string> bytes = reader.ReadEntry(index, maxSize);
    if (!bytes) {
        seen.Take(bytes.Error());
        return std::nullopt;
    }
    return std::move(bytes).Value();
}

std::unique_ptr<ZipReader> OpenBytes(const TempFolder& folder, const std::string& bytes)
{
    test::WriteBytes(folder / "a.pk3", bytes);
    Seen error;
    std::unique_ptr<ZipReader> reader = Open(folder / "a.pk3", error);
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
    // Of two entries of one name the game finds the later.
    EXPECT_EQ(reader->FindEntry("BOTFILES\\bots\\sarge_c.C"), std::uint64_t{1});
    EXPECT_FALSE(reader->FindEntry("botfiles/bots/sarge_w.c"));
    Seen error;
    EXPECT_EQ(Read(*reader, 1, 100, error), std::string("second"));
}

// Asked one at a time or all together in one pass, every kind of name
// finds the same entry: the one that the game would take (the last).
TEST(ZipReader, LookUpsAloneAndTogetherFindTheSameEntry)
{
    TempFolder folder;
    const std::string bytes = MakeStoredZip({{"Models/Players/Sarge/Icon_Red.tga", "0"},
                                             {"models/players/sarge/icon_red.tga", "1"},
                                             {"models\\players\\keel\\icon_blue.tga", "2"},
                                             {"models/players/caf\xC9/icon_x.tga", "3"},
                                             {"scripts/\xC3\x89T\xC3\x89.bot", "4", true},
                                             {"short", "5"},
                                             {std::string("scripts/cut.bot\0tail", 20), "6"}});
    const std::vector<std::pair<std::string, std::optional<std::uint64_t>>> cases = {
        {"MODELS\\players\\SARGE\\icon_red.TGA", 1},
        {"Models/Players/Keel/Icon_Blue.tga", 2},
        {"models/players/CAF\u00C9/icon_x.tga", 3},
        {"scripts/\u00E9t\u00E9.bot", 4},
        {"SHORT", 5},
        {"shor", std::nullopt},
        {"shorter", std::nullopt},
        {"", std::nullopt},
        // The game takes a name up to its first NUL byte.
        {"scripts/CUT.bot", 6},
        {"scripts/cut.bo", std::nullopt},
        {std::string("scripts/cut.bot\0tail", 20), std::nullopt}};
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
    Seen error;
    EXPECT_FALSE(Read(*reader, 0, 99, error));
    EXPECT_TRUE(Read(*reader, 0, 100, error));
    EXPECT_FALSE(Read(*reader, 1, 100, error));
    EXPECT_NE(error.Number, 0);
}

TEST(ZipReader, FilesThatAreNoZipsAreRefused)
{
    TempFolder folder;
    for (const std::string& bytes : {std::string("this is no zip at all"),
                                     std::string(),
                                     MakeStoredZip({{"a.txt", "hello"}}).substr(0, 30)}) {
        test::WriteBytes(folder / "bad.pk3", bytes);
        Seen error;
        EXPECT_FALSE(Open(folder / "bad.pk3", error));
        EXPECT_NE(error.Number, 0);
        EXPECT_FALSE(error.Description.empty());
    }
    Seen error;
    EXPECT_FALSE(Open(folder / "missing.pk3", error));
    EXPECT_EQ(error.Description, "No such file");
}

// A directory too large to come with the end record is searched in pieces
// (a record may straddle two, or be longer than one) and finds what the
// whole directory finds.
TEST(ZipReader, ALargeDirectoryIsSearchedInPiecesAsAWhole)
{
    std::vector<RawZipEntry> entries;
    for (int i = 0; i < 3000; ++i) {
        entries.push_back({"textures/wall" + std::to_string(i) + ".tga", std::to_string(i)});
    }
    entries[1700].Name = "scripts/" + std::string(65535 - 12, 'n') + ".bot"; // longer than a piece
    entries[2100].Name = "Botfiles/Bots/Kit_C.c";
    entries[2900].Name = "botfiles\\bots\\kit_c.C";
    entries[7].Name = "textures/caf\xE9.tga";
    TempFolder folder;
    test::WriteBytes(folder / "a.pk3", MakeStoredZip(entries));
    std::vector<std::string> asked = {"textures/wall0.tga",
                                      "TEXTURES/WALL999.TGA",
                                      entries[1700].Name,
                                      "textures/wall2999.tga",
                                      "botfiles/bots/kit_c.c",
                                      "textures/wall3000.tga"};
    const std::vector<std::optional<std::uint64_t>> expected = {0, 999, 1700, 2999, 2900, {}};
    Seen error;
    auto pieces = Open(folder / "a.pk3", error);
    ASSERT_TRUE(pieces);
    ASSERT_EQ(pieces->FindEntries(asked), expected);
    for (std::size_t k = 0; k + 1 < asked.size(); ++k) {
        EXPECT_EQ(Read(*pieces, *expected[k], MaxSize, error), entries[*expected[k]].Data)
            << asked[k];
    }
    // Listed in pieces, then read by the listing's numbers; listed again
    // (the directory then read whole) and described alike.
    auto listed = Open(folder / "a.pk3", error);
    ASSERT_TRUE(listed);
    std::deque<std::string> decoded;
    std::vector<std::string_view> views = listed->EntryNameViews(decoded);
    ASSERT_EQ(views.size(), entries.size());
    EXPECT_EQ(views[2100], "Botfiles/Bots/Kit_C.c");
    EXPECT_EQ(views[7], "textures/caf\u00E9.tga") << "decoded from Windows-1252";
    for (std::uint64_t index : {std::uint64_t{0}, std::uint64_t{1700}, std::uint64_t{2999}}) {
        EXPECT_EQ(Read(*listed, index, MaxSize, error), entries[index].Data) << index;
    }
    std::vector<std::string> again = listed->EntryNames();
    EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), again);
    std::vector<ZipReader::EntryInfo> infos = listed->EntryInfos();
    ASSERT_EQ(infos.size(), entries.size());
    EXPECT_EQ(infos[2900].Name, entries[2900].Name);
    EXPECT_EQ(listed->FindEntries(asked), expected);
}

// Archives of every shape the game meets: each opens with the names the
// game lists, or is refused.
TEST(ZipReader, OpensArchivesOfEveryShapeAsTheGameDoes)
{
    const std::vector<RawZipEntry> two = {{"scripts/a.bot", "one"},
                                          {"botfiles\\bots\\a_c.c", "two", false, -1, true}};
    const std::vector<std::string> both = {"scripts/a.bot", "botfiles\\bots\\a_c.c"};
    const std::vector<std::string> none;
    const std::string whole = MakeStoredZip(two);
    const std::string endSignature("PK\x05\x06", 4);
    const std::size_t directoryAt = whole.find("PK\x01\x02");
    const std::size_t endAt = whole.find(endSignature);
    std::string moreDeclared = whole;
    moreDeclared[endAt + 8] = moreDeclared[endAt + 10] = 3;
    std::string lyingLength = whole;
    lyingLength[directoryAt + 28] = 100; // the first name runs past the directory
    std::string secondDamaged = whole;
    secondDamaged[directoryAt + 46 + 13] = 'X'; // the second record's signature

    struct Case
    {
        const char* Label;
        std::string Bytes;
        std::optional<std::vector<std::string>> Names; // nothing: refused
    };

    const std::vector<Case> cases = {
        {"plain", whole, both},
        {"a comment", MakeStoredZip(two, {"", "made by hand"}), both},
        {"the longest comment the game finds",
         MakeStoredZip(two, {"", std::string(65513, 'c')}),
         both},
        {"a comment too long for the game", MakeStoredZip(two, {"", std::string(65514, 'c')}), {}},
        {"a comment holding an end record",
         MakeStoredZip(two, {"", endSignature + std::string(18, '\0')}),
         none},
        {"bytes before the archive", MakeStoredZip(two, {std::string(70000, 'x'), ""}), both},
        {"bytes before and a comment", MakeStoredZip(two, {"#!/bin/sh\n", "hi"}), both},
        {"a zip64 end record", MakeStoredZip(two, {"", "", true}), both},
        {"zip64 sizes",
         MakeStoredZip({{"big.bin", "x", false, -1, false, -1, 0, -1, true}}),
         std::vector<std::string>{"big.bin"}},
        {"an empty archive", MakeStoredZip({}), none},
        {"an empty archive with a comment", MakeStoredZip({}, {"", "nothing"}), none},
        {"a NUL inside a name",
         MakeStoredZip({{std::string("a.txt\0b", 7), "x"}}),
         std::vector<std::string>{"a.txt"}},
        {"names differing in case",
         MakeStoredZip({{"A.txt", "1"}, {"a.TXT", "2"}}),
         std::vector<std::string>{"A.txt", "a.TXT"}},
        {"more entries declared than recorded", moreDeclared, both},
        {"the second record damaged", secondDamaged, std::vector<std::string>{"scripts/a.bot"}},
        {"a name running past the directory", lyingLength, none},
        {"ending inside its directory", whole.substr(0, endAt - 10), {}},
        {"ending inside its end record", whole.substr(0, endAt + 12), {}},
        {"a directory said to start before the file", whole.substr(directoryAt), {}},
    };
    TempFolder folder;
    for (const auto& [label, bytes, names] : cases) {
        test::WriteBytes(folder / "a.pk3", bytes);
        Seen error;
        std::unique_ptr<ZipReader> reader = Open(folder / "a.pk3", error);
        ASSERT_EQ(reader != nullptr, names.has_value()) << label << ": " << error.Description;
        if (reader) {
            EXPECT_EQ(reader->EntryNames(), *names) << label;
        } else {
            EXPECT_NE(error.Number, 0) << label;
        }
    }
}

// An entry is read only when the game would read it whole and intact.
TEST(ZipReader, ReadsOnlyEntriesThatAreWholeAndIntact)
{
    const std::string text = "chat \"hello\" { \"hi there\"; }\n" + std::string(3000, 'z');
    RawZipEntry deflated{"a.c", text, false, -1, true};
    auto with = [&deflated](auto change) {
        RawZipEntry entry = deflated;
        change(entry);
        return entry;
    };

    struct Case
    {
        const char* Label;
        RawZipEntry Entry;
        RawZipLayout Layout;
        int Error; // 0: read whole
    };

    const std::vector<Case> cases = {
        {"stored", {"a.c", text}, {}, 0},
        {"deflated", deflated, {}, 0},
        {"deflated, after bytes before the archive", deflated, {std::string(999, 'p'), "c"}, 0},
        {"zip64 sizes", with([](RawZipEntry& e) { e.Zip64Sizes = true; }), {}, 0},
        {"a wrong CRC", with([](RawZipEntry& e) { e.DeclaredCrc = 1234; }), {}, ZipErrorCrc},
        {"a size that lies low",
         with([](RawZipEntry& e) { e.DeclaredSize = 20; }),
         {},
         ZipErrorInconsistent},
        {"a size that lies high",
         with([&text](RawZipEntry& e) {
             e.DeclaredSize = static_cast<std::int64_t>(text.size()) + 1;
         }),
         {},
         ZipErrorInconsistent},
        {"a stored size that lies", {"a.c", text, false, 3000}, {}, ZipErrorCrc},
        {"encrypted", with([](RawZipEntry& e) { e.Flags = 1; }), {}, ZipErrorEncrypted},
        {"another method", with([](RawZipEntry& e) { e.DeclaredMethod = 12; }), {}, ZipErrorMethod},
        {"deflated data that is not",
         with([](RawZipEntry& e) {
             e.Deflate = false;
             e.DeclaredMethod = 8;
             e.Data.insert(0, "\x07"); // a block of the reserved kind
         }),
         {},
         ZipErrorCompressedData},
    };
    TempFolder folder;
    for (const auto& [label, entry, layout, expected] : cases) {
        test::WriteBytes(folder / "a.pk3", MakeStoredZip({entry}, layout));
        Seen error;
        std::unique_ptr<ZipReader> reader = Open(folder / "a.pk3", error);
        ASSERT_TRUE(reader) << label;
        std::optional<std::string> read = Read(*reader, 0, MaxSize, error);
        if (expected == 0) {
            EXPECT_EQ(read, std::optional<std::string>(text)) << label << ": " << error.Description;
        } else {
            EXPECT_FALSE(read) << label;
            EXPECT_EQ(error.Number, expected) << label << ": " << error.Description;
        }
    }
}

// The local header must agree with the directory, and lie in the file,
// even when the file is cut short while the archive is open.
TEST(ZipReader, EntriesWhoseLocalHeaderFailsAreNotRead)
{
    const std::string bytes = MakeStoredZip({{"a.bot", "hello"}, {"b.bot", "world"}});
    std::string otherNameLength = bytes;
    otherNameLength[26] = 9;
    std::string badSignature = bytes;
    badSignature[0] = 'X';
    TempFolder folder;
    for (const std::string& damaged : {otherNameLength, badSignature}) {
        test::WriteBytes(folder / "a.pk3", damaged);
        Seen error;
        std::unique_ptr<ZipReader> reader = Open(folder / "a.pk3", error);
        ASSERT_TRUE(reader);
        EXPECT_FALSE(Read(*reader, 0, MaxSize, error));
        EXPECT_EQ(error.Number, ZipErrorInconsistent);
        EXPECT_EQ(Read(*reader, 1, MaxSize, error), std::string("world"));
    }
    test::WriteBytes(folder / "a.pk3", bytes);
    Seen error;
    std::unique_ptr<ZipReader> reader = Open(folder / "a.pk3", error);
    ASSERT_TRUE(reader);
    std::filesystem::resize_file(folder / "a.pk3", 38); // inside the first entry's data
    EXPECT_FALSE(Read(*reader, 0, MaxSize, error));
    EXPECT_FALSE(Read(*reader, 1, MaxSize, error));
    EXPECT_FALSE(Read(*reader, 2, MaxSize, error)) << "no such entry";
}

TEST(MakeZipArchive, WritesDeflatedEntriesThatReadBack)
{
    TempFolder folder;
    std::string text(5000, 'a');
    ASSERT_TRUE(test::WriteZipArchive(folder / "out.pk3",
                                      {{"botfiles/bots/x_c.c", text}, {"scripts/x.bot", "{}"}}));
    Seen error;
    auto reader = Open(folder / "out.pk3", error);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->EntryNames(),
              (std::vector<std::string>{"botfiles/bots/x_c.c", "scripts/x.bot"}));
    EXPECT_EQ(Read(*reader, 0, 10000, error), text);
    EXPECT_LT(std::filesystem::file_size(folder / "out.pk3"), 1000u)
        << "the entries are compressed";
}

TEST(MakeZipArchive, AFailedWriteKeepsTheOldArchive)
{
    TempFolder folder;
    ASSERT_TRUE(test::WriteZipArchive(folder / "out.pk3", {{"old.txt", "old"}}));
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
    bool written = test::WriteZipArchive(folder / "out.pk3", {{"new.bin", noise}});
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_FALSE(written);
    EXPECT_EQ(test::ReadBytes(folder / "out.pk3"), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no temporary archive is left";
}

TEST(MakeZipArchive, NamesWindows1252CannotHoldAreRefused)
{
    Result<std::string> made = MakeZipArchive({{"bots/\u0416.c", "x"}});
    ASSERT_FALSE(made);
    EXPECT_EQ(made.Error().Code, ZipErrorInvalid);
}

} // namespace
} // namespace twl
