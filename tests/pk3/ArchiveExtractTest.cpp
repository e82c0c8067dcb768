#include "pk3/ArchiveExtract.h"

#include "pk3/ZipArchive.h"
#include "support/ParamNames.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

const std::string IconBytes = "icon bytes \x01\x02\x03";

// --- An entry is found without regard to case, "\" standing for "/".

struct LookUpCase
{
    std::string Stored;
    std::string Asked;
};

void PrintTo(const LookUpCase& value, std::ostream* out)
{
    *out << value.Stored << " asked as " << value.Asked;
}

std::string LookUpName(const ::testing::TestParamInfo<LookUpCase>& info)
{
    return test::ReadableName(info.param.Asked, info.index);
}

class ReadArchiveEntryLookUp : public ::testing::TestWithParam<LookUpCase>
{};

TEST_P(ReadArchiveEntryLookUp, FindsTheEntryAsTheGameDoes)
{
    TempFolder game;
    ASSERT_FALSE(WriteZipArchive(
        game / "skins.pk3",
        {{"models/players/sarge/default.skin", "other"}, {GetParam().Stored, IconBytes}}));
    ScriptedMessages messages;
    EXPECT_EQ(ReadArchiveEntry("skins.pk3", GetParam().Asked, {game.Path()}, messages), IconBytes);
    EXPECT_TRUE(messages.Received().empty());
}

INSTANTIATE_TEST_SUITE_P(Names,
                         ReadArchiveEntryLookUp,
                         ::testing::Values(LookUpCase{"models/players/sarge/icon_blackops.tga",
                                                      "models/players/sarge/icon_blackops.tga"},
                                           LookUpCase{"models/players/sarge/icon_blackops.tga",
                                                      "models\\players\\sarge\\icon_blackops.tga"},
                                           LookUpCase{"models/players/sarge/icon_blackops.tga",
                                                      "MODELS/Players/Sarge/ICON_BLACKOPS.TGA"},
                                           LookUpCase{"Models/Players/Sarge/Icon_BlackOps.tga",
                                                      "models\\players\\sarge\\icon_blackops.tga"},
                                           LookUpCase{"models/players/sarge/icon_blackops.tga",
                                                      "Models\\players/SARGE\\icon_blackops.Tga"}),
                         LookUpName);

// --- What cannot be read gives nothing; only an archive that cannot be
// opened is reported.

struct FailureCase
{
    std::string Name;
    // The archive's bytes, made when the case runs; nothing: no archive file.
    std::function<std::optional<std::string>()> ArchiveBytes;
    std::string Asked;
    bool Reported;
};

void PrintTo(const FailureCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::string FailureName(const ::testing::TestParamInfo<FailureCase>& info)
{
    return test::ReadableName(info.param.Name, info.index);
}

// A stored zip whose entry's data no longer matches its checksum.
std::string DamagedZip()
{
    std::string bytes = test::MakeStoredZip({{"models/players/sarge/icon_red.tga", IconBytes}});
    std::size_t at = bytes.find(IconBytes);
    bytes[at] = 'X';
    return bytes;
}

std::string ArchiveWith(const std::string& name, const std::string& data)
{
    TempFolder scratch;
    EXPECT_FALSE(WriteZipArchive(scratch / "a.pk3", {{name, data}}));
    return test::ReadBytes(scratch / "a.pk3");
}

std::string RedIconArchive()
{
    return ArchiveWith("models/players/sarge/icon_red.tga", IconBytes);
}

class ReadArchiveEntryFailure : public ::testing::TestWithParam<FailureCase>
{};

TEST_P(ReadArchiveEntryFailure, GivesNothingAndReportsOnlyTheArchive)
{
    const FailureCase& failure = GetParam();
    TempFolder game;
    if (std::optional<std::string> bytes = failure.ArchiveBytes()) {
        test::WriteBytes(game / "skins.pk3", *bytes);
    }
    ScriptedMessages messages;
    EXPECT_FALSE(ReadArchiveEntry("skins.pk3", failure.Asked, {game.Path()}, messages));
    std::vector<ScriptedMessages::Message> expected;
    if (failure.Reported) {
        expected.push_back({ScriptedMessages::Kind::Inform,
                            "Load failed",
                            "Couldn't load " + failure.Asked +
                                " from skins.pk3. Check that the pk3-file still exists."});
    }
    EXPECT_EQ(messages.Received(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Failures,
    ReadArchiveEntryFailure,
    ::testing::Values(
        FailureCase{
            "Entry missing", RedIconArchive, "models\\players\\sarge\\icon_blue.tga", false},
        FailureCase{"Entry asked by an empty name", RedIconArchive, "", false},
        FailureCase{"Entry above the size limit",
                    [] {
                        return ArchiveWith("models/players/sarge/icon_red.tga",
                                           std::string(MaxArchiveEntrySize + 1, 'x'));
                    },
                    "models\\players\\sarge\\icon_red.tga",
                    false},
        FailureCase{"Entry damaged", DamagedZip, "models\\players\\sarge\\icon_red.tga", false},
        FailureCase{"Archive missing",
                    [] { return std::optional<std::string>(); },
                    "models\\players\\sarge\\icon_red.tga",
                    true},
        FailureCase{"Archive not a zip",
                    [] { return std::string(100, 'z'); },
                    "models\\players\\sarge\\icon_red.tga",
                    true},
        FailureCase{"Archive truncated",
                    [] { return RedIconArchive().substr(0, 40); },
                    "models\\players\\sarge\\icon_red.tga",
                    true}),
    FailureName);

} // namespace
} // namespace twl
