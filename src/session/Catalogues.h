#pragma once

#include "catalog/BotList.h"
#include "catalog/Models.h"
#include "chat/ChatCatalogue.h"
#include "chat/Synonyms.h"
#include "core/CharCatalogue.h"
#include "core/Messages.h"

#include <filesystem>

namespace twl {

// The fixed vocabulary and the lists that the running program keeps. The
// program owns one and hands it on by reference; a test builds its own.
struct Catalogues
{
    CharCatalogue CharNames;
    ChatCatalogue Chat;
    ModelCatalogue Models;
    BotList Bots;
    SynonymList Synonyms;
};

// Builds every catalogue at start-up, in this order: characteristics, chat
// vocabulary, models and skins, bot list, synonyms. The user lists are read
// from `folder`; damaged ones are reported through `messages`.
void InitCatalogues(Catalogues& catalogues,
                    const std::filesystem::path& folder,
                    Messages& messages);

// Writes the three user lists back to `folder` (models, bots, synonyms, in
// that order), reporting each failure. True when all were written.
bool SaveUserLists(const Catalogues& catalogues,
                   const std::filesystem::path& folder,
                   Messages& messages);

} // namespace twl
