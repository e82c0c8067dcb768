#include "session/SkinIcon.h"

#include "pk3/ZipArchive.h"
#include "support/ParamNames.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TgaBytes.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <chrono>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;
using Kind = IconChoice::Kind;

const RgbaImage Blackops = test::PatternImage(16, 12, false, false);

std::string BlackopsTga()
{
    test::TgaOptions options;
    options.RunLength = true;
    return test::MakeTga(Blackops, options);
}

// A game folder whose skins.pk3 holds a good icon and some bad ones, and
// whose broken.pk3 is no zip.
class GameWithIcons
{
public:
    GameWithIcons()
    {
        std::filesystem::create_directories(m_game / "baseq3");
        std::string huge = BlackopsTga();
        test::SetHeaderWord(huge, 12, 65535);
        const std::string good = BlackopsTga();
        EXPECT_FALSE(
            WriteZipArchive(m_game / "baseq3" / "skins.pk3",
                            {{"models/players/sarge/icon_blackops.tga", good},
                             {"models/players/sarge/icon_cut.tga", good.substr(0, good.size() - 3)},
                             {"models/players/sarge/icon_text.tga", std::string(40, 'x')},
                             {"models/players/sarge/icon_huge.tga", huge}}));
        test::WriteBytes(m_game / "baseq3" / "broken.pk3", std::string(64, 'z'));
    }

    std::vector<std::filesystem::path> Folders() const { return {m_game / "baseq3"}; }

private:
    TempFolder m_game;
};

// --- What the icon box shows for a skin.

struct ChoiceCase
{
    std::string Name;
    std::string IconFile;
    std::string PK3File;
    bool CanShowIcons;
    Kind Expected;
    bool Reported; // "Couldn't load ..." was shown
};

void PrintTo(const ChoiceCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::string ChoiceName(const ::testing::TestParamInfo<ChoiceCase>& info)
{
    return test::ReadableName(info.param.Name, info.index);
}

class SkinIconChoice : public ::testing::TestWithParam<ChoiceCase>
{};

TEST_P(SkinIconChoice, ShowsTheIconOrTheFixedImageThatFits)
{
    const ChoiceCase& choice = GetParam();
    GameWithIcons game;
    ScriptedMessages messages;
    IconChoice shown = SkinIconReader().Choose(
        choice.IconFile, choice.PK3File, choice.CanShowIcons, game.Folders(), messages);
    EXPECT_EQ(shown.Shows, choice.Expected);
    EXPECT_EQ(shown.Image, choice.Expected == Kind::Skin ? Blackops : RgbaImage());
    std::vector<ScriptedMessages::Message> expected;
    if (choice.Reported) {
        expected.push_back({ScriptedMessages::Kind::Inform,
                            "Load failed",
                            "Couldn't load " + choice.IconFile + " from " + choice.PK3File +
                                ". Check that the pk3-file still exists."});
    }
    EXPECT_EQ(messages.Received(), expected);
}

const std::string SargeIcon = "models\\players\\sarge\\icon_";

INSTANTIATE_TEST_SUITE_P(
    Skins,
    SkinIconChoice,
    ::testing::Values(
        ChoiceCase{"Neither icon nor archive", "", "", true, Kind::NotInUse, false},
        ChoiceCase{"User skin", "", "UserDef", true, Kind::UserSkin, false},
        ChoiceCase{"User skin with an icon path",
                   SargeIcon + "blackops.tga",
                   "UserDef",
                   true,
                   Kind::UserSkin,
                   false},
        ChoiceCase{"Icon in its archive",
                   SargeIcon + "blackops.tga",
                   "skins.pk3",
                   true,
                   Kind::Skin,
                   false},
        ChoiceCase{"Icon named in another case",
                   "Models\\Players\\Sarge\\ICON_BLACKOPS.tga",
                   "skins.pk3",
                   true,
                   Kind::Skin,
                   false},
        ChoiceCase{"Icon named with slashes",
                   "models/players/sarge/icon_blackops.tga",
                   "skins.pk3",
                   true,
                   Kind::Skin,
                   false},
        ChoiceCase{"Icons off, icon in its archive",
                   SargeIcon + "blackops.tga",
                   "skins.pk3",
                   false,
                   Kind::Empty,
                   false},
        ChoiceCase{"Icons off, user skin", "", "UserDef", false, Kind::Empty, false},
        ChoiceCase{"Icons off, neither", "", "", false, Kind::Empty, false},
        ChoiceCase{"Icons off, archive missing",
                   SargeIcon + "red.tga",
                   "gone.pk3",
                   false,
                   Kind::Empty,
                   false},
        ChoiceCase{
            "Archive missing", SargeIcon + "red.tga", "gone.pk3", true, Kind::NotFound, true},
        ChoiceCase{
            "Archive not a zip", SargeIcon + "red.tga", "broken.pk3", true, Kind::NotFound, true},
        ChoiceCase{"Icon not in the archive",
                   SargeIcon + "red.tga",
                   "skins.pk3",
                   true,
                   Kind::NotFound,
                   false},
        ChoiceCase{
            "Icon truncated", SargeIcon + "cut.tga", "skins.pk3", true, Kind::NotFound, false},
        ChoiceCase{
            "Icon not a picture", SargeIcon + "text.tga", "skins.pk3", true, Kind::NotFound, false},
        ChoiceCase{
            "Icon 65535 wide", SargeIcon + "huge.tga", "skins.pk3", true, Kind::NotFound, false},
        ChoiceCase{"Archive without an icon path", "", "skins.pk3", true, Kind::NotFound, false},
        ChoiceCase{"Icon path without an archive",
                   SargeIcon + "blackops.tga",
                   "",
                   true,
                   Kind::NotFound,
                   false}),
    ChoiceName);

// --- The archive kept open between choices follows the file.

struct Step
{
    enum Action
    {
        Write,  // writes Archive with Icons (entry name, picture number)
        Remove, // removes Archive
        Spoil,  // writes Archive as bytes that are no zip
        Choose  // chooses the skin with icon Entry of Archive
    };

    Action Do;
    std::string Archive;
    std::vector<std::pair<std::string, int>> Icons;
    std::string Entry;
    int Picture = 0; // the picture shown; 0: notfound
    bool Reported = false;
};

Step Writing(const std::string& archive, std::vector<std::pair<std::string, int>> icons)
{
    return {Step::Write, archive, std::move(icons), "", 0, false};
}

Step Removing(const std::string& archive)
{
    return {Step::Remove, archive, {}, "", 0, false};
}

Step Spoiling(const std::string& archive)
{
    return {Step::Spoil, archive, {}, "", 0, false};
}

Step Choosing(const std::string& archive,
              const std::string& entry,
              int picture,
              bool reported = false)
{
    return {Step::Choose, archive, {}, entry, picture, reported};
}

struct KeptCase
{
    std::string Name;
    std::vector<Step> Steps;
};

void PrintTo(const KeptCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::string KeptName(const ::testing::TestParamInfo<KeptCase>& info)
{
    return test::ReadableName(info.param.Name, info.index);
}

// Pictures 1 and 3 have the same size, so that their archives do too.
RgbaImage Picture(int number)
{
    switch (number) {
    case 1:
        return test::PatternImage(16, 12, false, false);
    case 2:
        return test::PatternImage(8, 8, false, false);
    default:
        return test::PatternImage(16, 12, true, false);
    }
}

class SkinIconKeptArchive : public ::testing::TestWithParam<KeptCase>
{};

TEST_P(SkinIconKeptArchive, ShowsWhatTheArchiveHoldsNow)
{
    TempFolder game;
    ScriptedMessages messages;
    SkinIconReader reader;
    // Every write is two seconds later than the one before, as a file
    // changed by hand would be.
    const auto start = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    int writes = 0;
    int number = 0;
    for (const Step& step : GetParam().Steps) {
        ++number;
        const std::filesystem::path path = game / step.Archive;
        if (step.Do == Step::Write || step.Do == Step::Spoil) {
            std::vector<test::RawZipEntry> entries;
            for (const auto& [entry, picture] : step.Icons) {
                entries.push_back({entry, test::MakeTga(Picture(picture), test::TgaOptions{})});
            }
            test::WriteBytes(path,
                             step.Do == Step::Write ? test::MakeStoredZip(entries)
                                                    : std::string(100, 'z'));
            std::filesystem::last_write_time(path, start + std::chrono::seconds(2 * ++writes));
            continue;
        }
        if (step.Do == Step::Remove) {
            std::filesystem::remove(path);
            continue;
        }
        messages.Clear();
        IconChoice shown = reader.Choose(step.Entry, step.Archive, true, {game.Path()}, messages);
        EXPECT_EQ(shown.Shows, step.Picture == 0 ? Kind::NotFound : Kind::Skin)
            << "step " << number;
        EXPECT_EQ(shown.Image, step.Picture == 0 ? RgbaImage() : Picture(step.Picture))
            << "step " << number;
        EXPECT_EQ(messages.Received().size(), step.Reported ? 1u : 0u) << "step " << number;
    }
}

const std::string Red = "models/players/sarge/icon_red.tga";
const std::string Blue = "models/players/sarge/icon_blue.tga";

INSTANTIATE_TEST_SUITE_P(
    Sequences,
    SkinIconKeptArchive,
    ::testing::Values(KeptCase{"Skins of one archive",
                               {Writing("a.pk3", {{Red, 1}, {Blue, 2}}),
                                Choosing("a.pk3", Red, 1),
                                Choosing("a.pk3", Blue, 2),
                                Choosing("a.pk3", Red, 1),
                                Choosing("a.pk3", "models/players/sarge/icon_x.tga", 0)}},
                      KeptCase{"Archive rewritten",
                               {Writing("a.pk3", {{Red, 1}}),
                                Choosing("a.pk3", Red, 1),
                                Writing("a.pk3", {{Red, 2}}),
                                Choosing("a.pk3", Red, 2)}},
                      KeptCase{"Archive rewritten at the same size",
                               {Writing("a.pk3", {{Red, 1}}),
                                Choosing("a.pk3", Red, 1),
                                Writing("a.pk3", {{Red, 3}}),
                                Choosing("a.pk3", Red, 3)}},
                      KeptCase{"Archive removed and back",
                               {Writing("a.pk3", {{Red, 1}}),
                                Choosing("a.pk3", Red, 1),
                                Removing("a.pk3"),
                                Choosing("a.pk3", Red, 0, true),
                                Writing("a.pk3", {{Red, 2}}),
                                Choosing("a.pk3", Red, 2)}},
                      KeptCase{"Archive emptied",
                               {Writing("a.pk3", {{Red, 1}}),
                                Choosing("a.pk3", Red, 1),
                                Writing("a.pk3", {}),
                                Choosing("a.pk3", Red, 0, false)}},
                      KeptCase{"Archive spoilt and mended",
                               {Writing("a.pk3", {{Red, 1}}),
                                Choosing("a.pk3", Red, 1),
                                Spoiling("a.pk3"),
                                Choosing("a.pk3", Red, 0, true),
                                Choosing("a.pk3", Red, 0, true),
                                Writing("a.pk3", {{Red, 3}}),
                                Choosing("a.pk3", Red, 3)}},
                      KeptCase{"Between two archives",
                               {Writing("a.pk3", {{Red, 1}}),
                                Writing("b.pk3", {{Red, 2}}),
                                Choosing("a.pk3", Red, 1),
                                Choosing("b.pk3", Red, 2),
                                Choosing("a.pk3", Red, 1)}}),
    KeptName);

// --- The fixed images by name.

TEST(FixedImageName, NamesTheImageOfEachFixedChoice)
{
    const std::vector<std::pair<Kind, std::string>> names = {{Kind::Empty, ""},
                                                             {Kind::Skin, ""},
                                                             {Kind::NotInUse, "notinuse"},
                                                             {Kind::UserSkin, "userdef"},
                                                             {Kind::NotFound, "notfound"}};
    for (const auto& [kind, name] : names) {
        EXPECT_EQ(FixedImageName(kind), name) << static_cast<int>(kind);
    }
}

// --- The editor's selected skin: its catalogue entry, its game folder.

struct SelectionCase
{
    std::string Name;
    bool GameFolderSet;
    std::int16_t Model; // -1: Sarge
    std::int16_t Skin;
    Kind Expected;
};

void PrintTo(const SelectionCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::string SelectionName(const ::testing::TestParamInfo<SelectionCase>& info)
{
    return test::ReadableName(info.param.Name, info.index);
}

class SkinIconOfSelection : public ::testing::TestWithParam<SelectionCase>
{};

TEST_P(SkinIconOfSelection, TakesTheSkinOfTheCatalogueAndTheGameFolder)
{
    const SelectionCase& selection = GetParam();
    TempFolder settings;
    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    ASSERT_FALSE(WriteZipArchive(game / "baseq3" / "pak0.pk3",
                                 {{"models/players/sarge/icon_default.tga", BlackopsTga()}}));
    ScriptedMessages messages;
    BotEditor editor(settings.Path(), messages);
    editor.Start();
    if (selection.GameFolderSet) {
        editor.CurrentSettings().Text(Settings::Q3Baseq3) = game.Path().string();
    }
    editor.InitByValues();

    const ModelCatalogue& models = editor.CurrentCatalogues().Models;
    std::int16_t model = selection.Model;
    for (std::size_t i = 0; i < models.size() && model < 0; ++i) {
        if (models[i].Name == "Sarge") {
            model = static_cast<std::int16_t>(i);
        }
    }
    IconChoice shown = SkinIconReader().Choose(editor, {model, selection.Skin}, messages);
    EXPECT_EQ(shown.Shows, selection.Expected);
    EXPECT_EQ(shown.Image, selection.Expected == Kind::Skin ? Blackops : RgbaImage());
    EXPECT_TRUE(messages.Received().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Selections,
    SkinIconOfSelection,
    ::testing::Values(SelectionCase{"Sarge default", true, -1, 0, Kind::Skin},
                      SelectionCase{"Sarge red, not in the archive", true, -1, 1, Kind::NotFound},
                      SelectionCase{"No game folder", false, -1, 0, Kind::Empty},
                      SelectionCase{"Skin past the last", true, -1, 99, Kind::Empty},
                      SelectionCase{"Negative skin", true, -1, -1, Kind::Empty},
                      SelectionCase{"Model past the last", true, 999, 0, Kind::Empty}),
    SelectionName);

} // namespace
} // namespace twl
