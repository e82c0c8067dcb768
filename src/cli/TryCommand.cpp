// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TryCommand.h"

#include "cli/StderrMessages.h"
#include "core/Settings.h"
#include "core/ShownText.h"
#include "engine/EngineRun.h"
#include "engine/TryInGame.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <sstream>

namespace twl {

namespace {

class TryUsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct TryOptions
{
    std::vector<double> Skills;
    int PlaySeconds = 0;
    std::optional<std::filesystem::path> Game;
    std::filesystem::path Engine;
    std::string Map;
    std::chrono::milliseconds TimeLimit{0};
    std::optional<std::filesystem::path> Settings;
    std::vector<std::filesystem::path> Paths;
};

double NumberOption(const std::string& option, const std::string& text)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw TryUsageError(option + " needs a number, not '" + ShownText(text) + "'");
    }
    return value;
}

TryOptions ParseTryOptions(const std::vector<std::string>& arguments)
{
    TryOptions options;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            options.Paths.emplace_back(argument);
            continue;
        }
        static const char* const WithValue[] = {
            "--skill", "--play", "--game", "--engine", "--map", "--time-limit", "--settings"};
        if (std::find(std::begin(WithValue), std::end(WithValue), argument) ==
            std::end(WithValue)) {
            throw TryUsageError("unknown option '" + ShownText(argument) + "'");
        }
        if (i + 1 >= arguments.size()) {
            throw TryUsageError(argument + " needs a value");
        }
        const std::string& value = arguments[++i];
        if (argument == "--skill") {
            double skill = NumberOption(argument, value);
            if (!(skill >= 1 && skill <= 5)) {
                throw TryUsageError("a skill is 1 to 5, not " + ShownText(value));
            }
            options.Skills.push_back(skill);
        } else if (argument == "--play") {
            double seconds = NumberOption(argument, value);
            if (!(seconds >= 1 && seconds <= 3600) || seconds != static_cast<int>(seconds)) {
                throw TryUsageError("--play takes 1 to 3600 whole seconds, not " +
                                    ShownText(value));
            }
            options.PlaySeconds = static_cast<int>(seconds);
        } else if (argument == "--time-limit") {
            double seconds = NumberOption(argument, value);
            if (!(seconds > 0 && seconds <= 86400)) {
                throw TryUsageError("--time-limit takes up to 86400 seconds, not " +
                                    ShownText(value));
            }
            options.TimeLimit = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        } else if (argument == "--game") {
            options.Game = value;
        } else if (argument == "--engine") {
            options.Engine = value;
        } else if (argument == "--map") {
            options.Map = value;
        } else {
            options.Settings = value;
        }
    }
    if (options.Paths.empty()) {
        throw TryUsageError("try takes at least one characteristic file, folder or .pk3");
    }
    return options;
}

// The game folder: the one given, the settings' one, or OpenArena's.
std::optional<GameFolders> ChooseGame(const TryOptions& options,
                                      const std::filesystem::path& defaultSettingsFolder,
                                      TextOut& err)
{
    if (options.Game) {
        return GameIn(*options.Game);
    }
    StderrMessages messages(err);
    Settings settings;
    // What cannot be read is reported; the defaults stand in for it.
    (void)LoadIniFile(options.Settings.value_or(defaultSettingsFolder), settings, messages);
    return DefaultTryGame(settings);
}

std::string SkillList(const std::vector<double>& skills)
{
    std::string text;
    for (double skill : skills) {
        text += (text.empty() ? "" : ", ") + SkillText(skill);
    }
    return text;
}

// Each finding once, with the bots and skills it was met at.
void PrintFindings(const TryVerdict& verdict, TextOut& out)
{
    struct Place
    {
        const Finding* First = nullptr;
        std::map<std::string, std::vector<double>> Bots;
        std::size_t Order = 0;
    };

    std::map<std::string, Place> distinct;
    auto key = [](const Finding& finding) {
        return finding.File + '\n' + std::to_string(finding.Line) + '\n' +
               SeverityName(finding.Level) + '\n' + finding.Text;
    };
    for (const BotVerdict& bot : verdict.Bots) {
        for (const SkillVerdict& skill : bot.Skills) {
            for (const Finding& finding : skill.Findings) {
                Place& place = distinct[key(finding)];
                if (place.First == nullptr) {
                    place.First = &finding;
                    place.Order = distinct.size();
                }
                place.Bots[bot.Name].push_back(skill.Skill);
            }
        }
    }
    for (const Finding& finding : verdict.Findings) {
        Place& place = distinct[key(finding)];
        if (place.First == nullptr) {
            place.First = &finding;
            place.Order = distinct.size();
        }
    }
    std::vector<const Place*> ordered;
    for (const auto& entry : distinct) {
        ordered.push_back(&entry.second);
    }
    std::sort(ordered.begin(), ordered.end(), [](const Place* a, const Place* b) {
        return a->Order < b->Order;
    });
    for (const Place* place : ordered) {
        const Finding& finding = *place->First;
        std::string file = finding.File;
        if (file.empty() && place->Bots.size() == 1) {
            for (const BotVerdict& bot : verdict.Bots) {
                if (bot.Name == place->Bots.begin()->first) {
                    file = bot.Shown;
                }
            }
        }
        out << (file.empty() ? std::string("engine") : file);
        if (finding.Line > 0) {
            out << ':' << finding.Line;
        }
        out << ": " << SeverityName(finding.Level) << ": " << finding.Text;
        std::string where;
        for (const auto& [bot, skills] : place->Bots) {
            where += (where.empty() ? "" : "; ") + bot + ": skill" +
                     (skills.size() == 1 ? " " : "s ") + SkillList(skills);
        }
        if (!where.empty()) {
            out << " [" << where << "]";
        }
        out << '\n';
    }
}

// "bots/johnny_i.c", and where the engine took it from when not from the
// tried files.
std::string FileAndOrigin(const SkillVerdict& skill, const std::string& file)
{
    std::string gamePath = "botfiles/" + file;
    for (const LoadedFile& loaded : skill.Files) {
        if (loaded.GamePath == gamePath && !loaded.Tried) {
            return file + " (the game's own, from " + loaded.FoundIn + ")";
        }
    }
    return file;
}

void PrintSummary(const BotVerdict& bot, const SkillVerdict& skill, bool match, TextOut& out)
{
    out << bot.Name << " at skill " << SkillText(skill.Skill) << ": ";
    if (skill.Entered) {
        out << "in the game";
    } else if (skill.Added) {
        out << "not in the game (its set-up failed)";
    } else {
        out << "not added";
    }
    if (!skill.Characters.empty()) {
        out << "; characteristics:";
        std::string separator = " ";
        for (const CharacterLoad& load : skill.Characters) {
            out << separator << "skill " << SkillText(load.Skill) << " of ";
            if (load.Default) {
                out << "the game's default bot (for " << load.File << ")";
            } else {
                out << FileAndOrigin(skill, load.File);
            }
            separator = ", ";
        }
    }
    if (!skill.ItemWeights.empty()) {
        out << "; item weights " << FileAndOrigin(skill, skill.ItemWeights);
    }
    if (!skill.WeaponWeights.empty()) {
        out << "; weapon weights " << FileAndOrigin(skill, skill.WeaponWeights);
    }
    if (!skill.ChatFile.empty()) {
        out << "; chat " << skill.ChatName << " of " << FileAndOrigin(skill, skill.ChatFile);
    }
    if (!skill.Chats.empty()) {
        std::size_t built = 0;
        int refused = 0;
        for (const ChatTypeBuilt& chat : skill.Chats) {
            built += chat.Messages.size();
            refused += chat.Errors;
        }
        out << "; " << skill.Chats.size() << " chat types, " << built << " messages built, "
            << refused << " refused";
    }
    std::size_t errors = CountFindings(skill.Findings, Severity::Error);
    std::size_t warnings = CountFindings(skill.Findings, Severity::Warning);
    out << "; " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
        << (warnings == 1 ? " warning" : " warnings") << '\n';
    if (skill.Play.Played) {
        const PlayRecord& play = skill.Play;
        out << "    in the match: " << play.Frags << (play.Frags == 1 ? " frag, " : " frags, ")
            << play.Deaths << (play.Deaths == 1 ? " death" : " deaths") << " (" << play.Suicides
            << (play.Suicides == 1 ? " suicide), " : " suicides), ") << play.Said.size()
            << (play.Said.size() == 1 ? " line said" : " lines said") << '\n';
        for (const std::string& said : play.Said) {
            out << "    said: " << said << '\n';
        }
    } else if (match && skill.Entered) {
        out << "    not in the match: a level of the engine holds no more bots\n";
    }
}

} // namespace

const char* TryUsage()
{
    return "  tarnwell-cli try [--skill S]... [--play SECONDS] [--game DIR] [--engine PATH]\n"
           "                   [--map MAP] [--time-limit SECONDS] [--settings DIR] PATH...\n"
           "      Runs the game's engine on the bots of each PATH (as check takes them) at\n"
           "      skills 1, 2, 3, 4, 4.5 and 5 (or each --skill), and prints what it said,\n"
           "      one line a finding, then a summary per bot and skill; --play also lets\n"
           "      them play a match for SECONDS. Exit status 1 when a bot failed at a\n"
           "      skill, 3 when no engine or game is installed.\n";
}

int RunTry(const std::vector<std::string>& arguments,
           const std::filesystem::path& defaultSettingsFolder,
           TextOut& out,
           TextOut& err)
{
    TryOptions options;
    try {
        options = ParseTryOptions(arguments);
    } catch (const TryUsageError& error) {
        err << "tarnwell-cli try: " << error.what() << "; see tarnwell-cli --help\n";
        return 2;
    }
    std::optional<GameFolders> game = ChooseGame(options, defaultSettingsFolder, err);
    if (!game) {
        err << "tarnwell-cli try: no game folder: give one with --game, or install the Debian "
               "package openarena-server\n";
        return ExitNoEngine;
    }

    TryRequest request;
    request.Bots = CollectTryBots(options.Paths);
    for (const std::string& problem : request.Bots.Problems) {
        err << "tarnwell-cli try: " << ShownText(problem) << '\n';
    }
    if (!options.Skills.empty()) {
        request.Skills = options.Skills;
    }
    request.PlaySeconds = options.PlaySeconds;
    request.Engine = options.Engine;
    request.Game = *game;
    request.Map = options.Map;
    request.TimeLimit = options.TimeLimit;
    if (request.Bots.Bots.empty()) {
        err << "tarnwell-cli try: no bot to try\n";
        return 1;
    }

    TryVerdict verdict = TryInGame(request);
    if (verdict.Result == TryVerdict::Outcome::BadRequest) {
        err << "tarnwell-cli try: " << ShownText(verdict.Problem) << '\n';
        return 2;
    }
    if (verdict.Result == TryVerdict::Outcome::NoEngine ||
        verdict.Result == TryVerdict::Outcome::NoGame) {
        err << "tarnwell-cli try: " << ShownText(verdict.Problem);
        if (verdict.Result == TryVerdict::Outcome::NoEngine) {
            err << " Or name an engine program with --engine.";
        }
        err << '\n';
        return ExitNoEngine;
    }
    PrintFindings(verdict, out);
    std::size_t loaded = 0;
    std::size_t tried = 0;
    std::size_t errors = CountFindings(verdict.Findings, Severity::Error);
    std::size_t warnings = CountFindings(verdict.Findings, Severity::Warning);
    for (const BotVerdict& bot : verdict.Bots) {
        for (const SkillVerdict& skill : bot.Skills) {
            if (verdict.Result == TryVerdict::Outcome::Done) {
                PrintSummary(bot, skill, request.PlaySeconds > 0, out);
            }
            ++tried;
            loaded += skill.Loaded() ? 1u : 0u;
            errors += CountFindings(skill.Findings, Severity::Error);
            warnings += CountFindings(skill.Findings, Severity::Warning);
        }
    }
    if (verdict.Result != TryVerdict::Outcome::Done) {
        err << "tarnwell-cli try: " << ShownText(verdict.Problem) << '\n';
        for (const std::string& line : verdict.LastLines) {
            err << "    " << line << '\n';
        }
    }
    double seconds = static_cast<double>(verdict.Took.count()) / 1000.0;
    std::ostringstream took;
    took.precision(1);
    took << std::fixed << seconds;
    out << verdict.Bots.size() << (verdict.Bots.size() == 1 ? " bot" : " bots") << " at "
        << request.Skills.size() << (request.Skills.size() == 1 ? " skill: " : " skills: ")
        << loaded << " of " << tried << " loaded; " << errors
        << (errors == 1 ? " error, " : " errors, ") << warnings
        << (warnings == 1 ? " warning" : " warnings") << " (engine "
        << ShownText(verdict.Engine.string()) << ", map " << ShownText(verdict.Map) << ", "
        << verdict.Runs << (verdict.Runs == 1 ? " run, " : " runs, ") << took.str() << " s)\n";
    bool allTried = request.Bots.Problems.empty();
    return verdict.AllLoaded() && allTried ? 0 : 1;
}

} // namespace twl
