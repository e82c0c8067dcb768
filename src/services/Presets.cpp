// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/Presets.h"

#include "chat/ChatOperations.h"

namespace twl {

namespace {

constexpr int CharViewMaxChange = 6;
constexpr int CharReactionTime = 7;
constexpr int CharChatCpm = 31;
constexpr int FirstChatChar = 32;
constexpr int LastChatChar = 43;
constexpr int FirstWeight = 44;
constexpr int FsHealth = 54;
constexpr int FsArmor = 55;
constexpr int FirstPerWeaponChar = 18;

} // namespace

void ApplyZeroPreset(Bot& bot)
{
    bot.ForgetKeptLines();
    for (std::int16_t level : SkillLevels) {
        for (int c = Para::FirstSkillChar; c <= Para::LastSkillChar; ++c) {
            bot.SetBotPara(Para::OfSkill(level, c), WholeNumber(0));
        }
    }
    for (int index = Para::FirstBotValue; index <= Para::LastBotValue; ++index) {
        bot.SetBotPara(index, WholeNumber(0));
    }
}

int ApplyAveragePreset(Bot& bot, const ChatCatalogue& chat, std::mt19937& random)
{
    bot.ForgetKeptLines();
    for (std::int16_t level : SkillLevels) {
        for (int c = Para::FirstSkillChar; c <= Para::LastSkillChar; ++c) {
            Value value(0.5);
            if (c == CharViewMaxChange) {
                value = WholeNumber(180);
            } else if (c == CharReactionTime) {
                value = WholeNumber(2);
            }
            bot.SetBotPara(Para::OfSkill(level, c), value);
        }
    }
    bot.SetBotPara(CharChatCpm, WholeNumber(200));
    for (int index = FirstChatChar; index <= LastChatChar; ++index) {
        bot.SetBotPara(index, Value(0.5));
    }
    for (int index = FirstWeight; index <= Para::LastBotValue; ++index) {
        bot.SetBotPara(index, WholeNumber(50));
    }
    bot.SetBotPara(FsHealth, WholeNumber(1));
    bot.SetBotPara(FsArmor, WholeNumber(2));
    return AddExtraChats(bot, chat, random);
}

void ClearChars(Bot& bot)
{
    for (std::int16_t level : SkillLevels) {
        for (int c = FirstPerWeaponChar; c <= Para::LastSkillChar; ++c) {
            bot.SetBotPara(Para::OfSkill(level, c), WholeNumber(0));
        }
    }
}

std::string LeftOutChatsNote(int leftOut, const ChatCatalogue& chat)
{
    if (leftOut == 0) {
        return {};
    }
    return std::to_string(leftOut) + (leftOut == 1 ? " chat line" : " chat lines") +
           " left out: " + (chat.GameName.empty() ? "the game" : chat.GameName) +
           " has no list for " + (leftOut == 1 ? "it" : "them") + ".";
}

} // namespace twl
