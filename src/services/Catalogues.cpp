// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/Catalogues.h"

#include "core/FolderLock.h"
#include "services/GameVocabulary.h"

#include <algorithm>
#include <fstream>

namespace twl {

void InitCatalogues(Catalogues& catalogues,
                    const std::filesystem::path& folder,
                    Messages& messages,
                    bool withUserLists,
                    ListEntries which)
{
    InitCharCatalogue(catalogues.CharNames);
    InitChatCatalogue(catalogues.Chat);
    LoadGameModels(catalogues.Models);
    if (withUserLists) {
        LoadUserModels(catalogues.Models, folder, messages, which);
    }
    LoadGameBots(catalogues.Bots);
    if (withUserLists) {
        LoadUserBots(catalogues.Bots, folder, messages, which);
    }
    LoadSynonyms(catalogues.Synonyms, folder);
}

void LoadUserLists(Catalogues& catalogues, const std::filesystem::path& folder, Messages& messages)
{
    LoadUserModels(catalogues.Models, folder, messages);
    // The game's own bot list, when there is one, is the whole list.
    if (!HasGameBotList(catalogues.Game)) {
        LoadUserBots(catalogues.Bots, folder, messages);
    }
}

namespace {

// Whether the file has more than `limit` lines; a file that cannot be read
// has none.
bool HasMoreLinesThan(const std::filesystem::path& path, std::size_t limit)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false; // a pipe or a device is never waited for here
    }
    std::ifstream file(path, std::ios::binary);
    std::size_t lines = 0;
    char buffer[1 << 16];
    while (file && lines <= limit) {
        file.read(buffer, sizeof buffer);
        lines += static_cast<std::size_t>(std::count(buffer, buffer + file.gcount(), '\n'));
    }
    return lines > limit;
}

} // namespace

bool HasLargeUserLists(const std::filesystem::path& folder)
{
    return HasMoreLinesThan(folder / UserModelsFileName, LargeListLines) ||
           HasMoreLinesThan(folder / UserBotsFileName, LargeListLines);
}

bool SaveUserLists(const Catalogues& catalogues,
                   const std::filesystem::path& folder,
                   Messages& messages)
{
    // Two programs saving their lists at once write one after the other.
    FolderLock lock(folder);
    if (lock.Busy()) {
        return ReportWriteFailure(Failure{folder, lock.Problem()}, messages);
    }
    bool models = ReportWriteFailure(SaveUserModels(catalogues.Models, folder, messages), messages);
    bool bots = ReportWriteFailure(SaveUserBots(catalogues.Bots, folder, messages), messages);
    bool synonyms =
        ReportWriteFailure(SaveSynonyms(catalogues.Synonyms, folder, messages), messages);
    bool game = true;
    if (catalogues.GameToKeep) {
        if (catalogues.Game.GameName.empty()) {
            RemoveGameDefinitions(folder);
        } else {
            game = ReportWriteFailure(SaveGameDefinitions(catalogues.Game, folder), messages);
        }
    }
    return models && bots && synonyms && game;
}

} // namespace twl
