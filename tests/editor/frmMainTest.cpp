// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmMain.h"

#include "core/Settings.h"
#include "dialogs/TitleRoom.h"
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
    const char* Caption; // with "&" before its access key
    bool Enabled;
    const char* Keys = ""; // its shortcut on this platform (Linux)
};

// Every command of the menu bar, its access key and its keys.
const MenuItem MenuItems[] = {
    {"mTarnwell", "&Program", true},
    {"mnuOptions", "&Options", true, "Ctrl+,"},
    {"mnuAbout", "&About Tarnwell", true},
    {"mnuExit", "E&xit", true, "Ctrl+Q"},
    {"mnuBot", "&Bots", true},
    {"mnuNew", "&New bot", true},
    {"mnuNewZero", "All &zeros", true, "Ctrl+N"},
    {"mnuNewAverage", "&Average", true},
    {"mnuNewRandom", "&Random", true},
    {"mnuLoad", "&Load bot", true, "Ctrl+O"},
    {"mnuMake", "&Make bot files", true, "Ctrl+S"},
    {"mnuEdit", "&Edit", true},
    {"mnuUndo", "&Undo", false, "Ctrl+Z"},
    {"mnuRedo", "&Redo", false, "Ctrl+Shift+Z"},
    {"mnuFile", "&Files", true},
    {"mnuCharFile", "Load &char file", true},
    {"mnuWeaponFile", "Load &weapon file", true},
    {"mnuitemFile", "Load &item file", true},
    {"mnuChatFile", "Load c&hat file", true},
    {"mnTool", "&Tools", true},
    {"mnuCheck", "Check &baseq3", true},
    {"mnuCheckBot", "&Check bot", true, "F7"},
    {"mnuTryInGame", "Try in &game", true, "F5"},
    {"mnuTryInMatch", "Try in a &match", true, "Shift+F5"},
    {"mnuList", "Model/&skin list", true},
    {"mnuModelAdd", "Add &model", true},
    {"mnuSkinAdd", "Add &skin", true},
    {"mnuModelRemove", "R&emove model", true},
    {"mnuSkinRemove", "Rem&ove skin", true},
    {"mnuChatTools", "C&hat tools", true},
    {"mnuExtraChat", "Add &extra chats", true},
    {"mnuDeleteChats", "&Delete all chats", true},
    {"mnuSyn", "Add s&ynonym", true},
};

// The access key of a caption: the letter after its single "&".
QChar AccessKey(const QString& caption)
{
    for (qsizetype at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] == QLatin1Char('&')) {
            if (caption[at + 1] != QLatin1Char('&')) {
                return caption[at + 1].toLower();
            }
            ++at;
        }
    }
    return {};
}

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
        EXPECT_EQ(action->shortcut().toString(), QString::fromUtf8(item.Keys)) << item.Name;
    }
    // Every menu and item has an access key, none twice in one menu, and no
    // key is taken twice.
    std::vector<QMenu*> menus = {nullptr};
    QStringList keys;
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        menus.push_back(menu);
    }
    for (QMenu* menu : menus) {
        QList<QAction*> actions = menu == nullptr ? window.menuBar()->actions() : menu->actions();
        QString taken;
        for (QAction* action : actions) {
            if (action->isSeparator()) {
                continue;
            }
            QChar key = AccessKey(action->text());
            EXPECT_FALSE(key.isNull()) << action->objectName().toStdString();
            EXPECT_FALSE(taken.contains(key)) << action->objectName().toStdString();
            taken += key;
            for (const QKeySequence& sequence : action->shortcuts()) {
                EXPECT_FALSE(keys.contains(sequence.toString()))
                    << sequence.toString().toStdString();
                keys << sequence.toString();
            }
        }
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
    Qt::WindowFlags flags;
    int width = 0;
    int titleNeeds = 0;
    bool fixedSize = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        flags = dialog->windowFlags();
        width = dialog->width();
        titleNeeds = TitleRoom(*dialog, caption);
        fixedSize = dialog->minimumSize() == dialog->maximumSize();
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
    // A plain box, wide enough for its title.
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(fixedSize);
    EXPECT_GE(width, titleNeeds);
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
    ASSERT_TRUE(SaveIniFile(m_folder.Path(), settings).Ok());
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
