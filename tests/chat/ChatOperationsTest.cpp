// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatOperations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace twl {
namespace {

class ChatOperationsTest : public ::testing::Test
{
protected:
    void SetUp() override { InitChatCatalogue(m_chat); }

    ChatCatalogue m_chat;
    std::mt19937 m_random{12345};
};

TEST_F(ChatOperationsTest, ClearBotChatsLeavesOneEmptyLineEverywhere)
{
    Bot bot;
    bot.SetBotChat(3, 4, "x");
    bot.SetBotChat(0, 0, "hello");
    bot.SetBotChat(27, 1, "y");
    ClearBotChats(bot);
    for (int group = 0; group < ChatGroupCount; ++group) {
        EXPECT_EQ(bot.ChatGroupUBound(group), 0) << group;
        EXPECT_EQ(bot.BotChat(group, 0), "") << group;
    }
}

TEST_F(ChatOperationsTest, NextChatIndexReplacesALoneEmptyLine)
{
    Bot bot;
    EXPECT_EQ(NextChatIndex(bot, 2), 0);
    bot.SetBotChat(2, 0, "a");
    EXPECT_EQ(NextChatIndex(bot, 2), 1);
    bot.SetBotChat(2, 2, "");
    EXPECT_EQ(NextChatIndex(bot, 2), 3) << "an empty last line of several is kept";
}

TEST_F(ChatOperationsTest, RandomListLineStaysInsideTheList)
{
    float justBelowOne = std::nextafter(1.0f, 0.0f);
    for (const ChatEntry& list : m_chat.ChatLists) {
        EXPECT_EQ(RandomListLine(list, 0.0f), list.Token + "0}}");
        EXPECT_EQ(RandomListLine(list, justBelowOne),
                  list.Token + std::to_string(list.MaxIndex) + "}}")
            << list.FileName;
    }
    const ChatEntry& killInsult = m_chat.ChatLists[23];
    EXPECT_EQ(RandomListLine(killInsult, 0.5f), "{{KILLINSULT20}}");
    EXPECT_EQ(RandomListLine(killInsult, 0.0249f), "{{KILLINSULT0}}");
    EXPECT_EQ(RandomListLine(killInsult, 0.025f), "{{KILLINSULT1}}");
}

TEST_F(ChatOperationsTest, UniformSingleIsBelowOne)
{
    std::mt19937 random;
    for (int i = 0; i < 10000; ++i) {
        float r = UniformSingle(random);
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST_F(ChatOperationsTest, AddExtraChatsFillsThenAppends)
{
    Bot bot;
    bot.SetBotChat(5, 0, "own line");
    AddExtraChats(bot, m_chat, m_random);
    for (int group = 0; group < ChatGroupCount; ++group) {
        int expectedUpper = group == 5 ? 1 : 0;
        ASSERT_EQ(bot.ChatGroupUBound(group), expectedUpper) << group;
        const ChatEntry& list =
            m_chat.ChatLists[RandomListOfChatType(static_cast<std::size_t>(group))];
        EXPECT_EQ(bot.BotChat(group, expectedUpper).rfind(list.Token, 0), 0u) << group;
    }
    EXPECT_EQ(bot.BotChat(5, 0), "own line");

    AddExtraChats(bot, m_chat, m_random);
    for (int group = 0; group < ChatGroupCount; ++group) {
        int expectedUpper = group == 5 ? 2 : 1;
        ASSERT_EQ(bot.ChatGroupUBound(group), expectedUpper) << group;
        EXPECT_EQ(bot.BotChat(group, expectedUpper).rfind("{{", 0), 0u);
        EXPECT_EQ(
            bot.BotChat(group, expectedUpper).substr(bot.BotChat(group, expectedUpper).size() - 2),
            "}}");
    }
}

TEST_F(ChatOperationsTest, TheSameSeedGivesTheSameLines)
{
    Bot first;
    Bot second;
    std::mt19937 randomA(7);
    std::mt19937 randomB(7);
    AddExtraChats(first, m_chat, randomA);
    AddExtraChats(second, m_chat, randomB);
    for (int group = 0; group < ChatGroupCount; ++group) {
        EXPECT_EQ(first.BotChat(group, 0), second.BotChat(group, 0));
    }
}

} // namespace
} // namespace twl
