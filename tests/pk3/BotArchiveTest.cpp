// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/BotArchive.h"

#include "pk3/ZipArchive.h"
#include "services/BotFileSet.h"
#include "services/Presets.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/TestCatalogues.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

class BotArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ApplyZeroPreset(m_bot);
        m_bot.SetBotPara(Para::Name, Value("Johnny"));
    }

    bool Save(bool dirStruct = true)
    {
        return SaveBotFileSet(m_bot,
                              m_folder.Path(),
                              dirStruct,
                              true,
                              test::FreshCatalogues(),
                              m_settings,
                              m_messages);
    }

    std::vector<std::string> ArchiveNames()
    {
        auto reader = ZipReader::Open(m_folder / "bot-Johnny.pk3").ValueOr(nullptr);
        EXPECT_TRUE(reader);
        return reader ? reader->EntryNames() : std::vector<std::string>();
    }

    TempFolder m_folder;
    Bot m_bot;
    Settings m_settings;
    ScriptedMessages m_messages;
};

TEST_F(BotArchiveTest, HoldsTheFiveFilesUnderTheGamesPaths)
{
    m_settings.BotsMade = Value(12.0);
    ASSERT_TRUE(Save());
    EXPECT_EQ(ArchiveNames(),
              (std::vector<std::string>{"botfiles/bots/johnny_c.c",
                                        "botfiles/bots/johnny_w.c",
                                        "botfiles/bots/johnny_i.c",
                                        "botfiles/bots/johnny_t.c",
                                        "scripts/johnny.bot"}));
    auto reader = ZipReader::Open(m_folder / "bot-Johnny.pk3").ValueOr(nullptr);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->ReadEntry(4, 100000).ValueOr("(unread)"),
              test::ReadBytes(m_folder / "scripts" / "johnny.bot"));
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Note,
                                         "",
                                         (m_folder / "bot-Johnny.pk3").string() +
                                             " created succesfully"}));
    EXPECT_EQ(m_settings.BotsMade.ToNumber(), 13.0);
    std::string bytes = test::ReadBytes(m_folder / "bot-Johnny.pk3");
    EXPECT_EQ(bytes.find("PK\x06\x06"), std::string::npos) << "no zip64 records";
}

TEST_F(BotArchiveTest, MakingItAgainReplacesTheOldArchive)
{
    ASSERT_TRUE(Save());
    m_bot.SetBotPara(Para::Comment, Value("second version"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(ArchiveNames().size(), 5u) << "the new archive has no old entries besides";
    auto reader = ZipReader::Open(m_folder / "bot-Johnny.pk3").ValueOr(nullptr);
    ASSERT_TRUE(reader);
    EXPECT_NE(reader->ReadEntry(0, 100000)->find("second version"), std::string::npos);
    EXPECT_EQ(m_settings.BotsMade.ToNumber(), 2.0);
}

TEST_F(BotArchiveTest, WithoutTheLayoutItPacksFromTheFolderItself)
{
    ASSERT_TRUE(Save(false));
    EXPECT_TRUE(std::filesystem::exists(m_folder / "johnny_c.c"));
    EXPECT_EQ(ArchiveNames().size(), 5u);
    EXPECT_EQ(ArchiveNames()[4], "scripts/johnny.bot");
}

TEST_F(BotArchiveTest, AFailureKeepsTheOldArchiveAndFilesAndSaysNoSuccess)
{
    ASSERT_TRUE(Save());
    std::string archive = test::ReadBytes(m_folder / "bot-Johnny.pk3");
    std::string chars = test::ReadBytes(m_folder / "botfiles" / "bots" / "johnny_c.c");
    m_messages.Clear();
    // A folder where the script goes: the set cannot be written.
    std::filesystem::remove(m_folder / "scripts" / "johnny.bot");
    std::filesystem::create_directory(m_folder / "scripts" / "johnny.bot");
    m_bot.SetBotPara(Para::Comment, Value("second version"));
    EXPECT_FALSE(Save());
    EXPECT_EQ(test::ReadBytes(m_folder / "bot-Johnny.pk3"), archive);
    EXPECT_EQ(test::ReadBytes(m_folder / "botfiles" / "bots" / "johnny_c.c"), chars);
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].Title, "Write failed!");
    EXPECT_NE(m_messages.Received()[0].Text.find((m_folder / "scripts" / "johnny.bot").string()),
              std::string::npos);
    EXPECT_EQ(m_settings.BotsMade.ToNumber(), 1.0);
}

TEST(BotArchiveFailure, SaysTheFixedTextThenThePathAndReason)
{
    test::ScriptedMessages messages;
    ReportArchiveFailure(
        Failure{"/out/bot-X.pk3", "the archive would be too large for the game", ZipErrorInvalid},
        messages);
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0].Text,
              std::to_string(ZipErrorInvalid) +
                  " Form1::cmdZip_Click the archive would be too large for the game\n"
                  "/out/bot-X.pk3: the archive would be too large for the game");
}

} // namespace
} // namespace twl
