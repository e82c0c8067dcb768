// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/BotFileSet.h"

#include "botfiles/ScriptFile.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::FixturePath;
using test::FreshCatalogues;
using test::ReadBytes;
using test::ScriptedMessages;
using test::TempFolder;

std::vector<std::string> FilesUnder(const std::filesystem::path& folder)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(std::filesystem::relative(entry.path(), folder).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void ExpectSameFiles(const std::filesystem::path& actual, const std::filesystem::path& expected)
{
    ASSERT_EQ(FilesUnder(actual), FilesUnder(expected));
    for (const std::string& file : FilesUnder(expected)) {
        EXPECT_EQ(ReadBytes(actual / file), ReadBytes(expected / file)) << file;
    }
}

class SavingASet : public ::testing::Test
{
protected:
    Settings m_settings;
};

TEST_F(SavingASet, AverageBotMatchesItsGoldenFiles)
{
    TempFolder folder;
    ScriptedMessages messages;
    Bot bot;
    std::mt19937 random;
    ApplyAveragePreset(bot, FreshCatalogues().Chat, random);
    ASSERT_TRUE(
        SaveBotFileSet(bot, folder.Path(), false, false, FreshCatalogues(), m_settings, messages));
    ExpectSameFiles(folder.Path(), FixturePath("average-bot/expected"));
    EXPECT_TRUE(messages.Received().empty());
}

TEST_F(SavingASet, GameLayoutPutsTheScriptApart)
{
    TempFolder folder;
    ScriptedMessages messages;
    Bot bot;
    ApplyZeroPreset(bot);
    bot.SetBotPara(Para::Name, Value("TankJr"));
    ASSERT_TRUE(
        SaveBotFileSet(bot, folder.Path(), true, false, FreshCatalogues(), m_settings, messages));
    ExpectSameFiles(folder.Path(), FixturePath("zeros-tankjr/expected"));
    // Saving again overwrites the same five files.
    ASSERT_TRUE(
        SaveBotFileSet(bot, folder.Path(), true, false, FreshCatalogues(), m_settings, messages));
    ExpectSameFiles(folder.Path(), FixturePath("zeros-tankjr/expected"));
}

TEST_F(SavingASet, AFolderThatCannotBeMadeIsReported)
{
    TempFolder folder;
    ScriptedMessages messages;
    test::WriteBytes(folder / "botfiles", "a file, not a folder");
    Bot bot;
    ApplyZeroPreset(bot);
    EXPECT_FALSE(
        SaveBotFileSet(bot, folder.Path(), true, false, FreshCatalogues(), m_settings, messages));
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Title, "Write failed!");
    EXPECT_EQ(messages.Received()[0].Text.rfind(
                  "Couldn't write " + (folder / "botfiles").string() + ": ", 0),
              0u);
}

class LoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_bot.SetBotPara(Para::Model, Value("Keel"));
        m_bot.SetBotPara(Para::Skin, Value("Pi"));
        ApplyZeroPreset(m_bot);
    }

    bool Load(LoadType type,
              const std::filesystem::path& folder,
              const std::string& file,
              bool dirStruct = false,
              bool loadScript = false)
    {
        return LoadBotFiles(
            m_bot, type, folder, file, dirStruct, loadScript, FreshCatalogues(), m_messages);
    }

    Bot m_bot;
    ScriptedMessages m_messages;
};

TEST_F(LoadTest, HandWrittenBotLandsWhereItBelongs)
{
    EXPECT_TRUE(Load(LoadType::WholeBot, FixturePath("handwritten/input"), "sarge", false, true));
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_EQ(m_bot.BotPara(Para::Name), Value("Sarge"));
    EXPECT_EQ(m_bot.BotPara(Para::Gender), Value("male"));
    EXPECT_EQ(m_bot.BotPara(102), Value(0.25f));
    EXPECT_EQ(m_bot.BotPara(103), Value(0.3f));
    EXPECT_EQ(m_bot.BotPara(104), Value(0.2f));
    EXPECT_EQ(m_bot.BotPara(105), Value(1.0));
    EXPECT_EQ(m_bot.BotPara(106), Value(90.0));
    EXPECT_EQ(m_bot.BotPara(107), Value(2.0f));
    EXPECT_EQ(m_bot.BotPara(108), Value(0.1f));
    EXPECT_EQ(m_bot.BotPara(124), Value(0.35f));
    EXPECT_EQ(m_bot.BotPara(118), Value(std::int16_t{0}));
    EXPECT_EQ(m_bot.BotPara(402), Value(0.5f));
    EXPECT_EQ(m_bot.BotPara(407), Value(1.5f));
    EXPECT_EQ(m_bot.BotPara(429), Value(0.3f));
    EXPECT_EQ(m_bot.BotPara(502), Value(1.0));
    EXPECT_EQ(m_bot.BotPara(530), Value(0.6f));
    EXPECT_EQ(m_bot.BotPara(31), Value(400.0));
    EXPECT_EQ(m_bot.BotPara(32), Value(0.75f));

    EXPECT_EQ(m_bot.BotPara(44), Value(30.0));
    EXPECT_EQ(m_bot.BotPara(49), Value(300.0));
    EXPECT_EQ(m_bot.BotPara(50), Value(37.5f));
    EXPECT_EQ(m_bot.BotPara(54), Value(2.0));
    EXPECT_EQ(m_bot.BotPara(55), Value(1.0f));
    EXPECT_EQ(m_bot.BotPara(60), Value(120.0));
    EXPECT_EQ(m_bot.BotPara(68), Value(200.0));
    EXPECT_EQ(m_bot.BotPara(74), Value(400.0));
    EXPECT_EQ(m_bot.BotPara(80), Value(10.0));

    EXPECT_EQ(m_bot.BotChat(0, 0), "{{GAMEENTER0}}");
    EXPECT_EQ(m_bot.BotChat(0, 1), "Oh man, {LEVELTITLE} again?!?");
    EXPECT_EQ(m_bot.BotChat(0, 2), "Hi {ANYBOTNAME}, you {LOSER}!");
    EXPECT_EQ(m_bot.BotChat(1, 0), "{{GAMEEXIT1}}");
    EXPECT_EQ(m_bot.BotChat(5, 0), "{LEVELLOSER} won this one");
    EXPECT_EQ(m_bot.BotChat(24, 0), "{{TAUNT4}}");
    EXPECT_EQ(m_bot.BotChat(24, 1), "{{KILLINSULT12}}");
    EXPECT_EQ(m_bot.BotChat(24, 2), "{FIGHTER}");

    EXPECT_EQ(m_bot.BotPara(Para::Model), Value("sarge"));
    EXPECT_EQ(m_bot.BotPara(Para::Skin), Value("krusade"));
    EXPECT_EQ(m_bot.BotPara(Para::FunName), Value("^1Sarge color"));
    EXPECT_EQ(m_bot.BotPara(Para::RailColor), Value("4"));
    EXPECT_EQ(m_bot.BotPara(Para::ArenaLord), Value(std::int16_t{1}));
}

TEST_F(LoadTest, MissingFilesAreReportedInOrderAndTheLoadGoesOn)
{
    TempFolder folder;
    std::filesystem::copy_file(FixturePath("handwritten/input/sarge_w.c"), folder / "sarge_w.c");
    EXPECT_FALSE(Load(LoadType::WholeBot, folder.Path(), "sarge", false, true));
    std::vector<std::string> texts;
    for (const auto& message : m_messages.Received()) {
        EXPECT_EQ(message.Title, "Error during load");
        EXPECT_EQ(message.MessageKind, ScriptedMessages::Kind::Inform);
        texts.push_back(message.Text);
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Unable to find characteristics file for sarge.",
                                        "Unable to find item weight file for sarge.",
                                        "Unable to find chat file for sarge.",
                                        "Unable to find bot file for sarge."}));
    EXPECT_EQ(m_bot.BotPara(49), Value(300.0));
}

TEST_F(LoadTest, ScriptFromTheGameLayout)
{
    TempFolder game;
    std::filesystem::path bots = game / "baseq3" / "botfiles" / "bots";
    std::filesystem::create_directories(bots);
    std::filesystem::create_directories(game / "baseq3" / "scripts");
    for (const char* file : {"sarge_c.c", "sarge_w.c", "sarge_i.c", "sarge_t.c"}) {
        std::filesystem::copy_file(FixturePath("handwritten/input") / file, bots / file);
    }
    test::WriteBytes(game / "baseq3" / "scripts" / "sarge.bot", "model\tvisor/gorre\n");
    EXPECT_TRUE(Load(LoadType::WholeBot, bots, "sarge", true, true));
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_EQ(m_bot.BotPara(Para::Model), Value("visor"));
    EXPECT_EQ(m_bot.BotPara(Para::Skin), Value("gorre"));
}

TEST_F(LoadTest, ScriptOutsideTheGameLayoutGivesTheDefaults)
{
    m_bot.SetBotPara(Para::FunName, Value("old"));
    EXPECT_TRUE(Load(LoadType::WholeBot, FixturePath("handwritten/input"), "sarge", true, true));
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0],
              (ScriptedMessages::Message{
                  ScriptedMessages::Kind::Inform,
                  "Error!",
                  "Couldn't load the bot file because the directory structure doesn't "
                  "comply with the standard Q3 one..."}));
    // The name read is Sarge, a game bot: its own defaults.
    EXPECT_EQ(m_bot.BotPara(Para::Model), Value("Sarge"));
    EXPECT_EQ(m_bot.BotPara(Para::Skin), Value("Default"));
    EXPECT_EQ(m_bot.BotPara(Para::FunName), Value(""));
}

TEST_F(LoadTest, WithoutTheScriptModelAndSkinStay)
{
    EXPECT_TRUE(Load(LoadType::WholeBot, FixturePath("handwritten/input"), "sarge"));
    EXPECT_EQ(m_bot.BotPara(Para::Model), Value("Keel"));
    EXPECT_EQ(m_bot.BotPara(Para::Skin), Value("Pi"));
}

TEST_F(LoadTest, WholeBotResetsChatsAndPerWeaponValues)
{
    m_bot.SetBotChat(27, 3, "old chat");
    m_bot.SetBotPara(518, Value(0.9));
    Load(LoadType::WholeBot, FixturePath("handwritten/input"), "sarge");
    EXPECT_EQ(m_bot.ChatGroupUBound(27), 0);
    EXPECT_EQ(m_bot.BotPara(518), Value(std::int16_t{0}));
}

TEST_F(LoadTest, SingleCharacteristicFileKeepsTheGeneralValues)
{
    m_bot.SetBotPara(Para::Name, Value("Mine"));
    m_bot.SetBotPara(Para::Comment, Value("kept"));
    m_bot.SetBotPara(125, Value(0.9));
    EXPECT_TRUE(Load(LoadType::CharFile, FixturePath("handwritten/input"), "sarge_c.c"));
    EXPECT_EQ(m_bot.BotPara(Para::Name), Value("Mine"));
    EXPECT_EQ(m_bot.BotPara(Para::Comment), Value("kept"));
    EXPECT_EQ(m_bot.BotPara(125), Value(std::int16_t{0}));
    EXPECT_EQ(m_bot.BotPara(124), Value(0.35f));
}

TEST_F(LoadTest, SingleFilesThatHaveGone)
{
    TempFolder folder;
    m_bot.SetBotPara(119, Value(0.9));
    m_bot.SetBotChat(3, 1, "old");
    EXPECT_FALSE(Load(LoadType::CharFile, folder.Path(), "ghost_c.c"));
    EXPECT_FALSE(Load(LoadType::ChatFile, folder.Path(), "ghost_t.c"));
    EXPECT_EQ(m_bot.BotPara(119), Value(std::int16_t{0}));
    EXPECT_EQ(m_bot.ChatGroupUBound(3), 0);
    ASSERT_EQ(m_messages.Received().size(), 2u);
    EXPECT_EQ(m_messages.Received()[0].Text, "Unable to find characteristics file for ghost.");
    EXPECT_EQ(m_messages.Received()[1].Text, "Unable to find chat file for ghost.");
}

TEST_F(LoadTest, WeightFilesAlone)
{
    EXPECT_TRUE(Load(LoadType::WeaponFile, FixturePath("handwritten/input"), "sarge_w.c"));
    EXPECT_EQ(m_bot.BotPara(49), Value(300.0));
    EXPECT_EQ(m_bot.BotPara(60), Value(std::int16_t{0}));
    EXPECT_TRUE(Load(LoadType::ItemFile, FixturePath("handwritten/input"), "sarge_i.c"));
    EXPECT_EQ(m_bot.BotPara(60), Value(120.0));
}

TEST_F(LoadTest, EndingsInOtherCaseFindTheFile)
{
    TempFolder folder;
    std::filesystem::copy_file(FixturePath("handwritten/input/sarge_c.c"), folder / "SARGE_C.C");
    EXPECT_TRUE(Load(LoadType::CharFile, folder.Path(), "SARGE_C.C"));
    EXPECT_EQ(m_bot.BotPara(124), Value(0.35f));
}

TEST(ScriptFolderOf, FollowsTheGameLayout)
{
    EXPECT_EQ(ScriptFolderOf("/q3/baseq3/botfiles/bots"),
              std::filesystem::path("/q3/baseq3/scripts"));
    EXPECT_EQ(ScriptFolderOf("/q3/baseq3/botfiles/bots/"),
              std::filesystem::path("/q3/baseq3/scripts"));
    EXPECT_FALSE(ScriptFolderOf("/q3/baseq3/botfiles"));
    EXPECT_FALSE(ScriptFolderOf("/home/me/Bots"));
    EXPECT_FALSE(ScriptFolderOf("/q3/botfilesbots"));
}

} // namespace
} // namespace twl
