// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"
#include "dialogs/DirView.h"
#include "dialogs/frmOpen.h"
#include "dialogs/frmOptions.h"
#include "editor/IconImages.h"
#include "editor/Sliders.h"
#include "editor/frmMain.h"
#include "pk3/ZipArchive.h"
#include "services/BotFileSet.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"
#include "support/TgaBytes.h"
#include "support/ZipBytes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;
using Message = ScriptedMessages::Message;
using Kind = ScriptedMessages::Kind;

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// Every file under `folder` with its bytes, by path relative to it.
std::map<std::string, std::string> FilesUnder(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() != ".pk3") {
            files[std::filesystem::relative(entry.path(), folder).string()] =
                test::ReadBytes(entry.path());
        }
    }
    return files;
}

// The entries of an archive with their bytes.
std::map<std::string, std::string> ArchiveEntries(const std::filesystem::path& path)
{
    std::map<std::string, std::string> entries;
    std::unique_ptr<ZipReader> archive = ZipReader::Open(path).ValueOr(nullptr);
    if (!archive) {
        return entries;
    }
    std::vector<std::string> names = archive->EntryNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        entries[names[i]] = archive->ReadEntry(i, 1 << 20).ValueOr("?");
    }
    return entries;
}

class FileCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<frmMain>(m_settings.Path(), m_messages);
        m_window->show();
    }

    void TearDown() override
    {
        m_window->Editor().MarkSaved();
        m_window.reset();
    }

    // Runs `command`, which opens a dialog of type T, and answers it with
    // `answer` once it shows. False when no dialog showed.
    template <typename T>
    bool Answer(const std::function<void()>& command, const std::function<void(T&)>& answer)
    {
        bool shown = false;
        // A timer of this call alone: gone with it when no dialog showed.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            shown = true;
            answer(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        timer.start(0);
        command();
        return shown;
    }

    // "Make bot files" into `folder`, as the dialog would report it.
    bool Make(const std::filesystem::path& folder, bool layout, bool archive)
    {
        return Answer<frmOpen>(
            [&] { m_window->MakeBotFiles(); },
            [&](frmOpen& dialog) {
                EXPECT_EQ(dialog.Purpose(), LoadType::MakeBotFiles);
                dialog.Browser()->SetFolder(Q(folder));
                if (layout) {
                    dialog.findChild<QCheckBox*>(QStringLiteral("chkUseDir"))->click();
                }
                if (archive) {
                    dialog.findChild<QCheckBox*>(QStringLiteral("chkSavePK3"))->click();
                }
                dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
    }

    // A load of type `loadType` of `file` from `folder`.
    bool Load(int loadType,
              const std::filesystem::path& folder,
              const QString& file,
              bool withScript = true)
    {
        return Answer<frmOpen>(
            [&] {
                if (loadType == 0) {
                    m_window->LoadBot();
                } else {
                    m_window->ShowOpenSaveForm(static_cast<LoadType>(loadType));
                }
            },
            [&](frmOpen& dialog) {
                EXPECT_EQ(dialog.Purpose(), static_cast<LoadType>(loadType));
                dialog.Browser()->SetFolder(Q(folder));
                emit dialog.Browser()->FileSelected(file);
                if (!withScript) {
                    dialog.findChild<QCheckBox*>(QStringLiteral("chkBotfileFF"))->click();
                }
                dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
    }

    QString Shown(const char* slider, const char* label)
    {
        QWidget* control = m_window->findChild<QWidget*>(QString::fromLatin1(slider));
        return control->findChild<QLabel*>(QString::fromLatin1(label))->text();
    }

    QString Status() { return m_window->statusBar()->currentMessage(); }

    std::string ThisBotSkin() { return m_window->Editor().ThisBot().BotPara(Para::Skin).ToText(); }

    TempFolder m_settings;
    ScriptedMessages m_messages;
    std::unique_ptr<frmMain> m_window;
};

TEST_F(FileCommandsTest, MadeFilesAreTheBytesOfTheCommandLineTool)
{
    struct Case
    {
        bool Layout;
        bool Archive;
        std::vector<std::string> CliFlags;
    };

    const Case cases[] = {
        {false, false, {}},
        {true, false, {"--structure"}},
        {true, true, {"--structure", "--pk3"}},
    };
    for (const Case& c : cases) {
        m_messages.Clear();
        // The same generator as the tool's: the same random chat lines.
        m_window->Editor().Random = std::mt19937();
        m_window->CreateAverageBot();
        TempFolder window;
        ASSERT_TRUE(Make(window.Path(), c.Layout, c.Archive));
        EXPECT_FALSE(m_window->Editor().IsChanged());

        TempFolder cli;
        TempFolder cliSettings;
        std::vector<std::string> arguments = {"new", "--preset", "average"};
        arguments.insert(arguments.end(), c.CliFlags.begin(), c.CliFlags.end());
        arguments.insert(arguments.end(),
                         {"--settings", cliSettings.Path().string(), cli.Path().string()});
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunCli(arguments, out, err), ExitSuccess) << err.str();

        std::map<std::string, std::string> made = FilesUnder(window.Path());
        EXPECT_EQ(made.size(), 5u);
        EXPECT_EQ(made, FilesUnder(cli.Path())) << c.Layout;
        if (c.Archive) {
            std::filesystem::path pk3 = window / "bot-Bot.pk3";
            EXPECT_EQ(ArchiveEntries(pk3), ArchiveEntries(cli / "bot-Bot.pk3"));
            EXPECT_EQ(ArchiveEntries(pk3).size(), 5u);
            EXPECT_EQ(m_window->Editor().CurrentSettings().BotsMade.ToNumber(), 1.0);
            EXPECT_EQ(
                m_messages.Received(),
                std::vector<Message>({{Kind::Note, "", pk3.string() + " created succesfully"}}));
            EXPECT_NE(Status().indexOf(Q(pk3)), -1);
        } else {
            EXPECT_TRUE(m_messages.Received().empty());
        }
        EXPECT_TRUE(Status().startsWith(QStringLiteral("Made the files of Bot in ")));
        // The dialog opens next time where this one ended.
        EXPECT_EQ(m_window->Editor().RememberedFolder, window.Path());
    }
}

TEST_F(FileCommandsTest, MakingABadBotOpensNoDialog)
{
    m_window->findChild<QLineEdit*>(QStringLiteral("txtBotPara_0"))->setText(QString());
    EXPECT_FALSE(Answer<frmOpen>([&] { m_window->MakeBotFiles(); }, [](frmOpen&) {}));
    EXPECT_EQ(m_messages.Received(),
              std::vector<Message>(
                  {{Kind::Warn, "Selfawareness error!", "Bot must have a name!"},
                   {Kind::Warn, "Error-or-or!", "Errors in bot! Correct before saving!"}}));
}

TEST_F(FileCommandsTest, ASaveThatFailsIsReportedAndKeepsTheChanges)
{
    TempFolder target;
    std::filesystem::create_directories(target / "botfiles" / "bots");
    test::WriteBytes(target / "botfiles" / "bots" / "bot_c.c", "old");
    test::WriteBytes(target / "scripts", "a file where the folder should be");
    m_window->Editor().SetOneValue(44, 100);
    ASSERT_TRUE(Make(target.Path(), true, true));
    EXPECT_TRUE(m_window->Editor().IsChanged());
    EXPECT_EQ(m_window->Editor().CurrentSettings().BotsMade.ToNumber(), 0.0);
    EXPECT_EQ(test::ReadBytes(target / "botfiles" / "bots" / "bot_c.c"), "old");
    EXPECT_FALSE(std::filesystem::exists(target / "bot-Bot.pk3"));
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Write failed!");
    EXPECT_NE(m_messages.Received()[0].Text.find((target / "scripts").string()), std::string::npos);
    EXPECT_TRUE(Status().isEmpty());
}

TEST_F(FileCommandsTest, LoadingABotShowsItsValues)
{
    std::filesystem::path folder = test::FixturePath("handwritten/input");
    ASSERT_TRUE(Load(0, folder, QStringLiteral("sarge")));
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_FALSE(m_window->Editor().IsChanged());
    EXPECT_EQ(m_window->findChild<QLineEdit*>(QStringLiteral("txtBotPara_0"))->text(),
              QStringLiteral("Sarge"));
    EXPECT_EQ(m_window->findChild<QLineEdit*>(QStringLiteral("txtBotPara_2"))->text(),
              QStringLiteral("^1Sarge color"));
    EXPECT_EQ(Shown("tsBotPara_2", "lblValue_1"), QStringLiteral("0.25"));
    EXPECT_EQ(Shown("tsBotPara_6", "lblValue_1"), QStringLiteral("90"));
    EXPECT_EQ(Shown("osBotPara_31", "lblValue"), QStringLiteral("400"));
    EXPECT_EQ(Shown("osBotPara_32", "lblValue"), QStringLiteral("0.75"));
    EXPECT_EQ(m_window->findChild<QComboBox*>(QStringLiteral("cmbSkin"))->currentText(),
              QStringLiteral("Krusade"));
    EXPECT_EQ(Status(), QStringLiteral("Loaded the bot sarge from ") + Q(folder));

    // With unsaved changes "Load bot" asks; No opens no dialog.
    m_window->Editor().Edit("set up",
                            [](Bot& bot) { bot.SetBotPara(Para::Comment, Value("changed")); });
    m_messages.ExpectQuestion(false);
    EXPECT_FALSE(Load(0, folder, QStringLiteral("sarge")));
    EXPECT_EQ(m_messages.Received().back(),
              (Message{Kind::Ask,
                       "Tarnwell",
                       "The current bot has changed. Do want to load a new bot and lose unsaved "
                       "work on this one?"}));
}

TEST_F(FileCommandsTest, SingleFilesGoIntoTheBotAndMarkItChanged)
{
    std::filesystem::path folder = test::FixturePath("average-bot/expected");

    struct Case
    {
        int LoadType;
        QString File;
        const char* Slider;
        const char* Label;
        QString Shows;
    };

    const Case cases[] = {
        {1, QStringLiteral("bot_c.c"), "tsBotPara_6", "lblValue_5", QStringLiteral("180")},
        {2, QStringLiteral("bot_t.c"), nullptr, nullptr, QString()},
        {3, QStringLiteral("bot_i.c"), "osBotPara_55", "lblValue", QStringLiteral("2")},
        {4, QStringLiteral("bot_w.c"), "osBotPara_44", "lblValue", QStringLiteral("50")},
    };
    for (const Case& c : cases) {
        m_window->CreateZeroBot();
        ASSERT_TRUE(Load(c.LoadType, folder, c.File));
        EXPECT_TRUE(m_window->Editor().IsChanged()) << c.LoadType;
        if (c.Slider != nullptr) {
            EXPECT_EQ(Shown(c.Slider, c.Label), c.Shows) << c.LoadType;
        } else {
            EXPECT_EQ(m_window->Editor().ThisBot().BotChat(0, 0).substr(0, 11), "{{GAMEENTER");
        }
        EXPECT_EQ(Status(),
                  QStringLiteral("Loaded ") + c.File + QStringLiteral(" from ") + Q(folder));
        m_window->Editor().MarkSaved();
    }
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(FileCommandsTest, TheGameFolderCheckAndABotFromItsArchive)
{
    // A game folder with one archive holding a bot the tool packed.
    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    TempFolder made;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunCli({"new",
                      "--preset",
                      "average",
                      "--name",
                      "Johnny",
                      "--pk3",
                      "--settings",
                      made.Path().string(),
                      made.Path().string()},
                     out,
                     err),
              ExitSuccess);
    std::filesystem::copy_file(made / "bot-Johnny.pk3", game / "baseq3" / "bot-Johnny.pk3");
    std::filesystem::copy_file(made / "bot-Johnny.pk3", game / "baseq3" / "zzz.pk3");
    // The game's own archive, whose icons the skins of its models name.
    ASSERT_TRUE(test::WriteZipArchive(game / "baseq3" / "pak0.pk3", {{"readme.txt", "game data"}}));

    // The options take the game folder, which is checked at once.
    ASSERT_TRUE(
        Answer<frmOptions>([&] { m_window->ShowOptions(); },
                           [&](frmOptions& options) {
                               options.SetIniPara(0, Q(game.Path()));
                               options.SetIniPara(3, QStringLiteral("Vantry"));
                               options.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
                           }));
    BotEditor& editor = m_window->Editor();
    EXPECT_EQ(editor.CurrentSettings().Text(Settings::UserName), "Vantry");
    EXPECT_TRUE(editor.CanShowIcons);
    EXPECT_TRUE(editor.CurrentSettings().BaseQ3Checked);
    EXPECT_TRUE(Status().startsWith(QStringLiteral("Checked ")));
    ASSERT_EQ(editor.CurrentCatalogues().Bots.size(), 33u);
    Answer<frmOptions>([&] { m_window->ShowOptions(); },
                       [&](frmOptions& options) {
                           options.SetIniPara(3, QStringLiteral("Somebody else"));
                           options.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
                       });
    EXPECT_EQ(editor.CurrentSettings().Text(Settings::UserName), "Vantry");

    // Cancelled after the first archive: the lists stay as they were.
    BotList botsBefore = editor.CurrentCatalogues().Bots;
    std::size_t modelsBefore = editor.CurrentCatalogues().Models.size();
    QTimer::singleShot(0, [&] {
        auto* wait = m_window->findChild<QProgressDialog*>(QStringLiteral("frmWait"));
        ASSERT_NE(wait, nullptr);
        EXPECT_EQ(wait->windowTitle(), QStringLiteral("Please stand by"));
        EXPECT_TRUE(wait->labelText().startsWith(QStringLiteral("Browising BaseQ3...")));
        wait->cancel();
    });
    m_window->CheckBaseq3();
    EXPECT_EQ(editor.CurrentCatalogues().Bots.size(), botsBefore.size());
    EXPECT_EQ(editor.CurrentCatalogues().Models.size(), modelsBefore);

    // Checked again, the lists come out the same.
    m_window->CheckBaseq3();
    EXPECT_TRUE(editor.CurrentSettings().BaseQ3Checked);
    ASSERT_EQ(editor.CurrentCatalogues().Bots.size(), botsBefore.size());
    EXPECT_TRUE(m_messages.Received().empty());

    // The bot list page now lists the game's bots; Johnny comes from his archive.
    m_window->CreateZeroBot();
    bool listed = Answer<frmOpen>(
        [&] { m_window->LoadBot(); },
        [&](frmOpen& dialog) {
            auto* bots = dialog.findChild<QListWidget*>(QStringLiteral("lstBots"));
            ASSERT_EQ(static_cast<std::size_t>(bots->count()),
                      editor.CurrentCatalogues().Bots.size());
            QList<QListWidgetItem*> johnny =
                bots->findItems(QStringLiteral("Johnny"), Qt::MatchStartsWith);
            ASSERT_EQ(johnny.size(), 1);
            EXPECT_EQ(johnny[0]->text(), QStringLiteral("Johnny         zzz.pk3             Yes"));
            bots->setCurrentItem(johnny[0]);
            dialog.findChild<QTabWidget*>(QStringLiteral("tbsOptions"))->setCurrentIndex(1);
            dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
    ASSERT_TRUE(listed);
    EXPECT_EQ(editor.ThisBot().BotPara(Para::Name), Value("Johnny"));
    EXPECT_EQ(m_window->findChild<QLineEdit*>(QStringLiteral("txtBotPara_0"))->text(),
              QStringLiteral("Johnny"));
    EXPECT_EQ(Shown("osBotPara_44", "lblValue"), QStringLiteral("50"));
    EXPECT_FALSE(editor.IsChanged());
    EXPECT_EQ(Status(), QStringLiteral("Loaded Johnny from zzz.pk3"));
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(FileCommandsTest, CheckingWithoutAGameFolderSaysSo)
{
    m_window->CheckBaseq3();
    EXPECT_EQ(m_messages.Received(),
              std::vector<Message>(
                  {{Kind::Warn,
                    "Can't check folder",
                    "Quake III Arena folder isn't set. Use 'Program/Options' to set it."}}));
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST_F(FileCommandsTest, WeightsKeptInAnotherLayoutCannotBeMovedAndSaySo)
{
    std::filesystem::path folder = test::FixturePath("realbot/input");
    m_messages.Clear();
    ASSERT_TRUE(Load(0, folder, QStringLiteral("fuzzy")));
    m_window->findChild<QTabWidget*>(QStringLiteral("tbsBotPara"))->setCurrentIndex(3);
    QWidget* weapons = m_window->findChild<QWidget*>(QStringLiteral("osBotPara_44"));
    QLabel* note = m_window->findChild<QLabel*>(QStringLiteral("lblKeptWeights_3"));
    ASSERT_NE(weapons, nullptr);
    ASSERT_NE(note, nullptr);
    // The weapon page: its file is kept; the item pages as the item file says.
    EXPECT_FALSE(weapons->parentWidget()->isEnabled());
    EXPECT_FALSE(note->isHidden());
    EXPECT_NE(note->text().indexOf(QStringLiteral("fuzzy_w.c")), -1);
    bool itemsKept = m_window->Editor().ThisBot().HasForeignWeights(WeightFileKind::Item);
    EXPECT_EQ(m_window->findChild<QLabel*>(QStringLiteral("lblKeptWeights_5"))->isHidden(),
              !itemsKept);
    // A new bot edits its own weights again.
    m_window->CreateZeroBot();
    EXPECT_TRUE(weapons->parentWidget()->isEnabled());
    EXPECT_TRUE(note->isHidden());
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST_F(FileCommandsTest, TheSelectedSkinsIconIsShown)
{
    // A game folder whose archive holds a red icon for a skin of Sarge.
    TempFolder game;
    std::filesystem::create_directories(game / "baseq3");
    RgbaImage red{8, 8, std::vector<std::uint8_t>()};
    for (int p = 0; p < 64; ++p) {
        red.Pixels.insert(red.Pixels.end(), {255, 0, 0, 255});
    }
    ASSERT_TRUE(
        test::WriteZipArchive(game / "baseq3" / "skins.pk3",
                              {{"models/players/sarge/icon_camo.tga",
                                test::MakeTga(red, test::TgaOptions{24, true, false, "", ""})}}));
    BotEditor& editor = m_window->Editor();
    editor.CurrentSettings().Text(Settings::Q3Baseq3) = game.Path().string();
    editor.InitByValues();
    ModelCatalogue& models = editor.CurrentCatalogues().Models;
    AddModelSkin(models, "Sarge", "Camo", "skins.pk3", "models\\players\\sarge\\icon_camo.tga");
    AddModelSkin(models, "Sarge", "Mine", UserDefined, "");
    AddModelSkin(models, "Sarge", "Gone", "skins.pk3", "models\\players\\sarge\\icon_gone.tga");
    auto* skins = m_window->findChild<QComboBox*>(QStringLiteral("cmbSkin"));
    auto* icon = m_window->findChild<QLabel*>(QStringLiteral("picIcon"));
    m_window->FillModelAndSkin(16, 0); // Sarge, Default: its icon is in pak0.pk3, not here

    auto choose = [&](const QString& skin) {
        int index = skins->findText(skin);
        skins->setCurrentIndex(index);
        emit skins->activated(index);
        return icon->pixmap().toImage();
    };
    // Until the window's first paint, which does not wait for an archive, the
    // icon only waits; it comes once the window has been painted.
    EXPECT_TRUE(choose(QStringLiteral("Camo")).isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !icon->pixmap().isNull(); }));
    QImage shown = icon->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(255, 0, 0));
    // The picture is scaled to the box without distortion.
    EXPECT_EQ(shown.width(), shown.height());
    auto fixed = [&](IconChoice::Kind kind) {
        IconChoice choice;
        choice.Shows = kind;
        return IconPixmap(choice, icon->contentsRect().size(), icon->devicePixelRatioF()).toImage();
    };
    EXPECT_TRUE(choose(QStringLiteral("Mine")) == fixed(IconChoice::Kind::UserSkin));
    EXPECT_TRUE(choose(QStringLiteral("Gone")) == fixed(IconChoice::Kind::NotFound));
    EXPECT_FALSE(fixed(IconChoice::Kind::UserSkin) == fixed(IconChoice::Kind::NotFound));
    EXPECT_EQ(ThisBotSkin(), "Gone");
    // Messages: only the game's own archive, which this folder lacks.
    for (const Message& message : m_messages.Received()) {
        EXPECT_NE(message.Text.find("pak0.pk3"), std::string::npos) << message.Text;
    }
}

} // namespace
} // namespace twl

namespace twl {
namespace {

// What else a file named at start does is tested without the window.
TEST_F(FileCommandsTest, AFileNamedAtStartIsLoadedWithItsScript)
{
    std::filesystem::path fixture = test::FixturePath("handwritten/input");
    // In the game's layout: the script in the scripts folder beside botfiles.
    TempFolder layout;
    std::filesystem::create_directories(layout / "botfiles" / "bots");
    std::filesystem::create_directories(layout / "scripts");
    for (const char* file : {"sarge_c.c", "sarge_w.c", "sarge_i.c", "sarge_t.c"}) {
        std::filesystem::copy_file(fixture / file, layout / "botfiles" / "bots" / file);
    }
    std::filesystem::copy_file(fixture / "sarge.bot", layout / "scripts" / "sarge.bot");
    for (const std::filesystem::path& file :
         {fixture / "sarge_c.c", layout / "botfiles" / "bots" / "sarge_c.c"}) {
        m_window->CreateZeroBot();
        m_window->OpenAtStart(file);
        EXPECT_TRUE(m_messages.Received().empty()) << file;
        EXPECT_EQ(m_window->findChild<QLineEdit*>(QStringLiteral("txtBotPara_0"))->text(),
                  QStringLiteral("Sarge"));
        EXPECT_EQ(ThisBotSkin(), "Krusade") << file; // from the script
        EXPECT_FALSE(m_window->Editor().IsChanged());
    }
}

} // namespace
} // namespace twl
