// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/TempFolder.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace twl {
namespace {

TEST(PrivateTempFolder, IsPrivateAndGoesAway)
{
    std::filesystem::path path;
    {
        PrivateTempFolder temp;
        path = temp.Path();
        ASSERT_FALSE(path.empty());
        struct stat info = {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        test::WriteBytes(path / "left.txt", "x");
        PrivateTempFolder other;
        EXPECT_NE(other.Path(), path);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PrivateTempFolder, GoesAwayWhenASignalEndsTheProgram)
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP, SIGABRT}) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            // Two folders at once, one with folders in it (as the engine's
            // home): both go.
            PrivateTempFolder first;
            PrivateTempFolder temp;
            test::WriteBytes(first.Path() / "bot_c.c", "x");
            std::filesystem::create_directories(temp.Path() / "baseoa" / "botfiles" / "bots");
            test::WriteBytes(temp.Path() / "baseoa" / "botfiles" / "bots" / "bot_t.c", "y");
            test::WriteBytes(temp.Path() / "baseoa" / "games.log", "z");
            std::string path = first.Path().string() + "\n" + temp.Path().string() + "\n";
            if (::write(pipeEnds[1], path.data(), path.size()) < 0) {
                std::_Exit(3);
            }
            ::raise(signalNumber);
            std::_Exit(2); // not reached: the signal ends the program
        }
        ::close(pipeEnds[1]);
        std::vector<std::string> paths(1);
        char c = 0;
        while (::read(pipeEnds[0], &c, 1) == 1) {
            if (c == '\n') {
                paths.emplace_back();
            } else {
                paths.back() += c;
            }
        }
        paths.pop_back();
        ::close(pipeEnds[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status)) << signalNumber;
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        ASSERT_EQ(paths.size(), 2u);
        for (const std::string& path : paths) {
            ASSERT_FALSE(path.empty());
            EXPECT_FALSE(std::filesystem::exists(path)) << signalNumber;
        }
    }
}

} // namespace
} // namespace twl
