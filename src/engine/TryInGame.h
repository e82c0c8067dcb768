// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bot.h"
#include "core/Settings.h"
#include "engine/EnginePrograms.h"
#include "engine/TryVerdict.h"
#include "services/Catalogues.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// "Try in game": the game's own engine (a dedicated server) is started on a
// private home folder holding the bots' files, adds every bot at every skill
// and says what it made of them. Nothing of the user's game or home folders
// is written: the home folder (mode 0700, under the system's temporary
// folder) goes when the try ends, and also when SIGTERM, SIGINT, SIGHUP or
// SIGQUIT ends the program; the engine is killed then too.

// A file the game gets, placed in the private home's base folder.
struct TryFile
{
    // Where the game finds it below its base folder ("botfiles/bots/
    // johnny_c.c", "scripts/johnny.bot"), or, for an archive, its file name
    // at the top of the base folder ("bot-Johnny.pk3"). Relative, no "..".
    std::string GamePath;
    // Copied from this file, unless `Bytes` holds the contents.
    std::filesystem::path Source;
    std::optional<std::string> Bytes;
    // How findings name the file; for an archive, what comes before the
    // entry's name ("out/bot-Johnny.pk3" + "/botfiles/bots/johnny_c.c").
    std::string Shown;
};

struct TryBot
{
    std::string Name;  // the name of its bot list entry ("name" of its .bot), which addbot is given
    std::string Shown; // its script (or characteristic file) as findings name it
};

// The bots of a try and the files they come in.
struct TryBots
{
    std::vector<TryFile> Files;
    std::vector<TryBot> Bots;
    // Why a path gave no bot, one text each (nothing of such a path is tried).
    std::vector<std::string> Problems;
};

// The bots of these paths, found as "check" finds them: a NAME_c.c file, a
// folder of bots (flat, or in the game's layout), a .pk3. A loose bot brings
// the .c and .h files of its folder (each at most MaxArchiveEntrySize; its
// folder is what the game sees as botfiles/bots) and its script; its name
// is the "name" of each entry of the script (the file's stem without a
// script or name). An archive goes to the game whole; its bots are the
// entries of its scripts/*.bot and scripts/bots.txt.
TryBots CollectTryBots(const std::vector<std::filesystem::path>& paths);

// The bot being edited, with its five files as "Make bot files" writes
// them (in memory, nothing is written). A file that cannot be made (a
// character Windows-1252 cannot hold) is a Problem.
TryBots TryBotsOf(const Bot& bot, const Catalogues& catalogues, const Settings& settings);

// The skills a bot is tried at unless the request says otherwise.
const std::vector<double>& DefaultTrySkills();

struct TryRequest
{
    TryBots Bots;
    // Each between 1 and 5 (the game's range); each bot is added once at each.
    std::vector<double> Skills = DefaultTrySkills();
    // 0: the bots are only set up (and the engine builds every chat message
    // they start with). 1 to 3600: then they also play a match against each
    // other for that many seconds, chatting at every chance, and the verdict
    // holds what each said and its frags and deaths. The match is a second
    // engine run; as many bots at skills take part as the engine holds on
    // one level (64 players, 64 characters of the bot library: ten bots at
    // the six default skills), the first in order.
    int PlaySeconds = 0;
    // The engine program; empty: FindEngine(DefaultEngineSearch(GameFolder)).
    std::filesystem::path Engine;
    GameFolders Game;
    std::string Map; // empty: DefaultTryMap(Game.BaseFolder)
    // For the whole try, every engine run in it; 0: 60 s, plus PlaySeconds.
    // The engine is killed at the limit: the call returns at most a second
    // after it.
    std::chrono::milliseconds TimeLimit{0};
    // Asked every 50 ms while the engine runs; true kills it and ends the try.
    std::function<bool()> Cancelled;
};

// Runs the engine on the bots and reads what it said (see TryVerdict).
// Never throws; never waits past the time limit. Blocks until the engine
// is done: a window runs it on a thread of its own (Cancelled is asked on
// that thread). Every bot at every skill is set up in one engine run, one
// bot after the other, on as many levels (each a fresh start of the map)
// as the bot library's characters take (a bot whose weights or chat fail
// keeps its characters taken): five bots at the six default skills fit on
// one. Bots named alike are added under the name; the game takes
// the first it lists.
TryVerdict TryInGame(const TryRequest& request);

} // namespace twl
