// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/ArchiveScan.h"

#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

#include <fstream>

namespace twl {
namespace {

using test::FindBot;
using test::ScriptedMessages;
using test::SkinNames;
using test::TempFolder;

class ClassifyTest : public ::testing::Test
{
protected:
    void Classify(const std::vector<std::string>& entries, const std::string& pk3 = "extra.pk3")
    {
        std::vector<std::string_view> names(entries.begin(), entries.end());
        ClassifyArchiveEntries(names, pk3, m_models, m_bots, m_messages);
    }

    ModelCatalogue m_models;
    BotList m_bots;
    ScriptedMessages m_messages;
};

TEST_F(ClassifyTest, IconsMakeModelsAndSkins)
{
    Classify({"models/players/blackops/icon_default.tga",
              "models/players/blackops/icon_red.tga",
              "models/players/blackops/icon_blue.tga",
              "models/players/blackops/lower.md3"});
    ASSERT_EQ(m_models.size(), 1u);
    EXPECT_EQ(m_models[0].Name, "Blackops");
    EXPECT_EQ(SkinNames(m_models[0]), (std::vector<std::string>{"Default", "Red", "Blue"}));
    for (const SkinEntry& skin : m_models[0].Skins) {
        EXPECT_EQ(skin.PK3File, "extra.pk3");
        EXPECT_FALSE(skin.IsOriginal);
    }
    EXPECT_EQ(m_models[0].Skins[1].IconFile, "models\\players\\blackops\\icon_red.tga");
}

TEST_F(ClassifyTest, ABotHasItsScriptWhicheverComesFirst)
{
    Classify({"botfiles/bots/johnny_c.c", "scripts/johnny.bot"});
    Classify({"scripts/mary.bot", "botfiles/bots/mary_c.c"}, "other.pk3");
    ASSERT_EQ(m_bots.size(), 2u);
    EXPECT_EQ(m_bots[0].Name, "Johnny");
    EXPECT_TRUE(m_bots[0].HasBotFile);
    EXPECT_EQ(m_bots[1].Name, "Mary");
    EXPECT_TRUE(m_bots[1].HasBotFile);
    EXPECT_EQ(m_bots[1].PK3File, "other.pk3");
}

TEST_F(ClassifyTest, ABotWithoutItsOwnScriptHasNone)
{
    Classify({"scripts/johnny.bot", "botfiles/bots/johnny_c.c", "botfiles/bots/lonely_c.c"});
    const BotListEntry* lonely = FindBot(m_bots, "Lonely");
    ASSERT_NE(lonely, nullptr);
    EXPECT_FALSE(lonely->HasBotFile);
}

TEST_F(ClassifyTest, BotsTxtIsReported)
{
    Classify({"scripts/bots.txt", "scripts/arenas.txt"});
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Warn,
                                         "Bots.txt found!",
                                         "extra.pk3 has an additional 'bots.txt' file!"}));
    EXPECT_TRUE(m_bots.empty());
}

TEST_F(ClassifyTest, EntriesWithoutTheEndOfANameOrThatWouldEscapeAreSkipped)
{
    Classify({"models/players/icon_x.tga",
              "models/players/nomodel",
              "models/players/keel/icon_noext",
              "botfiles/bots/../../etc/evil_c.c",
              "botfiles/bots/_c.c",
              "scripts/sub/dir.bot",
              "botfiles/bots/",
              ""});
    EXPECT_TRUE(m_models.empty());
    EXPECT_TRUE(m_bots.empty());
}

TEST_F(ClassifyTest, EndingsInOtherCaseStillGiveTheName)
{
    Classify({"botfiles/bots/Grumpy_C.C", "SCRIPTS/Grumpy.BOT"});
    ASSERT_EQ(m_bots.size(), 1u);
    EXPECT_EQ(m_bots[0].Name, "Grumpy");
    EXPECT_TRUE(m_bots[0].HasBotFile);
}

// Names in any case and with letters beyond ASCII are found as the plain
// lower-case ones are, the text between the markers kept as it stands.
TEST_F(ClassifyTest, NamesInAnyCaseAndBeyondAsciiAreFound)
{
    Classify({"MODELS/Players/Caf\u00E9/ICON_Rouge.TGA",
              "models/players/\u00C9CLAIR/icon_x.tga",
              "textures/icons/blank.tga",
              "SCRIPTS/zo\u00EB.bot",
              "botfiles/bots/ZO\u00CB_c.c",
              "BOTFILES/BOTS/\u00C5SA_C.C"});
    ASSERT_EQ(m_models.size(), 2u);
    EXPECT_EQ(m_models[0].Name, "Caf\u00E9");
    EXPECT_EQ(SkinNames(m_models[0]), (std::vector<std::string>{"Rouge"}));
    EXPECT_EQ(m_models[0].Skins[0].IconFile, "MODELS\\Players\\Caf\u00E9\\ICON_Rouge.TGA");
    EXPECT_EQ(m_models[1].Name, "\u00C9CLAIR");
    const BotListEntry* zoe = FindBot(m_bots, "ZO\u00CB");
    ASSERT_NE(zoe, nullptr);
    EXPECT_TRUE(zoe->HasBotFile);
    const BotListEntry* asa = FindBot(m_bots, "\u00C5SA");
    ASSERT_NE(asa, nullptr);
    EXPECT_FALSE(asa->HasBotFile);
}

TEST(IconPathFromEntry, BackslashesFromTheModelsFolderOn)
{
    EXPECT_EQ(IconPathFromEntry("models/players/sarge/icon_blackops.tga"),
              "models\\players\\sarge\\icon_blackops.tga");
    EXPECT_EQ(IconPathFromEntry("  \nxmodels/players/a/icon_b.tga "),
              "models\\players\\a\\icon_b.tga");
}

TEST(GameArchives, DataHomeDefaultsUnderHome)
{
    TempFolder game;
    TempFolder home;
    std::filesystem::create_directories(home / ".local" / "share" / "Quake3" / "baseq3");
    std::vector<std::filesystem::path> folders = GameArchiveFolders(game.Path(), home.Path(), "");
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[1], home / ".local" / "share" / "Quake3" / "baseq3");
}

} // namespace
} // namespace twl
