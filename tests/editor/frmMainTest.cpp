#include "editor/frmMain.h"

#include "core/Settings.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

QAction* FindAction(QWidget& window, const char* name)
{
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

struct MenuItem
{
    const char* Name;
    const char* Caption;
    bool Enabled;
};

// Every command of the menu bar, and whether it works yet.
const MenuItem MenuItems[] = {
    {"mTarnwell", "Program", true},
    {"mnuOptions", "Options", true},
    {"mnuAbout", "About Tarnwell", true},
    {"mnuExit", "Exit", true},
    {"mnuBot", "Bots", true},
    {"mnuNew", "New bot", true},
    {"mnuNewZero", "All zeros", true},
    {"mnuNewAverage", "Average", true},
    {"mnuNewRandom", "Random", true},
    {"mnuLoad", "Load bot", true},
    {"mnuMake", "Make bot files", true},
    {"mnuEdit", "Edit", true},
    {"mnuUndo", "Undo", false},
    {"mnuRedo", "Redo", false},
    {"mnuFile", "Files", true},
    {"mnuCharFile", "Load char file", true},
    {"mnuWeaponFile", "Load weapon file", true},
    {"mnuitemFile", "Load item file", true},
    {"mnuChatFile", "Load chat file", true},
    {"mnTool", "Tools", true},
    {"mnuCheck", "Check baseq3", true},
    {"mnuCheckBot", "Check bot", true},
    {"mnuTryInGame", "Try in game", true},
    {"mnuTryInMatch", "Try in a match", true},
    {"mnuList", "Model/skin list", true},
    {"mnuModelAdd", "Add model", true},
    {"mnuSkinAdd", "Add skin", true},
    {"mnuModelRemove", "Remove model", true},
    {"mnuSkinRemove", "Remove skin", true},
    {"mnuChatTools", "Chat tools", true},
    {"mnuExtraChat", "Add extra chats", true},
    {"mnuDeleteChats", "Delete all chats", true},
    {"mnuSyn", "Add synonym", true},
};

class frmMainTest : public ::testing::Test
{
protected:
    TempFolder m_folder;
    ScriptedMessages m_messages;
};

TEST_F(frmMainTest, CaptionAndMenuBar)
{
    frmMain window(m_folder.Path(), m_messages);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarnwell 0.97 BETA"));
    for (const MenuItem& item : MenuItems) {
        QAction* action = FindAction(window, item.Name);
        ASSERT_NE(action, nullptr) << item.Name;
        EXPECT_EQ(action->text(), QString::fromUtf8(item.Caption)) << item.Name;
        EXPECT_EQ(action->isEnabled(), item.Enabled) << item.Name;
    }
    QList<QAction*> topLevel = window.menuBar()->actions();
    ASSERT_EQ(topLevel.size(), 5);
    EXPECT_EQ(topLevel[0]->objectName(), QStringLiteral("mTarnwell"));
    EXPECT_EQ(topLevel[2]->objectName(), QStringLiteral("mnuEdit"));
    EXPECT_EQ(topLevel[4]->objectName(), QStringLiteral("mnTool"));
    QMenu* program = window.findChild<QMenu*>(QStringLiteral("mTarnwell"));
    ASSERT_NE(program, nullptr);
    ASSERT_EQ(program->actions().size(), 4);
    EXPECT_TRUE(program->actions()[2]->isSeparator());
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(frmMainTest, StartsWithAnAllZerosBot)
{
    frmMain window(m_folder.Path(), m_messages);
    EXPECT_EQ(window.Editor().ThisBot().BotPara(102), Value(std::int16_t{0}));
    EXPECT_EQ(window.Editor().ThisBot().BotPara(80), Value(std::int16_t{0}));
    EXPECT_FALSE(window.Editor().IsChanged());
    EXPECT_FALSE(window.Editor().IsFilling());
}

TEST_F(frmMainTest, AboutBoxShowsTitleVersionAndCredits)
{
    frmMain window(m_folder.Path(), m_messages);
    QString caption;
    QStringList texts;
    bool okClicked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            texts << label->text();
        }
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        okClicked = true;
    });
    FindAction(window, "mnuAbout")->trigger();

    EXPECT_TRUE(okClicked);
    EXPECT_EQ(caption, QStringLiteral("About Vantry's Tarnwell"));
    EXPECT_TRUE(texts.contains(QStringLiteral("Vantry's Tarnwell")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Version 0.9.7")));
    QString all = texts.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("Qt")));
    EXPECT_TRUE(all.contains(QStringLiteral("zlib")));
    EXPECT_TRUE(all.contains(QStringLiteral("stb_image")));
    EXPECT_TRUE(all.contains(QStringLiteral("id Software")));
}

TEST_F(frmMainTest, ExitWritesTheSettingsItRead)
{
    Settings settings;
    settings.Text(Settings::UserName) = "Vantry";
    settings.Text(Settings::WorkDir) = m_folder.Path().string();
    settings.BotsMade = Value(4.0);
    ASSERT_TRUE(SaveIniFile(m_folder.Path(), settings).Ok);
    std::string before = test::ReadBytes(m_folder / "twl.ini");

    {
        frmMain window(m_folder.Path(), m_messages);
        window.show();
        EXPECT_EQ(window.Editor().CurrentSettings().Text(Settings::UserName), "Vantry");
        std::filesystem::remove(m_folder / "twl.ini");
        FindAction(window, "mnuExit")->trigger();
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_EQ(test::ReadBytes(m_folder / "twl.ini"), before);
}

TEST_F(frmMainTest, DamagedSettingsAreReportedAtStart)
{
    test::WriteBytes(m_folder / "twl.ini", "[Tarnwell settings]\r\nQ3Baseq3 = /q3\r\n");
    frmMain window(m_folder.Path(), m_messages);
    // The settings read before the damage are applied: /q3 holds no game.
    ASSERT_EQ(m_messages.Received().size(), 2u);
    EXPECT_EQ(m_messages.Received()[0],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Warn,
                                         "Load error",
                                         "Errors occured when trying to load ini file. Please "
                                         "check your options from Program/Options."}));
    EXPECT_EQ(
        m_messages.Received()[1],
        (ScriptedMessages::Message{ScriptedMessages::Kind::Warn,
                                   "Tarnwell: Quake3.exe missing",
                                   "Quake3.exe not found in '/q3'\n" + WhatAGameFolderHolds()}));
    EXPECT_EQ(window.Editor().CurrentSettings().Text(Settings::Q3Baseq3), "");
}

TEST_F(frmMainTest, ClosingAChangedBotAsksFirst)
{
    frmMain window(m_folder.Path(), m_messages);
    window.show();
    window.Editor().Edit("set up",
                         [](Bot& bot) { bot.SetBotPara(Para::Comment, Value("changed")); });

    m_messages.ExpectQuestion(false);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(std::filesystem::exists(m_folder / "twl.ini")) << "nothing is written on No";

    m_messages.ExpectQuestion(true);
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(std::filesystem::exists(m_folder / "twl.ini"));
    ASSERT_EQ(m_messages.Received().size(), 2u);
    EXPECT_EQ(m_messages.Received()[0].Text,
              "The current bot has changed. Do you still want to exit without saving?");
    EXPECT_EQ(m_messages.Received()[0].MessageKind, ScriptedMessages::Kind::Ask);
}

TEST_F(frmMainTest, SettingsThatCannotBeWrittenAreReported)
{
    std::filesystem::path missing = m_folder / "gone";
    {
        frmMain window(missing, m_messages);
        window.show();
        window.close();
    }
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Write failed!");
    EXPECT_EQ(m_messages.Received()[0].Text,
              "Couldn't write " + (missing / "twl.ini").string() + ": No such file or directory");
}

} // namespace
} // namespace twl
