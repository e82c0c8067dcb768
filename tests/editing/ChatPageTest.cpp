// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/ChatPage.h"

#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

class ChatPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_editor.Start();
        m_editor.SetFilling(false);
    }

    std::vector<std::string> Lines(int group) { return ViewOfChatGroup(m_editor, group).Lines; }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    BotEditor m_editor{m_folder.Path(), m_messages, std::mt19937(11)};
};

TEST_F(ChatPageTest, MembersOfferedForEachList)
{
    const ChatCatalogue& chat = m_editor.CurrentCatalogues().Chat;
    EXPECT_EQ(ChatListMembers(chat, 28), (std::vector<std::string>{"0", "2"}));
    EXPECT_EQ(ChatListMembers(chat, 6), (std::vector<std::string>{"0"}));
    EXPECT_EQ(ChatListMembers(chat, 9), (std::vector<std::string>{"0"}));
    std::vector<std::string> insults = ChatListMembers(chat, 23);
    ASSERT_EQ(insults.size(), 40u);
    EXPECT_EQ(insults.back(), "39");
    EXPECT_TRUE(ChatListMembers(chat, 29).empty());
    EXPECT_EQ(ViewOfChatGroup(m_editor, 0).Pointers, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ViewOfChatGroup(m_editor, 26).Pointers, (std::vector<int>{9, 8}));
}

TEST_F(ChatPageTest, ListsReplaceAnEmptyLineAndAppendOtherwise)
{
    // The selected line is empty: replaced, even with other lines in the group.
    m_editor.Edit("set up", [&](Bot& bot) { bot.SetBotChat(3, 0, "first"); });
    m_editor.Edit("set up", [&](Bot& bot) { bot.SetBotChat(3, 1, ""); });
    EXPECT_EQ(AddSelectedList(m_editor, 3, 1, 3, "2"), 1);
    EXPECT_EQ(Lines(3), (std::vector<std::string>{"first", "{{LEVELEND2}}"}));
    // A line with text: the reference goes after the last line.
    EXPECT_EQ(AddSelectedList(m_editor, 3, 0, 28, "2"), 2);
    EXPECT_EQ(Lines(3).back(), "{{GUYTALK2}}");
    EXPECT_TRUE(m_editor.IsChanged());

    m_editor.MarkSaved();
    AddRandomList(m_editor, 11); // only an empty line: replaced
    ASSERT_EQ(Lines(11).size(), 1u);
    EXPECT_EQ(Lines(11)[0].substr(0, 11), "{{DEATHLAVA");
    AddRandomList(m_editor, 11);
    EXPECT_EQ(Lines(11).size(), 2u);
    EXPECT_TRUE(m_editor.IsChanged());
}

TEST_F(ChatPageTest, LinesComeAndGo)
{
    EXPECT_EQ(NewChatLine(m_editor, 5), 1);
    EXPECT_EQ(Lines(5), (std::vector<std::string>{"", ""}));
    m_editor.Edit("set up", [&](Bot& bot) { bot.SetBotChat(5, 0, "a"); });
    m_editor.Edit("set up", [&](Bot& bot) { bot.SetBotChat(5, 1, "b"); });
    RemoveChatLine(m_editor, 5, 0);
    EXPECT_EQ(Lines(5), (std::vector<std::string>{"b"}));
    RemoveChatLine(m_editor, 5, 0); // the last one is emptied, never removed
    EXPECT_EQ(Lines(5), (std::vector<std::string>{""}));

    m_editor.MarkSaved();
    AddExtraChatsToBot(m_editor);
    AddExtraChatsToBot(m_editor);
    for (int group = 0; group < ChatGroupCount; ++group) {
        ASSERT_EQ(Lines(group).size(), 2u) << group;
        EXPECT_TRUE(IsChatListReference(Lines(group)[1]));
    }
    // Added lines are the bot's like any other: closing asks before they go.
    EXPECT_TRUE(m_editor.IsChanged());
    m_editor.MarkSaved();
    ClearAllChats(m_editor);
    for (int group = 0; group < ChatGroupCount; ++group) {
        EXPECT_EQ(Lines(group), (std::vector<std::string>{""}));
    }
    EXPECT_TRUE(m_editor.IsChanged());
}

TEST_F(ChatPageTest, EditsTokensAndReferences)
{
    ChatLineEdited(m_editor, 2, 0, "hello", true); // only shown
    EXPECT_FALSE(m_editor.IsChanged());
    ChatLineEdited(m_editor, 2, 0, "hello there", false);
    EXPECT_TRUE(m_editor.IsChanged());
    EXPECT_EQ(m_editor.ThisBot().BotChat(2, 0), "hello there");
    m_editor.SetFilling(true);
    ChatLineEdited(m_editor, 2, 0, "ignored", false);
    EXPECT_EQ(m_editor.ThisBot().BotChat(2, 0), "hello there");

    struct Case
    {
        std::string Text;
        std::size_t Caret;
        std::string Result;
    };

    const Case cases[] = {
        {"Hi !", 3, "Hi {RANDOMOPP}!"},
        // At the very start the token goes before the text, which stays.
        {"rocks", 0, "{LOSER}rocks"},
        {"", 0, "{LOSER}"},
        {"end", 99, "end{LOSER}"},
    };
    for (const Case& c : cases) {
        std::string token =
            c.Result.find("RANDOMOPP") != std::string::npos ? "{RANDOMOPP}" : "{LOSER}";
        TextAndCursor inserted = InsertChatToken(c.Text, c.Caret, token);
        EXPECT_EQ(inserted.Text, c.Result);
        EXPECT_EQ(inserted.Cursor, std::min(c.Caret, c.Text.size()));
    }
    EXPECT_TRUE(IsChatListReference("{{DEATHLAVA2}}"));
    EXPECT_FALSE(IsChatListReference("{{"));
    EXPECT_FALSE(IsChatListReference("say {{x}}"));
}

} // namespace
} // namespace twl
