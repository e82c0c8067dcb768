// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/ArchiveBotLoad.h"

#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "core/FileLookup.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/ZipArchive.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace twl {

namespace {

// Reads an entry's bytes into the bot; false when it refused them (and said why).
using Reader = std::function<bool(const std::string& bytes, const std::string& file)>;

// The files a load of that type reads, each with what reads it, in the
// order they are read: the file names start with `prefix`
// ("botfiles/bots/sarge").
struct BotParts
{
    std::vector<std::string> Entries;
    std::vector<Reader> Readers;
};

BotParts PartsOfLoad(Bot& bot,
                     LoadType loadType,
                     const std::string& prefix,
                     const std::string& script,
                     const Catalogues& catalogues,
                     Messages& messages)
{
    const CharCatalogue& names = catalogues.CharNames;
    auto readChars = [&bot, &names, &messages](bool fullLoad) -> Reader {
        return
            [&bot, &names, &messages, fullLoad](const std::string& bytes, const std::string& file) {
                if (std::optional<std::string> problem = CharFileProblem(bytes)) {
                    ReportUnreadableBotFile(messages, file, *problem);
                    return false;
                }
                ReadCharLines(bot, SplitTextLines(bytes), names, fullLoad, messages, file);
                return true;
            };
    };
    auto readWeights = [&bot, &names, &messages](WeightFileKind kind) -> Reader {
        return [&bot, &names, &messages, kind](const std::string& bytes, const std::string& file) {
            std::vector<std::string> changes;
            if (ReadWeightFileBytes(bot, kind, bytes, names, &changes)) {
                ReportForeignWeights(messages, file);
            }
            ReportChangedValues(messages, file, changes);
            return true;
        };
    };
    Reader readChats = [&bot, &catalogues, &messages](const std::string& bytes,
                                                      const std::string& file) {
        if (std::size_t leftOut = ReadChatLines(bot, SplitTextLines(bytes), catalogues.Chat)) {
            messages.Warn(file +
                              " holds more chat lines of one type than a bot can keep (32768): " +
                              std::to_string(leftOut) + " lines were left out.",
                          "Chat lines left out");
        }
        return true;
    };
    Reader readScript = [&bot](const std::string& bytes, const std::string&) {
        bot.SetBotPara(Para::FunName, Value(""));
        bot.SetBotPara(Para::RailColor, Value("None"));
        ReadScriptLines(bot, SplitTextLines(bytes));
        return true;
    };

    BotParts parts;
    auto part = [&parts](const std::string& entry, Reader read) {
        parts.Entries.push_back(entry);
        parts.Readers.push_back(std::move(read));
    };
    switch (loadType) {
    case LoadType::WholeBot:
        part(prefix + "_c.c", readChars(true));
        part(prefix + "_w.c", readWeights(WeightFileKind::Weapon));
        part(prefix + "_i.c", readWeights(WeightFileKind::Item));
        part(prefix + "_t.c", readChats);
        if (!script.empty()) {
            part(script, readScript);
        }
        break;
    case LoadType::CharFile:
        part(prefix + "_c.c", readChars(false));
        break;
    case LoadType::ChatFile:
        part(prefix + "_t.c", readChats);
        break;
    case LoadType::ItemFile:
        part(prefix + "_i.c", readWeights(WeightFileKind::Item));
        break;
    case LoadType::WeaponFile:
        part(prefix + "_w.c", readWeights(WeightFileKind::Weapon));
        break;
    case LoadType::MakeBotFiles:
    case LoadType::GameFolder:
    case LoadType::ExtractorFolder:
    case LoadType::WorkingFolder:
        break; // no load
    }
    return parts;
}

// The entry of a part as the characteristic file just read names it: the
// chat file and weight files it names instead of those of the bot's stem.
std::string PointedEntry(const Bot& bot, const std::string& entry)
{
    const std::pair<const char*, int> parts[] = {
        {"_w.c", Para::WeaponFile}, {"_i.c", Para::ItemFile}, {"_t.c", Para::ChatFile}};
    for (const auto& [ending, file] : parts) {
        std::size_t length = std::char_traits<char>::length(ending);
        if (entry.size() > length && entry.compare(entry.size() - length, length, ending) == 0 &&
            bot.KeepsFileName(file)) {
            return entry.substr(0, entry.rfind('/') + 1) + LowerCase(bot.BotPara(file).ToText());
        }
    }
    return entry;
}

bool IsFileName(const std::string& name)
{
    return !name.empty() && name.find_first_of("/\\") == std::string::npos && name != "." &&
           name != "..";
}

// A bot of the game's own list: each of its files is read from where the
// game finds it (an archive, or a folder of loose files), then the list's
// entry gives it its name, model, skin and the rest.
bool LoadGameListBot(Bot& bot,
                     LoadType loadType,
                     const BotListEntry& entry,
                     const std::vector<std::filesystem::path>& archiveFolders,
                     const Catalogues& catalogues,
                     Messages& messages)
{
    std::string aiFile = LowerCase(entry.AiFile);
    std::replace(aiFile.begin(), aiFile.end(), '\\', '/');
    std::string path = "botfiles/" + aiFile;
    std::size_t stemEnd = path.rfind("_c.c");
    std::size_t nameStart = path.rfind('/') + 1;
    if (stemEnd == std::string::npos || stemEnd + 4 != path.size() || stemEnd <= nameStart ||
        aiFile.find("..") != std::string::npos || entry.PK3File.empty()) {
        ReportNotLoaded(messages,
                        path,
                        entry.PK3File.empty() ? entry.Name : entry.PK3File,
                        entry.PK3File.empty()
                            ? "The game's bot list names a characteristic file that no "
                              "archive or folder of the game holds."
                            : "The game's bot list names no characteristic file (_c.c).");
        return false;
    }
    BotParts parts =
        PartsOfLoad(bot, loadType, path.substr(0, stemEnd), std::string(), catalogues, messages);
    if (parts.Entries.empty()) {
        return false; // no load of that kind
    }
    // Each archive is opened once, however many of the files it holds.
    std::map<std::string, std::unique_ptr<ZipReader>> archives;
    for (std::size_t k = 0; k < parts.Entries.size(); ++k) {
        const std::string file = PointedEntry(bot, parts.Entries[k]);
        auto known = catalogues.Game.BotFileSources.find(file);
        std::string source =
            known != catalogues.Game.BotFileSources.end() ? known->second : entry.PK3File;
        std::optional<std::string> bytes;
        if (IsLooseFolder(source)) {
            std::filesystem::path folder = std::filesystem::path(source) / file;
            Result<std::string> read = ReadFileBytes(
                FindFileIgnoringCase(folder.parent_path(), folder.filename().string()),
                MaxArchiveEntrySize);
            if (!read.Ok()) {
                ReportNotLoaded(messages, file, source, read.Error().Reason);
                return false;
            }
            bytes = std::move(read.Value());
        } else {
            std::unique_ptr<ZipReader>& archive = archives[source];
            if (!archive) {
                archive = OpenGameArchive(source, file, archiveFolders, messages);
                if (!archive) {
                    return false;
                }
            }
            bytes = ReadFromArchive(*archive, source, file, archive->FindEntry(file), messages);
            if (!bytes) {
                return false;
            }
        }
        if (!parts.Readers[k](*bytes, source + "/" + file)) {
            return false;
        }
    }
    if (loadType == LoadType::WholeBot) {
        ApplyBotInfo(bot, entry.Info);
    }
    return true;
}

} // namespace

bool LoadBotFromArchive(Bot& bot,
                        LoadType loadType,
                        const std::string& pk3File,
                        const std::string& name,
                        bool hasBotFile,
                        const std::vector<std::filesystem::path>& archiveFolders,
                        const Catalogues& catalogues,
                        Messages& messages)
{
    const std::string botsFolder = "botfiles/bots/";
    if (!IsFileName(name)) {
        ReportNotLoaded(
            messages, botsFolder + name + "_c.c", pk3File, "The bot's name is no file name.");
        return false;
    }
    std::unique_ptr<ZipReader> archive =
        OpenGameArchive(pk3File, botsFolder + name + "_c.c", archiveFolders, messages);
    if (!archive) {
        return false;
    }
    // Each entry is read into memory and handed to its reader: no file is
    // written for it.
    BotParts parts = PartsOfLoad(bot,
                                 loadType,
                                 botsFolder + name,
                                 hasBotFile ? "scripts/" + name + ".bot" : std::string(),
                                 catalogues,
                                 messages);
    if (parts.Entries.empty()) {
        return false; // no load of that kind
    }
    // All of them looked up together, in one pass over the archive's names;
    // the first that cannot be read ends the load.
    std::vector<std::optional<std::uint64_t>> found = archive->FindEntries(parts.Entries);
    for (std::size_t k = 0; k < parts.Entries.size(); ++k) {
        std::string entry = PointedEntry(bot, parts.Entries[k]);
        std::optional<std::uint64_t> index =
            entry == parts.Entries[k] ? found[k] : archive->FindEntry(entry);
        std::optional<std::string> bytes =
            ReadFromArchive(*archive, pk3File, entry, index, messages);
        if (!bytes) {
            return false;
        }
        if (!parts.Readers[k](*bytes, pk3File + "/" + entry)) {
            return false;
        }
    }
    // Read from where the game reads them, they are the bot's own files now,
    // written under its name: another bot's files are never written over.
    bot.SetBotPara(Para::Name, bot.BotPara(Para::Name));
    if (loadType == LoadType::WholeBot && !hasBotFile) {
        ScriptDefaults(bot, catalogues.Bots);
    }
    return true;
}

bool LoadListedBot(Bot& thisBot,
                   std::size_t botId,
                   LoadType loadType,
                   const Settings& settings,
                   const Catalogues& catalogues,
                   const std::vector<std::filesystem::path>& archiveFolders,
                   Messages& messages)
{
    if (settings.Text(Settings::Q3Baseq3).empty()) {
        messages.Warn("Quake III Arena folder isn't set. Use 'Program/Options' to set it.",
                      "Can't check folder");
        return false;
    }
    if (botId >= catalogues.Bots.size()) {
        return false;
    }
    const BotListEntry& entry = catalogues.Bots[botId];
    std::string name = LowerCase(entry.Name);
    // A whole bot is read into a new bot, which takes the place of the
    // current one only when the load succeeded; single files go straight in.
    Bot fresh;
    Bot& target = loadType == LoadType::WholeBot ? fresh : thisBot;
    bool loaded =
        entry.FromGameList
            ? LoadGameListBot(target, loadType, entry, archiveFolders, catalogues, messages)
            : LoadBotFromArchive(target,
                                 loadType,
                                 entry.PK3File,
                                 name,
                                 entry.HasBotFile,
                                 archiveFolders,
                                 catalogues,
                                 messages);
    if (loaded && loadType == LoadType::WholeBot) {
        thisBot = std::move(fresh);
    }
    if (!loaded) {
        messages.Inform("Bot " + entry.Name + " not loaded.", "Operation cancelled!");
    }
    return loaded;
}

} // namespace twl
