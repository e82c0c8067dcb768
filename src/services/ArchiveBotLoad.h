// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bot.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "services/BotFileSet.h"
#include "services/Catalogues.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// Reads what `loadType` asks for of the bot `name` (lower case) from the
// archive `pk3File` of the game's folders into `bot`: each file is read
// into memory and handed to its reader, no file is written for it. The
// whole bot reads its script when the list says the archive has one, else
// gets the script defaults. False when the load was given up (its message has been shown).
bool LoadBotFromArchive(Bot& bot,
                        LoadType loadType,
                        const std::string& pk3File,
                        const std::string& name,
                        bool hasBotFile,
                        const std::vector<std::filesystem::path>& archiveFolders,
                        const Catalogues& catalogues,
                        Messages& messages);

// A pick from the game's bot list: without a game folder it says so; a
// whole bot is loaded into a new bot that replaces `thisBot` only when the
// load succeeded, single files go straight into `thisBot`. A load that was
// given up says "Bot <name> not loaded." ("Operation cancelled!"). True when
// loaded.
bool LoadListedBot(Bot& thisBot,
                   std::size_t botId,
                   LoadType loadType,
                   const Settings& settings,
                   const Catalogues& catalogues,
                   const std::vector<std::filesystem::path>& archiveFolders,
                   Messages& messages);

} // namespace twl
