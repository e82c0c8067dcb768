// SPDX-License-Identifier: GPL-3.0-or-later
// "Try in game" in the editor's window, judged by the real engine: skipped
// without OpenArena's dedicated server (Debian package openarena-server).

#include "dialogs/frmCheck.h"
#include "editor/frmMain.h"
#include "engine/EnginePrograms.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace twl {
namespace {

const std::filesystem::path OpenArena = "/usr/lib/openarena-server";

// Runs `command`, and when the findings window shows, takes its lines and
// double-clicks the first line that holds `goTo` (closes it without one).
QStringList FindingsOf(const std::function<void()>& command, const QString& goTo = {})
{
    QStringList lines;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<frmCheck*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        poll.stop();
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lstFindings"));
        for (int k = 0; k < list->count(); ++k) {
            lines << list->item(k)->text();
        }
        for (int k = 0; k < list->count() && !goTo.isEmpty(); ++k) {
            if (list->item(k)->text().contains(goTo)) {
                emit list->itemActivated(list->item(k));
                return;
            }
        }
        dialog->reject();
    });
    poll.start(20);
    command();
    return lines;
}

TEST(TryInGameWindow, TheEnginesVerdictIsListedAndLeadsToTheLineItConcerns)
{
    if (!std::filesystem::is_directory(OpenArena / "baseoa") ||
        !FindEngine(DefaultEngineSearch(OpenArena))) {
        GTEST_SKIP() << "OpenArena's engine is not installed (Debian package openarena-server)";
    }
    test::TempFolder settings;
    test::ScriptedMessages messages;
    frmMain window(settings.Path(), messages, std::mt19937(3));
    window.show();
    BotEditor& editor = window.Editor();
    editor.CurrentSettings().Text(Settings::Q3Baseq3) = OpenArena.string();
    editor.InitByValues();
    window.CheckBaseq3();
    ASSERT_EQ(editor.CurrentCatalogues().Chat.GameName, "OpenArena");
    window.CreateAverageBot();
    editor.Edit("set up", [&](Bot& bot) { bot.SetBotPara(Para::Name, Value("Tried")); });
    window.FillBotDataToForm();

    QStringList lines = FindingsOf([&] { window.TryInGame(false); });
    for (const char* skill : {"1", "2", "3", "4", "4.5", "5"}) {
        EXPECT_TRUE(
            lines.contains(QStringLiteral("note: tried.bot: Tried at skill %1: in the game, "
                                          "its characteristics from bots/tried_c.c, 28 "
                                          "chat types built")
                               .arg(QString::fromLatin1(skill))))
            << lines.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_FALSE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("error:")))
        << lines.join(QLatin1Char('\n')).toStdString();

    // A line that names a list the game lacks: the engine's error leads to it.
    editor.Edit("set up", [&](Bot& bot) { bot.SetBotChat(24, 1, "{NO_SUCH_LIST}"); });
    window.FillBotDataToForm();
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("tbsBotPara"));
    pages->setCurrentIndex(0);
    lines = FindingsOf([&] { window.TryInGame(false); }, QStringLiteral("NO_SUCH_LIST"));
    EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("NO_SUCH_LIST")))
        << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(pages->currentIndex(), 7);
    EXPECT_EQ(window.findChild<QListWidget*>(QStringLiteral("lstChatGroups"))->currentRow(), 24);
    EXPECT_EQ(window.findChild<QListWidget*>(QStringLiteral("lstChat"))->currentRow(), 1);
    editor.MarkSaved();
}

} // namespace
} // namespace twl
