// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/CharFile.h"

#include "botfiles/BotFileReading.h"
#include "botfiles/FileHeader.h"
#include "core/FileLookup.h"
#include "core/TextCase.h"
#include "core/Trim.h"
#include "core/ValueFormat.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace twl {

namespace {

constexpr int CharReactionTime = 7;
constexpr int FirstPerWeaponChar = 18;
constexpr int LastPerWeaponChar = 29;
constexpr int CharFireThrottle = 30;
constexpr int LastChatChar = 43;

bool IsAboveZero(const Value& value)
{
    std::optional<double> number = value.ToNumber();
    return number && *number > 0.0;
}

// The texts of one per-skill characteristic at levels 1, 4 and 5.
std::array<std::string, 3> SkillValueTexts(const Bot& bot, int characteristic)
{
    std::array<std::string, 3> texts;
    std::array<bool, 3> written = {true, true, true};
    for (std::size_t i = 0; i < SkillLevels.size(); ++i) {
        Value value = bot.BotPara(Para::OfSkill(SkillLevels[i], characteristic));
        if (characteristic == CharReactionTime) {
            if (std::optional<double> number = value.ToNumber()) {
                value = Value(*number);
            }
        }
        if (characteristic >= FirstPerWeaponChar) {
            written[i] = IsAboveZero(value);
        }
        texts[i] = FormatValue(value);
        const auto& kept = bot.Skills("S" + std::to_string(SkillLevels[i])).KeptTexts;
        auto text = kept.find(characteristic);
        if (text != kept.end() && text->second.first == value) {
            texts[i] = text->second.second;
        }
    }
    // The game interpolates between two levels only when both are written as
    // real numbers: give whole numbers a ".0" when another level has a point.
    bool anyPoint = false;
    bool anyWhole = false;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!written[i] || !IsNumericText(texts[i])) {
            continue;
        }
        bool hasPoint = texts[i].find('.') != std::string::npos;
        anyPoint = anyPoint || hasPoint;
        anyWhole = anyWhole || !hasPoint;
    }
    if (anyPoint && anyWhole) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (IsNumericText(texts[i]) && texts[i].find('.') == std::string::npos) {
                texts[i] += ".0";
            }
        }
    }
    return texts;
}

// The names of the file names and the chat name, which the file holds but
// the bot derives from its name: known, and never read.
constexpr int DerivedNames[] = {Para::ChatFile, Para::WeaponFile, Para::ItemFile, Para::LowerName};

// True when the line (TABs removed) names the characteristic as a whole name.
bool NamesCharacteristic(const std::string& line, const std::string& identifier, std::size_t& at)
{
    at = line.find(identifier);
    while (at != std::string::npos) {
        std::size_t end = at + identifier.size();
        if (end >= line.size() || !ContinuesName(line[end])) {
            return true;
        }
        at = line.find(identifier, at + 1);
    }
    return false;
}

} // namespace

std::string FormatText(const Value& value)
{
    return "\"" + value.ToText() + "\"";
}

std::vector<std::string>
CharFileLines(const Bot& bot, const CharCatalogue& charNames, const Settings& settings)
{
    std::array<std::array<std::string, 3>, Para::LastSkillChar + 1> skillTexts;
    for (int c = Para::FirstSkillChar; c <= Para::LastSkillChar; ++c) {
        skillTexts[static_cast<std::size_t>(c)] = SkillValueTexts(bot, c);
    }

    std::vector<std::string> lines = FileHeaderLines(bot, settings, BotFileKind::Char);
    lines.push_back("");
    lines.push_back("#include \"chars.h\"");
    for (std::size_t levelSlot = 0; levelSlot < SkillLevels.size(); ++levelSlot) {
        int level = SkillLevels[levelSlot];
        auto line = [&charNames](int index, const std::string& text) {
            return "\t" + charNames[static_cast<std::size_t>(index)] + text;
        };
        auto skillLine = [&](int c) {
            return line(c, skillTexts[static_cast<std::size_t>(c)][levelSlot]);
        };
        auto skillValue = [&](int c) {
            return bot.BotPara(Para::OfSkill(level, c));
        };

        lines.push_back("");
        lines.push_back("skill " + std::to_string(level));
        lines.push_back("{");
        lines.push_back(line(Para::Name, FormatText(bot.BotPara(Para::Name))));
        lines.push_back(line(Para::Gender, FormatText(bot.BotPara(Para::Gender))));
        lines.push_back(skillLine(2));
        lines.push_back(line(Para::WeaponFile,
                             FormatText(Value("bots/" + bot.BotPara(Para::WeaponFile).ToText()))));
        for (int c = 3; c <= CharReactionTime; ++c) {
            lines.push_back(skillLine(c));
        }
        lines.push_back("");
        lines.push_back(line(Para::ChatFile,
                             FormatText(Value("bots/" + bot.BotPara(Para::ChatFile).ToText()))));
        lines.push_back(line(Para::LowerName, FormatText(bot.BotPara(Para::LowerName))));
        const Skill& own = bot.Skills("S" + std::to_string(level));
        for (int index = Para::FirstBotValue; index <= LastChatChar; ++index) {
            auto kept = own.OwnValues.find(index);
            Value value = kept == own.OwnValues.end() ? bot.BotPara(index) : kept->second;
            auto text = own.KeptTexts.find(index);
            if (value.IsEmpty()) {
                continue; // the level's block does not give it
            }
            lines.push_back(line(index,
                                 text != own.KeptTexts.end() && text->second.first == value
                                     ? text->second.second
                                     : FormatValue(value)));
        }
        lines.push_back("");
        for (int c = 8; c <= 11; ++c) {
            lines.push_back(skillLine(c));
        }
        lines.push_back("");
        lines.push_back(line(Para::ItemFile,
                             FormatText(Value("bots/" + bot.BotPara(Para::ItemFile).ToText()))));
        for (int c = 12; c <= 15; ++c) {
            lines.push_back(skillLine(c));
        }
        lines.push_back("");
        for (int c = 16; c <= 17; ++c) {
            lines.push_back(skillLine(c));
        }
        lines.push_back("");
        for (int c = FirstPerWeaponChar; c <= LastPerWeaponChar; ++c) {
            if (IsAboveZero(skillValue(c))) {
                lines.push_back(skillLine(c));
            }
        }
        if (IsAboveZero(skillValue(CharFireThrottle))) {
            lines.push_back("");
            lines.push_back(skillLine(CharFireThrottle));
        }
        const std::vector<std::string>& unknown =
            bot.Skills("S" + std::to_string(level)).UnknownLines;
        if (!unknown.empty()) {
            lines.push_back("");
            lines.insert(lines.end(), unknown.begin(), unknown.end());
        }
        lines.push_back("}");
    }
    return lines;
}

void ReadCharLines(Bot& bot,
                   const std::vector<std::string>& lines,
                   const CharCatalogue& charNames,
                   bool fullLoad,
                   Messages& messages,
                   const std::string& fileName)
{
    std::vector<std::string> changes;
    std::size_t first = fullLoad ? ReadFileHeader(bot, lines) : 0;
    bot.LeadingComments(BotFileKind::Char) = LeadingCommentLines(lines);
    std::array<std::string, LastChatChar + 1> identifiers;
    for (std::size_t g = 0; g < identifiers.size(); ++g) {
        identifiers[g] = CharIdentifier(charNames[g]);
    }
    std::vector<std::string> derived;
    for (int index : DerivedNames) {
        derived.push_back(CharIdentifier(charNames[static_cast<std::size_t>(index)]));
    }
    // What every name looked for begins with ("CHARACTERISTIC_" in the
    // game's files): most lines of a file are looked at no further.
    std::string sharedStart = identifiers[0];
    auto share = [&sharedStart](const std::string& name) {
        std::size_t common = 0;
        while (common < sharedStart.size() && common < name.size() &&
               sharedStart[common] == name[common]) {
            ++common;
        }
        sharedStart.resize(common);
    };
    for (const std::string& identifier : identifiers) {
        share(identifier);
    }
    for (const std::string& name : derived) {
        share(name);
    }
    // A name of letters, digits and "_" (as the game's are) that stands in a
    // line as NamesCharacteristic asks, followed by neither a letter nor "_",
    // is the run of such characters that starts there, or the part of it
    // before one of its digits. So the runs of a line that start as every
    // name starts are looked up among the names, instead of the line being
    // searched for each name. `found` holds, for the line, each name so
    // named (identifiers first, then the derived ones, by number) and where
    // it first stands.
    auto inRun = [](char c) {
        return ContinuesName(c) || (c >= '0' && c <= '9');
    };
    std::unordered_map<std::string_view, std::size_t> numbers;
    bool byRuns = !sharedStart.empty();
    for (std::size_t n = 0; n < identifiers.size() + derived.size(); ++n) {
        const std::string& name =
            n < identifiers.size() ? identifiers[n] : derived[n - identifiers.size()];
        // (Two names alike are searched for as before.)
        byRuns = byRuns && !name.empty() && std::all_of(name.begin(), name.end(), inRun) &&
                 numbers.emplace(name, n).second;
    }
    std::vector<std::pair<std::size_t, std::size_t>> found;
    // The value of each value text, and what ChangedValueText says of it,
    // each made once a text: the levels of a file mostly give the same
    // values.
    std::unordered_map<std::string, Value> parsed;
    auto parsedValue = [&parsed](const std::string& text) {
        auto known = parsed.find(text);
        if (known == parsed.end()) {
            known = parsed.emplace(text, ParseNumberValue(text)).first;
        }
        return known->second;
    };
    std::unordered_map<std::string, std::optional<std::string>> changed;
    auto changedText = [&changed](const std::string& text) {
        auto known = changed.find(text);
        if (known == changed.end()) {
            known = changed.emplace(text, ChangedValueText(text)).first;
        }
        return known->second;
    };
    auto findRuns = [&](const std::string& line) {
        found.clear();
        auto take = [&](std::size_t at, std::size_t end) {
            auto number = numbers.find(std::string_view(line).substr(at, end - at));
            if (number != numbers.end() &&
                std::none_of(found.begin(), found.end(), [&](const auto& name) {
                    return name.first == number->second;
                })) {
                found.emplace_back(number->second, at);
            }
        };
        for (std::size_t at = line.find(sharedStart); at != std::string::npos;
             at = line.find(sharedStart, at + 1)) {
            std::size_t end = at;
            while (end < line.size() && inRun(line[end])) {
                if (end > at && !ContinuesName(line[end])) {
                    take(at, end); // the part before a digit
                }
                ++end;
            }
            take(at, end);
        }
    };
    // NamesCharacteristic of the name of that number, from the runs found.
    auto names = [&](const std::string& line, std::size_t number, std::size_t& at) {
        if (!byRuns) {
            return NamesCharacteristic(line,
                                       number < identifiers.size()
                                           ? identifiers[number]
                                           : derived[number - identifiers.size()],
                                       at);
        }
        for (const auto& [named, where] : found) {
            if (named == number) {
                at = where;
                return true;
            }
        }
        return false;
    };
    for (std::int16_t known : SkillLevels) {
        bot.Skills("S" + std::to_string(known)).UnknownLines.clear();
        bot.Skills("S" + std::to_string(known)).OwnValues.clear();
        bot.Skills("S" + std::to_string(known)).KeptTexts.clear();
    }
    // The bot-wide values each level's block gives, to tell whether they differ.
    std::map<int, std::array<std::optional<Value>, 3>> levelValues;

    // What the file names as the bot's chat file, weight files and chat name.
    std::array<std::optional<std::string>, std::size(DerivedNames)> pointers;

    // No level yet: per-skill lines before the first "skill" line, and the
    // lines of a level the bot does not have, are skipped.
    int level = 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string& raw = lines[i];
        if (IsSkippedBotFileLine(raw)) {
            continue;
        }
        std::string trimmed = TrimLeadingBlanks(raw);
        if (IsSkippedBotFileLine(trimmed)) {
            continue;
        }
        if (trimmed.rfind("skill", 0) == 0) {
            std::optional<std::int16_t> number = ToInt16(Value(trimmed.substr(5)));
            level = 0;
            for (std::int16_t known : SkillLevels) {
                if (number && *number == known) {
                    level = known;
                }
            }
            continue;
        }
        std::string line = StripTabs(raw);
        // A line without what every name begins with names none of them.
        bool known = false;
        if (line.find(sharedStart) == std::string::npos) {
            if (level != 0) {
                bot.Skills("S" + std::to_string(level)).UnknownLines.push_back(raw);
            }
            continue;
        }
        if (byRuns) {
            findRuns(line);
        }
        for (int g = 0; g <= LastChatChar; ++g) {
            const std::string& identifier = identifiers[static_cast<std::size_t>(g)];
            std::size_t at = 0;
            if (!names(line, static_cast<std::size_t>(g), at)) {
                continue;
            }
            if ((g == 3 && line.find("CHARACTERISTIC_AIM_SKILL_") != std::string::npos) ||
                (g == 4 && line.find("CHARACTERISTIC_AIM_ACCURACY_") != std::string::npos)) {
                continue;
            }
            std::string valueText =
                TrimBlanks(WithoutTrailingComment(line.substr(at + identifier.size())));
            Value value = parsedValue(valueText);
            bool numeric = g > Para::Gender && (g <= Para::LastSkillChar ? level != 0 : true);
            // A number the game reads in a way of its own is written plainly,
            // but for one no plain text gives the game: a negative one.
            bool kept = numeric && level != 0 && IsOddNumberText(valueText) &&
                        value.ToNumber().value_or(0.0) < 0.0;
            if (kept) {
                bot.Skills("S" + std::to_string(level)).KeptTexts[g] = {value, valueText};
            }
            if (numeric && !kept) {
                if (std::optional<std::string> written = changedText(valueText)) {
                    changes.push_back(identifier + " " + valueText + " (written as " + *written +
                                      ")");
                }
            }
            if (g <= Para::Gender) {
                if (!fullLoad) {
                    continue;
                }
                std::string text = RemoveSpaces(value.ToText());
                if (g == Para::Name) {
                    // Taken as it is, so the user sees it; a save refuses a
                    // name the game cannot use.
                    bot.SetBotPara(Para::Name, Value(text));
                } else {
                    bot.SetBotPara(Para::Gender, Value(LowerCase(text)));
                }
            } else if (g <= Para::LastSkillChar) {
                if (level != 0) {
                    bot.SetBotPara(Para::OfSkill(level, g), value);
                }
            } else {
                bot.SetBotPara(g, value);
                for (std::size_t slot = 0; slot < SkillLevels.size(); ++slot) {
                    if (SkillLevels[slot] == level) {
                        levelValues[g][slot] = value;
                    }
                }
            }
            known = true;
            break;
        }
        for (std::size_t d = 0; d < derived.size() && !known; ++d) {
            std::size_t at = 0;
            known = names(line, identifiers.size() + d, at);
            if (known && fullLoad) {
                pointers[d] =
                    ParseValue(
                        TrimBlanks(WithoutTrailingComment(line.substr(at + derived[d].size()))))
                        .ToText();
            }
        }
        if (!known && level != 0) {
            bot.Skills("S" + std::to_string(level)).UnknownLines.push_back(raw);
        }
    }
    // A chat file, weight file or chat name of another name than the bot's
    // own stays what the file named: the game loads those (the game's default
    // bot uses another bot's chat and weights).
    for (std::size_t d = 0; d < pointers.size(); ++d) {
        if (!pointers[d]) {
            continue;
        }
        int index = DerivedNames[d];
        std::string named = *pointers[d];
        if (index != Para::LowerName) {
            const char* ending = index == Para::ChatFile     ? "_t.c"
                                 : index == Para::WeaponFile ? "_w.c"
                                                             : "_i.c";
            std::string lower = LowerCase(named);
            std::string file = named.size() > 5 ? named.substr(5) : std::string();
            if (lower.rfind("bots/", 0) != 0 || file.find_first_of("/\\:") != std::string::npos ||
                LowerCase(file).size() <= 4 ||
                LowerCase(file).compare(file.size() - 4, 4, ending) != 0) {
                continue; // another folder or kind of name: the bot's own stands
            }
            named = file;
        } else if (named.empty()) {
            continue;
        }
        if (named != bot.BotPara(index).ToText()) {
            bot.SetBotPara(index, Value(named));
        }
    }
    // Levels that differ keep their own values, so that the game gets each
    // level as the file gave it.
    for (const auto& [g, values] : levelValues) {
        bool same = values[0].has_value();
        for (const std::optional<Value>& value : values) {
            same = same && value && FormatValue(*value) == FormatValue(*values[0]);
        }
        if (same) {
            continue;
        }
        for (std::size_t slot = 0; slot < SkillLevels.size(); ++slot) {
            bot.Skills("S" + std::to_string(SkillLevels[slot])).OwnValues[g] =
                values[slot].value_or(Value());
        }
    }
    ReportChangedValues(messages, fileName, changes);
}

std::optional<std::string> CharFileProblem(std::string_view bytes)
{
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return "it is empty";
    }
    if (bytes.rfind("PK\x03\x04", 0) == 0 || bytes.rfind("PK\x05\x06", 0) == 0) {
        return "it is a zip archive, not a text file";
    }
    if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0) {
        return "it is UTF-16 text, which the game cannot read";
    }
    if (bytes.find('\0') != std::string_view::npos) {
        return "it holds NUL bytes: it is no text file";
    }
    // A line "skill <number>", as the game's blocks begin.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        std::string_view line = bytes.substr(start, end - start);
        std::size_t word = line.find_first_not_of(" \t");
        if (word != std::string_view::npos && line.substr(word, 5) == "skill") {
            std::size_t number = line.find_first_not_of(" \t", word + 5);
            if (number > word + 5 && number != std::string_view::npos && line[number] >= '0' &&
                line[number] <= '9') {
                return std::nullopt;
            }
        }
        start = end + 1;
    }
    return "it has no skill block (\"skill 1\" and its values), so the game finds no "
           "characteristics in it";
}

Result<> ReadCharFile(Bot& bot,
                      const std::filesystem::path& folder,
                      const std::string& name,
                      bool fullLoad,
                      const CharCatalogue& charNames,
                      Messages& messages)
{
    BotFileBytes file = ReadBotFileBytes(folder, name + "_c.c", "characteristics", name, messages);
    if (file.Outcome) {
        if (std::optional<std::string> problem = CharFileProblem(file.Bytes)) {
            ReportUnreadableBotFile(messages, file.Path.string(), *problem);
            return Failure{file.Path, *problem};
        }
        ReadCharLines(
            bot, SplitTextLines(file.Bytes), charNames, fullLoad, messages, file.Path.string());
    }
    return file.Outcome;
}

} // namespace twl
