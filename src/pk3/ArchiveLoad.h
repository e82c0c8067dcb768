#pragma once

#include "botfiles/BotFileSet.h"
#include "core/Bot.h"
#include "core/Catalogues.h"
#include "core/Messages.h"
#include "core/Settings.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace twl {

class ZipReader;

// No bot file or icon is this large; a larger entry is not read.
inline constexpr std::uint64_t MaxArchiveEntrySize = 4 * 1024 * 1024;

// Takes one entry (looked up without regard to case, "/" and "\" alike) out
// of the open archive into `folder` under its bare file name. A missing,
// oversized or damaged entry is reported ("Couldn't load <entry> from <pk3>.
// Check that the pk3-file still exists.", "Load failed"). The path written,
// or nothing.
std::optional<std::filesystem::path> ExtractFromArchive(ZipReader& archive,
                                                        const std::string& pk3File,
                                                        const std::string& entry,
                                                        const std::filesystem::path& folder,
                                                        Messages& messages);

// Reads what `loadType` asks for of the bot `name` (lower case) from the
// archive `pk3File` of the game's folders into `bot`: the files are taken
// out one by one into `tempFolder`, read and deleted. The whole bot reads its
// script when the list says the archive has one, else gets the script
// defaults. False when the load was given up (its message has been shown).
bool LoadBotFromArchive(Bot& bot,
                        LoadType loadType,
                        const std::string& pk3File,
                        const std::string& name,
                        bool hasBotFile,
                        const std::vector<std::filesystem::path>& archiveFolders,
                        const std::filesystem::path& tempFolder,
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
                   const std::filesystem::path& tempFolder,
                   Messages& messages);

// Takes a skin icon (its path as the catalogue keeps it) out of its archive
// into `tempFolder`; the path written, or nothing (after the message).
std::optional<std::filesystem::path>
ExtractIcon(const std::string& pk3File,
            const std::string& iconFile,
            const std::vector<std::filesystem::path>& archiveFolders,
            const std::filesystem::path& tempFolder,
            Messages& messages);

} // namespace twl
