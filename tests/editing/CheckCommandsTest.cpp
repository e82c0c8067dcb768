// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/CheckCommands.h"

#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

TEST(CheckCommands, FindingsLeadToTheirPageAndControl)
{
    struct Case
    {
        CheckPlace Place;
        int Page;
        std::string Control;
    };

    const Case cases[] = {
        {{102, -1, -1}, 0, "tsBotPara_2"},
        {{507, -1, -1}, 0, "tsBotPara_7"},
        {{429, -1, -1}, 2, "tsBotPara_29"},
        {{31, -1, -1}, 6, "osBotPara_31"},
        {{44, -1, -1}, 3, "osBotPara_44"},
        {{65, -1, -1}, 4, "osBotPara_65"},
        {{80, -1, -1}, 5, "osBotPara_80"},
        {{0, -1, -1}, -1, "txtBotPara_0"},
        {{85, -1, -1}, -1, "txtBotPara_0"},
        {{2, -1, -1}, -1, "txtBotPara_2"},
        {{5, -1, -1}, -1, "cmbModel"},
        {{-1, 4, 2}, 7, "txtChat"},
        {{-1, 4, -1}, 7, "lstChatGroups"},
        {{-1, -1, -1}, -1, ""},
    };
    for (const Case& c : cases) {
        FindingTarget target = TargetOf(c.Place);
        EXPECT_EQ(target.Page, c.Page) << c.Place.Parameter << " " << c.Place.ChatGroup;
        EXPECT_EQ(target.Control, c.Control) << c.Place.Parameter << " " << c.Place.ChatGroup;
    }
    EXPECT_EQ(TargetOf({-1, 4, 2}).ChatLine, 2);
    EXPECT_EQ(FindingLine({Severity::Warning, "bot_c.c", 12, "Too slow.", {}}),
              "warning: bot_c.c:12: Too slow.");
    EXPECT_EQ(FindingLine({Severity::Note, "bot_t.c", 0, "Quiet.", {}}), "note: bot_t.c: Quiet.");
}

TEST(CheckCommands, TheProgramsOwnBotsHaveNoErrorsButAllZerosWeapons)
{
    TempFolder folder;
    ScriptedMessages messages;
    BotEditor editor(folder.Path(), messages, std::mt19937(99));
    editor.Start();
    // "All zeros" weighs every weapon 0: the game never picks one.
    std::vector<Finding> zeros = CheckThisBot(editor);
    ASSERT_EQ(CountFindings(zeros, Severity::Error), 1u) << "All zeros";
    for (const Finding& finding : zeros) {
        if (finding.Level == Severity::Error) {
            EXPECT_NE(finding.Text.find("weapon number out of range"), std::string::npos);
            EXPECT_EQ(finding.File, "bot_w.c");
        }
    }
    editor.CreateAverageBot();
    EXPECT_EQ(CountFindings(CheckThisBot(editor), Severity::Error), 0u) << "Average";
    for (int round = 0; round < 25; ++round) {
        editor.MarkSaved();
        editor.CreateRandomBot();
        for (const Finding& finding : CheckThisBot(editor)) {
            EXPECT_NE(finding.Level, Severity::Error) << FindingLine(finding);
        }
    }
    // Without errors there is nothing to ask before the files are made.
    EXPECT_TRUE(MayMakeWithFindings(editor, CheckThisBot(editor)));
    std::vector<Finding> broken = {{Severity::Error, "bot_t.c", 3, "Too long.", {}},
                                   {Severity::Warning, "bot_c.c", 1, "Slow.", {}},
                                   {Severity::Error, "bot.bot", 2, "Bad.", {}}};
    messages.ExpectQuestion(false);
    EXPECT_FALSE(MayMakeWithFindings(editor, broken));
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Ask,
                                         "Check bot",
                                         "The game will not load this bot as it is: 2 problems. "
                                         "Make the files anyway?"}));
}

} // namespace
} // namespace twl
