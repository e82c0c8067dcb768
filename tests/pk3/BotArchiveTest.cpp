#include "pk3/BotArchive.h"

#include "pk3/ZipArchive.h"
#include "session/BotFileSet.h"
#include "session/Presets.h"
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
        ZipError error;
        auto reader = ZipReader::Open(m_folder / "bot-Johnny.pk3", error);
        EXPECT_TRUE(reader) << error.Description;
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
    ZipError error;
    auto reader = ZipReader::Open(m_folder / "bot-Johnny.pk3", error);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->ReadEntry(4, 100000, error),
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
    ZipError error;
    auto reader = ZipReader::Open(m_folder / "bot-Johnny.pk3", error);
    ASSERT_TRUE(reader);
    EXPECT_NE(reader->ReadEntry(0, 100000, error)->find("second version"), std::string::npos);
    EXPECT_EQ(m_settings.BotsMade.ToNumber(), 2.0);
}

TEST_F(BotArchiveTest, WithoutTheLayoutItPacksFromTheFolderItself)
{
    ASSERT_TRUE(Save(false));
    EXPECT_TRUE(std::filesystem::exists(m_folder / "johnny_c.c"));
    EXPECT_EQ(ArchiveNames().size(), 5u);
    EXPECT_EQ(ArchiveNames()[4], "scripts/johnny.bot");
}

TEST_F(BotArchiveTest, AFailureKeepsTheOldArchiveAndSaysNoSuccess)
{
    ASSERT_TRUE(Save());
    std::string before = test::ReadBytes(m_folder / "bot-Johnny.pk3");
    m_messages.Clear();
    std::filesystem::remove(m_folder / "botfiles" / "bots" / "johnny_t.c");
    EXPECT_FALSE(WriteBotArchive(
        m_folder.Path(), m_bot, m_folder / "botfiles" / "bots", m_folder / "scripts", m_messages));
    EXPECT_EQ(test::ReadBytes(m_folder / "bot-Johnny.pk3"), before);
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].MessageKind, ScriptedMessages::Kind::Note);
    EXPECT_EQ(m_messages.Received()[0].Text,
              "11 Form1::cmdZip_Click Can't open file: " +
                  (m_folder / "botfiles" / "bots" / "johnny_t.c").string());
}

} // namespace
} // namespace twl
