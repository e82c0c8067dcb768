// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/EnginePrograms.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// One engine run of a try: the bots it adds, in order, on one or more
// levels (each level a fresh start of the map, and of the bot library).
struct EngineRunPlan
{
    struct Addition
    {
        std::string Name;   // as the bot list names the bot
        double Skill = 1;   // 1 to 5
        std::string Player; // the name it plays under in a match; empty otherwise
        int Level = 0;      // from 0, never lower than the addition before
    };

    std::string Marker; // the word that starts the run's own "echo" lines
    std::string Map;
    std::vector<Addition> Additions;
    // The bots play after they are added (one level), until "quit" comes
    // on the engine's standard input; otherwise each bot is only set up,
    // with every chat message it starts with built.
    bool Match = false;
};

// A level has 64 player slots and 64 characters of the bot library; the
// game's default bot takes 3 (skills 1, 4 and 5).
inline constexpr int PlayerSlots = 64;
inline constexpr int CharacterSlots = 64;
inline constexpr int DefaultBotCharacters = 3;

// The characters of the bot library a bot takes while it is set up at
// `skill` when each file is read again for each bot (a load run): its
// block, or at a skill between blocks the two blocks and their blend.
int CharactersPerLoad(double skill);
// Those of them that may still be taken once the bot has left, until the
// level ends: the two blocks of a skill between blocks, and the bot's own
// character when its weights or chat failed to load (the game does not
// free it then): as many as it took.
int CharactersKeptAfterLoad(double skill);

// The config file of each level, in order; the engine executes the first
// from its command line (which takes at most 32 "+" commands, so all that
// grows with the bots is here) and each further one when "exec NAME" comes
// on its standard input. Each bot's set-up lies between "echo MARKER begin
// N" (N counts the additions of the run) and the next marker; each level
// ends with "echo MARKER level L", the last of a load run then with "quit"
// (a match ends when "quit" comes on standard input). A load run prints
// the files it opens (fs_debug), rereads every file for each bot
// (bot_reloadcharacters), builds every initial chat (bot_testichat) and
// takes each bot out again once it is set up (kickbots), so that the next
// one meets an empty level. A match has no frag or time limit, its bots
// chat at every chance (bot_fastchat), its level clock is first run on fast
// past the 25 s in which the game lets no bot chat, and a frame passes
// after every four bots (bots take in what the server tells them only as
// they think: 64 messages unread and a bot is dropped).
std::vector<std::string> EngineConfigTexts(const EngineRunPlan& plan);

// The name of the config file of a level.
std::string EngineConfigName(int level);

// The engine's command line (after the program): a dedicated server
// without network on `home` as its only home folder (fs_homepath; the
// Steam, GOG and application paths emptied), the game's base folder as base
// game, 64 player slots, the first level's config executed. A load run
// also has the botlib log (bot_developer, logfile) that holds the
// characteristics of the skills between blocks.
std::vector<std::string>
EngineArguments(const GameFolders& game, const std::filesystem::path& home, bool match);

// A skill as the commands write it: "1", "4.5".
std::string SkillText(double skill);

// Whether a name can go into a command: printable, without a double quote
// or ";" (the console would end the command there) and not empty.
bool CanAddByName(const std::string& name);

} // namespace twl
