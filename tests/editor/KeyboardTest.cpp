// SPDX-License-Identifier: GPL-3.0-or-later
// The editor driven by the keyboard alone: every key goes to the widget that
// has the focus, as a user's keys do.
#include "editor/frmMain.h"
#include "support/FindChild.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace twl {
namespace {

using test::Find;
using test::ScriptedMessages;
using test::TempFolder;

// A key pressed where the focus is; false when nothing has the focus. As
// between a user's keys, what the window had to do is done first.
bool Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QApplication::processEvents();
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) {
        ADD_FAILURE() << "no widget has the focus";
        return false;
    }
    QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
    return true;
}

void Type(const QString& text)
{
    QApplication::processEvents();
    if (QWidget* focus = QApplication::focusWidget()) {
        QTest::keyClicks(focus, text);
    } else {
        ADD_FAILURE() << "no widget has the focus";
    }
}

QString FocusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus == nullptr ? QString() : focus->objectName();
}

QString Path(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// Waits (without a time that depends on the machine's speed: the limit is
// far above what the slowest machine needs) until `done` holds.
bool WaitFor(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, 20000);
}

class KeyboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Two bots in bots/, a folder beside it, and one below it.
        std::filesystem::create_directories(m_folder / "bots" / "deeper");
        for (const char* file : {"fuzzy.bot", "fuzzy_c.c", "fuzzy_i.c", "fuzzy_t.c", "fuzzy_w.c"}) {
            test::WriteBytes(m_folder / "bots" / file,
                             test::ReadBytes(test::FixturePath("realbot/input") / file));
        }
        for (const char* file : {"bot.bot", "bot_c.c", "bot_i.c", "bot_t.c", "bot_w.c"}) {
            test::WriteBytes(m_folder / "bots" / file,
                             test::ReadBytes(test::FixturePath("average-bot/expected") / file));
        }
        std::filesystem::create_directories(m_folder / "bots" / "deeper");
        std::filesystem::create_directories(m_folder / "another");
        m_window = std::make_unique<frmMain>(m_folder / "settings", m_messages, std::mt19937(3));
        m_window->Editor().RememberedFolder = m_folder / "another";
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    void TearDown() override
    {
        m_window->Editor().MarkSaved();
        m_window.reset();
    }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    std::unique_ptr<frmMain> m_window;
};

TEST_F(KeyboardTest, ABotIsChosenAndLoadedWithTheKeysAlone)
{
    struct Case
    {
        const char* How;
        // The keys, pressed in the load dialog as it opens.
        std::function<void(const std::filesystem::path& root)> Keys;
        const char* Bot; // its name as loaded
        const char* Status;
    };

    const Case cases[] = {
        {"the file's whole path typed in the path box",
         [](const std::filesystem::path& root) {
             Press(Qt::Key_F, Qt::AltModifier); // the path box's access key
             EXPECT_EQ(FocusName(), QStringLiteral("txtPath"));
             Press(Qt::Key_A, Qt::ControlModifier);
             Type(Path(root / "bots" / "fuzzy_c.c"));
             Press(Qt::Key_Return);
             ASSERT_TRUE(WaitFor([] { return FocusName() == QStringLiteral("lstFiles"); }));
             Press(Qt::Key_Return);
         },
         "Fuzzy",
         "Its weight files fuzzy_w.c and fuzzy_i.c use a layout Tarnwell does not edit"},
        {"the parent folder typed, the folder by its first letters, the file by arrows",
         [](const std::filesystem::path& root) {
             Press(Qt::Key_F, Qt::AltModifier);
             Press(Qt::Key_A, Qt::ControlModifier);
             Type(Path(root));
             Press(Qt::Key_Return);
             EXPECT_EQ(FocusName(), QStringLiteral("txtPath")); // Enter went nowhere else
             Press(Qt::Key_Tab);
             Press(Qt::Key_Tab);
             EXPECT_EQ(FocusName(), QStringLiteral("tvFolders"));
             Press(Qt::Key_Return); // opens the folder
             auto* tree = static_cast<QAbstractItemView*>(QApplication::focusWidget());
             ASSERT_TRUE(
                 WaitFor([tree] { return tree->model()->rowCount(tree->currentIndex()) == 2; }));
             Type(QStringLiteral("bo")); // "bots", below "another"
             EXPECT_TRUE(Find<QLineEdit>(*tree->window(), "txtPath")
                             ->text()
                             .endsWith(QStringLiteral("/bots")));
             Press(Qt::Key_Tab);
             EXPECT_EQ(FocusName(), QStringLiteral("lstFiles"));
             auto* files = static_cast<QAbstractItemView*>(QApplication::focusWidget());
             ASSERT_TRUE(
                 WaitFor([files] { return files->model()->rowCount(files->rootIndex()) == 2; }));
             Press(Qt::Key_Home);
             Press(Qt::Key_Return);
         },
         "Bot",
         nullptr},
        {"Backspace up from the folder below, End for the last file",
         [](const std::filesystem::path& root) {
             Press(Qt::Key_F, Qt::AltModifier);
             Press(Qt::Key_A, Qt::ControlModifier);
             Type(Path(root / "bots" / "deeper"));
             Press(Qt::Key_Return);
             Press(Qt::Key_Tab);
             Press(Qt::Key_Tab);
             Press(Qt::Key_Backspace);
             EXPECT_TRUE(Find<QLineEdit>(*QApplication::focusWidget()->window(), "txtPath")
                             ->text()
                             .endsWith(QStringLiteral("/bots")));
             Press(Qt::Key_Tab);
             auto* files = static_cast<QAbstractItemView*>(QApplication::focusWidget());
             ASSERT_TRUE(WaitFor([files] {
                 return files->model()->rowCount(files->rootIndex()) == 2;
             })) << "the folder it came from is no file";
             Press(Qt::Key_End);
             Press(Qt::Key_Enter, Qt::KeypadModifier);
         },
         "Fuzzy",
         nullptr},
    };

    for (const Case& c : cases) {
        m_window->Editor().CreateZeroBot();
        m_window->statusBar()->clearMessage();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << c.How;
            QApplication::setActiveWindow(dialog);
            ASSERT_TRUE(QTest::qWaitForWindowActive(dialog)) << c.How;
            shown = true;
            c.Keys(m_folder.Path());
            if (dialog->isVisible()) {
                ADD_FAILURE() << c.How << ": the dialog is still open";
                dialog->reject();
            }
        });
        // Ctrl+O: the platform's Open key is "Load bot".
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_TRUE(shown) << c.How;
        EXPECT_EQ(m_window->Editor().ThisBot().BotPara(Para::Name).ToText(), c.Bot) << c.How;
        QString status = m_window->statusBar()->currentMessage();
        EXPECT_TRUE(status.startsWith(QStringLiteral("Loaded the bot "))) << c.How;
        if (c.Status != nullptr) {
            EXPECT_TRUE(status.contains(QString::fromUtf8(c.Status))) << status.toStdString();
        }
        // The weight files kept whole were named in the status line only.
        EXPECT_TRUE(m_messages.Received().empty()) << c.How;
        m_messages.Clear();
    }
}

TEST_F(KeyboardTest, OnlyCtrlTabStepsThroughThePages)
{
    struct Case
    {
        int Page;
        const char* Focus; // the control with the focus
    };

    const Case cases[] = {
        {0, "tsBotPara_2"},
        {3, "osBotPara_44"},
        {4, "osBotPara_64"},
        {7, "lstChat"},
        {7, "lstChatGroups"},
    };

    const struct
    {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        const char* Name;
    } refused[] = {
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Tab"},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Tab as Tab"},
        {Qt::Key_PageUp, Qt::ControlModifier, "Ctrl+PageUp"},
        {Qt::Key_PageDown, Qt::ControlModifier, "Ctrl+PageDown"},
    };

    auto* pages = Find<QTabWidget>(*m_window, "tbsBotPara");
    m_window->Editor().CreateAverageBot();
    m_window->Editor().MarkSaved();
    for (const Case& c : cases) {
        pages->setCurrentIndex(c.Page);
        auto* control = Find<QWidget>(*pages, c.Focus);
        // The focus goes into the control itself (a slider of a slider control).
        QWidget* focus = control;
        if (auto* slider = control->findChild<QSlider*>()) {
            focus = slider;
        }
        focus->setFocus();
        ASSERT_TRUE(focus->hasFocus()) << c.Focus;
        for (const auto& key : refused) {
            Press(key.Key, key.Modifiers);
            EXPECT_EQ(pages->currentIndex(), c.Page) << key.Name << " on " << c.Focus;
            EXPECT_TRUE(focus->hasFocus())
                << key.Name << " on " << c.Focus << " went to " << FocusName().toStdString();
        }
        // The keys changed nothing in the bot either.
        EXPECT_FALSE(m_window->Editor().IsChanged()) << c.Focus;
        Press(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(pages->currentIndex(), (c.Page + 1) % pages->count()) << c.Focus;
    }
}

TEST_F(KeyboardTest, AltAndTheAccessKeyOpenEachMenu)
{
    const struct
    {
        int Key;
        const char* Menu;
    } menus[] = {{Qt::Key_P, "mTarnwell"},
                 {Qt::Key_B, "mnuBot"},
                 {Qt::Key_E, "mnuEdit"},
                 {Qt::Key_F, "mnuFile"},
                 {Qt::Key_T, "mnTool"}};

    Find<QWidget>(*m_window, "txtBotPara_0")->setFocus();
    for (const auto& menu : menus) {
        auto* shown = Find<QMenu>(*m_window, menu.Menu);
        QTest::keyClick(m_window.get(), static_cast<Qt::Key>(menu.Key), Qt::AltModifier);
        EXPECT_TRUE(WaitFor([shown] { return shown->isVisible(); })) << menu.Menu;
        QTest::keyClick(shown, Qt::Key_Escape);
        QTest::keyClick(m_window->menuBar(), Qt::Key_Escape);
        EXPECT_TRUE(WaitFor([shown] { return !shown->isVisible(); })) << menu.Menu;
        QApplication::setActiveWindow(m_window.get());
    }
    // In a menu, the item's key runs it: Alt+B, then N, then Z is "All zeros".
    m_window->Editor().CreateAverageBot();
    m_window->Editor().MarkSaved();
    QTest::keyClick(m_window.get(), Qt::Key_B, Qt::AltModifier);
    auto* bots = Find<QMenu>(*m_window, "mnuBot");
    ASSERT_TRUE(WaitFor([bots] { return bots->isVisible(); }));
    QTest::keyClick(bots, Qt::Key_N);
    auto* newBot = Find<QMenu>(*m_window, "mnuNew");
    ASSERT_TRUE(WaitFor([newBot] { return newBot->isVisible(); }));
    QTest::keyClick(newBot, Qt::Key_Z);
    EXPECT_TRUE(WaitFor(
        [this] { return m_window->Editor().ThisBot().BotPara(102) == Value(std::int16_t{0}); }));
}

} // namespace
} // namespace twl
