#include "session/BotCheck.h"

#include "botfiles/CharFile.h"
#include "botfiles/ChatFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "chat/ChatLength.h"
#include "core/CharCatalogue.h"
#include "core/TextCase.h"

#include <array>
#include <cctype>
#include <map>
#include <set>

namespace twl {

namespace {

constexpr int ViewFactor = 5;
constexpr int ViewMaxChange = 6;
constexpr int ReactionTime = 7;
constexpr int GrappleUser = 11;
constexpr int Aggression = 12;
constexpr int SelfPreservation = 13;
constexpr int Vengefulness = 14;
constexpr int TypingSpeed = 31;
constexpr int LastCharacteristic = 43;
// The game builds "botfiles/" + the path in a buffer of 64 bytes.
constexpr std::size_t MaxBotFilePath = 54;
// The game reads a bot script into a buffer of 8192 bytes with its end mark.
constexpr std::size_t MaxScriptBytes = 8191;

const std::array<int, 3> Levels = {1, 4, 5};

std::string Trimmed(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The line without a "//" comment that stands outside quotes.
std::string WithoutComment(const std::string& line)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && quoted) {
            ++i;
        } else if (line[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && line.compare(i, 2, "//") == 0) {
            return line.substr(0, i);
        }
    }
    return line;
}

bool IsNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

class Report
{
public:
    explicit Report(std::vector<Finding>& findings)
        : m_findings(findings)
    {}

    void
    Add(Severity level, const CheckedFile& file, int line, std::string text, CheckPlace place = {})
    {
        m_findings.push_back({level, file.Shown, line, std::move(text), place});
    }

private:
    std::vector<Finding>& m_findings;
};

CheckPlace ParameterPlace(int parameter)
{
    CheckPlace place;
    place.Parameter = parameter;
    return place;
}

// A value of the characteristic file as the game's parser takes it.
struct CharValue
{
    std::string Name; // the characteristic's identifier
    int Line = 0;
    bool IsText = false;
    bool IsFraction = false; // a number with a point: the game's float
    double Number = 0;
    std::string Text;
};

// What the characteristic file holds, by level and characteristic number.
struct CharFileContent
{
    std::map<int, std::map<int, CharValue>> Levels;
};

// Reads one value as the game's tokeniser does; a problem is reported and
// gives nothing.
std::optional<CharValue> ReadCharValue(const std::string& text,
                                       int lineNumber,
                                       const CheckedFile& file,
                                       int level,
                                       int parameter,
                                       Report& report)
{
    CharValue value;
    value.Line = lineNumber;
    std::string lost = "; the game cannot read skill " + std::to_string(level) +
                       " and uses its default bot for that skill";
    CheckPlace place = ParameterPlace(parameter);
    if (!text.empty() && text[0] == '"') {
        value.IsText = true;
        std::size_t i = 1;
        for (; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] == '\\') {
                char next = i + 1 < text.size() ? text[i + 1] : '\0';
                if (std::string("\\nrtvbfa'\"?x0123456789").find(next) == std::string::npos ||
                    next == '\0') {
                    report.Add(Severity::Error,
                               file,
                               lineNumber,
                               std::string("the text holds the escape '\\") + next +
                                   "', which the game does not know: it cuts the text there",
                               place);
                }
                ++i;
                continue;
            }
            value.Text += text[i];
        }
        if (i >= text.size()) {
            report.Add(Severity::Error,
                       file,
                       lineNumber,
                       "the text has no closing '\"' on its line" + lost,
                       place);
            return std::nullopt;
        }
        if (!Trimmed(text.substr(i + 1)).empty()) {
            report.Add(
                Severity::Error, file, lineNumber, "something follows the text" + lost, place);
            return std::nullopt;
        }
        return value;
    }
    std::size_t end = 0;
    while (end < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[end])) != 0 || text[end] == '.')) {
        ++end;
    }
    std::string number = text.substr(0, end);
    std::string rest = Trimmed(text.substr(end));
    if (number.empty() || number == ".") {
        std::string shown = text.empty() ? std::string("nothing") : "'" + text + "'";
        report.Add(Severity::Error,
                   file,
                   lineNumber,
                   "the value is " + shown + ", not a number or a text in quotes" + lost,
                   place);
        return std::nullopt;
    }
    if (!rest.empty()) {
        std::string why = rest[0] == ',' ? "a comma, which the game does not read"
                          : (rest[0] == 'e' || rest[0] == 'E')
                              ? "an exponent, which the game does not read"
                              : "'" + rest + "' after it";
        report.Add(Severity::Error,
                   file,
                   lineNumber,
                   "the number " + number + rest + " has " + why + lost,
                   place);
        return std::nullopt;
    }
    value.IsFraction = number.find('.') != std::string::npos;
    value.Number = std::strtod(number.c_str(), nullptr);
    return value;
}

CharFileContent
ReadCharFileForCheck(const CheckedFile& file, const CharCatalogue& charNames, Report& report)
{
    std::map<std::string, int> numbers;
    for (int g = 0; g < CharCatalogueSize; ++g) {
        std::string identifier = CharIdentifier(charNames[static_cast<std::size_t>(g)]);
        if ((g <= LastCharacteristic || g >= Para::ChatFile) && !identifier.empty()) {
            numbers.emplace(identifier, g);
        }
    }

    CharFileContent content;
    int level = 0;
    bool inBlock = false;
    for (std::size_t i = 0; i < file.Lines.size(); ++i) {
        int lineNumber = static_cast<int>(i) + 1;
        std::string line = Trimmed(WithoutComment(file.Lines[i]));
        if (line.empty() || line.rfind("#", 0) == 0) {
            continue;
        }
        if (line.rfind("skill", 0) == 0 && !inBlock) {
            level = std::atoi(line.c_str() + 5);
            content.Levels[level];
            continue;
        }
        if (line == "{") {
            inBlock = true;
            continue;
        }
        if (line == "}") {
            inBlock = false;
            continue;
        }
        if (!inBlock) {
            continue;
        }
        std::size_t nameEnd = 0;
        while (nameEnd < line.size() && IsNameCharacter(line[nameEnd])) {
            ++nameEnd;
        }
        std::string name = line.substr(0, nameEnd);
        auto known = numbers.find(name);
        if (known == numbers.end()) {
            report.Add(Severity::Error,
                       file,
                       lineNumber,
                       "the game does not know the characteristic '" + name +
                           "'; it cannot read skill " + std::to_string(level) +
                           " and uses its default bot for that skill");
            continue;
        }
        int g = known->second;
        int parameter =
            g >= Para::FirstSkillChar && g <= Para::LastSkillChar ? Para::OfSkill(level, g) : g;
        if (std::optional<CharValue> value = ReadCharValue(
                Trimmed(line.substr(nameEnd)), lineNumber, file, level, parameter, report)) {
            value->Name = name;
            content.Levels[level][g] = *value;
        }
    }
    return content;
}

void CheckCharValues(const CharFileContent& content, const CheckedFile& file, Report& report)
{
    for (int level : Levels) {
        if (content.Levels.count(level) == 0) {
            report.Add(Severity::Error,
                       file,
                       0,
                       "there is no block for skill " + std::to_string(level) +
                           ": the game silently uses its default bot for that skill");
        }
    }
    // Between two levels the game interpolates only two fractions; a fraction
    // below a whole number leaves the characteristic unset in between.
    for (std::size_t k = 0; k + 1 < Levels.size(); ++k) {
        auto lower = content.Levels.find(Levels[k]);
        auto higher = content.Levels.find(Levels[k + 1]);
        if (lower == content.Levels.end() || higher == content.Levels.end()) {
            continue;
        }
        for (const auto& [g, value] : higher->second) {
            auto below = lower->second.find(g);
            if (g > Para::LastSkillChar || value.IsText || value.IsFraction ||
                below == lower->second.end() || !below->second.IsFraction) {
                continue;
            }
            report.Add(Severity::Error,
                       file,
                       value.Line,
                       "skill " + std::to_string(Levels[k + 1]) + " is a whole number but skill " +
                           std::to_string(Levels[k]) +
                           " a fraction: the game leaves this characteristic unset for the skills "
                           "in between (write the whole number with a point, such as 2.0)",
                       ParameterPlace(Para::OfSkill(Levels[k + 1], g)));
        }
    }
}

void CheckCharSettings(const CharFileContent& content, const CheckedFile& file, Report& report)
{
    auto warn = [&](const CharValue& value, int parameter, const std::string& text) {
        report.Add(Severity::Warning, file, value.Line, text, ParameterPlace(parameter));
    };
    for (const auto& [level, values] : content.Levels) {
        for (const auto& [g, value] : values) {
            if (value.IsText) {
                if ((g == Para::ChatFile || g == Para::WeaponFile || g == Para::ItemFile) &&
                    value.Text.size() > MaxBotFilePath) {
                    report.Add(Severity::Error,
                               file,
                               value.Line,
                               "the path " + value.Text + " is longer than " +
                                   std::to_string(MaxBotFilePath) +
                                   " characters: the game cuts it and cannot open the file",
                               ParameterPlace(g));
                }
                continue;
            }
            int parameter = g <= Para::LastSkillChar ? Para::OfSkill(level, g) : g;
            if (g == ReactionTime && value.Number > 1) {
                warn(value, parameter, "the game uses a reaction time of at most 1 second");
            } else if (g == ViewFactor && value.Number < 0.01) {
                warn(value, parameter, "the game uses a view factor of at least 0.01");
            } else if (g == ViewMaxChange && (value.Number < 1 || value.Number > 1800)) {
                warn(value, parameter, "the game keeps the view change between 1 and 1800");
            } else if ((g == GrappleUser || g == Aggression || g == SelfPreservation ||
                        g == Vengefulness) &&
                       value.Number != 0) {
                warn(value, parameter, "the game never reads " + value.Name);
            } else if (g == TypingSpeed && value.Number != 0 &&
                       level == content.Levels.begin()->first) {
                warn(value, parameter, "the game does not use the typing speed");
            }
        }
    }
}

// The text of characteristic g in the first block that has it.
std::string CharText(const CharFileContent& content, int g)
{
    for (const auto& [level, values] : content.Levels) {
        auto found = values.find(g);
        if (found != values.end() && found->second.IsText) {
            return found->second.Text;
        }
    }
    return {};
}

void CheckWeightFile(
    const CheckedFile& file, const CharCatalogue& charNames, int first, int last, Report& report)
{
    std::map<std::string, int> defined;
    for (std::size_t i = 0; i < file.Lines.size(); ++i) {
        std::string line = Trimmed(WithoutComment(file.Lines[i]));
        if (line.rfind("#define", 0) != 0) {
            continue;
        }
        std::string rest = Trimmed(line.substr(7));
        std::size_t nameEnd = 0;
        while (nameEnd < rest.size() && IsNameCharacter(rest[nameEnd])) {
            ++nameEnd;
        }
        std::string name = rest.substr(0, nameEnd);
        defined[name] = static_cast<int>(i) + 1;
        std::string value = Trimmed(rest.substr(nameEnd));
        if (!value.empty() && value[0] == '-') {
            int parameter = -1;
            for (int g = first; g <= last; ++g) {
                if (CharIdentifier(charNames[static_cast<std::size_t>(g)]) == "#define " + name) {
                    parameter = g;
                }
            }
            report.Add(Severity::Warning,
                       file,
                       static_cast<int>(i) + 1,
                       "the game takes the weight " + value + " as " + Trimmed(value.substr(1)),
                       ParameterPlace(parameter));
        }
    }
    for (int g = first; g <= last; ++g) {
        std::string identifier = CharIdentifier(charNames[static_cast<std::size_t>(g)]);
        std::string name = Trimmed(identifier.substr(7));
        if (defined.count(name) == 0) {
            report.Add(Severity::Error,
                       file,
                       0,
                       "the weight " + name +
                           " is not defined: the game's weight templates need it and the whole "
                           "file fails",
                       ParameterPlace(g));
        }
    }
}

// The list names a message may use: the word lists and the members of the
// chat lists.
bool IsKnownListName(const std::string& name, const ChatCatalogue& chat)
{
    for (const ChatEntry& word : chat.WordLists) {
        if (name == word.FileName) {
            return true;
        }
    }
    for (const ChatEntry& list : chat.ChatLists) {
        if (name.compare(0, list.FileName.size(), list.FileName) != 0) {
            continue;
        }
        std::string member = name.substr(list.FileName.size());
        if (member.empty() && list.BareZero) {
            return true;
        }
        if (!member.empty() && member.size() <= 3 &&
            member.find_first_not_of("0123456789") == std::string::npos &&
            std::stoi(member) <= list.MaxIndex) {
            return true;
        }
    }
    return false;
}

std::set<unsigned long long> VariablesOf(std::size_t chatType, const ChatCatalogue& chat)
{
    std::set<unsigned long long> digits;
    for (int p : PointerSet(chatType)) {
        const std::string& text = chat.ChatPointers[static_cast<std::size_t>(p)].FileName;
        digits.insert(static_cast<unsigned long long>(text[3] - '0'));
    }
    return digits;
}

std::string QuotedValue(const std::string& line, std::size_t from)
{
    std::size_t open = line.find('"', from);
    if (open == std::string::npos) {
        return Trimmed(line.substr(from));
    }
    std::size_t close = line.find('"', open + 1);
    return line.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
}

void CheckChatFile(const CheckedFile& file,
                   const std::string& chatName,
                   const ChatCatalogue& chat,
                   Report& report)
{
    bool named = false;
    constexpr std::size_t NoType = ~std::size_t{0};
    std::size_t type = NoType;
    bool knownType = false;
    int typeLine = 0;
    int messages = 0;
    int spoken = 0;
    auto closeType = [&] {
        if (type != NoType && knownType && spoken == 0) {
            CheckPlace place;
            place.ChatGroup = static_cast<int>(type);
            report.Add(Severity::Note,
                       file,
                       typeLine,
                       "chat type " + chat.ChatTypes[type].FileName +
                           " has no message: the bot never speaks there",
                       place);
        }
        type = NoType;
    };
    for (std::size_t i = 0; i < file.Lines.size(); ++i) {
        int lineNumber = static_cast<int>(i) + 1;
        std::string line = Trimmed(WithoutComment(file.Lines[i]));
        if (line.empty() || line[0] == '#' || line == "{") {
            continue;
        }
        if (!named && line.rfind("chat", 0) == 0 && line.size() > 4 && !IsNameCharacter(line[4])) {
            named = true;
            std::string name = QuotedValue(line, 4);
            if (!chatName.empty() && LowerCase(name) != LowerCase(chatName)) {
                report.Add(Severity::Error,
                           file,
                           lineNumber,
                           "the chat is named \"" + name +
                               "\" but the characteristic file asks for \"" + chatName +
                               "\": the game does not find it and drops the bot",
                           ParameterPlace(Para::Name));
            }
            continue;
        }
        if (line.rfind("type", 0) == 0 && line.size() > 4 && !IsNameCharacter(line[4])) {
            closeType();
            std::string name = QuotedValue(line, 4);
            type = ChatTypeCount;
            knownType = false;
            typeLine = lineNumber;
            messages = 0;
            spoken = 0;
            for (std::size_t t = 0; t < ChatTypeCount; ++t) {
                if (chat.ChatTypes[t].FileName == name) {
                    type = t;
                    knownType = true;
                }
            }
            if (!knownType) {
                report.Add(Severity::Warning,
                           file,
                           lineNumber,
                           "the game has no chat type \"" + name +
                               "\": these messages are never used");
            }
            continue;
        }
        if (line == "}") {
            closeType();
            continue;
        }
        if (type == NoType) {
            continue;
        }
        CheckPlace place;
        if (knownType) {
            place.ChatGroup = static_cast<int>(type);
            place.ChatLine = messages;
        }
        ++messages;
        ChatMessageLength counted = GameChatLengthOfFileLine(line);
        if (counted.Length > 0 || !counted.ListNames.empty()) {
            ++spoken;
        }
        if (counted.Problem) {
            report.Add(Severity::Error,
                       file,
                       lineNumber,
                       "the game cannot read this message (" + *counted.Problem +
                           ") and drops the whole chat file",
                       place);
        }
        if (!counted.Fits) {
            report.Add(Severity::Error,
                       file,
                       lineNumber,
                       "the message is too long: " + std::to_string(counted.Length) +
                           " characters as the game stores it, at most " +
                           std::to_string(MaxChatMessageLength) +
                           " (and a variable or list name must start by character " +
                           std::to_string(LastItemStart) + "); the game drops the whole chat file",
                       place);
        }
        for (const std::string& name : counted.ListNames) {
            if (!IsKnownListName(name, chat)) {
                report.Add(Severity::Error,
                           file,
                           lineNumber,
                           "the game has no list named " + name +
                               ": the bot prints an error instead of this message",
                           place);
            }
        }
        if (knownType) {
            std::set<unsigned long long> provided = VariablesOf(type, chat);
            for (unsigned long long variable : counted.Variables) {
                if (provided.count(variable) == 0) {
                    report.Add(Severity::Warning,
                               file,
                               lineNumber,
                               "chat type " + chat.ChatTypes[type].FileName +
                                   " provides no variable " + std::to_string(variable) +
                                   ": it says nothing useful",
                               place);
                }
            }
        }
    }
    if (!named) {
        report.Add(Severity::Error,
                   file,
                   0,
                   "the file holds no chat \"" + chatName +
                       "\": the game does not find the chat and drops the bot");
    }
}

void CheckScript(const CheckedFile& file,
                 const std::string& charGamePath,
                 bool caseSensitive,
                 const BotList& bots,
                 Report& report)
{
    if (file.Bytes > MaxScriptBytes) {
        report.Add(Severity::Error,
                   file,
                   0,
                   "the script has " + std::to_string(file.Bytes) +
                       " bytes; the game reads at most " + std::to_string(MaxScriptBytes) +
                       " and ignores the file");
    }
    const std::map<std::string, int> places = {{"name", Para::Name},
                                               {"model", Para::Model},
                                               {"funname", Para::FunName},
                                               {"color", Para::RailColor},
                                               {"arenalord", Para::ArenaLord}};
    bool hasAiFile = false;
    for (std::size_t i = 0; i < file.Lines.size(); ++i) {
        int lineNumber = static_cast<int>(i) + 1;
        std::string line = Trimmed(WithoutComment(file.Lines[i]));
        if (line.empty() || line == "{" || line == "}") {
            continue;
        }
        std::size_t keyEnd = line.find_first_of(" \t");
        std::string key = LowerCase(line.substr(0, keyEnd));
        std::string value =
            keyEnd == std::string::npos ? std::string() : Trimmed(line.substr(keyEnd));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        auto place = places.find(key);
        CheckPlace where = ParameterPlace(place != places.end() ? place->second : -1);
        if (value.find_first_of("\\;\"") != std::string::npos) {
            report.Add(Severity::Error,
                       file,
                       lineNumber,
                       "the " + key + " holds \\, ; or \": the game drops such a value",
                       where);
        }
        if (key == "name") {
            for (const BotListEntry& entry : bots) {
                if (entry.IsOriginal && LowerCase(entry.Name) == LowerCase(value)) {
                    report.Add(Severity::Error,
                               file,
                               lineNumber,
                               "the game has its own bot " + entry.Name +
                                   " and finds it first: addbot " + value + " gets the original",
                               where);
                    break;
                }
            }
        } else if (key == "aifile") {
            hasAiFile = true;
            bool same =
                caseSensitive ? value == charGamePath : LowerCase(value) == LowerCase(charGamePath);
            if (!same) {
                std::string why = LowerCase(value) == LowerCase(charGamePath)
                                      ? ": the game's loose files are case-sensitive"
                                      : "";
                report.Add(Severity::Error,
                           file,
                           lineNumber,
                           "aifile names " + value + ", but the characteristic file is " +
                               charGamePath + why,
                           where);
            }
        }
    }
    if (!hasAiFile) {
        report.Add(Severity::Error,
                   file,
                   0,
                   "the script has no aifile: the game cannot find the bot's characteristic file");
    }
}

} // namespace

std::vector<Finding> CheckBotSet(const BotSetToCheck& set, const Catalogues& catalogues)
{
    std::vector<Finding> findings;
    Report report(findings);
    CharFileContent content = ReadCharFileForCheck(set.Char, catalogues.CharNames, report);
    CheckCharValues(content, set.Char, report);
    CheckCharSettings(content, set.Char, report);

    auto follow = [&](int g, auto check) {
        std::string path = CharText(content, g);
        if (path.empty()) {
            // What a file leaves out comes from the game's default bot.
            report.Add(Severity::Warning,
                       set.Char,
                       0,
                       "the file names no " +
                           CharIdentifier(catalogues.CharNames[static_cast<std::size_t>(g)]) +
                           ": the game takes the one of its default bot",
                       ParameterPlace(g));
            return;
        }
        LookedUpFile found = set.Lookup(path);
        if (found.CaseProblem) {
            report.Add(Severity::Error, set.Char, 0, *found.CaseProblem, ParameterPlace(g));
        }
        if (!found.File) {
            if (!found.CaseProblem) {
                report.Add(Severity::Error,
                           set.Char,
                           0,
                           "the game cannot find " + path + ", which this file names",
                           ParameterPlace(g));
            }
            return;
        }
        check(*found.File);
    };
    const CharCatalogue& names = catalogues.CharNames;
    follow(Para::WeaponFile, [&](const CheckedFile& file) {
        CheckWeightFile(file, names, Para::FirstBotValue + 13, Para::FirstBotValue + 22, report);
    });
    follow(Para::ItemFile, [&](const CheckedFile& file) {
        CheckWeightFile(file, names, Para::FirstBotValue + 23, Para::LastBotValue, report);
    });
    std::string chatName = CharText(content, Para::LowerName);
    follow(Para::ChatFile, [&](const CheckedFile& file) {
        CheckChatFile(file, chatName, catalogues.Chat, report);
    });
    if (set.Script) {
        CheckScript(*set.Script, set.CharGamePath, set.CaseSensitive, catalogues.Bots, report);
    }
    return findings;
}

std::vector<Finding>
CheckBot(const Bot& bot, const Catalogues& catalogues, const Settings& settings)
{
    auto file = [](const std::string& name, std::vector<std::string> lines) {
        CheckedFile made;
        made.Shown = name;
        for (const std::string& line : lines) {
            made.Bytes += line.size() + 2;
        }
        made.Lines = std::move(lines);
        return made;
    };
    std::string charName = bot.BotPara(Para::CharFile).ToText();
    std::map<std::string, CheckedFile> files;
    files.emplace("bots/" + bot.BotPara(Para::WeaponFile).ToText(),
                  file(bot.BotPara(Para::WeaponFile).ToText(),
                       WeaponFileLines(bot, catalogues.CharNames, settings)));
    files.emplace("bots/" + bot.BotPara(Para::ItemFile).ToText(),
                  file(bot.BotPara(Para::ItemFile).ToText(),
                       ItemFileLines(bot, catalogues.CharNames, settings)));
    files.emplace(
        "bots/" + bot.BotPara(Para::ChatFile).ToText(),
        file(bot.BotPara(Para::ChatFile).ToText(), ChatFileLines(bot, catalogues.Chat, settings)));

    BotSetToCheck set;
    set.Char = file(charName, CharFileLines(bot, catalogues.CharNames, settings));
    set.CharGamePath = "bots/" + charName;
    set.Script = file(bot.BotPara(Para::ScriptFile).ToText(), ScriptFileLines(bot, settings));
    set.Lookup = [&files](const std::string& path) {
        LookedUpFile found;
        auto known = files.find(path);
        if (known != files.end()) {
            found.File = known->second;
        }
        return found;
    };
    return CheckBotSet(set, catalogues);
}

std::size_t CountFindings(const std::vector<Finding>& findings, Severity level)
{
    std::size_t count = 0;
    for (const Finding& finding : findings) {
        count += finding.Level == level ? 1 : 0;
    }
    return count;
}

const char* SeverityName(Severity level)
{
    switch (level) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        return "note";
    }
    return "error";
}

} // namespace twl
