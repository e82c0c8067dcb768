// SPDX-License-Identifier: GPL-3.0-or-later
// The real engine judges the bots: these tests need OpenArena's dedicated
// server (Debian package openarena-server) and are skipped without it.

#include "engine/TryInGame.h"

#include "chat/ChatOperations.h"
#include "cli/Cli.h"
#include "core/TextCase.h"
#include "editing/BotEditor.h"
#include "game/OpenArenaGame.h"
#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"
#include "services/BotFileSet.h"
#include "services/GameFolderCheck.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <sstream>

namespace twl {
namespace {

using test::GameTest;
using test::OpenArena;
using test::OpenArenaCatalogues;

const std::string UnknownRandom = "BotConstructChat: unknown random string ";

TryBots BotFiles(Bot bot, const std::string& name)
{
    bot.SetBotPara(Para::Name, Value(name));
    TryBots bots = TryBotsOf(bot, OpenArenaCatalogues(), test::AuthorSettings());
    EXPECT_TRUE(bots.Problems.empty()) << name;
    return bots;
}

TryBots Preset(const std::string& name, bool average)
{
    Bot bot;
    std::mt19937 random(7);
    if (average) {
        EXPECT_EQ(ApplyAveragePreset(bot, OpenArenaCatalogues().Chat, random), 0);
    } else {
        ApplyZeroPreset(bot);
    }
    return BotFiles(bot, name);
}

void Append(TryBots& into, const TryBots& from)
{
    into.Files.insert(into.Files.end(), from.Files.begin(), from.Files.end());
    into.Bots.insert(into.Bots.end(), from.Bots.begin(), from.Bots.end());
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
}

// The bytes of the bot's file whose game path ends so ("_c.c", ".bot").
std::string& FileOf(TryBots& bots, const std::string& ending)
{
    for (TryFile& file : bots.Files) {
        if (EndsWith(file.GamePath, ending)) {
            return *file.Bytes;
        }
    }
    throw std::runtime_error("no file ending " + ending);
}

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(0, line.find('\r')));
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

std::size_t LineStarting(const std::vector<std::string>& lines, const std::string& start)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find_first_not_of(" \t") != std::string::npos &&
            lines[i].compare(lines[i].find_first_not_of(" \t"), start.size(), start) == 0) {
            return i;
        }
    }
    throw std::runtime_error("no line starts with " + start);
}

// The first line of the file that starts with `start` (after its indent)
// replaced by `put` (with `block`, it and the lines up to "}" taken out);
// the number of that line, from 1.
int Edit(std::string& bytes,
         const std::string& start,
         const std::vector<std::string>& put,
         bool block = false)
{
    std::vector<std::string> lines = Lines(bytes);
    std::size_t at = LineStarting(lines, start);
    std::size_t end = at + 1;
    while (block && lines[end - 1] != "}") {
        ++end;
    }
    lines.erase(lines.begin() + static_cast<long>(at), lines.begin() + static_cast<long>(end));
    lines.insert(lines.begin() + static_cast<long>(at), put.begin(), put.end());
    bytes = Joined(lines);
    return static_cast<int>(at) + 1;
}

std::vector<Finding> ErrorsBut(const SkillVerdict& skill, const std::string& start)
{
    std::vector<Finding> errors;
    for (const Finding& finding : skill.Findings) {
        if (finding.Level == Severity::Error && finding.Text.rfind(start, 0) != 0) {
            errors.push_back(finding);
        }
    }
    return errors;
}

std::string Texts(const std::vector<Finding>& findings)
{
    std::string text;
    for (const Finding& finding : findings) {
        text += finding.File + ":" + std::to_string(finding.Line) + ": " + finding.Text + "\n";
    }
    return text;
}

// What every bot Tarnwell makes must get from the engine at every skill:
// in the game, each block of characteristics its own (never the default
// bot's), its weights and chat from its own files, the chat built, and no
// error: no chat line names a list the game lacks. `kind` names the bot's
// kind.
void ExpectLoadedAtEverySkill(const TryVerdict& verdict, const std::string& kind)
{
    std::size_t unknownRandoms = 0;
    for (const BotVerdict& bot : verdict.Bots) {
        std::string lower = LowerCase(bot.Name);
        for (const SkillVerdict& skill : bot.Skills) {
            std::string where = bot.Name + " at skill " + std::to_string(skill.Skill);
            EXPECT_TRUE(skill.Entered) << where;
            std::vector<double> blocks;
            for (const CharacterLoad& load : skill.Characters) {
                EXPECT_FALSE(load.Default) << where;
                EXPECT_EQ(load.File, "bots/" + lower + "_c.c") << where;
                blocks.push_back(load.Skill);
            }
            std::vector<double> wanted = skill.Skill == 1   ? std::vector<double>{1}
                                         : skill.Skill < 4  ? std::vector<double>{1, 4}
                                         : skill.Skill == 4 ? std::vector<double>{4}
                                         : skill.Skill < 5  ? std::vector<double>{4, 5}
                                                            : std::vector<double>{5};
            EXPECT_EQ(blocks, wanted) << where;
            EXPECT_EQ(skill.ItemWeights, "bots/" + lower + "_i.c") << where;
            EXPECT_EQ(skill.WeaponWeights, "bots/" + lower + "_w.c") << where;
            EXPECT_EQ(skill.ChatFile, "bots/" + lower + "_t.c") << where;
            for (const LoadedFile& file : skill.Files) {
                if (file.GamePath.rfind("botfiles/bots/" + lower + "_", 0) == 0) {
                    EXPECT_TRUE(file.Tried) << where << ": " << file.GamePath;
                }
            }
            // Every one of the bot's chat types, as the game names them.
            EXPECT_EQ(skill.Chats.size(), ChatTypeCount) << where;
            // Between blocks the engine interpolates, and says what it got.
            bool between = skill.Skill != 1 && skill.Skill != 4 && skill.Skill != 5;
            EXPECT_EQ(skill.Characteristics.empty(), !between) << where;
            std::vector<Finding> others = ErrorsBut(skill, UnknownRandom);
            EXPECT_TRUE(others.empty()) << where << "\n" << Texts(others);
            for (const Finding& finding : skill.Findings) {
                if (finding.Text.rfind(UnknownRandom, 0) == 0 && !test::IsEngineSlip(finding)) {
                    ++unknownRandoms;
                    ADD_FAILURE() << where << ": " << finding.Text;
                }
            }
        }
    }
    EXPECT_EQ(unknownRandoms, 0u) << kind;
}

TEST_F(GameTest, PresetsLoadAtEverySkillInOneRun)
{
    TryBots bots = Preset("Zeroes", false);
    TryVerdict zeros = Try(bots);
    EXPECT_EQ(zeros.Runs, 1);
    ExpectLoadedAtEverySkill(zeros, "Zeros");
    EXPECT_TRUE(zeros.AllLoaded());
    TryVerdict average = Try(Preset("Averaged", true));
    ExpectLoadedAtEverySkill(average, "Average");
}

TEST_F(GameTest, TwentyRandomBotsLoadAtEverySkill)
{
    test::TempFolder settings;
    test::ScriptedMessages messages;
    BotEditor editor(settings.Path(), messages, std::mt19937(2024));
    editor.Start();
    editor.CurrentCatalogues() = OpenArenaCatalogues();
    TryBots bots;
    for (int i = 1; i <= 20; ++i) {
        editor.MarkSaved();
        ASSERT_TRUE(editor.CreateRandomBot());
        Append(bots, BotFiles(editor.ThisBot(), "Random" + std::to_string(i)));
    }
    TryVerdict verdict = Try(bots);
    // 120 bots at skills in one run, on as many levels as it takes.
    EXPECT_EQ(verdict.Runs, 1);
    ASSERT_EQ(verdict.Bots.size(), 20u);
    ExpectLoadedAtEverySkill(verdict, "Random");
}

TEST_F(GameTest, ABotWithExtraChatsLoadsAtEverySkill)
{
    Bot bot;
    std::mt19937 random(11);
    ApplyAveragePreset(bot, OpenArenaCatalogues().Chat, random);
    AddExtraChats(bot, OpenArenaCatalogues().Chat, random);
    AddExtraChats(bot, OpenArenaCatalogues().Chat, random);
    TryVerdict verdict = Try(BotFiles(bot, "Chatty"));
    ExpectLoadedAtEverySkill(verdict, "ExtraChats");
    // Three messages a chat type: each built or refused.
    for (const SkillVerdict& skill : verdict.Bots.at(0).Skills) {
        for (const ChatTypeBuilt& chat : skill.Chats) {
            EXPECT_EQ(chat.Lines, 3) << chat.Type;
        }
    }
}

// The game's own bots, its archive tried as it is: two dozen bots at six
// skills in one run, each set up alone, none dropped or mixed up with
// another that shares its files (Sorceress uses Major's characteristics).
TEST_F(GameTest, TheGamesOwnBotsAllLoadInOneRun)
{
    TryBots bots = CollectTryBots({OpenArena / "baseoa" / "pak6-misc.pk3"});
    ASSERT_GE(bots.Bots.size(), 20u);
    TryVerdict verdict = Try(bots);
    EXPECT_EQ(verdict.Runs, 1);
    for (const BotVerdict& bot : verdict.Bots) {
        for (const SkillVerdict& skill : bot.Skills) {
            std::string where = bot.Name + " at skill " + std::to_string(skill.Skill);
            EXPECT_TRUE(skill.Entered) << where;
            EXPECT_FALSE(skill.UsedDefault()) << where;
            EXPECT_FALSE(skill.Chats.empty()) << where;
            // Some of the game's chat files name lists its rnd.c lacks.
            std::vector<Finding> others = ErrorsBut(skill, UnknownRandom);
            EXPECT_TRUE(others.empty()) << where << "\n" << Texts(others);
        }
    }
}

// A bot the game refuses or mishandles, and the engine's own line for it:
// one file of a bot of "All zeros" edited (Edit), or taken out (no `Start`).
struct Refusal
{
    const char* Name;
    const char* Edited; // the file's ending: "_c.c", ".bot"
    std::string Start;
    std::vector<std::string> Put;
    bool Block;
    std::optional<int> Line; // where the engine's line points, from the edited line
    Severity Level;
    const char* Named; // the ending of the file it names ("" for none)
    std::string Text;  // its text; with "..." at the end, how it starts
    bool Entered;      // the bot still enters the game
};

const std::string Chats = "\"\";"; // the first message: game_enter's
const auto Error = Severity::Error;
const auto Warning = Severity::Warning;

const std::vector<Refusal> Refusals = {
    {"Twice",
     "_c.c",
     "CHARACTERISTIC_ATTACK_SKILL",
     {"\tCHARACTERISTIC_ATTACK_SKILL 0", "\tCHARACTERISTIC_ATTACK_SKILL 0.3"},
     false,
     1,
     Error,
     "_c.c",
     "characteristic 2 already initialized",
     false},
    {"Wordy",
     "_c.c",
     "CHARACTERISTIC_AIM_SKILL",
     {"\tCHARACTERISTIC_AIM_SKILL fast"},
     false,
     0,
     Error,
     "_c.c",
     "expected integer, float or string, found fast",
     false},
    {"Quoted",
     "_c.c",
     "CHARACTERISTIC_CROUCHER",
     {"\tCHARACTERISTIC_CROUCHER 0", "\tCHARACTERISTIC_WALKER \"slow\""},
     false,
     {},
     Error,
     "_c.c",
     "characteristic 48 is not a float",
     true},
    // At skill 2 the chat comes from block 1: the bot still enters.
    {"Nofour",
     "_c.c",
     "skill 4",
     {},
     true,
     {},
     Warning,
     "_c.c",
     "couldn't find skill 4 in bots/nofour_c.c",
     true},
    {"Noone",
     "_c.c",
     "skill 1",
     {},
     true,
     {},
     Warning,
     "_c.c",
     "couldn't find skill 1 in bots/noone_c.c",
     false},
    {"Junk",
     "_c.c",
     "#include",
     {"#include \"chars.h\"", "junk"},
     false,
     1,
     Error,
     "_c.c",
     "unknown definition junk",
     false},
    {"Beyond",
     "_c.c",
     "CHARACTERISTIC_AIM_SKILL",
     {"\t99 0.5"},
     false,
     0,
     Error,
     "_c.c",
     "characteristic index out of range [0, 80]",
     false},
    {"Included",
     "_c.c",
     "#include",
     {"#include \"chars.h\"", "#include \"nosuch.h\""},
     false,
     1,
     Error,
     "_c.c",
     "file nosuch.h not found",
     false},
    {"Chatname",
     "_c.c",
     "CHARACTERISTIC_CHAT_NAME",
     {"\tCHARACTERISTIC_CHAT_NAME \"other\""},
     false,
     {},
     Error,
     "_t.c",
     "couldn't find chat other in bots/chatname_t.c",
     false},
    {"Longline",
     "_t.c",
     Chats,
     {"\"" + std::string(300, 'x') + "\";"},
     false,
     0,
     Error,
     "_t.c",
     "chat message too long",
     false},
    // 240 characters and the map's name three times: 252 in the file, 258
    // once the engine puts the name in; placed at the chat type.
    {"Grows",
     "_t.c",
     Chats,
     {"\"" + std::string(240, 'y') + "\", 4, 4, 4;"},
     false,
     -2,
     Error,
     "_t.c",
     "BotConstructChat: message ...",
     true},
    {"Randomly",
     "_t.c",
     Chats,
     {"\"hello \", NO_SUCH_LIST, \"!\";"},
     false,
     0,
     Error,
     "_t.c",
     UnknownRandom + "NO_SUCH_LIST",
     true},
    {"Component",
     "_t.c",
     Chats,
     {"\"x\", 1.5;"},
     false,
     0,
     Error,
     "_t.c",
     "unknown message component 1.5",
     false},
    {"Nochat",
     "_t.c",
     "",
     {},
     false,
     {},
     Error,
     "_t.c",
     "couldn't load chat nochat from bots/nochat_t.c",
     false},
    {"Noweapons",
     "_w.c",
     "",
     {},
     false,
     {},
     Error,
     "_w.c",
     "couldn't load weapon config bots/noweapons_w.c",
     false},
    {"Undefined",
     "_w.c",
     "#define W_RAILGUN",
     {},
     false,
     {},
     Error,
     "_w.c",
     "couldn't load weapon config bots/undefined_w.c",
     false},
    {"Noaifile", ".bot", "aifile", {}, false, {}, Error, "", "bot has no aifile specified", false},
    {"Bigscript",
     ".bot",
     "}",
     {"}", "// " + std::string(9000, 'x')},
     false,
     {},
     Error,
     "",
     "Bot 'Bigscript' not defined",
     false},
};

TEST_F(GameTest, TheEngineRefusesBrokenBotsWithItsOwnLines)
{
    const std::vector<Refusal>& refusals = Refusals;
    TryBots bots;
    std::vector<std::optional<int>> lines;
    for (const Refusal& refusal : refusals) {
        TryBots bot = Preset(refusal.Name, false);
        auto edited = std::find_if(bot.Files.begin(), bot.Files.end(), [&](const TryFile& file) {
            return EndsWith(file.GamePath, refusal.Edited);
        });
        std::optional<int> line;
        if (refusal.Start.empty()) {
            bot.Files.erase(edited);
        } else {
            int at = Edit(*edited->Bytes, refusal.Start, refusal.Put, refusal.Block);
            line = refusal.Line ? std::optional<int>(at + *refusal.Line) : std::nullopt;
        }
        lines.push_back(line);
        Append(bots, bot);
    }
    // A name longer than the engine's paths hold: Tarnwell refuses to make
    // it, so its files are renamed by hand.
    std::string longName = "Longname" + std::string(40, 'x');
    TryBots tooLong = Preset("Longname", false);
    for (TryFile& file : tooLong.Files) {
        for (std::string* text : {&file.GamePath, &*file.Bytes}) {
            ReplaceAll(*text, "Longname", longName);
            ReplaceAll(*text, "longname", LowerCase(longName));
        }
    }
    tooLong.Bots[0].Name = longName;
    Append(bots, tooLong);
    ASSERT_GE(bots.Bots.size(), 15u);

    TryVerdict verdict = Try(bots, {2});
    EXPECT_EQ(verdict.Runs, 1);
    EXPECT_FALSE(verdict.AllLoaded());
    for (std::size_t i = 0; i < refusals.size(); ++i) {
        const Refusal& refusal = refusals[i];
        const SkillVerdict& skill = verdict.Bots.at(i).Skills.at(0);
        EXPECT_FALSE(skill.Loaded()) << refusal.Name;
        EXPECT_EQ(skill.Entered, refusal.Entered) << refusal.Name;
        std::string lower = LowerCase(refusal.Name);
        bool found = false;
        for (const Finding& finding : skill.Findings) {
            bool prefix = EndsWith(refusal.Text, "...");
            bool text =
                prefix ? finding.Text.rfind(refusal.Text.substr(0, refusal.Text.size() - 3), 0) == 0
                       : finding.Text == refusal.Text;
            bool file = !*refusal.Named || EndsWith(finding.File, lower + refusal.Named);
            found = found || (text && file && finding.Level == refusal.Level &&
                              (!lines[i] || finding.Line == *lines[i]));
        }
        EXPECT_TRUE(found) << refusal.Name << " (line " << lines[i].value_or(0)
                           << "): " << refusal.Text << "\n"
                           << Texts(skill.Findings);
    }
    const SkillVerdict& longSkill = verdict.Bots.back().Skills.at(0);
    EXPECT_FALSE(longSkill.Entered);
    EXPECT_TRUE(longSkill.UsedDefault());
    std::string required = std::to_string(std::string("botfiles/bots/").size() + longName.size() +
                                          std::string("_c.c").size() + 1);
    EXPECT_NE(Texts(longSkill.Findings)
                  .find("Com_sprintf: Output length 64 too short, require " + required + " bytes."),
              std::string::npos)
        << Texts(longSkill.Findings);
    // The too large script is refused before any bot comes.
    EXPECT_NE(Texts(verdict.Findings).find("file too large: scripts/bigscript.bot is "),
              std::string::npos)
        << Texts(verdict.Findings);
}

// The game's bot list names Sarge with bots/sarge_c.c; the tried bot of
// that name has files of its own: those are loaded.
TEST_F(GameTest, ABotNamedLikeOneOfTheGamesIsLoadedFromItsOwnFiles)
{
    TryBots bots = Preset("Sargent", false);
    Edit(FileOf(bots, ".bot"), "name", {"name\t\tSarge"});
    bots.Bots[0].Name = "Sarge";
    TryVerdict verdict = Try(bots, {3});
    const SkillVerdict& skill = verdict.Bots.at(0).Skills.at(0);
    EXPECT_TRUE(skill.Loaded()) << Texts(skill.Findings);
    ASSERT_EQ(skill.Characters.size(), 2u);
    EXPECT_EQ(skill.Characters[0].File, "bots/sargent_c.c");
    std::size_t own = 0;
    for (const LoadedFile& file : skill.Files) {
        if (file.GamePath.rfind("botfiles/bots/sargent_", 0) == 0) {
            ++own;
            EXPECT_TRUE(file.Tried) << file.GamePath << " from " << file.FoundIn;
            EXPECT_EQ(file.Shown, file.GamePath.substr(14)) << file.GamePath;
        } else {
            EXPECT_FALSE(file.Tried) << file.GamePath;
            EXPECT_EQ(file.GamePath.find("sarge_"), std::string::npos) << file.GamePath;
        }
    }
    EXPECT_EQ(own, 4u);
}

TEST_F(GameTest, AMapWithoutItsNavigationFileIsReported)
{
    test::TempFolder folder;
    std::filesystem::path base = folder / "game" / "baseoa";
    std::filesystem::create_directories(base);
    for (const auto& entry : std::filesystem::directory_iterator(OpenArena / "baseoa")) {
        std::filesystem::create_symlink(entry.path(), base / entry.path().filename());
    }
    std::unique_ptr<ZipReader> maps =
        ZipReader::Open(OpenArena / "baseoa" / "pak1-maps.pk3").ValueOr(nullptr);
    ASSERT_TRUE(maps);
    Result<std::string> map =
        maps->ReadEntry(*maps->FindEntry("maps/oa_dm1.bsp"), 64 * 1024 * 1024);
    ASSERT_TRUE(map);
    ASSERT_TRUE(test::WriteZipArchive(base / "zz-noaas.pk3", {{"maps/noaas.bsp", *map}}));
    TryVerdict verdict = Try(Preset("Zeroes", false), {1}, 0, {folder / "game", "baseoa"}, "noaas");
    EXPECT_EQ(verdict.Result, TryVerdict::Outcome::MapUnusable);
    EXPECT_EQ(verdict.Problem,
              "The game folder has no maps/noaas.aas, the map's navigation file: "
              "bots cannot play on noaas.");
    EXPECT_EQ(Texts(verdict.Findings), "maps/noaas.aas:0: can't open maps/noaas.aas\n");
    EXPECT_FALSE(verdict.Bots.at(0).Skills.at(0).Added);
}

// One of the game's own bots, copied under a name of its own.
TryBots TwinOfSarge()
{
    std::unique_ptr<ZipReader> pak =
        ZipReader::Open(OpenArena / "baseoa" / "pak6-misc.pk3").ValueOr(nullptr);
    TryBots bots;
    if (!pak) {
        return bots;
    }
    for (const char* part : {"c", "i", "w", "t"}) {
        std::string entry = std::string("botfiles/bots/sarge_") + part + ".c";
        std::string bytes = *pak->ReadEntry(*pak->FindEntry(entry), 1 << 20);
        ReplaceAll(bytes, "sarge_", "twin_");
        ReplaceAll(bytes, "\"sarge\"", "\"twin\"");
        bots.Files.push_back({std::string("botfiles/bots/twin_") + part + ".c", {}, bytes, entry});
    }
    bots.Files.push_back({"scripts/twin.bot",
                          {},
                          "{\nname Twin\nmodel sarge\naifile bots/twin_c.c\n}\n",
                          "twin.bot"});
    bots.Bots.push_back({"Twin", "twin.bot"});
    return bots;
}

TEST_F(GameTest, AMatchSaysWhatEachBotSaidAndItsFragsAndDeaths)
{
    TryBots bots = TwinOfSarge();
    ASSERT_FALSE(bots.Bots.empty());
    TryVerdict verdict = Try(bots, {2, 3, 4, 5}, 10);
    EXPECT_EQ(verdict.Runs, 2);
    int frags = 0;
    int deaths = 0;
    for (const SkillVerdict& skill : verdict.Bots.at(0).Skills) {
        EXPECT_TRUE(skill.Loaded()) << Texts(skill.Findings);
        EXPECT_TRUE(skill.Play.Played) << skill.Skill;
        // Chatting at every chance, each greets the others as it comes in.
        EXPECT_FALSE(skill.Play.Said.empty()) << skill.Skill;
        frags += skill.Play.Frags;
        deaths += skill.Play.Deaths;
        EXPECT_LE(skill.Play.Suicides, skill.Play.Deaths);
    }
    // Each frag is another's death; the world kills too.
    EXPECT_LE(frags, deaths);
}

TEST_F(GameTest, TryOfTheCommandLineSaysWhetherEveryBotLoaded)
{
    test::TempFolder folder;
    test::TempFolder settings;
    test::ScriptedMessages messages;
    Catalogues catalogues = test::FreshCatalogues();
    Settings author = test::AuthorSettings();
    for (const char* name : {"Zeroes", "Broken"}) {
        Bot bot;
        ApplyZeroPreset(bot);
        bot.SetBotPara(Para::Name, Value(std::string(name)));
        std::filesystem::create_directories(folder / name);
        ASSERT_TRUE(SaveBotFileSet(bot, folder / name, true, false, catalogues, author, messages));
    }
    std::filesystem::path broken = folder / "Broken" / "botfiles" / "bots" / "broken_c.c";
    std::string bytes = test::ReadBytes(broken);
    Edit(bytes, "#include", {"#include \"chars.h\"", "junk"});
    test::WriteBytes(broken, bytes);
    auto run = [&settings](std::vector<std::string> arguments, std::string& out) {
        arguments.insert(arguments.begin(), {"try", "--settings", settings.Path().string()});
        std::ostringstream outStream;
        std::ostringstream errStream;
        int status = RunCli(arguments, outStream, errStream);
        out = outStream.str() + errStream.str();
        return status;
    };
    std::string out;
    EXPECT_EQ(run({"--skill", "1", (folder / "Zeroes").string()}, out), 0) << out;
    EXPECT_NE(out.find("Zeroes at skill 1: in the game"), std::string::npos) << out;
    EXPECT_EQ(run({"--skill", "1", (folder / "Zeroes").string(), broken.string()}, out), 1) << out;
    EXPECT_NE(out.find(broken.string() + ":10: error: unknown definition junk [Broken: skill 1]"),
              std::string::npos)
        << out;
    EXPECT_EQ(run({"--skill", "6", broken.string()}, out), 2) << out;
    EXPECT_EQ(run({"--game", (folder / "nothing").string(), broken.string()}, out), 3) << out;
}

} // namespace
} // namespace twl
