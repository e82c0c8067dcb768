// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChildProcess.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace twl {
namespace {

using namespace std::chrono_literals;

struct ChildCase
{
    const char* Name;
    std::string Script; // the body of a /bin/sh script
    ChildEnd::Kind How;
    int Code;
    std::vector<std::string> FirstLines;
    std::size_t Lines;
    std::uint64_t LinesCut;
};

class RunChildTest : public testing::TestWithParam<ChildCase>
{};

TEST_P(RunChildTest, EndsAsTheChildDoesAndHandsOnItsLines)
{
    const ChildCase& test = GetParam();
    test::TempFolder folder;
    std::filesystem::path script = folder / "engine.sh";
    test::WriteBytes(script, "#!/bin/sh\n" + test.Script);
    test::WriteBytes(folder / "here.txt", "inside");
    ::chmod(script.c_str(), 0700);
    ChildRequest request;
    request.Program = script;
    request.Arguments = {"+set", "a b"};
    request.Environment = {{"TRIED", "yes"}};
    request.WorkingFolder = folder.Path();
    // Only the child that hangs meets the deadline; the others end first.
    bool hangs = test.How == ChildEnd::Kind::TimedOut;
    request.Deadline = std::chrono::steady_clock::now() + (hangs ? 1s : 60s);
    request.MaxLineBytes = 100;
    std::vector<std::string> lines;
    std::size_t count = 0;
    auto started = std::chrono::steady_clock::now();
    ChildEnd end = RunChild(request, [&](std::string_view line, ChildInput& input) {
        if (lines.size() < 4) {
            lines.emplace_back(line);
        }
        ++count;
        EXPECT_LE(line.size(), 100u);
        if (line == "ask") {
            input.SendAt(std::chrono::steady_clock::now() + 100ms, "quit\n");
        }
    });
    EXPECT_EQ(end.How, test.How);
    EXPECT_EQ(end.Code, test.Code);
    EXPECT_EQ(lines, test.FirstLines);
    EXPECT_EQ(count, test.Lines);
    EXPECT_EQ(end.LinesCut, test.LinesCut);
    if (hangs) {
        // Killed at the deadline, within a second.
        EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Children,
    RunChildTest,
    testing::Values(
        ChildCase{"ExitStatusArgumentsEnvironmentAndFolder",
                  "echo \"$1|$2|$TRIED|$(cat here.txt)\"; printf 'no end\\r\\n\\nlast'; exit 7",
                  ChildEnd::Kind::Exited,
                  7,
                  {"+set|a b|yes|inside", "no end", "", "last"},
                  4,
                  0},
        ChildCase{
            "Crash", "echo up; kill -SEGV $$", ChildEnd::Kind::Signalled, SIGSEGV, {"up"}, 1, 0},
        ChildCase{"HangKilledAtTheDeadline",
                  "echo waiting; exec sleep 30",
                  ChildEnd::Kind::TimedOut,
                  0,
                  {"waiting"},
                  1,
                  0},
        ChildCase{"AnswerOnStandardInput",
                  "echo ask; read answer; echo \"got $answer\"",
                  ChildEnd::Kind::Exited,
                  0,
                  {"ask", "got quit"},
                  2,
                  0},
        ChildCase{"TenMegabytesInLongAndShortLines",
                  "head -c 5000000 /dev/zero | tr '\\0' x; echo; yes 'a line' | head -n 700000",
                  ChildEnd::Kind::Exited,
                  0,
                  {std::string(100, 'x'), "a line", "a line", "a line"},
                  700001,
                  1}),
    [](const testing::TestParamInfo<ChildCase>& caseInfo) { return caseInfo.param.Name; });

TEST(RunChild, AProgramThatIsNotThereDoesNotStart)
{
    ChildRequest request;
    request.Program = "/nonexistent/ioq3ded";
    request.Deadline = std::chrono::steady_clock::now() + 1s;
    ChildEnd end = RunChild(request, [](std::string_view, ChildInput&) {});
    EXPECT_EQ(end.How, ChildEnd::Kind::NotStarted);
    EXPECT_EQ(end.Reason, "/nonexistent/ioq3ded: No such file or directory");
}

// Running, not only waiting to be reaped.
bool IsAlive(pid_t pid)
{
    std::string stat = test::ReadBytes("/proc/" + std::to_string(pid) + "/stat");
    std::size_t name = stat.rfind(')');
    return name != std::string::npos && name + 2 < stat.size() && stat[name + 2] != 'Z';
}

// A process the child leaves behind, cancelled or ended, goes with it.
TEST(RunChild, CancelledOrEndedTheWholeGroupGoes)
{
    for (bool cancel : {true, false}) {
        test::TempFolder folder;
        std::filesystem::path script = folder / "engine.sh";
        test::WriteBytes(script,
                         "#!/bin/sh\nsleep 30 &\necho $!\n" +
                             std::string(cancel ? "exec sleep 30\n" : "exit 0\n"));
        ::chmod(script.c_str(), 0700);
        ChildRequest request;
        request.Program = script;
        request.Deadline = std::chrono::steady_clock::now() + 5s;
        pid_t left = 0;
        request.Cancelled = [&left, cancel] {
            return cancel && left != 0;
        };
        ChildEnd end = RunChild(request, [&left](std::string_view line, ChildInput&) {
            left = std::stoi(std::string(line));
        });
        EXPECT_EQ(end.How, cancel ? ChildEnd::Kind::Cancelled : ChildEnd::Kind::Exited);
        ASSERT_GT(left, 0);
        // Killed; reaped by init once it is gone.
        for (int wait = 0; wait < 200 && IsAlive(left); ++wait) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_FALSE(IsAlive(left)) << cancel;
    }
}

// SIGTERM or SIGINT ending the program kills the child's group first.
TEST(RunChild, ASignalThatEndsTheProgramKillsTheChild)
{
    for (int signalNumber : {SIGTERM, SIGINT}) {
        test::TempFolder folder;
        std::filesystem::path script = folder / "engine.sh";
        test::WriteBytes(script, "#!/bin/sh\necho $$\nexec sleep 30\n");
        ::chmod(script.c_str(), 0700);
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        pid_t program = ::fork();
        ASSERT_GE(program, 0);
        if (program == 0) {
            ::close(pipeEnds[0]);
            ChildRequest request;
            request.Program = script;
            request.Deadline = std::chrono::steady_clock::now() + 10s;
            RunChild(request, [&](std::string_view line, ChildInput&) {
                std::string text = std::string(line) + "\n";
                if (::write(pipeEnds[1], text.data(), text.size()) < 0) {
                    std::_Exit(3);
                }
                ::raise(signalNumber);
            });
            std::_Exit(2); // not reached: the signal ends the program
        }
        ::close(pipeEnds[1]);
        std::string text;
        char c = 0;
        while (::read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
            text += c;
        }
        ::close(pipeEnds[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(program, &status, 0), program);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << signalNumber;
        ASSERT_FALSE(text.empty());
        EXPECT_FALSE(IsAlive(std::stoi(text))) << signalNumber;
    }
}

} // namespace
} // namespace twl
