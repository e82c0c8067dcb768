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
    // written for it. All the entries of the load are looked up together,
    // in one pass over the archive's names.
    const std::string where = pk3File + "/";
    const std::string charFile = botsFolder + name + "_c.c";
    const std::string weaponFile = botsFolder + name + "_w.c";
    const std::string itemFile = botsFolder + name + "_i.c";
    const std::string chatFile = botsFolder + name + "_t.c";
    const std::string scriptFile = "scripts/" + name + ".bot";
    std::vector<std::string> entries;
    switch (loadType) {
    case LoadType::WholeBot:
        entries = {charFile, weaponFile, itemFile, chatFile};
        if (hasBotFile) {
            entries.push_back(scriptFile);
        }
        break;
    case LoadType::CharFile:
        entries = {charFile};
        break;
    case LoadType::ChatFile:
        entries = {chatFile};
        break;
    case LoadType::ItemFile:
        entries = {itemFile};
        break;
    case LoadType::WeaponFile:
        entries = {weaponFile};
        break;
    }
    std::vector<std::optional<std::uint64_t>> found = archive->FindEntries(entries);
    auto load = [&](const std::string& entry,
                    const std::function<void(const std::string&, const std::string&)>& read) {
        std::size_t k = 0;
        while (k < entries.size() && entries[k] != entry) {
            ++k;
        }
        std::optional<std::string> bytes = ReadFromArchive(
            *archive, pk3File, entry, k < found.size() ? found[k] : std::nullopt, messages);
        if (!bytes) {
            return false;
        }
        read(*bytes, where + entry);
        return true;
    };
    const CharCatalogue& names = catalogues.CharNames;
    auto readChars = [&](bool fullLoad) {
        return [&, fullLoad](const std::string& bytes, const std::string& file) {
            ReadCharLines(bot, SplitTextLines(bytes), names, fullLoad, messages, file);
        };
    };
    auto readWeights = [&](WeightFileKind kind) {
        return [&, kind](const std::string& bytes, const std::string& file) {
            std::vector<std::string> changes;
            if (ReadWeightFileBytes(bot, kind, bytes, names, &changes)) {
                ReportForeignWeights(messages, file);
            }
            ReportChangedValues(messages, file, changes);
        };
    };
    auto readWeapons = readWeights(WeightFileKind::Weapon);
    auto readItems = readWeights(WeightFileKind::Item);
    auto readChats = [&](const std::string& bytes, const std::string& file) {
        if (std::size_t leftOut = ReadChatLines(bot, SplitTextLines(bytes), catalogues.Chat)) {
            messages.Warn(file +
                              " holds more chat lines of one type than a bot can keep (32768): " +
                              std::to_string(leftOut) + " lines were left out.",
                          "Chat lines left out");
        }
    };
    auto readScript = [&](const std::string& bytes, const std::string&) {
        bot.SetBotPara(Para::FunName, Value(""));
        bot.SetBotPara(Para::RailColor, Value("None"));
        ReadScriptLines(bot, SplitTextLines(bytes));
    };

    switch (loadType) {
    case LoadType::WholeBot:
        if (!load(charFile, readChars(true)) || !load(weaponFile, readWeapons) ||
            !load(itemFile, readItems) || !load(chatFile, readChats)) {
            return false;
        }
        if (hasBotFile) {
            return load(scriptFile, readScript);
        }
        ScriptDefaults(bot, catalogues.Bots);
        return true;
    case LoadType::CharFile:
        return load(charFile, readChars(false));
    case LoadType::ChatFile:
        return load(chatFile, readChats);
    case LoadType::ItemFile:
        return load(itemFile, readItems);
    case LoadType::WeaponFile:
        return load(weaponFile, readWeapons);
    }
    return false;
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
