// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Bot.h"

#include "core/BotError.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

BotError::Kind ErrorKindOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const BotError& error) {
        return error.GetKind();
    }
    ADD_FAILURE() << "no BotError was thrown";
    return BotError::Kind::OutOfRange;
}

TEST(Bot, NewBotHasItsInitialValues)
{
    Bot bot;
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Bot"));
    EXPECT_EQ(bot.BotPara(Para::Gender), Value("male"));
    EXPECT_EQ(bot.BotPara(Para::Model), Value("Sarge"));
    EXPECT_EQ(bot.BotPara(Para::Skin), Value("Default"));
    EXPECT_EQ(bot.BotPara(Para::RailColor), Value("None"));
    EXPECT_EQ(bot.BotPara(Para::VersionMajor), Value(std::int16_t{0}));
    EXPECT_EQ(bot.BotPara(Para::VersionMinor), Value(std::int16_t{0}));
    EXPECT_EQ(bot.BotPara(Para::FunName), Value(""));
    EXPECT_EQ(bot.BotPara(Para::Comment), Value(""));
    EXPECT_EQ(bot.BotPara(Para::ArenaLord), Value(std::int16_t{0}));
    EXPECT_EQ(bot.BotPara(85), Value("bot"));
    EXPECT_EQ(bot.BotPara(84), Value("bot_c.c"));
    EXPECT_EQ(bot.BotPara(81), Value("bot_t.c"));
    EXPECT_EQ(bot.BotPara(82), Value("bot_w.c"));
    EXPECT_EQ(bot.BotPara(83), Value("bot_i.c"));
    EXPECT_EQ(bot.BotPara(86), Value("bot.bot"));
    EXPECT_TRUE(bot.BotPara(31).IsEmpty());
    EXPECT_TRUE(bot.BotPara(104).IsEmpty());
}

TEST(Bot, NameDerivesTheLowerCaseFileNames)
{
    Bot bot;
    bot.SetBotPara(Para::Name, Value("TankJr"));
    EXPECT_EQ(bot.BotPara(Para::Name), Value("TankJr"));
    EXPECT_EQ(bot.BotPara(85), Value("tankjr"));
    EXPECT_EQ(bot.BotPara(82), Value("tankjr_w.c"));
    EXPECT_EQ(bot.BotPara(84), Value("tankjr_c.c"));
    EXPECT_EQ(bot.BotPara(86), Value("tankjr.bot"));

    bot.SetBotPara(Para::Name, Value("ÉMILE"));
    EXPECT_EQ(bot.BotPara(85), Value("émile"));
}

TEST(Bot, DerivedNamesFollowTheNameUnlessAFileNamedOthers)
{
    Bot bot;
    EXPECT_EQ(bot.BotPara(81), Value("bot_t.c"));
    // The characteristic and script files are always the name's.
    for (int index : {84, 86}) {
        EXPECT_EQ(ErrorKindOf([&] { bot.SetBotPara(index, Value("x")); }),
                  BotError::Kind::OutOfRange)
            << index;
    }
    // The chat and weight files and the chat name a file named stay so...
    for (int index : {81, 82, 83, 85}) {
        bot.SetBotPara(index, Value("other"));
        EXPECT_EQ(bot.BotPara(index), Value("other")) << index;
        EXPECT_TRUE(bot.KeepsFileName(index)) << index;
    }
    // ...until the name is set again.
    bot.SetBotPara(Para::Name, Value("Johnny"));
    EXPECT_EQ(bot.BotPara(82), Value("johnny_w.c"));
    EXPECT_EQ(bot.BotPara(85), Value("johnny"));
    EXPECT_FALSE(bot.KeepsFileName(82));
}

TEST(Bot, NumbersThatNameNothingAreOutOfRange)
{
    Bot bot;
    for (int index : {-1, 4, 11, 30, 87, 100}) {
        EXPECT_EQ(ErrorKindOf([&] { bot.BotPara(index); }), BotError::Kind::OutOfRange) << index;
        EXPECT_EQ(ErrorKindOf([&] { bot.SetBotPara(index, Value(1.0)); }),
                  BotError::Kind::OutOfRange)
            << index;
    }
    for (int index : {131, 199, 431, 531, 599}) {
        EXPECT_EQ(ErrorKindOf([&] { bot.BotPara(index); }), BotError::Kind::OutOfRange) << index;
    }
}

TEST(Bot, SkillValuesLiveInTheirOwnLevel)
{
    Bot bot;
    bot.SetBotPara(104, Value(0.25));
    bot.SetBotPara(404, Value(0.75));
    bot.SetBotPara(530, Value(1.0));
    EXPECT_EQ(bot.BotPara(104), Value(0.25));
    EXPECT_EQ(bot.BotPara(404), Value(0.75));
    EXPECT_EQ(bot.Skills("S1").SkillPara(4), Value(0.25));
    EXPECT_EQ(bot.Skills("S4").SkillPara(4), Value(0.75));
    EXPECT_EQ(bot.Skills("S5").SkillPara(30), Value(1.0));
    EXPECT_EQ(bot.Skills("S5").Level, 5);
    EXPECT_TRUE(bot.BotPara(504).IsEmpty());
}

TEST(Bot, LevelsTwoAndThreeDoNotExist)
{
    Bot bot;
    EXPECT_EQ(ErrorKindOf([&] { bot.BotPara(204); }), BotError::Kind::InvalidKey);
    EXPECT_EQ(ErrorKindOf([&] { bot.SetBotPara(304, Value(1.0)); }), BotError::Kind::InvalidKey);
    EXPECT_EQ(ErrorKindOf([&] { bot.BotPara(604); }), BotError::Kind::InvalidKey);
    EXPECT_EQ(ErrorKindOf([&] { bot.Skills("S2"); }), BotError::Kind::InvalidKey);
}

TEST(Bot, SkillPositionsZeroToThirty)
{
    Skill skill;
    skill.SetSkillPara(0, Value(1.0));
    skill.SetSkillPara(30, Value(2.0));
    EXPECT_EQ(skill.SkillPara(30), Value(2.0));
    EXPECT_EQ(ErrorKindOf([&] { skill.SkillPara(31); }), BotError::Kind::OutOfRange);
    EXPECT_EQ(ErrorKindOf([&] { skill.SetSkillPara(-1, Value()); }), BotError::Kind::OutOfRange);
}

TEST(Bot, VersionPartsAreStoredAsNumbers)
{
    Bot bot;
    bot.SetBotPara(Para::VersionMajor, Value("3"));
    EXPECT_EQ(bot.BotPara(Para::VersionMajor).ToNumber(), 3.0);
    EXPECT_FALSE(bot.BotPara(Para::VersionMajor).IsText());

    EXPECT_EQ(ErrorKindOf([&] { bot.SetBotPara(Para::VersionMajor, Value("x")); }),
              BotError::Kind::TypeMismatch);
    EXPECT_EQ(bot.BotPara(Para::VersionMajor).ToNumber(), 3.0);

    EXPECT_EQ(ErrorKindOf([&] { bot.SetBotPara(Para::VersionMinor, Value("")); }),
              BotError::Kind::TypeMismatch);
    bot.SetBotPara(Para::VersionMinor, Value(std::int16_t{2}));
    EXPECT_EQ(bot.BotPara(Para::VersionMinor), Value(std::int16_t{2}));
}

TEST(Bot, ArenaLordIsAWholeNumber)
{
    Bot bot;
    bot.SetBotPara(Para::ArenaLord, Value(1.0));
    EXPECT_EQ(bot.BotPara(Para::ArenaLord), Value(std::int16_t{1}));
    EXPECT_EQ(ErrorKindOf([&] { bot.SetBotPara(Para::ArenaLord, Value("yes")); }),
              BotError::Kind::TypeMismatch);
    EXPECT_EQ(bot.BotPara(Para::ArenaLord), Value(std::int16_t{1}));
}

TEST(Bot, TextParametersStoreTextAndRailColourKeepsItsKind)
{
    Bot bot;
    bot.SetBotPara(Para::Gender, Value("female"));
    bot.SetBotPara(Para::Comment, Value(1.5));
    bot.SetBotPara(Para::RailColor, Value(std::int16_t{4}));
    EXPECT_EQ(bot.BotPara(Para::Gender), Value("female"));
    EXPECT_EQ(bot.BotPara(Para::Comment), Value("1.5"));
    EXPECT_EQ(bot.BotPara(Para::RailColor), Value(std::int16_t{4}));
}

TEST(Bot, BotWideValuesUseTheirOwnSlots)
{
    Bot bot;
    bot.SetBotPara(31, Value(std::int16_t{200}));
    bot.SetBotPara(80, Value(std::int16_t{50}));
    EXPECT_EQ(bot.BotPara(31), Value(std::int16_t{200}));
    EXPECT_EQ(bot.BotPara(80), Value(std::int16_t{50}));
    EXPECT_TRUE(bot.BotPara(32).IsEmpty());
}

TEST(BotChat, NewGroupsHoldOneEmptyLine)
{
    Bot bot;
    for (int group = 0; group < ChatGroupCount; ++group) {
        EXPECT_EQ(bot.ChatGroupUBound(group), 0);
        EXPECT_EQ(bot.BotChat(group, 0), "");
    }
}

TEST(BotChat, WritingPastTheEndGrowsTheGroup)
{
    Bot bot;
    bot.SetBotChat(5, 3, "x");
    EXPECT_EQ(bot.ChatGroupUBound(5), 3);
    EXPECT_EQ(bot.BotChat(5, 0), "");
    EXPECT_EQ(bot.BotChat(5, 1), "");
    EXPECT_EQ(bot.BotChat(5, 2), "");
    EXPECT_EQ(bot.BotChat(5, 3), "x");
    EXPECT_EQ(bot.ChatGroupUBound(4), 0);

    bot.SetBotChat(5, 1, "y");
    EXPECT_EQ(bot.ChatGroupUBound(5), 3);
    EXPECT_EQ(bot.BotChat(5, 3), "x");
}

TEST(BotChat, DeleteMovesLaterLinesDown)
{
    Bot bot;
    bot.SetBotChat(2, 0, "a");
    bot.SetBotChat(2, 1, "b");
    bot.SetBotChat(2, 2, "c");
    bot.DeleteChat(2, 1);
    EXPECT_EQ(bot.ChatGroupUBound(2), 1);
    EXPECT_EQ(bot.BotChat(2, 0), "a");
    EXPECT_EQ(bot.BotChat(2, 1), "c");
}

TEST(BotChat, DeletingTheOnlyLineEmptiesIt)
{
    Bot bot;
    bot.SetBotChat(0, 0, "only");
    bot.DeleteChat(0, 0);
    EXPECT_EQ(bot.ChatGroupUBound(0), 0);
    EXPECT_EQ(bot.BotChat(0, 0), "");
}

TEST(BotChat, GroupsAndLinesOutsideTheRangeFail)
{
    Bot bot;
    EXPECT_EQ(ErrorKindOf([&] { bot.BotChat(28, 0); }), BotError::Kind::OutOfRange);
    EXPECT_EQ(ErrorKindOf([&] { bot.BotChat(-1, 0); }), BotError::Kind::OutOfRange);
    EXPECT_EQ(ErrorKindOf([&] { bot.SetBotChat(28, 0, "x"); }), BotError::Kind::OutOfRange);
    EXPECT_EQ(ErrorKindOf([&] { bot.DeleteChat(28, 0); }), BotError::Kind::OutOfRange);
    EXPECT_EQ(ErrorKindOf([&] { bot.ChatGroupUBound(28); }), BotError::Kind::OutOfRange);
    EXPECT_EQ(ErrorKindOf([&] { bot.BotChat(0, 1); }), BotError::Kind::OutOfRange);
    EXPECT_EQ(ErrorKindOf([&] { bot.DeleteChat(0, 1); }), BotError::Kind::OutOfRange);
}

} // namespace
} // namespace twl
