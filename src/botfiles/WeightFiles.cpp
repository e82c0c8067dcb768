#include "botfiles/WeightFiles.h"

#include "botfiles/BotFileReading.h"
#include "botfiles/FileHeader.h"
#include "core/FileLookup.h"
#include "core/ValueFormat.h"

#include <cctype>

namespace twl {

namespace {

constexpr int FirstWeaponWeight = 44;
constexpr int LastWeaponWeight = 53;
constexpr int FirstItemWeight = 54;
constexpr int LastItemWeight = 80;

// Groups of weight lines, each group after an empty line.
struct WeightGroup
{
    int First;
    int Last;
};

std::vector<std::string> WeightFileLines(const Bot& bot,
                                         const CharCatalogue& charNames,
                                         const Settings& settings,
                                         const std::vector<WeightGroup>& groups,
                                         const char* footer)
{
    std::vector<std::string> lines = FileHeaderLines(bot, settings);
    lines.push_back("");
    lines.push_back("");
    lines.push_back("#include \"inv.h\"");
    for (const WeightGroup& group : groups) {
        lines.push_back("");
        for (int index = group.First; index <= group.Last; ++index) {
            lines.push_back(charNames[static_cast<std::size_t>(index)] +
                            FormatValue(bot.BotPara(index)));
        }
    }
    lines.push_back("");
    lines.push_back("//");
    lines.push_back(footer);
    return lines;
}

bool ReadWeightFile(Bot& bot,
                    const std::filesystem::path& folder,
                    const std::string& fileName,
                    const char* what,
                    const std::string& name,
                    const CharCatalogue& charNames,
                    int first,
                    int last,
                    Messages& messages)
{
    ReadLinesResult read = ReadTextFile(FindFileIgnoringCase(folder, fileName));
    if (!read.Result.Ok) {
        ReportMissingBotFile(messages, what, name);
        return false;
    }
    ReadWeightLines(bot, read.Lines, charNames, first, last);
    return true;
}

} // namespace

std::vector<std::string>
WeaponFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings)
{
    return WeightFileLines(bot,
                           charNames,
                           settings,
                           {{FirstWeaponWeight, LastWeaponWeight}},
                           "#include \"fw_weap.c\"");
}

std::vector<std::string>
ItemFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings)
{
    return WeightFileLines(bot,
                           charNames,
                           settings,
                           {{54, 55}, {56, 63}, {64, 71}, {72, 79}, {80, 80}},
                           "#include \"fw_items.c\"");
}

FileResult WriteWeaponFile(const Bot& bot,
                           const std::filesystem::path& folder,
                           const CharCatalogue& charNames,
                           const Settings& settings)
{
    return WriteTextFile(folder / bot.BotPara(Para::WeaponFile).ToText(),
                         WeaponFileLines(bot, charNames, settings));
}

FileResult WriteItemFile(const Bot& bot,
                         const std::filesystem::path& folder,
                         const CharCatalogue& charNames,
                         const Settings& settings)
{
    return WriteTextFile(folder / bot.BotPara(Para::ItemFile).ToText(),
                         ItemFileLines(bot, charNames, settings));
}

void ReadWeightLines(Bot& bot,
                     const std::vector<std::string>& lines,
                     const CharCatalogue& charNames,
                     int first,
                     int last)
{
    for (const std::string& raw : lines) {
        if (IsSkippedBotFileLine(raw)) {
            continue;
        }
        std::string line = StripTabs(raw);
        for (int index = first; index <= last; ++index) {
            std::string identifier = CharIdentifier(charNames[static_cast<std::size_t>(index)]);
            std::size_t at = line.find(identifier);
            if (at == std::string::npos) {
                continue;
            }
            // "#define W_BFG10K" must not match a longer name such as
            // "#define W_BFG10K_AMMO"; digits may follow, TABs are gone.
            std::size_t end = at + identifier.size();
            if (end < line.size() &&
                (std::isalpha(static_cast<unsigned char>(line[end])) || line[end] == '_')) {
                continue;
            }
            bot.SetBotPara(index, ParseValue(line.substr(end)));
            break;
        }
    }
}

bool ReadWeaponFile(Bot& bot,
                    const std::filesystem::path& folder,
                    const std::string& name,
                    const CharCatalogue& charNames,
                    Messages& messages)
{
    return ReadWeightFile(bot,
                          folder,
                          name + "_w.c",
                          "weapon weight",
                          name,
                          charNames,
                          FirstWeaponWeight,
                          LastWeaponWeight,
                          messages);
}

bool ReadItemFile(Bot& bot,
                  const std::filesystem::path& folder,
                  const std::string& name,
                  const CharCatalogue& charNames,
                  Messages& messages)
{
    return ReadWeightFile(bot,
                          folder,
                          name + "_i.c",
                          "item weight",
                          name,
                          charNames,
                          FirstItemWeight,
                          LastItemWeight,
                          messages);
}

} // namespace twl
