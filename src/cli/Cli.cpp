#include "cli/Cli.h"

#include "core/Version.h"

namespace twl {

namespace {

void PrintUsage(std::ostream& stream)
{
    stream << "tarnwell-cli " << VersionMajor << '.' << VersionMinor << '.' << VersionRevision
           << ": the bot files of Tarnwell without its window.\n"
           << "\n"
           << "Usage: tarnwell-cli COMMAND [OPTIONS] ARGUMENTS\n"
           << "\n"
           << "Commands:\n"
           << "  --help     show this text\n"
           << "  --version  show the program's version\n";
}

} // namespace

int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.empty()) {
        PrintUsage(err);
        return ExitUsage;
    }
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(out);
        return ExitSuccess;
    }
    if (command == "--version") {
        out << VersionMajor << '.' << VersionMinor << '.' << VersionRevision << '\n';
        return ExitSuccess;
    }
    err << "tarnwell-cli: unknown command '" << command << "'; see tarnwell-cli --help\n";
    return ExitUsage;
}

} // namespace twl
