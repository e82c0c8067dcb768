#pragma once

#include "chat/ChatCatalogue.h"
#include "core/Bot.h"

#include <cstdint>
#include <random>
#include <string>

namespace twl {

// Leaves every chat group of the bot with one empty line.
void ClearBotChats(Bot& bot);

// Where a new line of the group goes: 0 when the group holds only an empty
// line, otherwise after its last line.
std::int16_t NextChatIndex(const Bot& bot, int group);

// A reference to a random member of a chat list, "{{TOKEN<n>}}", with
// n = Int(r * (MaxIndex + 1)) for r in [0, 1), in single precision and never
// above MaxIndex.
std::string RandomListLine(const ChatEntry& list, float r);
std::string RandomListLine(const ChatEntry& list, std::mt19937& random);

// A uniform number in [0, 1) in single precision.
float UniformSingle(std::mt19937& random);

// Adds to every chat group one random line of the group's own chat list.
void AddExtraChats(Bot& bot, const ChatCatalogue& catalogue, std::mt19937& random);

} // namespace twl
