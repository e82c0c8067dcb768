// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/TextOut.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// The exit status of "try" when no engine of the game (or no game) is
// installed.
inline constexpr int ExitNoEngine = 3;

// tarnwell-cli try [--skill S]... [--play SECONDS] [--game DIR] [--engine
// PATH] [--map MAP] [--time-limit SECONDS] [--settings DIR] PATH...
// (`arguments` start with "try"). Runs the game's engine on the bots of
// each PATH (as "check" takes them) and prints each thing it said as
// "FILE:LINE: error|warning: TEXT [BOT: skills ...]", then one summary line
// per bot and skill (and in a match what each said), then the totals.
// 0 when every bot entered the game at every skill on its own
// characteristics without an error, 1 otherwise, 2 on a usage error, 3
// when no engine or no game is installed. Without --game the game folder
// is the settings' one, else /usr/lib/openarena-server when it is there.
int RunTry(const std::vector<std::string>& arguments,
           const std::filesystem::path& defaultSettingsFolder,
           TextOut& out,
           TextOut& err);

// The usage lines of "try" for tarnwell-cli --help.
const char* TryUsage();

} // namespace twl
