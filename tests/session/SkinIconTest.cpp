#include "session/SkinIcon.h"

#include "pk3/ZipArchive.h"
#include "support/ParamNames.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TgaBytes.h"

#include <gtest/gtest.h>

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

class ChooseSkinIconCases : public ::testing::TestWithParam<ChoiceCase>
{};

TEST_P(ChooseSkinIconCases, ShowsTheIconOrTheFixedImageThatFits)
{
    const ChoiceCase& choice = GetParam();
    GameWithIcons game;
    ScriptedMessages messages;
    IconChoice shown = ChooseSkinIcon(
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
    ChooseSkinIconCases,
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

class ChooseSkinIconOfSelection : public ::testing::TestWithParam<SelectionCase>
{};

TEST_P(ChooseSkinIconOfSelection, TakesTheSkinOfTheCatalogueAndTheGameFolder)
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
    IconChoice shown = ChooseSkinIcon(editor, {model, selection.Skin}, messages);
    EXPECT_EQ(shown.Shows, selection.Expected);
    EXPECT_EQ(shown.Image, selection.Expected == Kind::Skin ? Blackops : RgbaImage());
    EXPECT_TRUE(messages.Received().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Selections,
    ChooseSkinIconOfSelection,
    ::testing::Values(SelectionCase{"Sarge default", true, -1, 0, Kind::Skin},
                      SelectionCase{"Sarge red, not in the archive", true, -1, 1, Kind::NotFound},
                      SelectionCase{"No game folder", false, -1, 0, Kind::Empty},
                      SelectionCase{"Skin past the last", true, -1, 99, Kind::Empty},
                      SelectionCase{"Negative skin", true, -1, -1, Kind::Empty},
                      SelectionCase{"Model past the last", true, 999, 0, Kind::Empty}),
    SelectionName);

} // namespace
} // namespace twl
