// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/WeightFiles.h"

#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::FreshCatalogues;
using test::Lines;

const CharCatalogue& Names()
{
    return FreshCatalogues().CharNames;
}

Value Whole(int number)
{
    return Value(static_cast<std::int16_t>(number));
}

TEST(WeightFiles, WeaponFileLayout)
{
    Bot bot;
    ApplyZeroPreset(bot);
    bot.SetBotPara(44, Whole(50));
    bot.SetBotPara(45, Whole(1));
    std::vector<std::string> lines = WeaponFileLines(bot, Names(), Settings());
    ASSERT_EQ(lines.size(), 7u + 2 + 1 + 1 + 10 + 3);
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "#include \"inv.h\"");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11], "#define W_GAUNTLET\t\t\t\t50");
    EXPECT_EQ(lines[12], "#define W_SHOTGUN\t\t\t\t1.0");
    EXPECT_EQ(lines[13], "#define W_MACHINEGUN\t\t\t0.0");
    EXPECT_EQ(lines[20], "#define W_GRAPPLE\t\t\t\t0.0");
    EXPECT_EQ(lines[21], "");
    EXPECT_EQ(lines[22], "//");
    EXPECT_EQ(lines[23], "#include \"fw_weap.c\"");
}

TEST(WeightFiles, ItemFileGroups)
{
    Bot bot;
    ApplyZeroPreset(bot);
    std::vector<std::string> lines = ItemFileLines(bot, Names(), Settings());
    std::vector<std::string> body(lines.begin() + 9, lines.end());
    std::vector<std::size_t> empty;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i].empty()) {
            empty.push_back(i);
        }
    }
    // Empty lines before 54, 56, 64, 72 and 80, and before the footer.
    EXPECT_EQ(empty, (std::vector<std::size_t>{1, 4, 13, 22, 31, 33}));
    EXPECT_EQ(body[2], "#define FS_HEALTH\t\t\t\t0.0");
    EXPECT_EQ(body[32], "#define FLAG_WEIGHT\t\t\t\t0.0");
    EXPECT_EQ(body.back(), "#include \"fw_items.c\"");
}

TEST(WeightFiles, ReadersFindTheirIdentifiersWhateverTheSpacing)
{
    Bot bot;
    ApplyZeroPreset(bot);
    ReadWeightLines(
        bot,
        Lines("#define W_RAILGUN 300\n#define W_BFG10K\t37.5\n#define W_GAUNTLET\t\t1.0\n"
              "#define W_GAUNTLET\t\t2\n#define W_BFG10K_AMMO\t9\n// #define W_SHOTGUN 5\n"),
        Names(),
        44,
        53);
    EXPECT_EQ(bot.BotPara(49), Value(300.0));
    EXPECT_EQ(bot.BotPara(50), Value(37.5f));
    EXPECT_EQ(bot.BotPara(44), Value(2.0)) << "a repeated identifier keeps the last value";
    EXPECT_EQ(bot.BotPara(45), Whole(0));

    ReadWeightLines(
        bot,
        Lines("#define W_RAILGUN\t\t120\n#define GWW_RAILGUN 7\n#define FS_HEALTH 0.0\n"),
        Names(),
        54,
        80);
    EXPECT_EQ(bot.BotPara(60), Value(120.0));
    EXPECT_EQ(bot.BotPara(68), Value(7.0));
    EXPECT_EQ(bot.BotPara(54), Value(0.0f));
    EXPECT_EQ(bot.BotPara(49), Value(300.0)) << "the item file leaves the weapon weights alone";
}

TEST(WeightFiles, WrittenFilesReadBack)
{
    test::TempFolder folder;
    Bot written;
    ApplyZeroPreset(written);
    for (int index = 44; index <= 80; ++index) {
        written.SetBotPara(index, Whole(index * 3));
    }
    written.SetBotPara(54, Whole(1));
    written.SetBotPara(55, Value(2.5));
    for (WeightFileKind kind : {WeightFileKind::Weapon, WeightFileKind::Item}) {
        Result<std::string> bytes = WeightFileBytes(written, kind, Names(), Settings());
        ASSERT_TRUE(bytes);
        test::WriteBytes(folder / (kind == WeightFileKind::Weapon ? "bot_w.c" : "bot_i.c"),
                         bytes.Value());
    }

    Bot read;
    test::ScriptedMessages messages;
    EXPECT_TRUE(ReadWeaponFile(read, folder.Path(), "bot", Names(), messages));
    EXPECT_TRUE(ReadItemFile(read, folder.Path(), "bot", Names(), messages));
    for (int index = 44; index <= 80; ++index) {
        EXPECT_EQ(read.BotPara(index).ToNumber(), written.BotPara(index).ToNumber()) << index;
    }
}

TEST(WeightFiles, MissingFilesAreReportedAndChangeNothing)
{
    test::TempFolder folder;
    test::ScriptedMessages messages;
    Bot bot;
    ApplyZeroPreset(bot);
    EXPECT_FALSE(ReadItemFile(bot, folder.Path(), "ghost", Names(), messages));
    EXPECT_FALSE(ReadWeaponFile(bot, folder.Path(), "ghost", Names(), messages));
    ASSERT_EQ(messages.Received().size(), 2u);
    EXPECT_EQ(messages.Received()[0],
              (test::ScriptedMessages::Message{test::ScriptedMessages::Kind::Inform,
                                               "Error during load",
                                               "Unable to find item weight file for ghost."}));
    EXPECT_EQ(messages.Received()[1].Text, "Unable to find weapon weight file for ghost.");
    EXPECT_EQ(bot.BotPara(60), Whole(0));
}

} // namespace
} // namespace twl
