// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/WeightFiles.h"

#include "botfiles/FileHeader.h"
#include "core/TextCase.h"
#include "core/Trim.h"
#include "core/ValueFormat.h"

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

struct WeightLayout
{
    int First;
    int Last;
    std::vector<WeightGroup> Groups;
    const char* Template; // the file the game's weight definitions come from
};

const WeightLayout& LayoutOf(WeightFileKind kind)
{
    static const WeightLayout Weapon{
        FirstWeaponWeight, LastWeaponWeight, {{FirstWeaponWeight, LastWeaponWeight}}, "fw_weap.c"};
    static const WeightLayout Item{FirstItemWeight,
                                   LastItemWeight,
                                   {{54, 55}, {56, 63}, {64, 71}, {72, 79}, {80, 80}},
                                   "fw_items.c"};
    return kind == WeightFileKind::Weapon ? Weapon : Item;
}

std::string IncludeLine(const char* file)
{
    return std::string("#include \"") + file + "\"";
}

std::vector<std::string> WeightFileLines(const Bot& bot,
                                         WeightFileKind kind,
                                         const CharCatalogue& charNames,
                                         const Settings& settings)
{
    const WeightLayout& layout = LayoutOf(kind);
    std::vector<std::string> lines = FileHeaderLines(
        bot, settings, kind == WeightFileKind::Weapon ? BotFileKind::Weapon : BotFileKind::Item);
    lines.push_back("");
    lines.push_back("");
    lines.push_back("#include \"inv.h\"");
    for (const WeightGroup& group : layout.Groups) {
        lines.push_back("");
        for (int index = group.First; index <= group.Last; ++index) {
            lines.push_back(charNames[static_cast<std::size_t>(index)] +
                            FormatValue(bot.BotPara(index)));
        }
    }
    const std::vector<std::string>& extra = bot.KeptWeights(kind).ExtraLines;
    if (!extra.empty()) {
        lines.push_back("");
        lines.insert(lines.end(), extra.begin(), extra.end());
    }
    lines.push_back("");
    lines.push_back("//");
    lines.push_back(IncludeLine(layout.Template));
    return lines;
}

// The file named by an #include line, in lower case; nothing for another line.
std::optional<std::string> IncludedFile(const std::string& trimmed)
{
    if (trimmed.rfind("#include", 0) != 0) {
        return std::nullopt;
    }
    std::size_t open = trimmed.find_first_of("\"<", 8);
    if (open == std::string::npos) {
        return std::string();
    }
    std::size_t close = trimmed.find_first_of("\">", open + 1);
    return LowerCase(trimmed.substr(
        open + 1, close == std::string::npos ? std::string::npos : close - open - 1));
}

// The names of the weights first..last, made once for all the lines of a
// file.
struct WeightNames
{
    int First = 0;
    std::vector<std::string> Identifiers;
};

WeightNames NamesOfWeights(const CharCatalogue& charNames, int first, int last)
{
    WeightNames names;
    names.First = first;
    for (int index = first; index <= last; ++index) {
        names.Identifiers.push_back(CharIdentifier(charNames[static_cast<std::size_t>(index)]));
    }
    return names;
}

// The weight whose #define the line is; nothing for any other line.
std::optional<int> WeightOfLine(const std::string& line, const WeightNames& names)
{
    for (std::size_t k = 0; k < names.Identifiers.size(); ++k) {
        const std::string& identifier = names.Identifiers[k];
        int index = names.First + static_cast<int>(k);
        std::size_t at = line.find(identifier);
        if (at == std::string::npos) {
            continue;
        }
        // "#define W_BFG10K" must not match a longer name such as
        // "#define W_BFG10K_AMMO"; digits may follow, TABs are gone.
        std::size_t end = at + identifier.size();
        if (end < line.size() && ContinuesName(line[end])) {
            continue;
        }
        return index;
    }
    return std::nullopt;
}

// Lines the editor writes itself and so does not keep: the header comments
// at the top, empty lines, the "//" before the template, the includes.
bool IsOwnFrameLine(const std::string& trimmed, const WeightLayout& layout)
{
    if (trimmed.empty() || trimmed == "//") {
        return true;
    }
    std::optional<std::string> included = IncludedFile(trimmed);
    return included && (*included == "inv.h" || *included == layout.Template);
}

} // namespace

std::vector<std::string>
WeaponFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings)
{
    return WeightFileLines(bot, WeightFileKind::Weapon, charNames, settings);
}

std::vector<std::string>
ItemFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings)
{
    return WeightFileLines(bot, WeightFileKind::Item, charNames, settings);
}

Result<std::string> WeightFileBytes(const Bot& bot,
                                    WeightFileKind kind,
                                    const CharCatalogue& charNames,
                                    const Settings& settings)
{
    if (const std::optional<std::string>& kept = bot.KeptWeights(kind).ForeignBytes) {
        return *kept;
    }
    return EncodeTextLines(WeightFileLines(bot, kind, charNames, settings));
}

void ReadWeightLines(Bot& bot,
                     const std::vector<std::string>& lines,
                     const CharCatalogue& charNames,
                     int first,
                     int last,
                     std::vector<std::string>* changes)
{
    const WeightNames names = NamesOfWeights(charNames, first, last);
    for (const std::string& raw : lines) {
        if (IsSkippedBotFileLine(raw)) {
            continue;
        }
        std::string line = StripTabs(raw);
        if (std::optional<int> index = WeightOfLine(line, names)) {
            std::string identifier = CharIdentifier(charNames[static_cast<std::size_t>(*index)]);
            std::size_t end = line.find(identifier) + identifier.size();
            std::string text = TrimBlanks(WithoutTrailingComment(line.substr(end)));
            bot.SetBotPara(*index, ParseNumberValue(text));
            std::optional<std::string> written = ChangedValueText(text);
            if (changes != nullptr && written) {
                changes->push_back(identifier + " " + text + " (written as " + *written + ")");
            }
        }
    }
}

bool IsForeignWeightLayout(const std::vector<std::string>& lines,
                           WeightFileKind kind,
                           const CharCatalogue& charNames)
{
    const WeightLayout& layout = LayoutOf(kind);
    const WeightNames names = NamesOfWeights(charNames, layout.First, layout.Last);
    bool content = false;
    bool weight = false;
    for (const std::string& raw : lines) {
        std::string trimmed = TrimBlanks(StripTabs(raw));
        if (std::optional<std::string> included = IncludedFile(trimmed)) {
            if (*included != "inv.h" && *included != layout.Template) {
                return true;
            }
            continue;
        }
        if (trimmed.empty() || trimmed.rfind("//", 0) == 0) {
            continue;
        }
        content = true;
        if (!weight && trimmed.rfind("#define", 0) == 0 && WeightOfLine(trimmed, names)) {
            weight = true;
        }
    }
    return content && !weight;
}

bool ReadWeightFileBytes(Bot& bot,
                         WeightFileKind kind,
                         const std::string& bytes,
                         const CharCatalogue& charNames,
                         std::vector<std::string>* changes)
{
    const WeightLayout& layout = LayoutOf(kind);
    std::vector<std::string> lines = SplitTextLines(bytes);
    KeptWeightFile& kept = bot.KeptWeights(kind);
    kept = KeptWeightFile();
    if (IsForeignWeightLayout(lines, kind, charNames)) {
        kept.ForeignBytes = bytes;
        return true;
    }
    ReadWeightLines(bot, lines, charNames, layout.First, layout.Last, changes);
    // The comments at the top are the file's header, which the editor
    // writes anew, and its author's comments, which go back below it; every
    // other line that no weight uses is kept.
    bot.LeadingComments(kind == WeightFileKind::Weapon ? BotFileKind::Weapon : BotFileKind::Item) =
        LeadingCommentLines(lines);
    std::size_t first = LeadingCommentRange(lines).second;
    const WeightNames names = NamesOfWeights(charNames, layout.First, layout.Last);
    for (std::size_t i = first; i < lines.size(); ++i) {
        std::string trimmed = TrimBlanks(StripTabs(lines[i]));
        if (IsOwnFrameLine(trimmed, layout) || WeightOfLine(trimmed, names)) {
            continue;
        }
        kept.ExtraLines.push_back(lines[i]);
    }
    return false;
}

void ReportForeignWeights(Messages& messages, const std::string& file)
{
    messages.Inform(file +
                        " uses a weight layout that Tarnwell does not edit; it is kept as it is.",
                    ForeignWeightsTitle);
}

namespace {

Result<> ReadWeightFile(Bot& bot,
                        WeightFileKind kind,
                        const std::filesystem::path& folder,
                        const std::string& fileName,
                        const char* what,
                        const std::string& name,
                        const CharCatalogue& charNames,
                        Messages& messages)
{
    BotFileBytes file = ReadBotFileBytes(folder, fileName, what, name, messages);
    if (!file.Outcome) {
        return file.Outcome;
    }
    std::vector<std::string> changes;
    if (ReadWeightFileBytes(bot, kind, file.Bytes, charNames, &changes)) {
        ReportForeignWeights(messages, file.Path.string());
    }
    ReportChangedValues(messages, file.Path.string(), changes);
    return file.Outcome;
}

} // namespace

Result<> ReadWeaponFile(Bot& bot,
                        const std::filesystem::path& folder,
                        const std::string& name,
                        const CharCatalogue& charNames,
                        Messages& messages)
{
    return ReadWeightFile(bot,
                          WeightFileKind::Weapon,
                          folder,
                          name + "_w.c",
                          "weapon weight",
                          name,
                          charNames,
                          messages);
}

Result<> ReadItemFile(Bot& bot,
                      const std::filesystem::path& folder,
                      const std::string& name,
                      const CharCatalogue& charNames,
                      Messages& messages)
{
    return ReadWeightFile(
        bot, WeightFileKind::Item, folder, name + "_i.c", "item weight", name, charNames, messages);
}

} // namespace twl
