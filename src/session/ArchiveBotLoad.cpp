#include "session/ArchiveBotLoad.h"

#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "core/TextCase.h"
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
                        const std::filesystem::path& tempFolder,
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
    // Takes one entry out, reads it and deletes it again.
    auto load = [&](const std::string& entry, const std::function<void()>& read) {
        std::optional<std::filesystem::path> path =
            ExtractFromArchive(*archive, pk3File, entry, tempFolder, messages);
        if (!path) {
            return false;
        }
        read();
        std::error_code error;
        std::filesystem::remove(*path, error);
        return true;
    };
    const CharCatalogue& names = catalogues.CharNames;
    auto readChars = [&](bool fullLoad) {
        return [&, fullLoad] {
            ReadCharFile(bot, tempFolder, name, fullLoad, names, messages);
        };
    };
    auto readWeapons = [&] {
        ReadWeaponFile(bot, tempFolder, name, names, messages);
    };
    auto readItems = [&] {
        ReadItemFile(bot, tempFolder, name, names, messages);
    };
    auto readChats = [&] {
        ReadChatFile(bot, tempFolder, name, catalogues.Chat, messages);
    };

    switch (loadType) {
    case LoadType::WholeBot:
        if (!load(botsFolder + name + "_c.c", readChars(true)) ||
            !load(botsFolder + name + "_w.c", readWeapons) ||
            !load(botsFolder + name + "_i.c", readItems) ||
            !load(botsFolder + name + "_t.c", readChats)) {
            return false;
        }
        if (hasBotFile) {
            return load("scripts/" + name + ".bot",
                        [&] { ReadScriptFile(bot, tempFolder, name, catalogues.Bots, messages); });
        }
        ScriptDefaults(bot, catalogues.Bots);
        return true;
    case LoadType::CharFile:
        return load(botsFolder + name + "_c.c", readChars(false));
    case LoadType::ChatFile:
        return load(botsFolder + name + "_t.c", readChats);
    case LoadType::ItemFile:
        return load(botsFolder + name + "_i.c", readItems);
    case LoadType::WeaponFile:
        return load(botsFolder + name + "_w.c", readWeapons);
    }
    return false;
}

bool LoadListedBot(Bot& thisBot,
                   std::size_t botId,
                   LoadType loadType,
                   const Settings& settings,
                   const Catalogues& catalogues,
                   const std::vector<std::filesystem::path>& archiveFolders,
                   const std::filesystem::path& tempFolder,
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
                                     tempFolder,
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
