// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/SkinIcon.h"

#include "pk3/ZipArchive.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TgaBytes.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;
using Kind = IconChoice::Kind;

// Pictures 1 and 3 have the same size, and so have their files.
RgbaImage Picture(int number)
{
    return number == 2 ? test::PatternImage(8, 8, false, false)
                       : test::PatternImage(16, 12, number == 3, false);
}

std::string Tga(int number)
{
    return test::MakeTga(Picture(number), test::TgaOptions{});
}

const std::string Red = "models/players/sarge/icon_red.tga";

void ExpectShown(const IconChoice& shown, int picture, Kind kind)
{
    EXPECT_EQ(shown.Shows, picture != 0 ? Kind::Skin : kind);
    EXPECT_EQ(shown.Image, picture != 0 ? Picture(picture) : RgbaImage());
}

TEST(SkinIconReader, ShowsTheIconOrTheFixedImageThatFits)
{
    struct Case
    {
        const char* Name;
        std::string IconFile;
        std::string PK3File;
        bool CanShowIcons;
        Kind Expected;
        bool Reported; // "Couldn't load ..."
    };

    const std::string icon = "Models\\Players\\Sarge\\ICON_RED.tga";
    const std::vector<Case> cases = {
        {"neither icon nor archive", "", "", true, Kind::NotInUse, false},
        {"user skin", icon, "UserDef", true, Kind::UserSkin, false},
        {"icon in its archive", icon, "skins.pk3", true, Kind::Skin, false},
        {"icons off", icon, "skins.pk3", false, Kind::Empty, false},
        {"archive missing", icon, "gone.pk3", true, Kind::NotFound, true},
        {"icon not in the archive",
         "models\\players\\sarge\\icon_x.tga",
         "skins.pk3",
         true,
         Kind::NotFound,
         false},
        {"icon damaged",
         "models/players/sarge/icon_cut.tga",
         "skins.pk3",
         true,
         Kind::NotFound,
         false},
        {"icon but no archive", icon, "", true, Kind::NotFound, false},
    };
    TempFolder game;
    const std::string red = Tga(1);
    ASSERT_TRUE(test::WriteZipArchive(
        game / "skins.pk3",
        {{Red, red}, {"models/players/sarge/icon_cut.tga", red.substr(0, red.size() - 1)}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedMessages messages;
        IconChoice shown =
            SkinIconReader().Choose(c.IconFile, c.PK3File, c.CanShowIcons, {game.Path()}, messages);
        ExpectShown(shown, c.Expected == Kind::Skin ? 1 : 0, c.Expected);
        std::vector<ScriptedMessages::Message> expected;
        if (c.Reported) {
            expected.push_back({ScriptedMessages::Kind::Inform,
                                "Load failed",
                                "Couldn't load " + c.IconFile + " from " + c.PK3File +
                                    ". Check that the pk3-file still exists."});
        }
        EXPECT_EQ(messages.Received(), expected);
    }
}

TEST(SkinIconReader, TakesTheSelectedSkinAndTheEditorsGameFolder)
{
    struct Case
    {
        const char* Name;
        bool GameFolderSet;
        std::int16_t Skin; // of Sarge
        Kind Expected;
    };

    const std::vector<Case> cases = {{"Sarge's red skin", true, 1, Kind::Skin},
                                     {"no game folder", false, 1, Kind::Empty},
                                     {"a skin past the last", true, 99, Kind::Empty}};
    TempFolder settings;
    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    ASSERT_TRUE(test::WriteZipArchive(game / "baseq3" / "pak0.pk3", {{Red, Tga(1)}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedMessages messages;
        BotEditor editor(settings.Path(), messages);
        editor.Start();
        editor.CurrentSettings().Text(Settings::Q3Baseq3) =
            c.GameFolderSet ? game.Path().string() : "";
        editor.InitByValues();
        const ModelCatalogue& models = editor.CurrentCatalogues().Models;
        auto sarge = std::find_if(
            models.begin(), models.end(), [](const ModelEntry& m) { return m.Name == "Sarge"; });
        ASSERT_NE(sarge, models.end());
        const ModelSelection selection{static_cast<std::int16_t>(sarge - models.begin()), c.Skin};
        ExpectShown(SkinIconReader().Choose(editor, selection, messages),
                    c.Expected == Kind::Skin ? 1 : 0,
                    c.Expected);
        EXPECT_TRUE(messages.Received().empty());
    }
}

// The archive kept open between choices follows its file.
TEST(SkinIconReader, ShowsWhatTheArchiveHoldsNow)
{
    // "write a 1": a.pk3 holds picture 1 as the red icon; "spoil a": a.pk3
    // becomes bytes that are no zip; "remove a"; "show a 1": the red icon of
    // a.pk3 shows picture 1 ("show a 0": notfound, "show a 0!": with the
    // message).
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"rewritten at the same size", {"write a 1", "show a 1", "write a 3", "show a 3"}},
        {"removed, spoilt and mended",
         {"write a 1",
          "show a 1",
          "remove a",
          "show a 0!",
          "spoil a",
          "show a 0!",
          "write a 2",
          "show a 2"}},
        {"between two archives", {"write a 1", "write b 2", "show a 1", "show b 2", "show a 1"}},
    };
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        TempFolder game;
        SkinIconReader reader;
        // Every write two seconds after the one before, as a file changed by hand.
        auto time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        for (const std::string& step : steps) {
            SCOPED_TRACE(step);
            std::istringstream words(step);
            std::string action;
            std::string archive;
            std::string picture;
            words >> action >> archive >> picture;
            archive += ".pk3";
            const int number = picture.empty() ? 0 : picture[0] - '0';
            if (action == "write" || action == "spoil") {
                test::WriteBytes(game / archive,
                                 action == "write" ? test::MakeStoredZip({{Red, Tga(number)}})
                                                   : std::string(100, 'z'));
                std::filesystem::last_write_time(game / archive, time += std::chrono::seconds(2));
            } else if (action == "remove") {
                std::filesystem::remove(game / archive);
            } else {
                ScriptedMessages messages;
                ExpectShown(reader.Choose(Red, archive, true, {game.Path()}, messages),
                            number,
                            Kind::NotFound);
                EXPECT_EQ(messages.Received().size(), picture.back() == '!' ? 1u : 0u);
            }
        }
    }
}

} // namespace
} // namespace twl
