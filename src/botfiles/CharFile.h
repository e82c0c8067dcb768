// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "botfiles/BotFileReading.h"
#include "core/Bot.h"
#include "core/CharCatalogue.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twl {

// The lines of the characteristic file: header, include, and a block for
// each skill level 1, 4 and 5. Per-weapon values (18 to 29) and the firing
// speed (30) are written only when above 0. When the three levels of one
// characteristic mix whole and decimal texts, the whole ones get ".0", so
// that the game interpolates the levels in between.
std::vector<std::string>
CharFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings);

// Reads the lines of a characteristic file into the bot. With `fullLoad`
// the name, gender, version and comment are taken too; the name as it
// stands, even one that a save will refuse (CheckBotName). The
// lines of a level's block that name no known characteristic are kept with
// that level (comments and empty lines are not). Values that would not be
// written back as they stand are reported once, naming `fileName`.
void ReadCharLines(Bot& bot,
                   const std::vector<std::string>& lines,
                   const CharCatalogue& charNames,
                   bool fullLoad,
                   Messages& messages,
                   const std::string& fileName = "the characteristic file");

// Why the bytes of a characteristic file cannot be read as one: empty, a
// zip archive, UTF-16 or other binary data, or no skill block in it at
// all (the game then finds no characteristics and takes another bot's).
// Nothing when they can.
std::optional<std::string> CharFileProblem(std::string_view bytes);

// Reads folder/<name>_c.c; a missing file is reported ("Unable to find
// characteristics file for <name>.") and the bot stays as it was. True when
// the file was read; one that is there but cannot be read, or whose bytes
// CharFileProblem refuses, is reported with the reason and not read.
Result<> ReadCharFile(Bot& bot,
                      const std::filesystem::path& folder,
                      const std::string& name,
                      bool fullLoad,
                      const CharCatalogue& charNames,
                      Messages& messages);

// The text of a value that the game reads as a text: always in double quotes.
std::string FormatText(const Value& value);

} // namespace twl
