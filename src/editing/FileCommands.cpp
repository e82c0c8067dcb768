// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/FileCommands.h"

#include "botfiles/WeightFiles.h"
#include "core/FileLookup.h"
#include "core/ShownText.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"
#include "services/ArchiveBotLoad.h"
#include "services/GameFolderCheck.h"

namespace twl {

namespace {

std::string WithoutEnding(const std::string& file, const std::string& ending)
{
    std::size_t at = LowerCase(file).find(ending);
    return at == std::string::npos ? file : file.substr(0, at);
}

std::vector<std::filesystem::path> ArchiveFolders(const BotEditor& editor)
{
    return GameArchiveFolders(editor.CurrentSettings().Text(Settings::Q3Baseq3));
}

// The user's messages, less the one box per weight file kept whole: a load
// names those files once, in the status line (their pages say so too).
class WithoutKeptWeightBoxes : public Messages
{
public:
    explicit WithoutKeptWeightBoxes(Messages& user)
        : m_user(user)
    {}

    void Inform(const std::string& text, const std::string& title) override
    {
        if (title != ForeignWeightsTitle) {
            m_user.Inform(text, title);
        }
    }

    void Warn(const std::string& text, const std::string& title) override
    {
        m_user.Warn(text, title);
    }

    bool Ask(const std::string& text, const std::string& title) override
    {
        return m_user.Ask(text, title);
    }

    void Note(const std::string& text) override { m_user.Note(text); }

    std::optional<std::string> AskText(const std::string& prompt, const std::string& title) override
    {
        return m_user.AskText(prompt, title);
    }

private:
    Messages& m_user;
};

// The status line's word on the weight files a load kept whole: "" when none.
std::string KeptWeightsNote(const Bot& bot, LoadType loadType)
{
    std::vector<std::string> kept;

    const struct
    {
        WeightFileKind Kind;
        LoadType OwnLoad;
        int Name;
    } files[] = {{WeightFileKind::Weapon, LoadType::WeaponFile, Para::WeaponFile},
                 {WeightFileKind::Item, LoadType::ItemFile, Para::ItemFile}};

    for (const auto& file : files) {
        bool read = loadType == LoadType::WholeBot || loadType == file.OwnLoad;
        if (read && bot.HasForeignWeights(file.Kind)) {
            kept.push_back(bot.BotPara(file.Name).ToText());
        }
    }
    if (kept.empty()) {
        return {};
    }
    if (kept.size() == 1) {
        return ". Its weight file " + kept[0] +
               " uses a layout Tarnwell does not edit: it is kept as it is";
    }
    return ". Its weight files " + kept[0] + " and " + kept[1] +
           " use a layout Tarnwell does not edit: they are kept as they are";
}

} // namespace

bool MayLoadBot(BotEditor& editor)
{
    return !editor.IsChanged() ||
           editor.UserMessages().Ask(
               "The current bot has changed. Do want to load a new bot and lose "
               "unsaved work on this one?",
               "Tarnwell");
}

OpenSaveRequest OpenSaveRequestFor(BotEditor& editor, LoadType loadType)
{
    OpenSaveRequest request;
    request.Purpose = loadType;
    std::filesystem::path folder = editor.RememberedFolder;
    if (folder.empty()) {
        folder = editor.CurrentSettings().Text(Settings::WorkDir);
    }
    request.Folder = folder;
    if (loadType == LoadType::MakeBotFiles) {
        request.Caption = "Make botfiles for " + editor.ThisBot().BotPara(Para::Name).ToText();
        request.PlayerFolder = PlayerGameFolder(editor.CurrentSettings().Text(Settings::Q3Baseq3),
                                                PlayerFolders::FromEnvironment());
    } else if (editor.CurrentSettings().BaseQ3Checked) {
        editor.LoadPendingLists();
        for (const BotListEntry& entry : editor.CurrentCatalogues().Bots) {
            request.BotLines.push_back(BotListLine(entry));
        }
    }
    editor.RememberedFolder = folder;
    return request;
}

CommandOutcome LoadOrMakeBotFiles(BotEditor& editor,
                                  const std::filesystem::path& currentDir,
                                  const std::string& currentFile,
                                  LoadType loadType,
                                  bool dirStruct,
                                  bool pk3Bot)
{
    CommandOutcome outcome;
    editor.RememberedFolder = currentDir;
    const Bot& bot = editor.ThisBot();
    if (loadType == LoadType::MakeBotFiles) {
        if (!SaveBotFileSet(bot,
                            currentDir,
                            dirStruct,
                            pk3Bot,
                            editor.CurrentCatalogues(),
                            editor.CurrentSettings(),
                            editor.UserMessages())) {
            return outcome; // reported; the bot stays changed
        }
        editor.MarkSaved();
        BotFileFolders folders = BotFileFoldersFor(currentDir, dirStruct);
        outcome.Status = "Made the files of " + bot.BotPara(Para::Name).ToText() + " in " +
                         folders.Files.string();
        if (folders.Scripts != folders.Files) {
            outcome.Status += " and " + folders.Scripts.string();
        }
        if (pk3Bot) {
            outcome.Status +=
                ", packed into " +
                (currentDir / ("bot-" + bot.BotPara(Para::Name).ToText() + ".pk3")).string();
        }
        return outcome;
    }
    if (!IsLoad(loadType)) {
        return outcome;
    }
    Bot loaded = bot;
    WithoutKeptWeightBoxes messages(editor.UserMessages());
    bool found = LoadBotFiles(loaded,
                              loadType,
                              currentDir,
                              currentFile,
                              dirStruct,
                              pk3Bot,
                              editor.CurrentCatalogues(),
                              messages);
    std::string keptNote = KeptWeightsNote(loaded, loadType);
    // A whole bot is a new bot; a file of one goes into the bot shown.
    if (loadType == LoadType::WholeBot) {
        editor.Replace("Load bot", std::move(loaded));
    } else {
        editor.Edit(
            "Load file", [&loaded](Bot& into) { into = loaded; }, ShowAgain::Everything);
    }
    outcome.ShowBot = true;
    if (found) {
        std::string what = loadType == LoadType::WholeBot
                               ? "the bot " + WithoutEnding(currentFile, "_c.c")
                               : currentFile;
        outcome.Status = "Loaded " + what + " from " + currentDir.string() + keptNote;
    }
    return outcome;
}

CommandOutcome LoadBotOfList(BotEditor& editor, const std::string& botId, LoadType loadType)
{
    editor.LoadPendingLists();
    CommandOutcome outcome;
    std::size_t id = 0;
    try {
        id = static_cast<std::size_t>(std::stoul(botId));
    } catch (const std::exception&) {
        return outcome;
    }
    if (!IsLoad(loadType)) {
        return outcome;
    }
    const BotList& bots = editor.CurrentCatalogues().Bots;
    if (id >= bots.size()) {
        return outcome;
    }
    BotListEntry entry = bots[id];
    Bot loaded = editor.ThisBot();
    WithoutKeptWeightBoxes messages(editor.UserMessages());
    if (!LoadListedBot(loaded,
                       id,
                       loadType,
                       editor.CurrentSettings(),
                       editor.CurrentCatalogues(),
                       ArchiveFolders(editor),
                       messages)) {
        return outcome;
    }
    std::string keptNote = KeptWeightsNote(loaded, loadType);
    if (loadType == LoadType::WholeBot) {
        editor.Replace("Load " + entry.Name, std::move(loaded));
    } else {
        editor.Edit(
            "Load file of " + entry.Name,
            [&loaded](Bot& into) { into = loaded; },
            ShowAgain::Everything);
    }
    outcome.ShowBot = true;
    outcome.Status = "Loaded " + entry.Name + " from " + entry.PK3File + keptNote;
    return outcome;
}

namespace {

// A bot archive given at start: the bot it holds (bot-NAME.pk3 holds NAME;
// otherwise the first bot of the archive), read as a bot of the game's list.
CommandOutcome LoadBotArchiveAtStart(BotEditor& editor, const std::filesystem::path& file)
{
    const std::string title = "Can't open file";
    Result<std::unique_ptr<ZipReader>> opened = ZipReader::Open(file);
    if (!opened) {
        editor.UserMessages().Warn("Couldn't read " + ShownText(file.string()) + ": " +
                                       opened.Error().Reason + ".",
                                   title);
        return {};
    }
    std::unique_ptr<ZipReader> archive = std::move(opened).Value();
    const std::string folder = "botfiles/bots/";
    std::string named = LowerCase(WithoutEnding(file.filename().string(), ".pk3"));
    named = named.rfind("bot-", 0) == 0 ? named.substr(4) : std::string();
    std::string stem;
    for (const std::string& entry : archive->EntryNames()) {
        std::string lower = NormalisedEntryName(entry);
        if (lower.rfind(folder, 0) != 0 || lower.size() <= folder.size() + 4 ||
            lower.compare(lower.size() - 4, 4, "_c.c") != 0) {
            continue;
        }
        std::string candidate = lower.substr(folder.size(), lower.size() - folder.size() - 4);
        if (candidate.find('/') == std::string::npos && (stem.empty() || candidate == named)) {
            stem = candidate;
        }
    }
    if (stem.empty()) {
        editor.UserMessages().Warn("'" + ShownText(file.string()) +
                                       "' holds no bot (no botfiles/bots/<name>_c.c). Tarnwell "
                                       "starts with a new bot.",
                                   title);
        return {};
    }
    bool hasScript = archive->FindEntry("scripts/" + stem + ".bot").has_value();
    archive.reset();
    std::error_code absolute;
    std::filesystem::path where = std::filesystem::absolute(file, absolute).parent_path();
    Bot loaded = editor.ThisBot();
    WithoutKeptWeightBoxes messages(editor.UserMessages());
    if (!LoadBotFromArchive(loaded,
                            LoadType::WholeBot,
                            file.filename().string(),
                            stem,
                            hasScript,
                            {where},
                            editor.CurrentCatalogues(),
                            messages)) {
        return {};
    }
    std::string keptNote = KeptWeightsNote(loaded, LoadType::WholeBot);
    std::string name = loaded.BotPara(Para::Name).ToText();
    editor.Replace("Load " + name, std::move(loaded));
    CommandOutcome outcome;
    outcome.ShowBot = true;
    outcome.Status = "Loaded " + name + " from " + file.string() + keptNote;
    return outcome;
}

} // namespace

CommandOutcome LoadBotNamedAtStart(BotEditor& editor, const std::filesystem::path& file)
{
    const std::string title = "Can't open file";
    std::string ending = file.extension().string();
    if (LowerCase(ending) == ".pk3") {
        return LoadBotArchiveAtStart(editor, file);
    }
    Result<std::vector<std::string>> read = ReadTextFile(file);
    if (!read.Ok()) {
        editor.UserMessages().Warn(
            "Couldn't read " + file.string() + ": " + read.Error().Reason + ".", title);
        return {};
    }
    std::string name = file.filename().string();
    std::string stem = WithoutEnding(name, "_c.c");
    bool named = stem.size() + 4 == name.size();
    bool characteristics = false;
    for (const std::string& line : read.Value()) {
        if (line.find("CHARACTERISTIC_") != std::string::npos) {
            characteristics = true;
            break;
        }
    }
    if (!named || stem.empty() || !characteristics) {
        editor.UserMessages().Warn("'" + file.string() +
                                       "' is not a bot's characteristic file (a file "
                                       "<name>_c.c with the bot's skill blocks). Tarnwell starts "
                                       "with a new bot.",
                                   title);
        return {};
    }
    std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code error;
    folder = std::filesystem::absolute(folder, error);
    // The script beside the file, else in the game's layout, else none.
    bool beside = std::filesystem::exists(FindFileIgnoringCase(folder, stem + ".bot"), error);
    std::optional<std::filesystem::path> scripts = ScriptFolderOf(folder);
    bool inLayout = !beside && scripts &&
                    std::filesystem::exists(FindFileIgnoringCase(*scripts, stem + ".bot"), error);
    return LoadOrMakeBotFiles(
        editor, folder, stem, LoadType::WholeBot, inLayout, beside || inLayout);
}

std::array<std::string, 7> OptionValues(const BotEditor& editor)
{
    const Settings& settings = editor.CurrentSettings();
    std::array<std::string, 7> values;
    for (int position = 0; position < Settings::TextCount; ++position) {
        values[static_cast<std::size_t>(position)] =
            settings.Text(static_cast<Settings::Position>(position));
    }
    values[Settings::Bots] = settings.BotsMade.ToText();
    return values;
}

bool SaveOptionValues(BotEditor& editor, const std::array<std::string, 6>& values)
{
    Settings& settings = editor.CurrentSettings();
    std::string before = settings.Text(Settings::Q3Baseq3);
    for (int position = 0; position < Settings::TextCount; ++position) {
        settings.Text(static_cast<Settings::Position>(position)) =
            values[static_cast<std::size_t>(position)];
    }
    // Kept absolute, so that it means the same from any working folder.
    std::string& game = settings.Text(Settings::Q3Baseq3);
    if (!game.empty()) {
        // The game's base folder chosen stands for the game folder above it.
        std::optional<IdentifiedGameFolder> identified = IdentifyGameFolder(game);
        game = AbsoluteGameFolder(identified ? identified->Folder : std::filesystem::path(game))
                   .string();
    }
    editor.InitByValues();
    if (game == before) {
        return false;
    }
    editor.UseGameVocabulary();
    return !game.empty();
}

bool RunGameFolderCheck(
    BotEditor& editor,
    ModelSelection& selection,
    const std::function<bool(std::size_t archive, std::size_t archives)>& progress)
{
    Settings& settings = editor.CurrentSettings();
    if (settings.Text(Settings::Q3Baseq3).empty()) {
        editor.UserMessages().Warn(
            "Quake III Arena folder isn't set. Use 'Program/Options' to set it.",
            "Can't check folder");
        return false;
    }
    editor.LoadPendingLists();
    // The check works on copies: a stopped check leaves the lists as they were.
    Catalogues lists = editor.CurrentCatalogues();
    Settings checked = settings;
    ModelSelection followed = selection;
    if (!CheckGameFolder(checked,
                         lists,
                         ArchiveFolders(editor),
                         editor.UserMessages(),
                         progress,
                         &followed.Model,
                         &followed.Skin)) {
        return false;
    }
    editor.CurrentCatalogues() = std::move(lists);
    settings.BaseQ3Checked = checked.BaseQ3Checked;
    selection = followed;
    return true;
}

} // namespace twl
