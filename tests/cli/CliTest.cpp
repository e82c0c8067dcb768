#include "cli/Cli.h"

#include "cli/StderrMessages.h"

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
