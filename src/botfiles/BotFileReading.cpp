#include "botfiles/BotFileReading.h"

#include "core/FileLookup.h"
#include "core/TextFile.h"

namespace twl {

void ReportMissingBotFile(Messages& messages, const std::string& what, const std::string& name)
{
    messages.Inform("Unable to find " + what + " file for " + name + ".", "Error during load");
}

BotFileBytes ReadBotFileBytes(const std::filesystem::path& folder,
                              const std::string& fileName,
                              const std::string& what,
                              const std::string& name,
                              Messages& messages)
{
    BotFileBytes file;
    file.Path = FindFileIgnoringCase(folder, fileName);
    ReadBytesResult read = ReadFileBytes(file.Path);
    if (read.Result.Ok) {
        file.Bytes = std::move(read.Bytes);
        return file;
    }
    if (read.Missing) {
        file.Outcome.Status = BotFileRead::State::Missing;
        ReportMissingBotFile(messages, what, name);
        return file;
    }
    file.Outcome.Status = BotFileRead::State::Unreadable;
    messages.Warn("Couldn't read " + file.Path.string() + ": " + read.Result.Reason,
                  "Read failed!");
    return file;
}

bool IsSkippedBotFileLine(const std::string& line)
{
    return line.empty() || line.rfind("//", 0) == 0 || line.rfind("#i", 0) == 0 || line[0] == '}' ||
           line[0] == '{';
}

std::string WithoutTrailingComment(const std::string& text)
{
    bool quoted = false;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && text[i] == '/' && text[i + 1] == '/') {
            std::size_t last = text.find_last_not_of(" \t", i == 0 ? 0 : i - 1);
            return i == 0 || last == std::string::npos ? std::string() : text.substr(0, last + 1);
        }
    }
    return text;
}

bool ContinuesName(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

} // namespace twl
