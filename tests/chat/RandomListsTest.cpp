// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/RandomLists.h"

#include "chat/ChatCodec.h"
#include "chat/ChatOperations.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace twl {
namespace {

std::string ListsText(const RandomListsRead& read)
{
    std::string text;
    for (const RandomList& list : read.Lists) {
        text += list.Name + "=" + std::to_string(list.Messages) + " ";
    }
    return text;
}

TEST(ReadRandomLists, CountsTheMessagesOrSaysWhereTheGameStops)
{
    struct Case
    {
        const char* What;
        std::string Text;
        std::string Lists;
        std::string Problem; // empty: none
    };

    const std::vector<Case> cases = {
        {"lists, comments and every piece of a message",
         "// group A\r\nHELLO0 = {\r\n\t\"Hi \", 0, \"!\";\r\n\tfighter, \"s\";\r\n}\r\n/* x */ "
         "fighter = { \"brawler\"; }\n",
         "HELLO0=2 fighter=1 ",
         ""},
        {"texts that follow each other are one message, as the game joins them",
         "MISC3 = {\n\t\"one\"\n\t\"two\";\n\t\"three\";\n}\n",
         "MISC3=2 ",
         ""},
        {"an empty list, and a name given twice counted once",
         "EMPTY = { }\nA = { \"a\"; }\nA = { \"b\"; \"c\"; }\n",
         "EMPTY=0 A=1 ",
         ""},
        {"a number with a point is no variable",
         "A = { \"a\"; }\nB = { \"x\", 1.5; }\n",
         "A=1 ",
         "line 2: unknown message component 1.5"},
        {"a message without its end", "A = { \"a\" }\n", "", "line 1: expected , or ;"},
        {"an escape the game does not know",
         "A = {\n\"a\\q\";\n}\n",
         "",
         "line 2: unknown message component"},
        {"a message over 255 bytes",
         "A = { \"" + std::string(256, 'x') + "\"; }",
         "",
         "line 1: chat message too long"},
        {"something that is no list",
         "A = { \"a\"; }\n\"stray\";\n",
         "A=1 ",
         "line 2: unknown random"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        RandomListsRead read = ReadRandomLists(c.Text);
        EXPECT_EQ(ListsText(read), c.Lists);
        EXPECT_EQ(read.Problem.has_value(), !c.Problem.empty());
        if (!c.Problem.empty()) {
            ASSERT_TRUE(read.Problem);
            EXPECT_EQ(read.Problem->rfind(c.Problem, 0), 0u) << *read.Problem;
        }
    }
}

// The vocabulary of a game like OpenArena: member 0 is HELLO0, TAUNT has
// members 0 and 2, DEATH_TALKING is bare, GUYTALK and looser are missing,
// and it has lists and words of its own.
ChatCatalogue OpenArenaLike()
{
    ChatCatalogue chat;
    InitChatCatalogue(chat);
    std::vector<RandomList> lists;
    for (const char* name : {"HELLO0",
                             "HELLO1",
                             "HELLO3",
                             "TAUNT0",
                             "TAUNT2",
                             "DEATH_TALKING",
                             "GRRLTALK0",
                             "GRRLTALK1",
                             "KILL_EXTREME_INSULT",
                             "fighter",
                             "peeps"}) {
        lists.push_back(RandomList{name, 2});
    }
    lists.push_back(RandomList{"MISC0", 0}); // nothing to say: missing to the game
    ApplyGameRandomLists(chat, "OpenArena", lists);
    return chat;
}

TEST(ApplyGameRandomLists, EachListGetsTheGamesMembersAndSpelling)
{
    ChatCatalogue chat = OpenArenaLike();
    const ChatEntry& hello = chat.ChatLists[0];
    EXPECT_EQ(hello.Members, (std::vector<std::int16_t>{0, 1, 3}));
    EXPECT_FALSE(hello.BareZero);
    EXPECT_EQ(chat.MemberName(hello, 0), "HELLO0");
    EXPECT_TRUE(chat.ChatLists[6].BareZero);         // DEATH_TALKING
    EXPECT_TRUE(chat.ChatLists[27].Members.empty()); // MISC: its one list is empty
    EXPECT_TRUE(chat.ChatLists[28].Members.empty()); // GUYTALK
    ASSERT_EQ(chat.GameOnlyChatLists.size(), 2u);
    EXPECT_EQ(chat.GameOnlyChatLists[0].FileName, "GRRLTALK");
    EXPECT_EQ(chat.GameOnlyChatLists[0].Members, (std::vector<std::int16_t>{0, 1}));
    EXPECT_EQ(chat.GameOnlyChatLists[1].FileName, "KILL_EXTREME_INSULT");
    EXPECT_TRUE(chat.GameOnlyChatLists[1].BareZero);
    ASSERT_EQ(chat.GameOnlyWordLists.size(), 1u);
    EXPECT_EQ(chat.GameOnlyWordLists[0].Token, "{peeps}");
    EXPECT_TRUE(chat.HasList("fighter"));
    EXPECT_FALSE(chat.HasList("looser"));
    EXPECT_FALSE(chat.HasList("MISC0"));
}

TEST(ApplyGameRandomLists, ReferencesComeBackAsTheFileSpelledThem)
{
    ChatCatalogue quake3;
    InitChatCatalogue(quake3);
    ChatCatalogue openArena = OpenArenaLike();

    struct Case
    {
        const ChatCatalogue* Chat;
        const char* Line;
        const char* Editor;
    };

    const std::vector<Case> cases = {
        {&quake3, "TAUNT;", "{{TAUNT0}}"},
        {&quake3, "TAUNT0;", "{TAUNT0}"},   // Quake III calls member 0 TAUNT
        {&quake3, "HELLO01;", "{HELLO01}"}, // a leading zero is part of the name
        {&openArena, "TAUNT0;", "{{TAUNT0}}"},
        {&openArena, "TAUNT;", "{TAUNT}"},
        {&openArena, "GRRLTALK1;", "{GRRLTALK1}"},
        {&openArena, "peeps;", "{peeps}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        std::string editor = DecodeChatLine(c.Line, 0, *c.Chat);
        EXPECT_EQ(editor, c.Editor);
        EXPECT_EQ(EncodeChatLine(editor, 0, *c.Chat), c.Line);
    }
}

TEST(ApplyGameRandomLists, RandomLinesNameOnlyMembersTheGameHas)
{
    ChatCatalogue chat = OpenArenaLike();
    std::mt19937 random(7);
    std::set<std::string> seen;
    for (int k = 0; k < 200; ++k) {
        seen.insert(RandomListLine(chat.ChatLists[0], random));
        seen.insert(RandomListLine(chat.GameOnlyChatLists[0], random));
    }
    EXPECT_EQ(
        seen,
        (std::set<std::string>{
            "{{GAMEENTER0}}", "{{GAMEENTER1}}", "{{GAMEENTER3}}", "{GRRLTALK0}", "{GRRLTALK1}"}));
    EXPECT_EQ(RandomListLine(chat.ChatLists[28], random), "");

    // A bot given a line of each group's list: the groups whose list the
    // game lacks get none, and are counted.
    Bot bot;
    EXPECT_EQ(AddExtraChats(bot, chat, random), 24);
    EXPECT_EQ(bot.BotChat(0, 0).rfind("{{GAMEENTER", 0), 0u);
    EXPECT_EQ(bot.BotChat(7, 0).rfind("{{TAUNT", 0), 0u);
}

} // namespace
} // namespace twl
