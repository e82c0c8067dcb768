// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of every page of the editor's window, its menus and its
// dialogs, for a person to look at: tarnwell_screenshots OUTDIR. The window
// takes the size it takes on the screen it runs on (scripts/screenshots.sh
// runs it on virtual screens of 1024x768 and 1920x1080), and is pictured
// maximised too.
#include "dialogs/DirView.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCheck.h"
#include "dialogs/frmOpen.h"
#include "dialogs/frmOptions.h"
#include "editing/FileCommands.h"
#include "editor/MessageBoxes.h"
#include "editor/ParameterPages.h"
#include "editor/frmMain.h"
#include "pk3/Games.h"
#include "pk3/ZipArchive.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TgaBytes.h"
#include "support/ZipBytes.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

bool Save(QWidget& widget, const QString& folder, const QString& name)
{
    QApplication::processEvents();
    QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", path.toUtf8().constData());
    return saved;
}

// Shows `menu` below `at`, pictures it and its submenus, and closes them.
bool SaveMenu(QMenu& menu, QPoint at, const QString& folder)
{
    menu.popup(at);
    bool ok = Save(menu, folder, QStringLiteral("menu-") + menu.objectName());
    for (QAction* action : menu.actions()) {
        if (QMenu* submenu = action->menu()) {
            ok = SaveMenu(*submenu,
                          at + QPoint(menu.width(), menu.actionGeometry(action).top()),
                          folder) &&
                 ok;
        }
    }
    menu.hide();
    return ok;
}

// Pictures the modal box `show` opens, then closes it.
bool SaveModal(const QString& folder, const QString& name, const std::function<void()>& show)
{
    bool ok = false;
    QTimer::singleShot(200, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ok = Save(*box, folder, name);
            std::printf("%s %dx%d\n", name.toUtf8().constData(), box->width(), box->height());
            box->close();
        }
    });
    show();
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnwell_screenshots OUTDIR\n");
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    twl::test::TempFolder settings;
    twl::test::ScriptedMessages messages;
    twl::frmMain window(settings.Path(), messages, std::mt19937(1));
    window.show();
    QRect screen = window.screen()->availableGeometry();
    std::printf("screen %dx%d, window %dx%d, smallest %dx%d\n",
                screen.width(),
                screen.height(),
                window.width(),
                window.height(),
                window.minimumSizeHint().width(),
                window.minimumSizeHint().height());
    bool ok = true;
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("tbsBotPara"));
    window.CreateAverageBot();
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        ok = Save(window, folder, QStringLiteral("page-%1").arg(page)) && ok;
    }

    // Every menu, with its access keys and the keys of its commands.
    ok = Save(*window.menuBar(), folder, QStringLiteral("menu-bar")) && ok;
    for (QAction* top : window.menuBar()->actions()) {
        if (QMenu* menu = top->menu()) {
            QRect where = window.menuBar()->actionGeometry(top);
            ok = SaveMenu(*menu, window.menuBar()->mapToGlobal(where.bottomLeft()), folder) && ok;
        }
    }

    // Maximised: without a window manager, the screen's whole free area.
    QRect normal = window.geometry();
    window.showMaximized();
    QTest::qWait(300);
    if (window.size() != screen.size()) {
        window.setGeometry(screen);
        QTest::qWait(100);
    }
    std::printf("maximised %dx%d\n", window.width(), window.height());
    for (int page : {0, 2, 4, 6, 7}) {
        pages->setCurrentIndex(page);
        ok = Save(window, folder, QStringLiteral("maximised-page-%1").arg(page)) && ok;
    }
    window.showNormal();
    window.setGeometry(normal);
    QTest::qWait(100);

    // The About box and message boxes whose title is longer than their text.
    {
        twl::frmAbout about(&window);
        about.show();
        ok = Save(about, folder, QStringLiteral("about")) && ok;
        std::printf("about %dx%d\n", about.width(), about.height());
    }
    twl::MessageBoxes boxes(&window);
    ok = SaveModal(folder,
                   QStringLiteral("message-short-text"),
                   [&] { boxes.Inform("Bot must have a name!", "Selfawareness error!"); }) &&
         ok;
    ok = SaveModal(folder,
                   QStringLiteral("message-question"),
                   [&] {
                       boxes.Ask("The current bot has changed. Do want to load a new bot and "
                                 "lose unsaved work on this one?",
                                 "Tarnwell");
                   }) &&
         ok;
    // The chat page with lines of the user's own and a list reference selected.
    pages->setCurrentIndex(7);
    auto* groups = window.findChild<QListWidget*>(QStringLiteral("lstChatGroups"));
    window.Editor().Edit("Type chat line",
                         [&](twl::Bot& bot) { bot.SetBotChat(24, 0, "You {LOSER}, {TARGET}!"); });
    window.Editor().Edit("Type chat line",
                         [&](twl::Bot& bot) { bot.SetBotChat(24, 1, "{{KILLINSULT12}}"); });
    window.Editor().Edit("Type chat line", [&](twl::Bot& bot) {
        bot.SetBotChat(24, 2, "Nice try with that {WEAPONUSED}.");
    });
    groups->setCurrentRow(24);
    window.findChild<QListWidget*>(QStringLiteral("lstChat"))->setCurrentRow(1);
    ok = Save(window, folder, QStringLiteral("chat-lines")) && ok;

    // The Edit menu names the step it undoes and the one it redoes.
    window.Editor().SetOneValue(32, 0.8);
    window.Editor().Undo();
    if (auto* edit = window.findChild<QMenu*>(QStringLiteral("mnuEdit"))) {
        edit->popup(window.mapToGlobal(QPoint(120, 24)));
        ok = Save(*edit, folder, QStringLiteral("edit-menu")) && ok;
        edit->hide();
    }

    // A skin icon from an archive of a game folder.
    twl::test::TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    twl::test::WriteZipArchive(
        game / "baseq3" / "skins.pk3",
        {{"models/players/sarge/icon_camo.tga",
          twl::test::MakeTga(twl::test::PatternImage(64, 64, true, false),
                             twl::test::TgaOptions{24, true, false, "", ""})}});
    window.Editor().CurrentSettings().Text(twl::Settings::Q3Baseq3) = game.Path().string();
    window.Editor().InitByValues();
    twl::AddModelSkin(window.Editor().CurrentCatalogues().Models,
                      "Sarge",
                      "Camo",
                      "skins.pk3",
                      "models\\players\\sarge\\icon_camo.tga");
    window.Editor().Edit("Choose skin", [&](twl::Bot& bot) {
        bot.SetBotPara(twl::Para::Model, twl::Value("Sarge"));
        bot.SetBotPara(twl::Para::Skin, twl::Value("Camo"));
    });
    window.FillBotDataToForm();
    pages->setCurrentIndex(0);
    ok = Save(window, folder, QStringLiteral("skin-icon")) && ok;

    pages->setCurrentIndex(0);
    auto* funName = window.findChild<QLineEdit*>(QStringLiteral("txtBotPara_2"));
    funName->setText(QStringLiteral("^0Bl^1Re^2Gr^3Ye^4Bl^5Cy^6Ma^7Wh"));
    ok = Save(window, folder, QStringLiteral("funname-colours")) && ok;
    // A fun name longer than its preview, and a weight beyond its page's scale.
    funName->setText(QStringLiteral("^1The ^3Longest ^5Fun ^2Name ^4Of ^6All ^7The ^1Bots"));
    ok = Save(window, folder, QStringLiteral("funname-cut")) && ok;
    window.Editor().Edit(
        "Load weights",
        [](twl::Bot& bot) { bot.SetBotPara(44, twl::Value(std::int16_t{700})); },
        twl::ShowAgain::Everything);
    pages->setCurrentIndex(3);
    ok = Save(window, folder, QStringLiteral("weight-past-scale")) && ok;
    pages->setCurrentIndex(0);

    // The load and save dialog in each of its shapes, over a folder of bots.
    twl::test::TempFolder bots;
    for (const char* file : {"sarge_c.c", "sarge_t.c", "sarge_i.c", "sarge_w.c", "tankjr_c.c"}) {
        twl::test::WriteBytes(bots / file, "");
    }

    struct Shape
    {
        int LoadType;
        int Tab;
        const char* Name;
    };

    const Shape shapes[] = {{0, 0, "load-bot"},
                            {0, 1, "load-bot-list"},
                            {1, 0, "load-char-file"},
                            {5, 0, "make-bot-files"},
                            {6, 0, "set-game-folder"}};
    for (const Shape& shape : shapes) {
        twl::frmOpen dialog(messages, &window);
        dialog.LType(static_cast<twl::LoadType>(shape.LoadType));
        if (shape.LoadType == 5) {
            dialog.setWindowTitle(QStringLiteral("Make botfiles for Bot"));
        }
        for (const char* line : {"Anarki         pak0.pk3            -D-",
                                 "Johnny         bot-Johnny.pk3      Yes",
                                 "Sarge          pak0.pk3            -D-"}) {
            dialog.AddBotName(QString::fromLatin1(line));
        }
        dialog.SetFolder(QString::fromStdString(bots.Path().string()));
        dialog.SetPlayerFolder(QDir::home().filePath(QStringLiteral(".openarena/baseoa")));
        dialog.findChild<QTabWidget*>(QStringLiteral("tbsOptions"))->setCurrentIndex(shape.Tab);
        dialog.show();
        QSignalSpy listed(dialog.Browser(), &twl::DirView::FilesListed);
        listed.wait(2000);
        QTest::qWait(300); // the folder tree reads its folders in the background
        ok = Save(dialog, folder, QString::fromLatin1(shape.Name)) && ok;
    }
    // The folder browser driven by the keyboard: a path typed and Enter, then
    // a file chosen with the arrow keys.
    {
        twl::frmOpen dialog(messages, &window);
        dialog.LType(twl::LoadType::WholeBot);
        dialog.SetFolder(QDir::homePath());
        dialog.show();
        auto* path = dialog.findChild<QLineEdit*>(QStringLiteral("txtPath"));
        path->setFocus();
        path->selectAll();
        QTest::keyClicks(path, QString::fromStdString(bots.Path().string()));
        ok = Save(dialog, folder, QStringLiteral("browser-typing-path")) && ok;
        QSignalSpy listed(dialog.Browser(), &twl::DirView::FilesListed);
        QTest::keyClick(path, Qt::Key_Return);
        listed.wait(2000);
        QTest::qWait(300);
        auto* files = dialog.findChild<QWidget*>(QStringLiteral("lstFiles"));
        files->setFocus();
        QTest::keyClick(files, Qt::Key_Down);
        QTest::keyClick(files, Qt::Key_Down);
        std::printf("browser: folder %s, file %s\n",
                    dialog.CurrentDir().toUtf8().constData(),
                    dialog.CurrentFile().toUtf8().constData());
        ok = Save(dialog, folder, QStringLiteral("browser-typed-path")) && ok;
        twl::MessageBoxes dialogBoxes(&dialog);
        twl::DirView browser(dialogBoxes, &dialog);
        ok = SaveModal(folder,
                       QStringLiteral("browser-wrong-path"),
                       [&] {
                           // The dialog's own browser speaks through the
                           // scripted messages; this one shows the box.
                           browser.findChild<QLineEdit*>(QStringLiteral("txtPath"))
                               ->setText(QStringLiteral("/no/such/folder"));
                           browser.GoToTypedPath();
                       }) &&
             ok;
    }
    for (int tab = 0; tab < 2; ++tab) {
        twl::frmOptions options(messages, &window);
        options.SetIniPara(0, QStringLiteral("/usr/local/games/quake3"));
        options.SetIniPara(1, QDir::homePath());
        options.SetIniPara(3, QStringLiteral("Vantry"));
        options.SetIniPara(4, QStringLiteral("vantry@example.org"));
        options.SetIniPara(6, QStringLiteral("3"));
        options.findChild<QTabWidget*>(QStringLiteral("tbsOptions"))->setCurrentIndex(tab);
        options.show();
        ok = Save(options, folder, QStringLiteral("options-%1").arg(tab)) && ok;
    }
    // The options with the games this machine has (two made up when it has none).
    {
        twl::frmOptions options(messages, &window);
        std::vector<twl::FoundGame> games = twl::FindGames(twl::GameSearch::FromEnvironment());
        if (games.empty()) {
            games.resize(2);
            games[0].Where.Game = &twl::KnownGames()[1];
            games[0].Where.Folder = "/usr/share/games/openarena";
            games[0].Where.Archives = 9;
            games[1].Where.Game = &twl::KnownGames()[0];
            games[1].Where.Folder = "/opt/quake3";
            games[1].Where.Archives = 1;
        }
        options.ShowFoundGames(games);
        options.SetIniPara(0, QString::fromStdString(games[0].Where.Folder.string()));
        options.show();
        ok = Save(options, folder, QStringLiteral("options-games-found")) && ok;
    }

    // OpenArena, when it is installed: its bot list and one of its bots loaded.
    const std::filesystem::path openArena = "/usr/share/games/openarena";
    if (std::filesystem::is_directory(openArena / "baseoa")) {
        window.Editor().CurrentSettings().Text(twl::Settings::Q3Baseq3) = openArena.string();
        window.Editor().InitByValues();
        window.Editor().UseGameVocabulary();
        window.CheckBaseq3();
        const twl::BotList& list = window.Editor().CurrentCatalogues().Bots;
        std::size_t murielle = 0;
        while (murielle < list.size() && list[murielle].Name != "Murielle") {
            ++murielle;
        }
        twl::frmOpen dialog(messages, &window);
        dialog.LType(twl::LoadType::WholeBot);
        for (const twl::BotListEntry& entry : list) {
            dialog.AddBotName(QString::fromStdString(twl::BotListLine(entry)));
        }
        dialog.findChild<QTabWidget*>(QStringLiteral("tbsOptions"))->setCurrentIndex(1);
        dialog.show();
        ok = Save(dialog, folder, QStringLiteral("openarena-bot-list")) && ok;
        dialog.close();
        twl::LoadBotOfList(window.Editor(), std::to_string(murielle), twl::LoadType::WholeBot);
        window.FillBotDataToForm();
        pages->setCurrentIndex(0);
        ok = Save(window, folder, QStringLiteral("openarena-bot")) && ok;
        pages->setCurrentIndex(7);
        groups->setCurrentRow(7);
        ok = Save(window, folder, QStringLiteral("openarena-chat")) && ok;

        // "Try in game": what the engine said of the bot, with one line the
        // game cannot say.
        window.Editor().Edit("Type chat line",
                             [&](twl::Bot& bot) { bot.SetBotChat(24, 0, "{NO_SUCH_LIST}"); });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* check = qobject_cast<twl::frmCheck*>(QApplication::activeModalWidget());
            if (check != nullptr) {
                poll.stop();
                check->resize(900, 420);
                ok = Save(*check, folder, QStringLiteral("try-in-game")) && ok;
                check->reject();
            }
        });
        poll.start(50);
        window.TryInGame(false);
    } else {
        std::printf("skipped the OpenArena pictures: %s is not installed\n",
                    openArena.string().c_str());
    }
    messages.Clear();
    window.Editor().MarkSaved();
    return ok ? 0 : 1;
}
