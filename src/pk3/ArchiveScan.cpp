#include "pk3/ArchiveScan.h"

#include "core/TextCase.h"
#include "core/Trim.h"
#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"

#include <unordered_set>

namespace twl {

namespace {

// The text between `start` (its first occurrence in `lower`) and the next
// `end` after it, taken from `line`; nothing when either is missing.
std::optional<std::string> NameBetween(const std::string& line,
                                       const std::string& lower,
                                       const std::string& start,
                                       const std::string& end)
{
    std::size_t from = lower.find(start);
    if (from == std::string::npos) {
        return std::nullopt;
    }
    from += start.size();
    std::size_t to = lower.find(end, from);
    if (to == std::string::npos) {
        return std::nullopt;
    }
    return line.substr(from, to - from);
}

// A name taken from an entry path must stay one plain file name, and one
// that can be printed and stored: no control character (a terminal escape
// sequence starts with one).
bool IsPlainName(const std::string& name)
{
    for (char c : name) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

} // namespace

std::optional<std::vector<std::string>> ListArchive(const std::filesystem::path& path,
                                                    Messages& messages)
{
    ZipError error;
    std::unique_ptr<ZipReader> archive = ZipReader::Open(path, error);
    if (!archive) {
        messages.Note(std::to_string(error.Number) + " " + " Error in pk3 browsing: " + " " +
                      error.Description + ": " + path.string());
        return std::nullopt;
    }
    return archive->EntryNames();
}

std::string IconPathFromEntry(const std::string& entry)
{
    std::string path = TrimBlanks(entry);
    std::size_t first = 0;
    while (first < path.size() && path[first] != 'm' && path[first] != 'M') {
        ++first;
    }
    path = path.substr(first);
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

void ClassifyArchiveEntries(const std::vector<std::string>& entries,
                            const std::string& pk3File,
                            ModelCatalogue& models,
                            BotList& bots,
                            Messages& messages,
                            NameIndex* modelIndex,
                            NameIndex* botIndex)
{
    std::vector<std::string> lowered;
    lowered.reserve(entries.size());
    for (const std::string& entry : entries) {
        lowered.push_back(LowerCase(entry));
    }
    // The bots whose own script is in this archive, wherever it is listed.
    std::unordered_set<std::string> scripts;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        const std::string& lower = lowered[i];
        if (lower.find("scripts/") != std::string::npos) {
            if (std::optional<std::string> name = NameBetween(entry, lower, "scripts/", ".bot")) {
                scripts.insert(LowerCase(*name));
            }
        }
    }

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        const std::string& lower = lowered[i];
        if (entry.empty()) {
            continue;
        }
        if (lower.find("icon") != std::string::npos &&
            lower.find("models/players/") != std::string::npos) {
            std::optional<std::string> model = NameBetween(entry, lower, "models/players/", "/");
            std::optional<std::string> skin = NameBetween(entry, lower, "icon_", ".");
            if (model && skin && IsPlainName(*model) && IsPlainName(*skin)) {
                AddModelSkin(models, *model, *skin, pk3File, IconPathFromEntry(entry), modelIndex);
            }
        }
        if (lower.find("_c.c") != std::string::npos &&
            lower.find("botfiles/bots/") != std::string::npos) {
            std::optional<std::string> name = NameBetween(entry, lower, "botfiles/bots/", "_c.c");
            if (name && IsPlainName(*name)) {
                AddBotEntry(bots, *name, pk3File, scripts.count(LowerCase(*name)) != 0, botIndex);
            }
        }
        if (lower.find(".bot") != std::string::npos &&
            lower.find("scripts/") != std::string::npos) {
            std::optional<std::string> name = NameBetween(entry, lower, "scripts/", ".bot");
            if (name && IsPlainName(*name)) {
                AddBotEntry(bots, *name, pk3File, true, botIndex);
            }
        }
        if (entry.find("/bots.txt") != std::string::npos) {
            messages.Warn(pk3File + " has an additional 'bots.txt' file!", "Bots.txt found!");
        }
    }
}

bool ScanGameArchives(const std::vector<std::filesystem::path>& archiveFolders,
                      ModelCatalogue& models,
                      BotList& bots,
                      Messages& messages,
                      const ScanProgress& progress)
{
    std::vector<ArchiveFile> archives = FindGameArchives(archiveFolders);
    NameIndex modelIndex(models);
    NameIndex botIndex(bots);
    for (std::size_t k = 0; k < archives.size(); ++k) {
        if (progress && !progress(k, archives.size())) {
            return false;
        }
        if (archives[k].Name == GameArchive) {
            continue;
        }
        if (std::optional<std::vector<std::string>> entries =
                ListArchive(archives[k].Path, messages)) {
            ClassifyArchiveEntries(
                *entries, archives[k].Name, models, bots, messages, &modelIndex, &botIndex);
        }
    }
    return true;
}

} // namespace twl
