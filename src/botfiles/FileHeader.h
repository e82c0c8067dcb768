// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bot.h"
#include "core/Settings.h"

#include <string>
#include <utility>
#include <vector>

namespace twl {

// The seven comment lines that open every bot file: a rule, name and
// version, the author (from the settings), the bot's comment, the program
// and its address, a rule.
// Then, after an empty line, the comment block the file of that kind
// opened with when the bot was loaded (Bot::LeadingComments), if any.
std::vector<std::string>
FileHeaderLines(const Bot& bot, const Settings& settings, BotFileKind file);

// The comment block at the start of a file, its author's: the lines that
// are empty, "//" comments or inside a "/* */" comment, up to the first
// other line, without the empty lines at its ends. A file that opens with
// the program's own header gives the block after it.
std::vector<std::string> LeadingCommentLines(const std::vector<std::string>& lines);
// Where that block lies: its first line and the line after it (after the
// empty lines that follow it too when it holds no comment).
std::pair<std::size_t, std::size_t> LeadingCommentRange(const std::vector<std::string>& lines);

// Reads the bot's version and comment from the header at the start of
// `lines`; both are reset first. Returns how many lines it took: 2 when the
// second line holds no "version ", otherwise 4; fewer when the header ends
// early (a line that is no "//" comment is never taken).
std::size_t ReadFileHeader(Bot& bot, const std::vector<std::string>& lines);

} // namespace twl
