#pragma once

#include "engine/EnginePrograms.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// One engine run of a try: the bots it adds, in order.
struct EngineRunPlan
{
    struct Addition
    {
        std::string Name;   // as the bot list names the bot
        double Skill = 1;   // 1 to 5
        std::string Player; // the name it plays under in a match; empty otherwise
    };

    std::string Marker; // the word that starts the run's own "echo" lines
    std::string Map;
    std::vector<Addition> Additions;
    // The bots play after they are added (until "quit" comes on the
    // engine's standard input); otherwise each bot is only set up, with
    // every chat message it starts with built, and the engine quits.
    bool Match = false;
};

// The most bots (at skills) one run adds: the engine's player slots.
inline constexpr std::size_t MaxAdditionsPerRun = 64;

// The run's commands, for the config file the engine executes: the engine
// takes at most 32 "+" commands on its command line, so all that grows with
// the bots is here. Each bot's set-up lies between "echo MARKER begin N"
// and the next marker; "echo MARKER end" follows the last. A load run
// prints the files it opens (fs_debug), rereads every file for each bot
// (bot_reloadcharacters) and builds every initial chat (bot_testichat). A
// match has no frag or time limit, its bots chat at every chance
// (bot_fastchat), and its level clock is first run on fast past the 25 s
// in which the game lets no bot chat.
std::string EngineConfigText(const EngineRunPlan& plan);

// The engine's command line (after the program): a dedicated server
// without network on `home` as its only home folder (fs_homepath; the
// Steam, GOG and application paths emptied), the game's base folder as base
// game, 64 player slots, the run's config executed. A load run also has
// the botlib log (bot_developer, logfile) that holds the characteristics
// of the skills between blocks.
std::vector<std::string> EngineArguments(const GameFolders& game,
                                         const std::filesystem::path& home,
                                         const std::string& configName,
                                         bool match);

// A skill as the commands write it: "1", "4.5".
std::string SkillText(double skill);

// Whether a name can go into a command: printable, without a double quote
// or ";" (the console would end the command there) and not empty.
bool CanAddByName(const std::string& name);

} // namespace twl
