// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/ArchiveBotLoad.h"

#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/ZipArchive.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace twl {
namespace {

using test::FreshCatalogues;
using test::ScriptedMessages;
using test::TempFolder;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The five entries of a bot's files as the game keeps them in an archive.
std::vector<ZipEntry>
BotEntries(const Bot& bot, bool withScript, const std::string& folderCase = "botfiles/bots/")
{
    const Catalogues& catalogues = FreshCatalogues();
    Settings settings;
    std::string name = bot.BotPara(Para::LowerName).ToText();
    std::vector<ZipEntry> entries = {
        {folderCase + name + "_c.c", Joined(CharFileLines(bot, catalogues.CharNames, settings))},
        {folderCase + name + "_w.c", Joined(WeaponFileLines(bot, catalogues.CharNames, settings))},
        {folderCase + name + "_i.c", Joined(ItemFileLines(bot, catalogues.CharNames, settings))},
        {folderCase + name + "_t.c", Joined(ChatFileLines(bot, catalogues.Chat, settings))},
    };
    if (withScript) {
        entries.push_back({"scripts/" + name + ".bot", Joined(ScriptFileLines(bot, settings))});
    }
    return entries;
}

class ArchiveLoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_game / "baseq3");
        m_catalogues = FreshCatalogues();
        m_settings.Text(Settings::Q3Baseq3) = m_game.Path().string();

        ApplyZeroPreset(m_johnny);
        m_johnny.SetBotPara(Para::Name, Value("Johnny"));
        m_johnny.SetBotPara(102, Value(0.75));
        m_johnny.SetBotPara(49, Value(std::int16_t{300}));
        m_johnny.SetBotPara(60, Value(std::int16_t{120}));
        m_johnny.SetBotChat(0, 0, "Hi {RANDOMOPP}!");
        m_johnny.SetBotPara(Para::Model, Value("Keel"));
        m_johnny.SetBotPara(Para::Skin, Value("Red"));
        m_johnny.SetBotPara(Para::FunName, Value("^2Johnny"));
    }

    void Archive(const std::string& name, const std::vector<ZipEntry>& entries)
    {
        ASSERT_TRUE(test::WriteZipArchive(m_game / "baseq3" / name, entries));
    }

    std::vector<std::filesystem::path> Folders() const { return {m_game / "baseq3"}; }

    bool LoadListed(Bot& bot, const std::string& listName, LoadType type = LoadType::WholeBot)
    {
        for (std::size_t id = 0; id < m_catalogues.Bots.size(); ++id) {
            if (m_catalogues.Bots[id].Name == listName) {
                return LoadListedBot(
                    bot, id, type, m_settings, m_catalogues, Folders(), m_messages);
            }
        }
        ADD_FAILURE() << listName << " is not listed";
        return false;
    }

    TempFolder m_game;
    Catalogues m_catalogues;
    Settings m_settings;
    ScriptedMessages m_messages;
    Bot m_johnny;
};

TEST_F(ArchiveLoadTest, WholeBotWithItsScript)
{
    Archive("bot-Johnny.pk3", BotEntries(m_johnny, true));
    AddBotEntry(m_catalogues.Bots, "Johnny", "bot-Johnny.pk3", true);
    Bot bot;
    ASSERT_TRUE(LoadListed(bot, "Johnny"));
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Johnny"));
    EXPECT_EQ(bot.BotPara(102), Value(0.75f));
    EXPECT_EQ(bot.BotPara(49), Value(300.0));
    EXPECT_EQ(bot.BotPara(60), Value(120.0));
    EXPECT_EQ(bot.BotChat(0, 0), "Hi {RANDOMOPP}!");
    EXPECT_EQ(bot.BotPara(Para::Model), Value("keel"));
    EXPECT_EQ(bot.BotPara(Para::Skin), Value("red"));
    EXPECT_EQ(bot.BotPara(Para::FunName), Value("^2Johnny"));
}

TEST_F(ArchiveLoadTest, GameBotWithoutAScriptGetsTheDefaults)
{
    Bot sarge;
    ApplyZeroPreset(sarge);
    sarge.SetBotPara(Para::Name, Value("Sarge"));
    Archive("pak0.pk3", BotEntries(sarge, false, "BotFiles/Bots/"));
    Bot bot;
    ASSERT_TRUE(LoadListed(bot, "Sarge"));
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_EQ(bot.BotPara(Para::Model), Value("Sarge"));
    EXPECT_EQ(bot.BotPara(Para::ArenaLord), Value(std::int16_t{1}));
}

TEST_F(ArchiveLoadTest, SingleFilesGoIntoTheCurrentBot)
{
    Archive("bot-Johnny.pk3", BotEntries(m_johnny, true));
    AddBotEntry(m_catalogues.Bots, "Johnny", "bot-Johnny.pk3", true);
    Bot bot;
    ApplyZeroPreset(bot);
    bot.SetBotChat(3, 0, "kept");
    ASSERT_TRUE(LoadListed(bot, "Johnny", LoadType::WeaponFile));
    EXPECT_EQ(bot.BotPara(49), Value(300.0));
    EXPECT_EQ(bot.BotPara(60), Value(std::int16_t{0}));
    ASSERT_TRUE(LoadListed(bot, "Johnny", LoadType::ItemFile));
    EXPECT_EQ(bot.BotPara(60), Value(120.0));
    ASSERT_TRUE(LoadListed(bot, "Johnny", LoadType::CharFile));
    EXPECT_EQ(bot.BotPara(102), Value(0.75f));
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Bot"))
        << "a single characteristic file keeps the name";
    ASSERT_TRUE(LoadListed(bot, "Johnny", LoadType::ChatFile));
    EXPECT_EQ(bot.BotChat(0, 0), "Hi {RANDOMOPP}!");
    EXPECT_EQ(bot.BotChat(3, 0), "") << "the chat file's empty block is read over the old line";
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(ArchiveLoadTest, AMissingEntryGivesUpAndKeepsTheBot)
{
    std::vector<ZipEntry> entries = BotEntries(m_johnny, false);
    entries.erase(entries.begin() + 2); // no item file
    Archive("bot-Johnny.pk3", entries);
    AddBotEntry(m_catalogues.Bots, "Johnny", "bot-Johnny.pk3", false);
    Bot bot;
    std::mt19937 random;
    ApplyAveragePreset(bot, m_catalogues.Chat, random);
    Value before = bot.BotPara(102);
    EXPECT_FALSE(LoadListed(bot, "Johnny"));
    EXPECT_EQ(bot.BotPara(102), before);
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Bot"));
    ASSERT_EQ(m_messages.Received().size(), 2u);
    EXPECT_EQ(m_messages.Received()[0],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Inform,
                                         "Load failed",
                                         "Couldn't load botfiles/bots/johnny_i.c from "
                                         "bot-Johnny.pk3. Check that the pk3-file still exists.\n"
                                         "The archive has no such entry."}));
    EXPECT_EQ(m_messages.Received()[1],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Inform,
                                         "Operation cancelled!",
                                         "Bot Johnny not loaded."}));
}

TEST_F(ArchiveLoadTest, AScriptTheListPromisesButTheArchiveLacks)
{
    Archive("bot-Johnny.pk3", BotEntries(m_johnny, false));
    AddBotEntry(m_catalogues.Bots, "Johnny", "bot-Johnny.pk3", true);
    Bot bot;
    EXPECT_FALSE(LoadListed(bot, "Johnny"));
    ASSERT_EQ(m_messages.Received().size(), 2u);
    EXPECT_EQ(m_messages.Received()[0].Text,
              "Couldn't load scripts/johnny.bot from bot-Johnny.pk3. Check that the pk3-file still "
              "exists.\nThe archive has no such entry.");
}

TEST_F(ArchiveLoadTest, AnArchiveThatIsGone)
{
    AddBotEntry(m_catalogues.Bots, "Johnny", "bot-Johnny.pk3", true);
    Bot bot;
    EXPECT_FALSE(LoadListed(bot, "Johnny"));
    ASSERT_EQ(m_messages.Received().size(), 2u);
    EXPECT_EQ(m_messages.Received()[0].Text,
              "Couldn't load botfiles/bots/johnny_c.c from bot-Johnny.pk3. Check that the pk3-file "
              "still exists.\nNo archive of that name is in the game's folders.");
    EXPECT_EQ(m_messages.Received()[1].Text, "Bot Johnny not loaded.");
}

TEST_F(ArchiveLoadTest, WithoutAGameFolderNothingIsLoaded)
{
    m_settings.Text(Settings::Q3Baseq3) = "";
    Bot bot;
    EXPECT_FALSE(
        LoadListedBot(bot, 0, LoadType::WholeBot, m_settings, m_catalogues, Folders(), m_messages));
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0],
              (ScriptedMessages::Message{
                  ScriptedMessages::Kind::Warn,
                  "Can't check folder",
                  "Quake III Arena folder isn't set. Use 'Program/Options' to set it."}));
}

TEST_F(ArchiveLoadTest, OversizedEntriesAreNotRead)
{
    std::vector<ZipEntry> entries = BotEntries(m_johnny, false);
    entries[0].Bytes += "//" + std::string(MaxArchiveEntrySize, 'x');
    Archive("bot-Johnny.pk3", entries);
    AddBotEntry(m_catalogues.Bots, "Johnny", "bot-Johnny.pk3", false);
    Bot bot;
    EXPECT_FALSE(LoadListed(bot, "Johnny"));
    EXPECT_EQ(m_messages.Received()[0].Title, "Load failed");
}

TEST_F(ArchiveLoadTest, AnEntryWhoseSizeLiesIsNotRead)
{
    std::vector<test::RawZipEntry> raw;
    for (const ZipEntry& entry : BotEntries(m_johnny, false)) {
        raw.push_back({entry.Name, entry.Bytes});
    }
    raw[0].DeclaredSize = 10;
    test::WriteBytes(m_game / "baseq3" / "bot-Johnny.pk3", test::MakeStoredZip(raw));
    AddBotEntry(m_catalogues.Bots, "Johnny", "bot-Johnny.pk3", false);
    Bot bot;
    EXPECT_FALSE(LoadListed(bot, "Johnny"));
    EXPECT_EQ(m_messages.Received()[0].Text,
              "Couldn't load botfiles/bots/johnny_c.c from bot-Johnny.pk3. Check that the pk3-file "
              "still exists.\nThe entry could not be read: CRC error.");
}

TEST_F(ArchiveLoadTest, NamesThatAreNoFileNamesAreRefused)
{
    Bot bot;
    EXPECT_FALSE(LoadBotFromArchive(bot,
                                    LoadType::WholeBot,
                                    "x.pk3",
                                    "../../evil",
                                    false,
                                    Folders(),
                                    m_catalogues,
                                    m_messages));
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Load failed");
}

} // namespace
} // namespace twl
