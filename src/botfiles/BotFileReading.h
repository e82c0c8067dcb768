#pragma once

#include "core/Messages.h"

#include <string>

namespace twl {

// "Unable to find <what> file for <name>." (title "Error during load",
// information icon), shown when a file of a bot set is missing.
void ReportMissingBotFile(Messages& messages, const std::string& what, const std::string& name);

// Skipped when reading a bot file: empty lines, comments, includes, braces.
bool IsSkippedBotFileLine(const std::string& line);

} // namespace twl
