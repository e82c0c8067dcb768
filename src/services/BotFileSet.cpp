// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/BotFileSet.h"

#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "chat/ChatOperations.h"
#include "core/BotName.h"
#include "core/FileLookup.h"
#include "core/FolderLock.h"
#include "core/ShownText.h"
#include "pk3/BotArchive.h"
#include "services/Presets.h"

#include <functional>
#include <vector>

namespace twl {

namespace {

// Finishes what a program killed while writing a set in these folders left
// there, and removes its temporary files. The caller holds the lock of the
// files' folder, where the journal of a replacement is kept.
void TidyBotFolders(const BotFileFolders& folders, const std::filesystem::path& folder)
{
    RecoverReplacement(folders.Files);
    RemoveLeftovers({folders.Files, folders.Scripts, folder});
}

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
    return ReportWriteFailure(Failure{folder, reason}, messages);
}

} // namespace

BotFileFolders BotFileFoldersFor(const std::filesystem::path& folder, bool dirStruct)
{
    if (!dirStruct) {
        return {folder, folder};
    }
    return {folder / "botfiles" / "bots", folder / "scripts"};
}

Result<MadeBotFiles>
BotFilesInMemory(const Bot& bot, const Catalogues& catalogues, const Settings& settings)
{
    const CharCatalogue& names = catalogues.CharNames;
    // A weight file of another layout goes back as it was read.
    const std::pair<int, std::function<Result<std::string>()>> files[] = {
        {Para::CharFile,
         [&] {
             return EncodeTextLines(CharFileLines(bot, names, settings));
         }},
        {Para::WeaponFile,
         [&] {
             return WeightFileBytes(bot, WeightFileKind::Weapon, names, settings);
         }},
        {Para::ItemFile,
         [&] {
             return WeightFileBytes(bot, WeightFileKind::Item, names, settings);
         }},
        {Para::ChatFile,
         [&] {
             return EncodeTextLines(ChatFileLines(bot, catalogues.Chat, settings));
         }},
        {Para::ScriptFile,
         [&] {
             return EncodeTextLines(ScriptFileLines(bot, settings));
         }},
    };
    MadeBotFiles made;
    for (std::size_t at = 0; at < made.size(); ++at) {
        made[at].FileName = bot.BotPara(files[at].first).ToText();
        Result<std::string> bytes = files[at].second();
        if (!bytes) {
            return Failure{made[at].FileName, bytes.Error().Reason, static_cast<int>(at)};
        }
        made[at].Bytes = std::move(bytes).Value();
    }
    return made;
}

bool SaveBotFileSet(const Bot& bot,
                    const std::filesystem::path& folder,
                    bool dirStruct,
                    bool makeArchive,
                    const Catalogues& catalogues,
                    Settings& settings,
                    Messages& messages)
{
    if (std::optional<BotNameComplaint> complaint =
            CheckBotName(bot.BotPara(Para::Name).ToText())) {
        messages.Warn(complaint->Text, complaint->Title);
        return false;
    }
    if (dirStruct) {
        for (const std::filesystem::path& sub :
             {folder / "botfiles", folder / "botfiles" / "bots", folder / "scripts"}) {
            if (!MakeFolder(sub, messages)) {
                return false;
            }
        }
    }
    BotFileFolders folders = BotFileFoldersFor(folder, dirStruct);
    // Two programs writing sets into one folder take turns.
    FolderLock lock(folders.Files);
    if (!lock.Held()) {
        return ReportWriteFailure(Failure{folders.Files, lock.Problem()}, messages);
    }
    TidyBotFolders(folders, folder);
    Result<MadeBotFiles> made = BotFilesInMemory(bot, catalogues, settings);
    if (!made) {
        const Failure& failure = made.Error();
        // The script, the last of the five, goes to the scripts folder.
        bool script = static_cast<std::size_t>(failure.Code) + 1 == MadeBotFiles().size();
        std::filesystem::path where = script ? folders.Scripts : folders.Files;
        return ReportWriteFailure(Failure{where / failure.Path, failure.Reason}, messages);
    }
    std::vector<FileContent> contents(made.Value().size());
    for (std::size_t i = 0; i < contents.size(); ++i) {
        contents[i].Path =
            (i + 1 < contents.size() ? folders.Files : folders.Scripts) / made.Value()[i].FileName;
        contents[i].Bytes = std::move(made.Value()[i].Bytes);
    }
    // The archive is made of the same bytes and written with them: the five
    // and the archive are all replaced, or none is.
    if (makeArchive) {
        Result<FileContent> archive = MakeBotArchive(folder, bot, contents);
        if (!archive) {
            ReportArchiveFailure(archive.Error(), messages);
            return false;
        }
        contents.push_back(std::move(archive).Value());
    }
    if (!ReportWriteFailure(WriteFilesAtomic(contents), messages)) {
        return false;
    }
    if (makeArchive) {
        ReportArchiveMade(contents.back(), messages);
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

bool LoadBotFileSet(Bot& bot,
                    const std::string& name,
                    const std::filesystem::path& folder,
                    bool dirStruct,
                    bool loadScript,
                    const Catalogues& catalogues,
                    Messages& messages)
{
    // A set half replaced by a program that was killed is finished first; a
    // set another program is writing is waited for.
    FolderLock lock(folder);
    if (lock.Busy()) {
        messages.Warn("Couldn't read " + ShownText(folder.string()) + ": " + lock.Problem(),
                      "Read failed!");
        return false;
    }
    if (lock.Held()) {
        TidyBotFolders({folder, ScriptFolderOf(folder).value_or(folder)}, folder);
    }
    bool readable = true;
    auto tally = [&readable](const Result<>& read) {
        readable = readable && (read.Ok() || read.Error().Missing);
    };
    tally(ReadCharFile(bot, folder, name, true, catalogues.CharNames, messages));
    // The files the characteristic file names, as the game loads them.
    auto stem = [&bot, &name](int file, const char* ending) {
        return bot.KeepsFileName(file) ? StemBeforeEnding(bot.BotPara(file).ToText(), ending)
                                       : name;
    };
    tally(ReadItemFile(bot, folder, stem(Para::ItemFile, "_i.c"), catalogues.CharNames, messages));
    tally(ReadWeaponFile(
        bot, folder, stem(Para::WeaponFile, "_w.c"), catalogues.CharNames, messages));
    tally(ReadChatFile(bot, folder, stem(Para::ChatFile, "_t.c"), catalogues.Chat, messages));
    // Read from where the game reads them, they are the bot's own files now,
    // written under its name: another bot's files are never written over.
    bot.SetBotPara(Para::Name, bot.BotPara(Para::Name));
    if (!loadScript) {
        return readable;
    }
    if (!dirStruct) {
        tally(ReadScriptFile(bot, folder, name, catalogues.Bots, messages));
        return readable;
    }
    if (std::optional<std::filesystem::path> scripts = ScriptFolderOf(folder)) {
        tally(ReadScriptFile(bot, *scripts, name, catalogues.Bots, messages));
        return readable;
    }
    messages.Inform("Couldn't load the bot file because the directory structure doesn't comply "
                    "with the standard Q3 one...",
                    "Error!");
    ScriptDefaults(bot, catalogues.Bots);
    return readable;
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
        bot.ForgetKeptLines();
        std::error_code error;
        bool found = std::filesystem::exists(FindFileIgnoringCase(folder, file + "_c.c"), error);
        bool readable =
            LoadBotFileSet(bot, file, folder, dirStruct, loadScript, catalogues, messages);
        return found && readable;
    }
    case LoadType::CharFile:
        ClearChars(bot);
        return static_cast<bool>(ReadCharFile(
            bot, folder, StemBeforeEnding(file, "_c.c"), false, catalogues.CharNames, messages));
    case LoadType::ChatFile:
        ClearBotChats(bot);
        return static_cast<bool>(
            ReadChatFile(bot, folder, StemBeforeEnding(file, "_t.c"), catalogues.Chat, messages));
    case LoadType::ItemFile:
        return static_cast<bool>(ReadItemFile(
            bot, folder, StemBeforeEnding(file, "_i.c"), catalogues.CharNames, messages));
    case LoadType::WeaponFile:
        return static_cast<bool>(ReadWeaponFile(
            bot, folder, StemBeforeEnding(file, "_w.c"), catalogues.CharNames, messages));
    case LoadType::MakeBotFiles:
    case LoadType::GameFolder:
    case LoadType::ExtractorFolder:
    case LoadType::WorkingFolder:
        break; // no load
    }
    return false;
}

} // namespace twl
