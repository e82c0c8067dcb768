// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/ScriptFile.h"

#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::FreshCatalogues;
using test::Lines;

std::vector<std::string> Body(const Bot& bot)
{
    std::vector<std::string> lines = ScriptFileLines(bot, Settings());
    return std::vector<std::string>(lines.begin() + 7, lines.end());
}

TEST(ScriptFileLines, ExampleBot)
{
    Bot bot;
    bot.SetBotPara(Para::FunName, Value("^1Bot"));
    bot.SetBotPara(Para::RailColor, Value(std::int16_t{4}));
    bot.SetBotPara(Para::ArenaLord, Value(std::int16_t{1}));
    EXPECT_EQ(Body(bot),
              (std::vector<std::string>{"",
                                        "{",
                                        "name\t\tBot",
                                        "model\t\tsarge",
                                        "funname\t^1Bot",
                                        "color\t\t4",
                                        "aifile\tbots/bot_c.c",
                                        "arenaLord\t1",
                                        "}"}));
}

TEST(ScriptFileLines, OptionalLinesAndModelNames)
{
    Bot bot;
    bot.SetBotPara(Para::Skin, Value("Red"));
    EXPECT_EQ(Body(bot),
              (std::vector<std::string>{
                  "", "{", "name\t\tBot", "model\t\tsarge/red", "aifile\tbots/bot_c.c", "}"}));
    bot.SetBotPara(Para::Model, Value("TankJr"));
    bot.SetBotPara(Para::Skin, Value("default"));
    EXPECT_EQ(Body(bot)[3], "model\t\tTankJr");
    bot.SetBotPara(Para::RailColor, Value(std::int16_t{0}));
    EXPECT_EQ(Body(bot)[4], "color\t\t0");
}

TEST(ReadScriptFile, KeysAndValues)
{
    Bot bot;
    ReadScriptLines(
        bot,
        Lines(
            "{\nname\t\tX\nmodel\t\tSarge/Blue\nfunname\t\"^1X\"\ncolor\t\t3\narenaLord\t1\n}\n"));
    EXPECT_EQ(bot.BotPara(Para::Model), Value("Sarge"));
    EXPECT_EQ(bot.BotPara(Para::Skin), Value("Blue"));
    EXPECT_EQ(bot.BotPara(Para::FunName), Value("^1X"));
    EXPECT_EQ(bot.BotPara(Para::RailColor), Value("3"));
    EXPECT_EQ(bot.BotPara(Para::ArenaLord), Value(std::int16_t{1}));
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Bot"))
        << "the name comes from the characteristic file";

    ReadScriptLines(bot, Lines("MODEL sarge\n"));
    EXPECT_EQ(bot.BotPara(Para::Skin), Value("default"));
}

TEST(ReadScriptFile, KeysCountOnlyAtTheStartOfALine)
{
    Bot bot;
    ReadScriptLines(bot,
                    Lines("//\tA better model\n// color 5\n{\nfunname\t\"Red "
                          "color\"\nmodel\tkeel\naifile\tbots/model_c.c\n}\n"));
    EXPECT_EQ(bot.BotPara(Para::Model), Value("keel"));
    EXPECT_EQ(bot.BotPara(Para::FunName), Value("Red color"));
    EXPECT_EQ(bot.BotPara(Para::RailColor), Value("None"));
}

TEST(ScriptDefaults, GameBotsGetTheirOwnModels)
{
    const BotList& bots = FreshCatalogues().Bots;
    Bot bot;
    bot.SetBotPara(Para::Name, Value("Patriot"));
    ScriptDefaults(bot, bots);
    EXPECT_EQ(bot.BotPara(Para::Model), Value("Razor"));
    EXPECT_EQ(bot.BotPara(Para::Skin), Value("Patriot"));

    bot.SetBotPara(Para::Name, Value("patriot"));
    ScriptDefaults(bot, bots);
    EXPECT_EQ(bot.BotPara(Para::Model), Value("Sarge"));

    bot.SetBotPara(Para::Name, Value("Anarki"));
    ScriptDefaults(bot, bots);
    EXPECT_EQ(bot.BotPara(Para::FunName), Value("^1A^2n^3a^4r^5k^6i"));
    EXPECT_EQ(bot.BotPara(Para::ArenaLord), Value(std::int16_t{1}));

    Bot keel;
    keel.SetBotPara(Para::Name, Value("Keel"));
    ScriptDefaults(keel, bots);
    EXPECT_EQ(keel.BotPara(Para::Model), Value("Keel"));
    EXPECT_EQ(keel.BotPara(Para::ArenaLord), Value(std::int16_t{0}));

    BotList takenOver = bots;
    AddBotEntry(takenOver, "Patriot", "remix.pk3", true);
    Bot remixed;
    remixed.SetBotPara(Para::Name, Value("Patriot"));
    ScriptDefaults(remixed, takenOver);
    EXPECT_EQ(remixed.BotPara(Para::Model), Value("Sarge"))
        << "an archive's Patriot is not the game's";
}

TEST(ReadScriptFile, MissingFileGivesTheDefaults)
{
    test::TempFolder folder;
    test::ScriptedMessages messages;
    Bot bot;
    bot.SetBotPara(Para::Name, Value("Hossman"));
    bot.SetBotPara(Para::FunName, Value("old"));
    EXPECT_FALSE(ReadScriptFile(bot, folder.Path(), "hossman", FreshCatalogues().Bots, messages));
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0],
              (test::ScriptedMessages::Message{test::ScriptedMessages::Kind::Inform,
                                               "Error during load",
                                               "Unable to find bot file for hossman."}));
    EXPECT_EQ(bot.BotPara(Para::Model), Value("Biker"));
    EXPECT_EQ(bot.BotPara(Para::Skin), Value("Hossman"));
    EXPECT_EQ(bot.BotPara(Para::FunName), Value(""));
}

} // namespace
} // namespace twl
