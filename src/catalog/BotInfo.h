// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twl {

// One bot of the game's bot list (scripts/bots.txt, scripts/*.bot): the
// keys and values between its braces, as the game keeps them.
struct BotInfo
{
    std::vector<std::pair<std::string, std::string>> Pairs;
    int Line = 0; // where its "{" stands, from 1

    // The value of `key` (matched without regard to case, as the game looks
    // keys up); empty when it has none.
    std::string Value(const std::string& key) const;
};

// A bot list file read as the game reads it: blocks of "key value" lines
// between braces, a value running to the end of its line, "//" and "/* */"
// comments, quoted values. A value holding "\", ";" or a double quote is
// refused by the game and left out here too (a problem is noted); a key
// given twice keeps its last value. A block without "{" ends the file for
// the game: the blocks before it count. A file of MaxBotListBytes bytes or
// more is not read at all.
struct BotInfoFile
{
    std::vector<BotInfo> Infos;
    // What the game says of the file, each with its line: "line 12: Missing
    // { in info file".
    std::vector<std::string> Problems;
};

inline constexpr std::size_t MaxBotListBytes = 8192;
inline constexpr std::size_t MaxBotInfos = 1024;

BotInfoFile ParseBotInfos(std::string_view text);

// The game's model text ("angelyss/retro") as model and skin ("default"
// when it names none).
std::pair<std::string, std::string> ModelAndSkin(const std::string& model);

} // namespace twl
