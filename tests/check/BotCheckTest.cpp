// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/BotCheck.h"

#include "check/BotCheckSources.h"
#include "cli/Cli.h"
#include "services/BotFileSet.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <sys/stat.h>

namespace twl {

// For the messages of failed expectations.
std::ostream& operator<<(std::ostream& out, const Finding& finding)
{
    return out << finding.File << ':' << finding.Line << ": " << SeverityName(finding.Level) << ": "
               << finding.Text;
}

namespace {

using test::FreshCatalogues;

bool SameFinding(const Finding& a, const Finding& b)
{
    return a.Level == b.Level && a.File == b.File && a.Line == b.Line && a.Text == b.Text;
}

Bot PresetBot(bool average)
{
    Bot bot;
    std::mt19937 random;
    if (average) {
        ApplyAveragePreset(bot, FreshCatalogues().Chat, random);
    } else {
        ApplyZeroPreset(bot);
    }
    return bot;
}

// The five files of a preset bot named "Bot", written flat into `folder`.
void WriteBot(const std::filesystem::path& folder, bool average)
{
    Settings settings;
    test::ScriptedMessages messages;
    ASSERT_TRUE(SaveBotFileSet(
        PresetBot(average), folder, false, false, FreshCatalogues(), settings, messages));
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    test::WriteBytes(path, bytes);
}

// One file that breaks one rule: a line of a preset bot's file replaced.
struct RuleCase
{
    const char* Name;
    bool Average;     // the preset the bot starts from
    const char* File; // which of its files
    std::string LineContains;
    int Occurrence; // which line that contains it (0 the first)
    int Offset;     // the line this far below is replaced
    std::string NewLine;
    Severity Level;
    bool WholeFile;        // the finding is for the file, line 0
    std::string Says;      // empty: the game takes the line as it is, nothing is found
    int ReportedAbove = 0; // the finding stands this many lines above the change
};

class CheckRule : public ::testing::TestWithParam<RuleCase>
{};

TEST_P(CheckRule, FindsExactlyTheBrokenRule)
{
    const RuleCase& rule = GetParam();
    test::TempFolder folder;
    WriteBot(folder.Path(), rule.Average);
    std::vector<Finding> before = CheckPath(folder.Path(), FreshCatalogues()).Findings;

    std::filesystem::path path = folder / rule.File;
    std::vector<std::string> lines = SplitLines(test::ReadBytes(path));
    int seen = 0;
    std::size_t changed = lines.size();
    for (std::size_t i = 0; i < lines.size() && changed == lines.size(); ++i) {
        if (lines[i].find(rule.LineContains) != std::string::npos && seen++ == rule.Occurrence) {
            changed = i + static_cast<std::size_t>(rule.Offset);
        }
    }
    ASSERT_LT(changed, lines.size()) << rule.LineContains;
    lines[changed] = rule.NewLine;
    WriteLines(path, lines);

    PathCheck after = CheckPath(folder.Path(), FreshCatalogues());
    ASSERT_FALSE(after.Problem) << *after.Problem;
    std::vector<Finding> added;
    for (const Finding& finding : after.Findings) {
        bool old = false;
        for (const Finding& known : before) {
            old = old || SameFinding(known, finding);
        }
        if (!old) {
            added.push_back(finding);
        }
    }
    if (rule.Says.empty()) {
        EXPECT_TRUE(added.empty()) << ::testing::PrintToString(added);
        return;
    }
    ASSERT_EQ(added.size(), 1u) << ::testing::PrintToString(added);
    EXPECT_EQ(added[0].Level, rule.Level) << added[0];
    EXPECT_EQ(added[0].Line,
              rule.WholeFile ? 0 : static_cast<int>(changed) + 1 - rule.ReportedAbove)
        << added[0];
    EXPECT_NE(added[0].Text.find(rule.Says), std::string::npos) << added[0];
    EXPECT_EQ(std::filesystem::path(added[0].File).filename(), rule.File) << added[0];
}

const std::string LongPath =
    "\tCHARACTERISTIC_CHAT_FILE\t\t\t\t\"bots/" + std::string(50, 'x') + "_t.c\"";

INSTANTIATE_TEST_SUITE_P(
    Rules,
    CheckRule,
    ::testing::Values(RuleCase{"UnknownCharacteristic",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_CROUCHER",
                               0,
                               0,
                               "\tCHARACTERISTIC_CROUCH\t1.0",
                               Severity::Error,
                               false,
                               "does not know"},
                      RuleCase{"NumberWithAComma",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_ATTACK_SKILL",
                               0,
                               0,
                               "\tCHARACTERISTIC_ATTACK_SKILL\t0,5",
                               Severity::Error,
                               false,
                               "a comma"},
                      RuleCase{"NumberWithAnExponent",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_AIM_SKILL\t",
                               1,
                               0,
                               "\tCHARACTERISTIC_AIM_SKILL\t5e-1",
                               Severity::Error,
                               false,
                               "an exponent"},
                      RuleCase{"UnknownEscape",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_NAME",
                               0,
                               0,
                               "\tCHARACTERISTIC_NAME\t\"B\\got\"",
                               Severity::Error,
                               false,
                               "cuts the text there"},
                      RuleCase{"TextWithALineBreak",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_GENDER",
                               2,
                               0,
                               "\tCHARACTERISTIC_GENDER\t\"male",
                               Severity::Error,
                               false,
                               "no closing"},
                      RuleCase{"FractionBelowAWholeNumber",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_CAMPER",
                               1,
                               0,
                               "\tCHARACTERISTIC_CAMPER\t1",
                               Severity::Error,
                               false,
                               "unset"},
                      RuleCase{"MissingSkillBlock",
                               true,
                               "bot_c.c",
                               "skill 5",
                               0,
                               0,
                               "skill 6",
                               Severity::Error,
                               true,
                               "no block for skill 5"},
                      RuleCase{"PathTooLong",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_CHAT_FILE",
                               2,
                               0,
                               LongPath,
                               Severity::Error,
                               false,
                               "longer than 54"},
                      RuleCase{"ViewFactorTooSmall",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_VIEW_FACTOR",
                               0,
                               0,
                               "\tCHARACTERISTIC_VIEW_FACTOR\t0.001",
                               Severity::Warning,
                               false,
                               "at least 0.01"},
                      RuleCase{"ViewChangeTooLarge",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_VIEW_MAXCHANGE",
                               1,
                               0,
                               "\tCHARACTERISTIC_VIEW_MAXCHANGE\t2000",
                               Severity::Warning,
                               false,
                               "1800"},
                      RuleCase{"ReactionTimeAboveOne",
                               false,
                               "bot_c.c",
                               "CHARACTERISTIC_REACTIONTIME",
                               0,
                               0,
                               "\tCHARACTERISTIC_REACTIONTIME\t2",
                               Severity::Warning,
                               false,
                               "at most 1"},
                      RuleCase{"TypingSpeed",
                               false,
                               "bot_c.c",
                               "CHARACTERISTIC_CHAT_CPM",
                               0,
                               0,
                               "\tCHARACTERISTIC_CHAT_CPM\t200",
                               Severity::Warning,
                               true,
                               "typing speed"},
                      RuleCase{"AggressionIsNeverRead",
                               false,
                               "bot_c.c",
                               "CHARACTERISTIC_AGGRESSION",
                               2,
                               0,
                               "\tCHARACTERISTIC_AGGRESSION\t0.5",
                               Severity::Warning,
                               true,
                               "never reads CHARACTERISTIC_AGGRESSION"},
                      RuleCase{"WeightMissing",
                               true,
                               "bot_w.c",
                               "#define W_RAILGUN",
                               0,
                               0,
                               "",
                               Severity::Error,
                               true,
                               "W_RAILGUN is not defined"},
                      RuleCase{"ItemWeightMissing",
                               true,
                               "bot_i.c",
                               "#define FLAG_WEIGHT",
                               0,
                               0,
                               "",
                               Severity::Error,
                               true,
                               "FLAG_WEIGHT is not defined"},
                      RuleCase{"NegativeWeight",
                               true,
                               "bot_w.c",
                               "#define W_BFG10K",
                               0,
                               0,
                               "#define W_BFG10K\t\t\t\t-50",
                               Severity::Warning,
                               false,
                               "as 50"},
                      RuleCase{"ChatNameDiffers",
                               true,
                               "bot_t.c",
                               "chat \"bot\"",
                               0,
                               0,
                               "chat \"other\"",
                               Severity::Error,
                               true,
                               "does not add the bot"},
                      RuleCase{"MessageTooLong",
                               true,
                               "bot_t.c",
                               "type \"game_enter\"",
                               0,
                               2,
                               "\t\t\"" + std::string(300, 'a') + "\";",
                               Severity::Error,
                               false,
                               "too long"},
                      RuleCase{"VariableStartsTooLate",
                               true,
                               "bot_t.c",
                               "type \"game_enter\"",
                               0,
                               2,
                               "\t\t\"" + std::string(250, 'a') + "\", 1;",
                               Severity::Error,
                               false,
                               "too long"},
                      RuleCase{"UnreadableMessage",
                               true,
                               "bot_t.c",
                               "type \"game_exit\"",
                               0,
                               2,
                               "\t\t\"Bye\", 1.5;",
                               Severity::Error,
                               false,
                               "cannot read"},
                      RuleCase{"UnknownList",
                               true,
                               "bot_t.c",
                               "type \"level_start\"",
                               0,
                               2,
                               "\t\tNOSUCHLIST;",
                               Severity::Error,
                               false,
                               "no list named NOSUCHLIST"},
                      RuleCase{"ListMemberPastTheEnd",
                               true,
                               "bot_t.c",
                               "type \"level_start\"",
                               0,
                               2,
                               "\t\tLEVEL_START9;",
                               Severity::Error,
                               false,
                               "LEVEL_START9"},
                      RuleCase{"UnknownChatType",
                               true,
                               "bot_t.c",
                               "type \"game_enter\"",
                               0,
                               0,
                               "\ttype \"game_entry\"",
                               Severity::Warning,
                               false,
                               "never asks for the chat type \"game_entry\""},
                      RuleCase{"VariableNotProvided",
                               true,
                               "bot_t.c",
                               "type \"game_enter\"",
                               0,
                               2,
                               "\t\t\"Hi \", 5, \"!\";",
                               Severity::Warning,
                               false,
                               "no variable 5"},
                      RuleCase{"EmptyChatType",
                               true,
                               "bot_t.c",
                               "type \"game_exit\"",
                               0,
                               2,
                               "\t\t\"\";",
                               Severity::Note,
                               false,
                               "never speaks",
                               2},
                      RuleCase{"NameOfAGameBot",
                               true,
                               "bot.bot",
                               "name",
                               0,
                               0,
                               "name\t\tsarge",
                               Severity::Error,
                               false,
                               "own bot Sarge"},
                      RuleCase{"ValueWithASemicolon",
                               true,
                               "bot.bot",
                               "model",
                               0,
                               0,
                               "model\t\tsarge;red",
                               Severity::Error,
                               false,
                               "the game drops it"},
                      RuleCase{"NoAiFile",
                               true,
                               "bot.bot",
                               "aifile",
                               0,
                               0,
                               "",
                               Severity::Error,
                               false,
                               "bot has no aifile specified",
                               3},
                      RuleCase{"AiFileOfAnotherBot",
                               true,
                               "bot.bot",
                               "aifile",
                               0,
                               0,
                               "aifile\tbots/other_c.c",
                               Severity::Error,
                               false,
                               "cannot find bots/other_c.c, which aifile names"},
                      RuleCase{"AiFileInOtherCase",
                               true,
                               "bot.bot",
                               "aifile",
                               0,
                               0,
                               "aifile\tbots/Bot_c.c",
                               Severity::Error,
                               false,
                               "case-sensitive"},
                      RuleCase{"GivenTwiceInABlock",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_CROUCHER",
                               1,
                               0,
                               "\tCHARACTERISTIC_ATTACK_SKILL\t0.2",
                               Severity::Error,
                               false,
                               "CHARACTERISTIC_ATTACK_SKILL is given a second time"},
                      RuleCase{"MinusBeforeAValue",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_AIM_SKILL\t",
                               2,
                               0,
                               "\tCHARACTERISTIC_AIM_SKILL\t-0.5",
                               Severity::Error,
                               false,
                               "default bot for skill 5"},
                      RuleCase{
                          "IncludeNotFound",
                          true,
                          "bot_c.c",
                          "#include",
                          0,
                          0,
                          "#include \"nosuch.h\"",
                          Severity::Error,
                          false,
                          "reads nothing after it and uses its default bot for skills 1, 4 and 5"},
                      RuleCase{"OctalNumber",
                               false,
                               "bot_c.c",
                               "CHARACTERISTIC_VIEW_MAXCHANGE",
                               0,
                               0,
                               "\tCHARACTERISTIC_VIEW_MAXCHANGE\t010",
                               Severity::Warning,
                               false,
                               "reads 010 as 8"},
                      RuleCase{"PointAtTheEnd",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_CAMPER",
                               2,
                               0,
                               "\tCHARACTERISTIC_CAMPER\t1.",
                               Severity::Warning,
                               false,
                               "reads 1. as -3.8"},
                      RuleCase{"TextWhereTheGameReadsANumber",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_ATTACK_SKILL",
                               1,
                               0,
                               "\tCHARACTERISTIC_ATTACK_SKILL\t\"0.5\"",
                               Severity::Error,
                               false,
                               "characteristic 2 is not a float"},
                      RuleCase{"NumberWhereTheGameReadsAText",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_GENDER",
                               0,
                               0,
                               "\tCHARACTERISTIC_GENDER\t1",
                               Severity::Error,
                               false,
                               "characteristic 1 is not a string"},
                      RuleCase{"KnownToTheGamesCharacteristics",
                               true,
                               "bot_c.c",
                               "CHARACTERISTIC_CROUCHER",
                               0,
                               0,
                               "\tCHARACTERISTIC_WALKER\t\t0.5",
                               Severity::Note,
                               false,
                               "",
                               -1},
                      RuleCase{"VariableOutOfRange",
                               true,
                               "bot_t.c",
                               "type \"game_enter\"",
                               0,
                               2,
                               "\t\t\"Hi \", 9, \"!\";",
                               Severity::Error,
                               false,
                               "variable 9 out of range"},
                      RuleCase{"VariableWithoutValue",
                               true,
                               "bot_t.c",
                               "type \"game_enter\"",
                               0,
                               2,
                               "\t\t\"Hi \", 2, \"!\";",
                               Severity::Warning,
                               false,
                               "says \"[invalid var]\""},
                      RuleCase{"UnknownEscapeInAMessage",
                               true,
                               "bot_t.c",
                               "type \"game_exit\"",
                               0,
                               2,
                               "\t\t\"Bye\\q now\";",
                               Severity::Error,
                               false,
                               "cuts the text there"},
                      RuleCase{"ByteOver127InAName",
                               true,
                               "bot.bot",
                               "name",
                               0,
                               0,
                               "name\t\tB\xE9"
                               "b\xE9",
                               Severity::Error,
                               false,
                               "takes it for a blank"},
                      RuleCase{"ScriptTooLarge",
                               true,
                               "bot.bot",
                               "{",
                               0,
                               0,
                               "{ //" + std::string(8200, 'x'),
                               Severity::Error,
                               true,
                               "at most 8191"}),
    [](const ::testing::TestParamInfo<RuleCase>& param) { return std::string(param.param.Name); });

// What is checked in memory is what "Make bot files" writes: the same
// findings on disk and in memory. "All zeros" weighs every weapon 0, so the
// game never picks one.
TEST(CheckBot, PresetBotsAreCheckedTheSameOnDiskAndInMemory)
{
    for (bool average : {false, true}) {
        test::TempFolder folder;
        WriteBot(folder.Path(), average);
        PathCheck check = CheckPath(folder.Path(), FreshCatalogues());
        EXPECT_EQ(check.Bots, 1u);
        std::vector<Finding> errors;
        for (const Finding& finding : check.Findings) {
            if (finding.Level == Severity::Error) {
                errors.push_back(finding);
            }
        }
        ASSERT_EQ(errors.size(), average ? 0u : 1u) << ::testing::PrintToString(check.Findings);
        if (!average) {
            EXPECT_NE(errors[0].Text.find("weapon number out of range"), std::string::npos);
        }
        std::vector<Finding> inMemory =
            CheckBotAsMade(PresetBot(average), FreshCatalogues(), Settings());
        ASSERT_EQ(inMemory.size(), check.Findings.size());
        for (std::size_t i = 0; i < inMemory.size(); ++i) {
            EXPECT_EQ(inMemory[i].Level, check.Findings[i].Level) << inMemory[i];
            EXPECT_EQ(inMemory[i].Line, check.Findings[i].Line) << inMemory[i];
            EXPECT_EQ(inMemory[i].Text, check.Findings[i].Text) << inMemory[i];
        }
    }
}

// A weight file of another layout is written back byte for byte; the
// check reads those bytes, not weights made anew.
TEST(CheckBot, AKeptWeightFileIsCheckedAsItIsWritten)
{
    Bot bot = PresetBot(true);
    bot.KeptWeights(WeightFileKind::Weapon).ForeignBytes =
        "#include \"inv.h\"\r\n#define W_SHOTGUN 5\r\n#include \"fw_weap.c\"\r\n";
    std::vector<Finding> findings = CheckBotAsMade(bot, FreshCatalogues(), Settings());
    std::string all = ::testing::PrintToString(findings);
    EXPECT_NE(all.find("bot_w.c:0: error: the weight W_GAUNTLET is not defined"), std::string::npos)
        << all;
    EXPECT_EQ(all.find("bot_w.c:0: error: the weight W_SHOTGUN"), std::string::npos) << all;
}

TEST(CheckBot, FindingsInMemoryNameThePlaceInTheEditor)
{
    Bot bot = PresetBot(true);
    bot.SetBotChat(3, 1, std::string(260, 'a'));
    bot.SetBotPara(Para::OfSkill(4, 6), Value(2000.0));
    std::vector<Finding> findings = CheckBotAsMade(bot, FreshCatalogues(), Settings());
    bool chatFound = false;
    bool viewFound = false;
    for (const Finding& finding : findings) {
        if (finding.Level == Severity::Error &&
            finding.Text.find("too long") != std::string::npos) {
            chatFound = true;
            EXPECT_EQ(finding.Place.ChatGroup, 3);
            EXPECT_EQ(finding.Place.ChatLine, 1);
            EXPECT_EQ(finding.File, "bot_t.c");
        }
        if (finding.Text.find("1800") != std::string::npos) {
            viewFound = true;
            EXPECT_EQ(finding.Place.Parameter, 406);
        }
    }
    EXPECT_TRUE(chatFound);
    EXPECT_TRUE(viewFound);
}

TEST(CheckBot, LooseFileInAnotherCaseIsAnError)
{
    test::TempFolder folder;
    WriteBot(folder.Path(), false);
    std::filesystem::rename(folder / "bot_w.c", folder / "Bot_w.c");
    PathCheck check = CheckPath(folder.Path(), FreshCatalogues());
    ASSERT_EQ(CountFindings(check.Findings, Severity::Error), 1u);
    for (const Finding& finding : check.Findings) {
        if (finding.Level == Severity::Error) {
            EXPECT_NE(finding.Text.find("the file is Bot_w.c"), std::string::npos) << finding;
            EXPECT_EQ(finding.Place.Parameter, Para::WeaponFile);
        }
    }
}

TEST(CheckBot, FixtureBotsAreCheckedWithWhatTheyBreak)
{
    PathCheck sarge = CheckPath(test::FixturePath("handwritten/input"), FreshCatalogues());
    EXPECT_EQ(sarge.Bots, 1u);
    std::string all = ::testing::PrintToString(sarge.Findings);
    // CHARACTERISTIC_WALKER is one of the game's (48); only whole numbers
    // above fractions between two blocks are lost.
    EXPECT_EQ(all.find("WALKER"), std::string::npos) << all;
    EXPECT_NE(
        all.find("sarge_c.c:43: error: CHARACTERISTIC_ATTACK_SKILL is a whole number in skill 5 "
                 "but a fraction in skill 4"),
        std::string::npos)
        << all;
    EXPECT_NE(all.find("sarge.bot:2: error: the game has its own bot Sarge"), std::string::npos);

    PathCheck tank = CheckPath(test::FixturePath("zeros-tankjr/expected"), FreshCatalogues());
    EXPECT_EQ(tank.Bots, 1u) << "found in the game's layout";
    EXPECT_EQ(CountFindings(tank.Findings, Severity::Note), 28u)
        << "every chat type the game asks for is empty";
    EXPECT_EQ(CountFindings(tank.Findings, Severity::Error), 2u)
        << "TankJr is a game bot, its weapons weigh 0";
}

TEST(CheckArchive, EntriesTheGameCannotUseAreErrors)
{
    test::TempFolder folder;
    test::TempFolder made;
    WriteBot(made.Path(), true);
    std::vector<test::RawZipEntry> entries;
    for (const char* file : {"bot_c.c", "bot_w.c", "bot_i.c", "bot_t.c"}) {
        entries.push_back({std::string("botfiles/bots/") + file, test::ReadBytes(made / file)});
    }
    entries.push_back({"scripts/bot.bot", test::ReadBytes(made / "bot.bot")});
    test::WriteBytes(folder / "clean.pk3", test::MakeStoredZip(entries));
    entries.push_back({"scripts/bots.txt", "// no bot\r\n"});
    entries.push_back({"models\\players\\x\\icon_y.tga", "x"});
    test::WriteBytes(folder / "broken.pk3", test::MakeStoredZip(entries));
    test::WriteBytes(folder / "nozip.pk3", "not a zip");

    PathCheck clean = CheckPath(folder / "clean.pk3", FreshCatalogues());
    EXPECT_EQ(clean.Bots, 1u);
    EXPECT_EQ(CountFindings(clean.Findings, Severity::Error), 0u);

    PathCheck broken = CheckPath(folder / "broken.pk3", FreshCatalogues());
    ASSERT_EQ(CountFindings(broken.Findings, Severity::Error), 2u);
    std::string all = ::testing::PrintToString(broken.Findings);
    EXPECT_NE(all.find("broken.pk3/scripts/bots.txt:0: error: a scripts/bots.txt replaces"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("icon_y.tga:0: error: the entry name holds \\"), std::string::npos) << all;

    EXPECT_TRUE(CheckPath(folder / "nozip.pk3", FreshCatalogues()).Problem);
    EXPECT_TRUE(CheckPath(folder / "missing", FreshCatalogues()).Problem);
    EXPECT_TRUE(CheckPath(made / "bot.bot", FreshCatalogues()).Problem);
}

// However many bytes an archive's entries claim, the check reads at most
// its budget out of it, and says where it stopped.
TEST(CheckArchive, ReadsNoMoreThanItsBudget)
{
    test::TempFolder folder;
    test::TempFolder made;
    WriteBot(made.Path(), true);
    std::string charFile = test::ReadBytes(made / "bot_c.c");
    std::vector<test::RawZipEntry> entries;
    for (const char* file : {"bot_w.c", "bot_i.c", "bot_t.c"}) {
        entries.push_back({std::string("botfiles/bots/") + file, test::ReadBytes(made / file)});
    }
    for (int i = 0; i < 40; ++i) {
        entries.push_back({"botfiles/bots/b" + std::to_string(i) + "_c.c", charFile});
    }
    test::WriteBytes(folder / "many.pk3", test::MakeStoredZip(entries));
    PathCheck whole = CheckPath(folder / "many.pk3", FreshCatalogues());
    EXPECT_EQ(whole.Bots, 40u);
    std::uint64_t budget = 10 * charFile.size();
    PathCheck cut = CheckPath(folder / "many.pk3", FreshCatalogues(), budget);
    EXPECT_LT(cut.Bots, 11u);
    ASSERT_FALSE(cut.Findings.empty());
    EXPECT_EQ(cut.Findings.back().Text,
              "the archive's entries hold more than " + std::to_string(budget) +
                  " bytes of bot files to read: the check stops there, and the bots after it are "
                  "not checked");
}

TEST(CliCheck, PrintsFindingsAsBuildToolsDoAndExitsByThem)
{
    test::TempFolder folder;
    WriteBot(folder.Path(), true);
    std::string settings = (folder / "settings").string();
    auto run = [&](std::vector<std::string> arguments, std::string& out) {
        std::ostringstream outStream;
        std::ostringstream errStream;
        int status = RunCli(arguments, outStream, errStream);
        out = outStream.str() + errStream.str();
        return status;
    };
    std::string out;
    EXPECT_EQ(run({"check", "--settings", settings, folder.Path().string()}, out), ExitSuccess);
    EXPECT_NE(out.find("bot_c.c:21: warning: the game uses a reaction time of at most 1 second\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("1 bot checked: 0 errors, 8 warnings, 0 notes\n"), std::string::npos) << out;
    EXPECT_EQ(run({"check", "--strict", "--settings", settings, folder.Path().string()}, out),
              ExitFailure);

    test::WriteBytes(folder / "bot.bot", "{\r\nname\t\tBot\r\n}\r\n");
    EXPECT_EQ(run({"check", "--settings", settings, (folder / "bot_c.c").string()}, out),
              ExitFailure);
    EXPECT_NE(out.find("bot.bot:1: error: the bot has no aifile"), std::string::npos) << out;

    EXPECT_EQ(run({"check", "--settings", settings, (folder / "nothing").string()}, out),
              ExitFailure);
    EXPECT_EQ(run({"check"}, out), ExitUsage);

    // What is there instead of a file is named, never "does not exist".
    ASSERT_EQ(::mkfifo((folder / "fifo_c.c").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "zero_c.c");
    std::filesystem::create_symlink(folder / "gone", folder / "gone_c.c");
    const std::pair<const char*, const char*> others[] = {
        {"fifo_c.c", " is not a regular file (a FIFO), so it is not read"},
        {"zero_c.c", " is not a regular file (a device), so it is not read"},
        {"gone_c.c", " is a link to something that is not there"},
        {"nothing", " cannot be read: No such file or directory"},
    };
    for (const auto& [name, said] : others) {
        EXPECT_EQ(run({"check", "--settings", settings, (folder / name).string()}, out),
                  ExitFailure);
        EXPECT_NE(out.find((folder / name).string() + said), std::string::npos) << out;
    }

    // A name from an archive cannot forge a line of its own nor reach the
    // terminal as an escape.
    std::string forged = "botfiles/bots/x\nforged_c.c:1: error: \x1b[2Jx_c.c";
    test::WriteBytes(folder / "odd.pk3",
                     test::MakeStoredZip({{forged, test::ReadBytes(folder / "bot_c.c")}}));
    run({"check", "--settings", settings, (folder / "odd.pk3").string()}, out);
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
    EXPECT_EQ(out.find("\nforged"), std::string::npos) << out;
    // (the game's names are compared in lower case)
    EXPECT_NE(out.find("x\\x0Aforged_c.c:1: error: \\x1B[2jx_c.c:21: warning"), std::string::npos)
        << out;
}

} // namespace
} // namespace twl
