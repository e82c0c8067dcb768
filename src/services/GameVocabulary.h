// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/BotList.h"
#include "core/Messages.h"
#include "pk3/GameDefinitions.h"
#include "services/Catalogues.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// Whether the definitions hold what makes the program speak the game's
// vocabulary: its bot list or its random chat lists. A game folder without
// them (a folder of Quake III's archives without its pak0.pk3) keeps the
// built-in tables.
bool HasGameVocabulary(const GameDefinitions& definitions);
// Whether they hold the game's own bot list (scripts/bots.txt, with the
// scripts/*.bot beside it), which then is the bot list.
bool HasGameBotList(const GameDefinitions& definitions);

// The bots the game can add, as it reads its bot list: scripts/bots.txt
// first, then each scripts/*.bot by name, a name taken by the first entry
// that has it (without regard to case). Each entry tells where its
// characteristic file is found. What the game cannot read is added to
// `problems` with the file, its archive and the line.
BotList GameBotList(const GameDefinitions& definitions, std::vector<std::string>& problems);

// Makes the catalogues speak the game's vocabulary (catalogues.Game): the
// bot list becomes the game's, the chat lists those of its rnd.c. Without
// definitions the built-in chat lists stand. A bot list or rnd.c the game
// cannot read is reported (title "Game files"); the built-in table serves
// for what could not be read.
void ApplyGameVocabulary(Catalogues& catalogues, Messages& messages);

// At start: the definitions kept in the settings folder, when they are
// those of `gameFolder`, are taken and applied; kept definitions of another
// folder are left alone. `which` as LoadGameDefinitions takes it.
void LoadGameVocabulary(Catalogues& catalogues,
                        const std::filesystem::path& settingsFolder,
                        const std::string& gameFolder,
                        Messages& messages,
                        KeptFiles which = KeptFiles::All);

} // namespace twl
