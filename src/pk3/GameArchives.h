// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pk3/Games.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// A folder is taken for the game folder when IdentifyGameFolder knows it:
// it holds a game's base folder with archives, or an engine program, or it
// is a player's own folder of a game.
bool IsGameFolder(const std::filesystem::path& folder);

// The patterns of the engine programs that IsGameFolder looks for
// ("quake3.exe", "ioq3ded*"), for a file browser.
std::vector<std::string> GameProgramNames();
// The game folder as the settings keep it: absolute (the settings are read
// again from any working folder), without "." and ".." parts or a trailing
// "/". The folder as given when the working folder cannot be found.
std::filesystem::path AbsoluteGameFolder(const std::filesystem::path& folder);

// The folders whose .pk3 archives (and loose files) the game loads, lowest
// priority first: the game's install when the game folder holds no archives
// of its own (a player's folder, an engine's folder), the game folder's base
// folder, then the player's own base folders of that game (~/.q3a/baseq3
// and $XDG_DATA_HOME/Quake3/baseq3, default ~/.local/share/Quake3/baseq3;
// ~/.openarena/baseoa ...), those when they exist. A folder that is no game
// folder is taken for Quake III's.
std::vector<std::filesystem::path> GameArchiveFolders(const std::filesystem::path& gameFolder);
std::vector<std::filesystem::path> GameArchiveFolders(const std::filesystem::path& gameFolder,
                                                      const std::filesystem::path& homeFolder,
                                                      const std::filesystem::path& dataHome);
std::vector<std::filesystem::path> GameArchiveFolders(const std::filesystem::path& gameFolder,
                                                      const GameSearch& search);
// The same for a folder that IdentifyGameFolder (with the players' folders
// of the environment) has already told about, without looking again.
std::vector<std::filesystem::path>
GameArchiveFolders(const std::filesystem::path& gameFolder,
                   const std::optional<IdentifiedGameFolder>& identified);

struct ArchiveFile
{
    std::string Name; // bare file name, as the lists keep it
    std::filesystem::path Path;
};

// The order in which the game loads its archives, as the engine sorts
// their names: byte by byte with a-z taken as A-Z and "\\" and ":" as "/".
// Negative, zero or positive.
int CompareArchiveNames(const std::string& a, const std::string& b);

// Every .pk3 of the folders in the game's order, lowest priority first: the
// folders in their order, in each the names as CompareArchiveNames sorts
// them. A later archive wins over an earlier one, as in the game. A name
// found in more than one folder is the copy of the later (the user's) folder.
std::vector<ArchiveFile> FindGameArchives(const std::vector<std::filesystem::path>& folders);

// Where the archive of that bare name lies; nothing when in none of them.
std::optional<std::filesystem::path>
ResolveGameArchive(const std::vector<std::filesystem::path>& folders, const std::string& name);

} // namespace twl
