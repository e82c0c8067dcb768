#include "session/BotCheckSources.h"

#include "core/FileLookup.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/ZipArchive.h"

#include <algorithm>
#include <sstream>

namespace twl {

namespace {

const std::string CharEnding = "_c.c";

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           LowerCase(text.substr(text.size() - end.size())) == LowerCase(end);
}

std::optional<CheckedFile> ReadLooseFile(const std::filesystem::path& path)
{
    ReadLinesResult read = ReadTextFile(path);
    if (!read.Result.Ok) {
        return std::nullopt;
    }
    CheckedFile file;
    file.Shown = path.string();
    file.Lines = std::move(read.Lines);
    std::error_code error;
    file.Bytes = static_cast<std::size_t>(std::filesystem::file_size(path, error));
    return file;
}

bool IsGameLayoutFolder(const std::filesystem::path& folder)
{
    return folder.filename() == "bots" && folder.parent_path().filename() == "botfiles";
}

// A bot of loose files: the game finds "bots/..." below botfiles/, which is
// the characteristic file's own folder in a flat set.
void CheckLooseBot(const std::filesystem::path& charPath,
                   const Catalogues& catalogues,
                   PathCheck& check)
{
    std::optional<CheckedFile> charFile = ReadLooseFile(charPath);
    if (!charFile) {
        check.Problem = "cannot read " + charPath.string();
        return;
    }
    std::filesystem::path folder = charPath.parent_path();
    std::string name = charPath.filename().string();

    BotSetToCheck set;
    set.Char = std::move(*charFile);
    set.CharGamePath = "bots/" + name;
    set.CaseSensitive = true;
    set.Lookup = [folder](const std::string& gamePath) {
        LookedUpFile found;
        std::string below = gamePath.rfind("bots/", 0) == 0 ? gamePath.substr(5) : gamePath;
        std::filesystem::path exact = folder / below;
        std::error_code error;
        if (std::filesystem::is_regular_file(exact, error)) {
            found.File = ReadLooseFile(exact);
            return found;
        }
        std::filesystem::path other =
            FindFileIgnoringCase(exact.parent_path(), exact.filename().string());
        if (other != exact && std::filesystem::is_regular_file(other, error)) {
            found.File = ReadLooseFile(other);
            found.CaseProblem = "the game looks for " + gamePath + ", but the file is " +
                                other.filename().string() +
                                ": the game's loose files are case-sensitive on Linux";
        }
        return found;
    };
    if (std::optional<std::filesystem::path> script = LooseScriptOf(charPath)) {
        set.Script = ReadLooseFile(*script);
    }
    std::vector<Finding> findings = CheckBotSet(set, catalogues);
    check.Findings.insert(check.Findings.end(), findings.begin(), findings.end());
    ++check.Bots;
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

std::optional<CheckedFile>
ReadArchiveFile(ZipReader& archive, const std::string& shownArchive, const std::string& entry)
{
    std::optional<std::uint64_t> index = archive.FindEntry(entry);
    if (!index) {
        return std::nullopt;
    }
    ZipError error;
    std::optional<std::string> bytes = archive.ReadEntry(*index, MaxArchiveEntrySize, error);
    if (!bytes) {
        return std::nullopt;
    }
    std::istringstream in(*bytes);
    CheckedFile file;
    file.Shown = shownArchive + "/" + entry;
    file.Lines = ReadTextLines(in);
    file.Bytes = bytes->size();
    return file;
}

void CheckArchive(const std::filesystem::path& path, const Catalogues& catalogues, PathCheck& check)
{
    ZipError error;
    std::unique_ptr<ZipReader> archive = ZipReader::Open(path, error);
    if (!archive) {
        check.Problem = "cannot open " + path.string() + " as an archive: " + error.Description;
        return;
    }
    std::string shown = path.string();
    std::vector<std::string> charEntries;
    for (const ZipReader::EntryInfo& entry : archive->EntryInfos()) {
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
        if (normalised == "scripts/bots.txt") {
            add("a scripts/bots.txt replaces the game's whole bot list");
        }
        if (normalised.rfind("botfiles/bots/", 0) == 0 &&
            EndsWithIgnoringCase(normalised, CharEnding) &&
            normalised.find('/', 14) == std::string::npos) {
            charEntries.push_back(normalised);
        }
    }
    for (const std::string& entry : charEntries) {
        std::optional<CheckedFile> charFile = ReadArchiveFile(*archive, shown, entry);
        if (!charFile) {
            check.Findings.push_back(
                {Severity::Error, shown + "/" + entry, 0, "the entry cannot be read", {}});
            continue;
        }
        std::string name = entry.substr(14);
        std::string stem = name.substr(0, name.size() - CharEnding.size());
        BotSetToCheck set;
        set.Char = std::move(*charFile);
        set.CharGamePath = "bots/" + name;
        set.Script = ReadArchiveFile(*archive, shown, "scripts/" + stem + ".bot");
        ZipReader& reader = *archive;
        set.Lookup = [&reader, shown](const std::string& gamePath) {
            LookedUpFile found;
            found.File = ReadArchiveFile(reader, shown, "botfiles/" + gamePath);
            return found;
        };
        std::vector<Finding> findings = CheckBotSet(set, catalogues);
        check.Findings.insert(check.Findings.end(), findings.begin(), findings.end());
        ++check.Bots;
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
        sources.Problem = path.string() + " does not exist";
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
    std::string stem = name.substr(0, name.size() - CharEnding.size());
    std::filesystem::path scripts =
        IsGameLayoutFolder(folder) ? folder.parent_path().parent_path() / "scripts" : folder;
    std::filesystem::path script = FindFileIgnoringCase(scripts, stem + ".bot");
    std::error_code error;
    if (std::filesystem::is_regular_file(script, error)) {
        return script;
    }
    return std::nullopt;
}

PathCheck CheckPath(const std::filesystem::path& path, const Catalogues& catalogues)
{
    PathCheck check;
    BotSources sources = FindBotSources(path);
    check.Problem = sources.Problem;
    if (sources.Archive) {
        CheckArchive(*sources.Archive, catalogues, check);
    }
    for (const std::filesystem::path& charFile : sources.CharFiles) {
        CheckLooseBot(charFile, catalogues, check);
    }
    return check;
}

} // namespace twl
