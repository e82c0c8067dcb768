// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "chat/ChatCodec.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

#include <random>

namespace twl {
namespace {

// Lines made of the pieces the readers look for, cut and joined at random:
// whatever a damaged or hostile file holds, reading it must not fail.
std::vector<std::string> RandomLines(std::mt19937& random)
{
    static const std::vector<std::string> pieces = {"skill",
                                                    " 4",
                                                    "skill 1",
                                                    "{",
                                                    "}",
                                                    "\t",
                                                    "\"",
                                                    ";",
                                                    ", ",
                                                    "\", ",
                                                    ",\"",
                                                    "\",",
                                                    "//",
                                                    "#include",
                                                    "CHARACTERISTIC_NAME",
                                                    "CHARACTERISTIC_AIM_SKILL_",
                                                    "CHARACTERISTIC_CHAT_CPM",
                                                    "#define W_RAILGUN",
                                                    "type",
                                                    " \"game_enter\"",
                                                    "level_end_",
                                                    "HELLO",
                                                    "TAUNT_FEM",
                                                    "looser",
                                                    "{{GAMEENTER",
                                                    "}}",
                                                    "0.5",
                                                    ".",
                                                    "-",
                                                    "99999999999999999999",
                                                    "1e400",
                                                    "model",
                                                    "/",
                                                    "funname",
                                                    "color",
                                                    "arenaLord",
                                                    "\\",
                                                    "\xE9",
                                                    "\x80",
                                                    "version ",
                                                    "0",
                                                    "{RANDOMOPP}",
                                                    ", 1, ",
                                                    "LEVEL_END",
                                                    "_TELEFRAGGED",
                                                    " "};
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::vector<std::string> lines(random() % 40);
    for (std::string& line : lines) {
        std::size_t count = random() % 8;
        for (std::size_t i = 0; i < count; ++i) {
            line += pieces[piece(random)];
        }
    }
    return lines;
}

TEST(Readers, SurviveRandomInput)
{
    const Catalogues& catalogues = test::FreshCatalogues();
    std::mt19937 random(99);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> lines = RandomLines(random);
        Bot bot;
        test::ScriptedMessages messages;
        ASSERT_NO_THROW(ReadCharLines(bot, lines, catalogues.CharNames, round % 2 == 0, messages));
        ASSERT_NO_THROW(ReadWeightLines(bot, lines, catalogues.CharNames, 44, 80));
        ASSERT_NO_THROW(ReadScriptLines(bot, lines));
        ASSERT_NO_THROW(ReadChatLines(bot, lines, catalogues.Chat));
        Settings settings;
        ASSERT_NO_THROW(ReadSettingsLines(lines, settings));
        for (const std::string& line : lines) {
            std::size_t type = random() % ChatTypeCount;
            ASSERT_NO_THROW(DecodeChatLine(line, type, catalogues.Chat));
            ASSERT_NO_THROW(EncodeChatLine(line, type, catalogues.Chat));
            ASSERT_NO_THROW(SplitListFields(line));
        }
    }
}

TEST(Readers, AChatBlockLongerThanAGroupCanHoldKeepsWhatFits)
{
    std::vector<std::string> lines = {"type \"game_enter\"", "{"};
    for (int i = 0; i < 40000; ++i) {
        lines.push_back("\"line " + std::to_string(i) + "\";");
    }
    lines.push_back("}");
    Bot bot;
    ASSERT_NO_THROW(ReadChatLines(bot, lines, test::FreshCatalogues().Chat));
    EXPECT_EQ(bot.ChatGroupUBound(0), 32767);
    EXPECT_EQ(bot.BotChat(0, 32767), "line 32767");
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST(ValuesThatCannotBeKept, AreNamedOnceForTheFile)
{
    struct Case
    {
        std::string Value;
        std::optional<std::string> Written;
    };

    const std::vector<Case> cases = {
        {"0.5", std::nullopt},
        {".75", std::nullopt},
        {"16777217", std::nullopt},
        {"3.4e38", std::nullopt},
        {"1e309", "0.0"},
        {"-1e309", "0.0"},
        // The game reads a hexadecimal number as the number: so does the reader.
        {"0x10", std::nullopt},
        {"-0X1f", std::nullopt},
        {"0x", "\"0x\""},
        {"0x1g", "\"0x1g\""},
        {"nan", "\"nan\""},
        {"\"text\"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChangedValueText(c.Value), c.Written) << c.Value;
    }

    test::TempFolder folder;
    test::WriteBytes(folder / "v_w.c",
                     "#define W_RAILGUN 1e309\r\n#define W_BFG10K 0x10\r\n#define W_SHOTGUN 20\r\n"
                     "#include \"fw_weap.c\"\r\n");
    test::ScriptedMessages messages;
    Bot bot;
    ASSERT_TRUE(
        ReadWeaponFile(bot, folder.Path(), "v", test::FreshCatalogues().CharNames, messages));
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Title, "Values changed");
    EXPECT_EQ(messages.Received()[0].Text,
              "These values of " + (folder / "v_w.c").string() +
                  " cannot be kept as they are written: #define W_RAILGUN 1e309 (written as 0.0).");
    EXPECT_EQ(bot.BotPara(50), Value(16.0));
    EXPECT_EQ(ParseNumberValue("-0X1f"), Value(-31.0));
    EXPECT_EQ(ParseNumberValue("0.5"), Value(0.5f));
}

TEST(ValuesThatCannotBeKept, ChatLinesPastAGroupsEndAreCounted)
{
    test::TempFolder folder;
    std::string file = "type \"game_enter\"\r\n{\r\n";
    for (int i = 0; i < LastChatLine + 3; ++i) {
        file += "\"line\";\r\n";
    }
    test::WriteBytes(folder / "c_t.c", file + "}\r\n");
    test::ScriptedMessages messages;
    Bot bot;
    ASSERT_TRUE(ReadChatFile(bot, folder.Path(), "c", test::FreshCatalogues().Chat, messages));
    EXPECT_EQ(bot.ChatGroupUBound(0), LastChatLine);
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Text,
              (folder / "c_t.c").string() +
                  " holds more chat lines of one type than a bot can keep (32768): 2 lines were "
                  "left out.");
}

} // namespace
} // namespace twl
