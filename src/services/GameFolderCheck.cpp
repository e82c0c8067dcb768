// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/GameFolderCheck.h"

#include "pk3/GameDefinitions.h"
#include "pk3/Games.h"
#include "services/GameVocabulary.h"

namespace twl {

bool CheckGameFolder(Settings& settings,
                     Catalogues& catalogues,
                     const std::vector<std::filesystem::path>& archiveFolders,
                     Messages& messages,
                     const ScanProgress& progress,
                     std::int16_t* modelIndex,
                     std::int16_t* skinIndex)
{
    if (settings.Text(Settings::Q3Baseq3).empty()) {
        messages.Warn("Quake III Arena folder isn't set. Use 'Program/Options' to set it.",
                      "Can't check folder");
        return false;
    }
    RemoveArchiveBots(catalogues.Bots);
    // The selection follows its model and skin through the removal too.
    std::string selectedModel;
    std::string selectedSkin;
    if (modelIndex != nullptr && *modelIndex >= 0 &&
        static_cast<std::size_t>(*modelIndex) < catalogues.Models.size()) {
        const ModelEntry& model = catalogues.Models[static_cast<std::size_t>(*modelIndex)];
        selectedModel = model.Name;
        if (skinIndex != nullptr && *skinIndex >= 0 &&
            static_cast<std::size_t>(*skinIndex) < model.Skins.size()) {
            selectedSkin = model.Skins[static_cast<std::size_t>(*skinIndex)].Name;
        }
    }
    RemoveArchiveModels(catalogues.Models);
    // The game's own files are read in the same pass over the archives.
    const std::string& gameFolder = settings.Text(Settings::Q3Baseq3);
    std::optional<IdentifiedGameFolder> game = IdentifyGameFolder(gameFolder);
    const GameKind& kind = game ? *game->Game : KnownGames().front();
    GameDefinitionsReader definitions(kind.Name, kind.BaseFolder, gameFolder);
    // Another game than Quake III has models of its own: the built-in ones
    // are Quake III's, and its pak0.pk3 is no Quake III archive.
    bool quake3 = &kind == &KnownGames().front();
    if (!quake3) {
        RemoveBuiltInModels(catalogues.Models);
    }
    bool complete = ScanGameArchives(archiveFolders,
                                     catalogues.Models,
                                     catalogues.Bots,
                                     messages,
                                     progress,
                                     &definitions,
                                     quake3);
    if (complete) {
        catalogues.Game = definitions.Take();
        if (!HasGameVocabulary(catalogues.Game)) {
            catalogues.Game = GameDefinitions();
        }
        catalogues.GameToKeep = true;
        // The game's own bot list, when it has one, is the list.
        ApplyGameVocabulary(catalogues, messages);
    }
    SortBotList(catalogues.Bots);
    if (modelIndex != nullptr) {
        *modelIndex = 0;
        for (std::size_t m = 0; m < catalogues.Models.size(); ++m) {
            if (catalogues.Models[m].Name == selectedModel) {
                *modelIndex = static_cast<std::int16_t>(m);
                break;
            }
        }
        if (skinIndex != nullptr) {
            *skinIndex = 0;
            if (!catalogues.Models.empty()) {
                const ModelEntry& model = catalogues.Models[static_cast<std::size_t>(*modelIndex)];
                for (std::size_t s = 0; s < model.Skins.size(); ++s) {
                    if (model.Skins[s].Name == selectedSkin) {
                        *skinIndex = static_cast<std::int16_t>(s);
                        break;
                    }
                }
            }
        }
    }
    SortModels(catalogues.Models, modelIndex, skinIndex);
    if (complete) {
        settings.BaseQ3Checked = true;
    }
    return complete;
}

} // namespace twl
