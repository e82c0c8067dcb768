// SPDX-License-Identifier: GPL-3.0-or-later
// Bots written by hand for the game and its mods: loading them and making
// their files again loses nothing the game reads.
#include "botfiles/WeightFiles.h"
#include "catalog/BotList.h"
#include "catalog/Models.h"
#include "cli/Cli.h"
#include "core/BotName.h"
#include "pk3/ArchiveScan.h"
#include "pk3/GameArchives.h"
#include "services/BotFileSet.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace twl {
namespace {

using test::FixturePath;
using test::FreshCatalogues;
using test::ReadBytes;
using test::ScriptedMessages;
using test::TempFolder;
using test::WriteBytes;

const std::filesystem::path Input = FixturePath("realbot/input");

Bot LoadFuzzy(const std::filesystem::path& folder, ScriptedMessages& messages)
{
    Bot bot;
    ApplyZeroPreset(bot);
    EXPECT_TRUE(LoadBotFiles(
        bot, LoadType::WholeBot, folder, "fuzzy", false, true, FreshCatalogues(), messages));
    return bot;
}

bool Save(const Bot& bot, const std::filesystem::path& folder, ScriptedMessages& messages)
{
    Settings settings = test::AuthorSettings();
    return SaveBotFileSet(bot, folder, false, false, FreshCatalogues(), settings, messages);
}

// The lines of one skill block of a characteristic file, "}" left out.
std::vector<std::string> SkillBlock(const std::string& file, int level)
{
    std::istringstream in(file);
    std::vector<std::string> block;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "skill " + std::to_string(level)) {
            inside = true;
        } else if (inside && line == "}") {
            break;
        } else if (inside) {
            block.push_back(line);
        }
    }
    return block;
}

TEST(RealBot, LoadAndMakeFilesLoseNothing)
{
    ScriptedMessages messages;
    Bot bot = LoadFuzzy(Input, messages);
    EXPECT_TRUE(bot.HasForeignWeights(WeightFileKind::Weapon));
    EXPECT_TRUE(bot.HasForeignWeights(WeightFileKind::Item));
    std::vector<ScriptedMessages::Message> expected;
    for (const char* file : {"fuzzy_i.c", "fuzzy_w.c"}) {
        expected.push_back({ScriptedMessages::Kind::Inform,
                            "Weights kept",
                            (Input / file).string() +
                                " uses a weight layout that Tarnwell does not edit; it is kept "
                                "as it is."});
    }
    EXPECT_EQ(messages.Received(), expected) << "each foreign file is named once";

    TempFolder out;
    ASSERT_TRUE(Save(bot, out.Path(), messages));
    EXPECT_EQ(ReadBytes(out / "fuzzy_w.c"), ReadBytes(Input / "fuzzy_w.c"));
    EXPECT_EQ(ReadBytes(out / "fuzzy_i.c"), ReadBytes(Input / "fuzzy_i.c"));

    // Unknown characteristics stay in their own block, after the known lines.
    std::string chars = ReadBytes(out / "fuzzy_c.c");
    std::vector<std::string> one = SkillBlock(chars, 1);
    ASSERT_GE(one.size(), 3u);
    EXPECT_EQ(one[one.size() - 2], "\tCHARACTERISTIC_WALKER\t\t0.1");
    EXPECT_EQ(one.back(), "\tCHARACTERISTIC_MOD_SHOUTER  0.75 // a mod adds it");
    EXPECT_EQ(SkillBlock(chars, 4).back(), "\tCHARACTERISTIC_WALKER\t\t0.4");
    std::vector<std::string> five = SkillBlock(chars, 5);
    EXPECT_EQ(std::count(five.begin(), five.end(), "\tCHARACTERISTIC_WALKER\t\t0.4"), 0);
    EXPECT_EQ(chars.find("editor shows it not"), std::string::npos) << "comments are not kept";
    EXPECT_NE(chars.find("\tCHARACTERISTIC_ATTACK_SKILL\t\t\t\t\t0.3\r\n"), std::string::npos);

    // The chat messages the game builds: the same items in the same order.
    std::string chat = ReadBytes(out / "fuzzy_t.c");
    for (const char* line : {
             "\t\trandom_fighter, \" needs to stop calling my mom.\";\r\n",
             "\t\tDEATH_INSULT3;\r\n",
             "\t\t\"Nice shot, \", 0, \", \", fighter, \"!\";\r\n",
             "\t\t\"She said \\\"\", curse, \"\\\" again\";\r\n",
             "\t\tmy_mod_list;\r\n",
             "\t\t\"I like \", my_mod_food, \" and \", food, \".\";\r\n",
         }) {
        EXPECT_NE(chat.find(line), std::string::npos) << line << chat;
    }
    EXPECT_NE(ReadBytes(out / "fuzzy.bot").find("funname\t\"^2Fuzzy ^7Wuzzy\"\r\n"),
              std::string::npos);

    // Made once more from Tarnwell's own files: the same bytes again.
    ScriptedMessages again;
    Bot reloaded = LoadFuzzy(out.Path(), again);
    TempFolder second;
    ASSERT_TRUE(Save(reloaded, second.Path(), again));
    for (const char* file : {"fuzzy_c.c", "fuzzy_w.c", "fuzzy_i.c", "fuzzy_t.c", "fuzzy.bot"}) {
        EXPECT_EQ(ReadBytes(second / file), ReadBytes(out / file)) << file;
    }
}

TEST(RealBot, CliCopyKeepsForeignWeightsByteForByte)
{
    TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    int status = RunCli({"copy",
                         "--script",
                         "--settings",
                         (folder / "settings").string(),
                         Input.string(),
                         "fuzzy",
                         (folder / "out").string()},
                        out,
                        err);
    EXPECT_EQ(status, ExitSuccess) << err.str();
    EXPECT_EQ(ReadBytes(folder / "out" / "fuzzy_w.c"), ReadBytes(Input / "fuzzy_w.c"));
    EXPECT_EQ(ReadBytes(folder / "out" / "fuzzy_i.c"), ReadBytes(Input / "fuzzy_i.c"));
    EXPECT_NE(ReadBytes(folder / "out" / "fuzzy_c.c").find("CHARACTERISTIC_WALKER"),
              std::string::npos);
}

TEST(RealBot, OwnLayoutKeepsItsExtraLinesAndDropsComments)
{
    const std::string own = "// my weights\r\n#include \"inv.h\"\r\n\r\n"
                            "#define W_ROCKETLAUNCHER\t120 // mine\r\n"
                            "#define W_RAILGUN 300\r\n"
                            "// the bonus below is mine too\r\n"
                            "#define MY_BONUS 20\r\n\r\n//\r\n#include \"fw_weap.c\"\r\n";
    Bot bot;
    ApplyZeroPreset(bot);
    EXPECT_FALSE(
        ReadWeightFileBytes(bot, WeightFileKind::Weapon, own, FreshCatalogues().CharNames));
    EXPECT_EQ(bot.BotPara(48), Value(120.0));
    EXPECT_EQ(bot.BotPara(49), Value(300.0));
    std::vector<std::string> extra = {"// the bonus below is mine too", "#define MY_BONUS 20"};
    EXPECT_EQ(bot.KeptWeights(WeightFileKind::Weapon).ExtraLines, extra);

    std::vector<std::string> lines =
        WeaponFileLines(bot, FreshCatalogues().CharNames, test::AuthorSettings());
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[lines.size() - 4], extra[1]) << "kept lines follow the weights";
    EXPECT_EQ(lines.back(), "#include \"fw_weap.c\"");
    Result<std::string> bytes = EncodeTextLines(lines);
    ASSERT_TRUE(bytes);
    Bot again;
    ReadWeightFileBytes(again, WeightFileKind::Weapon, bytes.Value(), FreshCatalogues().CharNames);
    EXPECT_EQ(again.KeptWeights(WeightFileKind::Weapon).ExtraLines, extra) << "no line doubles";

    // A preset, or the next whole load, starts from the editor's own files.
    bot.KeptWeights(WeightFileKind::Item).ForeignBytes = "#include \"fuzi.c\"\n";
    ApplyZeroPreset(bot);
    EXPECT_FALSE(bot.HasForeignWeights(WeightFileKind::Item));
    EXPECT_TRUE(bot.KeptWeights(WeightFileKind::Weapon).ExtraLines.empty());
}

TEST(RealBot, WhatMakesAWeightLayoutForeign)
{
    struct Case
    {
        std::string Text;
        WeightFileKind Kind;
        bool Foreign;
    };

    const std::vector<Case> cases = {
        {"#include \"inv.h\"\n#define W_SHOTGUN 50\n#include \"fw_weap.c\"\n",
         WeightFileKind::Weapon,
         false},
        {"#define W_SHOTGUN 50\n#include \"FW_WEAP.C\"\n", WeightFileKind::Weapon, false},
        {"#define W_SHOTGUN 50\n#include \"fuzw.c\"\n", WeightFileKind::Weapon, true},
        {"#define FPH 60\n", WeightFileKind::Item, true},
        {"weight \"weapon_shotgun\"\n{\n}\n", WeightFileKind::Weapon, true},
        {"#define FS_HEALTH 2\n#include \"fw_items.c\"\n", WeightFileKind::Item, false},
        {"#define FS_HEALTH 2\n#include \"fw_weap.c\"\n", WeightFileKind::Item, true},
        {"// only a header\n\n", WeightFileKind::Weapon, false},
        {"", WeightFileKind::Item, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsForeignWeightLayout(test::Lines(c.Text), c.Kind, FreshCatalogues().CharNames),
                  c.Foreign)
            << c.Text;
    }
}

TEST(BotNameRules, EachRuleWithItsMessage)
{
    struct Case
    {
        std::string Name;
        std::optional<BotNameRule> Broken;
    };

    const std::vector<Case> cases = {
        {"Sarge", std::nullopt},
        {"Tank_Jr-2.0!", std::nullopt},
        {std::string(45, 'n'), std::nullopt},
        {"", BotNameRule::NotEmpty},
        {"Big Bad", BotNameRule::NoBlank},
        {"D\xC3\xA9sir\xC3\xA9", BotNameRule::PrintableAscii},
        {"tab\there", BotNameRule::PrintableAscii},
        {"bell\x07", BotNameRule::PrintableAscii},
        {"semi;colon", BotNameRule::NoReservedCharacter},
        {"../evil", BotNameRule::NoReservedCharacter},
        {"a\\b", BotNameRule::NoReservedCharacter},
        {"what?", BotNameRule::NoReservedCharacter},
        {"\"q\"", BotNameRule::NoReservedCharacter},
        {"..", BotNameRule::NotAFolderName},
        {std::string(46, 'n'), BotNameRule::MaxLength},
    };
    for (const Case& c : cases) {
        std::optional<BotNameComplaint> complaint = CheckBotName(c.Name);
        ASSERT_EQ(complaint.has_value(), c.Broken.has_value()) << c.Name;
        if (!complaint) {
            continue;
        }
        EXPECT_EQ(complaint->Rule, *c.Broken) << c.Name;
        bool ownTitle = *c.Broken == BotNameRule::NotEmpty || *c.Broken == BotNameRule::NoBlank;
        if (!ownTitle) {
            EXPECT_EQ(complaint->Title, "Name error!") << c.Name;
        }
    }
    EXPECT_NE(CheckBotName(std::string(46, 'n'))->Text.find("45"), std::string::npos);
}

TEST(BotNameRules, ALoadedBadNameIsRefusedOnlyOnSave)
{
    TempFolder folder;
    WriteBytes(folder / "x_c.c", "skill 1\r\n{\r\n\tCHARACTERISTIC_NAME\t\"Caf\xE9\"\r\n}\r\n");
    ScriptedMessages messages;
    Bot bot;
    ApplyZeroPreset(bot);
    LoadBotFiles(
        bot, LoadType::WholeBot, folder.Path(), "x", false, false, FreshCatalogues(), messages);
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Caf\xC3\xA9"));
    messages.Clear();
    TempFolder out;
    EXPECT_FALSE(Save(bot, out.Path(), messages));
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Title, "Name error!");
    EXPECT_TRUE(std::filesystem::is_empty(out.Path()));
}

TEST(BotNameRules, FunNameQuotedForBlanksAndLettersOutsideAscii)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Zo\xC3\xAB", "\"Zo\xC3\xAB\""},
        {"Big Bad", "\"Big Bad\""},
        {"\"Big Bad\"", "\"Big Bad\""},
        {"BigBad", "BigBad"},
        {"^1Red", "^1Red"},
        {"", ""},
    };
    for (const auto& [funName, stored] : cases) {
        EXPECT_EQ(StoredFunName(funName), stored) << funName;
    }
}

TEST(UserLists, AnEntryThatCannotBeWrittenIsLeftOutAlone)
{
    TempFolder folder;
    ScriptedMessages messages;
    ModelCatalogue models;
    LoadModelCatalogue(models, folder.Path(), messages);
    AddModelSkin(models, "alpha", "default", "a.pk3", "models\\players\\alpha\\icon_default.tga");
    AddModelSkin(models, "aesc\x1b[31m", "default", "d.pk3", "models\\players\\e.tga");
    AddModelSkin(models, "\xC5\x82o\xC5\x9B", "default", "b.pk3", "models\\players\\x.tga");
    AddModelSkin(models, "omega", "red", "c.pk3", "models\\players\\omega\\icon_red.tga");
    for (const char* skin : {"a\"b", "c\"d", "e\"f"}) {
        AddModelSkin(models, "omega", skin, "c.pk3", "");
    }
    ASSERT_TRUE(SaveUserModels(models, folder.Path(), messages).Ok());
    std::string file = ReadBytes(folder / UserModelsFileName);
    EXPECT_NE(file.find("\"Alpha\",\"Default\",\"a.pk3\""), std::string::npos) << file;
    EXPECT_NE(file.find("\"Omega\",\"Red\",\"c.pk3\""), std::string::npos) << file;
    EXPECT_EQ(file.find("b.pk3"), std::string::npos);
    // One message for them all, the first few named, a name's escape shown
    // escaped, never sent as it is.
    ASSERT_EQ(messages.Received().size(), 1u);
    const std::string& text = messages.Received()[0].Text;
    EXPECT_EQ(text.find("5 skins were not stored in "), 0u) << text;
    EXPECT_NE(text.find("Windows-1252 cannot hold"), std::string::npos) << text;
    EXPECT_NE(text.find("'Aesc\\x1B[31m/Default' (a name with a control character)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(" and 2 more."), std::string::npos) << text;
    EXPECT_EQ(text.find('\x1b'), std::string::npos);

    BotList bots;
    AddBotEntry(bots, "Kit", "k.pk3", true);
    AddBotEntry(bots, "Zo\xC3\xAB\xE2\x82\xAC\xE4\xB8\x80", "z.pk3", true);
    messages.Clear();
    ASSERT_TRUE(SaveUserBots(bots, folder.Path(), messages).Ok());
    EXPECT_NE(ReadBytes(folder / UserBotsFileName).find("\"Kit\",\"k.pk3\""), std::string::npos);
    EXPECT_EQ(messages.Received().size(), 1u);
}

TEST(GameArchiveOrder, NamesCompareAsTheEngineSortsThem)
{
    EXPECT_LT(CompareArchiveNames("amod.pk3", "Zmod.pk3"), 0);
    EXPECT_EQ(CompareArchiveNames("Bmod.pk3", "bMOD.pk3"), 0);
    EXPECT_LT(CompareArchiveNames("zAmod.pk3", "z_mod.pk3"), 0) << "letters sort before _";
    EXPECT_LT(CompareArchiveNames("zz.pk3", "z_.pk3"), 0) << "Z (0x5A) before _ (0x5F)";
    EXPECT_EQ(CompareArchiveNames("a\\b:c", "A/B/C"), 0);
    EXPECT_LT(CompareArchiveNames("pak0.pk3", "pak0.pk3x"), 0);

    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    std::filesystem::create_directories(game / "home");
    for (const char* name : {"Zmod.pk3", "amod.pk3", "z_mod.pk3", "zAmod.pk3"}) {
        WriteBytes(game / "baseq3" / name, "");
    }
    WriteBytes(game / "home" / "amod.pk3", "");
    std::vector<std::string> order;
    for (const ArchiveFile& archive : FindGameArchives({game / "baseq3", game / "home"})) {
        order.push_back(archive.Name +
                        (archive.Path.parent_path().filename() == "home" ? "*" : ""));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"zAmod.pk3", "Zmod.pk3", "z_mod.pk3", "amod.pk3*"}))
        << "the user's copy is last";
}

TEST(GameArchiveOrder, ABotInTwoArchivesComesFromTheOneTheGameUses)
{
    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    for (const char* name : {"Zmod.pk3", "amod.pk3"}) {
        WriteBytes(game / "baseq3" / name,
                   test::MakeStoredZip({{"botfiles/bots/kit_c.c", "skill 1\n"}}));
    }
    ModelCatalogue models;
    BotList bots;
    ScriptedMessages messages;
    ASSERT_TRUE(ScanGameArchives({game / "baseq3"}, models, bots, messages));
    ASSERT_EQ(bots.size(), 1u);
    EXPECT_EQ(bots[0].PK3File, "Zmod.pk3");
}

// A bot as the game's own are written: an author's licence on top, values per
// skill block that differ, a number in a form of the game's own, the files
// of another bot, a chat type under its old name and a variable the type
// has no button for. Loaded and made again, the game gets the same bot.
TEST(RealBot, WhatTheGameReadsComesBackAsItReadIt)
{
    TempFolder folder;
    const std::string licence = "/*\r\n  Copyright (C) the author\r\n*/\r\n";
    WriteBytes(folder / "default_c.c",
               licence + "\r\n#include \"chars.h\"\r\n\r\n"
                         "skill 1\r\n{\r\n\tCHARACTERISTIC_NAME\t\"Player\"\r\n"
                         "\tCHARACTERISTIC_CHAT_FILE\t\"bots/other_t.c\"\r\n"
                         "\tCHARACTERISTIC_CHAT_NAME\t\"player\"\r\n"
                         "\tCHARACTERISTIC_WEAPONWEIGHTS\t\"bots/other_w.c\"\r\n"
                         "\tCHARACTERISTIC_ITEMWEIGHTS\t\"bots/other_i.c\"\r\n"
                         "\tCHARACTERISTIC_AIM_SKILL\t0..30\r\n"
                         "\tCHARACTERISTIC_CHAT_INSULT\t1.0\r\n"
                         "\tCHARACTERISTIC_CHAT_MISC\t0.5\r\n}\r\n"
                         "skill 4\r\n{\r\n\tCHARACTERISTIC_VIEW_MAXCHANGE\t010\r\n"
                         "\tCHARACTERISTIC_CHAT_INSULT\t1.0\r\n}\r\n"
                         "skill 5\r\n{\r\n\tCHARACTERISTIC_CHAT_INSULT\t0.1\r\n}\r\n");
    const std::string weapons = licence + "#include \"inv.h\"\r\n#include \"fuzw.c\"\r\n";
    const std::string items = licence + "#include \"inv.h\"\r\n#include \"fuzi.c\"\r\n";
    WriteBytes(folder / "other_w.c", weapons);
    WriteBytes(folder / "other_i.c", items);
    WriteBytes(folder / "default_w.c", "#include \"fuzw.c\"\r\n// not the game's\r\n");
    WriteBytes(folder / "other_t.c",
               licence + "chat \"player\"\r\n{\r\n\ttype \"kill_suicide\"\r\n\t{\r\n\t\t\"x\";\r\n"
                         "\t}\r\n\ttype \"game_enter\"\r\n\t{\r\n\t\t\"Hi \", 5, \"!\";\r\n"
                         "\t\tTAUNT0;\r\n\t}\r\n}\r\n");
    ScriptedMessages messages;
    Bot bot;
    ApplyZeroPreset(bot);
    ASSERT_TRUE(LoadBotFiles(bot,
                             LoadType::WholeBot,
                             folder.Path(),
                             "default",
                             false,
                             false,
                             FreshCatalogues(),
                             messages));
    EXPECT_EQ(bot.BotPara(Para::Name), Value("Player"));
    // What the game loads: the files the characteristic file names.
    EXPECT_EQ(bot.KeptWeights(WeightFileKind::Weapon).ForeignBytes, weapons);
    EXPECT_EQ(bot.BotChat(23, 0), "x");
    EXPECT_EQ(bot.BotChat(0, 0), "Hi {5}!");
    EXPECT_EQ(bot.BotChat(0, 1), "{TAUNT0}");
    EXPECT_TRUE(bot.DiffersPerSkill(32));
    EXPECT_TRUE(bot.DiffersPerSkill(33));
    EXPECT_FALSE(bot.DiffersPerSkill(31));

    TempFolder made;
    ASSERT_TRUE(Save(bot, made.Path(), messages));
    std::string chars = ReadBytes(made / "player_c.c");
    auto lineOf = [](const std::vector<std::string>& block, const std::string& name) {
        for (const std::string& line : block) {
            if (line.find(name + "\t") != std::string::npos) {
                return line.substr(line.find_last_of('\t') + 1);
            }
        }
        return std::string("-");
    };

    struct Expected
    {
        int Level;
        const char* Name;
        const char* Value; // "-": not in the block
    };

    const Expected expected[] = {
        {1, "CHARACTERISTIC_CHAT_INSULT", "1.0"},
        {4, "CHARACTERISTIC_CHAT_INSULT", "1.0"},
        {5, "CHARACTERISTIC_CHAT_INSULT", "0.1"},
        {1, "CHARACTERISTIC_CHAT_MISC", "0.5"},
        {4, "CHARACTERISTIC_CHAT_MISC", "-"},        // the game takes the default bot's there
        {1, "CHARACTERISTIC_AIM_SKILL", "0..30"},    // the game reads it as -0.17
        {4, "CHARACTERISTIC_VIEW_MAXCHANGE", "8.0"}, // octal 010, as the game reads it
        {1, "CHARACTERISTIC_CHAT_FILE", "\"bots/player_t.c\""},
        {1, "CHARACTERISTIC_WEAPONWEIGHTS", "\"bots/player_w.c\""},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(lineOf(SkillBlock(chars, e.Level), e.Name), e.Value) << e.Name << " " << e.Level;
    }
    // The licence stands below the program's header in every file.
    for (const char* file : {"player_c.c", "player_t.c"}) {
        std::string bytes = ReadBytes(made / file);
        EXPECT_NE(bytes.find("Made with"), std::string::npos) << file;
        EXPECT_GT(bytes.find(licence), bytes.find("Made with")) << file;
    }
    EXPECT_EQ(ReadBytes(made / "player_w.c"), weapons);
    std::string chat = ReadBytes(made / "player_t.c");
    EXPECT_NE(chat.find("type \"enemy_suicide\""), std::string::npos);
    EXPECT_NE(chat.find("\"Hi \", 5, \"!\";"), std::string::npos);
    EXPECT_NE(chat.find("TAUNT0;"), std::string::npos);

    // Loaded again it is the same bot; one move of a slider gives all three
    // levels its value.
    Bot again;
    ASSERT_TRUE(LoadBotFiles(again,
                             LoadType::WholeBot,
                             made.Path(),
                             "player",
                             false,
                             false,
                             FreshCatalogues(),
                             messages));
    EXPECT_EQ(ReadBytes(made / "player_c.c"), chars);
    TempFolder twice;
    ASSERT_TRUE(Save(again, twice.Path(), messages));
    EXPECT_EQ(ReadBytes(twice / "player_c.c"), chars);
    EXPECT_EQ(ReadBytes(twice / "player_t.c"), chat);
    again.SetBotPara(32, Value(0.25));
    again.ForgetLevelValues(32);
    ASSERT_TRUE(Save(again, twice.Path(), messages));
    for (int level : {1, 4, 5}) {
        EXPECT_EQ(lineOf(SkillBlock(ReadBytes(twice / "player_c.c"), level),
                         "CHARACTERISTIC_CHAT_INSULT"),
                  "0.25");
    }
}

} // namespace
} // namespace twl
