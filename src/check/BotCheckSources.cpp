// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/BotCheckSources.h"

#include "core/FileLookup.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/GameArchives.h"
#include "pk3/GameDefinitions.h"
#include "pk3/ZipArchive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unordered_map>

namespace twl {

namespace {

const char CharEnding[] = "_c.c";

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           LowerCase(text.substr(text.size() - end.size())) == LowerCase(end);
}

std::optional<CheckedFile> ReadLooseFile(const std::filesystem::path& path)
{
    Result<std::string> read = ReadFileBytes(path, MaxArchiveEntrySize);
    if (!read.Ok()) {
        return std::nullopt;
    }
    return CheckedFile{path.string(), std::move(read.Value())};
}

// For a name already in lower case.
bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsGameLayoutFolder(const std::filesystem::path& folder)
{
    return folder.filename() == "bots" && folder.parent_path().filename() == "botfiles";
}

// The files of loose bots whose characteristic files lie in `folder`, as
// the game finds them below botfiles/: "bots/..." in the folder itself,
// and in the game's layout the rest in the botfiles folder above it. The
// game's loose files are case-sensitive on Linux.
BotFileLookup LooseLookup(const std::filesystem::path& folder)
{
    bool layout = IsGameLayoutFolder(folder);
    return [folder, layout](const std::string& path) {
        LookedUpFile found;
        std::filesystem::path exact;
        if (path.rfind("bots/", 0) == 0) {
            exact = folder / path.substr(5);
        } else if (layout) {
            exact = folder.parent_path() / path;
        } else {
            return found;
        }
        std::error_code error;
        if (std::filesystem::is_regular_file(exact, error)) {
            found.File = ReadLooseFile(exact);
            return found;
        }
        std::filesystem::path other =
            FindFileIgnoringCase(exact.parent_path(), exact.filename().string());
        if (other != exact && std::filesystem::is_regular_file(other, error)) {
            found.File = ReadLooseFile(other);
            found.CaseProblem = "the game looks for " + path + ", but the file is " +
                                other.filename().string() +
                                ": the game's loose files are case-sensitive on Linux";
        }
        return found;
    };
}

// The scripts beside loose bots in `folder`: the scripts folder of the
// game's layout, or the folder itself.
std::vector<std::filesystem::path> ScriptsBeside(const std::filesystem::path& folder)
{
    std::filesystem::path scripts =
        IsGameLayoutFolder(folder) ? folder.parent_path().parent_path() / "scripts" : folder;
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(scripts, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if ((EndsWithIgnoringCase(name, ".bot") || LowerCase(name) == "bots.txt") &&
            it->is_regular_file(error)) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

void CheckLooseBots(const std::vector<std::filesystem::path>& charFiles,
                    bool wholeFolders,
                    const Catalogues& catalogues,
                    PathCheck& check)
{
    std::map<std::filesystem::path, std::vector<std::filesystem::path>> byFolder;
    for (const std::filesystem::path& charFile : charFiles) {
        byFolder[charFile.parent_path()].push_back(charFile);
    }
    for (const auto& [folder, files] : byFolder) {
        BotChecker checker(catalogues, LooseLookup(folder));
        std::set<std::filesystem::path> scripts;
        if (wholeFolders) {
            std::vector<std::filesystem::path> beside = ScriptsBeside(folder);
            scripts.insert(beside.begin(), beside.end());
        }
        for (const std::filesystem::path& charFile : files) {
            if (std::optional<std::filesystem::path> script = LooseScriptOf(charFile)) {
                scripts.insert(*script);
            }
        }
        for (const std::filesystem::path& script : scripts) {
            if (std::optional<CheckedFile> file = ReadLooseFile(script)) {
                checker.CheckScript(*file);
            } else {
                Result<std::string> read = ReadFileBytes(script, MaxArchiveEntrySize);
                std::string reason =
                    read ? std::string("it could not be read") : read.Error().Reason;
                check.Findings.push_back({Severity::Error,
                                          script.string(),
                                          0,
                                          "the script cannot be read: " + reason,
                                          {}});
            }
        }
        for (const std::filesystem::path& charFile : files) {
            checker.CheckCharacteristicFile("bots/" + charFile.filename().string());
        }
        std::vector<Finding> findings = checker.TakeFindings();
        check.Findings.insert(check.Findings.end(), findings.begin(), findings.end());
        check.Bots += checker.Bots();
    }
}

std::vector<std::filesystem::path> CharFilesIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (it->is_regular_file(error) && EndsWithIgnoringCase(name, CharEnding)) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The entries of one archive by the name the game looks them up with, and
// what may still be read out of them.
class ArchiveFiles
{
public:
    ArchiveFiles(ZipReader& archive, std::string shown, std::uint64_t& budget)
        : m_archive(archive)
        , m_shown(std::move(shown))
        , m_budget(budget)
    {}

    // False when an earlier entry has the name (the game finds the first).
    bool Add(std::string normalised, std::uint64_t index)
    {
        return m_index.emplace(std::move(normalised), index).second;
    }

    void Reserve(std::size_t entries) { m_index.reserve(entries); }

    std::optional<CheckedFile> Read(const std::string& normalised)
    {
        auto found = m_index.find(normalised);
        if (found == m_index.end() || m_exhausted) {
            return std::nullopt;
        }
        std::uint64_t limit = std::min<std::uint64_t>(MaxArchiveEntrySize, m_budget);
        Result<std::string> bytes = m_archive.ReadEntry(found->second, limit);
        if (!bytes) {
            if (m_budget < MaxArchiveEntrySize) {
                m_exhausted = true;
            }
            return std::nullopt;
        }
        m_budget -= bytes->size();
        return CheckedFile{m_shown + "/" + normalised, std::move(*bytes)};
    }

    bool Exhausted() const { return m_exhausted; }

private:
    ZipReader& m_archive;
    std::string m_shown;
    std::uint64_t& m_budget;
    std::unordered_map<std::string, std::uint64_t> m_index;
    bool m_exhausted = false;
};

// Whether the archive is one of the game's own (its bot list is the game's).
bool IsGameArchive(const std::filesystem::path& path, const Catalogues& catalogues)
{
    const std::string& folder = catalogues.Game.GameFolder;
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::canonical(path, error);
    if (error) {
        return false;
    }
    for (const ArchiveFile& archive : FindGameArchives(GameArchiveFolders(folder))) {
        std::error_code other;
        if (std::filesystem::canonical(archive.Path, other) == canonical && !other) {
            return true;
        }
    }
    return false;
}

// `folderGame`: the definitions of the base folder the archive is checked
// in, whose archives are the game's own.
void CheckArchive(const std::filesystem::path& path,
                  const Catalogues& catalogues,
                  const GameDefinitions* folderGame,
                  std::uint64_t budget,
                  PathCheck& check)
{
    // Each entry is read with one read of the file: many small entries cost
    // no seek each.
    Result<std::unique_ptr<ZipReader>> opened = ZipReader::Open(path);
    if (!opened) {
        check.Problem = "cannot open " + path.string() + " as an archive: " + opened.Error().Reason;
        return;
    }
    std::unique_ptr<ZipReader> archive = std::move(opened).Value();
    std::string shown = path.string();
    bool gameArchive = folderGame != nullptr || IsGameArchive(path, catalogues);
    std::uint64_t left = budget;
    ArchiveFiles files(*archive, shown, left);
    std::vector<std::string> scripts;
    std::vector<std::string> charEntries;
    std::vector<ZipReader::EntryInfo> entries = archive->EntryInfos();
    files.Reserve(entries.size());
    for (const ZipReader::EntryInfo& entry : entries) {
        auto add = [&](const std::string& text) {
            check.Findings.push_back({Severity::Error, shown + "/" + entry.Name, 0, text, {}});
        };
        if (entry.Name.find('\\') != std::string::npos) {
            add("the entry name holds \\: the game opens it but never lists the bot");
        }
        if (entry.Method != 0 && entry.Method != 8) {
            add("the entry is compressed with method " + std::to_string(entry.Method) +
                "; the game reads only stored and deflated entries");
        }
        if (entry.Encrypted) {
            add("the entry is encrypted: the game cannot read it");
        }
        if (entry.Large) {
            add("the entry needs zip64, which the game's reader cannot open");
        }
        std::string normalised = NormalisedEntryName(entry.Name);
        if (!files.Add(normalised, entry.Index)) {
            continue;
        }
        if (normalised == "scripts/bots.txt") {
            if (!gameArchive) {
                add("a scripts/bots.txt replaces the game's whole bot list");
            }
            scripts.insert(scripts.begin(), normalised); // the game reads it first
        } else if (normalised.rfind("scripts/", 0) == 0 && EndsWith(normalised, ".bot") &&
                   normalised.find('/', 8) == std::string::npos) {
            scripts.push_back(normalised);
        } else if (normalised.rfind("botfiles/bots/", 0) == 0 && EndsWith(normalised, CharEnding) &&
                   normalised.find('/', 14) == std::string::npos) {
            charEntries.push_back(normalised);
        }
    }
    std::sort(scripts.begin() + (!scripts.empty() && scripts.front() == "scripts/bots.txt" ? 1 : 0),
              scripts.end());
    BotChecker checker(
        catalogues,
        [&files](const std::string& gamePath) {
            LookedUpFile found;
            std::string name = gamePath;
            std::replace(name.begin(), name.end(), '\\', '/');
            found.File = files.Read(NormalisedEntryName("botfiles/" + name));
            return found;
        },
        gameArchive,
        folderGame);
    for (const std::string& script : scripts) {
        if (files.Exhausted()) {
            break;
        }
        if (std::optional<CheckedFile> file = files.Read(script)) {
            checker.CheckScript(*file);
        } else if (!files.Exhausted()) {
            check.Findings.push_back(
                {Severity::Error, shown + "/" + script, 0, "the entry cannot be read", {}});
        }
    }
    for (const std::string& entry : charEntries) {
        if (files.Exhausted()) {
            break;
        }
        checker.CheckCharacteristicFile(entry.substr(9));
    }
    std::vector<Finding> findings = checker.TakeFindings();
    check.Findings.insert(check.Findings.end(), findings.begin(), findings.end());
    check.Bots += checker.Bots();
    if (files.Exhausted()) {
        check.Findings.push_back(
            {Severity::Error,
             shown,
             0,
             "the archive's entries hold more than " + std::to_string(budget) +
                 " bytes of bot files to read: the check stops there, and the bots after it are "
                 "not checked",
             {}});
    }
}

// The archives of a game's base folder, in the game's order.
std::vector<ArchiveFile> ArchivesIn(const std::filesystem::path& folder)
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return {};
    }
    return FindGameArchives({folder});
}

void CheckBaseFolder(const std::filesystem::path& folder,
                     const std::vector<ArchiveFile>& archives,
                     const Catalogues& catalogues,
                     std::uint64_t budget,
                     PathCheck& check)
{
    // The definitions of the folder, as the game reads them: archive after
    // archive, later ones winning, then the loose files.
    GameDefinitionsReader reader(catalogues.Game.GameName, folder.filename().string(), {});
    for (const ArchiveFile& archive : archives) {
        std::unique_ptr<ZipReader> zip = ZipReader::Open(archive.Path).ValueOr(nullptr);
        if (!zip) {
            continue;
        }
        std::deque<std::string> decoded;
        std::vector<std::string_view> names = zip->EntryNameViews(decoded);
        reader.TakeArchive(*zip, names, archive.Name);
    }
    reader.TakeFolder(folder);
    GameDefinitions definitions = reader.Take();
    for (const ArchiveFile& archive : archives) {
        PathCheck one;
        CheckArchive(archive.Path, catalogues, &definitions, budget, one);
        if (one.Problem) {
            check.Findings.push_back({Severity::Error, archive.Path.string(), 0, *one.Problem, {}});
        }
        check.Findings.insert(check.Findings.end(), one.Findings.begin(), one.Findings.end());
        check.Bots += one.Bots;
    }
    std::vector<std::filesystem::path> loose = CharFilesIn(folder / "botfiles" / "bots");
    if (!loose.empty()) {
        CheckLooseBots(loose, true, catalogues, check);
    }
}

} // namespace

BotSources FindBotSources(const std::filesystem::path& path)
{
    BotSources sources;
    std::error_code error;
    std::string name = path.filename().string();
    if (std::filesystem::is_directory(path, error)) {
        for (const std::filesystem::path& folder : {path, path / "botfiles" / "bots"}) {
            std::vector<std::filesystem::path> found = CharFilesIn(folder);
            sources.CharFiles.insert(sources.CharFiles.end(), found.begin(), found.end());
        }
        if (sources.CharFiles.empty()) {
            sources.Problem =
                "no characteristic file (NAME_c.c) in " + path.string() + " or its botfiles/bots";
        }
    } else if (!std::filesystem::is_regular_file(path, error)) {
        // Says what is there: nothing, or something that is no file.
        struct stat info = {};
        bool there = ::stat(path.c_str(), &info) == 0;
        int reason = errno;
        if (!there && ::lstat(path.c_str(), &info) == 0) {
            sources.Problem = path.string() + " is a link to something that is not there";
        } else if (!there) {
            sources.Problem = path.string() + " cannot be read: " + std::strerror(reason);
        } else {
            sources.Problem = path.string() + " is not a regular file (" +
                              (S_ISFIFO(info.st_mode)                           ? "a FIFO"
                               : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "a device"
                               : S_ISSOCK(info.st_mode)                         ? "a socket"
                                                                                : "not a file") +
                              "), so it is not read";
        }
    } else if (EndsWithIgnoringCase(name, ".pk3")) {
        sources.Archive = path;
    } else if (EndsWithIgnoringCase(name, CharEnding)) {
        sources.CharFiles.push_back(path);
    } else {
        sources.Problem = path.string() + " is no characteristic file (NAME_c.c), folder or .pk3";
    }
    return sources;
}

std::optional<std::filesystem::path> LooseScriptOf(const std::filesystem::path& charFile)
{
    std::filesystem::path folder = charFile.parent_path();
    std::string name = charFile.filename().string();
    std::string stem = name.substr(0, name.size() - (sizeof CharEnding - 1));
    std::filesystem::path scripts =
        IsGameLayoutFolder(folder) ? folder.parent_path().parent_path() / "scripts" : folder;
    std::filesystem::path script = FindFileIgnoringCase(scripts, stem + ".bot");
    std::error_code error;
    if (std::filesystem::is_regular_file(script, error)) {
        return script;
    }
    return std::nullopt;
}

PathCheck
CheckPath(const std::filesystem::path& path, const Catalogues& catalogues, std::uint64_t budget)
{
    PathCheck check;
    std::vector<ArchiveFile> archives = ArchivesIn(path);
    if (!archives.empty()) {
        CheckBaseFolder(path, archives, catalogues, budget, check);
        return check;
    }
    BotSources sources = FindBotSources(path);
    check.Problem = sources.Problem;
    if (sources.Archive) {
        CheckArchive(*sources.Archive, catalogues, nullptr, budget, check);
    }
    std::error_code error;
    CheckLooseBots(
        sources.CharFiles, std::filesystem::is_directory(path, error), catalogues, check);
    return check;
}

} // namespace twl
