// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/CharFile.h"

#include "botfiles/FileHeader.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace twl {
namespace {

using test::FreshCatalogues;
using test::Lines;
using test::ScriptedMessages;

const CharCatalogue& Names()
{
    return FreshCatalogues().CharNames;
}

Value Whole(int number)
{
    return Value(static_cast<std::int16_t>(number));
}

// The value text of the line of `identifier` in the block of `level`.
std::string
ValueInBlock(const std::vector<std::string>& lines, int level, const std::string& identifier)
{
    auto block = std::find(lines.begin(), lines.end(), "skill " + std::to_string(level));
    for (auto it = block; it != lines.end() && *it != "}"; ++it) {
        std::string prefix = "\t" + identifier + "\t";
        if (it->rfind(prefix, 0) == 0) {
            return it->substr(it->find_last_of('\t') + 1);
        }
    }
    return "<missing>";
}

void Read(Bot& bot, const std::string& text, bool fullLoad = true)
{
    ScriptedMessages messages;
    ReadCharLines(bot, Lines(text), Names(), fullLoad, messages);
    EXPECT_TRUE(messages.Received().empty());
}

TEST(FileHeader, LinesAndAuthor)
{
    Bot bot;
    bot.SetBotPara(Para::Name, Value("Sarge"));
    bot.SetBotPara(Para::VersionMajor, Whole(1));
    bot.SetBotPara(Para::Comment, Value("A better model"));
    std::vector<std::string> lines =
        FileHeaderLines(bot, test::AuthorSettings(), BotFileKind::Char);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "//" + std::string(75, '='));
    EXPECT_EQ(lines[0].size(), 77u);
    EXPECT_EQ(lines[1], "//\tSarge\tversion 1.0");
    EXPECT_EQ(lines[2], "//\tBy: Vantry, vantry@example.org, http://example.org");
    EXPECT_EQ(lines[3], "//\tA better model");
    EXPECT_EQ(lines[4], "//\tMade with Vantry's Tarnwell v. 0.97");
    EXPECT_EQ(lines[5].rfind("//\thttps://", 0), 0u);
    EXPECT_NE(lines[5].find("  e-mail: "), std::string::npos);
    EXPECT_EQ(lines[6], lines[0]);
}

TEST(FileHeader, AuthorLineNeedsAUserName)
{
    Bot bot;
    Settings settings;
    settings.Text(Settings::Email) = "a@b";
    EXPECT_EQ(FileHeaderLines(bot, settings, BotFileKind::Char)[2], "//");
    settings.Text(Settings::UserName) = "Me";
    settings.Text(Settings::Email) = "";
    settings.Text(Settings::Http) = "h";
    EXPECT_EQ(FileHeaderLines(bot, settings, BotFileKind::Char)[2], "//\tBy: Me, h");
    EXPECT_EQ(FileHeaderLines(bot, settings, BotFileKind::Char)[3], "//");
}

TEST(FileHeader, ReadsVersionAndComment)
{
    Bot bot;
    bot.SetBotPara(Para::Comment, Value("old"));
    EXPECT_EQ(
        ReadFileHeader(bot, Lines("//=\n//\tSarge\tversion 3.12\n//\tBy: x\n//\tNew comment\n")),
        4u);
    EXPECT_EQ(bot.BotPara(Para::VersionMajor), Whole(3));
    EXPECT_EQ(bot.BotPara(Para::VersionMinor), Whole(12));
    EXPECT_EQ(bot.BotPara(Para::Comment), Value("New comment"));

    EXPECT_EQ(ReadFileHeader(bot, Lines("//=\n// nothing here\n//\n//\tcomment\n")), 2u);
    EXPECT_EQ(bot.BotPara(Para::Comment), Value(""));
    EXPECT_EQ(bot.BotPara(Para::VersionMajor), Whole(0));

    EXPECT_EQ(ReadFileHeader(bot, Lines("//=\n//\tX\tversion x.y\n//\n//\n")), 4u);
    EXPECT_EQ(bot.BotPara(Para::VersionMinor), Whole(0));

    // A file without a header gives up none of its lines.
    EXPECT_EQ(ReadFileHeader(bot, Lines("skill 1\n{\n")), 0u);
    EXPECT_EQ(ReadFileHeader(bot, Lines("// one comment\nskill 1\n")), 1u);
}

TEST(CharFileLines, AverageBotBlocks)
{
    Bot bot;
    std::mt19937 random;
    ApplyAveragePreset(bot, FreshCatalogues().Chat, random);
    std::vector<std::string> lines = CharFileLines(bot, Names(), Settings());
    for (int level : {1, 4, 5}) {
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_ATTACK_SKILL"), "0.5");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_VIEW_MAXCHANGE"), "180");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_REACTIONTIME"), "2");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_CHAT_CPM"), "200");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_NAME"), "\"Bot\"");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_CHAT_NAME"), "\"bot\"");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_WEAPONWEIGHTS"), "\"bots/bot_w.c\"");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_AIM_SKILL_BFG10K"), "0.5");
        EXPECT_EQ(ValueInBlock(lines, level, "CHARACTERISTIC_FIRETHROTTLE"), "0.5");
    }
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "#include \"chars.h\"");
    EXPECT_EQ(lines.back(), "}");
}

TEST(CharFileLines, ZeroValuesLeaveOutThePerWeaponLines)
{
    Bot bot;
    ApplyZeroPreset(bot);
    bot.SetBotPara(423, Value(0.5));
    std::vector<std::string> lines = CharFileLines(bot, Names(), Settings());
    EXPECT_EQ(ValueInBlock(lines, 1, "CHARACTERISTIC_AIM_ACCURACY_PLASMAGUN"), "<missing>");
    EXPECT_EQ(ValueInBlock(lines, 4, "CHARACTERISTIC_AIM_ACCURACY_PLASMAGUN"), "0.5");
    EXPECT_EQ(ValueInBlock(lines, 1, "CHARACTERISTIC_FIRETHROTTLE"), "<missing>");
    EXPECT_EQ(ValueInBlock(lines, 1, "CHARACTERISTIC_ATTACK_SKILL"), "0.0");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "}"), 3);
}

TEST(CharFileLines, MixedWholeAndRealLevelsAllGetAPoint)
{
    Bot bot;
    ApplyZeroPreset(bot);
    bot.SetBotPara(107, Value(1.5));
    bot.SetBotPara(407, Whole(2));
    bot.SetBotPara(507, Whole(1));
    bot.SetBotPara(106, Whole(0));
    bot.SetBotPara(406, Whole(180));
    bot.SetBotPara(506, Whole(360));
    bot.SetBotPara(102, Whole(1));
    bot.SetBotPara(402, Whole(2));
    bot.SetBotPara(502, Whole(3));
    std::vector<std::string> lines = CharFileLines(bot, Names(), Settings());
    EXPECT_EQ(ValueInBlock(lines, 1, "CHARACTERISTIC_REACTIONTIME"), "1.5");
    EXPECT_EQ(ValueInBlock(lines, 4, "CHARACTERISTIC_REACTIONTIME"), "2.0");
    EXPECT_EQ(ValueInBlock(lines, 5, "CHARACTERISTIC_REACTIONTIME"), "1.0");
    EXPECT_EQ(ValueInBlock(lines, 1, "CHARACTERISTIC_VIEW_MAXCHANGE"), "0.0");
    EXPECT_EQ(ValueInBlock(lines, 4, "CHARACTERISTIC_VIEW_MAXCHANGE"), "180.0");
    EXPECT_EQ(ValueInBlock(lines, 5, "CHARACTERISTIC_VIEW_MAXCHANGE"), "360.0");
    // All three whole numbers (1 is written "1.0"): "2" and "3" get a point too.
    EXPECT_EQ(ValueInBlock(lines, 4, "CHARACTERISTIC_ATTACK_SKILL"), "2.0");
}

TEST(CharFileLines, TextValuesAreAlwaysQuoted)
{
    Bot bot;
    ApplyZeroPreset(bot);
    bot.SetBotPara(Para::Name, Value("7"));
    std::vector<std::string> lines = CharFileLines(bot, Names(), Settings());
    EXPECT_EQ(ValueInBlock(lines, 1, "CHARACTERISTIC_NAME"), "\"7\"");
    EXPECT_EQ(ValueInBlock(lines, 1, "CHARACTERISTIC_CHAT_NAME"), "\"7\"");
    EXPECT_EQ(ValueInBlock(lines, 5, "CHARACTERISTIC_CHAT_FILE"), "\"bots/7_t.c\"");
}

TEST(ReadCharFile, OtherTabsBlanksAndOrder)
{
    Bot bot;
    ApplyZeroPreset(bot);
    Read(bot,
         "skill 4\n{\n"
         "CHARACTERISTIC_AIM_SKILL 0.3\n"
         "\tCHARACTERISTIC_ATTACK_SKILL\t0.25\n"
         "    CHARACTERISTIC_NAME  \"Sarge\";\n"
         "\tCHARACTERISTIC_AIM_SKILL_BFG10K\t0.3\n"
         "\tCHARACTERISTIC_AIM_ACCURACY_RAILGUN\t\t\t\t\t.75\n"
         "\tCHARACTERISTIC_CHAT_INSULT\t0.12345\n"
         "}\n");
    EXPECT_EQ(bot.BotPara(403), Value(0.3f));
    EXPECT_EQ(bot.BotPara(402), Value(0.25f));
    EXPECT_EQ(bot.BotPara(429), Value(0.3f));
    EXPECT_EQ(bot.BotPara(424), Value(0.75f));
    EXPECT_EQ(bot.BotPara(404), Whole(0)) << "the per-weapon line is not the aim accuracy";
    EXPECT_EQ(bot.BotPara(32), Value(0.12345f));
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Sarge"));
    EXPECT_EQ(bot.BotPara(102), Whole(0));
}

TEST(ReadCharFile, ANameStandsWhereNoLetterOrUnderscoreFollowsIt)
{
    // A line, and the parameter of level 4 it gives 0.5 (0: none).
    const std::pair<const char*, int> cases[] = {
        {"XCHARACTERISTIC_ATTACK_SKILL 0.5", 402},
        {"CHARACTERISTIC_ATTACK_SKILLS 0.5", 0},
        {"CHARACTERISTIC_AIM_ACCURACY_BFG10K 0.5", 425},
        {"CHARACTERISTIC_AIM_ACCURACY_BFG1 0.5", 0},
        {"CHARACTERISTIC_ATTACK_SKILL_X CHARACTERISTIC_ATTACK_SKILL 0.5", 402},
        {"CHARACTERISTIC_JUMPER CHARACTERISTIC_ATTACK_SKILL 0.5", 402},
        {"CHARACTERISTIC_AIM_SKILL_BFG10K\t0.5", 429},
        {"CHARACTERISTIC_AIM_SKILL\t0.5", 403},
    };
    for (const auto& [line, para] : cases) {
        Bot bot;
        ApplyZeroPreset(bot);
        Read(bot, std::string("skill 4\n{\n") + line + "\n}\n");
        for (int p : {402, 403, 404, 409, 425, 429}) {
            EXPECT_EQ(bot.BotPara(p), p == para ? Value(0.5f) : Whole(0)) << line << " " << p;
        }
    }
}

TEST(ReadCharFile, NameAndGenderOnlyOnAFullLoad)
{
    Bot bot;
    Read(bot,
         "skill 1\n{\n\tCHARACTERISTIC_NAME\t\"Keel\"\n\tCHARACTERISTIC_GENDER\t\"Female\"\n}\n",
         false);
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Bot"));
    EXPECT_EQ(bot.BotPara(Para::Gender), Value("male"));
    Read(bot,
         "skill 1\n{\n\tCHARACTERISTIC_NAME\t\"Keel\"\n\tCHARACTERISTIC_GENDER\t\"Female\"\n}\n",
         true);
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Keel"));
    EXPECT_EQ(bot.BotPara(Para::Gender), Value("female"));
}

TEST(ReadCharFile, UnknownLevelsAndLinesBeforeALevelAreSkipped)
{
    Bot bot;
    ApplyZeroPreset(bot);
    Read(bot,
         "\tCHARACTERISTIC_ATTACK_SKILL\t0.9\n"
         "skill 2\n{\n\tCHARACTERISTIC_ATTACK_SKILL\t0.8\n}\n"
         "skill x\n{\n\tCHARACTERISTIC_ATTACK_SKILL\t0.7\n}\n"
         "  skill 5\n{\n\tCHARACTERISTIC_ATTACK_SKILL\t0.6\n\tCHARACTERISTIC_CHAT_CPM\t300\n}\n");
    EXPECT_EQ(bot.BotPara(102), Whole(0));
    EXPECT_EQ(bot.BotPara(402), Whole(0));
    EXPECT_EQ(bot.BotPara(502), Value(0.6f));
    EXPECT_EQ(bot.BotPara(31), Value(300.0));
}

TEST(ReadCharFile, ANameThatIsNoFileNameIsShownAsItIs)
{
    // The save refuses it (BotFileSet tests); the load shows what the file holds.
    for (const std::string& name :
         {std::string("../../evil"), std::string("Sarge;x"), std::string(50, 'x')}) {
        Bot bot;
        ScriptedMessages messages;
        ReadCharLines(bot,
                      Lines("skill 1\n{\n\tCHARACTERISTIC_NAME\t\"" + name + "\"\n}\n"),
                      Names(),
                      true,
                      messages);
        EXPECT_EQ(bot.BotPara(Para::Name), Value(name));
        EXPECT_TRUE(messages.Received().empty());
    }
}

TEST(ReadCharFile, WrittenFileReadsBack)
{
    Bot written;
    std::mt19937 random;
    ApplyAveragePreset(written, FreshCatalogues().Chat, random);
    written.SetBotPara(Para::Name, Value("Grunt"));
    written.SetBotPara(Para::Gender, Value("it"));
    written.SetBotPara(Para::Comment, Value("tough"));
    written.SetBotPara(Para::VersionMajor, Whole(2));
    written.SetBotPara(Para::VersionMinor, Whole(5));
    written.SetBotPara(418, Whole(0));
    written.SetBotPara(107, Value(1.5));

    Bot read;
    ClearChars(read);
    Read(read, [&] {
        std::string text;
        for (const std::string& line : CharFileLines(written, Names(), Settings())) {
            text += line + "\r\n";
        }
        return text;
    }());
    for (int index : {0, 1, 7, 8, 9}) {
        EXPECT_EQ(read.BotPara(index).ToText(), written.BotPara(index).ToText()) << index;
    }
    for (int level : {1, 4, 5}) {
        for (int c = 2; c <= 30; ++c) {
            EXPECT_EQ(read.BotPara(100 * level + c).ToNumber(),
                      written.BotPara(100 * level + c).ToNumber())
                << level << " " << c;
        }
    }
    for (int index = 31; index <= 43; ++index) {
        EXPECT_EQ(read.BotPara(index).ToNumber(), written.BotPara(index).ToNumber()) << index;
    }
}

} // namespace
} // namespace twl
