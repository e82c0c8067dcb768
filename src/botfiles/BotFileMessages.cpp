#include "botfiles/BotFileMessages.h"

namespace twl {

void ReportMissingBotFile(Messages& messages, const std::string& what, const std::string& name)
{
    messages.Inform("Unable to find " + what + " file for " + name + ".", "Error during load");
}

bool IsSkippedBotFileLine(const std::string& line)
{
    return line.empty() || line.rfind("//", 0) == 0 || line.rfind("#i", 0) == 0 || line[0] == '}' ||
           line[0] == '{';
}

std::string WithoutLeadingBlanks(const std::string& line)
{
    std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : line.substr(first);
}

} // namespace twl
