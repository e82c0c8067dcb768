// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// The game the engine runs: the game folder (the engine's fs_basepath, which
// holds the base folder) and the base folder's name ("baseoa" for
// OpenArena, "baseq3" for Quake III Arena).
struct GameFolders
{
    std::filesystem::path GameFolder;
    std::string BaseFolder;
};

// The game in a game folder: the base folder is baseoa when the folder has
// one (OpenArena), else baseq3.
GameFolders GameIn(const std::filesystem::path& gameFolder);

// The game a try uses when none is named: that of the settings' game
// folder (Settings::Q3Baseq3), else OpenArena's /usr/lib/openarena-server
// (Debian's openarena-server) when it is there; nothing otherwise.
std::optional<GameFolders> DefaultTryGame(const Settings& settings);

// The file names of the engine programs that can run a game without a
// window, in the order they are preferred: the dedicated servers first
// (ioquake3's, Quake3e's), then the players' programs, which run as a
// server with "+set dedicated 1", then Debian's wrappers (which start
// ioquake3's server with the game's own settings ahead of ours).
const std::vector<std::string>& EngineProgramNames();

// Where an engine is looked for, in this order: the folder of the game,
// every folder of `PathVariable` (as PATH lists them), then `SystemFolders`;
// in each folder the names of EngineProgramNames in their order.
struct EngineSearch
{
    std::filesystem::path GameFolder;
    std::string PathVariable;
    std::vector<std::filesystem::path> SystemFolders{"/usr/lib/ioquake3"};
};

// The search with this process's PATH and the game folder.
EngineSearch DefaultEngineSearch(const std::filesystem::path& gameFolder);

// The first engine the search finds: an executable regular file (or a
// link to one). Nothing when there is none.
std::optional<std::filesystem::path> FindEngine(const EngineSearch& search);

// What the user is told when no engine is found: the Debian packages that
// bring one.
std::string NoEngineText();

// The map the bots are tried on in a base folder: one whose bot navigation
// file (.aas) the game ships: oa_dm1 in OpenArena's baseoa, q3dm1 elsewhere.
std::string DefaultTryMap(const std::string& baseFolder);

} // namespace twl
