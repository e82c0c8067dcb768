#include "cli/Cli.h"

#include "botfiles/BotFileSet.h"
#include "cli/StderrMessages.h"
#include "core/BotName.h"
#include "core/Catalogues.h"
#include "core/Presets.h"
#include "core/Settings.h"
#include "core/Version.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>

namespace twl {

namespace {

void PrintUsage(std::ostream& stream)
{
    stream << "tarnwell-cli " << VersionMajor << '.' << VersionMinor << '.' << VersionRevision
           << ": the bot files of Tarnwell without its window.\n"
           << "\n"
           << "Usage:\n"
           << "  tarnwell-cli new [--preset zeros|average] [--name NAME] [--structure]\n"
           << "                   [--settings DIR] OUTDIR\n"
           << "      Makes a new bot from a preset (default: all zeros) and writes its five\n"
           << "      files into OUTDIR.\n"
           << "  tarnwell-cli copy [--script] [--script-structure] [--structure]\n"
           << "                    [--settings DIR] SRCDIR STEM OUTDIR\n"
           << "      Loads the bot whose files start with STEM from SRCDIR and writes its\n"
           << "      five files into OUTDIR.\n"
           << "  tarnwell-cli --help | --version\n"
           << "\n"
           << "Options:\n"
           << "  --preset zeros|average  the preset of a new bot\n"
           << "  --name NAME             the new bot's name (default: Bot)\n"
           << "  --structure             write into OUTDIR/botfiles/bots and OUTDIR/scripts\n"
           << "  --script                also load the bot script (STEM.bot)\n"
           << "  --script-structure      take the script from the scripts folder beside\n"
           << "                          SRCDIR's botfiles/bots\n"
           << "  --settings DIR          the folder of twl.ini and the user lists\n"
           << "                          (default: ~/.config/Tarnwell)\n"
           << "\n"
           << "Messages go to standard error as \"title: text\"; questions are answered No.\n"
           << "Exit status: 0 done, 1 the command could not do its work, 2 usage error.\n";
}

std::filesystem::path DefaultSettingsFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome != '\0') {
        return std::filesystem::path(configHome) / "Tarnwell";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".config" / "Tarnwell";
}

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

// What every command starts with: the settings and the catalogues.
struct Session
{
    explicit Session(std::ostream& err)
        : Messages(err)
    {}

    void Start(const CommandLine& line)
    {
        auto folder = line.Options.find("--settings");
        SettingsFolder = folder != line.Options.end() ? std::filesystem::path(folder->second)
                                                      : DefaultSettingsFolder();
        LoadIniFile(SettingsFolder, Settings, Messages);
        InitCatalogues(Catalogues, SettingsFolder, Messages);
    }

    StderrMessages Messages;
    std::filesystem::path SettingsFolder;
    twl::Settings Settings;
    twl::Catalogues Catalogues;
    std::mt19937 Random;
};

// The target folder of a command is made when it is missing.
bool MakeTargetFolder(const std::filesystem::path& folder, Messages& messages)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        return ReportWriteFailure(
            FileResult::Failure(folder, error ? error.message() : std::string("not a folder")),
            messages);
    }
    return true;
}

bool NameIsAccepted(const std::string& name, Messages& messages)
{
    if (std::optional<Complaint> complaint = CheckBotName(name)) {
        messages.Warn(complaint->Text, complaint->Title);
        return false;
    }
    return true;
}

int RunNew(const std::vector<std::string>& arguments, std::ostream& err)
{
    CommandLine line =
        ParseCommandLine(arguments, {"--structure"}, {"--preset", "--name", "--settings"});
    if (line.Positional.size() != 1) {
        throw UsageError("new takes one folder");
    }
    std::string preset = line.Options.count("--preset") ? line.Options["--preset"] : "zeros";
    if (preset != "zeros" && preset != "average") {
        throw UsageError("unknown preset '" + preset + "'");
    }

    Session session(err);
    session.Start(line);
    Bot bot;
    if (preset == "zeros") {
        ApplyZeroPreset(bot);
    } else {
        ApplyAveragePreset(bot, session.Catalogues.Chat, session.Random);
    }
    if (line.Options.count("--name")) {
        const std::string& name = line.Options["--name"];
        if (!NameIsAccepted(name, session.Messages)) {
            return ExitFailure;
        }
        bot.SetBotPara(Para::Name, Value(name));
    }
    if (!MakeTargetFolder(line.Positional[0], session.Messages)) {
        return ExitFailure;
    }
    bool saved = SaveBotFileSet(bot,
                                line.Positional[0],
                                line.Flags.count("--structure") != 0,
                                session.Catalogues,
                                session.Settings,
                                session.Messages);
    return saved ? ExitSuccess : ExitFailure;
}

int RunCopy(const std::vector<std::string>& arguments, std::ostream& err)
{
    CommandLine line = ParseCommandLine(
        arguments, {"--script", "--script-structure", "--structure"}, {"--settings"});
    if (line.Positional.size() != 3) {
        throw UsageError("copy takes a source folder, a file stem and a target folder");
    }

    Session session(err);
    session.Start(line);
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
    if (!found) {
        return ExitFailure;
    }
    // Stored as the editor stores what its boxes hold before it saves.
    bot.SetBotPara(Para::FunName, Value(StoredFunName(bot.BotPara(Para::FunName).ToText())));
    if (!NameIsAccepted(bot.BotPara(Para::Name).ToText(), session.Messages)) {
        return ExitFailure;
    }
    if (!MakeTargetFolder(line.Positional[2], session.Messages)) {
        return ExitFailure;
    }
    bool saved = SaveBotFileSet(bot,
                                line.Positional[2],
                                line.Flags.count("--structure") != 0,
                                session.Catalogues,
                                session.Settings,
                                session.Messages);
    return saved ? ExitSuccess : ExitFailure;
}

} // namespace

int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.empty()) {
        PrintUsage(err);
        return ExitUsage;
    }
    const std::string& command = arguments[0];
    try {
        if (command == "--help" || command == "-h" || command == "help") {
            PrintUsage(out);
            return ExitSuccess;
        }
        if (command == "--version") {
            out << VersionMajor << '.' << VersionMinor << '.' << VersionRevision << '\n';
            return ExitSuccess;
        }
        if (command == "new") {
            return RunNew(arguments, err);
        }
        if (command == "copy") {
            return RunCopy(arguments, err);
        }
    } catch (const UsageError& error) {
        err << "tarnwell-cli " << command << ": " << error.what() << "; see tarnwell-cli --help\n";
        return ExitUsage;
    }
    err << "tarnwell-cli: unknown command '" << command << "'; see tarnwell-cli --help\n";
    return ExitUsage;
}

} // namespace twl
