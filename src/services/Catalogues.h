// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/BotList.h"
#include "catalog/Models.h"
#include "chat/ChatCatalogue.h"
#include "chat/Synonyms.h"
#include "core/CharCatalogue.h"
#include "core/Messages.h"
#include "pk3/GameDefinitions.h"

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
    // What the game folder's own files define (empty: the built-in tables
    // of Quake III serve).
    GameDefinitions Game;
    // The game's files were read again: SaveUserLists keeps them (or removes
    // the kept ones when there are none).
    bool GameToKeep = false;
};

// Builds every catalogue at start-up, in this order: characteristics, chat
// vocabulary, models and skins, bot list, synonyms. The user lists are read
// from `folder`; damaged ones are reported through `messages`. Without
// `withUserLists` the model and bot lists hold the game's own entries only,
// until LoadUserLists; with ListEntries::KeptByFolderCheck they hold only
// what a check of the game folder, which comes next, keeps of them.
void InitCatalogues(Catalogues& catalogues,
                    const std::filesystem::path& folder,
                    Messages& messages,
                    bool withUserLists = true,
                    ListEntries which = ListEntries::All);

// The user's models and skins and bots, added to the game's own.
void LoadUserLists(Catalogues& catalogues, const std::filesystem::path& folder, Messages& messages);

// A user list of more lines than this is read after the window shows, so
// that a user with a big game folder sees the window at once.
inline constexpr std::size_t LargeListLines = 20000;

// True when the model list or the bot list in `folder` has more lines than
// LargeListLines.
bool HasLargeUserLists(const std::filesystem::path& folder);

// Writes the three user lists back to `folder` (models, bots, synonyms, in
// that order), then the game's files when they were read again, reporting
// each failure. True when all were written.
bool SaveUserLists(const Catalogues& catalogues,
                   const std::filesystem::path& folder,
                   Messages& messages);

} // namespace twl
