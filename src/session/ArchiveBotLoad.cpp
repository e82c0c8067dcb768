#include "session/ArchiveBotLoad.h"

#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/ZipArchive.h"

#include <functional>
#include <memory>

namespace twl {

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
    if (name.empty() || name.find_first_of("/\\") != std::string::npos || name == "." ||
        name == "..") {
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
    using Reader = std::function<void(const std::string& bytes, const std::string& file)>;
    const CharCatalogue& names = catalogues.CharNames;
    auto readChars = [&](bool fullLoad) -> Reader {
        return [&, fullLoad](const std::string& bytes, const std::string& file) {
            ReadCharLines(bot, SplitTextLines(bytes), names, fullLoad, messages, file);
        };
    };
    auto readWeights = [&](WeightFileKind kind) -> Reader {
        return [&, kind](const std::string& bytes, const std::string& file) {
            std::vector<std::string> changes;
            if (ReadWeightFileBytes(bot, kind, bytes, names, &changes)) {
                ReportForeignWeights(messages, file);
            }
            ReportChangedValues(messages, file, changes);
        };
    };
    Reader readChats = [&](const std::string& bytes, const std::string& file) {
        if (std::size_t leftOut = ReadChatLines(bot, SplitTextLines(bytes), catalogues.Chat)) {
            messages.Warn(file +
                              " holds more chat lines of one type than a bot can keep (32768): " +
                              std::to_string(leftOut) + " lines were left out.",
                          "Chat lines left out");
        }
    };
    Reader readScript = [&](const std::string& bytes, const std::string&) {
        bot.SetBotPara(Para::FunName, Value(""));
        bot.SetBotPara(Para::RailColor, Value("None"));
        ReadScriptLines(bot, SplitTextLines(bytes));
    };

    // The entries of the load, in the order they are read.
    std::vector<std::string> entries;
    std::vector<Reader> readers;
    auto part = [&](const std::string& ending, Reader read) {
        entries.push_back(botsFolder + name + ending);
        readers.push_back(std::move(read));
    };
    switch (loadType) {
    case LoadType::WholeBot:
        part("_c.c", readChars(true));
        part("_w.c", readWeights(WeightFileKind::Weapon));
        part("_i.c", readWeights(WeightFileKind::Item));
        part("_t.c", readChats);
        if (hasBotFile) {
            entries.push_back("scripts/" + name + ".bot");
            readers.push_back(readScript);
        }
        break;
    case LoadType::CharFile:
        part("_c.c", readChars(false));
        break;
    case LoadType::ChatFile:
        part("_t.c", readChats);
        break;
    case LoadType::ItemFile:
        part("_i.c", readWeights(WeightFileKind::Item));
        break;
    case LoadType::WeaponFile:
        part("_w.c", readWeights(WeightFileKind::Weapon));
        break;
    }
    if (entries.empty()) {
        return false; // no load of that kind
    }
    // All of them looked up together, in one pass over the archive's names;
    // the first that cannot be read ends the load.
    std::vector<std::optional<std::uint64_t>> found = archive->FindEntries(entries);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        std::optional<std::string> bytes =
            ReadFromArchive(*archive, pk3File, entries[k], found[k], messages);
        if (!bytes) {
            return false;
        }
        readers[k](*bytes, pk3File + "/" + entries[k]);
    }
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
    bool loaded = LoadBotFromArchive(target,
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
