// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chat/ChatCatalogue.h"
#include "core/Bot.h"

#include <random>
#include <string>

namespace twl {

// The values of the new-bot presets, filled into a fresh bot. "All zeros"
// sets every characteristic and weight to the whole number 0; "Average"
// sets 0.5 (double) with view change 180, reaction time 2, typing speed 200,
// weights 50, health 1 and armour 2 (whole numbers), and adds one random
// line of its own chat list to every chat group. Both forget what the bot
// kept of files it was loaded from (unknown lines, foreign weight files).
// "Average" gives the number of chat groups left without a line because
// the game lacks their list.
void ApplyZeroPreset(Bot& bot);
int ApplyAveragePreset(Bot& bot, const ChatCatalogue& chat, std::mt19937& random);

// What the status line says of chat lines a preset left out; empty for none.
std::string LeftOutChatsNote(int leftOut, const ChatCatalogue& chat);

// Sets the per-weapon aim values and the firing speed (per-skill 18 to 30)
// of every level to the whole number 0, as a load does before it reads a
// characteristic file that may leave them out.
void ClearChars(Bot& bot);

} // namespace twl
