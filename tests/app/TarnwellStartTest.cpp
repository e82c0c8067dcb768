// SPDX-License-Identifier: GPL-3.0-or-later
// The tarnwell program itself, started as a user starts it: what it does
// before (or instead of) opening its window.
#include "support/ParamNames.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace twl {
namespace {

struct StartCase
{
    const char* Name;
    std::string Environment; // assignments for env -i, besides PATH and HOME
    std::string Arguments;
    int Status;
    std::string Output; // what stdout and stderr together must hold
};

struct StartResult
{
    int Status = -1;
    std::string Output;
};

// Runs the program with an environment of its own (no display unless the
// case gives one) and collects what it prints.
StartResult StartTarnwell(const StartCase& start, const std::filesystem::path& home)
{
    std::string command = "env -i PATH=/usr/bin:/bin HOME='" + home.string() + "' " +
                          start.Environment + " '" TARNWELL_EXECUTABLE "' " + start.Arguments +
                          " 2>&1 </dev/null";
    StartResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[512];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.Output.append(buffer, read);
    }
    int status = pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class TarnwellStart : public ::testing::TestWithParam<StartCase>
{};

TEST_P(TarnwellStart, PrintsAndEndsWithoutAWindow)
{
    test::TempFolder home;
    StartResult result = StartTarnwell(GetParam(), home.Path());
    EXPECT_EQ(result.Status, GetParam().Status) << result.Output;
    EXPECT_NE(result.Output.find(GetParam().Output), std::string::npos) << result.Output;
    EXPECT_EQ(result.Output.find("Reinstalling"), std::string::npos) << result.Output;
    EXPECT_FALSE(std::filesystem::exists(home / ".config" / "Tarnwell" / "twl.ini"))
        << "nothing is written before the window opens";
}

const std::string NoSession = "tarnwell: no graphical session found (";

INSTANTIATE_TEST_SUITE_P(
    CommandLine,
    TarnwellStart,
    ::testing::Values(
        StartCase{"Help", "", "--help", 0, "Usage:\n  tarnwell [FILE]"},
        StartCase{"ShortHelp", "", "-h", 0, "tarnwell --version   show the version"},
        StartCase{"HelpBeforeAFile", "", "sarge_c.c --help", 0, "Usage:"},
        StartCase{"Version", "", "--version", 0, "tarnwell 0.9.7\n"},
        StartCase{"VersionWithABrokenDisplay", "DISPLAY=:4711", "--version", 0, "0.9.7"},
        StartCase{"UnknownOption", "", "--frobnicate", 2, "unknown option '--frobnicate'"},
        StartCase{"TwoFiles", "", "a_c.c b_c.c", 2, "tarnwell: one file at a time"},
        StartCase{"QtOptionWithoutValue", "", "-style", 2, "-style needs a value"},
        StartCase{
            "NoDisplayAtAll", "", "", 1, NoSession + "neither DISPLAY nor WAYLAND_DISPLAY is set)"},
        StartCase{"XDisplayNotRunning",
                  "DISPLAY=:4711",
                  "sarge_c.c",
                  1,
                  NoSession + "the X display ':4711' named by DISPLAY is not running)"},
        StartCase{"WaylandDisplayNotRunning",
                  "WAYLAND_DISPLAY=wayland-4711 XDG_RUNTIME_DIR=/nonexistent",
                  "",
                  1,
                  "the Wayland display 'wayland-4711' named by WAYLAND_DISPLAY is not running"},
        StartCase{"UnknownPlatform",
                  "QT_QPA_PLATFORM=nonexistent",
                  "",
                  1,
                  NoSession + "the Qt platform plugin could not start"},
        StartCase{"UnknownPlatformOption", "", "-platform nonexistent", 1, "tarnwell-cli --help"}),
    [](const ::testing::TestParamInfo<StartCase>& param) { return std::string(param.param.Name); });

} // namespace
} // namespace twl
