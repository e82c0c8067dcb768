// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace twl {

// What the command line of `tarnwell` asks for. Qt's own options
// (-platform NAME, -style NAME, ...) are left for Qt.
struct StartOptions
{
    enum class Action
    {
        RunEditor,
        PrintHelp,
        PrintVersion,
        UsageError
    };

    Action Do = Action::RunEditor;
    std::string File;           // the characteristic file to open; empty for none
    std::string Problem;        // why the command line is wrong (UsageError)
    bool PlatformGiven = false; // -platform NAME: Qt is told which platform to use
};

// `arguments` without the program's name.
StartOptions ParseStartOptions(const std::vector<std::string>& arguments);

std::string StartUsageText();

// Why no graphical session can be reached, from the environment: nothing
// when one can, or when QT_QPA_PLATFORM names the platform to use. An X
// display on this machine counts when its socket is there; a display on
// another host and a Wayland socket that exists are trusted.
std::optional<std::string> MissingGraphicalSession();

// What `tarnwell` prints when it cannot open its window, and why.
std::string NoGraphicalSessionText(const std::string& reason);

} // namespace twl
