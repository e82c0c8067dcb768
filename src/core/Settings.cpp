// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Settings.h"

#include "core/FolderLock.h"
#include "core/ListFile.h"
#include "core/TextCase.h"
#include "core/Trim.h"

namespace twl {

namespace {

// Where each setting stands in the file (0-based line) and the key text
// before its value.
struct SettingLine
{
    std::size_t Line;
    const char* Key;
};

constexpr SettingLine SettingLines[] = {
    {1, "Q3Baseq3 = "},
    {2, "WorkDir = "},
    {3, "WinZipDir = "},
    {5, "UserName = "},
    {6, "Email = "},
    {7, "Http = "},
    {8, "Bots = "},
    {10, "BaseQ3Check = "},
};

constexpr std::size_t SettingsLineCount = 11;

} // namespace

std::vector<std::string> SettingsFileLines(const Settings& settings)
{
    std::vector<std::string> lines(SettingsLineCount);
    lines[0] = "[Tarnwell settings]";
    for (int position = Settings::Q3Baseq3; position < Settings::TextCount; ++position) {
        const SettingLine& place = SettingLines[position];
        lines[place.Line] = place.Key + settings.Text(static_cast<Settings::Position>(position));
    }
    lines[SettingLines[Settings::Bots].Line] =
        SettingLines[Settings::Bots].Key + settings.BotsMade.ToText();
    lines[SettingLines[Settings::BaseQ3Check].Line] =
        std::string(SettingLines[Settings::BaseQ3Check].Key) +
        (settings.BaseQ3Checked ? "True" : "False");
    return lines;
}

namespace {

// The setting a key names (compared without regard to case); nothing for
// another key.
std::optional<int> SettingOfKey(const std::string& key)
{
    std::string lower = LowerCase(key);
    for (int position = Settings::Q3Baseq3; position <= Settings::BaseQ3Check; ++position) {
        std::string known = SettingLines[position].Key;
        known = LowerCase(known.substr(0, known.find(' ')));
        if (lower == known) {
            return position;
        }
    }
    return std::nullopt;
}

// Takes the value of one setting; false when it is not a value of that setting.
bool TakeSetting(int position, const std::string& value, Settings& settings)
{
    if (position < Settings::TextCount) {
        settings.Text(static_cast<Settings::Position>(position)) = value;
        return true;
    }
    if (position == Settings::Bots) {
        if (value.empty()) {
            settings.BotsMade = Value();
            return true;
        }
        std::optional<double> number = ParseNumericText(value);
        if (!number) {
            return false;
        }
        settings.BotsMade = Value(*number);
        return true;
    }
    std::optional<bool> flag = ParseBooleanField(ListField{value, false});
    if (!flag) {
        return false;
    }
    settings.BaseQ3Checked = *flag;
    return true;
}

} // namespace

std::optional<std::string> ReadSettingsLinesExplained(const std::vector<std::string>& lines,
                                                      Settings& settings)
{
    std::optional<std::string> damage;
    auto damaged = [&damage](std::size_t line, const std::string& what) {
        if (!damage) {
            damage = "line " + std::to_string(line + 1) + ": " + what;
        }
    };
    std::array<bool, Settings::BaseQ3Check + 1> seen = {};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = TrimBlanks(lines[i]);
        if (line.empty() || line.front() == '[' || line.front() == ';') {
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            damaged(i, "no \"Key = value\"");
            return damage;
        }
        std::string key = TrimBlanks(line.substr(0, equals));
        std::string value = TrimBlanks(line.substr(equals + 1));
        std::optional<int> position = SettingOfKey(key);
        // A key of its own at a setting's line of the file's layout still
        // gives that setting, as the file was always read.
        for (int p = Settings::Q3Baseq3; !position && p <= Settings::BaseQ3Check; ++p) {
            if (SettingLines[p].Line == i && !seen[static_cast<std::size_t>(p)]) {
                position = p;
            }
        }
        if (!position) {
            continue;
        }
        seen[static_cast<std::size_t>(*position)] = true;
        if (!TakeSetting(*position, value, settings)) {
            damaged(i, "\"" + value + "\" is no value of " + key);
            return damage;
        }
    }
    for (int position = Settings::Q3Baseq3; position <= Settings::BaseQ3Check; ++position) {
        if (!seen[static_cast<std::size_t>(position)]) {
            std::string key = SettingLines[position].Key;
            damaged(lines.size(), key.substr(0, key.find(' ')) + " is missing");
            break;
        }
    }
    return damage;
}

bool ReadSettingsLines(const std::vector<std::string>& lines, Settings& settings)
{
    return !ReadSettingsLinesExplained(lines, settings);
}

Result<> LoadIniFile(const std::filesystem::path& folder, Settings& settings, Messages& messages)
{
    std::filesystem::path path = folder / SettingsFileName;
    Result<std::vector<std::string>> read = ReadTextFile(path);
    if (read.Missing()) {
        return {};
    }
    std::optional<std::string> damage;
    if (!read.Ok()) {
        // Never replaced by defaults: what it holds may still be good.
        settings.KeepFileAsItIs = true;
        damage = read.Error().Reason;
    } else {
        damage = ReadSettingsLinesExplained(read.Value(), settings);
    }
    settings.BotsMadeRead = settings.BotsMade;
    if (!damage) {
        return {};
    }
    messages.Warn("Errors occured when trying to load ini file. Please check your options "
                  "from Program/Options.",
                  "Load error");
    return Failure{path, *damage};
}

Result<> SaveIniFile(const std::filesystem::path& folder, const Settings& settings)
{
    if (settings.KeepFileAsItIs) {
        return Failure{folder / SettingsFileName,
                       "it could not be read at start, so it is left as it is"};
    }
    // Read, counted and written back by one program at a time.
    FolderLock lock(folder);
    if (lock.Busy()) {
        return Failure{folder / SettingsFileName, lock.Problem()};
    }
    Settings written = settings;
    Result<std::vector<std::string>> now = ReadTextFile(folder / SettingsFileName);
    Settings there;
    std::optional<double> made = settings.BotsMade.ToNumber();
    if (now.Ok() && ReadSettingsLines(now.Value(), there) && made) {
        double counted = *made - settings.BotsMadeRead.ToNumber().value_or(0.0);
        written.BotsMade = Value(there.BotsMade.ToNumber().value_or(0.0) + counted);
    }
    // A damaged file is kept beside before it is replaced by the values
    // that could be read of it.
    return ReplaceKeepingDamaged(
        folder / SettingsFileName, SettingsFileLines(written), [](const std::string& old) {
            Settings read;
            return ReadSettingsLinesExplained(SplitTextLines(old), read).has_value();
        });
}

} // namespace twl
