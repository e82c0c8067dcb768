#include "botfiles/BotFileReading.h"

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

} // namespace twl
