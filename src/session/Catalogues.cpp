#include "session/Catalogues.h"

namespace twl {

void InitCatalogues(Catalogues& catalogues, const std::filesystem::path& folder, Messages& messages)
{
    InitCharCatalogue(catalogues.CharNames);
    InitChatCatalogue(catalogues.Chat);
    LoadModelCatalogue(catalogues.Models, folder, messages);
    LoadBotList(catalogues.Bots, folder, messages);
    LoadSynonyms(catalogues.Synonyms, folder);
}

bool SaveUserLists(const Catalogues& catalogues,
                   const std::filesystem::path& folder,
                   Messages& messages)
{
    bool models = ReportWriteFailure(SaveUserModels(catalogues.Models, folder, messages), messages);
    bool bots = ReportWriteFailure(SaveUserBots(catalogues.Bots, folder, messages), messages);
    bool synonyms =
        ReportWriteFailure(SaveSynonyms(catalogues.Synonyms, folder, messages), messages);
    return models && bots && synonyms;
}

} // namespace twl
