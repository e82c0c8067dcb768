// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartOptions.h"

#include "core/Version.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace twl {

namespace {

// Qt's command-line options that take a value ("-platform offscreen").
const std::set<std::string> QtOptionsWithValue = {"-platform",
                                                  "-platformpluginpath",
                                                  "-platformtheme",
                                                  "-plugin",
                                                  "-qwindowgeometry",
                                                  "-qwindowicon",
                                                  "-qwindowtitle",
                                                  "-display",
                                                  "-geometry",
                                                  "-style",
                                                  "-stylesheet",
                                                  "-session",
                                                  "-name",
                                                  "-title"};

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool SocketExists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_socket(path, error);
}

// An X server listens on /tmp/.X11-unix/X<n> and, on Linux, on the abstract
// socket of the same name, which only /proc/net/unix shows.
bool AbstractSocketExists(const std::string& name)
{
    std::ifstream sockets("/proc/net/unix");
    std::string line;
    std::string wanted = "@" + name;
    while (std::getline(sockets, line)) {
        std::size_t at = line.rfind(' ');
        if (at != std::string::npos && line.compare(at + 1, std::string::npos, wanted) == 0) {
            return true;
        }
    }
    return false;
}

// True when the X display named by DISPLAY can be reached, as far as can be
// told without talking to it.
bool XDisplayReachable(const std::string& display)
{
    std::size_t colon = display.rfind(':');
    if (colon == std::string::npos) {
        return false;
    }
    std::string host = display.substr(0, colon);
    if (!host.empty() && host != "unix") {
        return host[0] != '/' || SocketExists(host); // a remote display is trusted
    }
    std::string number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    std::string socket = "/tmp/.X11-unix/X" + number;
    return SocketExists(socket) || AbstractSocketExists(socket);
}

} // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& arguments)
{
    StartOptions options;
    auto fail = [&options](std::string problem) {
        options.Do = StartOptions::Action::UsageError;
        options.Problem = std::move(problem);
        return options;
    };
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!onlyFiles && (argument == "--help" || argument == "-h")) {
            options.Do = StartOptions::Action::PrintHelp;
            return options;
        }
        if (!onlyFiles && argument == "--version") {
            options.Do = StartOptions::Action::PrintVersion;
            return options;
        }
        if (!onlyFiles && argument == "--") {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && argument.rfind("--", 0) == 0) {
            return fail("unknown option '" + argument + "'");
        }
        if (!onlyFiles && argument.size() > 1 && argument[0] == '-') {
            if (QtOptionsWithValue.count(argument) != 0) {
                if (i + 1 >= arguments.size()) {
                    return fail(argument + " needs a value");
                }
                options.PlatformGiven = options.PlatformGiven || argument == "-platform";
                ++i;
            }
            continue;
        }
        if (!options.File.empty()) {
            return fail("one file at a time");
        }
        options.File = argument;
    }
    return options;
}

std::string StartUsageText()
{
    return "tarnwell " + std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." +
           std::to_string(VersionRevision) +
           ": the editor for the bots of Quake III Arena.\n"
           "\n"
           "Usage:\n"
           "  tarnwell [FILE]      start the editor; FILE is a bot's characteristic file\n"
           "                       (NAME_c.c) or a bot archive (bot-NAME.pk3)\n"
           "  tarnwell --help, -h  show this text\n"
           "  tarnwell --version   show the version\n"
           "\n"
           "The editor needs a graphical session. The bot files can also be made,\n"
           "copied and extracted without a window: see tarnwell-cli --help.\n";
}

std::optional<std::string> MissingGraphicalSession()
{
    if (!Environment("QT_QPA_PLATFORM").empty()) {
        return std::nullopt;
    }
    std::string wayland = Environment("WAYLAND_DISPLAY");
    if (!wayland.empty()) {
        std::filesystem::path socket =
            wayland[0] == '/' ? std::filesystem::path(wayland)
                              : std::filesystem::path(Environment("XDG_RUNTIME_DIR")) / wayland;
        if (SocketExists(socket)) {
            return std::nullopt;
        }
    }
    std::string display = Environment("DISPLAY");
    if (!display.empty()) {
        if (XDisplayReachable(display)) {
            return std::nullopt;
        }
        return "the X display '" + display + "' named by DISPLAY is not running";
    }
    if (!wayland.empty()) {
        return "the Wayland display '" + wayland + "' named by WAYLAND_DISPLAY is not running";
    }
    return "neither DISPLAY nor WAYLAND_DISPLAY is set";
}

std::string NoGraphicalSessionText(const std::string& reason)
{
    return "tarnwell: no graphical session found (" + reason +
           ").\n"
           "Tarnwell is a desktop program and opens a window. Start it from the menu of\n"
           "your desktop or from a terminal inside your desktop session; over ssh, log in\n"
           "with 'ssh -X'. Without any display, 'xvfb-run tarnwell' runs it on a virtual\n"
           "one (Debian package xvfb).\n"
           "The bot files can be made without a window: see 'tarnwell-cli --help'.\n";
}

} // namespace twl
