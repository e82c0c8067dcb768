// SPDX-License-Identifier: GPL-3.0-or-later
// The real engine and "Check bot" judge the same broken bots: each must
// say what the game does. Needs OpenArena's dedicated server (Debian
// package openarena-server); skipped without it.

#include "check/BotCheckSources.h"
#include "core/TextCase.h"
#include "engine/TryInGame.h"
#include "game/OpenArenaGame.h"
#include "services/Presets.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

namespace twl {
namespace {

using test::OpenArenaCatalogues;

// What the game makes of a bot, and what the check must say: nothing,
// a warning, an error.
enum class Judgement
{
    Works,      // silent, and the bot does what its files say
    Misbehaves, // it loads, but does otherwise (the engine warns, or shows it)
    Refuses     // the engine prints an error, or drops a part of the bot
};

const char* JudgementName(Judgement judgement)
{
    switch (judgement) {
    case Judgement::Works:
        return "works";
    case Judgement::Misbehaves:
        return "misbehaves";
    case Judgement::Refuses:
        return "refuses";
    }
    return "";
}

// What the engine shows of a bot where it prints nothing about it.
struct Sign
{
    enum class Kind
    {
        None,
        Value,     // characteristic Index at skill 2 as the engine holds it is Text
        Negative,  // characteristic Index at skill 2 is below 0
        Unset,     // characteristic Index at skill 2 is not set
        Message,   // the chat type Text built the message Said
        NoMessage, // the chat type Text has no message
        RunLine    // the engine printed Text during the match
    };
    Kind What = Kind::None;
    int Index = 0;
    std::string Text;
    std::string Said;
};

// One "Average" bot with one edit: the line of `File` that starts (after
// its indent) with `Start`, its `Occurrence`-th, or the line `Offset`
// below it, replaced by `Put` (with `Block`, it and the lines up to its
// "}" taken out; without `Start` the file is left out).
struct EngineCase
{
    const char* Name;
    const char* File; // "_c.c", "_w.c", "_i.c", "_t.c", ".bot"
    std::string Start;
    int Occurrence;
    int Offset;
    std::vector<std::string> Put;
    Judgement Expected;
    Sign Shows;
    bool Block = false;
    std::string AddAs; // the name addbot is given, when not the bot's
};

using K = Sign::Kind;
const auto Works = Judgement::Works;
const auto Misbehaves = Judgement::Misbehaves;
const auto Refuses = Judgement::Refuses;

std::string Weights(const std::string& value)
{
    std::string lines;
    for (const char* name : {"GTW",
                             "SGW",
                             "MGW",
                             "GLW",
                             "RLW",
                             "RGW",
                             "BFW",
                             "LGW",
                             "PGW",
                             "GRW",
                             "NGW",
                             "PXW",
                             "CGW"}) {
        lines += std::string("#define ") + name + " " + value + "\n";
    }
    return lines;
}

EngineCase Row(const char* name,
               const char* file,
               std::string start,
               int occurrence,
               int offset,
               std::vector<std::string> put,
               Judgement expected,
               Sign shows = {},
               bool block = false,
               std::string addAs = {})
{
    return {name,
            file,
            std::move(start),
            occurrence,
            offset,
            std::move(put),
            expected,
            std::move(shows),
            block,
            std::move(addAs)};
}

// The cases, those that only a match shows first (a match takes the first
// bots that fit on its level).
const std::vector<EngineCase>& Cases()
{
    static const std::vector<EngineCase> cases = {
        Row("Quotedattack",
            "_c.c",
            "CHARACTERISTIC_ATTACK_SKILL",
            0,
            0,
            {"\tCHARACTERISTIC_ATTACK_SKILL \"0.5\""},
            Refuses,
            {K::RunLine, 0, "characteristic 2 is not a float", ""}),
        Row("Noweaponweight",
            "_w.c",
            "#include \"fw_weap.c\"",
            0,
            0,
            {"#undef W_GAUNTLET",
             "#define W_GAUNTLET 0",
             "#undef W_MACHINEGUN",
             "#define W_MACHINEGUN 0",
             "#undef W_SHOTGUN",
             "#define W_SHOTGUN 0",
             "#include \"fw_weap.c\""},
            Refuses,
            {K::RunLine, 0, "weapon number out of range", ""}),
        Row("Plain", "_c.c", "", 0, 0, {}, Works, {}),
        Row("Twice",
            "_c.c",
            "CHARACTERISTIC_ATTACK_SKILL",
            1,
            0,
            {"\tCHARACTERISTIC_ATTACK_SKILL 0", "\tCHARACTERISTIC_ATTACK_SKILL 0.3"},
            Refuses,
            {}),
        Row("Quotedwalker",
            "_c.c",
            "CHARACTERISTIC_CROUCHER",
            0,
            0,
            {"\tCHARACTERISTIC_CROUCHER 0", "\tCHARACTERISTIC_WALKER \"0.5\""},
            Refuses,
            {}),
        Row("Walker",
            "_c.c",
            "CHARACTERISTIC_CROUCHER",
            0,
            0,
            {"\tCHARACTERISTIC_CROUCHER 0", "\tCHARACTERISTIC_WALKER 0.5"},
            Works,
            {}),
        Row("Defined",
            "_c.c",
            "CHARACTERISTIC_AIM_SKILL\t",
            0,
            0,
            {"#define STEADY 0.4", "\tCHARACTERISTIC_AIM_SKILL STEADY"},
            Works,
            {}),
        Row("Hexadecimal",
            "_c.c",
            "CHARACTERISTIC_VIEW_MAXCHANGE",
            0,
            0,
            {"\tCHARACTERISTIC_VIEW_MAXCHANGE 0x10"},
            Works,
            {}),
        Row("Octal",
            "_c.c",
            "CHARACTERISTIC_VIEW_MAXCHANGE",
            0,
            0,
            {"\tCHARACTERISTIC_VIEW_MAXCHANGE 010"},
            Misbehaves,
            {K::Value, 5, "8", ""}),
        Row("Pointend",
            "_c.c",
            "CHARACTERISTIC_CAMPER",
            0,
            0,
            {"\tCHARACTERISTIC_CAMPER 1."},
            Misbehaves,
            {K::Negative, 44, "", ""}),
        Row("Fraction",
            "_c.c",
            "CHARACTERISTIC_CAMPER",
            1,
            0,
            {"\tCHARACTERISTIC_CAMPER 1"},
            Refuses,
            {K::Unset, 44, "", ""}),
        Row("Unknownname",
            "_c.c",
            "CHARACTERISTIC_CROUCHER",
            1,
            0,
            {"\tCHARACTERISTIC_CROUCH 1.0"},
            Refuses,
            {}),
        Row("Comma",
            "_c.c",
            "CHARACTERISTIC_ATTACK_SKILL",
            0,
            0,
            {"\tCHARACTERISTIC_ATTACK_SKILL 0,5"},
            Refuses,
            {}),
        Row("Exponent",
            "_c.c",
            "CHARACTERISTIC_AIM_SKILL\t",
            1,
            0,
            {"\tCHARACTERISTIC_AIM_SKILL 5e-1"},
            Refuses,
            {}),
        Row("Minus",
            "_c.c",
            "CHARACTERISTIC_AIM_SKILL\t",
            2,
            0,
            {"\tCHARACTERISTIC_AIM_SKILL -0.5"},
            Refuses,
            {}),
        Row("Escapename",
            "_c.c",
            "CHARACTERISTIC_NAME",
            0,
            0,
            {"\tCHARACTERISTIC_NAME \"Esc\\gape\""},
            Refuses,
            {}),
        Row("Openquote",
            "_c.c",
            "CHARACTERISTIC_GENDER",
            2,
            0,
            {"\tCHARACTERISTIC_GENDER \"male"},
            Refuses,
            {}),
        Row("Nofour", "_c.c", "skill 4", 0, 0, {}, Refuses, {}, true),
        Row("Longpath",
            "_c.c",
            "CHARACTERISTIC_CHAT_FILE",
            0,
            0,
            {"\tCHARACTERISTIC_CHAT_FILE \"bots/" + std::string(50, 'x') + "_t.c\""},
            Refuses,
            {}),
        Row("Beyond", "_c.c", "CHARACTERISTIC_AIM_SKILL\t", 0, 0, {"\t99 0.5"}, Refuses, {}),
        Row("Junk", "_c.c", "#include", 0, 0, {"#include \"chars.h\"", "junk"}, Refuses, {}),
        Row("Included",
            "_c.c",
            "#include",
            0,
            0,
            {"#include \"chars.h\"", "#include \"nosuch.h\""},
            Refuses,
            {}),
        Row("Numbergender",
            "_c.c",
            "CHARACTERISTIC_GENDER",
            0,
            0,
            {"\tCHARACTERISTIC_GENDER 1"},
            Refuses,
            {}),
        Row("Chatname",
            "_c.c",
            "CHARACTERISTIC_CHAT_NAME",
            0,
            0,
            {"\tCHARACTERISTIC_CHAT_NAME \"other\""},
            Refuses,
            {}),
        Row("Noweapons", "_w.c", "", 0, 0, {}, Refuses, {}),
        Row("Undefined", "_w.c", "#define W_RAILGUN", 0, 0, {}, Refuses, {}),
        Row("Negative",
            "_w.c",
            "#define W_BFG10K",
            0,
            0,
            {"#define W_BFG10K\t\t-50"},
            Misbehaves,
            {}),
        // The game's own layout: the template fuzw.c, included directly.
        Row("Ownlayout",
            "_w.c",
            "#include \"fw_weap.c\"",
            0,
            0,
            {Weights("40") + "#include \"fuzw.c\""},
            Works,
            {}),
        Row("Longline",
            "_t.c",
            "type \"game_enter\"",
            0,
            2,
            {"\t\t\"" + std::string(300, 'x') + "\";"},
            Refuses,
            {}),
        Row("Unknownlist",
            "_t.c",
            "type \"game_enter\"",
            0,
            2,
            {"\t\t\"hello \", NO_SUCH_LIST, \"!\";"},
            Refuses,
            {}),
        Row("Gamelist",
            "_t.c",
            "type \"game_enter\"",
            0,
            2,
            {"\t\t\"hello \", peeps, \"!\";"},
            Works,
            {}),
        Row("Component", "_t.c", "type \"game_enter\"", 0, 2, {"\t\t\"x\", 1.5;"}, Refuses, {}),
        Row("Varnine",
            "_t.c",
            "type \"game_enter\"",
            0,
            2,
            {"\t\t\"hello \", 9, \"!\";"},
            Refuses,
            {}),
        Row("Novariable",
            "_t.c",
            "type \"game_enter\"",
            0,
            2,
            {"\t\t\"hello \", 5, \"!\";"},
            Misbehaves,
            {K::Message, 0, "game_enter", "hello !"}),
        Row("Escapechat",
            "_t.c",
            "type \"game_enter\"",
            0,
            2,
            {"\t\t\"hello\\q there\";"},
            Refuses,
            {}),
        Row("Knownescape",
            "_t.c",
            "type \"game_enter\"",
            0,
            2,
            {"\t\t\"hello\\tthere\";"},
            Works,
            {}),
        Row("Chattype",
            "_t.c",
            "type \"game_enter\"",
            0,
            0,
            {"\ttype \"game_entry\""},
            Misbehaves,
            {K::NoMessage, 0, "game_enter", ""}),
        Row("Nochat", "_t.c", "", 0, 0, {}, Refuses, {}),
        Row("Noaifile", ".bot", "aifile", 0, 0, {}, Refuses, {}),
        Row("Semicolon", ".bot", "name", 0, 0, {"name\t\t\"Semi;colon\""}, Refuses, {}),
        // The name as written, byte for byte, is what addbot is given.
        Row("Highbyte",
            ".bot",
            "name",
            0,
            0,
            {"name\t\tHighbyte\xE9"},
            Refuses,
            {},
            false,
            "Highbyte\xE9"),
        Row("Quotedhigh",
            ".bot",
            "name",
            0,
            0,
            {"name\t\t\"Quotedhigh\xE9\""},
            Works,
            {},
            false,
            "Quotedhigh\xE9"),
        Row("Bigscript", ".bot", "}", 0, 0, {"}", "// " + std::string(9000, 'x')}, Refuses, {}),
        Row("Otheraifile", ".bot", "aifile", 0, 0, {"aifile\tbots/nobody_c.c"}, Refuses, {}),
    };
    return cases;
}

using CheckAgainstEngine = test::GameTest;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(0, line.find('\r')));
    }
    return lines;
}

void Edit(std::string& bytes, const EngineCase& edit)
{
    std::vector<std::string> lines = SplitLines(bytes);
    int seen = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::size_t first = lines[i].find_first_not_of(" \t");
        if (first == std::string::npos ||
            lines[i].compare(first, edit.Start.size(), edit.Start) != 0 ||
            seen++ != edit.Occurrence) {
            continue;
        }
        std::size_t at = i + static_cast<std::size_t>(edit.Offset);
        std::size_t end = at + 1;
        while (edit.Block && lines[end - 1] != "}") {
            ++end;
        }
        lines.erase(lines.begin() + static_cast<long>(at), lines.begin() + static_cast<long>(end));
        lines.insert(lines.begin() + static_cast<long>(at), edit.Put.begin(), edit.Put.end());
        bytes.clear();
        for (const std::string& line : lines) {
            bytes += line + "\r\n";
        }
        return;
    }
    throw std::runtime_error(std::string(edit.Name) + ": no line starts with " + edit.Start);
}

TryBots CaseBots()
{
    TryBots bots;
    for (const EngineCase& edit : Cases()) {
        Bot bot;
        std::mt19937 random(7);
        ApplyAveragePreset(bot, OpenArenaCatalogues().Chat, random);
        bot.SetBotPara(Para::Name, Value(std::string(edit.Name)));
        TryBots one = TryBotsOf(bot, OpenArenaCatalogues(), test::AuthorSettings());
        auto file = std::find_if(one.Files.begin(), one.Files.end(), [&](const TryFile& made) {
            return EndsWith(made.GamePath, edit.File);
        });
        if (edit.Start.empty() && std::string(edit.Name) != "Plain") {
            one.Files.erase(file);
        } else if (!edit.Start.empty()) {
            Edit(*file->Bytes, edit);
        }
        if (!edit.AddAs.empty()) {
            one.Bots[0].Name = edit.AddAs;
        }
        bots.Files.insert(bots.Files.end(), one.Files.begin(), one.Files.end());
        bots.Bots.insert(bots.Bots.end(), one.Bots.begin(), one.Bots.end());
    }
    return bots;
}

const EngineCharacteristic* CharacteristicAt(const SkillVerdict& skill, int index)
{
    for (const EngineCharacteristic& characteristic : skill.Characteristics) {
        if (characteristic.Index == index) {
            return &characteristic;
        }
    }
    return nullptr;
}

// The engine's judgement, and the line that tells it.
std::pair<Judgement, std::string>
EngineJudgement(const EngineCase& edit, const BotVerdict& bot, const TryVerdict& verdict)
{
    std::string told;
    bool refused = false;
    bool warned = false;
    bool shown = false;
    for (const SkillVerdict& skill : bot.Skills) {
        refused = refused || !skill.Entered || skill.UsedDefault();
        for (const Finding& finding : skill.Findings) {
            if (test::IsEngineSlip(finding)) {
                continue; // the engine's own, not the bot's
            }
            refused = refused || finding.Level == Severity::Error;
            if (told.empty() || (finding.Level == Severity::Error && !refused)) {
                told = finding.Text;
            }
            warned = warned || finding.Level == Severity::Warning;
        }
        const Sign& sign = edit.Shows;
        if (skill.Skill == 2) {
            const EngineCharacteristic* value = CharacteristicAt(skill, sign.Index);
            switch (sign.What) {
            case K::Value:
                shown = value != nullptr && value->Value == sign.Text;
                break;
            case K::Negative:
                shown = value != nullptr && std::strtod(value->Value.c_str(), nullptr) < 0;
                break;
            case K::Unset:
                shown = value == nullptr;
                break;
            case K::Message:
                for (const ChatTypeBuilt& chat : skill.Chats) {
                    shown = shown || (chat.Type == sign.Text &&
                                      chat.Messages == std::vector<std::string>{sign.Said});
                }
                break;
            case K::NoMessage:
                // The engine names only the types it finds lines of.
                shown = std::none_of(
                    skill.Chats.begin(), skill.Chats.end(), [&](const ChatTypeBuilt& chat) {
                        return chat.Type == sign.Text && chat.Lines > 0;
                    });
                break;
            default:
                break;
            }
            if (shown) {
                told = sign.What == K::Unset
                           ? "characteristic " + std::to_string(sign.Index) + " unset"
                       : sign.What == K::Message ? "says \"" + sign.Said + "\""
                       : sign.What == K::NoMessage
                           ? sign.Text + " has no message"
                           : "characteristic " + std::to_string(sign.Index) + " is " +
                                 (value ? value->Value : "");
            }
        }
    }
    if (edit.Shows.What == K::RunLine) {
        for (const Finding& finding : verdict.Findings) {
            if (finding.Text == edit.Shows.Text) {
                refused = true;
                told = "in the match: " + finding.Text;
            }
        }
    }
    if (refused || (shown && edit.Shows.What == K::Unset)) {
        return {Judgement::Refuses, told};
    }
    return {warned || shown ? Judgement::Misbehaves : Judgement::Works, told};
}

// What the check says of each bot beyond what it says of the plain one:
// findings by the bot's file stem, without their line (an edit moves the
// lines below it).
std::map<std::string, std::multiset<std::pair<Severity, std::string>>>
FindingsByBot(const std::vector<Finding>& findings)
{
    std::map<std::string, std::multiset<std::pair<Severity, std::string>>> byBot;
    for (const Finding& finding : findings) {
        std::string name = std::filesystem::path(finding.File).filename().string();
        std::string stem = name.substr(0, name.find_first_of("_."));
        std::string text = finding.Text;
        for (const std::string& file : {"/" + stem + "_", "/" + stem + "."}) {
            for (std::size_t at = 0; (at = text.find(file, at)) != std::string::npos;) {
                text.replace(at, file.size(), "/<bot>" + file.substr(file.size() - 1));
            }
        }
        byBot[stem].insert({finding.Level, name.substr(stem.size()) + ": " + text});
    }
    return byBot;
}

std::string Cut(const std::string& text, std::size_t width)
{
    return text.size() <= width ? text : text.substr(0, width - 3) + "...";
}

TEST_F(CheckAgainstEngine, EveryBrokenBotIsJudgedAsTheGameJudgesIt)
{
    TryBots bots = CaseBots();
    ASSERT_GE(bots.Bots.size(), 30u);

    // The check reads the very files the engine gets.
    test::TempFolder folder;
    for (const TryFile& file : bots.Files) {
        std::filesystem::create_directories((folder / file.GamePath).parent_path());
        test::WriteBytes(folder / file.GamePath, *file.Bytes);
    }
    PathCheck check = CheckPath(folder.Path(), OpenArenaCatalogues());
    ASSERT_FALSE(check.Problem) << *check.Problem;
    auto byBot = FindingsByBot(check.Findings);
    const auto& plain = byBot["plain"];

    TryRequest request;
    request.Bots = bots;
    request.Skills = {2, 5};
    request.PlaySeconds = 20;
    request.Game = {test::OpenArena, "baseoa"};
    request.TimeLimit = std::chrono::seconds(120);
    TryVerdict verdict = TryInGame(request);
    ASSERT_EQ(verdict.Result, TryVerdict::Outcome::Done) << verdict.Problem;
    EXPECT_EQ(verdict.Runs, 2) << "one run sets every bot up, one is the match";
    ASSERT_EQ(verdict.Bots.size(), Cases().size());

    std::ostringstream table;
    table << std::left << std::setw(16) << "case" << std::setw(12) << "engine" << std::setw(12)
          << "check" << std::setw(58) << "the engine"
          << "the check\n";
    for (std::size_t i = 0; i < Cases().size(); ++i) {
        const EngineCase& edit = Cases()[i];
        auto [engine, told] = EngineJudgement(edit, verdict.Bots[i], verdict);
        Judgement checked = Judgement::Works;
        std::string said;
        for (const auto& [level, text] : byBot[LowerCase(edit.Name)]) {
            if (plain.count({level, text}) != 0) {
                continue;
            }
            Judgement this_one = level == Severity::Error     ? Judgement::Refuses
                                 : level == Severity::Warning ? Judgement::Misbehaves
                                                              : Judgement::Works;
            if (static_cast<int>(this_one) > static_cast<int>(checked) || said.empty()) {
                said = this_one == Judgement::Works ? said : text;
            }
            checked = std::max(checked, this_one);
        }
        table << std::setw(16) << edit.Name << std::setw(12) << JudgementName(engine)
              << std::setw(12) << JudgementName(checked) << std::setw(58) << Cut(told, 56)
              << Cut(said, 100) << "\n";
        EXPECT_EQ(engine, edit.Expected) << edit.Name << ": the engine " << told;
        EXPECT_EQ(checked, edit.Expected) << edit.Name << ": the check " << said;
    }
    std::cout << table.str();
}

} // namespace
} // namespace twl
