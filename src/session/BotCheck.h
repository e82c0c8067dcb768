#pragma once

#include "core/Bot.h"
#include "core/Settings.h"
#include "session/Catalogues.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// "Check bot": what the game will refuse, lose or ignore in a bot's files,
// by the game's own parsers (see docs/game-rules.md for each rule).

enum class Severity
{
    Error,   // the game refuses or loses something
    Warning, // the game loads it but acts otherwise than the editor shows
    Note     // worth knowing
};

// What a finding concerns in the bot, for the editor to show: a parameter
// (0 to 86, or 100 * level + characteristic), a chat line, or neither.
struct CheckPlace
{
    int Parameter = -1;
    int ChatGroup = -1; // chat type 0 to 27
    int ChatLine = -1;  // line of the group, from 0; -1 for the whole group
};

struct Finding
{
    Severity Level = Severity::Error;
    std::string File; // as shown: a path, or "<archive>/<entry>"
    int Line = 0;     // from 1; 0 for the file as a whole
    std::string Text; // one sentence a player understands
    CheckPlace Place;
};

// One file of a set as the checker reads it.
struct CheckedFile
{
    std::string Shown;
    std::vector<std::string> Lines; // decoded, without line ends
    std::size_t Bytes = 0;
};

// How the game finds a file of the set that the characteristic file names
// ("bots/sarge_w.c", below botfiles/). `CaseProblem` says when only a file
// whose name differs in case is there (loose files on Linux).
struct LookedUpFile
{
    std::optional<CheckedFile> File;
    std::optional<std::string> CaseProblem;
};

using BotFileLookup = std::function<LookedUpFile(const std::string& gamePath)>;

// The files of one bot: its characteristic file (`charGamePath` is where the
// game finds it, "bots/sarge_c.c"), its script when there is one, and the
// way to its weight and chat files. `caseSensitive`: loose files on Linux,
// where "aifile" must match the file name exactly.
struct BotSetToCheck
{
    CheckedFile Char;
    std::string CharGamePath;
    std::optional<CheckedFile> Script;
    BotFileLookup Lookup;
    bool CaseSensitive = false;
};

std::vector<Finding> CheckBotSet(const BotSetToCheck& set, const Catalogues& catalogues);

// The bot being edited, as "Make bot files" would write it.
std::vector<Finding>
CheckBot(const Bot& bot, const Catalogues& catalogues, const Settings& settings);

// How many findings have this severity.
std::size_t CountFindings(const std::vector<Finding>& findings, Severity level);

// "error", "warning", "note".
const char* SeverityName(Severity level);

} // namespace twl
