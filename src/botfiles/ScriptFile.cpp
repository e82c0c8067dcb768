// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/ScriptFile.h"

#include "botfiles/BotFileReading.h"
#include "botfiles/FileHeader.h"
#include "catalog/Models.h"
#include "core/BotName.h"
#include "core/TextCase.h"
#include "core/Trim.h"
#include "core/ValueFormat.h"

namespace twl {

namespace {

struct GameBotScript
{
    const char* Name;
    const char* Model; // nullptr: the bot's own name
    const char* Skin;
    const char* FunName; // nullptr: none
    bool ArenaLord;
};

const GameBotScript GameBotScripts[] = {
    {"Anarki", "Anarki", "Default", "^1A^2n^3a^4r^5k^6i", true},
    {"Cadavre", "Biker", "Cadavre", nullptr, false},
    {"Hossman", "Biker", "Hossman", nullptr, false},
    {"Patriot", "Razor", "Patriot", nullptr, false},
    {"Angel", "Lucy", "Angel", nullptr, false},
    {"Daemia", "Major", "Daemia", nullptr, false},
    {"Gorre", "Visor", "Gorre", nullptr, false},
    {"Phobos", "Doom", "Phobos", nullptr, false},
    {"Stripe", "Grunt", "Stripe", nullptr, false},
    {"Wrack", "Ranger", "Wrack", nullptr, false},
    {"Sarge", nullptr, "Default", nullptr, true},
    {"Hunter", nullptr, "Default", nullptr, true},
    {"Uriel", nullptr, "Default", nullptr, true},
    {"Xaero", nullptr, "Default", nullptr, true},
    {"Klesk", nullptr, "Default", nullptr, true},
};

void ApplyGameBotScript(Bot& bot, const std::string& name)
{
    for (const GameBotScript& row : GameBotScripts) {
        if (name == row.Name) {
            bot.SetBotPara(Para::Model, Value(row.Model ? row.Model : row.Name));
            bot.SetBotPara(Para::Skin, Value(row.Skin));
            if (row.FunName) {
                bot.SetBotPara(Para::FunName, Value(row.FunName));
            }
            if (row.ArenaLord) {
                bot.SetBotPara(Para::ArenaLord, Value(std::int16_t{1}));
            }
            return;
        }
    }
    bot.SetBotPara(Para::Model, Value(name));
    bot.SetBotPara(Para::Skin, Value("Default"));
}

} // namespace

std::vector<std::string> ScriptFileLines(const Bot& bot, const Settings& settings)
{
    std::vector<std::string> lines = FileHeaderLines(bot, settings, BotFileKind::Script);
    lines.push_back("");
    lines.push_back("{");
    lines.push_back("name\t\t" + bot.BotPara(Para::Name).ToText());
    std::string model = "model\t\t" + LowerCaseName(bot.BotPara(Para::Model).ToText());
    std::string skin = bot.BotPara(Para::Skin).ToText();
    if (LowerCase(skin) != "default") {
        model += "/" + LowerCaseName(skin);
    }
    lines.push_back(model);
    std::string funName = bot.BotPara(Para::FunName).ToText();
    if (!funName.empty()) {
        lines.push_back("funname\t" + StoredFunName(funName));
    }
    Value railColor = bot.BotPara(Para::RailColor);
    if (!(railColor.IsText() && railColor.AsText() == "None")) {
        lines.push_back("color\t\t" + railColor.ToText());
    }
    lines.push_back("aifile\tbots/" + bot.BotPara(Para::CharFile).ToText());
    if (bot.BotPara(Para::ArenaLord).ToNumber() == 1.0) {
        lines.push_back("arenaLord\t1");
    }
    lines.push_back("}");
    return lines;
}

void ReadScriptLines(Bot& bot, const std::vector<std::string>& lines)
{
    bot.LeadingComments(BotFileKind::Script) = LeadingCommentLines(lines);
    for (const std::string& raw : lines) {
        std::string line = TrimLeadingBlanks(raw);
        if (line.empty() || line == "{" || line == "}" || line.rfind("//", 0) == 0) {
            continue;
        }
        std::size_t keyEnd = line.find_first_of(" \t");
        std::string key = LowerCase(line.substr(0, keyEnd));
        std::string value = keyEnd == std::string::npos
                                ? std::string()
                                : TrimBlanks(StripTabs(line.substr(keyEnd)));
        if (key == "funname") {
            bot.SetBotPara(Para::FunName, Value(ParseValue(value).ToText()));
        } else if (key == "color") {
            bot.SetBotPara(Para::RailColor, Value(value));
        } else if (key == "model") {
            std::size_t slash = value.find('/');
            if (slash != std::string::npos) {
                bot.SetBotPara(Para::Model, Value(RemoveSpaces(value.substr(0, slash))));
                bot.SetBotPara(Para::Skin, Value(RemoveSpaces(value.substr(slash + 1))));
            } else {
                bot.SetBotPara(Para::Model, Value(RemoveSpaces(value)));
                bot.SetBotPara(Para::Skin, Value("default"));
            }
        } else if (key == "arenalord") {
            std::optional<std::int16_t> flag = ToInt16(Value(value));
            bot.SetBotPara(Para::ArenaLord, Value(flag.value_or(std::int16_t{0})));
        }
    }
}

void ApplyBotInfo(Bot& bot, const BotInfo& info)
{
    bot.SetBotPara(Para::FunName, Value(""));
    bot.SetBotPara(Para::RailColor, Value("None"));
    if (std::string name = info.Value("name"); !name.empty()) {
        bot.SetBotPara(Para::Name, Value(name));
    }
    if (std::string model = info.Value("model"); !model.empty()) {
        auto [modelName, skin] = ModelAndSkin(model);
        bot.SetBotPara(Para::Model, Value(modelName));
        bot.SetBotPara(Para::Skin, Value(skin));
    }
    bot.SetBotPara(Para::FunName, Value(info.Value("funname")));
    std::string colour = info.Value("color1");
    if (colour.empty()) {
        colour = info.Value("color");
    }
    if (colour.size() == 1 && colour[0] >= '0' && colour[0] <= '7') {
        bot.SetBotPara(Para::RailColor, Value(static_cast<std::int16_t>(colour[0] - '0')));
    }
    std::string gender = LowerCase(info.Value("gender"));
    if (gender == "male" || gender == "female") {
        bot.SetBotPara(Para::Gender, Value(gender));
    } else if (gender == "neuter" || gender == "it") {
        bot.SetBotPara(Para::Gender, Value("it"));
    }
    if (std::string lord = info.Value("arenalord"); !lord.empty()) {
        std::optional<std::int16_t> flag = ToInt16(Value(lord));
        bot.SetBotPara(Para::ArenaLord, Value(flag.value_or(std::int16_t{0})));
    }
}

Result<> ReadScriptFile(Bot& bot,
                        const std::filesystem::path& folder,
                        const std::string& name,
                        const BotList& bots,
                        Messages& messages)
{
    bot.SetBotPara(Para::FunName, Value(""));
    bot.SetBotPara(Para::RailColor, Value("None"));
    BotFileBytes file = ReadBotFileBytes(folder, name + ".bot", "bot", name, messages);
    if (!file.Outcome) {
        ScriptDefaults(bot, bots);
        return file.Outcome;
    }
    ReadScriptLines(bot, SplitTextLines(file.Bytes));
    return file.Outcome;
}

void ScriptDefaults(Bot& bot, const BotList& bots)
{
    bot.SetBotPara(Para::FunName, Value(""));
    bot.SetBotPara(Para::RailColor, Value("None"));
    bot.SetBotPara(Para::Model, Value("Sarge"));
    bot.SetBotPara(Para::Skin, Value("Default"));
    std::string name = bot.BotPara(Para::Name).ToText();
    for (const BotListEntry& entry : bots) {
        if (entry.IsOriginal && entry.Name == name) {
            ApplyGameBotScript(bot, name);
        }
    }
}

} // namespace twl
