// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/BotFileSet.h"

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
#include "session/Presets.h"

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

MadeBotFiles MakeBotFiles(const Bot& bot, const Catalogues& catalogues, const Settings& settings)
{
    MadeBotFiles made;
    const CharCatalogue& names = catalogues.CharNames;
    for (auto [at, para] : {std::pair{0, Para::CharFile},
                            std::pair{1, Para::WeaponFile},
                            std::pair{2, Para::ItemFile},
                            std::pair{3, Para::ChatFile},
                            std::pair{4, Para::ScriptFile}}) {
        made.Files[static_cast<std::size_t>(at)].FileName = bot.BotPara(para).ToText();
    }
    made.Error = EncodeTextLines(CharFileLines(bot, names, settings), made.Files[0].Bytes);
    // A weight file of another layout goes back as it was read.
    for (auto [at, kind] : {std::pair{std::size_t{1}, WeightFileKind::Weapon},
                            std::pair{std::size_t{2}, WeightFileKind::Item}}) {
        if (!made.Error) {
            made.Failed = at;
            made.Error = WeightFileBytes(bot, kind, names, settings, made.Files[at].Bytes);
        }
    }
    if (!made.Error) {
        made.Failed = 3;
        made.Error =
            EncodeTextLines(ChatFileLines(bot, catalogues.Chat, settings), made.Files[3].Bytes);
    }
    if (!made.Error) {
        made.Failed = 4;
        made.Error = EncodeTextLines(ScriptFileLines(bot, settings), made.Files[4].Bytes);
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
        return ReportWriteFailure(FileResult::Failure(folders.Files, lock.Problem()), messages);
    }
    TidyBotFolders(folders, folder);
    MadeBotFiles made = MakeBotFiles(bot, catalogues, settings);
    std::vector<FileContent> contents(made.Files.size());
    for (std::size_t i = 0; i < contents.size(); ++i) {
        contents[i].Path =
            (i + 1 < contents.size() ? folders.Files : folders.Scripts) / made.Files[i].FileName;
        contents[i].Bytes = std::move(made.Files[i].Bytes);
    }
    if (made.Error) {
        return ReportWriteFailure(FileResult::Failure(contents[made.Failed].Path, *made.Error),
                                  messages);
    }
    // The archive is made of the same bytes and written with them: the five
    // and the archive are all replaced, or none is.
    BotArchive archive;
    if (makeArchive) {
        archive = MakeBotArchive(folder, bot, contents);
        if (archive.Error) {
            ReportArchiveFailure(archive, messages);
            return false;
        }
        contents.push_back(archive.File);
    }
    if (!ReportWriteFailure(WriteFilesAtomic(contents), messages)) {
        return false;
    }
    if (makeArchive) {
        ReportArchiveMade(archive, messages);
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
    auto tally = [&readable](BotFileRead read) {
        readable = readable && read.Status != BotFileRead::State::Unreadable;
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
