// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/Games.h"

#include "core/TextCase.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <set>
#include <unistd.h>

namespace twl {

namespace {

// Past this many folders the search stops: a Steam library or /opt with
// thousands of entries must not make the options dialog wait.
constexpr std::size_t MaxFoldersLookedAt = 400;

bool IsArchiveFileName(const std::string& name)
{
    return name.size() > 4 && LowerCase(name.substr(name.size() - 4)) == ".pk3";
}

bool IsDirectory(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool IsExecutableFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

std::filesystem::path UnderRoot(const std::filesystem::path& root, const std::string& absolute)
{
    return root / std::filesystem::path(absolute).relative_path();
}

std::filesystem::path EnvironmentPath(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

const EngineProgramName* MatchEngineProgram(const std::string& fileName)
{
    std::string lower = LowerCase(fileName);
    for (const EngineProgramName& program : EnginePrograms()) {
        std::string name = program.Name;
        if (lower == name || (program.AnyEnding && lower.compare(0, name.size(), name) == 0)) {
            return &program;
        }
    }
    return nullptr;
}

} // namespace

const std::vector<GameKind>& KnownGames()
{
    static const std::vector<GameKind> games = {
        {"Quake III Arena",
         "baseq3",
         {".q3a"},
         {"Quake3"},
         {"/usr/share/games/quake3",
          "/usr/lib/ioquake3",
          "/usr/lib/quake3",
          "/usr/local/games/quake3",
          "/opt/quake3",
          "/opt/ioquake3"},
         "Quake 3 Arena",
         "q3dm1"},
        {"OpenArena",
         "baseoa",
         {".openarena"},
         {"OpenArena"},
         {"/usr/share/games/openarena",
          "/usr/lib/openarena",
          "/usr/lib/openarena-server",
          "/usr/local/games/openarena",
          "/opt/openarena"},
         "OpenArena",
         "oa_dm1"},
    };
    return games;
}

const GameKind* GameOfBaseFolder(const std::string& baseFolder)
{
    for (const GameKind& game : KnownGames()) {
        if (LowerCase(game.BaseFolder) == LowerCase(baseFolder)) {
            return &game;
        }
    }
    return nullptr;
}

const std::vector<EngineProgramName>& EnginePrograms()
{
    static const std::vector<EngineProgramName> programs = {
        {"quake3.exe", false, nullptr},
        {"quake3.x86", false, nullptr},
        {"quake3-smp.x86", false, nullptr},
        {"ioquake3", true, nullptr},
        {"ioq3ded", true, nullptr},
        {"quake3e", true, nullptr},
        {"openarena", true, "baseoa"},
        {"oa_ded", true, "baseoa"},
    };
    return programs;
}

std::optional<std::filesystem::path> EngineProgramIn(const std::filesystem::path& folder)
{
    std::error_code error;
    std::size_t looked = 0;
    std::optional<std::filesystem::path> found;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator() && looked < 10000;
         it.increment(error), ++looked) {
        const EngineProgramName* program = MatchEngineProgram(it->path().filename().string());
        if (program == nullptr) {
            continue;
        }
        bool usable = program->AnyEnding ? IsExecutableFile(it->path())
                                         : std::filesystem::is_regular_file(it->path(), error);
        // The same folder listed in another order must give the same program.
        if (usable && (!found || it->path() < *found)) {
            found = it->path();
        }
    }
    return found;
}

namespace {

// The archives directly in `folder`, up to `enough` of them. The folder's
// listing tells each file's kind, so only a link is looked at on its own.
std::size_t CountArchivesUpTo(const std::filesystem::path& folder, std::size_t enough)
{
    std::error_code error;
    std::size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator() && count < enough;
         it.increment(error)) {
        std::error_code fileError;
        if (IsArchiveFileName(it->path().filename().string()) && it->is_regular_file(fileError)) {
            ++count;
        }
    }
    return count;
}

} // namespace

std::size_t CountArchives(const std::filesystem::path& folder)
{
    return CountArchivesUpTo(folder, std::numeric_limits<std::size_t>::max());
}

bool HasArchive(const std::filesystem::path& folder)
{
    return CountArchivesUpTo(folder, 1) > 0;
}

PlayerFolders PlayerFolders::FromEnvironment()
{
    return PlayerFolders{EnvironmentPath("HOME"), EnvironmentPath("XDG_DATA_HOME")};
}

std::filesystem::path PlayerFolders::DataFolder() const
{
    if (!DataHome.empty()) {
        return DataHome;
    }
    return Home.empty() ? std::filesystem::path() : Home / ".local" / "share";
}

std::vector<std::filesystem::path> PlayerBaseFolders(const GameKind& game,
                                                     const PlayerFolders& players)
{
    std::vector<std::filesystem::path> folders;
    if (!players.Home.empty()) {
        for (const std::string& folder : game.HomeFolders) {
            folders.push_back(players.Home / folder / game.BaseFolder);
        }
    }
    std::filesystem::path data = players.DataFolder();
    if (!data.empty()) {
        for (const std::string& folder : game.DataHomeFolders) {
            folders.push_back(data / folder / game.BaseFolder);
        }
    }
    return folders;
}

std::filesystem::path PlayerGameFolder(const std::filesystem::path& gameFolder,
                                       const PlayerFolders& players)
{
    std::optional<IdentifiedGameFolder> game = IdentifyGameFolder(gameFolder, players);
    if (!game) {
        return {};
    }
    std::vector<std::filesystem::path> folders = PlayerBaseFolders(*game->Game, players);
    for (const std::filesystem::path& folder : folders) {
        if (IsDirectory(folder)) {
            return folder;
        }
    }
    return folders.empty() ? std::filesystem::path() : folders.front();
}

std::optional<IdentifiedGameFolder> IdentifyGameFolder(const std::filesystem::path& folder,
                                                       const PlayerFolders& players)
{
    if (folder.empty() || !IsDirectory(folder)) {
        return std::nullopt;
    }
    // `archives`: the base folder's archives when they were counted already.
    auto described = [&](const GameKind& game,
                         const std::filesystem::path& gameFolder,
                         std::optional<std::size_t> archives = std::nullopt) {
        IdentifiedGameFolder found;
        found.Game = &game;
        found.Folder = gameFolder;
        found.Base = gameFolder / game.BaseFolder;
        found.Archives = archives ? *archives : CountArchives(found.Base);
        for (const std::filesystem::path& base : PlayerBaseFolders(game, players)) {
            found.PlayersOwn = found.PlayersOwn || SameFolder(gameFolder, base.parent_path());
        }
        return found;
    };
    // Each base folder is listed once: the count tells whether it has any.
    for (const GameKind& game : KnownGames()) {
        if (std::size_t archives = CountArchives(folder / game.BaseFolder); archives > 0) {
            return described(game, folder, archives);
        }
    }
    // The base folder itself chosen: its game folder is the one above.
    std::filesystem::path name =
        folder.filename().empty() ? folder.parent_path().filename() : folder.filename();
    if (const GameKind* game = GameOfBaseFolder(name.string())) {
        std::filesystem::path base = folder.filename().empty() ? folder.parent_path() : folder;
        if (HasArchive(base) && base.has_parent_path()) {
            return described(*game, base.parent_path());
        }
    }
    for (const GameKind& game : KnownGames()) {
        for (const std::filesystem::path& base : PlayerBaseFolders(game, players)) {
            if (SameFolder(folder, base.parent_path())) {
                return described(game, folder);
            }
        }
    }
    if (std::optional<std::filesystem::path> program = EngineProgramIn(folder)) {
        const EngineProgramName* engine = MatchEngineProgram(program->filename().string());
        const GameKind* game = engine != nullptr && engine->BaseFolder != nullptr
                                   ? GameOfBaseFolder(engine->BaseFolder)
                                   : nullptr;
        for (const GameKind& kind : KnownGames()) {
            if (game == nullptr && IsDirectory(folder / kind.BaseFolder)) {
                game = &kind;
            }
        }
        return described(game != nullptr ? *game : KnownGames().front(), folder);
    }
    return std::nullopt;
}

std::optional<IdentifiedGameFolder> IdentifyGameFolder(const std::filesystem::path& folder)
{
    return IdentifyGameFolder(folder, PlayerFolders::FromEnvironment());
}

std::string WhatAGameFolderHolds()
{
    return "A game folder holds the game's base folder (baseq3 for Quake III Arena, baseoa for "
           "OpenArena) with its .pk3 files, or the game's program (quake3.exe, ioquake3, "
           "ioq3ded, quake3e, openarena); your own folder of the game (~/.q3a, ~/.openarena) "
           "serves too.";
}

GameSearch GameSearch::FromEnvironment()
{
    GameSearch search;
    search.Players = PlayerFolders::FromEnvironment();
    return search;
}

namespace {

// The folders to look at, in the order of FindGames.
std::vector<std::filesystem::path> SearchedFolders(const GameSearch& search)
{
    std::vector<std::filesystem::path> folders;
    for (const GameKind& game : KnownGames()) {
        for (const std::string& install : game.InstallFolders) {
            folders.push_back(UnderRoot(search.Root, install));
        }
    }
    auto withSubfolders = [&folders](const std::filesystem::path& parent, int depth) {
        std::vector<std::filesystem::path> level = {parent};
        for (int d = 0; d < depth; ++d) {
            std::vector<std::filesystem::path> next;
            for (const std::filesystem::path& folder : level) {
                std::error_code error;
                std::vector<std::filesystem::path> children;
                for (auto it = std::filesystem::directory_iterator(folder, error);
                     !error && it != std::filesystem::directory_iterator() &&
                     children.size() < MaxFoldersLookedAt;
                     it.increment(error)) {
                    std::error_code kind;
                    if (it->is_directory(kind)) {
                        children.push_back(it->path());
                    }
                }
                std::sort(children.begin(), children.end());
                next.insert(next.end(), children.begin(), children.end());
            }
            folders.insert(folders.end(), next.begin(), next.end());
            level = std::move(next);
        }
    };
    withSubfolders(UnderRoot(search.Root, "/usr/local/games"), 2);
    withSubfolders(UnderRoot(search.Root, "/opt"), 2);

    // Steam: its own library, and the others that its list of libraries names.
    std::vector<std::filesystem::path> steams;
    if (!search.Players.Home.empty()) {
        steams.push_back(search.Players.Home / ".steam" / "steam");
        steams.push_back(search.Players.Home / ".steam" / "root");
    }
    if (!search.Players.DataFolder().empty()) {
        steams.push_back(search.Players.DataFolder() / "Steam");
    }
    std::vector<std::filesystem::path> libraries;
    for (const std::filesystem::path& steam : steams) {
        libraries.push_back(steam);
        std::ifstream list(steam / "steamapps" / "libraryfolders.vdf");
        std::string line;
        for (int lines = 0; lines < 10000 && std::getline(list, line); ++lines) {
            // "path"		"/mnt/games/SteamLibrary"
            std::size_t key = line.find("\"path\"");
            if (key == std::string::npos) {
                continue;
            }
            std::size_t open = line.find('"', key + 6);
            std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
            if (close != std::string::npos) {
                libraries.emplace_back(line.substr(open + 1, close - open - 1));
            }
        }
    }
    for (const std::filesystem::path& library : libraries) {
        for (const GameKind& game : KnownGames()) {
            if (!game.SteamFolder.empty()) {
                folders.push_back(library / "steamapps" / "common" / game.SteamFolder);
            }
        }
    }
    for (const GameKind& game : KnownGames()) {
        for (const std::filesystem::path& base : PlayerBaseFolders(game, search.Players)) {
            folders.push_back(base.parent_path());
        }
    }
    return folders;
}

// The archives of a base folder as the files they are, for telling two
// places that share one game's data apart from two installs.
std::set<std::filesystem::path> ArchiveFiles(const std::filesystem::path& base)
{
    std::set<std::filesystem::path> files;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(base, error);
         !error && it != std::filesystem::directory_iterator();
         it.increment(error)) {
        if (IsArchiveFileName(it->path().filename().string())) {
            std::error_code canonicalError;
            std::filesystem::path file = std::filesystem::canonical(it->path(), canonicalError);
            files.insert(canonicalError ? it->path() : file);
        }
    }
    return files;
}

} // namespace

std::vector<FoundGame> FindGames(const GameSearch& search)
{
    std::vector<FoundGame> found;
    std::vector<std::set<std::filesystem::path>> seenArchives;
    std::size_t looked = 0;
    for (const std::filesystem::path& folder : SearchedFolders(search)) {
        if (++looked > MaxFoldersLookedAt) {
            break;
        }
        std::optional<IdentifiedGameFolder> game = IdentifyGameFolder(folder, search.Players);
        if (!game || game->Archives == 0 || !SameFolder(game->Folder, folder)) {
            continue;
        }
        std::set<std::filesystem::path> archives = ArchiveFiles(game->Base);
        // A player's own folder belongs to the install of its game found before.
        bool again = false;
        for (std::size_t k = 0; k < found.size(); ++k) {
            bool sameGame = found[k].Where.Game == game->Game;
            again = again || (sameGame && (seenArchives[k] == archives || game->PlayersOwn)) ||
                    SameFolder(found[k].Where.Folder, folder);
        }
        if (again) {
            continue;
        }
        FoundGame entry;
        entry.Where = *game;
        std::vector<std::filesystem::path> players = PlayerBaseFolders(*game->Game, search.Players);
        entry.PlayerBase = players.empty() ? std::filesystem::path() : players.front();
        found.push_back(std::move(entry));
        seenArchives.push_back(std::move(archives));
    }
    return found;
}

} // namespace twl
