// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/Value.h"

#include <array>
#include <filesystem>
#include <istream>
#include <optional>
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
    // The counter as twl.ini held it when read: a save adds only the bots
    // made since, to what the file holds then (another program may have
    // counted its own meanwhile).
    Value BotsMadeRead;
    bool BaseQ3Checked = false;
    // twl.ini was there but could not be read: it is never overwritten.
    bool KeepFileAsItIs = false;

    std::string& Text(Position position) { return Texts[static_cast<std::size_t>(position)]; }

    const std::string& Text(Position position) const
    {
        return Texts[static_cast<std::size_t>(position)];
    }
};

inline constexpr const char* SettingsFileName = "twl.ini";

// The eleven lines of twl.ini.
std::vector<std::string> SettingsFileLines(const Settings& settings);

// Reads the lines of twl.ini into `settings`, each line by its key
// ("Key = value", blanks around "=" optional, the key in any case); a line
// with a key of its own at a setting's place in the layout gives that
// setting. Section lines and empty lines are passed over. Reading stops
// at the first fault; every setting read before it keeps its new value.
// False when a line is no
// "Key = value", a setting is missing, the counter is not a number or the
// check flag is neither True nor False.
bool ReadSettingsLines(const std::vector<std::string>& lines, Settings& settings);
// The same, with what was wrong first ("line 6: ...").
std::optional<std::string> ReadSettingsLinesExplained(const std::vector<std::string>& lines,
                                                      Settings& settings);

// Reads folder/twl.ini. No file: nothing changes and nothing is said. A
// damaged file: "Errors occured when trying to load ini file. Please check
// your options from Program/Options." (title "Load error", warning), and
// the file with what was wrong is returned as a failure. A file that is
// there but cannot be read is reported alike and marks the settings so
// that SaveIniFile leaves it as it is.
Result<> LoadIniFile(const std::filesystem::path& folder, Settings& settings, Messages& messages);

// Writes folder/twl.ini in place of the old one; the caller reports a
// failure. Nothing is written (a failure) when the settings are marked
// KeepFileAsItIs.
Result<> SaveIniFile(const std::filesystem::path& folder, const Settings& settings);

} // namespace twl
