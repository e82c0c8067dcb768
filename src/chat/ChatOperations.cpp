#include "chat/ChatOperations.h"

#include <cmath>

namespace twl {

void ClearBotChats(Bot& bot)
{
    for (int group = 0; group < ChatGroupCount; ++group) {
        while (bot.ChatGroupUBound(group) > 0) {
            bot.DeleteChat(group, 0);
        }
        bot.SetBotChat(group, 0, std::string());
    }
}

std::int16_t NextChatIndex(const Bot& bot, int group)
{
    std::int16_t upper = bot.ChatGroupUBound(group);
    if (upper == 0 && bot.BotChat(group, 0).empty()) {
        return 0;
    }
    return static_cast<std::int16_t>(upper + 1);
}

float UniformSingle(std::mt19937& random)
{
    // 24 random bits: every value is exact in a float and below 1.
    return static_cast<float>(random() >> 8) * (1.0f / 16777216.0f);
}

std::string RandomListLine(const ChatEntry& list, float r)
{
    float scaled = r * static_cast<float>(list.MaxIndex + 1);
    int member = static_cast<int>(std::floor(scaled));
    // Rounding of the product can reach MaxIndex + 1 for r just below 1.
    if (member > list.MaxIndex) {
        member = list.MaxIndex;
    }
    if (member < 0) {
        member = 0;
    }
    return list.Token + std::to_string(member) + "}}";
}

std::string RandomListLine(const ChatEntry& list, std::mt19937& random)
{
    return RandomListLine(list, UniformSingle(random));
}

void AddExtraChats(Bot& bot, const ChatCatalogue& catalogue, std::mt19937& random)
{
    for (std::size_t type = 0; type < ChatTypeCount; ++type) {
        int group = static_cast<int>(type);
        if (bot.ChatGroupUBound(group) >= LastChatLine) {
            continue; // the group is full
        }
        const ChatEntry& list = catalogue.ChatLists[RandomListOfChatType(type)];
        bot.SetBotChat(group, NextChatIndex(bot, group), RandomListLine(list, random));
    }
}

} // namespace twl
