#include "cli/Cli.h"

#include "cli/StderrMessages.h"
#include "core/Settings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

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
    EXPECT_EQ(out.str(), "0.9.7\n");
}

TEST(StderrMessages, OneLinePerMessageAndQuestionsAnswerNo)
{
    std::ostringstream err;
    StderrMessages messages(err);
    messages.Warn("two\nlines", "Load error");
    EXPECT_FALSE(messages.Ask("Sure?", "Question"));
    EXPECT_FALSE(messages.AskText("Name?", "Input"));
    messages.Note("done");
    EXPECT_EQ(err.str(),
              "Load error: two lines\nQuestion: Sure? (answered No)\nInput: Name? (cancelled)\n"
              "done\n");
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
    ASSERT_TRUE(SaveIniFile(folder.Path(), settings).Ok);
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
        "Name error!: Bot name can't contain any of / \\ : * ? \" < > | or control characters.\n");
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

TEST(CliNewAndCopy, UsageErrors)
{
    EXPECT_EQ(RunTool({"new"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"new", "--preset", "random", "x"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"new", "--bogus", "x"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"new", "--name"}).Status, ExitUsage);
    EXPECT_EQ(RunTool({"copy", "a", "b"}).Status, ExitUsage);
}

} // namespace
} // namespace twl
