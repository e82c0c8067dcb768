#pragma once

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/Value.h"

#include <array>
#include <filesystem>
#include <istream>
#include <string>
#include <vector>

namespace twl {

// The program's settings, kept in twl.ini in the per-user settings folder.
struct Settings
{
    enum Position
    {
        Q3Baseq3 = 0, // game folder: holds the game program and its baseq3 folder
        WorkDir,      // where the load and save dialog starts
        WinZipDir,    // kept for the file's layout; the archives are read in-process
        UserName,     // author data for the file headers
        Email,
        Http,
        Bots,       // bot archives made so far
        BaseQ3Check // the game's bot list has been checked
    };

    static constexpr int TextCount = 6; // positions 0 to 5 are texts

    std::array<std::string, TextCount> Texts;
    Value BotsMade; // empty, or a number
    bool BaseQ3Checked = false;

    std::string& Text(Position position) { return Texts[static_cast<std::size_t>(position)]; }

    const std::string& Text(Position position) const
    {
        return Texts[static_cast<std::size_t>(position)];
    }
};

inline constexpr const char* SettingsFileName = "twl.ini";

// The eleven lines of twl.ini.
std::vector<std::string> SettingsFileLines(const Settings& settings);

// Reads the lines of twl.ini into `settings`, one setting per line at its
// place in the layout; the key texts are not checked. Every position read
// before a fault keeps its new value. False when the file ends early, the
// counter is not a number or the check flag is neither True nor False.
bool ReadSettingsLines(const std::vector<std::string>& lines, Settings& settings);

// Reads folder/twl.ini. No file: nothing changes and nothing is said. A
// damaged file: "Errors occured when trying to load ini file. Please check
// your options from Program/Options." (title "Load error", warning).
void LoadIniFile(const std::filesystem::path& folder, Settings& settings, Messages& messages);

// Writes folder/twl.ini in place of the old one; the caller reports a failure.
FileResult SaveIniFile(const std::filesystem::path& folder, const Settings& settings);

} // namespace twl
