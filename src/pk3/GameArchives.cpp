// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/GameArchives.h"

#include "core/TextCase.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace twl {

namespace {

bool IsArchiveName(const std::string& name)
{
    return name.size() > 4 && LowerCase(name.substr(name.size() - 4)) == ".pk3";
}

} // namespace

std::vector<std::string> GameProgramNames()
{
    std::vector<std::string> patterns;
    for (const EngineProgramName& program : EnginePrograms()) {
        patterns.push_back(std::string(program.Name) + (program.AnyEnding ? "*" : ""));
    }
    return patterns;
}

bool IsGameFolder(const std::filesystem::path& folder)
{
    return IdentifyGameFolder(folder).has_value();
}

std::filesystem::path AbsoluteGameFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(folder, error).lexically_normal();
    if (error) {
        return folder;
    }
    if (absolute.has_parent_path() && absolute.filename().empty()) {
        absolute = absolute.parent_path();
    }
    return absolute;
}

std::vector<std::filesystem::path> GameArchiveFolders(const std::filesystem::path& gameFolder)
{
    return GameArchiveFolders(gameFolder, GameSearch::FromEnvironment());
}

std::vector<std::filesystem::path> GameArchiveFolders(const std::filesystem::path& gameFolder,
                                                      const std::filesystem::path& homeFolder,
                                                      const std::filesystem::path& dataHome)
{
    GameSearch search;
    search.Players = PlayerFolders{homeFolder, dataHome};
    return GameArchiveFolders(gameFolder, search);
}

namespace {

std::vector<std::filesystem::path> ArchiveFoldersOf(const std::filesystem::path& gameFolder,
                                                    const std::optional<IdentifiedGameFolder>& game,
                                                    const GameSearch& search)
{
    const GameKind& kind = game ? *game->Game : KnownGames().front();
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    auto add = [&](const std::filesystem::path& folder, bool mustExist) {
        for (const std::filesystem::path& known : folders) {
            if (std::filesystem::equivalent(folder, known, error)) {
                return;
            }
        }
        if (!mustExist || std::filesystem::is_directory(folder, error)) {
            folders.push_back(folder);
        }
    };
    if (game && (game->Archives == 0 || game->PlayersOwn)) {
        // A player's folder or an engine's: the game's data are installed elsewhere.
        for (const std::string& install : kind.InstallFolders) {
            std::filesystem::path base =
                search.Root / std::filesystem::path(install).relative_path() / kind.BaseFolder;
            if (HasArchive(base)) {
                add(base, true);
                break;
            }
        }
    }
    add(game ? game->Base : gameFolder / kind.BaseFolder, false);
    for (const std::filesystem::path& player : PlayerBaseFolders(kind, search.Players)) {
        add(player, true);
    }
    return folders;
}

} // namespace

std::vector<std::filesystem::path> GameArchiveFolders(const std::filesystem::path& gameFolder,
                                                      const GameSearch& search)
{
    return ArchiveFoldersOf(gameFolder, IdentifyGameFolder(gameFolder, search.Players), search);
}

std::vector<std::filesystem::path>
GameArchiveFolders(const std::filesystem::path& gameFolder,
                   const std::optional<IdentifiedGameFolder>& identified)
{
    return ArchiveFoldersOf(gameFolder, identified, GameSearch::FromEnvironment());
}

int CompareArchiveNames(const std::string& a, const std::string& b)
{
    auto fold = [](char c) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c >= 'a' && c <= 'z') {
            byte = static_cast<unsigned char>(c - 'a' + 'A');
        } else if (c == '\\' || c == ':') {
            byte = '/';
        }
        return static_cast<int>(byte);
    };
    std::size_t length = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        int difference = fold(a[i]) - fold(b[i]);
        if (difference != 0) {
            return difference < 0 ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

std::vector<ArchiveFile> FindGameArchives(const std::vector<std::filesystem::path>& folders)
{
    std::vector<ArchiveFile> found;
    for (const std::filesystem::path& folder : folders) {
        std::vector<ArchiveFile> inFolder;
        std::error_code error;
        for (auto it = std::filesystem::directory_iterator(folder, error);
             !error && it != std::filesystem::directory_iterator();
             it.increment(error)) {
            std::string name = it->path().filename().string();
            if (IsArchiveName(name) && !it->is_directory(error)) {
                inFolder.push_back(ArchiveFile{name, it->path()});
            }
        }
        // Equal names under the engine's comparison keep byte order, so
        // that the order is the same on every run.
        std::sort(inFolder.begin(), inFolder.end(), [](const ArchiveFile& a, const ArchiveFile& b) {
            int order = CompareArchiveNames(a.Name, b.Name);
            return order != 0 ? order < 0 : a.Name < b.Name;
        });
        found.insert(found.end(), inFolder.begin(), inFolder.end());
    }
    // A name in two folders is the lists' one archive: the later (the
    // user's) copy, at its place.
    std::set<std::string> later;
    std::vector<ArchiveFile> archives;
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        if (later.insert(it->Name).second) {
            archives.push_back(*it);
        }
    }
    std::reverse(archives.begin(), archives.end());
    return archives;
}

std::optional<std::filesystem::path>
ResolveGameArchive(const std::vector<std::filesystem::path>& folders, const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
        return std::nullopt;
    }
    std::error_code error;
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        if (std::filesystem::is_regular_file(*folder / name, error)) {
            return *folder / name;
        }
    }
    return std::nullopt;
}

} // namespace twl
