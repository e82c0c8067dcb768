#include "core/Settings.h"

#include "core/ListFile.h"

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

std::string ValueAfterKey(const std::string& line, const char* key)
{
    std::size_t keyLength = std::char_traits<char>::length(key);
    return line.size() > keyLength ? line.substr(keyLength) : std::string();
}

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

bool ReadSettingsLines(const std::vector<std::string>& lines, Settings& settings)
{
    for (int position = Settings::Q3Baseq3; position <= Settings::BaseQ3Check; ++position) {
        const SettingLine& place = SettingLines[position];
        if (place.Line >= lines.size()) {
            return false;
        }
        std::string value = ValueAfterKey(lines[place.Line], place.Key);
        if (position < Settings::TextCount) {
            settings.Text(static_cast<Settings::Position>(position)) = value;
        } else if (position == Settings::Bots) {
            if (value.empty()) {
                settings.BotsMade = Value();
                continue;
            }
            std::optional<double> number = ParseNumericText(value);
            if (!number) {
                return false;
            }
            settings.BotsMade = Value(*number);
        } else {
            std::optional<bool> flag = ParseBooleanField(ListField{value, false});
            if (!flag) {
                return false;
            }
            settings.BaseQ3Checked = *flag;
        }
    }
    return true;
}

void LoadIniFile(const std::filesystem::path& folder, Settings& settings, Messages& messages)
{
    std::filesystem::path path = folder / SettingsFileName;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    ReadLinesResult read = ReadTextFile(path);
    if (!read.Result.Ok || !ReadSettingsLines(read.Lines, settings)) {
        KeepCopyOfDamagedFile(path);
        messages.Warn("Errors occured when trying to load ini file. Please check your options "
                      "from Program/Options.",
                      "Load error");
    }
}

FileResult SaveIniFile(const std::filesystem::path& folder, const Settings& settings)
{
    return WriteTextFile(folder / SettingsFileName, SettingsFileLines(settings));
}

} // namespace twl
