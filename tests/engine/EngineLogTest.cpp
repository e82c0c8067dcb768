// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineLog.h"

#include "engine/EngineRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace twl {
namespace {

const std::string Home = "/tmp/tarnwell-Ab12Cd/baseoa";
const std::string Pak = "/usr/lib/openarena-server/baseoa/pak6-misc.pk3";

// The verdict in a few lines, every field that is set.
std::string Describe(const TryVerdict& verdict)
{
    std::ostringstream out;
    for (const BotVerdict& bot : verdict.Bots) {
        for (const SkillVerdict& skill : bot.Skills) {
            out << bot.Name << "@" << SkillText(skill.Skill) << (skill.Added ? " added" : "")
                << (skill.Entered ? " entered" : "");
            for (const CharacterLoad& load : skill.Characters) {
                out << " " << SkillText(load.Skill) << (load.Default ? "=default:" : ":")
                    << load.File;
            }
            if (!skill.ItemWeights.empty() || !skill.WeaponWeights.empty()) {
                out << " weights " << skill.ItemWeights << " " << skill.WeaponWeights;
            }
            if (!skill.ChatFile.empty()) {
                out << " chat " << skill.ChatName << " " << skill.ChatFile;
            }
            out << "\n";
            for (const LoadedFile& file : skill.Files) {
                out << "  file " << file.Shown << (file.Tried ? " (tried)" : "") << "\n";
            }
            for (const ChatTypeBuilt& chat : skill.Chats) {
                out << "  chat " << chat.Type << " " << chat.Lines;
                for (const std::string& message : chat.Messages) {
                    out << " [" << message << "]";
                }
                out << " errors " << chat.Errors << "\n";
            }
            for (const Finding& finding : skill.Findings) {
                out << "  " << SeverityName(finding.Level) << " " << finding.File << ":"
                    << finding.Line << " " << finding.Text << "\n";
            }
            for (const EngineCharacteristic& value : skill.Characteristics) {
                out << "  char " << value.Index << "=" << value.Value << "\n";
            }
            const PlayRecord& play = skill.Play;
            if (play.Played) {
                out << "  played " << play.Frags << "/" << play.Deaths << "/" << play.Suicides;
                for (const std::string& said : play.Said) {
                    out << " [" << said << "]";
                }
                out << "\n";
            }
        }
    }
    for (const Finding& finding : verdict.Findings) {
        out << "run " << SeverityName(finding.Level) << " " << finding.File << ":" << finding.Line
            << " " << finding.Text << "\n";
    }
    if (verdict.Result != TryVerdict::Outcome::Done) {
        out << "problem " << verdict.Problem << "\n";
    }
    return out.str();
}

struct LogCase
{
    const char* Name;
    std::vector<std::string> Bots; // each at skill 2, then skill 4.5 when `twoSkills`
    bool TwoSkills;
    bool Match;
    std::vector<std::string> Lines;
    std::string Expected;
};

class EngineLogTest : public testing::TestWithParam<LogCase>
{};

TEST_P(EngineLogTest, ReadsTheEngineLinesIntoTheVerdict)
{
    const LogCase& test = GetParam();
    TryVerdict verdict;
    RunLayout layout;
    layout.Marker = "twl-01";
    layout.Map = "oa_dm1";
    layout.Match = test.Match;
    layout.HomeBase = Home;
    layout.EngineShown = "ioq3ded";
    layout.TriedFiles = {{"botfiles/bots/bob_c.c", "mine/bob_c.c"},
                         {"botfiles/bots/bob_t.c", "mine/bob_t.c"},
                         {"scripts/bob.bot", "mine/bob.bot"}};
    layout.TriedArchives = {{"bot-Ann.pk3", "out/bot-Ann.pk3"}};
    layout.ReadTried = [](const std::string& gamePath) -> std::optional<std::vector<std::string>> {
        if (gamePath != "botfiles/bots/bob_t.c") {
            return std::nullopt;
        }
        return std::vector<std::string>{"chat \"bob\"",
                                        "{",
                                        "\ttype \"game_enter\"",
                                        "\t{",
                                        "\t\t\"hi\";",
                                        "\t\tNO_LIST, \" there\";",
                                        "\t}",
                                        "}"};
    };
    for (std::size_t bot = 0; bot < test.Bots.size(); ++bot) {
        BotVerdict botVerdict;
        botVerdict.Name = test.Bots[bot];
        for (double skill : test.TwoSkills ? std::vector<double>{2, 4.5} : std::vector<double>{2}) {
            SkillVerdict skillVerdict;
            skillVerdict.Skill = skill;
            layout.Sections.push_back({bot,
                                       botVerdict.Skills.size(),
                                       test.Match ? test.Bots[bot] + "@" + SkillText(skill) : ""});
            botVerdict.Skills.push_back(skillVerdict);
        }
        verdict.Bots.push_back(botVerdict);
    }
    EngineLogReader reader(verdict, layout);
    int levelEnds = 0;
    for (const std::string& line : test.Lines) {
        levelEnds += reader.Line(line) == std::optional<int>(0) ? 1 : 0;
    }
    EXPECT_EQ(levelEnds, std::count(test.Lines.begin(), test.Lines.end(), "twl-01 level 0"));
    EXPECT_EQ(Describe(verdict), test.Expected);
}

const std::string FsHome = "' (found in '" + Home + "')";

INSTANTIATE_TEST_SUITE_P(
    Lines,
    EngineLogTest,
    testing::Values(
        LogCase{"OwnFilesEveryChatBuiltDefaultPreloadSkipped",
                {"Bob"},
                false,
                false,
                {"^3!readconfig: ^7could not open admin config file admin.dat",
                 "twl-01 begin 0",
                 "FS_FOpenFileRead: botfiles/bots/default_c.c (found in '" + Pak + "')",
                 "loaded skill 1 from bots/default_c.c",
                 "FS_FOpenFileRead: botfiles/bots/bob_c.c (found in '" + Home + "')",
                 "loaded skill 1 from bots/bob_c.c",
                 "loaded cached skill 4.000000 from bots/default_c.c",
                 "FS_FOpenFileRead: botfiles/bots/bob_c.c (found in '" + Home + "')",
                 "loaded skill 4 from bots/bob_c.c",
                 "loaded bots/bob_i.c",
                 "loaded bots/bob_w.c",
                 "loaded bob from bots/bob_t.c",
                 "game_enter has 2 chat lines",
                 "-------------------",
                 "Hello, ^1red^7 world",
                 "Bye",
                 "game_exit has 1 chat lines",
                 "-------------------",
                 "level_start has 1 chat lines",
                 "-------------------",
                 "Start\x01 now",
                 "ClientUserinfoChanged: 0 n\\Bob\\t\\0",
                 "ClientConnect: 0",
                 "ClientBegin: 0",
                 "twl-01 level 0"},
                "Bob@2 added entered 1:bots/bob_c.c 4:bots/bob_c.c weights bots/bob_i.c "
                "bots/bob_w.c chat bob bots/bob_t.c\n"
                "  file " +
                    Pak +
                    "/botfiles/bots/default_c.c\n"
                    "  file mine/bob_c.c (tried)\n"
                    "  chat game_enter 2 [Hello, red world] [Bye] errors 0\n"
                    "  chat game_exit 1 errors 0\n"
                    "  chat level_start 1 [Start\\x01 now] errors 0\n"},
        LogCase{"ABlockThatFailsLetsTheDefaultBotStandIn",
                {"Bob"},
                false,
                false,
                {"twl-01 begin 0",
                 "loaded cached skill 1.000000 from bots/default_c.c",
                 "^1Error: file bots/bob_c.c, line 16: characteristic 2 already initialized",
                 "^3Warning: couldn't find skill 1 in bots/bob_c.c",
                 "loaded default skill 1 from bots/bob_c.c",
                 "loaded skill 4 from bots/bob_c.c",
                 "FS_FOpenFileRead: botfiles/bots/gargoyle_i.c (found in '" + Pak + "')",
                 "loaded bots/gargoyle_i.c",
                 "loaded bots/gargoyle_w.c",
                 "^1Error: couldn't find chat player in bots/gargoyle_t.c",
                 "^1Fatal: couldn't load chat player from bots/gargoyle_t.c",
                 "broadcast: print \"Bob^7 BotAISetupClient failed\\n\"",
                 "ClientDisconnect: 1",
                 "twl-01 level 0"},
                "Bob@2 added 1=default:bots/bob_c.c 4:bots/bob_c.c weights bots/gargoyle_i.c "
                "bots/gargoyle_w.c\n"
                "  file " +
                    Pak +
                    "/botfiles/bots/gargoyle_i.c\n"
                    "  error mine/bob_c.c:16 characteristic 2 already initialized\n"
                    "  warning mine/bob_c.c:0 couldn't find skill 1 in bots/bob_c.c\n"
                    "  error botfiles/bots/gargoyle_t.c:0 couldn't find chat player in "
                    "bots/gargoyle_t.c\n"
                    "  error botfiles/bots/gargoyle_t.c:0 couldn't load chat player from "
                    "bots/gargoyle_t.c\n"},
        LogCase{"ChatErrorFoundInChatFileArchiveNamesItsEntries",
                {"Bob", "Ann"},
                false,
                false,
                {"twl-01 begin 0",
                 "loaded skill 1 from bots/bob_c.c",
                 "loaded bob from bots/bob_t.c",
                 "game_enter has 2 chat lines",
                 "-------------------",
                 "hi",
                 "^1Error: BotConstructChat: unknown random string NO_LIST",
                 "ClientConnect: 0",
                 "^1Error: characteristic 48 is not a float",
                 "ClientBegin: 0",
                 "twl-01 begin 1",
                 "FS_FOpenFileRead: botfiles/bots/ann_c.c (found in '" + Home + "/bot-Ann.pk3')",
                 "^1Error: file bots/ann_c.c, line 3: unknown definition junk",
                 "^1Error: Bot 'Ann' not defined",
                 "twl-01 level 0"},
                "Bob@2 added entered 1:bots/bob_c.c chat bob bots/bob_t.c\n"
                "  chat game_enter 2 [hi] errors 1\n"
                "  error mine/bob_t.c:6 BotConstructChat: unknown random string NO_LIST\n"
                "  error mine/bob_c.c:0 characteristic 48 is not a float\n"
                "Ann@2\n"
                "  file out/bot-Ann.pk3/botfiles/bots/ann_c.c (tried)\n"
                "  error out/bot-Ann.pk3/botfiles/bots/ann_c.c:3 unknown definition junk\n"
                "  error :0 Bot 'Ann' not defined\n"},
        LogCase{"AForeignMarkerOrAChatLineMakesNoSection",
                {"Bob"},
                false,
                false,
                {"twl-02 begin 0",
                 "twl-01 begin 7",
                 "twl-01 level 1",
                 "^1Error: not in a section",
                 "twl-01 begin 0",
                 "game_enter has 1 chat lines",
                 "-------------------",
                 "twl-01 level 0",
                 "ClientBegin: 0"},
                "Bob@2\n  chat game_enter 1 errors 0\n"},
        LogCase{"TheMapOrItsNavigationFileMissing",
                {"Bob"},
                false,
                false,
                {"trying to load maps/oa_dm1.aas",
                 "^1Fatal: can't open maps/oa_dm1.aas",
                 "twl-01 begin 0",
                 "twl-01 level 0"},
                "Bob@2\nrun error maps/oa_dm1.aas:0 can't open maps/oa_dm1.aas\n"
                "problem The game folder has no maps/oa_dm1.aas, the map's navigation file: "
                "bots cannot play on oa_dm1.\n"},
        LogCase{"TheSetUpNamesATriedScript",
                {"Bob"},
                false,
                false,
                {"^1file too large: scripts/bob.bot is 9373, max allowed is 8192",
                 "^1file too large: scripts/other.bot is 9373, max allowed is 8192"},
                "Bob@2\nrun error mine/bob.bot:0 file too large: scripts/bob.bot is 9373, "
                "max allowed is 8192\n"},
        LogCase{"AMatchCountsFragsDeathsAndWhatEachSaid",
                {"Bob", "Bo"},
                true,
                true,
                {"twl-01 begin 0",
                 "ClientConnect: 0",
                 "ClientBegin: 0",
                 "twl-01 begin 1",
                 "ClientConnect: 1",
                 "ClientBegin: 1",
                 "twl-01 begin 2",
                 "ClientConnect: 2",
                 "ClientBegin: 2",
                 "twl-01 begin 3",
                 "twl-01 level 0",
                 "say: Bob@2: hello: all",
                 "say: Bo@2: hi",
                 "say: Bo@4.5: ^1red",
                 "say: Nobody: nothing",
                 "Kill: 0 2 6: Bob@2 killed Bo@2 by MOD_ROCKET",
                 "Kill: 1 0 6: Bob@4.5 killed Bob@2 by MOD_ROCKET",
                 "Kill: 2 2 20: Bo@2 killed Bo@2 by MOD_SUICIDE",
                 "Kill: 1022 1 22: <world> killed Bob@4.5 by MOD_TRIGGER_HURT",
                 "^1Error: BotConstructChat: unknown random string X"},
                "Bob@2\n  played 1/1/0 [hello: all]\n"
                "Bob@4.5\n  played 1/1/1\n"
                "Bo@2\n  played 0/2/1 [hi]\n"
                "Bo@4.5\n"
                "run error ioq3ded:0 BotConstructChat: unknown random string X\n"}),
    [](const testing::TestParamInfo<LogCase>& caseInfo) { return caseInfo.param.Name; });

TEST(EngineLog, KeepsABoundedPartOfWhatTheEnginePrints)
{
    TryVerdict verdict;
    verdict.Bots.resize(1);
    verdict.Bots[0].Skills.resize(1);
    RunLayout layout;
    layout.Marker = "twl-01";
    layout.Sections = {{0, 0, ""}};
    EngineLogReader reader(verdict, layout);
    reader.Line("twl-01 begin 0");
    reader.Line("game_enter has 100000 chat lines");
    for (int i = 0; i < 100000; ++i) {
        reader.Line("message " + std::to_string(i));
        reader.Line("^1Error: BotConstructChat: unknown random string L" + std::to_string(i));
        reader.Line("FS_FOpenFileRead: f" + std::to_string(i) + " (found in 'x')");
    }
    const SkillVerdict& skill = verdict.Bots[0].Skills[0];
    EXPECT_EQ(skill.Findings.size(), 200u);
    EXPECT_EQ(skill.Files.size(), 200u);
    EXPECT_EQ(skill.Chats.at(0).Messages.size(), 50u);
    EXPECT_EQ(skill.Chats.at(0).Errors, 100000);
    EXPECT_EQ(reader.LastLines().size(), 40u);
    EXPECT_EQ(reader.LastLines().back(), "FS_FOpenFileRead: f99999 (found in 'x')");
}

TEST(EngineLog, TheCharacteristicsOfASkillBetweenBlocksComeFromTheBotlibLogOfItsLevel)
{
    TryVerdict verdict;
    verdict.Bots.resize(2);
    for (BotVerdict& bot : verdict.Bots) {
        bot.Skills.resize(2);
        bot.Skills[0].Skill = 2;
        bot.Skills[1].Skill = 4.5;
    }
    verdict.Bots[0].Skills[1].Characters = {{4, "bots/bob_c.c", false}, {5, "bots/bob_c.c", false}};
    verdict.Bots[1].Skills[0].Characters = {{1, "bots/ann_c.c", true}, {4, "bots/ann_c.c", true}};
    verdict.Bots[1].Skills[1].Characters = {{4, "bots/bob_c.c", false}, {5, "bots/bob_c.c", false}};
    RunLayout layout;
    layout.Sections = {{0, 0, "", 0}, {0, 1, "", 0}, {1, 0, "", 0}, {1, 1, "", 1}};
    EngineLogReader reader(verdict, layout);
    reader.ReadCharacterDump(
        "entity worldspawn unknown item\r\n"
        "bots/bob_c.c\nskill 4.5\n{\n    0 Bob\n    2 0.750000\n   12 bad\x01\n}\n"
        "bots/default_c.c\nskill 2.0\n{\n    4 0.250000\n}\n"
        "bots/bob_c.c\nskill 3.0\n{\n    4 1.0\n}\n",
        0);
    ASSERT_EQ(verdict.Bots[0].Skills[1].Characteristics.size(), 3u);
    EXPECT_EQ(verdict.Bots[0].Skills[1].Characteristics[1].Index, 2);
    EXPECT_EQ(verdict.Bots[0].Skills[1].Characteristics[1].Value, "0.750000");
    EXPECT_EQ(verdict.Bots[0].Skills[1].Characteristics[2].Value, "bad\\x01");
    ASSERT_EQ(verdict.Bots[1].Skills[0].Characteristics.size(), 1u);
    EXPECT_EQ(verdict.Bots[1].Skills[0].Characteristics[0].Value, "0.250000");
    EXPECT_TRUE(verdict.Bots[0].Skills[0].Characteristics.empty());
    // The same file and skill on another level.
    EXPECT_TRUE(verdict.Bots[1].Skills[1].Characteristics.empty());
}

} // namespace
} // namespace twl
