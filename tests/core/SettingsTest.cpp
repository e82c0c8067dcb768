// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Settings.h"

#include "core/FolderLock.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

const ScriptedMessages::Message LoadError{
    ScriptedMessages::Kind::Warn,
    "Load error",
    "Errors occured when trying to load ini file. Please check your options from Program/Options."};

Settings SampleSettings()
{
    Settings settings;
    settings.Text(Settings::Q3Baseq3) = "/games/quake3";
    settings.Text(Settings::WorkDir) = "/home/me/bots";
    settings.Text(Settings::WinZipDir) = "";
    settings.Text(Settings::UserName) = "Vantry";
    settings.Text(Settings::Email) = "vantry@example.org";
    settings.Text(Settings::Http) = "http://example.org/bots";
    settings.BotsMade = Value(12.0);
    settings.BaseQ3Checked = true;
    return settings;
}

void ExpectSameSettings(const Settings& actual, const Settings& expected)
{
    EXPECT_EQ(actual.Texts, expected.Texts);
    EXPECT_EQ(actual.BotsMade.ToNumber(), expected.BotsMade.ToNumber());
    EXPECT_EQ(actual.BaseQ3Checked, expected.BaseQ3Checked);
}

TEST(Settings, FileLayoutLineByLine)
{
    std::vector<std::string> expected = {"[Tarnwell settings]",
                                         "Q3Baseq3 = /games/quake3",
                                         "WorkDir = /home/me/bots",
                                         "WinZipDir = ",
                                         "",
                                         "UserName = Vantry",
                                         "Email = vantry@example.org",
                                         "Http = http://example.org/bots",
                                         "Bots = 12",
                                         "",
                                         "BaseQ3Check = True"};
    EXPECT_EQ(SettingsFileLines(SampleSettings()), expected);

    Settings empty;
    std::vector<std::string> lines = SettingsFileLines(empty);
    EXPECT_EQ(lines[8], "Bots = ");
    EXPECT_EQ(lines[10], "BaseQ3Check = False");
}

TEST(Settings, RoundTripThroughTheFile)
{
    TempFolder folder;
    ScriptedMessages messages;
    Settings written = SampleSettings();
    // A folder with a comma stays one setting.
    written.Text(Settings::WorkDir) = "/home/me/games,old";
    ASSERT_TRUE(SaveIniFile(folder.Path(), written).Ok());

    Settings read;
    (void)LoadIniFile(folder.Path(), read, messages);
    EXPECT_TRUE(messages.Received().empty());
    ExpectSameSettings(read, written);
    EXPECT_EQ(test::ReadBytes(folder / "twl.ini").substr(0, 21), "[Tarnwell settings]\r\n");
}

TEST(Settings, MissingFileChangesNothingAndSaysNothing)
{
    TempFolder folder;
    ScriptedMessages messages;
    Settings settings = SampleSettings();
    (void)LoadIniFile(folder.Path(), settings, messages);
    EXPECT_TRUE(messages.Received().empty());
    ExpectSameSettings(settings, SampleSettings());
}

TEST(Settings, ShortFileKeepsWhatWasReadAndReportsOnce)
{
    TempFolder folder;
    test::WriteBytes(folder / "twl.ini",
                     "[Tarnwell settings]\r\nQ3Baseq3 = /q3\r\nWorkDir = /w\r\nWinZipDir = /z\r\n");
    ScriptedMessages messages;
    Settings settings;
    settings.Text(Settings::UserName) = "kept";
    (void)LoadIniFile(folder.Path(), settings, messages);
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0], LoadError);
    EXPECT_EQ(settings.Text(Settings::Q3Baseq3), "/q3");
    EXPECT_EQ(settings.Text(Settings::WorkDir), "/w");
    EXPECT_EQ(settings.Text(Settings::WinZipDir), "/z");
    EXPECT_EQ(settings.Text(Settings::UserName), "kept");
}

TEST(Settings, CounterThatIsNotANumberIsAnError)
{
    std::vector<std::string> lines = SettingsFileLines(SampleSettings());
    lines[8] = "Bots = many";
    Settings settings;
    EXPECT_FALSE(ReadSettingsLines(lines, settings));
    EXPECT_EQ(settings.Text(Settings::Http), "http://example.org/bots");
    EXPECT_FALSE(settings.BaseQ3Checked);
}

TEST(Settings, CheckFlagThatIsNotABooleanIsAnError)
{
    std::vector<std::string> lines = SettingsFileLines(SampleSettings());
    lines[10] = "BaseQ3Check = maybe";
    Settings settings;
    EXPECT_FALSE(ReadSettingsLines(lines, settings));
    EXPECT_EQ(settings.BotsMade.ToNumber(), 12.0);
}

TEST(Settings, KeysAreNotChecked)
{
    std::vector<std::string> lines = {"[Other]",
                                      "Q3Folder = /q3",
                                      "WorkDi_ = /w",
                                      "WinZipDi_ = ",
                                      "",
                                      "UserNam_ = me",
                                      "Emai_ = a@b",
                                      "Htt_ = h",
                                      "Bot_ = 3",
                                      "",
                                      "BaseQ3Chec_ = False"};
    Settings settings;
    ASSERT_TRUE(ReadSettingsLines(lines, settings));
    EXPECT_EQ(settings.Text(Settings::Q3Baseq3), "/q3");
    EXPECT_EQ(settings.Text(Settings::UserName), "me");
    EXPECT_EQ(settings.BotsMade.ToNumber(), 3.0);
}

TEST(Settings, CounterIsANumberAndLfFilesRead)
{
    TempFolder folder;
    test::WriteBytes(folder / "twl.ini",
                     "[Tarnwell settings]\nQ3Baseq3 = \nWorkDir = \nWinZipDir = \n\nUserName = \n"
                     "Email = \nHttp = \nBots = 12\n\nBaseQ3Check = False");
    ScriptedMessages messages;
    Settings settings;
    (void)LoadIniFile(folder.Path(), settings, messages);
    EXPECT_TRUE(messages.Received().empty());
    ASSERT_TRUE(settings.BotsMade.IsNumber());
    settings.BotsMade = Value(*settings.BotsMade.ToNumber() + 1);
    EXPECT_EQ(SettingsFileLines(settings)[8], "Bots = 13");
}

TEST(Settings, WriteFailureIsReportedWithPathAndReason)
{
    TempFolder folder;
    std::filesystem::path missing = folder / "no-such-folder";
    Result<> result = SaveIniFile(missing, SampleSettings());
    ASSERT_FALSE(result.Ok());
    ScriptedMessages messages;
    EXPECT_FALSE(ReportWriteFailure(result, messages));
    ASSERT_EQ(messages.Received().size(), 1u);
    EXPECT_EQ(messages.Received()[0],
              (ScriptedMessages::Message{ScriptedMessages::Kind::Warn,
                                         "Write failed!",
                                         "Couldn't write " + (missing / "twl.ini").string() +
                                             ": No such file or directory"}));
}

} // namespace
} // namespace twl

namespace twl {
namespace {

TEST(SettingsByKey, EachLineIsReadByItsKey)
{
    struct Case
    {
        std::vector<std::string> Lines;
        bool Ok;
        std::string UserName;
        std::string Damage;
    };

    const std::vector<Case> cases = {
        // Hand-edited: no blanks around "=", keys in another order and case.
        {{"[Tarnwell settings]",
          "username=J\xC3\xB6rg",
          "Q3Baseq3=/q3",
          "WorkDir =",
          "WinZipDir=",
          "Email= ",
          "HTTP = h",
          "Bots=2",
          "BaseQ3Check=false"},
         true,
         "J\xC3\xB6rg",
         ""},
        {{"[Tarnwell settings]", "Q3Baseq3 = /q3", "this line is no setting"},
         false,
         "",
         "line 3: no \"Key = value\""},
        {{"Q3Baseq3 = /q3", "WorkDir = /w"}, false, "", "line 3: WinZipDir is missing"},
        {{"Q3Baseq3 = /q3",
          "WorkDir = /w",
          "WinZipDir =",
          "UserName = u",
          "Email =",
          "Http =",
          "Bots = lots",
          "BaseQ3Check = True"},
         false,
         "u",
         "line 7: \"lots\" is no value of Bots"},
    };
    for (const Case& c : cases) {
        Settings settings;
        std::optional<std::string> damage = ReadSettingsLinesExplained(c.Lines, settings);
        EXPECT_EQ(!damage, c.Ok) << c.Lines[1];
        EXPECT_EQ(damage.value_or(""), c.Damage);
        EXPECT_EQ(settings.Text(Settings::UserName), c.UserName);
    }
}

TEST(SettingsByKey, AFileThatCannotBeReadIsNeverOverwritten)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    TempFolder folder;
    test::WriteBytes(folder / "twl.ini", "[Tarnwell settings]\r\nUserName = mine\r\n");
    std::filesystem::permissions(folder / "twl.ini", std::filesystem::perms::none);
    ScriptedMessages messages;
    Settings settings;
    EXPECT_FALSE(LoadIniFile(folder.Path(), settings, messages).Ok());
    EXPECT_EQ(messages.Received().size(), 1u);
    EXPECT_FALSE(SaveIniFile(folder.Path(), settings).Ok());
    std::filesystem::permissions(folder / "twl.ini", std::filesystem::perms::owner_all);
    EXPECT_EQ(test::ReadBytes(folder / "twl.ini"), "[Tarnwell settings]\r\nUserName = mine\r\n");
}

TEST(SettingsByKey, AFolderInPlaceOfTheFileIsReportedAndKept)
{
    TempFolder folder;
    std::filesystem::create_directory(folder / "twl.ini");
    ScriptedMessages messages;
    Settings settings;
    Result<> read = LoadIniFile(folder.Path(), settings, messages);
    EXPECT_EQ(read.Error().Reason, "it is a folder, not a file");
    EXPECT_TRUE(settings.KeepFileAsItIs);
    EXPECT_FALSE(SaveIniFile(folder.Path(), settings).Ok());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "twl.ini"));
}

TEST(SettingsByKey, TwoProgramsCountTheirBotsWithoutLosingAny)
{
    TempFolder folder;
    ASSERT_TRUE(SaveIniFile(folder.Path(), SampleSettings()).Ok());
    ScriptedMessages messages;
    Settings first;
    Settings second;
    (void)LoadIniFile(folder.Path(), first, messages);
    (void)LoadIniFile(folder.Path(), second, messages);
    double start = first.BotsMade.ToNumber().value_or(0.0);
    first.BotsMade = Value(start + 2.0);
    second.BotsMade = Value(start + 1.0);
    ASSERT_TRUE(SaveIniFile(folder.Path(), first).Ok());
    ASSERT_TRUE(SaveIniFile(folder.Path(), second).Ok());
    Settings read;
    (void)LoadIniFile(folder.Path(), read, messages);
    EXPECT_EQ(read.BotsMade.ToNumber(), start + 3.0);

    // While another holds the folder, a save waits, then fails and says why.
    FolderLock other(folder.Path());
    ASSERT_TRUE(other.Held());
    FolderLock waiting(folder.Path(), std::chrono::milliseconds(0));
    EXPECT_TRUE(waiting.Busy());
    EXPECT_NE(waiting.Problem().find("another copy of Tarnwell"), std::string::npos);
}

} // namespace
} // namespace twl
