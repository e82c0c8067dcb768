// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EnginePrograms.h"

#include "pk3/Games.h"

#include <cstdlib>
#include <unistd.h>

namespace twl {

const std::vector<std::string>& EngineProgramNames()
{
    static const std::vector<std::string> names = {
        "ioq3ded",
        "ioq3ded.x86_64",
        "ioq3ded.aarch64",
        "quake3e.ded",
        "quake3e.ded.x64",
        "quake3e.ded.aarch64",
        "ioquake3",
        "ioquake3.x86_64",
        "ioquake3.aarch64",
        "quake3e",
        "quake3e.x64",
        "quake3e.aarch64",
        "openarena-server",
        "ioquake3-server",
        "quake3-server",
    };
    return names;
}

EngineSearch DefaultEngineSearch(const std::filesystem::path& gameFolder)
{
    EngineSearch search;
    search.GameFolder = gameFolder;
    const char* path = std::getenv("PATH");
    search.PathVariable = path != nullptr ? path : "";
    return search;
}

namespace {

bool IsExecutableFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::optional<std::filesystem::path> FindEngine(const EngineSearch& search)
{
    std::vector<std::filesystem::path> folders;
    if (!search.GameFolder.empty()) {
        folders.push_back(search.GameFolder);
    }
    std::size_t start = 0;
    while (start <= search.PathVariable.size()) {
        std::size_t end = search.PathVariable.find(':', start);
        if (end == std::string::npos) {
            end = search.PathVariable.size();
        }
        // An empty entry of PATH is the working folder, which is never
        // where a game's engine is meant to come from.
        if (end > start) {
            folders.emplace_back(search.PathVariable.substr(start, end - start));
        }
        start = end + 1;
    }
    folders.insert(folders.end(), search.SystemFolders.begin(), search.SystemFolders.end());
    for (const std::filesystem::path& folder : folders) {
        for (const std::string& name : EngineProgramNames()) {
            if (IsExecutableFile(folder / name)) {
                return folder / name;
            }
        }
    }
    return std::nullopt;
}

std::string NoEngineText()
{
    return "No engine of the game is installed: the game's engine decides whether it accepts "
           "a bot. Install the Debian package openarena-server (OpenArena with its engine), or "
           "ioquake3-server with the data of Quake III Arena.";
}

namespace {

// Whether the base folder holds the game module as a program of this
// machine: the engine needs it where the archives' module is only a stub
// (OpenArena's asks for the native one).
bool HasGameModule(const std::filesystem::path& base)
{
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(base, error);
         !error && it != std::filesystem::directory_iterator();
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.rfind("qagame", 0) == 0 && name.size() > 3 &&
            name.compare(name.size() - 3, 3, ".so") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

GameFolders GameIn(const std::filesystem::path& gameFolder)
{
    std::optional<IdentifiedGameFolder> game = IdentifyGameFolder(gameFolder);
    if (!game) {
        return {gameFolder, "baseq3"};
    }
    const std::string& base = game->Game->BaseFolder;
    if (!game->PlayersOwn && game->Archives > 0 && HasGameModule(game->Base)) {
        return {game->Folder, base};
    }
    // The data alone, or a player's folder: the install that the engine
    // runs the game from (Debian's server folder holds the module and
    // links to the data).
    for (const std::string& install : game->Game->InstallFolders) {
        std::filesystem::path folder(install);
        if (HasGameModule(folder / base) && HasArchive(folder / base)) {
            return {folder, base};
        }
    }
    return {game->PlayersOwn ? gameFolder : game->Folder, base};
}

std::optional<GameFolders> DefaultTryGame(const Settings& settings)
{
    const std::string& configured = settings.Text(Settings::Q3Baseq3);
    if (!configured.empty()) {
        return GameIn(configured);
    }
    std::vector<FoundGame> games = FindGames(GameSearch::FromEnvironment());
    if (!games.empty()) {
        return GameIn(games.front().Where.Folder);
    }
    return std::nullopt;
}

std::string DefaultTryMap(const std::string& baseFolder)
{
    return baseFolder == "baseoa" ? "oa_dm1" : "q3dm1";
}

} // namespace twl
