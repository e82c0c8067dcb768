// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/GameVocabulary.h"

#include "pk3/ZipArchive.h"
#include "services/ArchiveBotLoad.h"
#include "services/GameFolderCheck.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace twl {
namespace {

using test::FindBot;
using test::ScriptedMessages;
using test::TempFolder;

const char* const AngelyssChars = "#include \"chars.h\"\n"
                                  "skill 1\n{\n\tCHARACTERISTIC_NAME\t\"Angelyss\"\n"
                                  "\tCHARACTERISTIC_GENDER\t\"female\"\n"
                                  "\tCHARACTERISTIC_ATTACK_SKILL\t0.3\n}\n";

// A folder of a game like OpenArena, made for the test: its data in
// baseoa, a later archive whose bot list wins, and a player's folder whose
// loose files win over every archive.
class OpenArenaLikeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_data = m_game / "baseoa";
        m_player = m_home / ".openarena" / "baseoa";
        std::filesystem::create_directories(m_player / "botfiles");
        Archive("pak0.pk3",
                {{"models/players/sarge/icon_default.tga", "tga"},
                 {"models/players/angelyss/icon_retro.tga", "tga"},
                 {"botfiles/rnd.c", "HELLO = { \"hi\"; }\n"}});
        Archive("pak6-misc.pk3",
                {{"botfiles/bots/angelyss_c.c", AngelyssChars},
                 {"botfiles/bots/angelyss_w.c", "#include \"fuzw.c\"\n"},
                 {"botfiles/bots/angelyss_i.c", "#include \"fuzi.c\"\n"},
                 {"botfiles/bots/angelyss_t.c",
                  "chat \"angelyss\"\n{\n\ttype \"game_enter\"\n\t{\n\t\tHELLO0;\n\t}\n}\n"},
                 {"scripts/bots.txt", "{\nname Old\naifile bots/angelyss_c.c\n}\n"}});
        Archive(
            "pak6-patch088.pk3",
            {{"scripts/bots.txt",
              "// Angelyss model\n{\nname Angelyss\nmodel angelyss\naifile "
              "bots/angelyss_c.c\n}\n{\nname Murielle\nmodel angelyss/retro\nfunname "
              "^1Mu\ncolor1 3\naifile bots/angelyss_c.c\n}\n"},
             {"scripts/zz.bot", "{\nname murielle\naifile bots/other_c.c\n}\n{\nname Lost\n}\n"}});
        test::WriteBytes(m_player / "botfiles" / "rnd.c",
                         "HELLO0 = { \"hi\"; }\nTAUNT0 = { \"ha\"; }\npeeps = { \"folks\"; }\n");
        m_catalogues = test::FreshCatalogues();
        m_settings.Text(Settings::Q3Baseq3) = m_game.Path().string();
    }

    void Archive(const std::string& name, const std::vector<ZipEntry>& entries)
    {
        std::filesystem::create_directories(m_data);
        ASSERT_TRUE(test::WriteZipArchive(m_data / name, entries));
    }

    std::vector<std::filesystem::path> Folders() const { return {m_data, m_player}; }

    bool Check() { return CheckGameFolder(m_settings, m_catalogues, Folders(), m_messages); }

    TempFolder m_game;
    TempFolder m_home;
    std::filesystem::path m_data;
    std::filesystem::path m_player;
    Catalogues m_catalogues;
    Settings m_settings;
    ScriptedMessages m_messages;
};

// The titles of the messages received, in order.
std::vector<std::string> Titles(const ScriptedMessages& messages)
{
    std::vector<std::string> titles;
    for (const auto& message : messages.Received()) {
        titles.push_back(message.Title);
    }
    return titles;
}

std::vector<std::string> BotNames(const BotList& bots)
{
    std::vector<std::string> names;
    for (const BotListEntry& entry : bots) {
        names.push_back(entry.Name);
    }
    return names;
}

TEST_F(OpenArenaLikeTest, TheBotListAndTheChatListsAreTheGames)
{
    ASSERT_TRUE(Check());
    // The later bots.txt wins; a .bot's bot of a name taken is not the game's.
    EXPECT_EQ(BotNames(m_catalogues.Bots),
              (std::vector<std::string>{"Angelyss", "Lost", "Murielle"}));
    const BotListEntry* murielle = FindBot(m_catalogues.Bots, "Murielle");
    ASSERT_NE(murielle, nullptr);
    EXPECT_EQ(murielle->PK3File, "pak6-misc.pk3");
    EXPECT_EQ(murielle->Info.Value("model"), "angelyss/retro");
    EXPECT_EQ(FindBot(m_catalogues.Bots, "Lost")->PK3File, "");
    // The warning names the file, its archive and the line of the bot the
    // game cannot add.
    ASSERT_EQ(Titles(m_messages), (std::vector<std::string>{"Game files"}));
    EXPECT_NE(m_messages.Received().back().Text.find(
                  "scripts/zz.bot of pak6-patch088.pk3, line 5: the bot Lost has no aifile"),
              std::string::npos);

    // The player's rnd.c wins over the archive's.
    const ChatCatalogue& chat = m_catalogues.Chat;
    EXPECT_EQ(chat.GameName, "OpenArena");
    EXPECT_EQ(chat.GameListNames, (std::vector<std::string>{"HELLO0", "TAUNT0", "peeps"}));
    // Quake III's built-in models are not this game's.
    std::vector<std::string> models;
    for (const ModelEntry& model : m_catalogues.Models) {
        models.push_back(model.Name);
    }
    EXPECT_EQ(models, (std::vector<std::string>{"Angelyss", "Sarge"}));
}

// Of two entries of one name in one archive the game reads the later.
TEST_F(OpenArenaLikeTest, OfTwoEntriesOfANameInAnArchiveTheLaterCounts)
{
    test::WriteBytes(m_data / "pak9.pk3",
                     test::MakeStoredZip(
                         {{"scripts/bots.txt", "{\nname Early\naifile bots/angelyss_c.c\n}\n"},
                          {"Scripts\\BOTS.txt", "{\nname Late\naifile bots/angelyss_c.c\n}\n"}}));
    ASSERT_TRUE(Check());
    std::vector<std::string> names = BotNames(m_catalogues.Bots);
    EXPECT_NE(std::find(names.begin(), names.end(), "Late"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Early"), names.end());
}

TEST_F(OpenArenaLikeTest, ABotOfTheListLoadsWithWhatTheListSays)
{
    ASSERT_TRUE(Check());
    const BotList& bots = m_catalogues.Bots;
    auto murielle = static_cast<std::size_t>(FindBot(bots, "Murielle") - bots.data());
    Bot bot;
    ASSERT_TRUE(LoadListedBot(
        bot, murielle, LoadType::WholeBot, m_settings, m_catalogues, Folders(), m_messages));
    EXPECT_EQ(bot.BotPara(Para::Name).ToText(), "Murielle");
    EXPECT_EQ(bot.BotPara(Para::Model).ToText(), "angelyss");
    EXPECT_EQ(bot.BotPara(Para::Skin).ToText(), "retro");
    EXPECT_EQ(bot.BotPara(Para::FunName).ToText(), "^1Mu");
    EXPECT_EQ(bot.BotPara(Para::RailColor).ToText(), "3");
    EXPECT_EQ(bot.BotPara(Para::Gender).ToText(), "female");
    // The chat file's HELLO0 is this game's member 0.
    EXPECT_EQ(bot.BotChat(0, 0), "{{GAMEENTER0}}");
    EXPECT_EQ(Titles(m_messages),
              (std::vector<std::string>{"Game files", "Weights kept", "Weights kept"}));

    auto lost = static_cast<std::size_t>(FindBot(bots, "Lost") - bots.data());
    EXPECT_FALSE(LoadListedBot(
        bot, lost, LoadType::WholeBot, m_settings, m_catalogues, Folders(), m_messages));
}

TEST_F(OpenArenaLikeTest, WhatWasReadIsKeptForTheNextStart)
{
    test::WriteBytes(m_player / "botfiles" / "fuzw.c", "weight \"x\"\n");
    ASSERT_TRUE(Check());
    TempFolder settings;
    ASSERT_TRUE(SaveUserLists(m_catalogues, settings.Path(), m_messages));

    Catalogues next = test::FreshCatalogues();
    LoadGameVocabulary(next, settings.Path(), m_game.Path().string(), m_messages);
    EXPECT_EQ(BotNames(next.Bots), (std::vector<std::string>{"Angelyss", "Lost", "Murielle"}));
    EXPECT_EQ(next.Chat.GameListNames, m_catalogues.Chat.GameListNames);
    EXPECT_EQ(next.Game.BotFileSources, m_catalogues.Game.BotFileSources);

    // The vocabulary alone gives the same lists, of the game's files only
    // those it is made of.
    Catalogues vocabulary = test::FreshCatalogues();
    LoadGameVocabulary(
        vocabulary, settings.Path(), m_game.Path().string(), m_messages, KeptFiles::Vocabulary);
    EXPECT_EQ(BotNames(vocabulary.Bots), BotNames(next.Bots));
    EXPECT_EQ(vocabulary.Chat.GameListNames, next.Chat.GameListNames);
    EXPECT_EQ(vocabulary.Game.BotFileSources, next.Game.BotFileSources);
    EXPECT_GT(next.Game.Files.size(), vocabulary.Game.Files.size());
    for (const auto& [path, file] : next.Game.Files) {
        EXPECT_EQ(vocabulary.Game.File(path) != nullptr, IsVocabularyFile(path)) << path;
    }

    // Kept for another game folder: the built-in lists stand.
    Catalogues other = test::FreshCatalogues();
    LoadGameVocabulary(other, settings.Path(), "/elsewhere", m_messages);
    EXPECT_EQ(other.Bots.size(), 32u);
    EXPECT_TRUE(other.Chat.GameName.empty());

    // Damaged: said once, and the built-in lists stand.
    test::WriteBytes(settings / "twl_game" / "index", "[Tarnwell game files]\r\nnonsense\r\n");
    Catalogues damaged = test::FreshCatalogues();
    LoadGameVocabulary(damaged, settings.Path(), m_game.Path().string(), m_messages);
    EXPECT_EQ(damaged.Bots.size(), 32u);
    EXPECT_EQ(m_messages.Received().back().Title, "Load error");
}

TEST_F(OpenArenaLikeTest, FilesTheGameCannotReadAreSaidAndTheTablesServe)
{
    test::WriteBytes(m_player / "botfiles" / "rnd.c", "HELLO0 = { \"hi\" }\n");
    std::filesystem::create_directories(m_player / "scripts");
    test::WriteBytes(m_player / "scripts" / "bots.txt", "name Nobody\n");
    test::WriteBytes(m_player / "scripts" / "esc.bot", "{\nname \"Esc\x1b[2J\"\n}\n");
    ASSERT_TRUE(Check());
    const std::string& text = m_messages.Received().back().Text;
    EXPECT_NE(text.find("scripts/bots.txt in " + m_player.string() + ", line 1: Missing {"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("botfiles/rnd.c in " + m_player.string() + ", line 1:"), std::string::npos);
    // A name from a file is shown with its control characters escaped.
    EXPECT_NE(text.find("the bot Esc\\x1B[2J has no aifile"), std::string::npos) << text;
    EXPECT_TRUE(m_catalogues.Chat.GameName.empty());
    EXPECT_TRUE(m_catalogues.Chat.HasList("TAUNT"));
    EXPECT_EQ(BotNames(m_catalogues.Bots),
              (std::vector<std::string>{"Esc\x1b[2J", "Lost", "murielle"}));
}

} // namespace
} // namespace twl
