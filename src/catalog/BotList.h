// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/BotInfo.h"
#include "catalog/NameIndex.h"
#include "core/ListFile.h"
#include "core/Messages.h"
#include "core/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace twl {

inline constexpr const char* UserBotsFileName = "twl_bots";

struct BotListEntry
{
    std::string Name;
    std::string PK3File;     // archive in baseq3 that holds the bot's files
    bool IsOriginal = false; // one of the game's 32 bots, not taken over by an archive
    bool HasBotFile = false; // the archive holds the bot's script
    // A bot of the game's own bot list (scripts/bots.txt, scripts/*.bot):
    // its entry there, and its characteristic file as the entry names it
    // ("bots/angelyss_c.c"); PK3File is then where that file is found (an
    // archive's name, or the folder of loose files), empty when nowhere.
    bool FromGameList = false;
    BotInfo Info;
    std::string AiFile;
};

// The bots that can be loaded from the game folder; positions are the
// identifiers the load dialog hands back.
using BotList = std::vector<BotListEntry>;

// The game's 32 bots alone, in their built-in order.
void LoadGameBots(BotList& bots);

// The game's 32 bots in their built-in order, then the user's list.
void LoadBotList(BotList& bots, const std::filesystem::path& folder, Messages& messages);

// What LoadBotList gives of the bot `name` (matched without regard to case)
// and the game's 32 bots, for a command that wants that one bot: the user's
// list is checked line by line (a damaged one reported as LoadUserBots
// reports it) without the entries of the other bots being made.
void LoadBotListFor(BotList& bots,
                    const std::filesystem::path& folder,
                    const std::string& name,
                    Messages& messages);

// Overwrites the entry of that name (matched without regard to case; a game
// bot too, which then counts as not original) or appends a new one. The
// name is capitalised; nothing is sorted. With `index` the entry is found
// through it (and the index kept up to date).
void AddBotEntry(BotList& bots,
                 const std::string& name,
                 const std::string& pk3File,
                 bool hasBotFile,
                 NameIndex* index = nullptr);

// The line of an entry in the load dialog's bot list: the name in 15
// columns, the archive in 20 (each cut with a blank when longer), then "Yes"
// when the archive holds the bot's script, "-D-" for the game's own bots,
// else "No"; a bot of the game's own list gets a fourth column, its model.
std::string BotListLine(const BotListEntry& entry);

// Whether a PK3File names a folder of loose files (a path), not an archive.
inline bool IsLooseFolder(const std::string& pk3File)
{
    return pk3File.find('/') != std::string::npos;
}

// By name, in character-code order, stably.
void SortBotList(BotList& bots);

// Removes every entry that is not original, keeping the order of the rest.
void RemoveArchiveBots(BotList& bots);

// Reads folder/twl_bots, one bot a line, and sorts the list when the file
// exists. A damaged line is skipped and reported once: "Errors occured when
// trying to load botlist file. Please use Tools/CheckBaseq3 to correct the
// bot list." (title "Load error", warning).
// With ListEntries::KeptByFolderCheck only the lines that name one of the
// game's bots are taken in (the check drops every other bot of the list).
void LoadUserBots(BotList& bots,
                  const std::filesystem::path& folder,
                  Messages& messages,
                  ListEntries which = ListEntries::All);

// Writes every entry that is not original to folder/twl_bots; writes nothing
// when there is none. An entry whose names cannot be stored is left out and
// the user is told.
Result<> SaveUserBots(const BotList& bots, const std::filesystem::path& folder, Messages& messages);

} // namespace twl
