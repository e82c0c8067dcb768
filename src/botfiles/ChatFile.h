// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "botfiles/BotFileReading.h"
#include "chat/ChatCatalogue.h"
#include "core/Bot.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/TextFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace twl {

// The chat file: header, the bot's chat name, and a block of lines for
// each of the 28 chat types, every block written whatever it holds.
std::vector<std::string>
ChatFileLines(const Bot& bot, const ChatCatalogue& chat, const Settings& settings);

// Reads the type blocks of a chat file into the bot's chat groups; the
// lines of a block go to lines 0, 1, 2, ... of its group. A block of a type
// the game does not have is read past. A group keeps at most 32768 lines:
// the number of lines left out past that is returned (ReadChatFile says so).
std::size_t
ReadChatLines(Bot& bot, const std::vector<std::string>& lines, const ChatCatalogue& chat);

// Reads folder/<name>_t.c; a missing file is reported ("Unable to find chat
// file for <name>.") and the chats stay as they were; one that cannot be
// read is reported with the reason.
Result<> ReadChatFile(Bot& bot,
                      const std::filesystem::path& folder,
                      const std::string& name,
                      const ChatCatalogue& chat,
                      Messages& messages);

} // namespace twl
