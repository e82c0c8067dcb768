// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include "cli/StderrMessages.h"
#include "core/Settings.h"
#include "pk3/Games.h"
#include "support/ParamNames.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace twl {
namespace {

TEST(Cli, HelpListsTheCommandsAndSucceeds)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"--help"}, out, err), ExitSuccess);
    EXPECT_NE(out.str().find("tarnwell-cli new ["), std::string::npos);
    EXPECT_NE(out.str().find("tarnwell-cli copy ["), std::string::npos);
    EXPECT_TRUE(err.str().empty());
}

TEST(Cli, UsageErrorsExitWithTwo)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli({}, out, err), ExitUsage);
    EXPECT_EQ(RunCli({"frobnicate"}, out, err), ExitUsage);
    EXPECT_NE(err.str().find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

TEST(Cli, VersionIsTheProgramsVersion)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"--version"}, out, err), ExitSuccess);
    EXPECT_EQ(out.str(), "tarnwell-cli 0.9.7\n");
}

// The program's main prints the fixed answers itself: they must be what
// RunCli prints, and only for the command lines RunCli answers so.
struct FixedAnswerCase
{
    std::vector<std::string> Arguments;
    bool Fixed;
};

class FixedAnswerTest : public ::testing::TestWithParam<FixedAnswerCase>
{};

TEST_P(FixedAnswerTest, IsWhatRunCliPrints)
{
    const FixedAnswerCase& c = GetParam();
    std::optional<std::string> answer = FixedAnswer(c.Arguments);
    ASSERT_EQ(answer.has_value(), c.Fixed);
    if (c.Fixed) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCli(c.Arguments, out, err), ExitSuccess);
        EXPECT_EQ(out.str(), *answer);
        EXPECT_TRUE(err.str().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cli,
                         FixedAnswerTest,
                         ::testing::Values(FixedAnswerCase{{"--version"}, true},
                                           FixedAnswerCase{{"--help"}, true},
                                           FixedAnswerCase{{"-h"}, true},
                                           FixedAnswerCase{{"help"}, true},
                                           FixedAnswerCase{{}, false},
                                           FixedAnswerCase{{"new"}, false},
                                           FixedAnswerCase{{"scan", "--version"}, false},
                                           FixedAnswerCase{{"frobnicate"}, false}),
                         [](const ::testing::TestParamInfo<FixedAnswerCase>& param) {
                             std::string line;
                             for (const std::string& argument : param.param.Arguments) {
                                 line += argument + " ";
                             }
                             return test::ReadableName(line, param.index);
                         });

TEST(StderrMessages, OneLinePerMessageAndQuestionsAnswerNo)
{
    std::ostringstream err;
    TextOut errText(err);
    StderrMessages messages(errText);
    messages.Warn("two\nlines", "Load error");
    EXPECT_FALSE(messages.Ask("Sure?", "Question"));
    EXPECT_FALSE(messages.AskText("Name?", "Input"));
    messages.Note("done");
    EXPECT_EQ(err.str(),
              "Load error: two lines\nQuestion: Sure? (answered No)\nInput: Name? (cancelled)\n"
              "done\n");
}

// The program's own output: what a pipe has received after each step.
TEST(TextOut, GoesOutWhenBufferedLinesAndTiesSay)
{
    auto received = [](int pipe) {
        std::string text(1 << 18, '\0');
        ssize_t got = ::read(pipe, text.data(), text.size());
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return text;
    };
    int out[2];
    int err[2];
    for (int* ends : {out, err}) {
        ASSERT_EQ(::pipe(ends), 0);
        ASSERT_EQ(::fcntl(ends[0], F_SETFL, O_NONBLOCK), 0) << "reading never waits";
        ASSERT_GE(::fcntl(ends[1], F_SETPIPE_SZ, 1 << 18), 1 << 18) << "room for the large piece";
    }
    {
        TextOut outText(out[1], TextOut::Buffering::Full);
        TextOut errText(err[1], TextOut::Buffering::Immediate);
        errText.Tie(outText);
        outText << "found " << std::size_t{3} << ' ' << -12 << " skins\n";
        EXPECT_EQ(received(out[0]), "") << "a pipe is no terminal: kept";
        errText << "Warning: ";
        EXPECT_EQ(received(err[0]), "") << "half a line is kept";
        errText << "text\n";
        EXPECT_EQ(received(out[0]), "found 3 -12 skins\n") << "standard output first";
        EXPECT_EQ(received(err[0]), "Warning: text\n");
        std::string large(100 * 1024, 'x');
        outText << large;
        EXPECT_EQ(received(out[0]).size(), large.size()) << "a large piece goes out at once";
        outText << "end";
    }
    EXPECT_EQ(received(out[0]), "end") << "the rest at the end";
    for (int descriptor : {out[0], out[1], err[0], err[1]}) {
        ::close(descriptor);
    }
    int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    TextOut fullText(full, TextOut::Buffering::Full);
    fullText << "lost";
    EXPECT_FALSE(fullText.Flush());
    EXPECT_EQ(fullText.ErrorNumber(), ENOSPC);
    ::close(full);
}

} // namespace
} // namespace twl

namespace twl {
namespace {

struct CliRun
{
    int Status;
    std::string Out;
    std::string Err;
};

CliRun RunTool(const std::vector<std::string>& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    int status = RunCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliNewAndCopy, CopyOfANewBotIsTheSameFiles)
{
    test::TempFolder folder;
    std::string settings = (folder / "settings").string();
    std::string out = (folder / "out").string();
    std::string out2 = (folder / "out2").string();
    ASSERT_EQ(RunTool({"new", "--preset", "average", "--name", "Bot", "--settings", settings, out})
                  .Status,
              ExitSuccess);
    for (const char* file : {"bot_c.c", "bot_w.c", "bot_i.c", "bot_t.c", "bot.bot"}) {
        EXPECT_EQ(test::ReadBytes(std::filesystem::path(out) / file),
                  test::ReadBytes(test::FixturePath("average-bot/expected") / file))
            << file;
    }
    CliRun copy = RunTool({"copy", "--settings", settings, out, "bot", out2});
    ASSERT_EQ(copy.Status, ExitSuccess) << copy.Err;
    EXPECT_EQ(copy.Err, "");
    for (const char* file : {"bot_c.c", "bot_w.c", "bot_i.c", "bot_t.c", "bot.bot"}) {
        EXPECT_EQ(test::ReadBytes(std::filesystem::path(out2) / file),
                  test::ReadBytes(std::filesystem::path(out) / file))
            << file;
    }
}

TEST(CliNewAndCopy, AuthorComesFromTheSettings)
{
    test::TempFolder folder;
    Settings settings;
    settings.Text(Settings::UserName) = "Vantry";
    ASSERT_TRUE(SaveIniFile(folder.Path(), settings).Ok());
    ASSERT_EQ(
        RunTool(
            {"new", "--structure", "--settings", folder.Path().string(), (folder / "out").string()})
            .Status,
        ExitSuccess);
    std::string script = test::ReadBytes(folder / "out" / "scripts" / "bot.bot");
    EXPECT_NE(script.find("//\tBy: Vantry\r\n"), std::string::npos);
}

TEST(CliNewAndCopy, BadNamesAreRefused)
{
    test::TempFolder folder;
    std::string settings = (folder / "settings").string();
    CliRun run =
        RunTool({"new", "--name", "../evil", "--settings", settings, (folder / "out").string()});
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_EQ(
        run.Err,
        "Name error!: Bot name can't contain any of / \\ : * ? \" < > | ; because the game could "
        "not find the bot's files or would cut its script short.\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "out"));
    run = RunTool({"new", "--name", "Big Bad", "--settings", settings, (folder / "out").string()});
    EXPECT_EQ(
        run.Err,
        "Space error!: Bot name can't have any spaces. Use funname if you want to use spaces.\n");
    run = RunTool({"new", "--name", "", "--settings", settings, (folder / "out").string()});
    EXPECT_EQ(run.Err, "Selfawareness error!: Bot must have a name!\n");
}

TEST(CliNewAndCopy, CopyKeepsAFunNameWithABlankAsOneValue)
{
    test::TempFolder folder;
    std::string settings = (folder / "settings").string();
    CliRun run = RunTool({"copy",
                          "--script",
                          "--settings",
                          settings,
                          test::FixturePath("handwritten/input").string(),
                          "sarge",
                          (folder / "out").string()});
    ASSERT_EQ(run.Status, ExitSuccess) << run.Err;
    std::string script = test::ReadBytes(folder / "out" / "sarge.bot");
    EXPECT_NE(script.find("funname\t\"^1Sarge color\"\r\n"), std::string::npos) << script;
    EXPECT_NE(script.find("model\t\tsarge/krusade\r\n"), std::string::npos);
}

TEST(CliNewAndCopy, CopyOfAMissingBotFails)
{
    test::TempFolder folder;
    CliRun run = RunTool({"copy",
                          "--settings",
                          (folder / "s").string(),
                          folder.Path().string(),
                          "ghost",
                          (folder / "o").string()});
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_NE(run.Err.find("Error during load: Unable to find characteristics file for ghost.\n"),
              std::string::npos);
}

// A game folder whose archives hold a bot made by tarnwell-cli itself.
class CliGameFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_game / "baseq3");
        ASSERT_EQ(RunTool({"new",
                           "--preset",
                           "average",
                           "--name",
                           "Johnny",
                           "--pk3",
                           "--settings",
                           Settings(),
                           Made()})
                      .Status,
                  ExitSuccess);
        std::filesystem::copy_file(m_folder / "made" / "bot-Johnny.pk3",
                                   m_game / "baseq3" / "bot-Johnny.pk3");
    }

    std::string Settings() const { return (m_folder / "settings").string(); }

    std::string Made() const { return (m_folder / "made").string(); }

    test::TempFolder m_folder;
    test::TempFolder m_game;
};

TEST_F(CliGameFolder, ScanListsTheBotsAndKeepsTheLists)
{
    CliRun scan = RunTool({"scan", "--settings", Settings(), m_game.Path().string()});
    ASSERT_EQ(scan.Status, ExitSuccess) << scan.Err;
    EXPECT_NE(scan.Out.find("Bot            Pk3-file            Botfile\n"), std::string::npos)
        << scan.Out;
    EXPECT_NE(scan.Out.find("Johnny         bot-Johnny.pk3      Yes\n"), std::string::npos)
        << scan.Out;
    EXPECT_NE(scan.Out.find("Bitterman      pak0.pk3            -D-\n"), std::string::npos);
    EXPECT_NE(scan.Out.find("Sarge\n    Default (pak0.pk3)\n"), std::string::npos);
    EXPECT_NE(test::ReadBytes(m_folder / "settings" / "twl_bots")
                  .find("\"Johnny\",\"bot-Johnny.pk3\",#TRUE#"),
              std::string::npos);
}

TEST_F(CliGameFolder, ExtractWritesTheBotsFilesAgain)
{
    ASSERT_EQ(RunTool({"scan", "--settings", Settings(), m_game.Path().string()}).Status,
              ExitSuccess);
    std::string out = (m_folder / "out").string();
    CliRun extract = RunTool({"extract",
                              "--structure",
                              "--settings",
                              Settings(),
                              m_game.Path().string(),
                              "johnny",
                              out});
    ASSERT_EQ(extract.Status, ExitSuccess) << extract.Err;
    for (const char* file : {"botfiles/bots/johnny_c.c",
                             "botfiles/bots/johnny_w.c",
                             "botfiles/bots/johnny_i.c",
                             "botfiles/bots/johnny_t.c",
                             "scripts/johnny.bot"}) {
        EXPECT_EQ(test::ReadBytes(std::filesystem::path(out) / file),
                  test::ReadBytes(m_folder / "made" / file))
            << file;
    }
}

TEST_F(CliGameFolder, ExtractOfABotNotListedFails)
{
    CliRun extract = RunTool({"extract",
                              "--settings",
                              Settings(),
                              m_game.Path().string(),
                              "johnny",
                              (m_folder / "o").string()});
    EXPECT_EQ(extract.Status, ExitFailure);
    EXPECT_NE(extract.Err.find("Bot not found: Bot johnny is not in the bot list."),
              std::string::npos);
}

TEST_F(CliGameFolder, AFolderThatIsNoGameFolderIsRefused)
{
    test::TempFolder empty;
    CliRun scan = RunTool({"scan", "--settings", Settings(), empty.Path().string()});
    EXPECT_EQ(scan.Status, ExitFailure);
    EXPECT_EQ(scan.Err,
              "Tarnwell: Quake3.exe missing: Quake3.exe not found in '" + empty.Path().string() +
                  "' " + WhatAGameFolderHolds() + "\n");
}

TEST_F(CliGameFolder, MakingAnArchiveCountsIt)
{
    std::string ini = test::ReadBytes(m_folder / "settings" / "twl.ini");
    EXPECT_NE(ini.find("Bots = 1\r\n"), std::string::npos) << ini;
    EXPECT_NE(
        RunTool({"new", "--pk3", "--settings", Settings(), Made()}).Err.find("created succesfully"),
        std::string::npos);
    EXPECT_NE(test::ReadBytes(m_folder / "settings" / "twl.ini").find("Bots = 2\r\n"),
              std::string::npos);
}

TEST(CliNewAndCopy, UsageErrors)
{
    EXPECT_EQ(RunTool({"new"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"new", "--preset", "random", "x"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"new", "--bogus", "x"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"new", "--name"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"copy", "a", "b"}).Status, ExitUsage);
}

TEST(CliFaults, AFileThatCannotBeReadEndsTheCommandWithItsReason)
{
    struct Case
    {
        std::string File;
        std::string Reason;
    };

    const std::vector<Case> cases = {
        {"bot_c.c", "it is a folder, not a file"},
        {"bot_w.c", "it is not a regular file"},
        {"bot_t.c", "it is not a regular file"},
        {"bot_i.c", "a link to /dev/zero"},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        std::string settings = (folder / "settings").string();
        std::string source = (folder / "in").string();
        ASSERT_EQ(RunTool({"new", "--settings", settings, source}).Status, ExitSuccess);
        std::filesystem::remove(folder / "in" / c.File);
        if (c.File == "bot_c.c") {
            std::filesystem::create_directory(folder / "in" / c.File);
        } else if (c.File == "bot_w.c") {
            ASSERT_EQ(::mkfifo((folder / "in" / c.File).c_str(), 0600), 0);
        } else {
            // bot_t.c and bot_i.c
            std::filesystem::create_symlink("/dev/zero", folder / "in" / c.File);
        }
        // Told to follow links, the link to a device is read as what it is.
        CliRun run = RunTool({"copy",
                              "--settings",
                              settings,
                              c.File == "bot_t.c" ? "--follow-links" : "--script",
                              source,
                              "bot",
                              (folder / "out").string()});
        EXPECT_EQ(run.Status, ExitFailure) << c.File;
        std::string shown =
            c.File == "bot_i.c"
                ? "Link outside the bot's folder: " + (folder / "in" / c.File).string() + " is "
                : "Read failed!: Couldn't read " + (folder / "in" / c.File).string() + ": ";
        EXPECT_NE(run.Err.find(shown + c.Reason), std::string::npos) << run.Err;
        EXPECT_FALSE(std::filesystem::exists(folder / "out" / "bot_c.c"));
    }
}

TEST(CliFaults, ACharacteristicFileThatIsNoneIsRefusedAndNothingWritten)
{
    struct Case
    {
        const char* Name;
        std::string Bytes;
        const char* Reason; // nullptr: read
    };

    const std::vector<Case> cases = {
        {"empty", "", "it is empty"},
        {"blanks", " \r\n\t\n", "it is empty"},
        {"zip", std::string("PK\x03\x04\x14\0\0\0", 8), "it is a zip archive"},
        {"UTF-16", std::string("\xFF\xFEs\0k\0", 6), "it is UTF-16 text"},
        {"binary", std::string("skill 1\0\x01\x02", 10), "it holds NUL bytes"},
        {"no skill block", "CHARACTERISTIC_NAME \"Max\"\n", "it has no skill block"},
        {"CR line ends", "skill 1\r{\r\tCHARACTERISTIC_NAME\t\"Max\"\r}\r", nullptr},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        std::string settings = (folder / "settings").string();
        std::filesystem::path in = folder / "in";
        std::filesystem::path out = folder / "out";
        ASSERT_EQ(RunTool({"new", "--settings", settings, in.string()}).Status, ExitSuccess);
        ASSERT_EQ(
            RunTool({"new", "--preset", "average", "--settings", settings, out.string()}).Status,
            ExitSuccess);
        std::string before = test::ReadBytes(out / "bot_c.c");
        test::WriteBytes(in / "bot_c.c", c.Bytes);
        CliRun run = RunTool({"copy", "--settings", settings, in.string(), "bot", out.string()});
        if (c.Reason == nullptr) {
            EXPECT_EQ(run.Status, ExitSuccess) << c.Name << run.Err;
            EXPECT_TRUE(std::filesystem::exists(out / "max_c.c")) << c.Name;
            continue;
        }
        EXPECT_EQ(run.Status, ExitFailure) << c.Name;
        EXPECT_NE(run.Err.find("Couldn't read " + (in / "bot_c.c").string() + ": " + c.Reason),
                  std::string::npos)
            << c.Name << ": " << run.Err;
        EXPECT_EQ(test::ReadBytes(out / "bot_c.c"), before) << c.Name;
    }
}

TEST(CliFaults, ALinkOutsideTheBotsFolderIsReadOnlyWhenAskedFor)
{
    struct Case
    {
        const char* Name;
        bool Outside;
        bool Follow;
        bool Copied;
    };

    const std::vector<Case> cases = {
        {"a link inside the folder is read", false, false, true},
        {"a link outside is refused", true, false, false},
        {"--follow-links reads it", true, true, true},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        std::string settings = (folder / "settings").string();
        std::filesystem::path in = folder / "in";
        ASSERT_EQ(RunTool({"new", "--settings", settings, in.string()}).Status, ExitSuccess);
        std::filesystem::path target = c.Outside ? folder / "secret" : in / "other_w.c";
        std::filesystem::rename(in / "bot_w.c", target);
        std::filesystem::create_symlink(target, in / "bot_w.c");
        std::vector<std::string> arguments = {"copy", "--settings", settings};
        if (c.Follow) {
            arguments.push_back("--follow-links");
        }
        std::filesystem::path out = folder / "out";
        arguments.insert(arguments.end(), {in.string(), "bot", out.string()});
        CliRun run = RunTool(arguments);
        EXPECT_EQ(run.Status, c.Copied ? ExitSuccess : ExitFailure) << c.Name << run.Err;
        EXPECT_EQ(run.Err.find("is a link to " + target.string()) != std::string::npos, c.Outside)
            << c.Name << run.Err;
        EXPECT_EQ(std::filesystem::exists(out / "bot_w.c"), c.Copied) << c.Name;
        if (c.Copied) {
            EXPECT_FALSE(std::filesystem::is_symlink(out / "bot_w.c")) << c.Name;
            EXPECT_EQ(test::ReadBytes(out / "bot_w.c"), test::ReadBytes(target)) << c.Name;
        }
    }
}

TEST(CliFaults, ADamagedSettingsFileIsNamed)
{
    test::TempFolder folder;
    std::filesystem::create_directories(folder / "settings");
    test::WriteBytes(folder / "settings" / "twl.ini", "[Tarnwell settings]\r\nQ3Baseq3\r\n");
    CliRun run =
        RunTool({"new", "--settings", (folder / "settings").string(), (folder / "out").string()});
    EXPECT_NE(run.Err.find("Load error: " + (folder / "settings" / "twl.ini").string() +
                           ": line 2: no \"Key = value\""),
              std::string::npos)
        << run.Err;
}

TEST(CliFaults, ScanKeepsTheGameFolderAbsolute)
{
    test::TempFolder folder;
    std::filesystem::create_directories(folder / "g1" / "baseq3");
    test::WriteBytes(folder / "g1" / "baseq3" / "pak0.pk3", "");
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    CliRun run = RunTool({"scan", "--settings", "settings", "g1/"});
    std::filesystem::current_path(before);
    EXPECT_EQ(run.Status, ExitSuccess) << run.Err;
    std::string ini = test::ReadBytes(folder / "settings" / "twl.ini");
    EXPECT_NE(ini.find("Q3Baseq3 = " + (std::filesystem::canonical(folder.Path()) / "g1").string() +
                       "\r\n"),
              std::string::npos)
        << ini;
}

} // namespace
} // namespace twl
