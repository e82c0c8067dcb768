// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands of the editor without its window: what a load, a save
// and a file named at start do to the bot, its history and the messages.
#include "editing/FileCommands.h"

#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using Kind = ScriptedMessages::Kind;

class FileCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_editor.Start();
        m_editor.SetFilling(false);
        ASSERT_TRUE(m_editor.CreateAverageBot());
        m_editor.Edit("Name",
                      [](Bot& bot) { bot.SetBotPara(Para::Name, Value(std::string("Quill"))); });
        m_messages.Clear();
    }

    // The bot's files made into `folder` (flat, no archive), then a new bot.
    Bot MadeInto(const std::filesystem::path& folder)
    {
        Bot made = m_editor.ThisBot();
        CommandOutcome outcome =
            LoadOrMakeBotFiles(m_editor, folder, "", LoadType::MakeBotFiles, false, false);
        EXPECT_EQ(outcome.Status, "Made the files of Quill in " + folder.string());
        EXPECT_FALSE(m_editor.IsChanged());
        EXPECT_TRUE(m_editor.CreateZeroBot());
        return made;
    }

    // The bytes of the five files the bot would be written as.
    std::vector<std::string> FilesOf(const Bot& bot)
    {
        Result<MadeBotFiles> made =
            BotFilesInMemory(bot, m_editor.CurrentCatalogues(), m_editor.CurrentSettings());
        std::vector<std::string> files;
        for (const MadeBotFile& file : made.Value()) {
            files.push_back(file.FileName + "\n" + file.Bytes);
        }
        return files;
    }

    test::TempFolder m_settings;
    test::TempFolder m_folder;
    ScriptedMessages m_messages;
    BotEditor m_editor{m_settings.Path(), m_messages, std::mt19937(5)};
};

TEST_F(FileCommands, MadeFilesComeBackAsTheSameBotAndAreOneUndoStep)
{
    Bot made = MadeInto(m_folder.Path());
    Bot zero = m_editor.ThisBot();

    CommandOutcome loaded =
        LoadOrMakeBotFiles(m_editor, m_folder.Path(), "quill", LoadType::WholeBot, false, false);
    EXPECT_TRUE(loaded.ShowBot);
    EXPECT_EQ(loaded.Status, "Loaded the bot quill from " + m_folder.Path().string());
    EXPECT_EQ(FilesOf(m_editor.ThisBot()), FilesOf(made)) << "the same files once written again";
    EXPECT_FALSE(m_editor.IsChanged()) << "a loaded bot is a fresh bot";
    EXPECT_EQ(m_editor.UndoName(), "Load bot");

    m_editor.Undo();
    EXPECT_EQ(m_editor.ThisBot(), zero);

    // One file of a bot goes into the bot shown, which is then changed.
    CommandOutcome chat = LoadOrMakeBotFiles(
        m_editor, m_folder.Path(), "quill_t.c", LoadType::ChatFile, false, false);
    EXPECT_EQ(chat.Status, "Loaded quill_t.c from " + m_folder.Path().string());
    EXPECT_TRUE(m_editor.IsChanged());
    for (int group = 0; group < ChatGroupCount; ++group) {
        ASSERT_EQ(m_editor.ThisBot().ChatGroupUBound(group), made.ChatGroupUBound(group));
        for (int line = 0; line <= made.ChatGroupUBound(group); ++line) {
            EXPECT_EQ(m_editor.ThisBot().BotChat(group, line), made.BotChat(group, line));
        }
    }
    EXPECT_EQ(m_editor.UndoName(), "Load file");
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(FileCommands, AFileNamedAtStartIsLoadedOnlyWhenItIsABot)
{
    MadeInto(m_folder.Path());
    const std::filesystem::path& f = m_folder.Path();
    ASSERT_TRUE(m_editor.CreateAverageBot());
    m_editor.Edit("Name", [](Bot& bot) { bot.SetBotPara(Para::Name, Value(std::string("Pip"))); });
    LoadOrMakeBotFiles(m_editor, f, "", LoadType::MakeBotFiles, false, true);
    test::WriteBytes(f / "notes.txt", "CHARACTERISTIC_NAME \"x\"\r\n");
    test::WriteBytes(f / "empty.pk3", test::MakeStoredZip({{"readme.txt", "hi"}}));
    test::WriteBytes(f / "empty_c.c", "// nothing here\r\n");

    const struct
    {
        const char* File;
        const char* Loads; // the bot's name, or nothing
        std::string Says;  // the start of the warning otherwise
    } cases[] = {
        {"quill_c.c", "Quill", ""},
        {"bot-Pip.pk3", "Pip", ""},
        {"notes.txt", nullptr, "'" + (f / "notes.txt").string() + "' is not a bot's"},
        {"empty_c.c", nullptr, "'" + (f / "empty_c.c").string() + "' is not a bot's"},
        {"gone_c.c", nullptr, "Couldn't read " + (f / "gone_c.c").string() + ": "},
        {"empty.pk3", nullptr, "'" + (f / "empty.pk3").string() + "' holds no bot"},
    };

    for (const auto& c : cases) {
        ASSERT_TRUE(m_editor.CreateZeroBot());
        m_messages.Clear();
        CommandOutcome outcome = LoadBotNamedAtStart(m_editor, f / c.File);
        EXPECT_EQ(outcome.ShowBot, c.Loads != nullptr) << c.File;
        EXPECT_EQ(m_editor.ThisBot().BotPara(Para::Name).ToText(), c.Loads ? c.Loads : "Bot")
            << c.File;
        EXPECT_FALSE(m_editor.IsChanged()) << c.File;
        if (c.Loads) {
            EXPECT_TRUE(m_messages.Received().empty()) << c.File;
            continue;
        }
        ASSERT_EQ(m_messages.Received().size(), 1u) << c.File;
        EXPECT_EQ(m_messages.Received()[0].Title, "Can't open file") << c.File;
        EXPECT_EQ(m_messages.Received()[0].Text.substr(0, c.Says.size()), c.Says) << c.File;
    }
}

TEST_F(FileCommands, TheDialogOpensWhereItLastWasAndAsksBeforeLosingChanges)
{
    OpenSaveRequest make = OpenSaveRequestFor(m_editor, LoadType::MakeBotFiles);
    EXPECT_EQ(make.Caption, "Make botfiles for Quill");
    EXPECT_EQ(make.Folder, m_editor.CurrentSettings().Text(Settings::WorkDir));
    EXPECT_TRUE(make.BotLines.empty());

    LoadOrMakeBotFiles(m_editor, m_folder.Path(), "", LoadType::MakeBotFiles, false, false);
    OpenSaveRequest load = OpenSaveRequestFor(m_editor, LoadType::WholeBot);
    EXPECT_EQ(load.Folder, m_folder.Path());
    EXPECT_TRUE(load.Caption.empty());

    EXPECT_TRUE(MayLoadBot(m_editor)) << "saved: nothing to ask";
    m_editor.SetGender(2);
    for (bool yes : {false, true}) {
        m_messages.ExpectQuestion(yes);
        EXPECT_EQ(MayLoadBot(m_editor), yes);
    }
    EXPECT_EQ(m_messages.Received().size(), 2u);
    EXPECT_EQ(m_messages.Received()[0].MessageKind, Kind::Ask);
}

TEST_F(FileCommands, TheOptionsComeBackAsTheyWereSetAndTheGameFolderIsKeptAbsolute)
{
    std::array<std::string, 7> before = OptionValues(m_editor);
    std::array<std::string, 6> same;
    std::copy(before.begin(), before.begin() + 6, same.begin());
    EXPECT_FALSE(SaveOptionValues(m_editor, same)) << "no new game folder";
    EXPECT_EQ(OptionValues(m_editor), before);

    ModelSelection selection;
    EXPECT_FALSE(
        RunGameFolderCheck(m_editor, selection, [](std::size_t, std::size_t) { return true; }));
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Can't check folder");
}

} // namespace
} // namespace twl
