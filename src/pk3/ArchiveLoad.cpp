#include "pk3/ArchiveLoad.h"

#include "botfiles/CharFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "chat/ChatFile.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"

#include <functional>
#include <memory>

namespace twl {

namespace {

void ReportNotLoaded(Messages& messages, const std::string& entry, const std::string& pk3File)
{
    messages.Inform("Couldn't load " + entry + " from " + pk3File +
                        ". Check that the pk3-file still exists.",
                    "Load failed");
}

std::unique_ptr<ZipReader> OpenGameArchive(const std::string& pk3File,
                                           const std::string& firstEntry,
                                           const std::vector<std::filesystem::path>& archiveFolders,
                                           Messages& messages)
{
    std::optional<std::filesystem::path> path = ResolveGameArchive(archiveFolders, pk3File);
    ZipError error;
    std::unique_ptr<ZipReader> archive = path ? ZipReader::Open(*path, error) : nullptr;
    if (!archive) {
        ReportNotLoaded(messages, firstEntry, pk3File);
    }
    return archive;
}

// The bare file name of an entry path.
std::string BareName(const std::string& entry)
{
    std::size_t slash = entry.find_last_of("/\\");
    return slash == std::string::npos ? entry : entry.substr(slash + 1);
}

} // namespace

std::optional<std::filesystem::path> ExtractFromArchive(ZipReader& archive,
                                                        const std::string& pk3File,
                                                        const std::string& entry,
                                                        const std::filesystem::path& folder,
                                                        Messages& messages)
{
    std::string bareName = BareName(entry);
    std::optional<std::uint64_t> index = archive.FindEntry(entry);
    ZipError error;
    std::optional<std::string> bytes;
    if (index && !bareName.empty() && bareName != "." && bareName != "..") {
        bytes = archive.ReadEntry(*index, MaxArchiveEntrySize, error);
    }
    if (!bytes || folder.empty()) {
        ReportNotLoaded(messages, entry, pk3File);
        return std::nullopt;
    }
    std::filesystem::path target = folder / bareName;
    FileResult written = WriteScratchFile(target, *bytes);
    if (!written.Ok) {
        ReportWriteFailure(written, messages);
        return std::nullopt;
    }
    return target;
}

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
        ReportNotLoaded(messages, botsFolder + name + "_c.c", pk3File);
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

std::optional<std::filesystem::path>
ExtractIcon(const std::string& pk3File,
            const std::string& iconFile,
            const std::vector<std::filesystem::path>& archiveFolders,
            const std::filesystem::path& tempFolder,
            Messages& messages)
{
    std::unique_ptr<ZipReader> archive =
        OpenGameArchive(pk3File, iconFile, archiveFolders, messages);
    if (!archive) {
        return std::nullopt;
    }
    return ExtractFromArchive(*archive, pk3File, iconFile, tempFolder, messages);
}

} // namespace twl
