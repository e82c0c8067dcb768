// SPDX-License-Identifier: GPL-3.0-or-later
// OpenArena's own bots, read and made again, judged by the game's engine:
// each copy must be the same bot to the game. Skipped without the game.

#include "core/TextCase.h"
#include "core/ValueFormat.h"
#include "editing/BotEditor.h"
#include "editing/FileCommands.h"
#include "game/OpenArenaGame.h"
#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"
#include "services/ArchiveBotLoad.h"
#include "services/BotFileSet.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <set>

namespace twl {
namespace {

using test::GameTest;
using test::OpenArena;
using test::OpenArenaCatalogues;

const std::string BotArchive = "pak6-misc.pk3";

// Everything of a bot that the editor shows or keeps, one value a line.
std::string Dump(const Bot& bot)
{
    std::string dump;
    auto add = [&dump](const std::string& what, const Value& value) {
        dump += what + " " + std::to_string(static_cast<int>(value.GetKind())) + " " +
                FormatValue(value) + "\n";
    };
    for (int index : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10}) {
        add(std::to_string(index), bot.BotPara(index));
    }
    for (int index = Para::FirstBotValue; index <= Para::ScriptFile; ++index) {
        add(std::to_string(index), bot.BotPara(index));
    }
    for (int level : SkillLevels) {
        const Skill& skill = bot.Skills("S" + std::to_string(level));
        for (int c = Para::FirstSkillChar; c <= Para::LastSkillChar; ++c) {
            add(std::to_string(Para::OfSkill(level, c)), skill.SkillPara(c));
        }
        for (const auto& [index, value] : skill.OwnValues) {
            add("own " + std::to_string(level) + " " + std::to_string(index), value);
        }
        for (const auto& [index, kept] : skill.KeptTexts) {
            add("text " + std::to_string(level) + " " + std::to_string(index) + " " + kept.second,
                kept.first);
        }
        for (const std::string& line : skill.UnknownLines) {
            dump += "unknown " + std::to_string(level) + " " + line + "\n";
        }
    }
    for (int group = 0; group < ChatGroupCount; ++group) {
        for (int line = 0; line <= bot.ChatGroupUBound(group); ++line) {
            dump += "chat " + std::to_string(group) + " " + bot.BotChat(group, line) + "\n";
        }
    }
    for (WeightFileKind kind : {WeightFileKind::Weapon, WeightFileKind::Item}) {
        dump += "kept " + bot.KeptWeights(kind).ForeignBytes.value_or("-") + "\n";
    }
    for (std::size_t kind = 0; kind < BotFileKindCount; ++kind) {
        for (const std::string& line : bot.LeadingComments(static_cast<BotFileKind>(kind))) {
            dump += "comment " + std::to_string(kind) + " " + line + "\n";
        }
    }
    return dump;
}

// A file name in an engine line as any bot's: the copies have other names.
std::string WithoutFileNames(const std::string& text)
{
    // "bots/NAME_X.c" (X one of c, t, w, i) becomes "bots/*_X.c".
    auto isNameChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
    };
    std::string out;
    std::size_t at = 0;
    for (std::size_t found = text.find("bots/"); found != std::string::npos;
         found = text.find("bots/", at)) {
        std::size_t start = found + 5;
        std::size_t end = start;
        while (end < text.size() && isNameChar(text[end])) {
            ++end;
        }
        bool named = end - start >= 3 && text[end - 2] == '_' &&
                     std::string("ctwi").find(text[end - 1]) != std::string::npos &&
                     text.compare(end, 2, ".c") == 0;
        out.append(text, at, start - at);
        if (named) {
            out += std::string("*_") + text[end - 1] + ".c";
            at = end + 2;
        } else {
            at = start;
        }
    }
    return out + text.substr(at);
}

std::set<std::string> ErrorTexts(const SkillVerdict& skill)
{
    std::set<std::string> texts;
    for (const Finding& finding : skill.Findings) {
        if (finding.Level == Severity::Error && !test::IsEngineSlip(finding)) {
            texts.insert(WithoutFileNames(finding.Text));
        }
    }
    return texts;
}

// The characteristics the engine holds at a skill between blocks, but the
// texts (file names, the name), which a copy names after itself.
std::map<int, std::string> Numbers(const SkillVerdict& skill)
{
    std::map<int, std::string> numbers;
    for (const EngineCharacteristic& characteristic : skill.Characteristics) {
        if (IsNumericText(characteristic.Value)) {
            numbers[characteristic.Index] = characteristic.Value;
        }
    }
    return numbers;
}

// The chat types built and their messages.
std::map<std::string, int> ChatTypes(const SkillVerdict& skill)
{
    std::map<std::string, int> types;
    for (const ChatTypeBuilt& chat : skill.Chats) {
        types[chat.Type] = chat.Lines;
    }
    return types;
}

// The copy's chat types but one: the game asks for "enemy_suicide" and
// never builds the "kill_suicide" that an original file may name instead,
// so a copy says those lines there, which the original never said.
std::map<std::string, int> CopiedChatTypes(const SkillVerdict& original, const SkillVerdict& copy)
{
    std::map<std::string, int> types = ChatTypes(copy);
    if (ChatTypes(original).count("enemy_suicide") == 0) {
        types.erase("enemy_suicide");
    }
    return types;
}

class RealBotsTest : public GameTest
{};

TEST_F(RealBotsTest, MadeAgainEachIsTheSameBotToTheGame)
{
    const Catalogues& catalogues = OpenArenaCatalogues();
    std::vector<std::filesystem::path> folders = GameArchiveFolders(OpenArena);
    TryBots originalBots = CollectTryBots({OpenArena / "baseoa" / BotArchive});
    ASSERT_GE(originalBots.Bots.size(), 24u);
    Settings settings = test::AuthorSettings();
    settings.Text(Settings::Q3Baseq3) = OpenArena.string();
    test::TempFolder made;
    std::vector<std::filesystem::path> archives;
    for (const TryBot& original : originalBots.Bots) {
        // Loaded from the game's list as "Load bot" loads it, then made again.
        const BotList& list = catalogues.Bots;
        std::size_t id = 0;
        while (id < list.size() && LowerCase(list[id].Name) != LowerCase(original.Name)) {
            ++id;
        }
        ASSERT_LT(id, list.size()) << original.Name;
        Bot bot;
        test::ScriptedMessages messages;
        ASSERT_TRUE(
            LoadListedBot(bot, id, LoadType::WholeBot, settings, catalogues, folders, messages))
            << original.Name;
        std::string name = bot.BotPara(Para::Name).ToText();
        // Flat, in the layout and packed: the same bytes each way.
        Result<MadeBotFiles> result = BotFilesInMemory(bot, catalogues, settings);
        ASSERT_TRUE(result) << name;
        const MadeBotFiles& inMemory = result.Value();
        std::filesystem::path flat = made / ("flat-" + name);
        std::filesystem::path layout = made / name;
        std::filesystem::create_directories(flat);
        std::filesystem::create_directories(layout);
        ASSERT_TRUE(SaveBotFileSet(bot, flat, false, false, catalogues, settings, messages));
        ASSERT_TRUE(SaveBotFileSet(bot, layout, true, true, catalogues, settings, messages));
        for (std::size_t k = 0; k < inMemory.size(); ++k) {
            const MadeBotFile& file = inMemory[k];
            std::string inLayout =
                (k + 1 < inMemory.size() ? "botfiles/bots/" : "scripts/") + file.FileName;
            EXPECT_EQ(test::ReadBytes(flat / file.FileName), file.Bytes) << file.FileName;
            EXPECT_EQ(test::ReadBytes(layout / inLayout), file.Bytes) << file.FileName;
        }
        // A weight file of another layout than the editor's comes back byte
        // for byte.
        for (WeightFileKind kind : {WeightFileKind::Weapon, WeightFileKind::Item}) {
            int file = kind == WeightFileKind::Weapon ? Para::WeaponFile : Para::ItemFile;
            if (const auto& kept = bot.KeptWeights(kind).ForeignBytes) {
                EXPECT_EQ(test::ReadBytes(flat / bot.BotPara(file).ToText()), *kept) << name;
            }
        }
        archives.push_back(layout / ("bot-" + name + ".pk3"));
    }

    TryVerdict originals = Try(originalBots);
    TryVerdict copies = Try(CollectTryBots(archives));
    std::map<std::string, const BotVerdict*> copyVerdicts;
    for (const BotVerdict& bot : copies.Bots) {
        copyVerdicts[LowerCase(bot.Name)] = &bot;
    }

    // One line a bot: how the original and its copy did.
    std::printf("%-10s %-11s %-8s %-8s %-6s %s\n",
                "bot",
                "copy",
                "entered",
                "numbers",
                "chats",
                "errors (original / copy)");
    for (const BotVerdict& original : originals.Bots) {
        auto found = copyVerdicts.find(LowerCase(original.Name));
        ASSERT_NE(found, copyVerdicts.end()) << original.Name;
        const BotVerdict& copy = *found->second;
        ASSERT_EQ(original.Skills.size(), copy.Skills.size());
        bool entered = true;
        bool numbers = true;
        bool chats = true;
        std::size_t originalErrors = 0;
        std::size_t copyErrors = 0;
        for (std::size_t k = 0; k < original.Skills.size(); ++k) {
            const SkillVerdict& was = original.Skills[k];
            const SkillVerdict& is = copy.Skills[k];
            std::string where = original.Name + " at skill " + std::to_string(was.Skill);
            std::set<std::string> wasErrors = ErrorTexts(was);
            std::set<std::string> isErrors = ErrorTexts(is);
            originalErrors += wasErrors.size();
            copyErrors += isErrors.size();
            // No engine error the original does not have.
            for (const std::string& error : isErrors) {
                EXPECT_EQ(wasErrors.count(error), 1u) << where << ": " << error;
            }
            // A copy of a bot the game could not set up may do better.
            if (!was.Entered) {
                continue;
            }
            entered = entered && is.Entered;
            EXPECT_TRUE(is.Entered) << where;
            numbers = numbers && Numbers(was) == Numbers(is);
            EXPECT_EQ(Numbers(was), Numbers(is)) << where;
            chats = chats && ChatTypes(was) == CopiedChatTypes(was, is);
            EXPECT_EQ(ChatTypes(was), CopiedChatTypes(was, is)) << where;
        }
        std::printf("%-10s %-11s %-8s %-8s %-6s %zu / %zu\n",
                    original.Name.c_str(),
                    copy.Name.c_str(),
                    entered ? "same" : "NO",
                    numbers ? "same" : "DIFFER",
                    chats ? "same" : "DIFFER",
                    originalErrors,
                    copyErrors);
    }
}

// Through the editor: each bot of the game's list loaded, its files made,
// loaded again: the same values, and nothing to save.
TEST_F(RealBotsTest, LoadedSavedAndLoadedAgainEachShowsTheSameValues)
{
    test::TempFolder settingsFolder;
    test::ScriptedMessages messages;
    BotEditor editor(settingsFolder.Path(), messages);
    editor.Start();
    editor.CurrentSettings().Text(Settings::Q3Baseq3) = OpenArena.string();
    editor.InitByValues();
    editor.CurrentCatalogues() = OpenArenaCatalogues();
    editor.CurrentSettings().BaseQ3Checked = true;
    test::TempFolder made;
    const BotList& bots = editor.CurrentCatalogues().Bots;
    ASSERT_GE(bots.size(), 30u);
    for (std::size_t id = 0; id < bots.size(); ++id) {
        std::string name = bots[id].Name;
        CommandOutcome loaded = LoadBotOfList(editor, std::to_string(id), LoadType::WholeBot);
        ASSERT_TRUE(loaded.ShowBot) << name;
        // Weight files kept whole are named in the status line, not in boxes.
        bool kept = editor.ThisBot().HasForeignWeights(WeightFileKind::Weapon) ||
                    editor.ThisBot().HasForeignWeights(WeightFileKind::Item);
        EXPECT_EQ(loaded.Status.find("use a layout Tarnwell does not edit") != std::string::npos ||
                      loaded.Status.find("uses a layout Tarnwell does not edit") !=
                          std::string::npos,
                  kept)
            << loaded.Status;
        for (const test::ScriptedMessages::Message& message : messages.Received()) {
            EXPECT_NE(message.Title, "Weights kept") << name;
        }
        EXPECT_FALSE(editor.IsChanged()) << name;
        std::string first = Dump(editor.ThisBot());
        std::filesystem::path folder = made / name;
        std::filesystem::create_directories(folder);
        LoadOrMakeBotFiles(editor, folder, "", LoadType::MakeBotFiles, true, false);
        EXPECT_FALSE(editor.IsChanged()) << name;
        std::string stem = editor.ThisBot().BotPara(Para::LowerName).ToText();
        editor.Replace("set up", Bot());
        LoadOrMakeBotFiles(
            editor, folder / "botfiles" / "bots", stem, LoadType::WholeBot, true, true);
        EXPECT_FALSE(editor.IsChanged()) << name;
        EXPECT_EQ(Dump(editor.ThisBot()), first) << name;
    }
}

} // namespace
} // namespace twl
