// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bot.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "services/Catalogues.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace twl {

// Where the files of a set go: the bot files and the script, which share
// the folder unless the game's layout (botfiles/bots and scripts) is used.
struct BotFileFolders
{
    std::filesystem::path Files;
    std::filesystem::path Scripts;
};

BotFileFolders BotFileFoldersFor(const std::filesystem::path& folder, bool dirStruct);

// The five files of a bot as "Make bot files" writes them: characteristic,
// weapon, item and chat files, then the script, each its bare file name
// (as the bot names it) and its bytes. A failure when a file cannot be made
// (a character Windows-1252 cannot hold): its Path is the file's name, its
// Code the file's place among the five.
struct MadeBotFile
{
    std::string FileName;
    std::string Bytes;
};

using MadeBotFiles = std::array<MadeBotFile, 5>;

Result<MadeBotFiles>
BotFilesInMemory(const Bot& bot, const Catalogues& catalogues, const Settings& settings);

// Writes the five files of the bot: characteristic, weapon, item and chat
// files, then the script. With `dirStruct` the folders botfiles, botfiles/bots
// and scripts are made when missing. With `makeArchive` the five files are
// then packed into folder/bot-<Name>.pk3 (from wherever they were written)
// and the settings' archive counter goes up by one. The five files replace
// the old ones together or not at all. A failure is reported ("Couldn't
// write <path>: <reason>") and ends the save; false then. A name that
// CheckBotName refuses is reported with its message and nothing is
// written. A weight file the bot keeps whole is written back byte for byte.
bool SaveBotFileSet(const Bot& bot,
                    const std::filesystem::path& folder,
                    bool dirStruct,
                    bool makeArchive,
                    const Catalogues& catalogues,
                    Settings& settings,
                    Messages& messages);

// The scripts folder beside the botfiles/bots folder that `folder` lies in
// (…/baseq3/botfiles/bots gives …/baseq3/scripts); nothing when the path
// has no botfiles/bots.
std::optional<std::filesystem::path> ScriptFolderOf(const std::filesystem::path& folder);

// Reads the files of the bot whose files start with `name`: characteristic
// (with name, gender, version, comment), item, weapon and chat files, then,
// with `loadScript`, its script: from the scripts folder of the game layout
// with `dirStruct`, from `folder` without. Each missing file is reported and
// the load goes on; one that is there but cannot be read is reported with
// the reason, and the load goes on too. False after such a file.
bool LoadBotFileSet(Bot& bot,
                    const std::string& name,
                    const std::filesystem::path& folder,
                    bool dirStruct,
                    bool loadScript,
                    const Catalogues& catalogues,
                    Messages& messages);

// What a load reads.
enum class LoadType
{
    WholeBot = 0, // `file` is the stem before "_c.c"
    CharFile = 1, // `file` is the chosen file's whole name, here and below
    ChatFile = 2,
    ItemFile = 3,
    WeaponFile = 4,
    // What the load and save dialog is opened for besides a load.
    MakeBotFiles = 5,
    GameFolder = 6,
    ExtractorFolder = 7,
    WorkingFolder = 8
};

// Whether the dialog is opened for one of the loads 0 to 4.
inline bool IsLoad(LoadType loadType)
{
    return loadType >= LoadType::WholeBot && loadType <= LoadType::WeaponFile;
}

// A load as the load dialog asks for it, with the resets that go before:
// chats and per-weapon values for a whole bot, per-weapon values for a
// characteristic file, chats for a chat file; a whole bot forgets what it
// kept of the files it had. True when the main file (the characteristic
// file of a whole bot) was found and no file of the set was there but
// unreadable.
bool LoadBotFiles(Bot& bot,
                  LoadType loadType,
                  const std::filesystem::path& folder,
                  const std::string& file,
                  bool dirStruct,
                  bool loadScript,
                  const Catalogues& catalogues,
                  Messages& messages);

} // namespace twl
