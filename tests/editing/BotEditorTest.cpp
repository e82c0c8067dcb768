// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/BotEditor.h"

#include "botfiles/CharFile.h"
#include "botfiles/ScriptFile.h"
#include "botfiles/WeightFiles.h"
#include "editing/PageTables.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;
using Message = ScriptedMessages::Message;
using Kind = ScriptedMessages::Kind;

class BotEditorTest : public ::testing::Test
{
protected:
    // The editor after start-up, with twl.ini holding `ini` when given.
    BotEditor& Started(const std::vector<std::string>& ini = {})
    {
        if (!ini.empty()) {
            std::string text;
            for (const std::string& line : ini) {
                text += line + "\r\n";
            }
            test::WriteBytes(m_folder / "twl.ini", text);
        }
        m_editor.Start();
        m_editor.SetFilling(false);
        return m_editor;
    }

    static std::vector<std::string> Ini(const std::string& game, const std::string& work)
    {
        return {"[Tarnwell settings]",
                "Q3Baseq3 = " + game,
                "WorkDir = " + work,
                "WinZipDir = ",
                "",
                "UserName = ",
                "Email = ",
                "Http = ",
                "Bots = ",
                "",
                "BaseQ3Check = False"};
    }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    BotEditor m_editor{m_folder.Path(), m_messages, std::mt19937(7)};
};

TEST_F(BotEditorTest, StartsWithAnUnchangedAllZerosBotAndRepairedSettings)
{
    BotEditor& editor = Started();
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_FALSE(editor.IsChanged());
    EXPECT_EQ(editor.ThisBot().BotPara(Para::OfSkill(5, 30)), WholeNumber(0));
    EXPECT_EQ(editor.CurrentSettings().Text(Settings::WorkDir), m_folder.Path().string());
    EXPECT_EQ(editor.CurrentSettings().BotsMade, WholeNumber(0));
    EXPECT_EQ(editor.RememberedFolder, m_folder.Path());
    EXPECT_FALSE(editor.CanShowIcons);
    EXPECT_EQ(editor.CurrentCatalogues().Models.size(), 23u);
}

TEST_F(BotEditorTest, WrongFoldersInTheSettingsAreReportedAndRepaired)
{
    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    test::WriteBytes(game / "baseq3" / "pak0.pk3", "");
    TempFolder notGame;
    std::string gone = (m_folder / "gone").string();

    struct Case
    {
        std::string Game;
        std::string Work;
        std::vector<Message> Said;
        std::string GameAfter;
        std::string WorkAfter; // empty: the settings folder
        bool Icons;
    };

    const Case cases[] = {
        {game.Path().string(),
         notGame.Path().string(),
         {},
         game.Path().string(),
         notGame.Path().string(),
         true},
        {notGame.Path().string(),
         "",
         {{Kind::Warn,
           "Tarnwell: Quake3.exe missing",
           "Quake3.exe not found in '" + notGame.Path().string() + "'\n" + WhatAGameFolderHolds()}},
         "",
         "",
         false},
        {"",
         gone,
         {{Kind::Warn,
           "Tarnwell: Work directory missing",
           "Given working directory not found in '" + gone + "'. Using application directory."}},
         "",
         "",
         false},
    };
    for (const Case& c : cases) {
        ScriptedMessages messages;
        TempFolder settings;
        std::string text;
        for (const std::string& line : Ini(c.Game, c.Work)) {
            text += line + "\r\n";
        }
        test::WriteBytes(settings / "twl.ini", text);
        BotEditor editor(settings.Path(), messages);
        editor.Start();
        std::string workAfter = c.WorkAfter.empty() ? settings.Path().string() : c.WorkAfter;
        EXPECT_EQ(messages.Received(), c.Said) << c.Game << " | " << c.Work;
        EXPECT_EQ(editor.CurrentSettings().Text(Settings::Q3Baseq3), c.GameAfter);
        EXPECT_EQ(editor.CurrentSettings().Text(Settings::WorkDir), workAfter);
        EXPECT_EQ(editor.RememberedFolder, workAfter);
        EXPECT_EQ(editor.CanShowIcons, c.Icons);
    }
}

TEST_F(BotEditorTest, TextBoxRules)
{
    BotEditor& editor = Started();

    struct Case
    {
        int Box;
        std::string Text;
        std::string Title; // empty: the text passes
        std::string Message;
        Value Stored;
    };

    const Case cases[] = {
        {Para::Name, "", "Selfawareness error!", "Bot must have a name!", Value("Bot")},
        {Para::Name,
         "Johnny ",
         "Space error!",
         "Bot name can't have any spaces. Use funname if you want to use spaces.",
         Value("Bot")},
        {Para::Name,
         "a/b",
         "Name error!",
         "Bot name can't contain any of / \\ : * ? \" < > | ; because the game could not find "
         "the bot's files or would cut its script short.",
         Value("Bot")},
        {Para::Name, "Johnny", "", "", Value("Johnny")},
        {Para::FunName, "Big Bad", "", "", Value("\"Big Bad\"")},
        {Para::FunName, "BigBad", "", "", Value("BigBad")},
        {Para::FunName, "", "", "", Value("")},
        {Para::FunName, "a;b", "Funname error!", "Funname can't contain \" \\ or ;", Value("")},
        {Para::FunName,
         "say \"hi\"",
         "Funname error!",
         "Funname can't contain \" \\ or ;",
         Value("")},
        {Para::FunName,
         "back\\slash",
         "Funname error!",
         "Funname can't contain \" \\ or ;",
         Value("")},
        {Para::VersionMajor, "", "Error!", "Value must be a number!", WholeNumber(0)},
        {Para::VersionMajor, "1,5", "Error!", "Value must be a number!", WholeNumber(0)},
        {Para::VersionMajor, "x", "Error!", "Value must be a number!", WholeNumber(0)},
        {Para::VersionMajor, "2", "", "", Value(2.0)},
        {Para::VersionMinor, "1.5", "", "", Value(1.5)},
        {Para::Comment, "", "", "", Value("")},
        {Para::Comment, "made by hand", "", "", Value("made by hand")},
    };
    for (const Case& c : cases) {
        m_messages.Clear();
        bool stored = editor.ValidateBox(c.Box, c.Text);
        EXPECT_EQ(stored, c.Title.empty()) << c.Box << " " << c.Text;
        if (c.Title.empty()) {
            EXPECT_TRUE(m_messages.Received().empty()) << c.Text;
        } else {
            EXPECT_EQ(m_messages.Received(),
                      std::vector<Message>({{Kind::Warn, c.Title, c.Message}}))
                << c.Text;
        }
        Value now = editor.ThisBot().BotPara(c.Box);
        if (c.Stored.IsNumber()) {
            EXPECT_EQ(now.ToNumber(), c.Stored.ToNumber()) << c.Text;
        } else {
            EXPECT_EQ(now, c.Stored) << c.Text;
        }
    }
    // What the box shows again: the fun name without its quotes.
    ASSERT_TRUE(editor.ValidateBox(Para::FunName, "Big Bad"));
    EXPECT_EQ(editor.BoxText(Para::FunName), "Big Bad");
}

TEST_F(BotEditorTest, CheckAllInStopsAtTheFirstBadBox)
{
    BotEditor& editor = Started();
    std::map<int, std::string> boxes = {{Para::Name, ""},
                                        {Para::FunName, "^1Big Bad"},
                                        {Para::VersionMajor, "1"},
                                        {Para::VersionMinor, "x"},
                                        {Para::Comment, "c"}};
    auto text = [&](int index) {
        return boxes[index];
    };
    EXPECT_EQ(editor.CheckAllIn(text), std::optional<int>(Para::Name));
    EXPECT_EQ(m_messages.Received(),
              std::vector<Message>(
                  {{Kind::Warn, "Selfawareness error!", "Bot must have a name!"},
                   {Kind::Warn, "Error-or-or!", "Errors in bot! Correct before saving!"}}));
    boxes[Para::Name] = "Johnny";
    m_messages.Clear();
    EXPECT_EQ(editor.CheckAllIn(text), std::optional<int>(Para::VersionMinor));
    // The boxes before the bad one were stored as if left one by one.
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Name), Value("Johnny"));
    EXPECT_EQ(editor.ThisBot().BotPara(Para::FunName), Value("\"^1Big Bad\""));
    EXPECT_EQ(m_messages.Received().size(), 2u);
    boxes[Para::VersionMinor] = "3";
    m_messages.Clear();
    EXPECT_EQ(editor.CheckAllIn(text), std::nullopt);
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Comment), Value("c"));
}

TEST_F(BotEditorTest, NewBotsAskBeforeAChangedBotIsLost)
{
    BotEditor& editor = Started();
    const std::string question =
        "The current bot has changed. Do you want to create a new bot and lose unsaved work on "
        "this one?";
    // Unchanged: no question.
    ASSERT_TRUE(editor.CreateAverageBot());
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_EQ(editor.ThisBot().BotPara(Para::OfSkill(1, 6)), WholeNumber(180));

    editor.SetOneValue(44, 300);
    ASSERT_TRUE(editor.IsChanged());
    for (auto create :
         {&BotEditor::CreateZeroBot, &BotEditor::CreateAverageBot, &BotEditor::CreateRandomBot}) {
        m_messages.ExpectQuestion(false);
        EXPECT_FALSE((editor.*create)());
        EXPECT_EQ(editor.ThisBot().BotPara(44), Value(300.0));
        EXPECT_TRUE(editor.IsChanged());
    }
    m_messages.ExpectQuestion(true);
    EXPECT_TRUE(editor.CreateZeroBot());
    EXPECT_EQ(editor.ThisBot().BotPara(44), WholeNumber(0));
    std::vector<Message> said = m_messages.Received();
    ASSERT_EQ(said.size(), 4u);
    for (const Message& message : said) {
        EXPECT_EQ(message, (Message{Kind::Ask, "Tarnwell", question}));
    }
}

TEST_F(BotEditorTest, RandomBotsStayInRangeAndInTheirLinkingOrder)
{
    BotEditor& editor = Started();
    auto snapshot = [](const Bot& bot) {
        std::vector<std::string> values;
        for (int index : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10}) {
            values.push_back(bot.BotPara(index).ToText());
        }
        for (int index = 31; index <= 80; ++index) {
            values.push_back(bot.BotPara(index).ToText());
        }
        for (int level : SliderLevels) {
            for (int c = 2; c <= 30; ++c) {
                values.push_back(bot.BotPara(Para::OfSkill(level, c)).ToText());
            }
        }
        for (int group = 0; group < ChatGroupCount; ++group) {
            values.push_back(bot.BotChat(group, bot.ChatGroupUBound(group)));
        }
        return values;
    };
    std::set<std::vector<std::string>> seen;
    for (int round = 0; round < 30; ++round) {
        ASSERT_TRUE(editor.CreateRandomBot());
        const Bot& bot = editor.ThisBot();
        seen.insert(snapshot(bot));
        for (const ThreeSliderLayout& slider : ThreeSliders()) {
            std::array<double, 3> v{};
            for (std::size_t l = 0; l < 3; ++l) {
                Value value = bot.BotPara(Para::OfSkill(SliderLevels[l], slider.Index));
                ASSERT_TRUE(value.IsNumber());
                v[l] = *value.ToNumber();
                EXPECT_GE(v[l], 0.0);
                EXPECT_LE(v[l], slider.Max);
                // On the slider's own grid: a position, shown exactly.
                SliderRange range = *RangeFor(SliderKind::ThreeLevels, slider.Max);
                EXPECT_EQ(PositionValue(PositionOf(v[l], range), range), v[l]);
                EXPECT_EQ(value.GetKind() == Value::Kind::Int16, v[l] == static_cast<int>(v[l]));
            }
            if (slider.Link == Linking::NeverFalls) {
                EXPECT_TRUE(v[0] <= v[1] && v[1] <= v[2]) << slider.Index;
            } else if (slider.Link == Linking::NeverRises) {
                EXPECT_TRUE(v[0] >= v[1] && v[1] >= v[2]) << slider.Index;
            }
        }
        for (const OneSliderLayout& slider : OneSliders()) {
            double v = *bot.BotPara(slider.Index).ToNumber();
            EXPECT_GE(v, 0.0);
            EXPECT_LE(v, slider.Max) << slider.Index;
        }
        EXPECT_NE(editor.GenderOption(), -1);
        ModelSelection selection = editor.ResolveModelAndSkin(); // asks nothing: it is listed
        const ModelEntry& model =
            editor.CurrentCatalogues().Models[static_cast<std::size_t>(selection.Model)];
        EXPECT_EQ(model.Name, bot.BotPara(Para::Model).ToText());
        EXPECT_EQ(model.Skins[static_cast<std::size_t>(selection.Skin)].Name,
                  bot.BotPara(Para::Skin).ToText());
        for (int group = 0; group < ChatGroupCount; ++group) {
            EXPECT_EQ(bot.BotChat(group, 0).substr(0, 2), "{{");
        }
    }
    EXPECT_GT(seen.size(), 25u);
    EXPECT_TRUE(m_messages.Received().empty());

    // The same seed gives the same bot.
    TempFolder other;
    ScriptedMessages otherMessages;
    BotEditor first(other.Path(), otherMessages, std::mt19937(42));
    BotEditor second(other.Path(), otherMessages, std::mt19937(42));
    first.Start();
    second.Start();
    first.CreateRandomBot();
    second.CreateRandomBot();
    EXPECT_EQ(snapshot(first.ThisBot()), snapshot(second.ThisBot()));
}

TEST_F(BotEditorTest, GeneralPropertiesAndSliders)
{
    BotEditor& editor = Started();

    struct Case
    {
        std::function<void()> Edit;
        int Para;
        Value Expected;
    };

    const Case cases[] = {
        {[&] { editor.SetGender(1); }, Para::Gender, Value("female")},
        {[&] { editor.SetGender(2); }, Para::Gender, Value("it")},
        {[&] { editor.SetRailColour(1); }, Para::RailColor, WholeNumber(0)},
        {[&] { editor.SetRailColour(0); }, Para::RailColor, Value("None")},
        {[&] { editor.SetRailColour(8); }, Para::RailColor, WholeNumber(7)},
        {[&] { editor.SetArenaLord(true); }, Para::ArenaLord, WholeNumber(1)},
        {[&] { editor.SetArenaLord(false); }, Para::ArenaLord, WholeNumber(0)},
        {[&] { editor.SetOneValue(72, 205); }, 72, Value(205.0)},
        {[&] { editor.SetSkillValue(4, 7, 1.25); }, 407, Value(1.25)},
    };
    for (const Case& c : cases) {
        editor.MarkSaved();
        c.Edit();
        EXPECT_TRUE(editor.IsChanged()) << c.Para;
        EXPECT_EQ(editor.ThisBot().BotPara(c.Para), c.Expected) << c.Para;
    }
    EXPECT_EQ(editor.RailColourIndex(), 8);
    editor.SetRailColour(5);
    EXPECT_EQ(editor.RailColourIndex(), 5);
    EXPECT_EQ(RailColours()[5], "Red");
    editor.Edit("set up", [&](Bot& bot) { bot.SetBotPara(Para::Gender, Value("robot")); });
    EXPECT_EQ(editor.GenderOption(), -1);
    // Typing marks the bot changed, but not while the program fills the boxes.
    editor.MarkSaved();
    editor.SetFilling(true);
    editor.TextEdited();
    EXPECT_FALSE(editor.IsChanged());
    editor.SetFilling(false);
    editor.TextEdited();
    EXPECT_TRUE(editor.IsChanged());
}

TEST_F(BotEditorTest, ClosingAsksAboutAChangedBotThenWritesTheLists)
{
    BotEditor& editor = Started();
    EXPECT_TRUE(editor.MayClose());
    editor.SetArenaLord(true);
    m_messages.ExpectQuestion(false);
    EXPECT_FALSE(editor.MayClose());
    m_messages.ExpectQuestion(true);
    EXPECT_TRUE(editor.MayClose());
    EXPECT_EQ(m_messages.Received().back(),
              (Message{Kind::Ask,
                       "Tarnwell",
                       "The current bot has changed. Do you still want to exit without saving?"}));
    AddModelSkin(editor.CurrentCatalogues().Models, "Newguy", "Default", UserDefined, "");
    editor.CurrentSettings().Text(Settings::UserName) = "Vantry";
    editor.SaveOnExit();
    EXPECT_NE(test::ReadBytes(m_folder / "twl_models").find("\"Newguy\""), std::string::npos);
    EXPECT_NE(test::ReadBytes(m_folder / "twl.ini").find("UserName = Vantry"), std::string::npos);
}

TEST_F(BotEditorTest, AMissingModelOrSkinIsOfferedToTheList)
{
    BotEditor& editor = Started();
    ModelCatalogue& models = editor.CurrentCatalogues().Models;
    auto show = [&](const std::string& model, const std::string& skin) {
        editor.Edit("set up", [&](Bot& bot) { bot.SetBotPara(Para::Model, Value(model)); });
        editor.Edit("set up", [&](Bot& bot) { bot.SetBotPara(Para::Skin, Value(skin)); });
        ModelSelection selection = editor.ResolveModelAndSkin();
        editor.TakeShownModelAndSkin(selection);
        return selection;
    };
    // Found whatever the case: the bot takes the list's spelling.
    ModelSelection sarge = show("SARGE", "krusade");
    EXPECT_EQ(models[static_cast<std::size_t>(sarge.Model)].Name, "Sarge");
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Skin), Value("Krusade"));
    EXPECT_TRUE(m_messages.Received().empty());

    m_messages.ExpectQuestion(false);
    EXPECT_EQ(show("Robocop", "Chrome").Model, 0);
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Model), Value("Anarki"));
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Skin), Value("Default"));

    m_messages.ExpectQuestion(true);
    ModelSelection added = show("robocop", "chrome");
    EXPECT_EQ(models[static_cast<std::size_t>(added.Model)].Name, "Robocop");
    EXPECT_EQ(models.back().Skins[0].PK3File, UserDefined);
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Skin), Value("Chrome"));

    m_messages.ExpectQuestion(false);
    ModelSelection noSkin = show("Sarge", "Camo");
    EXPECT_EQ(noSkin.Skin, 0);
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Skin), Value("Default"));

    std::size_t skins = models[static_cast<std::size_t>(noSkin.Model)].Skins.size();
    m_messages.ExpectQuestion(true);
    ModelSelection newSkin = show("Sarge", "Camo");
    EXPECT_EQ(static_cast<std::size_t>(newSkin.Skin), skins);
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Skin), Value("Camo"));
    EXPECT_EQ(m_messages.Received(),
              std::vector<Message>(
                  {{Kind::Ask,
                    "Model not found!",
                    "Model Robocop doesn't exist in Tarnwell's model/skin list. Do you want to add "
                    "it there?"},
                   {Kind::Ask,
                    "Model not found!",
                    "Model robocop doesn't exist in Tarnwell's model/skin list. Do you want to add "
                    "it there?"},
                   {Kind::Ask,
                    "Skin not found!",
                    "Skin Camo for model Sarge doesn't exist in Tarnwell's model/skin list. Do you "
                    "want to add it there?"},
                   {Kind::Ask,
                    "Skin not found!",
                    "Skin Camo for model Sarge doesn't exist in Tarnwell's model/skin list. Do you "
                    "want to add it there?"}}));

    // Choosing in the lists: a model brings its first skin and marks the change.
    editor.MarkSaved();
    editor.ModelChosen(1);
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Model), Value("Biker"));
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Skin), Value("Default"));
    EXPECT_TRUE(editor.IsChanged());
    editor.SkinChosen(1, 3);
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Skin), Value("Cadavre"));
}

} // namespace
} // namespace twl

namespace twl {
namespace {

// A bot list of the user's with `count` bots.
void WriteUserBots(const std::filesystem::path& folder, int count)
{
    std::string text = "[Tarnwell additional bots list]\r\n";
    for (int bot = 0; bot < count; ++bot) {
        text += "\"Bot" + std::to_string(bot) + "\", \"many.pk3\", #FALSE#\r\n";
    }
    test::WriteBytes(folder / "twl_bots", text);
}

TEST(BotEditorLists, LargeUserListsWaitButAreNeverLost)
{
    struct Case
    {
        int Bots;
        bool Waits;
    };

    for (const Case& c : {Case{100, false}, Case{static_cast<int>(LargeListLines) + 1, true}}) {
        TempFolder folder;
        ScriptedMessages messages;
        WriteUserBots(folder.Path(), c.Bots);
        BotEditor editor(folder.Path(), messages);
        editor.Start();
        EXPECT_EQ(editor.ListsPending(), c.Waits) << c.Bots;
        std::size_t listed = c.Waits ? 32u : 32u + static_cast<std::size_t>(c.Bots);
        EXPECT_EQ(editor.CurrentCatalogues().Bots.size(), listed);
        EXPECT_EQ(editor.LoadPendingLists(), c.Waits);
        EXPECT_EQ(editor.CurrentCatalogues().Bots.size(), 32u + static_cast<std::size_t>(c.Bots));
        EXPECT_FALSE(editor.LoadPendingLists());
    }
    // Closing before the lists were read writes them back whole.
    TempFolder folder;
    ScriptedMessages messages;
    WriteUserBots(folder.Path(), static_cast<int>(LargeListLines) + 1);
    std::string before = test::ReadBytes(folder / "twl_bots");
    {
        BotEditor editor(folder.Path(), messages);
        editor.Start();
        ASSERT_TRUE(editor.ListsPending());
        editor.SaveOnExit();
    }
    std::string after = test::ReadBytes(folder / "twl_bots");
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'),
              std::count(before.begin(), before.end(), '\n'));
    EXPECT_NE(after.find("Bot20000"), std::string::npos);
    EXPECT_TRUE(messages.Received().empty());
}

} // namespace
} // namespace twl
