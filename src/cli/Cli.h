// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/TextOut.h"

#include <array>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twl {

// Exit statuses of tarnwell-cli.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1; // the command could not do its work
inline constexpr int ExitUsage = 2;   // the command line was wrong

// What tarnwell-cli prints for --help (-h, help) and --version: a fixed
// text; nothing for every other command line. RunCli prints it too; the
// program's main prints it without setting up the C++ streams.
std::optional<std::string> FixedAnswer(const std::vector<std::string>& arguments);

// The same for the first argument alone, in the constant pieces the text is
// made of, for a main that writes them before anything else is set up.
struct FixedText
{
    std::array<std::string_view, 5> Pieces;

    std::string Joined() const;
};

std::optional<FixedText> FixedAnswerText(std::string_view command);

// The folder of twl.ini and the user lists when --settings names none:
// $XDG_CONFIG_HOME/Tarnwell, else ~/.config/Tarnwell.
std::filesystem::path DefaultSettingsFolder();

// Runs tarnwell-cli with its arguments (without the program name). Results
// go to `out`, messages and usage errors to `err`.
int RunCli(const std::vector<std::string>& arguments, TextOut& out, TextOut& err);

// The same, into C++ streams (what the tests read).
int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace twl
