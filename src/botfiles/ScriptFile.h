// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "botfiles/BotFileReading.h"
#include "catalog/BotInfo.h"
#include "catalog/BotList.h"
#include "core/Bot.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/TextFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// The bot script: header, then name, model[/skin], fun name (when set;
// quoted when it holds a blank or a character outside ASCII),
// railgun colour (when set), characteristic file and arena-lord flag (when 1)
// between braces.
std::vector<std::string> ScriptFileLines(const Bot& bot, const Settings& settings);

// Reads fun name, railgun colour, model and skin and arena-lord flag. A key
// counts only as the first word of its line (any case); comment lines are
// skipped. Fun name and railgun colour are reset first.
void ReadScriptLines(Bot& bot, const std::vector<std::string>& lines);

// Takes what the game's bot list says of a bot, each value when it is
// given: name, model and skin, fun name, railgun colour ("color1", or the
// older "color", a whole number 0 to 7), gender ("neuter" is "it") and the
// arena-lord flag. Fun name and railgun colour are reset first.
void ApplyBotInfo(Bot& bot, const BotInfo& info);

// Reads folder/<name>.bot; a missing file is reported ("Unable to find bot
// file for <name>.") and the script defaults are used, as when it cannot
// be read (reported with the reason).
Result<> ReadScriptFile(Bot& bot,
                        const std::filesystem::path& folder,
                        const std::string& name,
                        const BotList& bots,
                        Messages& messages);

// The script values of a bot without a script: model Sarge, skin Default,
// no fun name or colour; a game bot of the list (same name, same capitals)
// gets its own model, skin, fun name and arena-lord flag.
void ScriptDefaults(Bot& bot, const BotList& bots);

} // namespace twl
