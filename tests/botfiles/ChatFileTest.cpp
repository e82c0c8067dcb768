// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/ChatFile.h"

#include "chat/ChatOperations.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace twl {
namespace {

using test::FreshCatalogues;
using test::Lines;

const ChatCatalogue& Chat()
{
    return FreshCatalogues().Chat;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

TEST(ChatFile, EmptyBotWritesEveryBlock)
{
    Bot bot;
    std::vector<std::string> lines = ChatFileLines(bot, Chat(), Settings());
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "chat \"bot\"");
    EXPECT_EQ(lines[10], "{");
    EXPECT_EQ(lines[11], "\t#include \"teamplay.h\"");
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(lines[13], "\ttype \"game_enter\"");
    EXPECT_EQ(lines[14], "\t{");
    EXPECT_EQ(lines[15], "\t\t\"\";");
    EXPECT_EQ(lines[16], "\t}");
    EXPECT_EQ(lines.back(), "}");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\t\t\"\";"), 28);
    EXPECT_EQ(lines.size(), 12u + 28 * 5 + 1);

    Bot read;
    read.SetBotChat(3, 2, "stale");
    ClearBotChats(read);
    ReadChatLines(read, Lines(Joined(lines)), Chat());
    for (int group = 0; group < ChatGroupCount; ++group) {
        EXPECT_EQ(read.ChatGroupUBound(group), 0);
        EXPECT_EQ(read.BotChat(group, 0), "");
    }
}

TEST(ChatFile, EveryGroupReadsBackIntoItsOwnGroup)
{
    Bot written;
    std::mt19937 random(3);
    for (int group = 0; group < ChatGroupCount; ++group) {
        written.SetBotChat(group, 0, "line of group " + std::to_string(group));
    }
    AddExtraChats(written, Chat(), random);
    written.SetBotChat(7, 2, "Ouch {ATTACKER}, with {WEAPONUSED}?");
    Bot read;
    ReadChatLines(read, Lines(Joined(ChatFileLines(written, Chat(), Settings()))), Chat());
    for (int group = 0; group < ChatGroupCount; ++group) {
        ASSERT_EQ(read.ChatGroupUBound(group), written.ChatGroupUBound(group)) << group;
        for (int line = 0; line <= written.ChatGroupUBound(group); ++line) {
            EXPECT_EQ(read.BotChat(group, line), written.BotChat(group, line))
                << group << " " << line;
        }
    }
}

TEST(ChatFile, ABotNamedPrototypeIsNoTypeHeader)
{
    Bot written;
    written.SetBotPara(Para::Name, Value("prototype"));
    written.SetBotChat(0, 0, "hello there");
    std::vector<std::string> lines = ChatFileLines(written, Chat(), Settings());
    EXPECT_EQ(lines[9], "chat \"prototype\"");
    Bot read;
    ReadChatLines(read, Lines(Joined(lines)), Chat());
    EXPECT_EQ(read.BotChat(0, 0), "hello there");
    EXPECT_EQ(read.ChatGroupUBound(0), 0);
}

TEST(ChatFile, BlocksCommentsAndOddTypes)
{
    Bot bot;
    ReadChatLines(bot,
                  Lines("chat \"x\"\n{\n"
                        "type \"level_end_lose\"\n{\n\"lost\";\n}\n"
                        "  type \"no_such_type\"\n  {\n\"dropped\";\n  }\n"
                        "\ttype \"game_enter\"\n\t{\n\t\t// "
                        "comment\n\n\t\t\"a\";\n\t\t\"b\";\n\t\t\"c\";\n\t}\n"
                        "\ttype \"game_enter\"\n\t{\n\t\t\"second\";\n\t}\n"
                        "}\n"),
                  Chat());
    EXPECT_EQ(bot.BotChat(5, 0), "lost");
    EXPECT_EQ(bot.BotChat(3, 0), "") << "level_end_lose is not level_end";
    EXPECT_EQ(bot.ChatGroupUBound(0), 2);
    EXPECT_EQ(bot.BotChat(0, 0), "second");
    EXPECT_EQ(bot.BotChat(0, 1), "b");
    EXPECT_EQ(bot.BotChat(0, 2), "c");
    for (int group = 0; group < ChatGroupCount; ++group) {
        for (int line = 0; line <= bot.ChatGroupUBound(group); ++line) {
            EXPECT_NE(bot.BotChat(group, line), "dropped");
        }
    }
}

TEST(ChatFile, AFileEndingInsideABlockKeepsWhatWasRead)
{
    Bot bot;
    ReadChatLines(bot, Lines("type \"game_exit\"\n{\n\"bye\";"), Chat());
    EXPECT_EQ(bot.BotChat(1, 0), "bye");
}

TEST(ChatFile, MissingFileIsReported)
{
    test::TempFolder folder;
    test::ScriptedMessages messages;
    Bot bot;
    bot.SetBotChat(4, 0, "kept");
    EXPECT_FALSE(ReadChatFile(bot, folder.Path(), "nobody", Chat(), messages));
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Text, "Unable to find chat file for nobody.");
    EXPECT_EQ(messages.Received()[0].Title, "Error during load");
    EXPECT_EQ(bot.BotChat(4, 0), "kept");
}

} // namespace
} // namespace twl
