// SPDX-License-Identifier: GPL-3.0-or-later
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

// A reference to a random member of a chat list, "{{TOKEN<n>}}" ("{NAME<n>}"
// for a list only the game has), n being member Int(r * count) of the
// list's Members for r in [0, 1), in single precision and never past the
// last; empty when the game has no member of the list.
std::string RandomListLine(const ChatEntry& list, float r);
std::string RandomListLine(const ChatEntry& list, std::mt19937& random);

// A uniform number in [0, 1) in single precision.
float UniformSingle(std::mt19937& random);

// Adds to every chat group one random line of the group's own chat list;
// the number of groups left without one because the game lacks their list.
int AddExtraChats(Bot& bot, const ChatCatalogue& catalogue, std::mt19937& random);

} // namespace twl
