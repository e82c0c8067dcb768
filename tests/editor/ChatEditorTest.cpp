// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ChatEditor.h"

#include "chat/RandomLists.h"
#include "editing/FileCommands.h"
#include "editor/frmMain.h"
#include "support/FindChild.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;
using Message = ScriptedMessages::Message;
using Kind = ScriptedMessages::Kind;

class ChatEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<frmMain>(m_folder.Path(), m_messages, std::mt19937(5));
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        m_window->findChild<QTabWidget*>(QStringLiteral("tbsBotPara"))->setCurrentIndex(7);
        m_groups = Find<QListWidget>("lstChatGroups");
        m_lines = Find<QListWidget>("lstChat");
        m_line = Find<QLineEdit>("txtChat");
    }

    void TearDown() override
    {
        m_window->Editor().MarkSaved();
        m_window.reset();
    }

    template <typename T> T* Find(const char* name) { return test::Find<T>(*m_window, name); }

    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }

    const Bot& ThisBot() { return m_window->Editor().ThisBot(); }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    std::unique_ptr<frmMain> m_window;
    QListWidget* m_groups = nullptr;
    QListWidget* m_lines = nullptr;
    QLineEdit* m_line = nullptr;
};

TEST_F(ChatEditorTest, ATypeShowsOnlyItsVariables)
{
    struct Case
    {
        int Group;
        std::vector<int> Shown;
    };

    const Case cases[] = {
        {0, {0, 1, 2}}, {3, {0, 1, 2, 3, 4}}, {9, {10}}, {26, {8, 9}}, {20, {6, 7}}};
    for (const Case& c : cases) {
        m_groups->setCurrentRow(c.Group);
        for (int p = 0; p <= 10; ++p) {
            bool shown = std::find(c.Shown.begin(), c.Shown.end(), p) != c.Shown.end();
            EXPECT_EQ(Find<QPushButton>(("cmdPointer_" + std::to_string(p)).c_str())->isVisible(),
                      shown)
                << c.Group << " " << p;
        }
    }
    EXPECT_EQ(m_groups->item(23)->text(), QStringLiteral("Someone kills him/her/itself"));
    EXPECT_EQ(Button("cmdPointer_9")->text(), QStringLiteral("Any opp"));
}

TEST_F(ChatEditorTest, TypingGoesIntoTheBotAndTokensGoInAtTheCaret)
{
    m_groups->setCurrentRow(0);
    m_line->setFocus();
    QTest::keyClicks(m_line, QStringLiteral("Hi !"));
    EXPECT_EQ(ThisBot().BotChat(0, 0), "Hi !");
    EXPECT_EQ(m_lines->item(0)->text(), QStringLiteral("Hi !"));
    EXPECT_TRUE(m_window->Editor().IsChanged());
    m_line->setCursorPosition(3);
    QTest::mouseClick(Button("cmdPointer_0"), Qt::LeftButton);
    EXPECT_EQ(ThisBot().BotChat(0, 0), "Hi {RANDOMOPP}!");
    EXPECT_EQ(m_line->cursorPosition(), 3);
    Find<QComboBox>("cmbPreDefWords")->setCurrentIndex(2); // loser
    m_line->setCursorPosition(0);
    QTest::mouseClick(Button("cmdAddCWord"), Qt::LeftButton);
    EXPECT_EQ(ThisBot().BotChat(0, 0), "{LOSER}Hi {RANDOMOPP}!");

    // Written by "Make bot files" as the chat file writer writes it.
    TempFolder out;
    CommandOutcome made = LoadOrMakeBotFiles(
        m_window->Editor(), out.Path(), "", LoadType::MakeBotFiles, false, false);
    EXPECT_FALSE(made.Status.empty());
    std::string chat = test::ReadBytes(out / "bot_t.c");
    EXPECT_NE(chat.find("\t\tlooser, \"Hi \", 1, \"!\";\r\n"), std::string::npos) << chat;
}

TEST_F(ChatEditorTest, AReferenceLineCannotBeEdited)
{
    m_groups->setCurrentRow(4);
    Find<QComboBox>("cmbPreDefChats")->setCurrentIndex(4);
    Find<QComboBox>("cmbPreDefChatsIndex")->setCurrentIndex(2);
    QTest::mouseClick(Button("cmdAddCGroup"), Qt::LeftButton);
    EXPECT_EQ(ThisBot().BotChat(4, 0), "{{LEVELENDVICTORY2}}");
    m_lines->setCurrentRow(0);
    EXPECT_FALSE(m_line->isEnabled());
    EXPECT_FALSE(Button("cmdAddCWord")->isEnabled());
    EXPECT_FALSE(Button("cmdSyns")->isEnabled());
    EXPECT_FALSE(Button("cmdPointer_0")->isEnabled());
    QTest::mouseClick(Button("cmdAddChat"), Qt::LeftButton);
    EXPECT_EQ(m_lines->currentRow(), 1);
    EXPECT_TRUE(m_line->isEnabled());
    EXPECT_TRUE(Button("cmdPointer_0")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), m_line);
    // Guytalk offers members 0 and 2 only.
    Find<QComboBox>("cmbPreDefChats")->setCurrentIndex(28);
    EXPECT_EQ(Find<QComboBox>("cmbPreDefChatsIndex")->count(), 2);
    EXPECT_EQ(Find<QComboBox>("cmbPreDefChatsIndex")->itemText(1), QStringLiteral("2"));

    QTest::mouseClick(Button("cmdRemoveChat"), Qt::LeftButton);
    QTest::mouseClick(Button("cmdRemoveChat"), Qt::LeftButton);
    EXPECT_EQ(m_lines->count(), 1);
    EXPECT_EQ(ThisBot().BotChat(4, 0), "");
    EXPECT_TRUE(m_line->isEnabled());
}

TEST_F(ChatEditorTest, SynonymsAreMarkedOnRequestAndOnLeaving)
{
    // An empty list says so.
    m_groups->setCurrentRow(1);
    m_line->setText(QStringLiteral("hello world"));
    QTest::mouseClick(Button("cmdSyns"), Qt::LeftButton);
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Synonym list is missing");

    m_messages.ExpectTextQuestion(std::string("hello"));
    Find<QAction>("mnuSyn")->trigger();
    m_messages.ExpectTextQuestion(std::string("HELLO"));
    Find<QAction>("mnuSyn")->trigger();
    EXPECT_EQ(m_messages.Received()[3],
              (Message{Kind::Inform,
                       "Synonym not added",
                       "Synonym 'HELLO' exists in the list already."}));
    QTest::mouseClick(Button("cmdSyns"), Qt::LeftButton);
    EXPECT_EQ(m_line->text(), QStringLiteral("~hello world"));
    EXPECT_EQ(ThisBot().BotChat(1, 0), "~hello world");

    Find<QCheckBox>("chkSynonyms")->setChecked(true);
    m_line->setFocus();
    m_line->setText(QStringLiteral("say  hello"));
    Button("cmdAddChat")->setFocus(); // leaving the box
    EXPECT_EQ(ThisBot().BotChat(1, 0), "say ~hello");
}

TEST_F(ChatEditorTest, MenuCommandsForAllChats)
{
    Find<QAction>("mnuExtraChat")->trigger();
    EXPECT_TRUE(m_window->Editor().IsChanged());
    EXPECT_EQ(m_lines->count(), 1);
    EXPECT_TRUE(m_lines->item(0)->text().startsWith(QStringLiteral("{{GAMEENTER")));
    Find<QAction>("mnuExtraChat")->trigger();
    EXPECT_EQ(m_lines->count(), 2);
    Find<QAction>("mnuDeleteChats")->trigger();
    EXPECT_EQ(m_lines->count(), 1);
    EXPECT_EQ(ThisBot().ChatGroupUBound(27), 0);
    EXPECT_EQ(ThisBot().BotChat(27, 0), "");
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST_F(ChatEditorTest, TheCounterShowsTheLengthAsTheGameCountsIt)
{
    auto* length = Find<QLabel>("lblChatLength");
    m_groups->setCurrentRow(0);
    m_line->setFocus();

    struct Case
    {
        QString Line;
        QString Shown;
        bool Warned;
    };

    const Case cases[] = {
        {QString(255, QLatin1Char('x')), QStringLiteral("255/255"), false},
        {QString(256, QLatin1Char('x')), QStringLiteral("256/255"), true},
        // A variable counts 3 and its digit, and may not start after the
        // 249th character; a word list counts 3 and its name.
        {QString(249, QLatin1Char('x')) + QStringLiteral("{RANDOMOPP}"),
         QStringLiteral("253/255"),
         false},
        {QString(250, QLatin1Char('x')) + QStringLiteral("{RANDOMOPP}"),
         QStringLiteral("254/255"),
         true},
        {QStringLiteral("Hi {LOSER}"), QStringLiteral("12/255"), false},
        {QStringLiteral("say \"hi\""), QStringLiteral("8/255"), false},
    };
    for (const Case& c : cases) {
        m_line->selectAll();
        QTest::keyClicks(m_line, c.Line);
        EXPECT_EQ(length->text(), c.Shown) << c.Line.toStdString();
        EXPECT_EQ(length->font().bold(), c.Warned) << length->text().toStdString();
        // Kept as typed, whatever its length.
        EXPECT_EQ(ThisBot().BotChat(0, 0), c.Line.toStdString());
    }
}

TEST_F(ChatEditorTest, ALineTooLongIsWarnedOfHoweverItIsShown)
{
    auto* length = Find<QLabel>("lblChatLength");
    const QString tooLong(300, QLatin1Char('x'));
    const std::function<void()> ways[] = {
        [&] { // typed
            m_groups->setCurrentRow(0);
            m_line->setFocus();
            m_line->selectAll();
            QTest::keyClicks(m_line, tooLong);
        },
        [&] { // its chat type chosen again
            m_groups->setCurrentRow(1);
            m_groups->setCurrentRow(0);
        },
        [&] { // undone and redone
            m_window->Editor().Undo();
            m_window->Editor().Redo();
        },
        [&] { // a bot loaded with it
            Bot bot = ThisBot();
            m_window->Editor().Replace("Load bot", bot);
            m_groups->setCurrentRow(0);
        },
        [&] { // another line chosen, and this one again
            m_window->Editor().Edit(
                "Add chat line", [](Bot& bot) { bot.SetBotChat(0, 1, "short"); }, ShowAgain::Chats);
            m_lines->setCurrentRow(1);
            EXPECT_EQ(length->text(), QStringLiteral("5/255"));
            EXPECT_NE(length->palette().color(QPalette::WindowText), QColor(200, 0, 0));
            m_lines->setCurrentRow(0);
        },
    };
    int way = 0;
    for (const auto& show : ways) {
        show();
        EXPECT_EQ(ThisBot().BotChat(0, 0), tooLong.toStdString()) << way;
        EXPECT_EQ(length->text(), QStringLiteral("300/255")) << way;
        EXPECT_TRUE(length->font().bold()) << way;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            EXPECT_EQ(length->palette().color(group, QPalette::WindowText), QColor(200, 0, 0))
                << way;
        }
        ++way;
    }
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST_F(ChatEditorTest, MakingABotTheGameRefusesAsksAndTheListLeadsToTheLine)
{
    m_window->Editor().Edit("set up", [&](Bot& bot) { bot.SetBotChat(9, 0, "fine"); });
    m_window->Editor().Edit("set up",
                            [&](Bot& bot) { bot.SetBotChat(9, 1, std::string(300, 'x')); });
    // A gauntlet that weighs something: the line is the only problem.
    m_window->Editor().Edit("set up", [&](Bot& bot) { bot.SetBotPara(44, Value(50.0)); });
    bool listed = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), QStringLiteral("frmCheck"));
        auto* findings = dialog->findChild<QListWidget*>(QStringLiteral("lstFindings"));
        ASSERT_NE(findings, nullptr);
        QList<QListWidgetItem*> errors =
            findings->findItems(QStringLiteral("error: bot_t.c"), Qt::MatchStartsWith);
        ASSERT_EQ(errors.size(), 1);
        listed = true;
        emit findings->itemActivated(errors[0]); // a double-click
    });
    timer.start(0);
    m_messages.ExpectQuestion(false);
    Find<QAction>("mnuMake")->trigger();
    EXPECT_TRUE(listed);
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Text,
              "The game will not load this bot as it is: 1 problems. Make the files anyway?");
    // The finding leads to its chat type and line.
    EXPECT_EQ(m_window->findChild<QTabWidget*>(QStringLiteral("tbsBotPara"))->currentIndex(), 7);
    EXPECT_EQ(m_groups->currentRow(), 9);
    EXPECT_EQ(m_lines->currentRow(), 1);
}

TEST_F(ChatEditorTest, TheGamesListsAreOfferedAndALineTheGameCannotSayIsMarked)
{
    ChatCatalogue& chat = m_window->Editor().CurrentCatalogues().Chat;
    ApplyGameRandomLists(chat,
                         "OpenArena",
                         {{"HELLO0", 1},
                          {"HELLO1", 1},
                          {"TAUNT0", 1},
                          {"GRRLTALK0", 1},
                          {"fighter", 1},
                          {"peeps", 1}});
    test::Find<ChatEditor>(*m_window, "fraChatTexts")->ShowGameLists();
    auto* lists = Find<QComboBox>("cmbPreDefChats");
    auto* members = Find<QComboBox>("cmbPreDefChatsIndex");
    auto* words = Find<QComboBox>("cmbPreDefWords");
    QStringList offered;
    for (int k = 0; k < lists->count(); ++k) {
        offered << lists->itemText(k);
    }
    EXPECT_EQ(offered,
              (QStringList{QStringLiteral("Enters game"),
                           QStringLiteral("Taunt"),
                           QStringLiteral("GRRLTALK")}));
    EXPECT_EQ(members->count(), 2);
    EXPECT_EQ(words->count(), 2);
    EXPECT_EQ(words->itemText(1), QStringLiteral("peeps"));

    // A list only the game has goes in by its name.
    m_groups->setCurrentRow(0);
    lists->setCurrentIndex(2);
    QTest::mouseClick(Button("cmdAddCGroup"), Qt::LeftButton);
    EXPECT_EQ(ThisBot().BotChat(0, 0), "{GRRLTALK0}");

    // A line naming lists the game lacks is marked, and the line box says which.
    QTest::mouseClick(Button("cmdAddChat"), Qt::LeftButton);
    QTest::keyClicks(m_line, QStringLiteral("Hey {LOSER}"));
    auto* missing = Find<QLabel>("lblChatMissing");
    EXPECT_TRUE(missing->isVisible());
    EXPECT_EQ(missing->text(),
              QStringLiteral("OpenArena has no list looser: the game will not say this line."));
    EXPECT_EQ(m_lines->item(1)->toolTip(), missing->text());
    QTest::keyClick(m_line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(m_line, QStringLiteral("Hey {FIGHTER}"));
    EXPECT_FALSE(missing->isVisible());
}

} // namespace
} // namespace twl
