// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "core/Result.h"
#include "core/Value.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// "Unable to find <what> file for <name>." (title "Error during load",
// information icon), shown when a file of a bot set is missing.
void ReportMissingBotFile(Messages& messages, const std::string& what, const std::string& name);

// "Couldn't read <path>: <reason>" (title "Read failed!", warning), the
// path shown escaped.
void ReportUnreadableBotFile(Messages& messages,
                             const std::string& path,
                             const std::string& reason);

// What became of reading one file of a bot's set: read, or a failure that
// was reported, Missing ("Unable to find ...") or there but not readable
// (with the reason).
struct BotFileBytes
{
    Result<> Outcome;
    std::filesystem::path Path;
    std::string Bytes;
};

// The title of the question asked before a bot's file that is a link to
// something outside the bot's folder is read.
inline constexpr const char* LinkOutsideTitle = "Link outside the bot's folder";

// Reads folder/<fileName> (found without regard to case) whole. A file
// that is a symbolic link to something outside `folder` is read only when
// the user says so (Messages::Ask, title LinkOutsideTitle, naming the link
// and its target); refused, it is unreadable. A missing
// file is reported as ReportMissingBotFile does; one that is there but
// cannot be read (a folder, no permission, a FIFO or device, over the size
// limit) as "Couldn't read <path>: <reason>" (title "Read failed!", warning).
BotFileBytes ReadBotFileBytes(const std::filesystem::path& folder,
                              const std::string& fileName,
                              const std::string& what,
                              const std::string& name,
                              Messages& messages);

// Skipped when reading a bot file: empty lines, comments, includes, braces.
bool IsSkippedBotFileLine(const std::string& line);

// The text without a "//" comment after a value (one inside double quotes
// stays) and without the blanks before that comment.
std::string WithoutTrailingComment(const std::string& text);

// The value of a numeric characteristic or weight as the game reads it:
// ParseValue, and a hexadecimal number (0x10), which the game's parser
// reads as the whole number it stands for, taken as that number.
Value ParseNumberValue(const std::string& text);

// Whether the game reads the text as another number than a plain reading
// does ("0..30", "010"): ParseNumberValue gives the game's number.
bool IsOddNumberText(const std::string& text);

// What becomes of a value text of a numeric characteristic or weight when
// it is read and written again: nothing when it is kept, otherwise the
// text it would be written as ("1e309", which the game cannot read either,
// becomes "0.0").
std::optional<std::string> ChangedValueText(const std::string& text);

// "These values of <file> cannot be kept as they are written: <list>."
// (title "Values changed", warning), once for a file; nothing when the
// list is empty.
void ReportChangedValues(Messages& messages,
                         const std::string& file,
                         const std::vector<std::string>& changes);

// True when the character, right after a known name on a line whose TABs
// were removed, makes it a longer name ("W_BFG10K_AMMO" is not "W_BFG10K"):
// a letter or "_". A digit may be the value that followed a TAB.
bool ContinuesName(char c);

} // namespace twl
