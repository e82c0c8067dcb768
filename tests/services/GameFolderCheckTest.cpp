// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/GameFolderCheck.h"

#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <fstream>

namespace twl {
namespace {

using test::FindBot;
using test::ScriptedMessages;
using test::SkinNames;
using test::TempFolder;

// A game folder with archives made for the test.
class GameFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_game / "baseq3");
        m_catalogues = test::FreshCatalogues();
        m_settings.Text(Settings::Q3Baseq3) = m_game.Path().string();
    }

    void Archive(const std::string& name,
                 const std::vector<std::string>& entries,
                 const std::filesystem::path& in = {})
    {
        std::vector<ZipEntry> zipEntries;
        for (const std::string& entry : entries) {
            zipEntries.push_back({entry, "data of " + entry});
        }
        std::filesystem::path folder = in.empty() ? m_game / "baseq3" : in;
        ASSERT_TRUE(test::WriteZipArchive(folder / name, zipEntries));
    }

    std::vector<std::filesystem::path> Folders() const { return {m_game / "baseq3"}; }

    bool Check() { return CheckGameFolder(m_settings, m_catalogues, Folders(), m_messages); }

    TempFolder m_game;
    Catalogues m_catalogues;
    Settings m_settings;
    ScriptedMessages m_messages;
};

TEST_F(GameFolderTest, OnlyTheGamesOwnArchiveAddsNothing)
{
    Archive("pak0.pk3", {"botfiles/bots/sarge_c.c", "models/players/sarge/icon_default.tga"});
    EXPECT_TRUE(Check());
    EXPECT_EQ(m_catalogues.Bots.size(), 32u);
    EXPECT_EQ(m_catalogues.Models.size(), 23u);
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_TRUE(m_settings.BaseQ3Checked);
}

TEST_F(GameFolderTest, ArchivesAddBotsModelsAndSkins)
{
    Archive("zz-sarge.pk3", {"botfiles/bots/sarge_c.c", "models/players/sarge/icon_blackops.tga"});
    Archive("bot-Johnny.pk3", {"botfiles/bots/johnny_c.c", "scripts/johnny.bot"});
    EXPECT_TRUE(Check());
    const BotListEntry* sarge = FindBot(m_catalogues.Bots, "Sarge");
    ASSERT_NE(sarge, nullptr);
    EXPECT_FALSE(sarge->IsOriginal);
    EXPECT_EQ(sarge->PK3File, "zz-sarge.pk3");
    ASSERT_NE(FindBot(m_catalogues.Bots, "Johnny"), nullptr);
    std::vector<std::string> names;
    for (const BotListEntry& entry : m_catalogues.Bots) {
        names.push_back(entry.Name);
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    for (const ModelEntry& model : m_catalogues.Models) {
        if (model.Name == "Sarge") {
            EXPECT_EQ(SkinNames(model),
                      (std::vector<std::string>{
                          "Default", "Red", "Blue", "Blackops", "Krusade", "Roderic"}));
        }
    }
}

TEST_F(GameFolderTest, TheCheckTwiceGivesTheSameLists)
{
    Archive("a.pk3", {"botfiles/bots/sarge_c.c", "models/players/newguy/icon_default.tga"});
    Archive("b.pk3", {"models/players/sarge/icon_blackops.tga", "scripts/x.bot"});
    ASSERT_TRUE(Check());
    Catalogues first = m_catalogues;
    ASSERT_TRUE(Check());
    ASSERT_EQ(m_catalogues.Bots.size(), first.Bots.size());
    for (std::size_t i = 0; i < first.Bots.size(); ++i) {
        EXPECT_EQ(m_catalogues.Bots[i].Name, first.Bots[i].Name);
        EXPECT_EQ(m_catalogues.Bots[i].PK3File, first.Bots[i].PK3File);
        EXPECT_EQ(m_catalogues.Bots[i].IsOriginal, first.Bots[i].IsOriginal);
    }
    ASSERT_EQ(m_catalogues.Models.size(), first.Models.size());
    for (std::size_t i = 0; i < first.Models.size(); ++i) {
        EXPECT_EQ(SkinNames(m_catalogues.Models[i]), SkinNames(first.Models[i]));
    }
}

TEST_F(GameFolderTest, BrokenArchivesAreReportedAndTheScanGoesOn)
{
    test::WriteBytes(m_game / "baseq3" / "a-notazip.pk3", "just text");
    test::WriteBytes(m_game / "baseq3" / "b-empty.pk3", "");
    std::filesystem::create_directories(m_game / "baseq3" / "c-folder.pk3");
    Archive("d-good.pk3", {"botfiles/bots/goodie_c.c"});
    std::string whole = test::ReadBytes(m_game / "baseq3" / "d-good.pk3");
    test::WriteBytes(m_game / "baseq3" / "e-cut.pk3", whole.substr(0, whole.size() / 2));
    // An archive that cannot be opened at all (its link points nowhere).
    std::filesystem::create_symlink(m_game / "nowhere.pk3", m_game / "baseq3" / "f-gone.pk3");
    EXPECT_TRUE(Check());
    EXPECT_NE(FindBot(m_catalogues.Bots, "Goodie"), nullptr);
    ASSERT_EQ(m_messages.Received().size(), 4u);
    for (const ScriptedMessages::Message& message : m_messages.Received()) {
        EXPECT_EQ(message.MessageKind, ScriptedMessages::Kind::Note);
        EXPECT_NE(message.Text.find("  Error in pk3 browsing:  "), std::string::npos)
            << message.Text;
    }
    EXPECT_EQ(m_messages.Received()[0].Text,
              "19  Error in pk3 browsing:  Not a zip archive: " +
                  (m_game / "baseq3" / "a-notazip.pk3").string());
    EXPECT_EQ(m_messages.Received()[3].Text,
              "9  Error in pk3 browsing:  No such file: " +
                  (m_game / "baseq3" / "f-gone.pk3").string());
}

TEST_F(GameFolderTest, AnArchiveTheUserCannotReadIsReported)
{
    Archive("locked.pk3", {"botfiles/bots/x_c.c"});
    std::filesystem::permissions(m_game / "baseq3" / "locked.pk3", std::filesystem::perms::none);
    std::ifstream probe(m_game / "baseq3" / "locked.pk3");
    if (probe.good()) {
        GTEST_SKIP() << "running as root: permissions do not stop reading";
    }
    EXPECT_TRUE(Check());
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_NE(m_messages.Received()[0].Text.find("Error in pk3 browsing"), std::string::npos);
}

TEST_F(GameFolderTest, WithoutAGameFolderNothingChanges)
{
    AddBotEntry(m_catalogues.Bots, "Johnny", "x.pk3", false);
    m_settings.Text(Settings::Q3Baseq3) = "";
    EXPECT_FALSE(Check());
    EXPECT_EQ(m_catalogues.Bots.size(), 33u);
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0],
              (ScriptedMessages::Message{
                  ScriptedMessages::Kind::Warn,
                  "Can't check folder",
                  "Quake III Arena folder isn't set. Use 'Program/Options' to set it."}));
}

TEST_F(GameFolderTest, ArchiveEntriesGoUserEntriesStay)
{
    AddModelSkin(m_catalogues.Models, "Mixed", "Default", "UserDef", "");
    AddModelSkin(m_catalogues.Models, "Mixed", "Blackops", "gone.pk3", "");
    AddModelSkin(m_catalogues.Models, "Vanished", "Default", "gone.pk3", "");
    AddBotEntry(m_catalogues.Bots, "Ghost", "gone.pk3", false);
    EXPECT_TRUE(Check());
    EXPECT_EQ(FindBot(m_catalogues.Bots, "Ghost"), nullptr);
    bool mixedFound = false;
    for (const ModelEntry& model : m_catalogues.Models) {
        EXPECT_NE(model.Name, "Vanished");
        if (model.Name == "Mixed") {
            mixedFound = true;
            EXPECT_EQ(SkinNames(model), std::vector<std::string>{"Default"});
        }
    }
    EXPECT_TRUE(mixedFound);
}

TEST_F(GameFolderTest, TheSelectionFollowsItsModelAndSkin)
{
    Archive("m.pk3", {"models/players/aaa/icon_default.tga", "models/players/sarge/icon_aaa.tga"});
    std::int16_t modelIndex = 16; // Sarge
    std::int16_t skinIndex = 3;   // Krusade
    ASSERT_EQ(m_catalogues.Models[16].Skins[3].Name, "Krusade");
    ASSERT_TRUE(CheckGameFolder(
        m_settings, m_catalogues, Folders(), m_messages, {}, &modelIndex, &skinIndex));
    EXPECT_EQ(m_catalogues.Models[static_cast<std::size_t>(modelIndex)].Name, "Sarge");
    EXPECT_EQ(m_catalogues.Models[static_cast<std::size_t>(modelIndex)]
                  .Skins[static_cast<std::size_t>(skinIndex)]
                  .Name,
              "Krusade");
}

TEST_F(GameFolderTest, ProgressCanStopTheScanBetweenArchives)
{
    Archive("a.pk3", {"botfiles/bots/first_c.c"});
    Archive("b.pk3", {"botfiles/bots/second_c.c"});
    std::vector<std::pair<std::size_t, std::size_t>> calls;
    bool complete = CheckGameFolder(
        m_settings, m_catalogues, Folders(), m_messages, [&](std::size_t k, std::size_t n) {
            calls.emplace_back(k, n);
            return k < 1;
        });
    EXPECT_FALSE(complete);
    EXPECT_FALSE(m_settings.BaseQ3Checked);
    EXPECT_EQ(calls, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 2}, {1, 2}}));
    EXPECT_NE(FindBot(m_catalogues.Bots, "First"), nullptr);
    EXPECT_EQ(FindBot(m_catalogues.Bots, "Second"), nullptr);
}

TEST_F(GameFolderTest, TheUsersCopyOfAnArchiveWins)
{
    TempFolder home;
    std::filesystem::path userFolder = home / ".q3a" / "baseq3";
    std::filesystem::create_directories(userFolder);
    Archive("same.pk3", {"botfiles/bots/fromgame_c.c"});
    Archive("same.pk3", {"botfiles/bots/fromuser_c.c"}, userFolder);
    std::vector<std::filesystem::path> folders = GameArchiveFolders(m_game.Path(), home.Path(), "");
    ASSERT_EQ(folders.size(), 2u);
    ASSERT_TRUE(CheckGameFolder(m_settings, m_catalogues, folders, m_messages));
    EXPECT_NE(FindBot(m_catalogues.Bots, "Fromuser"), nullptr);
    EXPECT_EQ(FindBot(m_catalogues.Bots, "Fromgame"), nullptr);
    EXPECT_EQ(ResolveGameArchive(folders, "same.pk3"), userFolder / "same.pk3");
    EXPECT_FALSE(ResolveGameArchive(folders, "../same.pk3"));
}

} // namespace
} // namespace twl
