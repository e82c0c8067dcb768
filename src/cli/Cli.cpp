// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include "botfiles/BotFileReading.h"
#include "check/BotCheckSources.h"
#include "cli/StderrMessages.h"
#include "cli/TryCommand.h"
#include "core/BotName.h"
#include "core/Settings.h"
#include "core/ShownText.h"
#include "core/TextCase.h"
#include "core/Version.h"
#include "engine/EnginePrograms.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/ArchiveScan.h"
#include "pk3/GameArchives.h"
#include "pk3/Games.h"
#include "pk3/TempFolder.h"
#include "services/ArchiveBotLoad.h"
#include "services/BotFileSet.h"
#include "services/Catalogues.h"
#include "services/GameFolderCheck.h"
#include "services/GameVocabulary.h"
#include "services/Presets.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <new>
#include <random>
#include <set>

namespace twl {

namespace {

// The text of --help around the version and the try command's lines:
// constants, so that --help is answered before anything is set up.
constexpr const char* UsageHead =
    ": the bot files of Tarnwell without its window.\n"
    "\n"
    "Usage:\n"
    "  tarnwell-cli new [--preset zeros|average] [--name NAME] [--structure] [--pk3]\n"
    "                   [--game DIR] [--install] [--settings DIR] [OUTDIR]\n"
    "      Makes a new bot from a preset (default: all zeros) and writes its five\n"
    "      files into OUTDIR.\n"
    "  tarnwell-cli copy [--script] [--script-structure] [--structure] [--pk3]\n"
    "                    [--game DIR] [--install] [--follow-links] [--settings DIR]\n"
    "                    SRCDIR STEM [OUTDIR]\n"
    "      Loads the bot whose files start with STEM from SRCDIR and writes its\n"
    "      five files into OUTDIR. A file that is a link to something outside\n"
    "      SRCDIR is refused unless --follow-links is given.\n"
    "  tarnwell-cli scan [--settings DIR] GAMEDIR\n"
    "      Checks the game folder: finds the bots, models and skins of its\n"
    "      archives (and of the player's own folder: ~/.q3a/baseq3,\n"
    "      ~/.openarena/baseoa, ...), reads the game's bot list and chat lists,\n"
    "      keeps them in the settings folder and prints the bot list and the models.\n"
    "  tarnwell-cli extract [--structure] [--pk3] [--install] [--settings DIR]\n"
    "                       GAMEDIR BOT [OUTDIR]\n"
    "      Loads the bot BOT of the game's bot list from its archive and writes\n"
    "      its five files into OUTDIR.\n"
    "  tarnwell-cli games\n"
    "      Lists the games found in the usual places: name, game folder, base\n"
    "      folder, the player's own folder, engine program, archives.\n"
    "  tarnwell-cli check [--strict] [--settings DIR] PATH...\n"
    "      Says what the game will refuse, lose or ignore in the bots of each PATH\n"
    "      (a NAME_c.c file, a folder of bot sets, a .pk3), one line a finding:\n"
    "      FILE:LINE: error|warning|note: TEXT. Exit status 1 on an error (with\n"
    "      --strict also on a warning).\n";
constexpr const char* UsageTail =
    "  tarnwell-cli --help | --version\n"
    "\n"
    "Options:\n"
    "  --preset zeros|average  the preset of a new bot\n"
    "  --name NAME             the new bot's name (default: Bot)\n"
    "  --structure             write into OUTDIR/botfiles/bots and OUTDIR/scripts\n"
    "  --pk3                   also pack the files into OUTDIR/bot-NAME.pk3\n"
    "                          (implies --structure)\n"
    "  --script                also load the bot script (STEM.bot)\n"
    "  --script-structure      take the script from the scripts folder beside\n"
    "                          SRCDIR's botfiles/bots\n"
    "  --strict                check: warnings fail too\n"
    "  --game DIR              the game folder whose bot and chat lists to use;\n"
    "                          try: the game to run (default: the settings' one,\n"
    "                          else /usr/lib/openarena-server)\n"
    "  --install               also put bot-NAME.pk3 where the game finds it (the\n"
    "                          player's own folder, e.g. ~/.openarena/baseoa)\n"
    "  --skill S               try: a skill to try the bots at (1 to 5; repeatable)\n"
    "  --play SECONDS          try: a match of that length after the set-up\n"
    "  --engine PATH           try: the engine program (default: found on PATH,\n"
    "                          in the game folder, in /usr/lib/ioquake3)\n"
    "  --map MAP               try: the map (default: oa_dm1 for OpenArena, q3dm1)\n"
    "  --time-limit SECONDS    try: the engine is stopped then (default: 60 + play)\n"
    "  --settings DIR          the folder of twl.ini and the user lists\n"
    "                          (default: ~/.config/Tarnwell)\n"
    "\n"
    "Messages go to standard error as \"title: text\"; questions are answered No.\n"
    "Exit status: 0 done, 1 the command could not do its work, 2 usage error,\n"
    "3 no engine or game installed (try).\n";

std::string UsageText()
{
    return FixedAnswerText("--help")->Joined();
}

} // namespace

std::filesystem::path DefaultSettingsFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome != '\0') {
        return std::filesystem::path(configHome) / "Tarnwell";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".config" / "Tarnwell";
}

namespace {

// The command line of one command: flags, options with a value, and the
// positional arguments in order.
struct CommandLine
{
    std::set<std::string> Flags;
    std::map<std::string, std::string> Options;
    std::vector<std::string> Positional;
};

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::set<std::string>& flags,
                             const std::set<std::string>& options)
{
    CommandLine line;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            line.Positional.push_back(argument);
        } else if (flags.count(argument) != 0) {
            line.Flags.insert(argument);
        } else if (options.count(argument) != 0) {
            if (i + 1 >= arguments.size()) {
                throw UsageError(argument + " needs a value");
            }
            line.Options[argument] = arguments[++i];
        } else {
            throw UsageError("unknown option '" + argument + "'");
        }
    }
    return line;
}

// The positional argument at `index`, or nothing when the command line
// stops before it (the target folder of a command with --install).
std::string PositionalOr(const CommandLine& line, std::size_t index)
{
    return index < line.Positional.size() ? line.Positional[index] : std::string();
}

// What every command starts with: the settings and the catalogues.
struct Session
{
    explicit Session(TextOut& err)
        : Messages(err)
    {}

    // The settings and the catalogues; the model catalogue, which only the
    // game-folder check uses, only when asked for, and then only with what
    // the check keeps of the user lists. With `onlyBot` the bot list holds
    // that bot of the user's list alone (besides the game's); without
    // `withUserBots` the game's own bots only (what check needs of it).
    void Start(const CommandLine& line,
               bool withModels = false,
               const std::string* onlyBot = nullptr,
               bool withUserBots = true)
    {
        OnlyBot = onlyBot;
        WithUserBots = withUserBots;
        auto folder = line.Options.find("--settings");
        SettingsFolder = folder != line.Options.end() ? std::filesystem::path(folder->second)
                                                      : DefaultSettingsFolder();
        Result<> ini = LoadIniFile(SettingsFolder, Settings, Messages);
        if (!ini.Ok()) {
            Messages.Warn(ini.Error().Path.string() + ": " + ini.Error().Reason, "Load error");
        }
        if (withModels) {
            InitCatalogues(
                Catalogues, SettingsFolder, Messages, true, ListEntries::KeptByFolderCheck);
            return;
        }
        InitCharCatalogue(Catalogues.CharNames);
        InitChatCatalogue(Catalogues.Chat);
        LoadBots();
        LoadSynonyms(Catalogues.Synonyms, SettingsFolder);
        LoadGameVocabulary(
            Catalogues, SettingsFolder, Settings.Text(Settings::Q3Baseq3), Messages, GameFiles);
    }

    // The bot list from the settings folder: all of it, or what Start was
    // told to take.
    void LoadBots()
    {
        if (!WithUserBots) {
            LoadGameBots(Catalogues.Bots);
        } else if (OnlyBot != nullptr) {
            LoadBotListFor(Catalogues.Bots, SettingsFolder, *OnlyBot, Messages);
        } else {
            LoadBotList(Catalogues.Bots, SettingsFolder, Messages);
        }
    }

    // Writes twl.ini (and with `lists` the user lists) back into the
    // settings folder, made when missing; failures are reported.
    bool SaveSettings(bool lists)
    {
        std::error_code error;
        std::filesystem::create_directories(SettingsFolder, error);
        bool listsSaved = !lists || SaveUserLists(Catalogues, SettingsFolder, Messages);
        return ReportWriteFailure(SaveIniFile(SettingsFolder, Settings), Messages) && listsSaved;
    }

    StderrMessages Messages;
    std::filesystem::path SettingsFolder;
    twl::Settings Settings;
    twl::Catalogues Catalogues;
    std::mt19937 Random;
    // A partial list is never saved: every command that saves the lists
    // starts without it.
    const std::string* OnlyBot = nullptr;
    bool WithUserBots = true;
    // Which of the game's kept files the command reads.
    KeptFiles GameFiles = KeptFiles::All;
    // The game folder of the command as UseGameFolder found it.
    std::optional<IdentifiedGameFolder> GameFolder;
};

// The target folder of a command is made when it is missing.
bool MakeTargetFolder(const std::filesystem::path& folder, Messages& messages)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::error_code probe;
    if (!std::filesystem::is_directory(folder, probe)) {
        return ReportWriteFailure(
            Failure{folder, error ? error.message() : std::string("not a folder")}, messages);
    }
    return true;
}

bool NameIsAccepted(const std::string& name, Messages& messages)
{
    if (std::optional<BotNameComplaint> complaint = CheckBotName(name)) {
        messages.Warn(complaint->Text, complaint->Title);
        return false;
    }
    return true;
}

// The game folder of a command, checked as the options do.
bool UseGameFolder(const std::string& folder, Session& session)
{
    // IsGameFolder is whether the folder is identified: asked once, and
    // what it told kept for the command.
    session.GameFolder = IdentifyGameFolder(folder);
    const std::optional<IdentifiedGameFolder>& identified = session.GameFolder;
    if (!identified) {
        session.Messages.Warn("Quake3.exe not found in '" + folder + "'\n" + WhatAGameFolderHolds(),
                              "Tarnwell: Quake3.exe missing");
        return false;
    }
    std::string absolute = AbsoluteGameFolder(identified->Folder).string();
    if (absolute != session.Settings.Text(Settings::Q3Baseq3)) {
        session.Settings.Text(Settings::Q3Baseq3) = absolute;
        session.Catalogues.Game = GameDefinitions();
        InitChatCatalogue(session.Catalogues.Chat);
        session.LoadBots();
        LoadGameVocabulary(session.Catalogues,
                           session.SettingsFolder,
                           absolute,
                           session.Messages,
                           session.GameFiles);
    }
    return true;
}

// A game folder whose own files were not read yet is checked first, as
// scan checks it, so that its bot list and chat lists are known; what the
// check found is kept.
bool ReadGameFolder(Session& session)
{
    const std::string& folder = session.Settings.Text(Settings::Q3Baseq3);
    if (session.Catalogues.Game.GameFolder == folder && !folder.empty()) {
        return true;
    }
    // The check starts from the whole list, which it then saves.
    if (session.OnlyBot != nullptr) {
        session.OnlyBot = nullptr;
        session.LoadBots();
    }
    CheckGameFolder(
        session.Settings, session.Catalogues, GameArchiveFolders(folder), session.Messages);
    return session.SaveSettings(true);
}

// --game DIR: that folder's game, read when it has not been.
bool UseGameOption(const CommandLine& line, Session& session)
{
    auto game = line.Options.find("--game");
    if (game == line.Options.end()) {
        return true;
    }
    return UseGameFolder(game->second, session) && ReadGameFolder(session);
}

// --install: the bot's archive made in a private folder and put into the
// player's own folder of the game, where the game finds it.
int InstallBot(const Bot& bot, Session& session)
{
    std::string gameFolder = session.Settings.Text(Settings::Q3Baseq3);
    if (gameFolder.empty()) {
        std::vector<FoundGame> games = FindGames(GameSearch::FromEnvironment());
        if (games.size() != 1) {
            session.Messages.Warn(
                games.empty() ? std::string("No game was found to put the bot into. Give its "
                                            "folder with --game DIR.")
                              : "More than one game was found: name yours with --game DIR "
                                "(tarnwell-cli games lists them).",
                "Not installed");
            return ExitFailure;
        }
        gameFolder = games.front().Where.Folder.string();
    }
    std::filesystem::path player = PlayerGameFolder(gameFolder, PlayerFolders::FromEnvironment());
    PrivateTempFolder scratch;
    std::error_code error;
    if (player.empty() || scratch.Path().empty() ||
        !MakeTargetFolder(player.string(), session.Messages)) {
        return ExitFailure;
    }

    // What the save into the private folder says of itself is not news:
    // only its warnings are passed on.
    class WarningsOnly : public Messages
    {
    public:
        explicit WarningsOnly(Messages& messages)
            : m_messages(messages)
        {}

        void Inform(const std::string&, const std::string&) override {}

        void Warn(const std::string& text, const std::string& title) override
        {
            m_messages.Warn(text, title);
        }

        bool Ask(const std::string& text, const std::string& title) override
        {
            return m_messages.Ask(text, title);
        }

        void Note(const std::string&) override {}

        std::optional<std::string> AskText(const std::string& prompt,
                                           const std::string& title) override
        {
            return m_messages.AskText(prompt, title);
        }

    private:
        Messages& m_messages;
    } quiet(session.Messages);

    Settings settings = session.Settings;
    if (!SaveBotFileSet(bot, scratch.Path(), true, true, session.Catalogues, settings, quiet)) {
        return ExitFailure;
    }
    std::string archive = "bot-" + bot.BotPara(Para::Name).ToText() + ".pk3";
    Result<std::string> made = ReadFileBytes(scratch.Path() / archive, MaxArchiveEntrySize * 8);
    Result<> put = made.Ok() ? WriteFileAtomic(player / archive, made.Value()) : made.Error();
    if (!ReportWriteFailure(put, session.Messages)) {
        return ExitFailure;
    }
    session.Messages.Inform("Installed " + (player / archive).string(), "Bot installed");
    session.Settings.BotsMade = settings.BotsMade;
    return session.SaveSettings(false) ? ExitSuccess : ExitFailure;
}

// Writes the bot's files into the command's target folder as "Make bot
// files" does; a made archive raises the settings' counter, which is kept.
// With --install the archive goes into the game too; the target folder may
// then be left out.
int SaveToTarget(const Bot& bot,
                 const CommandLine& line,
                 const std::string& target,
                 Session& session)
{
    bool install = line.Flags.count("--install") != 0;
    if (target.empty()) {
        return InstallBot(bot, session);
    }
    if (install && InstallBot(bot, session) != ExitSuccess) {
        return ExitFailure;
    }
    if (!MakeTargetFolder(target, session.Messages)) {
        return ExitFailure;
    }
    bool makeArchive = line.Flags.count("--pk3") != 0;
    bool dirStruct = makeArchive || line.Flags.count("--structure") != 0;
    if (!SaveBotFileSet(bot,
                        target,
                        dirStruct,
                        makeArchive,
                        session.Catalogues,
                        session.Settings,
                        session.Messages)) {
        return ExitFailure;
    }
    if (makeArchive && !session.SaveSettings(false)) {
        return ExitFailure;
    }
    return ExitSuccess;
}

int RunNew(const std::vector<std::string>& arguments, TextOut& err)
{
    CommandLine line = ParseCommandLine(arguments,
                                        {"--structure", "--pk3", "--install"},
                                        {"--preset", "--name", "--settings", "--game"});
    if (line.Positional.size() != 1 &&
        !(line.Positional.empty() && line.Flags.count("--install") != 0)) {
        throw UsageError("new takes one folder");
    }
    std::string preset = line.Options.count("--preset") ? line.Options["--preset"] : "zeros";
    if (preset != "zeros" && preset != "average") {
        throw UsageError("unknown preset '" + preset + "'");
    }

    Session session(err);
    session.Start(line);
    if (!UseGameOption(line, session)) {
        return ExitFailure;
    }
    Bot bot;
    if (preset == "zeros") {
        ApplyZeroPreset(bot);
    } else {
        std::string note =
            LeftOutChatsNote(ApplyAveragePreset(bot, session.Catalogues.Chat, session.Random),
                             session.Catalogues.Chat);
        if (!note.empty()) {
            session.Messages.Inform(note, "Chat lines left out");
        }
    }
    if (line.Options.count("--name")) {
        const std::string& name = line.Options["--name"];
        if (!NameIsAccepted(name, session.Messages)) {
            return ExitFailure;
        }
        bot.SetBotPara(Para::Name, Value(name));
    }
    return SaveToTarget(bot, line, PositionalOr(line, 0), session);
}

// The text values as the editor stores what its boxes hold before it saves;
// false (after the message) when the name cannot be used.
bool PrepareForSave(Bot& bot, Messages& messages)
{
    bot.SetBotPara(Para::FunName, Value(StoredFunName(bot.BotPara(Para::FunName).ToText())));
    return NameIsAccepted(bot.BotPara(Para::Name).ToText(), messages);
}

int RunCopy(const std::vector<std::string>& arguments, TextOut& err)
{
    CommandLine line = ParseCommandLine(
        arguments,
        {"--script", "--script-structure", "--structure", "--pk3", "--install", "--follow-links"},
        {"--settings", "--game"});
    if (line.Positional.size() != 3 &&
        !(line.Positional.size() == 2 && line.Flags.count("--install") != 0)) {
        throw UsageError("copy takes a source folder, a file stem and a target folder");
    }

    Session session(err);
    session.Start(line);
    if (!UseGameOption(line, session)) {
        return ExitFailure;
    }
    if (line.Flags.count("--follow-links") != 0) {
        session.Messages.AnswerYes(LinkOutsideTitle);
    }
    Bot bot;
    ApplyZeroPreset(bot);
    bool found = LoadBotFiles(bot,
                              LoadType::WholeBot,
                              line.Positional[0],
                              line.Positional[1],
                              line.Flags.count("--script-structure") != 0,
                              line.Flags.count("--script") != 0,
                              session.Catalogues,
                              session.Messages);
    if (!found || !PrepareForSave(bot, session.Messages)) {
        return ExitFailure;
    }
    return SaveToTarget(bot, line, PositionalOr(line, 2), session);
}

int RunScan(const std::vector<std::string>& arguments, TextOut& out, TextOut& err)
{
    CommandLine line = ParseCommandLine(arguments, {}, {"--settings"});
    if (line.Positional.size() != 1) {
        throw UsageError("scan takes the game folder");
    }
    Session session(err);
    session.Start(line, true);
    if (!UseGameFolder(line.Positional[0], session)) {
        return ExitFailure;
    }
    CheckGameFolder(session.Settings,
                    session.Catalogues,
                    GameArchiveFolders(line.Positional[0]),
                    session.Messages);
    // The listing is made in a buffer written out in pieces of 64 KiB: a
    // big game folder has tens of thousands of skins, too many for a write
    // each, and megabytes of them, more than is worth holding at once.
    constexpr std::size_t Piece = 64 * 1024;
    auto writeOut = [&out](std::string& text) {
        out << text;
        text.clear();
    };
    BotListEntry heading;
    heading.Name = "Bot";
    heading.PK3File = "Pk3-file";
    std::string listing = BotListLine(heading).substr(0, 35) + "Botfile\n";
    for (const BotListEntry& entry : session.Catalogues.Bots) {
        listing += BotListLine(entry);
        listing += '\n';
    }
    listing += '\n';
    listing.reserve(2 * Piece);
    for (const ModelEntry& model : session.Catalogues.Models) {
        if (listing.size() >= Piece) {
            writeOut(listing);
        }
        listing += model.Name;
        listing += '\n';
        for (const SkinEntry& skin : model.Skins) {
            listing += "    ";
            listing += skin.Name;
            listing += " (";
            listing += skin.PK3File;
            listing += ")\n";
        }
    }
    writeOut(listing);
    // The lists found are kept, as the editor keeps them when it closes.
    return session.SaveSettings(true) ? ExitSuccess : ExitFailure;
}

int RunExtract(const std::vector<std::string>& arguments, TextOut& err)
{
    CommandLine line =
        ParseCommandLine(arguments, {"--structure", "--pk3", "--install"}, {"--settings"});
    if (line.Positional.size() != 3 &&
        !(line.Positional.size() == 2 && line.Flags.count("--install") != 0)) {
        throw UsageError("extract takes the game folder, a bot of its list and a target folder");
    }
    Session session(err);
    // Only the bot asked for is taken from the user's bot list, and of the
    // game's kept files only its bot list and chat lists: writing the bot's
    // files needs no more.
    session.GameFiles = KeptFiles::Vocabulary;
    session.Start(line, false, &line.Positional[1]);
    if (!UseGameFolder(line.Positional[0], session)) {
        return ExitFailure;
    }
    // A game with its own bot list that was not read yet is read now.
    const std::optional<IdentifiedGameFolder>& identified = session.GameFolder;
    if (identified && identified->Game != &KnownGames().front() && !ReadGameFolder(session)) {
        return ExitFailure;
    }
    const BotList& bots = session.Catalogues.Bots;
    std::string wanted = LowerCase(line.Positional[1]);
    std::size_t botId = 0;
    while (botId < bots.size() && LowerCase(bots[botId].Name) != wanted) {
        ++botId;
    }
    if (botId == bots.size()) {
        session.Messages.Warn(
            "Bot " + line.Positional[1] +
                " is not in the bot list. Run 'tarnwell-cli scan' on the game folder first.",
            "Bot not found");
        return ExitFailure;
    }
    Bot bot;
    if (!LoadListedBot(bot,
                       botId,
                       LoadType::WholeBot,
                       session.Settings,
                       session.Catalogues,
                       GameArchiveFolders(line.Positional[0], session.GameFolder),
                       session.Messages) ||
        !PrepareForSave(bot, session.Messages)) {
        return ExitFailure;
    }
    return SaveToTarget(bot, line, PositionalOr(line, 2), session);
}

int RunGames(const std::vector<std::string>& arguments, TextOut& out, TextOut& err)
{
    CommandLine line = ParseCommandLine(arguments, {}, {});
    if (!line.Positional.empty()) {
        throw UsageError("games takes nothing");
    }
    std::vector<FoundGame> games = FindGames(GameSearch::FromEnvironment());
    if (games.empty()) {
        err << "No game found: " << WhatAGameFolderHolds() << '\n';
        return ExitFailure;
    }
    for (const FoundGame& game : games) {
        std::optional<std::filesystem::path> engine =
            FindEngine(DefaultEngineSearch(GameIn(game.Where.Folder).GameFolder));
        out << game.Where.Game->Name << '\n'
            << "  game folder:      " << game.Where.Folder.string() << '\n'
            << "  base folder:      " << game.Where.Game->BaseFolder << '\n'
            << "  player's folder:  " << game.PlayerBase.string() << '\n'
            << "  engine program:   " << (engine ? engine->string() : std::string("(none found)"))
            << '\n'
            << "  archives:         " << game.Where.Archives << '\n';
    }
    return ExitSuccess;
}

int RunCheck(const std::vector<std::string>& arguments, TextOut& out, TextOut& err)
{
    CommandLine line = ParseCommandLine(arguments, {"--strict"}, {"--settings"});
    if (line.Positional.empty()) {
        throw UsageError("check takes at least one characteristic file, folder or .pk3");
    }
    Session session(err);
    session.Start(line, false, nullptr, false);
    std::vector<Finding> findings;
    std::size_t bots = 0;
    bool unchecked = false;
    for (const std::string& path : line.Positional) {
        PathCheck check = CheckPath(path, session.Catalogues);
        if (check.Problem) {
            err << "tarnwell-cli check: " << ShownText(*check.Problem) << '\n';
            unchecked = true;
        }
        findings.insert(findings.end(), check.Findings.begin(), check.Findings.end());
        bots += check.Bots;
    }
    // Names from the archives and files are shown escaped: a line end in one
    // cannot forge a finding of another file, nor reach the terminal.
    for (const Finding& finding : findings) {
        out << ShownText(finding.File);
        if (finding.Line > 0) {
            out << ':' << finding.Line;
        }
        out << ": " << SeverityName(finding.Level) << ": " << ShownText(finding.Text) << '\n';
    }
    std::size_t errors = CountFindings(findings, Severity::Error);
    std::size_t warnings = CountFindings(findings, Severity::Warning);
    out << bots << (bots == 1 ? " bot" : " bots") << " checked: " << errors
        << (errors == 1 ? " error, " : " errors, ") << warnings
        << (warnings == 1 ? " warning, " : " warnings, ") << CountFindings(findings, Severity::Note)
        << " notes\n";
    bool failed = unchecked || errors > 0 || (line.Flags.count("--strict") != 0 && warnings > 0);
    return failed ? ExitFailure : ExitSuccess;
}

} // namespace

std::string FixedText::Joined() const
{
    std::string text;
    for (std::string_view piece : Pieces) {
        text += piece;
    }
    return text;
}

std::optional<FixedText> FixedAnswerText(std::string_view command)
{
    if (command == "--help" || command == "-h" || command == "help") {
        return FixedText{{"tarnwell-cli ", VersionString, UsageHead, TryUsage(), UsageTail}};
    }
    if (command == "--version") {
        // NAME VERSION, as the editor and Debian's tools say it.
        return FixedText{{"tarnwell-cli ", VersionString, "\n"}};
    }
    return std::nullopt;
}

std::optional<std::string> FixedAnswer(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) {
        return std::nullopt;
    }
    std::optional<FixedText> text = FixedAnswerText(arguments[0]);
    return text ? std::optional<std::string>(text->Joined()) : std::nullopt;
}

int RunCli(const std::vector<std::string>& arguments, TextOut& out, TextOut& err)
{
    if (arguments.empty()) {
        err << UsageText();
        return ExitUsage;
    }
    if (std::optional<std::string> text = FixedAnswer(arguments)) {
        out << *text;
        return ExitSuccess;
    }
    const std::string& command = arguments[0];
    try {
        if (command == "new") {
            return RunNew(arguments, err);
        }
        if (command == "copy") {
            return RunCopy(arguments, err);
        }
        if (command == "scan") {
            return RunScan(arguments, out, err);
        }
        if (command == "extract") {
            return RunExtract(arguments, err);
        }
        if (command == "check") {
            return RunCheck(arguments, out, err);
        }
        if (command == "games") {
            return RunGames(arguments, out, err);
        }
        if (command == "try") {
            return RunTry(arguments, DefaultSettingsFolder(), out, err);
        }
    } catch (const UsageError& error) {
        err << "tarnwell-cli " << command << ": " << error.what() << "; see tarnwell-cli --help\n";
        return ExitUsage;
    } catch (const std::bad_alloc&) {
        // Every file is read with a size limit; this is the last guard.
        err << "tarnwell-cli " << command << ": out of memory; nothing more was written\n";
        return ExitFailure;
    }
    err << "tarnwell-cli: unknown command '" << command << "'; see tarnwell-cli --help\n";
    return ExitUsage;
}

int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    TextOut outText(out);
    TextOut errText(err);
    return RunCli(arguments, outText, errText);
}

} // namespace twl
