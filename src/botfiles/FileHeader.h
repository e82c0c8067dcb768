#pragma once

#include "core/Bot.h"
#include "core/Settings.h"

#include <string>
#include <vector>

namespace twl {

// The seven comment lines that open every bot file: a rule, name and
// version, the author (from the settings), the bot's comment, the program
// and its address, a rule.
std::vector<std::string> FileHeaderLines(const Bot& bot, const Settings& settings);

// Reads the bot's version and comment from the header at the start of
// `lines`; both are reset first. Returns how many lines it took: 2 when the
// second line holds no "version ", otherwise 4; fewer when the header ends
// early (a line that is no "//" comment is never taken).
std::size_t ReadFileHeader(Bot& bot, const std::vector<std::string>& lines);

} // namespace twl
