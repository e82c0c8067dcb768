// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/ArchiveScan.h"

#include "core/TextCase.h"
#include "pk3/GameArchives.h"
#include "pk3/GameDefinitions.h"
#include "pk3/ZipArchive.h"

#include <string_view>
#include <unordered_set>

namespace twl {

namespace {

// The text between `start` (its first occurrence in `lower`) and the next
// `end` after it, taken from `line`; nothing when either is missing.
// `lower` is `line` lower-cased, of the same length.
std::optional<std::string_view> NameBetween(std::string_view line,
                                            std::string_view lower,
                                            std::string_view start,
                                            std::string_view end)
{
    std::size_t from = lower.find(start);
    if (from == std::string_view::npos) {
        return std::nullopt;
    }
    from += start.size();
    std::size_t to = lower.find(end, from);
    if (to == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(from, to - from);
}

// A name taken from an entry path must stay one plain file name, and one
// that can be printed and stored: no control character (a terminal escape
// sequence starts with one).
bool IsPlainName(std::string_view name)
{
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == '/' || byte == '\\') {
            return false;
        }
    }
    return !name.empty() && name != "." && name != "..";
}

} // namespace

std::optional<ArchiveListing> ListArchive(const std::filesystem::path& path, Messages& messages)
{
    ArchiveListing listing;
    Result<std::unique_ptr<ZipReader>> opened = ZipReader::Open(path);
    if (!opened) {
        messages.Note(std::to_string(opened.Error().Code) + " " + " Error in pk3 browsing: " + " " +
                      opened.Error().Reason + ": " + path.string());
        return std::nullopt;
    }
    listing.Archive = std::move(opened).Value();
    listing.Names = listing.Archive->EntryNameViews(listing.Decoded);
    return listing;
}

std::string IconPathFromEntry(std::string_view entry)
{
    auto blank = [](char c) {
        return c == ' ' || c == '\t';
    };
    std::size_t first = 0;
    std::size_t end = entry.size();
    while (first < end && blank(entry[first])) {
        ++first;
    }
    while (end > first && blank(entry[end - 1])) {
        --end;
    }
    while (first < end && entry[first] != 'm' && entry[first] != 'M') {
        ++first;
    }
    std::string path(entry.substr(first, end - first));
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

void ClassifyArchiveEntries(const std::vector<std::string_view>& entries,
                            const std::string& pk3File,
                            ModelCatalogue& models,
                            BotList& bots,
                            Messages& messages,
                            NameIndex* modelIndex,
                            NameIndex* botIndex,
                            bool warnOfBotList)
{
    // Each name is lowered into the one buffer, kept from name to name. An
    // icon is filed at once (models come only from icons, so their order is
    // that of the entries still); a bot needs to know first which scripts
    // the archive holds, so the few names that may be one are looked at again.
    std::string lower;
    std::vector<std::size_t> maybeBots;
    // The bots whose own script is in this archive, wherever it is listed.
    std::unordered_set<std::string> scripts;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = entries[i];
        if (entry.empty()) {
            continue;
        }
        LowerCaseInto(entry, lower);
        const std::string_view lowered = lower;
        bool script = lowered.find(".bot") != std::string_view::npos;
        if (script) {
            if (std::optional<std::string_view> name =
                    NameBetween(entry, lowered, "scripts/", ".bot")) {
                scripts.insert(LowerCase(std::string(*name)));
            }
        }
        if (script || lowered.find("_c.c") != std::string_view::npos ||
            entry.find("/bots.txt") != std::string_view::npos) {
            maybeBots.push_back(i);
        }
        if (lowered.find("icon") != std::string_view::npos) {
            std::optional<std::string_view> model =
                NameBetween(entry, lowered, "models/players/", "/");
            std::optional<std::string_view> skin = NameBetween(entry, lowered, "icon_", ".");
            if (model && skin && IsPlainName(*model) && IsPlainName(*skin)) {
                AddModelSkin(models,
                             std::string(*model),
                             std::string(*skin),
                             pk3File,
                             IconPathFromEntry(entry),
                             modelIndex);
            }
        }
    }

    for (std::size_t i : maybeBots) {
        const std::string_view entry = entries[i];
        LowerCaseInto(entry, lower);
        const std::string_view lowered = lower;
        if (lowered.find("_c.c") != std::string_view::npos) {
            std::optional<std::string_view> name =
                NameBetween(entry, lowered, "botfiles/bots/", "_c.c");
            if (name && IsPlainName(*name)) {
                std::string botName(*name);
                AddBotEntry(
                    bots, botName, pk3File, scripts.count(LowerCase(botName)) != 0, botIndex);
            }
        }
        if (lowered.find(".bot") != std::string_view::npos) {
            std::optional<std::string_view> name = NameBetween(entry, lowered, "scripts/", ".bot");
            if (name && IsPlainName(*name)) {
                AddBotEntry(bots, std::string(*name), pk3File, true, botIndex);
            }
        }
        if (entry.find("/bots.txt") != std::string_view::npos && warnOfBotList) {
            messages.Warn(pk3File + " has an additional 'bots.txt' file!", "Bots.txt found!");
        }
    }
}

bool ScanGameArchives(const std::vector<std::filesystem::path>& archiveFolders,
                      ModelCatalogue& models,
                      BotList& bots,
                      Messages& messages,
                      const ScanProgress& progress,
                      GameDefinitionsReader* definitions,
                      bool builtInGameArchive)
{
    std::vector<ArchiveFile> archives = FindGameArchives(archiveFolders);
    NameIndex modelIndex(models);
    NameIndex botIndex(bots);
    // The loose files of a folder come after its archives and before the
    // next folder's, as the game finds them.
    std::size_t looseTaken = 0;
    std::vector<std::filesystem::path> folderNames;
    for (const std::filesystem::path& folder : archiveFolders) {
        folderNames.push_back((folder / "x").parent_path().lexically_normal());
    }
    auto takeLooseFilesBefore = [&](std::size_t folderCount) {
        for (; definitions != nullptr && looseTaken < folderCount; ++looseTaken) {
            definitions->TakeFolder(archiveFolders[looseTaken]);
        }
    };
    for (std::size_t k = 0; k < archives.size(); ++k) {
        if (progress && !progress(k, archives.size())) {
            return false;
        }
        std::size_t folder = 0;
        while (folder < folderNames.size() &&
               archives[k].Path.parent_path().lexically_normal() != folderNames[folder]) {
            ++folder;
        }
        takeLooseFilesBefore(folder);
        bool gameArchive = builtInGameArchive && archives[k].Name == GameArchive;
        if (gameArchive && definitions == nullptr) {
            continue;
        }
        if (std::optional<ArchiveListing> listing = ListArchive(archives[k].Path, messages)) {
            if (definitions != nullptr) {
                definitions->TakeArchive(*listing->Archive, listing->Names, archives[k].Name);
            }
            if (!gameArchive) {
                ClassifyArchiveEntries(listing->Names,
                                       archives[k].Name,
                                       models,
                                       bots,
                                       messages,
                                       &modelIndex,
                                       &botIndex,
                                       definitions == nullptr);
            }
        }
    }
    takeLooseFilesBefore(archiveFolders.size());
    return true;
}

} // namespace twl
