// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EnginePrograms.h"
#include "engine/EngineRun.h"
#include "engine/TryInGame.h"
#include "support/TempFolder.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace twl {
namespace {

TEST(EngineRun, ANameGoesIntoACommandOnlyWhenTheConsoleKeepsItWhole)
{
    for (const char* name : {"Sarge", "Two Words", "é"}) {
        EXPECT_TRUE(CanAddByName(name)) << name;
    }
    for (const char* name : {"", "a\"b", "a;quit", "a\nquit", "a\x7F"}) {
        EXPECT_FALSE(CanAddByName(name)) << name;
    }
    EngineRunPlan plan{
        "twl-1", "oa_dm1", {{"Two Words", 4.5, "", 0}, {"Bob", 1, "", 0}, {"Cy", 2, "", 2}}, false};
    std::vector<std::string> configs = EngineConfigTexts(plan);
    ASSERT_EQ(configs.size(), 3u);
    EXPECT_NE(configs[0].find("devmap oa_dm1\n"
                              "echo twl-1 begin 0\naddbot \"Two Words\" 4.5\nkickbots\n"
                              "echo twl-1 begin 1\naddbot \"Bob\" 1\nkickbots\n"
                              "echo twl-1 level 0\n"),
              std::string::npos)
        << configs[0];
    EXPECT_EQ(configs[1], "devmap oa_dm1\necho twl-1 level 1\n");
    EXPECT_EQ(configs[2],
              "devmap oa_dm1\necho twl-1 begin 2\naddbot \"Cy\" 2\nkickbots\necho twl-1 level 2\n"
              "quit\n");
    // A match: the bots stay, a frame passes after every fourth, no quit.
    plan.Match = true;
    plan.Additions = {{"A", 1, "A@1", 0},
                      {"A", 2, "A@2", 0},
                      {"B", 1, "B@1", 0},
                      {"B", 2, "B@2", 0},
                      {"C", 1, "C@1", 0}};
    configs = EngineConfigTexts(plan);
    ASSERT_EQ(configs.size(), 1u);
    EXPECT_NE(configs[0].find("addbot \"B\" 2 free 0 \"B@2\"\nwait 2\n"
                              "echo twl-1 begin 4\naddbot \"C\" 1 free 0 \"C@1\"\n"
                              "echo twl-1 level 0\n"),
              std::string::npos)
        << configs[0];
    EXPECT_EQ(configs[0].find("kickbots"), std::string::npos);
    EXPECT_EQ(configs[0].find("quit"), std::string::npos);
}

void MakeProgram(const std::filesystem::path& path, bool executable)
{
    std::filesystem::create_directories(path.parent_path());
    test::WriteBytes(path, "#!/bin/sh\n");
    ::chmod(path.c_str(), executable ? 0755 : 0644);
}

TEST(FindEngine, GameFolderThenPathThenSystemFoldersEachInTheTablesOrder)
{
    test::TempFolder folder;
    EngineSearch search;
    search.GameFolder = folder / "game";
    search.PathVariable = (folder / "bin1").string() + "::" + (folder / "bin2").string();
    search.SystemFolders = {folder / "lib"};
    EXPECT_EQ(FindEngine(search), std::nullopt);
    MakeProgram(folder / "lib" / "ioquake3", true);
    EXPECT_EQ(FindEngine(search), folder / "lib" / "ioquake3");
    MakeProgram(folder / "bin2" / "openarena-server", true);
    EXPECT_EQ(FindEngine(search), folder / "bin2" / "openarena-server");
    MakeProgram(folder / "bin2" / "ioq3ded", true);
    EXPECT_EQ(FindEngine(search), folder / "bin2" / "ioq3ded");
    MakeProgram(folder / "bin1" / "quake3e", false);
    std::filesystem::create_directories(folder / "bin1" / "ioq3ded");
    EXPECT_EQ(FindEngine(search), folder / "bin2" / "ioq3ded");
    MakeProgram(folder / "game" / "quake3e.ded", true);
    EXPECT_EQ(FindEngine(search), folder / "game" / "quake3e.ded");
    // The game of a folder, and the one of the settings before OpenArena's.
    EXPECT_EQ(GameIn(folder / "game").BaseFolder, "baseq3");
    std::filesystem::create_directories(folder / "game" / "baseoa");
    test::WriteBytes(folder / "game" / "baseoa" / "pak0.pk3", "");
    test::WriteBytes(folder / "game" / "baseoa" / "qagamex86_64.so", "");
    EXPECT_EQ(GameIn(folder / "game").BaseFolder, "baseoa");
    Settings settings;
    settings.Text(Settings::Q3Baseq3) = (folder / "game").string();
    std::optional<GameFolders> game = DefaultTryGame(settings);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->GameFolder, folder / "game");
    EXPECT_EQ(game->BaseFolder, "baseoa");
}

TEST(CollectTryBots, TakesTheBotsAsCheckFindsThemWithTheirNames)
{
    test::TempFolder folder;
    std::filesystem::path bots = folder / "game" / "botfiles" / "bots";
    std::filesystem::create_directories(bots);
    std::filesystem::create_directories(folder / "game" / "scripts");
    for (const char* name : {"ann_c.c", "ann_t.c", "ann_w.c", "shared.h", "notes.txt", "bo_c.c"}) {
        test::WriteBytes(bots / name, "x");
    }
    test::WriteBytes(folder / "notes.txt", "x");
    test::WriteBytes(folder / "game" / "scripts" / "Ann.bot", "{ name Annie }\n{ name Ann2 }");
    test::WriteBytes(folder / "pak.pk3",
                     test::MakeStoredZip({{"botfiles/bots/cy_c.c", "x"},
                                          {"scripts/cy.bot", "{ name Cy }"},
                                          {"scripts/bots.txt", "{ name Dee }"}}));
    std::filesystem::create_directories(folder / "other");
    test::WriteBytes(folder / "other" / "pak.pk3",
                     test::MakeStoredZip({{"botfiles/bots/eve_c.c", "x"}}));
    TryBots tried = CollectTryBots({folder / "game",
                                    folder / "pak.pk3",
                                    folder / "other" / "pak.pk3",
                                    folder / "missing_c.c",
                                    folder / "notes.txt"});
    std::vector<std::string> names;
    for (const TryBot& bot : tried.Bots) {
        names.push_back(bot.Name + "=" + std::filesystem::path(bot.Shown).filename().string());
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Annie=Ann.bot",
                                        "Ann2=Ann.bot",
                                        "bo=bo_c.c",
                                        "Cy=cy.bot",
                                        "Dee=bots.txt",
                                        "eve=pak.pk3"}));
    std::vector<std::string> files;
    for (const TryFile& file : tried.Files) {
        files.push_back(file.GamePath);
    }
    EXPECT_EQ(files,
              (std::vector<std::string>{"botfiles/bots/ann_c.c",
                                        "botfiles/bots/ann_t.c",
                                        "botfiles/bots/ann_w.c",
                                        "botfiles/bots/bo_c.c",
                                        "botfiles/bots/shared.h",
                                        "scripts/Ann.bot",
                                        "pak.pk3",
                                        "z2-pak.pk3"}));
    ASSERT_EQ(tried.Problems.size(), 2u);
    EXPECT_NE(tried.Problems[0].find("No such file or directory"), std::string::npos);
    EXPECT_NE(tried.Problems[1].find("is no characteristic file"), std::string::npos);
}

// A try whose engine misbehaves, or that is asked the impossible, ends
// with the outcome and the words that say so; one that hangs, a second
// after its limit at most.
TEST(TryInGame, AnEngineThatFailsOrARequestOutOfRangeIsReported)
{
    struct Case
    {
        std::string Engine; // a /bin/sh script's body; empty: no such program
        std::vector<double> Skills;
        std::string Name;
        int PlaySeconds;
        TryVerdict::Outcome Result;
        std::string Problem;
    };

    const std::vector<Case> cases = {
        {"echo up; exec sleep 30",
         {1},
         "Bob",
         0,
         TryVerdict::Outcome::TimedOut,
         "The engine did not finish within the time limit of 1.0 s: it was stopped."},
        {"echo up; kill -SEGV $$",
         {1},
         "Bob",
         0,
         TryVerdict::Outcome::EngineFailed,
         "The engine crashed: signal 11 (SIGSEGV, Segmentation fault)."},
        {"yes 'line of output' | head -c 10000000; exit 1",
         {1},
         "Bob",
         0,
         TryVerdict::Outcome::EngineFailed,
         "The engine ended (exit status 1) before it had added every bot: it never read its "
         "commands."},
        {"", {1}, "Bob", 0, TryVerdict::Outcome::NotStarted, "The engine could not be started: "},
        {"exit 0",
         {0.5},
         "Bob",
         0,
         TryVerdict::Outcome::BadRequest,
         "The skill 0.5 is outside the game's range of 1 to 5."},
        {"exit 0",
         {},
         "Bob",
         0,
         TryVerdict::Outcome::BadRequest,
         "There is no skill to try the bots at."},
        {"exit 0",
         {1},
         "Bob",
         3601,
         TryVerdict::Outcome::BadRequest,
         "A match lasts 0 to 3600 seconds, not 3601."},
        {"exit 0",
         {1},
         "Bob\"; quit",
         0,
         TryVerdict::Outcome::BadRequest,
         "The bot name \"Bob\"; quit\" cannot be given to the game's console (a control "
         "character, a double quote or a semicolon)."},
    };
    for (const Case& test : cases) {
        test::TempFolder folder;
        std::filesystem::create_directories(folder / "game" / "baseoa");
        TryRequest request;
        request.Bots.Files = {{"botfiles/bots/bob_c.c", {}, std::string("x"), "bob_c.c"}};
        request.Bots.Bots = {{test.Name, "bob.bot"}};
        request.Skills = test.Skills;
        request.PlaySeconds = test.PlaySeconds;
        request.Game = {folder / "game", "baseoa"};
        request.Engine = folder / "engine.sh";
        if (!test.Engine.empty()) {
            MakeProgram(request.Engine, true);
            test::WriteBytes(request.Engine, "#!/bin/sh\n" + test.Engine + "\n");
        }
        // Only the engine that hangs meets the limit; the others end first.
        bool hangs = test.Result == TryVerdict::Outcome::TimedOut;
        request.TimeLimit = std::chrono::seconds(hangs ? 1 : 60);
        auto started = std::chrono::steady_clock::now();
        TryVerdict verdict = TryInGame(request);
        if (hangs) {
            EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
        }
        EXPECT_EQ(verdict.Result, test.Result) << test.Engine;
        EXPECT_EQ(verdict.Problem.substr(0, test.Problem.size()), test.Problem) << test.Engine;
        EXPECT_FALSE(verdict.AllLoaded());
        ASSERT_EQ(verdict.Bots.size(), 1u);
        EXPECT_EQ(verdict.Bots[0].Skills.size(), test.Skills.size());
    }
}

} // namespace
} // namespace twl
