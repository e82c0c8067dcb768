// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace twl {

// A message for the user: its text and its title (shown with the warning icon).
struct Complaint
{
    std::string Text;
    std::string Title;
};

// The rules a bot name must pass, in the order they are checked.
enum class BotNameRule
{
    NotEmpty,            // "Selfawareness error!"
    NoBlank,             // "Space error!"
    PrintableAscii,      // the game's script reader ends a name at a byte above 127 or a control
                         // character
    NoReservedCharacter, // / \ : * ? " < > | ;  (file names, and the game's script syntax)
    NotAFolderName,      // "." and ".."
    MaxLength            // botfiles/bots/<name>_c.c must fit the game's 64-byte path
};

inline constexpr std::size_t MaxBotNameLength = 45;

// The first rule the name breaks, with its message (warning icon; title
// "Name error!" for the last four rules); nothing when the name passes.
// The editor checks the name box with it when the box is left, every save
// checks the bot's name with it; a name read from a file is taken as it is.
struct BotNameComplaint
{
    BotNameRule Rule;
    std::string Text;
    std::string Title;
};

std::optional<BotNameComplaint> CheckBotName(const std::string& name);

// The fun name as it is stored and written: one with a blank or with any
// character outside ASCII is enclosed in double quotes (once), so the game
// reads it whole as one value.
std::string StoredFunName(const std::string& funName);

} // namespace twl
