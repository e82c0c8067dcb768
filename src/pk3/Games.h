// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// A game on the id Tech 3 engine whose bots Tarnwell makes: its base
// folder and where its data and its players' own folders are usually found.
struct GameKind
{
    std::string Name;       // "Quake III Arena"
    std::string BaseFolder; // "baseq3": the folder of the game's archives
    // The player's own folder, relative to the home folder (".q3a") or to
    // $XDG_DATA_HOME (default ~/.local/share), as the engines keep it.
    std::vector<std::string> HomeFolders;
    std::vector<std::string> DataHomeFolders;
    // The usual installs, absolute; "/usr/local/games", "/opt" and the Steam
    // libraries are searched beside them.
    std::vector<std::string> InstallFolders;
    // Steam's folder name of the game in a library's steamapps/common.
    std::string SteamFolder;
    // A map that the game ships with its bots' navigation file.
    std::string BotMap;
};

// The games, Quake III Arena first: it is the game without a game folder.
const std::vector<GameKind>& KnownGames();

// The game of that base folder name (compared without regard to case).
const GameKind* GameOfBaseFolder(const std::string& baseFolder);

// The engine programs a game folder may hold, one table: names taken as
// they stand ("quake3.exe") and names taken with any ending ("ioq3ded*").
// Compared without regard to case; a name of the second kind must be an
// executable file.
struct EngineProgramName
{
    const char* Name;
    bool AnyEnding;
    // The game the program runs by itself; nothing for an engine of any game.
    const char* BaseFolder;
};

const std::vector<EngineProgramName>& EnginePrograms();

// The engine program in `folder`, when it holds one of EnginePrograms.
std::optional<std::filesystem::path> EngineProgramIn(const std::filesystem::path& folder);

// The number of .pk3 archives directly in `folder` (0 when it is no folder).
std::size_t CountArchives(const std::filesystem::path& folder);

// Whether `folder` holds a .pk3 archive directly: CountArchives above 0,
// without going through all of them.
bool HasArchive(const std::filesystem::path& folder);

// Where the player's own folders of the games lie: the home folder and
// $XDG_DATA_HOME (empty: ~/.local/share). Tests give folders of their own.
struct PlayerFolders
{
    std::filesystem::path Home;
    std::filesystem::path DataHome;

    // From $HOME and $XDG_DATA_HOME.
    static PlayerFolders FromEnvironment();
    std::filesystem::path DataFolder() const;
};

// A folder taken as a game folder, and what it holds.
struct IdentifiedGameFolder
{
    const GameKind* Game = nullptr;
    std::filesystem::path Folder;
    // The folder's own base folder (Folder / BaseFolder); it may not exist.
    std::filesystem::path Base;
    std::size_t Archives = 0; // in Base
    // The folder is a player's own folder of the game (~/.openarena): the
    // game's data come from its install, whatever the folder holds besides.
    bool PlayersOwn = false;
};

// What `folder` is as a game folder: a folder holding a base folder of a
// known game with at least one .pk3, or a known engine program, or one of
// the players' own folders of a game (~/.openarena), whose data then come
// from the game's install. A folder with the archives of two games is
// Quake III's, as the engine takes baseq3 unless told otherwise. Nothing
// when the folder is none of these.
std::optional<IdentifiedGameFolder> IdentifyGameFolder(const std::filesystem::path& folder,
                                                       const PlayerFolders& players);
std::optional<IdentifiedGameFolder> IdentifyGameFolder(const std::filesystem::path& folder);

// The second line of the messages that refuse a folder as the game folder.
std::string WhatAGameFolderHolds();

// The player's own folders of the game, as they stand, existing or not.
std::vector<std::filesystem::path> PlayerBaseFolders(const GameKind& game,
                                                     const PlayerFolders& players);

// The player's own base folder of the game in `gameFolder`, where a bot put
// is found by the game: the first of them that exists, else the first;
// empty when the folder is no game folder.
std::filesystem::path PlayerGameFolder(const std::filesystem::path& gameFolder,
                                       const PlayerFolders& players);

// A game found on this machine.
struct FoundGame
{
    IdentifiedGameFolder Where;
    // The first of the player's own base folders (whether or not it exists yet).
    std::filesystem::path PlayerBase;
};

// Where FindGames looks besides each game's usual installs: the root that
// the absolute install folders stand under ("/" but in tests) and the
// players' folders.
struct GameSearch
{
    std::filesystem::path Root = "/";
    PlayerFolders Players;

    static GameSearch FromEnvironment();
};

// Every game found in the known places: each game's usual installs,
// /usr/local/games and /opt (and their subfolders), the Steam libraries and
// the players' own folders, in that order. A place whose archives are those
// of a game found before (the same files, as Debian links them), and a
// player's own folder of a game found before, are not listed again. At most a few hundred folders
// are looked at.
std::vector<FoundGame> FindGames(const GameSearch& search);

} // namespace twl
