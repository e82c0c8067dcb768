#include "session/GameFolderCheck.h"

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
    bool complete =
        ScanGameArchives(archiveFolders, catalogues.Models, catalogues.Bots, messages, progress);
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
