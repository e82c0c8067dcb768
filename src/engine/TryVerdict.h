// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/BotCheck.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// What the game's engine said about bots it was given: the verdict of one
// "Try in game". Every text in it comes from the engine or from the user's
// files and is kept with its control characters escaped ("\x01") and
// without the game's colour codes ("^1").

// A file the engine opened while it set a bot up, and where it found it.
struct LoadedFile
{
    std::string GamePath; // as the game looks it up: "botfiles/bots/johnny_c.c"
    std::string FoundIn;  // the folder or archive the engine found it in
    bool Tried = false;   // one of the tried files, not one of the game's own
    std::string Shown;    // the file as findings name it
};

// A skill block of characteristics the engine took for a bot.
struct CharacterLoad
{
    double Skill = 0; // the block: 1, 4 or 5 (another when it fell back to any block)
    std::string File; // the characteristic file as the game names it: "bots/johnny_c.c"
    // The game's default bot (bots/default_c.c) stood in for the block: the
    // bot's own was missing or failed to read.
    bool Default = false;
};

// The messages of one chat type that the engine built when the bot joined
// (it builds every initial message once).
struct ChatTypeBuilt
{
    std::string Type; // "game_enter"
    int Lines = 0;    // the messages the chat file gives for the type
    // As the engine printed them, one line a message (an empty one prints
    // nothing; a refused one may print the part built before the error).
    std::vector<std::string> Messages;
    int Errors = 0; // messages the engine refused to build
};

// A characteristic as the engine holds it for a skill between the blocks
// (1 to 4, 4 to 5): interpolated from the two blocks.
struct EngineCharacteristic
{
    int Index = 0;     // 0 to 80, as chars.h numbers them
    std::string Value; // as the engine writes it: "0.625000", "240", "bots/johnny_w.c"
};

// What a bot did in the match of a play run.
struct PlayRecord
{
    bool Played = false;           // it was in the match
    std::vector<std::string> Said; // its chat lines, in order (at most 200)
    int Frags = 0;                 // other players it killed
    int Deaths = 0;                // every death, suicides too
    int Suicides = 0;              // killed by itself or by the world
};

// One bot at one skill.
struct SkillVerdict
{
    double Skill = 0;
    bool Added = false;   // the game found it in its bot list and began to set it up
    bool Entered = false; // it entered the game
    std::vector<CharacterLoad> Characters;
    std::string ItemWeights;   // the item weight file loaded ("bots/johnny_i.c"), or empty
    std::string WeaponWeights; // the weapon weight file loaded, or empty
    std::string ChatName;      // the chat loaded ("johnny"), or empty
    std::string ChatFile;      // the file it came from ("bots/johnny_t.c"), or empty
    std::vector<LoadedFile> Files;
    // Every warning and error the engine printed while it set the bot up,
    // at the file and line it names (line 0: the file as a whole).
    std::vector<Finding> Findings;
    std::vector<ChatTypeBuilt> Chats;
    std::vector<EngineCharacteristic> Characteristics;
    PlayRecord Play;

    // A default block stood in for one of the bot's own.
    bool UsedDefault() const;
    // In the game, on its own characteristics, without an error.
    bool Loaded() const;
};

struct BotVerdict
{
    std::string Name;  // as the bot list names it (what "addbot" was given)
    std::string Shown; // the file that stands for the bot (its script or characteristic file)
    std::vector<SkillVerdict> Skills; // in the order of the request's skills
};

struct TryVerdict
{
    enum class Outcome
    {
        Done,         // the engine set up every bot (each one's verdict says how)
        BadRequest,   // nothing to try, or a skill, time or name out of range: `Problem`
        NoEngine,     // no engine program found: `Problem` names the packages
        NoGame,       // the game folder or its base folder is not there
        MapUnusable,  // the map or its bot navigation file (.aas) is missing
        NotStarted,   // the engine could not be started
        EngineFailed, // the engine crashed or ended before every bot was added
        TimedOut,     // the time limit ended the engine (it was killed)
        Cancelled     // the caller cancelled (the engine was killed)
    };
    Outcome Result = Outcome::Done;
    std::string Problem; // in words for the user when Result is not Done

    std::filesystem::path Engine;
    std::string Map;
    std::vector<BotVerdict> Bots; // in the order of the request
    // What the engine said about the run as a whole: the map, and the tried
    // files it read before any bot was added (a bot list, a script).
    std::vector<Finding> Findings;
    // The engine's last lines when it failed (at most 40).
    std::vector<std::string> LastLines;
    int Runs = 0; // engine runs: one, and one more for a match
    std::chrono::milliseconds Took{0};

    // Done, and every bot at every skill Loaded.
    bool AllLoaded() const;
};

} // namespace twl
