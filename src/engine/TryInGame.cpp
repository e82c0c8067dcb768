// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TryInGame.h"

#include "catalog/BotInfo.h"
#include "check/BotCheckSources.h"
#include "core/BotName.h"
#include "core/ShownText.h"
#include "core/TextCase.h"
#include "core/TextFile.h"
#include "engine/ChildProcess.h"
#include "engine/EngineLog.h"
#include "engine/EngineRun.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/TempFolder.h"
#include "pk3/ZipArchive.h"
#include "services/BotFileSet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <set>

namespace twl {

namespace {

// The names of a bot list's entries, as the game module reads them; an
// entry without a name gives none.
std::vector<std::string> BotListNames(const std::string& text)
{
    std::vector<std::string> names;
    for (const BotInfo& info : ParseBotInfos(text).Infos) {
        if (std::string name = info.Value("name"); !name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

constexpr auto DefaultTimeLimit = std::chrono::seconds(60);
constexpr int MaxPlaySeconds = 3600;
// A player's name in a match: the bot's name cut to this, then "@skill".
constexpr std::size_t PlayerNameLength = 24;

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           LowerCase(text.substr(text.size() - end.size())) == LowerCase(end);
}

bool IsArchivePath(const std::string& gamePath)
{
    return gamePath.find('/') == std::string::npos && EndsWithIgnoringCase(gamePath, ".pk3");
}

// A game path that stays inside the base folder.
bool IsSafeGamePath(const std::string& gamePath)
{
    if (gamePath.empty() || gamePath.front() == '/') {
        return false;
    }
    std::filesystem::path path(gamePath);
    for (const std::filesystem::path& part : path) {
        if (part == ".." || part == "." || part.empty()) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> ReadTryFile(const TryFile& file)
{
    if (file.Bytes) {
        return file.Bytes;
    }
    Result<std::string> read = ReadFileBytes(file.Source);
    if (!read.Ok()) {
        return std::nullopt;
    }
    return std::move(read.Value());
}

std::string RandomMarker()
{
    std::random_device device;
    std::uniform_int_distribution<unsigned> digit(0, 15);
    std::string marker = "twl-";
    for (int i = 0; i < 16; ++i) {
        marker += "0123456789abcdef"[digit(device)];
    }
    return marker;
}

// Bot names from the script entries of an archive (scripts/*.bot and the
// bot list).
void AddArchiveBots(const std::filesystem::path& path, TryBots& bots)
{
    Result<std::unique_ptr<ZipReader>> opened = ZipReader::Open(path);
    if (!opened) {
        bots.Problems.push_back("cannot open " + path.string() +
                                " as an archive: " + opened.Error().Reason);
        return;
    }
    std::unique_ptr<ZipReader> archive = std::move(opened).Value();
    std::size_t before = bots.Bots.size();
    std::vector<std::string> stems;
    for (const ZipReader::EntryInfo& entry : archive->EntryInfos()) {
        std::string name = NormalisedEntryName(entry.Name);
        bool script = name.rfind("scripts/", 0) == 0 && name.find('/', 8) == std::string::npos &&
                      (EndsWithIgnoringCase(name, ".bot") || name == "scripts/bots.txt");
        if (name.rfind("botfiles/bots/", 0) == 0 && EndsWithIgnoringCase(name, "_c.c")) {
            stems.push_back(entry.Name.substr(14, entry.Name.size() - 18));
        }
        if (!script) {
            continue;
        }
        Result<std::string> bytes = archive->ReadEntry(entry.Index, MaxArchiveEntrySize);
        if (!bytes) {
            bots.Problems.push_back("cannot read " + path.string() + "/" + entry.Name);
            continue;
        }
        for (const std::string& botName : BotListNames(*bytes)) {
            bots.Bots.push_back({botName, path.string() + "/" + entry.Name});
        }
    }
    // Without a script the game cannot add a bot: it is tried by the name
    // of its files, and the engine says so.
    if (bots.Bots.size() == before) {
        for (const std::string& stem : stems) {
            bots.Bots.push_back({stem, path.string()});
        }
    }
}

void AddLooseBot(const std::filesystem::path& charFile,
                 TryBots& bots,
                 std::set<std::string>& gamePaths,
                 std::set<std::filesystem::path>& folders)
{
    std::filesystem::path folder = charFile.parent_path();
    if (folders.insert(folder).second) {
        // The game sees the folder as botfiles/bots: what a characteristic
        // file names ("bots/x_w.c", an #include) is found there.
        std::error_code error;
        std::vector<std::filesystem::path> found;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            std::string name = it->path().filename().string();
            std::error_code sizeError;
            bool source = EndsWithIgnoringCase(name, ".c") || EndsWithIgnoringCase(name, ".h");
            if (source && it->is_regular_file(sizeError) &&
                it->file_size(sizeError) <= MaxArchiveEntrySize) {
                found.push_back(it->path());
            }
        }
        std::sort(found.begin(), found.end());
        for (const std::filesystem::path& file : found) {
            std::string gamePath = "botfiles/bots/" + file.filename().string();
            if (gamePaths.insert(LowerCase(gamePath)).second) {
                bots.Files.push_back({gamePath, file, std::nullopt, file.string()});
            }
        }
    }
    std::string name = charFile.filename().string();
    std::string stem = name.substr(0, name.size() - 4);
    std::optional<std::filesystem::path> script = LooseScriptOf(charFile);
    std::vector<std::string> names;
    if (script) {
        std::string gamePath = "scripts/" + script->filename().string();
        if (gamePaths.insert(LowerCase(gamePath)).second) {
            bots.Files.push_back({gamePath, *script, std::nullopt, script->string()});
        }
        Result<std::string> read = ReadFileBytes(*script, MaxArchiveEntrySize);
        if (read.Ok()) {
            names = BotListNames(read.Value());
        }
    }
    if (names.empty()) {
        names.push_back(stem);
    }
    for (const std::string& botName : names) {
        bots.Bots.push_back({botName, script ? script->string() : charFile.string()});
    }
}

// What the engine's home folder is given, and how the reader names it.
struct LaidFiles
{
    std::map<std::string, std::string> TriedFiles;
    std::map<std::string, std::string> TriedArchives;
    std::map<std::string, const TryFile*> ByGamePath;
    std::vector<std::pair<std::filesystem::path, std::string>> Archives; // placed, shown
    bool HasBotList = false;
};

std::optional<std::string>
LayFiles(const std::vector<TryFile>& files, const std::filesystem::path& base, LaidFiles& laid)
{
    for (const TryFile& file : files) {
        if (!IsSafeGamePath(file.GamePath)) {
            return "the file " + file.Shown + " cannot go to " + file.GamePath;
        }
        std::filesystem::path target = base / file.GamePath;
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (file.Bytes) {
            Result<> written = WriteFileAtomic(target, *file.Bytes);
            if (!written.Ok()) {
                return "cannot write " + target.string() + ": " + written.Error().Reason;
            }
        } else if (!std::filesystem::copy_file(file.Source,
                                               target,
                                               std::filesystem::copy_options::overwrite_existing,
                                               error)) {
            return "cannot copy " + file.Source.string() + ": " + error.message();
        }
        if (IsArchivePath(file.GamePath)) {
            laid.TriedArchives[file.GamePath] = ShownText(file.Shown);
            laid.Archives.emplace_back(target, ShownText(file.Shown));
            if (std::unique_ptr<ZipReader> archive = ZipReader::Open(target).ValueOr(nullptr)) {
                laid.HasBotList =
                    laid.HasBotList || archive->FindEntry("scripts/bots.txt").has_value();
            }
        } else {
            std::string lower = LowerCase(file.GamePath);
            laid.TriedFiles[lower] = ShownText(file.Shown);
            laid.ByGamePath[lower] = &file;
            laid.HasBotList = laid.HasBotList || lower == "scripts/bots.txt";
        }
    }
    return std::nullopt;
}

// The lines of a tried file by its game path (lower case): a loose one, or
// an entry of a tried archive (the last archive that has it, as the game
// takes it).
std::optional<std::vector<std::string>> TriedLines(const LaidFiles& laid,
                                                   const std::string& gamePath)
{
    auto loose = laid.ByGamePath.find(gamePath);
    if (loose != laid.ByGamePath.end()) {
        std::optional<std::string> bytes = ReadTryFile(*loose->second);
        if (bytes) {
            return SplitTextLines(*bytes);
        }
        return std::nullopt;
    }
    for (auto archive = laid.Archives.rbegin(); archive != laid.Archives.rend(); ++archive) {
        std::unique_ptr<ZipReader> reader = ZipReader::Open(archive->first).ValueOr(nullptr);
        std::optional<std::uint64_t> index = reader ? reader->FindEntry(gamePath) : std::nullopt;
        if (index) {
            Result<std::string> bytes = reader->ReadEntry(*index, MaxArchiveEntrySize);
            if (bytes) {
                return SplitTextLines(*bytes);
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> CheckRequest(const TryRequest& request)
{
    if (request.Bots.Bots.empty()) {
        return "There is no bot to try.";
    }
    if (request.Skills.empty()) {
        return "There is no skill to try the bots at.";
    }
    for (double skill : request.Skills) {
        if (!std::isfinite(skill) || skill < 1 || skill > 5) {
            return "The skill " + SkillText(skill) + " is outside the game's range of 1 to 5.";
        }
    }
    if (request.PlaySeconds < 0 || request.PlaySeconds > MaxPlaySeconds) {
        return "A match lasts 0 to " + std::to_string(MaxPlaySeconds) + " seconds, not " +
               std::to_string(request.PlaySeconds) + ".";
    }
    if (request.TimeLimit.count() < 0) {
        return "The time limit cannot be negative.";
    }
    for (const TryBot& bot : request.Bots.Bots) {
        if (!CanAddByName(bot.Name)) {
            return "The bot name \"" + ShownText(bot.Name) +
                   "\" cannot be given to the game's console (a control character, a double "
                   "quote or a semicolon).";
        }
    }
    return std::nullopt;
}

// The names the bots play under in a match: short, and each its own.
std::vector<std::string> PlayerNames(const TryRequest& request)
{
    std::vector<std::string> players;
    std::set<std::string> taken;
    for (const TryBot& bot : request.Bots.Bots) {
        for (double skill : request.Skills) {
            std::string player = bot.Name.substr(0, PlayerNameLength) + "@" + SkillText(skill);
            for (int more = 2; !taken.insert(LowerCase(player)).second; ++more) {
                player = bot.Name.substr(0, PlayerNameLength) + "@" + SkillText(skill) + "#" +
                         std::to_string(more);
            }
            players.push_back(player);
        }
    }
    return players;
}

std::string SignalName(int signalNumber)
{
    const char* name = sigabbrev_np(signalNumber);
    const char* description = sigdescr_np(signalNumber);
    std::string text = "signal " + std::to_string(signalNumber);
    if (name != nullptr && description != nullptr) {
        text += std::string(" (SIG") + name + ", " + description + ")";
    }
    return text;
}

// The bots at their skills on the levels of a run. A load run takes every
// one, each bot leaving before the next comes, on a new level once the bot
// library's characters run short; a match (one level, each file read once
// for all skills, every bot staying) takes those that fit, in order.
void PlanLevels(const TryRequest& request,
                const std::vector<std::string>& players,
                bool match,
                EngineRunPlan& plan,
                RunLayout& layout)
{
    int level = 0;
    int clients = 0;
    int characters = DefaultBotCharacters;
    std::set<std::pair<std::size_t, double>> blocks; // a match's characters, by bot and skill
    std::size_t index = 0;
    for (std::size_t bot = 0; bot < request.Bots.Bots.size(); ++bot) {
        for (std::size_t skill = 0; skill < request.Skills.size(); ++skill, ++index) {
            double value = request.Skills[skill];
            bool between = CharactersPerLoad(value) > 1;
            if (match) {
                std::vector<double> used = !between    ? std::vector<double>{value}
                                           : value < 4 ? std::vector<double>{1, 4}
                                                       : std::vector<double>{4, 5};
                std::set<std::pair<std::size_t, double>> added;
                for (double block : used) {
                    if (blocks.count({bot, block}) == 0) {
                        added.insert({bot, block});
                    }
                }
                int needed = static_cast<int>(added.size()) + (between ? 1 : 0);
                if (clients + 1 > PlayerSlots || characters + needed > CharacterSlots) {
                    continue;
                }
                blocks.insert(added.begin(), added.end());
                ++clients;
                characters += needed;
            } else {
                if (characters + CharactersPerLoad(value) > CharacterSlots) {
                    ++level;
                    characters = DefaultBotCharacters;
                }
                characters += CharactersKeptAfterLoad(value);
            }
            plan.Additions.push_back(
                {request.Bots.Bots[bot].Name, value, match ? players[index] : "", level});
            layout.Sections.push_back({bot, skill, match ? players[index] : "", level});
        }
    }
}

} // namespace

const std::vector<double>& DefaultTrySkills()
{
    static const std::vector<double> skills = {1, 2, 3, 4, 4.5, 5};
    return skills;
}

TryBots CollectTryBots(const std::vector<std::filesystem::path>& paths)
{
    TryBots bots;
    std::set<std::string> gamePaths;
    std::set<std::filesystem::path> folders;
    std::set<std::string> archiveNames;
    for (const std::filesystem::path& path : paths) {
        BotSources sources = FindBotSources(path);
        if (sources.Problem) {
            bots.Problems.push_back(*sources.Problem);
            continue;
        }
        if (sources.Archive) {
            std::size_t before = bots.Bots.size();
            AddArchiveBots(*sources.Archive, bots);
            if (bots.Bots.size() == before) {
                bots.Problems.push_back("no bot in " + sources.Archive->string());
                continue;
            }
            // Two archives of one name: the later keeps its place behind
            // the earlier in the game's order.
            std::string name = sources.Archive->filename().string();
            for (int more = 2; !archiveNames.insert(LowerCase(name)).second; ++more) {
                name = "z" + std::to_string(more) + "-" + sources.Archive->filename().string();
            }
            bots.Files.push_back({name, *sources.Archive, std::nullopt, sources.Archive->string()});
        }
        for (const std::filesystem::path& charFile : sources.CharFiles) {
            AddLooseBot(charFile, bots, gamePaths, folders);
        }
    }
    return bots;
}

TryBots TryBotsOf(const Bot& bot, const Catalogues& catalogues, const Settings& settings)
{
    TryBots bots;
    std::string name = bot.BotPara(Para::Name).ToText();
    if (std::optional<BotNameComplaint> complaint = CheckBotName(name)) {
        bots.Problems.push_back(complaint->Text);
        return bots;
    }
    Result<MadeBotFiles> made = BotFilesInMemory(bot, catalogues, settings);
    if (!made) {
        bots.Problems.push_back(made.Error().Path.string() + ": " + made.Error().Reason);
        return bots;
    }
    MadeBotFiles& files = made.Value();
    for (std::size_t i = 0; i < files.size(); ++i) {
        MadeBotFile& file = files[i];
        std::string gamePath =
            (i + 1 < files.size() ? "botfiles/bots/" : "scripts/") + file.FileName;
        bots.Files.push_back({gamePath, {}, std::move(file.Bytes), file.FileName});
    }
    bots.Bots.push_back({name, files[4].FileName});
    return bots;
}

TryVerdict TryInGame(const TryRequest& request)
{
    auto started = std::chrono::steady_clock::now();
    TryVerdict verdict;
    auto finish = [&verdict, started](TryVerdict::Outcome outcome, std::string problem) {
        if (verdict.Result == TryVerdict::Outcome::Done) {
            verdict.Result = outcome;
            verdict.Problem = std::move(problem);
        }
        verdict.Took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        return verdict;
    };
    try {
        for (const TryBot& bot : request.Bots.Bots) {
            BotVerdict botVerdict;
            botVerdict.Name = ShownText(bot.Name);
            botVerdict.Shown = ShownText(bot.Shown);
            for (double skill : request.Skills) {
                SkillVerdict skillVerdict;
                skillVerdict.Skill = skill;
                botVerdict.Skills.push_back(std::move(skillVerdict));
            }
            verdict.Bots.push_back(std::move(botVerdict));
        }
        if (std::optional<std::string> problem = CheckRequest(request)) {
            return finish(TryVerdict::Outcome::BadRequest, *problem);
        }
        // The engine starts in its home folder: relative paths would no
        // longer lead where they did.
        std::error_code error;
        GameFolders game = request.Game;
        if (!game.GameFolder.empty()) {
            game.GameFolder = std::filesystem::absolute(game.GameFolder, error);
        }
        if (game.GameFolder.empty() || game.BaseFolder.empty() ||
            !std::filesystem::is_directory(game.GameFolder / game.BaseFolder, error)) {
            return finish(TryVerdict::Outcome::NoGame,
                          "The game folder " + ShownText(game.GameFolder.string()) + " has no " +
                              ShownText(game.BaseFolder) + " folder.");
        }
        if (!request.Engine.empty()) {
            verdict.Engine = std::filesystem::absolute(request.Engine, error);
        } else if (std::optional<std::filesystem::path> engine =
                       FindEngine(DefaultEngineSearch(game.GameFolder))) {
            verdict.Engine = *engine;
        } else {
            return finish(TryVerdict::Outcome::NoEngine, NoEngineText());
        }
        verdict.Map = request.Map.empty() ? DefaultTryMap(game.BaseFolder) : request.Map;
        if (!CanAddByName(verdict.Map) || verdict.Map.find(' ') != std::string::npos) {
            return finish(TryVerdict::Outcome::BadRequest,
                          "The map name \"" + ShownText(verdict.Map) + "\" cannot be used.");
        }

        PrivateTempFolder home;
        if (home.Path().empty()) {
            return finish(TryVerdict::Outcome::NotStarted, "No private temporary folder.");
        }
        std::filesystem::path base = home.Path() / game.BaseFolder;
        std::filesystem::create_directories(base, error);
        LaidFiles laid;
        if (std::optional<std::string> problem = LayFiles(request.Bots.Files, base, laid)) {
            return finish(TryVerdict::Outcome::NotStarted, *problem);
        }
        // Without a bot list of the tried files, an empty one hides the
        // game's own: a bot named like one of the game's is then the tried
        // one, not the game's.
        if (!laid.HasBotList) {
            std::filesystem::create_directories(base / "scripts", error);
            // Without it the game reads its own list, which does no harm.
            (void)WriteFileAtomic(base / "scripts" / "bots.txt",
                                  "// The bots of this try are those of scripts/*.bot.\n");
        }

        RunLayout common;
        common.Map = verdict.Map;
        common.HomeBase = base.string();
        common.TriedFiles = laid.TriedFiles;
        common.TriedArchives = laid.TriedArchives;
        common.ReadTried = [&laid](const std::string& gamePath) {
            return TriedLines(laid, gamePath);
        };
        common.EngineShown = ShownText(verdict.Engine.string());

        std::chrono::milliseconds limit =
            request.TimeLimit.count() > 0
                ? request.TimeLimit
                : std::chrono::duration_cast<std::chrono::milliseconds>(DefaultTimeLimit) +
                      std::chrono::seconds(request.PlaySeconds);
        SteadyTime deadline = started + limit;
        std::string seconds =
            std::to_string(limit.count() / 1000) + "." + std::to_string(limit.count() % 1000 / 100);
        std::vector<std::string> players = PlayerNames(request);

        // One run sets every bot up, on as many levels as the engine's slots
        // take; a match is a run of its own.
        std::vector<bool> matches = {false};
        if (request.PlaySeconds > 0) {
            matches.push_back(true);
        }
        for (bool match : matches) {
            RunLayout layout = common;
            layout.Marker = RandomMarker();
            layout.Match = match;
            EngineRunPlan plan;
            plan.Marker = layout.Marker;
            plan.Map = verdict.Map;
            plan.Match = match;
            PlanLevels(request, players, match, plan, layout);
            std::vector<std::string> configs = EngineConfigTexts(plan);
            layout.Levels = static_cast<int>(configs.size());
            for (std::size_t level = 0; level < configs.size(); ++level) {
                Result<> config = WriteFileAtomic(base / EngineConfigName(static_cast<int>(level)),
                                                  configs[level]);
                if (!config.Ok()) {
                    return finish(TryVerdict::Outcome::NotStarted,
                                  "cannot write " + config.Error().Path.string() + ": " +
                                      config.Error().Reason);
                }
            }
            std::filesystem::remove(base / "botlib.log", error);

            EngineLogReader reader(verdict, layout);
            ChildRequest child;
            child.Program = verdict.Engine;
            child.Arguments = EngineArguments(game, home.Path(), match);
            std::string homeText = home.Path().string();
            child.Environment = {{"HOME", homeText},
                                 {"XDG_DATA_HOME", homeText + "/.local/share"},
                                 {"XDG_CONFIG_HOME", homeText + "/.config"},
                                 {"XDG_CACHE_HOME", homeText + "/.cache"}};
            child.WorkingFolder = home.Path();
            child.Deadline = deadline;
            child.Cancelled = request.Cancelled;
            int levels = layout.Levels;
            int playSeconds = match ? request.PlaySeconds : 0;
            auto readCharacters = [&reader, &base](int level) {
                Result<std::string> log = ReadFileBytes(base / "botlib.log");
                if (log.Ok()) {
                    reader.ReadCharacterDump(log.Value(), level);
                }
            };
            // The engine waits at the end of each level but the last for the
            // next: the level's botlib.log is read before the next level
            // starts it again. A load run quits by itself after the last.
            ChildEnd end = RunChild(child, [&](std::string_view line, ChildInput& input) {
                std::optional<int> level = reader.Line(line);
                auto now = std::chrono::steady_clock::now();
                if (level && *level + 1 < levels) {
                    readCharacters(*level);
                    input.SendAt(now, "exec " + EngineConfigName(*level + 1) + "\n");
                } else if (level && match) {
                    input.SendAt(now + std::chrono::seconds(playSeconds), "quit\n");
                }
            });
            verdict.Runs += end.How == ChildEnd::Kind::NotStarted ? 0 : 1;
            if (!match && reader.SawEnd()) {
                readCharacters(levels - 1);
            }
            if (verdict.Result == TryVerdict::Outcome::MapUnusable) {
                return finish(verdict.Result, verdict.Problem);
            }
            switch (end.How) {
            case ChildEnd::Kind::NotStarted:
                return finish(TryVerdict::Outcome::NotStarted,
                              "The engine could not be started: " + ShownText(end.Reason));
            case ChildEnd::Kind::Cancelled:
                return finish(TryVerdict::Outcome::Cancelled, "Cancelled: the engine was stopped.");
            case ChildEnd::Kind::TimedOut:
                verdict.LastLines = reader.LastLines();
                return finish(TryVerdict::Outcome::TimedOut,
                              "The engine did not finish within the time limit of " + seconds +
                                  " s: it was stopped.");
            case ChildEnd::Kind::Signalled:
                verdict.LastLines = reader.LastLines();
                return finish(TryVerdict::Outcome::EngineFailed,
                              "The engine crashed: " + SignalName(end.Code) + ".");
            case ChildEnd::Kind::Exited:
                if (!reader.SawEnd()) {
                    verdict.LastLines = reader.LastLines();
                    return finish(TryVerdict::Outcome::EngineFailed,
                                  "The engine ended (exit status " + std::to_string(end.Code) +
                                      ") before it had added every bot" +
                                      (reader.SawStart() ? "." : ": it never read its commands."));
                }
                break;
            }
        }
        return finish(TryVerdict::Outcome::Done, {});
    } catch (const std::exception& exception) {
        return finish(TryVerdict::Outcome::NotStarted, std::string("Failed: ") + exception.what());
    }
}

} // namespace twl
