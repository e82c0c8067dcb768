#pragma once

#include "core/Bot.h"
#include "core/Messages.h"

#include <filesystem>

namespace twl {

// Packs the five files of the bot, as written to `filesFolder` and
// `scriptsFolder`, into folder/bot-<Name>.pk3 under botfiles/bots/ and
// scripts/. The old archive is replaced only by a complete new one. Says
// "<folder>/bot-<Name>.pk3 created succesfully" after success, or
// "<number> Form1::cmdZip_Click <description>"; true on success.
bool WriteBotArchive(const std::filesystem::path& folder,
                     const Bot& bot,
                     const std::filesystem::path& filesFolder,
                     const std::filesystem::path& scriptsFolder,
                     Messages& messages);

} // namespace twl
