// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bot.h"
#include "core/Settings.h"
#include "services/Catalogues.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace twl {

// "Check bot": what the game will refuse, lose or ignore in a bot's files.
// The files are read by the game's own parsers as this program rebuilds
// them (botfiles/Precompiler.h, botfiles/BotLibraryReaders.h), with the
// game's own definitions: its chars.h, its weight templates and what they
// include, its random chat lists (rnd.c), found as the game finds them (the
// bots' own files first, then the game's; without a game, Quake III's
// characteristics built in). See docs/game-rules.md for each rule.

enum class Severity
{
    Error,   // the game refuses or loses something, or prints an error
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

// One file of the bots being checked: the name findings give it and its bytes.
struct CheckedFile
{
    std::string Shown;
    std::string Bytes;
};

// A file of the bots being checked as the game finds it, by its path below
// botfiles/ as a bot file names it ("bots/sarge_w.c", "fuzw.c").
// `CaseProblem` says when only a file whose name differs in case is there
// (loose files on Linux, where the game does not find it).
struct LookedUpFile
{
    std::optional<CheckedFile> File;
    std::optional<std::string> CaseProblem;
};

using BotFileLookup = std::function<LookedUpFile(const std::string& path)>;

// Checks the bots of one place (a folder, an archive, the bot being
// edited): their scripts, and every characteristic, weight and chat file
// these name, each file once however many bots share it. `own` finds the
// files of that place; what it does not have comes from the game's files
// (catalogues.Game), and without those from the built-in definitions of
// Quake III. `gameArchive`: the place is one of the game's own archives
// (its bot list and bot names are the game's). `folderGame`: the
// definitions of a base folder being checked, between the place's own
// files and the game's.
class BotChecker
{
public:
    BotChecker(const Catalogues& catalogues,
               BotFileLookup own,
               bool gameArchive = false,
               const GameDefinitions* folderGame = nullptr);
    ~BotChecker();
    BotChecker(const BotChecker&) = delete;
    BotChecker& operator=(const BotChecker&) = delete;

    // A bot list file (scripts/NAME.bot or scripts/bots.txt) and the bots it
    // lists, each followed to its characteristic file.
    void CheckScript(const CheckedFile& script);
    // A characteristic file by its path below botfiles/, when no script
    // named it (once: a file already checked is passed over).
    void CheckCharacteristicFile(const std::string& path);
    bool Checked(const std::string& path) const;

    // The bots checked: the entries of the scripts, and the characteristic
    // files no script named.
    std::size_t Bots() const;
    std::vector<Finding> TakeFindings();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The bot being edited, checked in exactly the bytes "Make bot files"
// writes (BotFilesInMemory): its script, and the characteristic, weight and
// chat files it leads to, with the game's files the catalogues hold. Each
// finding of a line the editor shows leads there (Place).
std::vector<Finding>
CheckBotAsMade(const Bot& bot, const Catalogues& catalogues, const Settings& settings);

// How many findings have this severity.
std::size_t CountFindings(const std::vector<Finding>& findings, Severity level);

// "error", "warning", "note".
const char* SeverityName(Severity level);

// The characteristics of Quake III's chars.h by name, as the game numbers
// them (0 to 48): what serves when no game's own chars.h is known.
const std::map<std::string, int>& BuiltInCharacteristicNumbers();

} // namespace twl
