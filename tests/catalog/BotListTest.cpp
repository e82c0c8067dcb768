// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/BotList.h"

#include "core/TextCase.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

const ScriptedMessages::Message BotListLoadError{
    ScriptedMessages::Kind::Warn,
    "Load error",
    "Errors occured when trying to load botlist file. Please use Tools/CheckBaseq3 to correct the "
    "bot list."};

std::vector<std::string> Names(const BotList& bots)
{
    std::vector<std::string> names;
    for (const BotListEntry& entry : bots) {
        names.push_back(entry.Name);
    }
    return names;
}

std::ptrdiff_t PositionOf(const BotList& bots, const std::string& name)
{
    std::vector<std::string> names = Names(bots);
    return std::find(names.begin(), names.end(), name) - names.begin();
}

class BotListTest : public ::testing::Test
{
protected:
    void Load() { LoadBotList(m_bots, m_folder.Path(), m_messages); }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    BotList m_bots;
};

TEST_F(BotListTest, WithoutAUserFileHunterStandsBeforeHossman)
{
    Load();
    ASSERT_EQ(m_bots.size(), 32u);
    EXPECT_EQ(m_bots[11].Name, "Hunter");
    EXPECT_EQ(m_bots[12].Name, "Hossman");
    for (const BotListEntry& entry : m_bots) {
        EXPECT_TRUE(entry.IsOriginal);
        EXPECT_FALSE(entry.HasBotFile);
        EXPECT_EQ(entry.PK3File, "pak0.pk3");
    }
}

TEST_F(BotListTest, AUserFileEvenWithOnlyItsTitleSorts)
{
    test::WriteBytes(m_folder / "twl_bots", "[Tarnwell additional bots list]\r\n");
    Load();
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_LT(PositionOf(m_bots, "Hossman"), PositionOf(m_bots, "Hunter"));
    std::vector<std::string> names = Names(m_bots);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST_F(BotListTest, AnArchiveEntryTakesOverAGameBot)
{
    Load();
    AddBotEntry(m_bots, "sarge", "sarge-remix.pk3", true);
    ASSERT_EQ(m_bots.size(), 32u);
    const BotListEntry& sarge = m_bots[static_cast<std::size_t>(PositionOf(m_bots, "Sarge"))];
    EXPECT_FALSE(sarge.IsOriginal);
    EXPECT_EQ(sarge.PK3File, "sarge-remix.pk3");
    EXPECT_TRUE(sarge.HasBotFile);

    AddBotEntry(m_bots, "johnny", "bot-Johnny.pk3", false);
    EXPECT_EQ(m_bots.back().Name, "Johnny");
    AddBotEntry(m_bots, "JOHNNY", "other.pk3", true);
    EXPECT_EQ(m_bots.size(), 33u);
    EXPECT_EQ(m_bots.back().Name, "JOHNNY");
    EXPECT_EQ(m_bots.back().PK3File, "other.pk3");

    RemoveArchiveBots(m_bots);
    EXPECT_EQ(m_bots.size(), 31u) << "the taken-over Sarge goes with the archive entries";
    EXPECT_EQ(PositionOf(m_bots, "Sarge"), 31);
}

TEST_F(BotListTest, RoundTripThroughTheUserFile)
{
    Load();
    AddBotEntry(m_bots, "Johnny", "bot-Johnny.pk3", true);
    AddBotEntry(m_bots, "Anarki", "anarki2.pk3", false);
    ASSERT_TRUE(SaveUserBots(m_bots, m_folder.Path(), m_messages).Ok());
    EXPECT_EQ(test::ReadBytes(m_folder / "twl_bots"),
              "[Tarnwell additional bots list]\r\n"
              "\"Anarki\",\"anarki2.pk3\",#FALSE#\r\n"
              "\"Johnny\",\"bot-Johnny.pk3\",#TRUE#\r\n");

    BotList read;
    LoadBotList(read, m_folder.Path(), m_messages);
    SortBotList(m_bots);
    ASSERT_EQ(Names(read), Names(m_bots));
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].PK3File, m_bots[i].PK3File);
        EXPECT_EQ(read[i].IsOriginal, m_bots[i].IsOriginal);
        EXPECT_EQ(read[i].HasBotFile, m_bots[i].HasBotFile);
    }
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(BotListTest, NothingToStoreLeavesTheOldFile)
{
    Load();
    test::WriteBytes(m_folder / "twl_bots", "old");
    ASSERT_TRUE(SaveUserBots(m_bots, m_folder.Path(), m_messages).Ok());
    EXPECT_EQ(test::ReadBytes(m_folder / "twl_bots"), "old");
}

TEST_F(BotListTest, DamagedLinesAreReportedOnceAndGoodOnesKept)
{
    test::WriteBytes(m_folder / "twl_bots",
                     "[Tarnwell additional bots list]\n"
                     "\"Alpha\",\"a.pk3\"\n"
                     "\"Beta\",\"b.pk3\",#TRUE#\n"
                     "\"Gamma\",\"c.pk3\",#MAYBE#\n"
                     "\"Delta\",\"d.pk3\",#FALSE#");
    Load();
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0], BotListLoadError);
    EXPECT_EQ(PositionOf(m_bots, "Alpha"), static_cast<std::ptrdiff_t>(m_bots.size()));
    EXPECT_EQ(PositionOf(m_bots, "Gamma"), static_cast<std::ptrdiff_t>(m_bots.size()));
    ASSERT_LT(PositionOf(m_bots, "Beta"), static_cast<std::ptrdiff_t>(m_bots.size()));
    EXPECT_LT(PositionOf(m_bots, "Delta"), static_cast<std::ptrdiff_t>(m_bots.size()));
    std::vector<std::string> names = Names(m_bots);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST_F(BotListTest, EmptyFileIsReported)
{
    test::WriteBytes(m_folder / "twl_bots", "");
    Load();
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0], BotListLoadError);
    EXPECT_EQ(m_bots.size(), 32u);
}

TEST_F(BotListTest, NameWithADoubleQuoteIsNotStored)
{
    Load();
    AddBotEntry(m_bots, "Bad\"Name", "x.pk3", false);
    AddBotEntry(m_bots, "Good", "y.pk3", false);
    ASSERT_TRUE(SaveUserBots(m_bots, m_folder.Path(), m_messages).Ok());
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Not stored");
    EXPECT_EQ(test::ReadBytes(m_folder / "twl_bots"),
              "[Tarnwell additional bots list]\r\n\"Good\",\"y.pk3\",#FALSE#\r\n");
}

// The bot a command asks for comes out of the user's list as the whole
// read has it (the last line of its name, a game bot taken over), with the
// same report of a damaged file.
TEST(LoadBotListFor, GivesTheBotAsTheWholeListHasIt)
{
    const std::string title = "[Tarnwell additional bots list]\r\n";
    const std::vector<std::string> files = {
        title + "\"Kit\",\"kit.pk3\",#TRUE#\r\n\"Fox\",\"fox.pk3\",#FALSE#\r\n",
        title + "\"kit\",\"old.pk3\",#FALSE#\r\n\"KIT\",\"new.pk3\",#TRUE#\r\n",
        title + "\"Sarge\",\"sarge2.pk3\",#TRUE#\r\n\"Fox\",\"fox.pk3\"\r\n",
        title + "\"Caf\xE9\",\"caf\xE9.pk3\",1\r\n\r\n\"Kit\",\"kit.pk3\",#MAYBE#\r\n",
        "",
    };
    for (const std::string& file : files) {
        for (const std::string name : {"kit", "Fox", "sarge", "CAF\xC3\x89", "nobody"}) {
            TempFolder folder;
            test::WriteBytes(folder / "twl_bots", file);
            ScriptedMessages wholeMessages;
            BotList whole;
            LoadBotList(whole, folder.Path(), wholeMessages);
            ScriptedMessages oneMessages;
            BotList one;
            LoadBotListFor(one, folder.Path(), name, oneMessages);
            EXPECT_EQ(oneMessages.Received(), wholeMessages.Received()) << file << name;
            auto find = [&name](const BotList& bots) {
                return std::find_if(bots.begin(), bots.end(), [&name](const BotListEntry& entry) {
                    return LowerCase(entry.Name) == LowerCase(name);
                });
            };
            ASSERT_EQ(find(one) == one.end(), find(whole) == whole.end()) << file << name;
            if (find(one) != one.end()) {
                EXPECT_EQ(find(one)->PK3File, find(whole)->PK3File) << file << name;
                EXPECT_EQ(find(one)->HasBotFile, find(whole)->HasBotFile) << file << name;
                EXPECT_EQ(find(one)->IsOriginal, find(whole)->IsOriginal) << file << name;
            }
        }
    }
}

TEST(SortBotList, CharacterCodeOrderAndStable)
{
    BotList bots;
    for (auto [name, pk3] : {std::pair{"b", "1"}, {"Z", "2"}, {"a", "3"}, {"Z", "4"}}) {
        BotListEntry entry;
        entry.Name = name;
        entry.PK3File = pk3;
        bots.push_back(entry);
    }
    SortBotList(bots);
    EXPECT_EQ(Names(bots), (std::vector<std::string>{"Z", "Z", "a", "b"}));
    EXPECT_EQ(bots[0].PK3File, "2");
    EXPECT_EQ(bots[1].PK3File, "4");
}

} // namespace
} // namespace twl
