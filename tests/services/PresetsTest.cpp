// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/Presets.h"

#include "chat/ChatCatalogue.h"
#include "core/Bot.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

Value Whole(int number)
{
    return Value(static_cast<std::int16_t>(number));
}

TEST(Presets, AllZerosSetsEveryValueToTheWholeNumberZero)
{
    Bot bot;
    ApplyZeroPreset(bot);
    for (std::int16_t level : SkillLevels) {
        for (int c = 2; c <= 30; ++c) {
            EXPECT_EQ(bot.BotPara(100 * level + c), Whole(0)) << level << " " << c;
        }
    }
    for (int index = 31; index <= 80; ++index) {
        EXPECT_EQ(bot.BotPara(index), Whole(0)) << index;
    }
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Bot"));
}

class AveragePreset : public ::testing::Test
{
protected:
    void SetUp() override { InitChatCatalogue(m_chat); }

    ChatCatalogue m_chat;
    std::mt19937 m_random;
};

TEST_F(AveragePreset, ValuesAndKinds)
{
    Bot bot;
    ApplyAveragePreset(bot, m_chat, m_random);
    for (std::int16_t level : SkillLevels) {
        for (int c = 2; c <= 30; ++c) {
            Value expected = c == 6 ? Whole(180) : c == 7 ? Whole(2) : Value(0.5);
            EXPECT_EQ(bot.BotPara(100 * level + c), expected) << level << " " << c;
        }
    }
    EXPECT_EQ(bot.BotPara(31), Whole(200));
    for (int index = 32; index <= 43; ++index) {
        EXPECT_EQ(bot.BotPara(index), Value(0.5)) << index;
    }
    for (int index = 44; index <= 80; ++index) {
        Value expected = index == 54 ? Whole(1) : index == 55 ? Whole(2) : Whole(50);
        EXPECT_EQ(bot.BotPara(index), expected) << index;
    }
}

TEST_F(AveragePreset, AddsOneListLinePerChatGroup)
{
    Bot bot;
    ApplyAveragePreset(bot, m_chat, m_random);
    for (int group = 0; group < ChatGroupCount; ++group) {
        EXPECT_EQ(bot.ChatGroupUBound(group), 0) << group;
        EXPECT_EQ(bot.BotChat(group, 0).rfind("{{", 0), 0u) << group;
    }
}

TEST_F(AveragePreset, ClearCharsResetsOnlyThePerWeaponValues)
{
    Bot bot;
    ApplyAveragePreset(bot, m_chat, m_random);
    ClearChars(bot);
    for (std::int16_t level : SkillLevels) {
        for (int c = 18; c <= 30; ++c) {
            EXPECT_EQ(bot.BotPara(100 * level + c), Whole(0)) << level << " " << c;
        }
        EXPECT_EQ(bot.BotPara(100 * level + 17), Value(0.5)) << level;
        EXPECT_EQ(bot.BotPara(100 * level + 2), Value(0.5)) << level;
    }
    EXPECT_EQ(bot.BotPara(31), Whole(200));
    EXPECT_EQ(bot.BotPara(44), Whole(50));
}

} // namespace
} // namespace twl
