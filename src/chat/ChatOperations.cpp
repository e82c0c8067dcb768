// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/ChatOperations.h"

#include <algorithm>
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
    if (list.Members.empty()) {
        return {};
    }
    auto count = static_cast<int>(list.Members.size());
    float scaled = r * static_cast<float>(count);
    int member = static_cast<int>(std::floor(scaled));
    // Rounding of the product can reach the count for r just below 1.
    member = std::clamp(member, 0, count - 1);
    std::string number = std::to_string(list.Members[static_cast<std::size_t>(member)]);
    return list.Token.empty() ? "{" + list.FileName + number + "}" : list.Token + number + "}}";
}

std::string RandomListLine(const ChatEntry& list, std::mt19937& random)
{
    return RandomListLine(list, UniformSingle(random));
}

int AddExtraChats(Bot& bot, const ChatCatalogue& catalogue, std::mt19937& random)
{
    int leftOut = 0;
    for (std::size_t type = 0; type < ChatTypeCount; ++type) {
        int group = static_cast<int>(type);
        if (bot.ChatGroupUBound(group) >= LastChatLine) {
            continue; // the group is full
        }
        const ChatEntry& list = catalogue.ChatLists[RandomListOfChatType(type)];
        std::string line = RandomListLine(list, random);
        if (line.empty()) {
            ++leftOut; // the game has no such list
            continue;
        }
        bot.SetBotChat(group, NextChatIndex(bot, group), line);
    }
    return leftOut;
}

} // namespace twl
