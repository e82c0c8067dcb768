// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmOptions.h"

#include "dialogs/DirView.h"
#include "dialogs/frmOpen.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

TEST(frmOptions, ValuesGoInAndComeBackOnlyOnOk)
{
    ScriptedMessages messages;
    for (bool ok : {true, false}) {
        frmOptions dialog(messages);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarnwell options"));
        for (int i = 0; i <= 6; ++i) {
            dialog.SetIniPara(i, QStringLiteral("value %1").arg(i));
        }
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblBotCount"))->text(),
                  QStringLiteral("value 6"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("txtIni_3"));
        name->setText(QStringLiteral("Vantry"));
        // The extractor folder has no row of its own to show.
        EXPECT_FALSE(dialog.findChild<QLineEdit*>(QStringLiteral("txtIni_2"))->isVisible());
        EXPECT_TRUE(dialog.findChild<QLineEdit*>(QStringLiteral("txtIni_0"))->isVisible());
        QSignalSpy saved(&dialog, &frmOptions::SaveValues);
        QSignalSpy deleted(&dialog, &frmOptions::Delete);
        QTest::mouseClick(dialog.findChild<QPushButton*>(ok ? QStringLiteral("cmdOK")
                                                            : QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
        EXPECT_EQ(saved.count(), ok ? 1 : 0);
        EXPECT_EQ(deleted.count(), 1);
        EXPECT_EQ(dialog.IniPara(3), QStringLiteral("Vantry"));
        EXPECT_EQ(dialog.IniPara(2), QStringLiteral("value 2"));
    }
    auto tabs = [](frmOptions& dialog) {
        return dialog.findChild<QTabWidget*>(QStringLiteral("tbsOptions"));
    };
    frmOptions dialog(messages);
    dialog.show();
    EXPECT_EQ(tabs(dialog)->tabText(0), QStringLiteral("Directories"));
    EXPECT_EQ(tabs(dialog)->tabText(1), QStringLiteral("User data"));
    QTest::keyClick(
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs(dialog)->currentIndex(), 1);
    EXPECT_TRUE(messages.Received().empty());
}

TEST(frmOptions, SearchStartsInTheBoxFolderAndFillsTheBox)
{
    ScriptedMessages messages;
    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    test::WriteBytes(game / "baseq3" / "pak0.pk3", "");
    frmOptions dialog(messages);
    dialog.show();

    struct Case
    {
        QString Before;
        QString StartsIn;
    };

    const Case cases[] = {
        {Q(game / "gone"), QDir::homePath()},
        {QString(), QDir::homePath()},
        {Q(game / "baseq3"), Q(game / "baseq3")},
    };
    for (const Case& c : cases) {
        dialog.SetIniPara(0, c.Before);
        QString startedIn;
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* search = qobject_cast<frmOpen*>(QApplication::activeModalWidget());
            ASSERT_NE(search, nullptr);
            startedIn = search->Browser()->Folder();
            caption = search->windowTitle();
            EXPECT_EQ(search->Purpose(), LoadType::GameFolder);
            search->Browser()->SetFolder(Q(game.Path()));
            QTest::mouseClick(search->findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        });
        dialog.cmdSearch_Click(0);
        EXPECT_EQ(startedIn, c.StartsIn);
        EXPECT_EQ(caption, QStringLiteral("Set Q3 folder"));
        EXPECT_EQ(dialog.IniPara(0), Q(game.Path()));
    }
    // The working folder takes any folder.
    QTimer::singleShot(0, [&] {
        auto* search = qobject_cast<frmOpen*>(QApplication::activeModalWidget());
        ASSERT_NE(search, nullptr);
        EXPECT_EQ(search->windowTitle(), QStringLiteral("Set working folder"));
        search->Browser()->SetFolder(Q(game / "baseq3"));
        QTest::mouseClick(search->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    dialog.cmdSearch_Click(1);
    EXPECT_EQ(dialog.IniPara(1), Q(game / "baseq3"));
    EXPECT_TRUE(messages.Received().empty());
}

TEST(frmOptions, FindGamesListsThemAndAPickFillsTheGameFolder)
{
    ScriptedMessages messages;
    frmOptions dialog(messages);
    dialog.show();
    auto* games = dialog.findChild<QListWidget*>(QStringLiteral("lstGames"));
    EXPECT_FALSE(games->isVisible());
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("lblGameFolder"))
                    ->text()
                    .contains(QStringLiteral("baseoa")));

    // Nothing found: said, and the list stays hidden.
    dialog.SetGameSearch([] { return std::vector<FoundGame>(); });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdFindGames")),
                      Qt::LeftButton);
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Title, "Find games");
    EXPECT_FALSE(games->isVisible());

    std::vector<FoundGame> found(2);
    found[0].Where.Game = &KnownGames()[1];
    found[0].Where.Folder = "/usr/share/games/openarena";
    found[0].Where.Archives = 9;
    found[1].Where.Game = &KnownGames()[0];
    found[1].Where.Folder = "/opt/quake3";
    found[1].Where.Archives = 1;
    dialog.SetGameSearch([found] { return found; });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdFindGames")),
                      Qt::LeftButton);
    ASSERT_EQ(games->count(), 2);
    EXPECT_TRUE(games->isVisible());
    EXPECT_EQ(games->item(0)->text(),
              QStringLiteral("OpenArena: /usr/share/games/openarena (9 archives)"));
    games->setCurrentRow(1);
    EXPECT_EQ(dialog.IniPara(0), QStringLiteral("/opt/quake3"));
}

} // namespace
} // namespace twl
