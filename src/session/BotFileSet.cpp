#include "session/BotFileSet.h"

#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "chat/ChatOperations.h"
#include "core/FileLookup.h"
#include "pk3/BotArchive.h"
#include "session/Presets.h"

#include <vector>

namespace twl {

namespace {

bool MakeFolder(const std::filesystem::path& folder, Messages& messages)
{
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return true;
    }
    std::error_code probe;
    if (std::filesystem::create_directory(folder, error) ||
        std::filesystem::is_directory(folder, probe)) {
        return true;
    }
    std::string reason = error ? error.message() : std::string("a file of that name is in the way");
    return ReportWriteFailure(FileResult::Failure(folder, reason), messages);
}

} // namespace

BotFileFolders BotFileFoldersFor(const std::filesystem::path& folder, bool dirStruct)
{
    if (!dirStruct) {
        return {folder, folder};
    }
    return {folder / "botfiles" / "bots", folder / "scripts"};
}

bool SaveBotFileSet(const Bot& bot,
                    const std::filesystem::path& folder,
                    bool dirStruct,
                    bool makeArchive,
                    const Catalogues& catalogues,
                    Settings& settings,
                    Messages& messages)
{
    if (dirStruct) {
        for (const std::filesystem::path& sub :
             {folder / "botfiles", folder / "botfiles" / "bots", folder / "scripts"}) {
            if (!MakeFolder(sub, messages)) {
                return false;
            }
        }
    }
    BotFileFolders folders = BotFileFoldersFor(folder, dirStruct);
    const CharCatalogue& names = catalogues.CharNames;
    auto file = [&bot](const std::filesystem::path& into, int para) {
        return into / bot.BotPara(para).ToText();
    };
    // The five are written together: either all are replaced or none is.
    FileResult written = WriteTextFiles({
        {file(folders.Files, Para::CharFile), CharFileLines(bot, names, settings)},
        {file(folders.Files, Para::WeaponFile), WeaponFileLines(bot, names, settings)},
        {file(folders.Files, Para::ItemFile), ItemFileLines(bot, names, settings)},
        {file(folders.Files, Para::ChatFile), ChatFileLines(bot, catalogues.Chat, settings)},
        {file(folders.Scripts, Para::ScriptFile), ScriptFileLines(bot, settings)},
    });
    if (!ReportWriteFailure(written, messages)) {
        return false;
    }
    if (makeArchive) {
        if (!WriteBotArchive(folder, bot, folders.Files, folders.Scripts, messages)) {
            return false;
        }
        settings.BotsMade = Value(settings.BotsMade.ToNumber().value_or(0.0) + 1.0);
    }
    return true;
}

std::optional<std::filesystem::path> ScriptFolderOf(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> parts(folder.begin(), folder.end());
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i] == "botfiles" && parts[i + 1] == "bots") {
            std::filesystem::path base;
            for (std::size_t j = 0; j < i; ++j) {
                base /= parts[j];
            }
            return base / "scripts";
        }
    }
    return std::nullopt;
}

void LoadBotFileSet(Bot& bot,
                    const std::string& name,
                    const std::filesystem::path& folder,
                    bool dirStruct,
                    bool loadScript,
                    const Catalogues& catalogues,
                    Messages& messages)
{
    ReadCharFile(bot, folder, name, true, catalogues.CharNames, messages);
    ReadItemFile(bot, folder, name, catalogues.CharNames, messages);
    ReadWeaponFile(bot, folder, name, catalogues.CharNames, messages);
    ReadChatFile(bot, folder, name, catalogues.Chat, messages);
    if (!loadScript) {
        return;
    }
    if (!dirStruct) {
        ReadScriptFile(bot, folder, name, catalogues.Bots, messages);
        return;
    }
    if (std::optional<std::filesystem::path> scripts = ScriptFolderOf(folder)) {
        ReadScriptFile(bot, *scripts, name, catalogues.Bots, messages);
        return;
    }
    messages.Inform("Couldn't load the bot file because the directory structure doesn't comply "
                    "with the standard Q3 one...",
                    "Error!");
    ScriptDefaults(bot, catalogues.Bots);
}

bool LoadBotFiles(Bot& bot,
                  LoadType loadType,
                  const std::filesystem::path& folder,
                  const std::string& file,
                  bool dirStruct,
                  bool loadScript,
                  const Catalogues& catalogues,
                  Messages& messages)
{
    switch (loadType) {
    case LoadType::WholeBot: {
        ClearBotChats(bot);
        ClearChars(bot);
        std::error_code error;
        bool found = std::filesystem::exists(FindFileIgnoringCase(folder, file + "_c.c"), error);
        LoadBotFileSet(bot, file, folder, dirStruct, loadScript, catalogues, messages);
        return found;
    }
    case LoadType::CharFile:
        ClearChars(bot);
        return ReadCharFile(
            bot, folder, StemBeforeEnding(file, "_c.c"), false, catalogues.CharNames, messages);
    case LoadType::ChatFile:
        ClearBotChats(bot);
        return ReadChatFile(bot, folder, StemBeforeEnding(file, "_t.c"), catalogues.Chat, messages);
    case LoadType::ItemFile:
        return ReadItemFile(
            bot, folder, StemBeforeEnding(file, "_i.c"), catalogues.CharNames, messages);
    case LoadType::WeaponFile:
        return ReadWeaponFile(
            bot, folder, StemBeforeEnding(file, "_w.c"), catalogues.CharNames, messages);
    }
    return false;
}

} // namespace twl
