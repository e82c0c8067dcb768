// SPDX-License-Identifier: GPL-3.0-or-later
// Every change of the bot goes through the editor's one door: it marks the
// bot changed, and is undone and redone exactly.
#include "editing/BotEditor.h"
#include "editing/ChatPage.h"
#include "editing/ModelCommands.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace twl {
namespace {

class EditDoorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_editor.Start();
        m_editor.SetFilling(false);
        m_editor.OnChange = [this](ShowAgain show) {
            m_shown.push_back(show);
        };
    }

    test::TempFolder m_folder;
    test::ScriptedMessages m_messages;
    BotEditor m_editor{m_folder.Path(), m_messages, std::mt19937(11)};
    std::vector<ShowAgain> m_shown;
};

TEST_F(EditDoorTest, EveryEditMarksTheBotChangedAndIsUndoneAndRedoneExactly)
{
    struct Case
    {
        const char* Step; // what Undo names it
        std::function<void(BotEditor&)> Edit;
    };

    const std::vector<Case> cases = {
        {"Choose gender",
         [](BotEditor& e) {
             e.SetGender(1);
         }},
        {"Choose railgun colour",
         [](BotEditor& e) {
             e.SetRailColour(3);
         }},
        {"Set arena lord",
         [](BotEditor& e) {
             e.SetArenaLord(true);
         }},
        {"Move Typing speed cpm",
         [](BotEditor& e) {
             e.SetOneValue(31, 150);
         }},
        {"Move Attack skill",
         [](BotEditor& e) {
             e.SetSkillValue(4, 2, 0.75);
         }},
        {"Type name",
         [](BotEditor& e) {
             e.ValidateBox(Para::Name, "Johnny");
         }},
        {"Type fun name",
         [](BotEditor& e) {
             e.ValidateBox(Para::FunName, "^1J");
         }},
        {"Type version",
         [](BotEditor& e) {
             e.ValidateBox(Para::VersionMajor, "2");
         }},
        {"Type comment",
         [](BotEditor& e) {
             e.ValidateBox(Para::Comment, "mine");
         }},
        {"Choose model",
         [](BotEditor& e) {
             e.ModelChosen(2);
         }},
        {"Choose skin",
         [](BotEditor& e) {
             e.SkinChosen(0, 1);
         }},
        {"Type chat line",
         [](BotEditor& e) {
             ChatLineEdited(e, 3, 0, "gg", false);
         }},
        {"Add chat list",
         [](BotEditor& e) {
             AddSelectedList(e, 0, 0, 0, "2");
         }},
        {"Add random list",
         [](BotEditor& e) {
             AddRandomList(e, 5);
         }},
        {"Add chat line",
         [](BotEditor& e) {
             NewChatLine(e, 7);
         }},
        {"Remove chat line",
         [](BotEditor& e) {
             RemoveChatLine(e, 0, 0);
         }},
        {"Add extra chats",
         [](BotEditor& e) {
             AddExtraChatsToBot(e);
         }},
        {"Delete all chats",
         [](BotEditor& e) {
             ClearAllChats(e);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Step);
        m_editor.MarkSaved();
        const Bot before = m_editor.ThisBot();
        c.Edit(m_editor);
        const Bot after = m_editor.ThisBot();
        EXPECT_NE(after, before);
        EXPECT_TRUE(m_editor.IsChanged());
        EXPECT_EQ(m_editor.UndoName(), c.Step);
        m_shown.clear();
        m_editor.Undo();
        EXPECT_EQ(m_editor.ThisBot(), before);
        EXPECT_FALSE(m_editor.IsChanged()); // back at the saved bot
        EXPECT_EQ(m_editor.RedoName(), c.Step);
        m_editor.Redo();
        EXPECT_EQ(m_editor.ThisBot(), after);
        EXPECT_TRUE(m_editor.IsChanged());
        EXPECT_EQ(m_shown, (std::vector<ShowAgain>{ShowAgain::Everything, ShowAgain::Everything}));
    }

    // A new bot takes the place of the one shown: unchanged, and undone
    // back to the bot before it.
    for (auto create :
         {&BotEditor::CreateZeroBot, &BotEditor::CreateAverageBot, &BotEditor::CreateRandomBot}) {
        const Bot before = m_editor.ThisBot();
        if (m_editor.IsChanged()) {
            m_messages.ExpectQuestion(true);
        }
        ASSERT_TRUE((m_editor.*create)());
        const Bot made = m_editor.ThisBot();
        EXPECT_FALSE(m_editor.IsChanged());
        m_editor.Undo();
        EXPECT_EQ(m_editor.ThisBot(), before);
        m_editor.Redo();
        EXPECT_EQ(m_editor.ThisBot(), made);
        EXPECT_FALSE(m_editor.IsChanged());
    }
}

TEST_F(EditDoorTest, MovesOfOneSliderAndTypingInOneBoxAreOneStep)
{
    const Bot first = m_editor.ThisBot();
    for (double value : {0.1, 0.2, 0.3}) {
        m_editor.SetSkillValue(1, 2, value);
    }
    for (const char* text : {"J", "Jo", "Joe"}) {
        m_editor.ValidateBox(Para::Comment, text);
    }
    m_editor.SetSkillValue(1, 3, 0.5); // another slider: a step of its own
    m_editor.SetSkillValue(1, 3, 0.5); // the same value again: no step
    EXPECT_EQ(m_editor.ThisBot().BotPara(Para::OfSkill(1, 2)), Value(0.3));
    EXPECT_EQ(m_editor.UndoName(), "Move Aim skill");
    m_editor.Undo();
    EXPECT_EQ(m_editor.UndoName(), "Type comment");
    m_editor.Undo();
    EXPECT_EQ(m_editor.ThisBot().BotPara(Para::Comment), Value(""));
    m_editor.Undo();
    EXPECT_EQ(m_editor.ThisBot(), first);
    EXPECT_FALSE(m_editor.CanUndo());

    // A new edit after an undo drops what could have been redone.
    m_editor.SetGender(2);
    EXPECT_FALSE(m_editor.CanRedo());
}

TEST_F(EditDoorTest, TheChangedMarkFollowsTheSavedAndTheShownBots)
{
    // Typed text not yet in the bot counts, until it reaches it or the
    // program fills the boxes.
    m_editor.TextEdited();
    EXPECT_TRUE(m_editor.IsChanged());
    m_editor.ValidateBox(Para::Comment, "");
    EXPECT_FALSE(m_editor.IsChanged());
    m_editor.SetFilling(true);
    m_editor.TextEdited();
    EXPECT_FALSE(m_editor.IsChanged());
    m_editor.SetFilling(false);

    // Moved away and back by hand: the saved bot again.
    m_editor.SetOneValue(31, 100);
    m_editor.MarkSaved();
    m_editor.SetOneValue(31, 50);
    EXPECT_TRUE(m_editor.IsChanged());
    m_editor.SetOneValue(31, 100);
    EXPECT_FALSE(m_editor.IsChanged());

    // Saved, then changed and undone: unchanged; the bot before the save is
    // changed now.
    m_editor.SetGender(1);
    m_editor.MarkSaved();
    m_editor.SetGender(2);
    m_editor.Undo();
    EXPECT_FALSE(m_editor.IsChanged());
    m_editor.Undo();
    EXPECT_TRUE(m_editor.IsChanged());

    // Showing the bot in the catalogue's spelling of its model changes nothing.
    m_editor.Redo();
    m_editor.TakeShownModelAndSkin({3, 0});
    EXPECT_FALSE(m_editor.IsChanged());
}

} // namespace
} // namespace twl
