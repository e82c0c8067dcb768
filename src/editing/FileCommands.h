// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/BotEditor.h"
#include "services/BotFileSet.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// How the load and save dialog opens: where, under which caption (empty:
// its own), and with which lines on its page of the game's bots.
struct OpenSaveRequest
{
    LoadType Purpose = LoadType::WholeBot;
    std::string Caption;
    std::filesystem::path Folder;
    std::vector<std::string> BotLines;
    // "Make bot files": the player's own folder of the game, where the game
    // finds a bot (~/.openarena/baseoa); empty without a game folder.
    std::filesystem::path PlayerFolder;
};

// "Load bot" with unsaved changes asks first; No ends the command.
bool MayLoadBot(BotEditor& editor);

// The dialog of a load or save: it opens in the folder it last reported (or
// the working folder), which is remembered for the next time; "Make bot
// files" names the bot in the caption, the loads list the game's bots once
// the game folder has been checked.
OpenSaveRequest OpenSaveRequestFor(BotEditor& editor, LoadType loadType);

// What the window does after a command of the dialog.
struct CommandOutcome
{
    bool ShowBot = false; // the bot (or a file of it) was read: the editor has shown it
    std::string Status;   // what was written or read, and where; empty on failure
};

// The dialog reported a folder and a file: load types 0 to 4 read the bot or
// one of its files, 5 makes the bot's files (in the game's layout with
// `dirStruct`, packed with `pk3Bot`). A save that fails leaves the bot
// changed and is reported with the path and the reason.
CommandOutcome LoadOrMakeBotFiles(BotEditor& editor,
                                  const std::filesystem::path& currentDir,
                                  const std::string& currentFile,
                                  LoadType loadType,
                                  bool dirStruct,
                                  bool pk3Bot);

// The dialog reported a bot of the game's list (its position as text).
CommandOutcome LoadBotOfList(BotEditor& editor, const std::string& botId, LoadType loadType);

// A characteristic file named when the program starts (on its command line,
// or by the desktop): loaded as "Load bot" loads it, with its script when
// one lies beside it or in the scripts folder of the game's layout. A file
// that cannot be read, or that is not a bot's characteristic file, is
// reported ("Can't open file") and the editor keeps its new bot.
CommandOutcome LoadBotNamedAtStart(BotEditor& editor, const std::filesystem::path& file);

// The options dialog's values: the six texts and the bots made.
std::array<std::string, 7> OptionValues(const BotEditor& editor);
// Its OK: the six texts become the settings, which are then applied.
// True when the game folder changed to another game folder: the lists
// then speak the new game's vocabulary if it was read before, else the
// built-in one until the folder is checked (which the window then does).
bool SaveOptionValues(BotEditor& editor, const std::array<std::string, 6>& values);

// "Check baseq3": the game's archives scanned again into the model list and
// the bot list, told to `progress` before each archive. Stopped through
// `progress`, both lists stay exactly as they were. Without a game folder it
// says so. `selection` follows its model and skin. True when checked.
bool RunGameFolderCheck(
    BotEditor& editor,
    ModelSelection& selection,
    const std::function<bool(std::size_t archive, std::size_t archives)>& progress);

} // namespace twl
