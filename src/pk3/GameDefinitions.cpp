// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/GameDefinitions.h"

#include "core/ListFile.h"
#include "core/TextCase.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"

#include <algorithm>

namespace twl {

namespace {

constexpr const char* IndexTitle = "[Tarnwell game files]";
constexpr const char* IndexFileName = "index";

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A name of one plain file, as a folder of the game may hold it.
bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || c == '/' || c == '\\' || c == ':';
    });
}

} // namespace

bool IsLooseSource(const std::string& source)
{
    return source.find('/') != std::string::npos;
}

const GameFile* GameDefinitions::File(const std::string& path) const
{
    auto it = Files.find(path);
    return it == Files.end() ? nullptr : &it->second;
}

std::vector<std::string> GameDefinitions::ScriptPaths() const
{
    std::vector<std::string> scripts;
    for (const auto& [path, file] : Files) {
        if (path.compare(0, 8, "scripts/") == 0 && EndsWith(path, ".bot")) {
            scripts.push_back(path);
        }
    }
    return scripts; // the map keeps them sorted by name
}

namespace {

// Whether the entry name lies under `folder` (lower case, ending in "/"), as
// DefinitionPath compares: without regard to case, "\\" as "/". No letter
// outside ASCII lowers to one in it, so the bytes are compared as they stand.
bool InFolder(std::string_view name, std::string_view folder)
{
    if (name.size() <= folder.size()) {
        return false;
    }
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if ((name[i] == '\\' ? '/' : LowerAscii(name[i])) != folder[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string DefinitionPath(std::string_view name)
{
    std::string lower = LowerCase(std::string(name));
    std::replace(lower.begin(), lower.end(), '\\', '/');
    auto fileIn = [&lower](std::string_view folder) -> std::string_view {
        if (lower.compare(0, folder.size(), folder) != 0) {
            return {};
        }
        std::string_view file = std::string_view(lower).substr(folder.size());
        return IsPlainFileName(file) ? file : std::string_view();
    };
    if (std::string_view file = fileIn("scripts/"); !file.empty()) {
        return file == "bots.txt" || EndsWith(file, ".bot") ? lower : std::string();
    }
    if (std::string_view file = fileIn("botfiles/bots/"); !file.empty()) {
        return lower;
    }
    if (std::string_view file = fileIn("botfiles/"); !file.empty()) {
        return EndsWith(file, ".c") || EndsWith(file, ".h") ? lower : std::string();
    }
    return {};
}

bool IsBotFilePath(std::string_view path)
{
    return path.compare(0, 14, "botfiles/bots/") == 0;
}

bool IsVocabularyFile(std::string_view path)
{
    return path == "scripts/bots.txt" || path == "botfiles/rnd.c" ||
           (path.compare(0, 8, "scripts/") == 0 && EndsWith(path, ".bot"));
}

GameDefinitionsReader::GameDefinitionsReader(std::string gameName,
                                             std::string baseFolder,
                                             std::string gameFolder)
{
    m_definitions.GameName = std::move(gameName);
    m_definitions.BaseFolder = std::move(baseFolder);
    m_definitions.GameFolder = std::move(gameFolder);
}

bool GameDefinitionsReader::Budget(std::size_t size)
{
    if (size > MaxDefinitionFileSize || m_bytes + size > MaxDefinitionBytes) {
        return false;
    }
    m_bytes += size;
    return true;
}

void GameDefinitionsReader::TakeArchive(ZipReader& archive,
                                        const std::vector<std::string_view>& names,
                                        const std::string& pk3File)
{
    // Within one archive the last entry of a name is the one the game finds.
    std::map<std::string, std::uint64_t> found;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string_view name = names[i];
        if (!InFolder(name, "scripts/") && !InFolder(name, "botfiles/")) {
            continue; // most of an archive is models, maps, textures and sounds
        }
        std::string path = DefinitionPath(name);
        if (!path.empty()) {
            found[path] = i;
        }
    }
    for (const auto& [path, index] : found) {
        if (IsBotFilePath(path)) {
            m_definitions.BotFileSources[path] = pk3File;
            continue;
        }
        Result<std::string> bytes = archive.ReadEntry(index, MaxDefinitionFileSize);
        if (bytes && Budget(bytes->size())) {
            m_definitions.Files[path] = GameFile{std::move(*bytes), pk3File};
        }
    }
}

void GameDefinitionsReader::TakeFolder(const std::filesystem::path& base)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(base, error);
    std::string source = (error ? base : absolute).lexically_normal().string();
    for (const char* folder : {"scripts", "botfiles", "botfiles/bots"}) {
        std::vector<std::filesystem::path> files;
        for (auto it = std::filesystem::directory_iterator(base / folder, error);
             !error && it != std::filesystem::directory_iterator() && files.size() < 10000;
             it.increment(error)) {
            files.push_back(it->path());
        }
        error.clear();
        std::sort(files.begin(), files.end());
        for (const std::filesystem::path& file : files) {
            std::string path = DefinitionPath(std::string(folder) + "/" + file.filename().string());
            std::error_code kind;
            if (path.empty() || !std::filesystem::is_regular_file(file, kind)) {
                continue;
            }
            if (IsBotFilePath(path)) {
                m_definitions.BotFileSources[path] = source;
                continue;
            }
            Result<std::string> read = ReadFileBytes(file, MaxDefinitionFileSize);
            if (read.Ok() && Budget(read.Value().size())) {
                m_definitions.Files[path] = GameFile{std::move(read.Value()), source};
            }
        }
    }
}

Result<> SaveGameDefinitions(const GameDefinitions& definitions,
                             const std::filesystem::path& settingsFolder)
{
    std::filesystem::path folder = settingsFolder / GameDefinitionsFolderName;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return Failure{folder, error.message()};
    }
    std::vector<std::string> lines = {IndexTitle,
                                      "Game = " + definitions.GameName,
                                      "Base = " + definitions.BaseFolder,
                                      "Folder = " + definitions.GameFolder};
    std::vector<FileContent> files;
    std::size_t number = 0;
    for (const auto& [path, file] : definitions.Files) {
        if (!CanStoreInListField(path) || !CanStoreInListField(file.Source)) {
            continue;
        }
        std::string stored = "f" + std::to_string(number++);
        lines.push_back("File = " + QuotedField(path) + "," + QuotedField(file.Source) + "," +
                        QuotedField(stored));
        files.push_back(FileContent{folder / stored, file.Bytes});
    }
    for (const auto& [path, source] : definitions.BotFileSources) {
        if (CanStoreInListField(path) && CanStoreInListField(source)) {
            lines.push_back("Bot file = " + QuotedField(path) + "," + QuotedField(source));
        }
    }
    Result<std::string> index = EncodeTextLines(lines);
    if (!index) {
        return Failure{folder / IndexFileName, index.Error().Reason};
    }
    // The files first, the index last: an index never names a file that is
    // not there yet.
    files.push_back(FileContent{folder / IndexFileName, std::move(index).Value()});
    Result<> written = WriteFilesAtomic(files);
    if (written.Ok()) {
        // What an earlier, bigger set left behind.
        for (auto it = std::filesystem::directory_iterator(folder, error);
             !error && it != std::filesystem::directory_iterator();
             it.increment(error)) {
            std::string name = it->path().filename().string();
            if (name.size() > 1 && name.size() < 10 && name[0] == 'f' &&
                name.find_first_not_of("0123456789", 1) == std::string::npos &&
                std::stoul(name.substr(1)) >= number) {
                std::error_code removeError;
                std::filesystem::remove(it->path(), removeError);
            }
        }
    }
    return written;
}

GameDefinitions LoadGameDefinitions(const std::filesystem::path& settingsFolder,
                                    Messages& messages,
                                    KeptFiles which)
{
    std::filesystem::path folder = settingsFolder / GameDefinitionsFolderName;
    Result<std::vector<std::string>> index = ReadTextFile(folder / IndexFileName);
    if (index.Missing()) {
        return {};
    }
    GameDefinitions definitions;
    auto damaged = [&](const std::string& why) {
        messages.Warn("The game's files kept in " + folder.string() + " could not be read (" + why +
                          "). Use Tools/Check baseq3 to read them from the game again.",
                      "Load error");
        return GameDefinitions{};
    };
    if (!index.Ok()) {
        return damaged(index.Error().Reason);
    }
    if (index.Value().empty() || index.Value()[0] != IndexTitle) {
        return damaged("no title line");
    }
    // The fields are seen where the line holds them, nothing copied but
    // what is kept; the index lists the files by path, in the maps' order.
    std::vector<ListFieldView> fields;
    for (std::size_t i = 1; i < index.Value().size(); ++i) {
        const std::string_view line = index.Value()[i];
        std::size_t equals = line.find(" = ");
        if (equals == std::string_view::npos) {
            return damaged("line " + std::to_string(i + 1));
        }
        std::string_view key = line.substr(0, equals);
        std::string_view value = line.substr(equals + 3);
        SplitListFieldViews(value, fields);
        if (key == "Game") {
            definitions.GameName = value;
        } else if (key == "Base") {
            definitions.BaseFolder = value;
        } else if (key == "Folder") {
            definitions.GameFolder = value;
        } else if (key == "File" && fields.size() == 3 && IsPlainFileName(fields[2].Text)) {
            if (which == KeptFiles::Vocabulary && !IsVocabularyFile(fields[0].Text)) {
                continue;
            }
            Result<std::string> read =
                ReadFileBytes(folder / fields[2].Text, MaxDefinitionFileSize);
            if (!read.Ok()) {
                return damaged(read.Error().Reason);
            }
            definitions.Files.insert_or_assign(
                definitions.Files.end(),
                std::string(fields[0].Text),
                GameFile{std::move(read).Value(), std::string(fields[1].Text)});
        } else if (key == "Bot file" && fields.size() == 2) {
            definitions.BotFileSources.insert_or_assign(definitions.BotFileSources.end(),
                                                        std::string(fields[0].Text),
                                                        std::string(fields[1].Text));
        } else {
            return damaged("line " + std::to_string(i + 1));
        }
    }
    if (definitions.GameName.empty() || definitions.BaseFolder.empty()) {
        return damaged("no game named");
    }
    return definitions;
}

void RemoveGameDefinitions(const std::filesystem::path& settingsFolder)
{
    std::error_code error;
    std::filesystem::remove_all(settingsFolder / GameDefinitionsFolderName, error);
}

} // namespace twl
