// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/OpenArenaGame.h"

#include "engine/EnginePrograms.h"
#include "pk3/GameArchives.h"
#include "services/GameFolderCheck.h"
#include "support/ScriptedMessages.h"
#include "support/TestCatalogues.h"

namespace twl::test {

const Catalogues& OpenArenaCatalogues()
{
    static const Catalogues catalogues = [] {
        Catalogues lists = FreshCatalogues();
        Settings settings;
        settings.Text(Settings::Q3Baseq3) = OpenArena.string();
        ScriptedMessages messages;
        CheckGameFolder(settings, lists, GameArchiveFolders(OpenArena), messages);
        return lists;
    }();
    return catalogues;
}

bool IsEngineSlip(const Finding& finding)
{
    const std::string unknown = "BotConstructChat: unknown random string ";
    return finding.Text.rfind(unknown, 0) == 0 &&
           OpenArenaCatalogues().Chat.HasList(finding.Text.substr(unknown.size()));
}

void GameTest::SetUp()
{
    std::error_code error;
    if (!std::filesystem::is_directory(OpenArena / "baseoa", error)) {
        GTEST_SKIP() << "OpenArena is not installed (Debian package openarena-server): the "
                        "engine tests need the game's engine and data";
    }
    if (!FindEngine(DefaultEngineSearch(OpenArena))) {
        GTEST_SKIP() << "No engine of the game is installed (Debian package "
                        "openarena-server): the engine tests need it";
    }
}

TryVerdict GameTest::Try(const TryBots& bots,
                         std::vector<double> skills,
                         int playSeconds,
                         GameFolders game,
                         std::string map)
{
    TryRequest request;
    request.Bots = bots;
    request.Skills = std::move(skills);
    request.PlaySeconds = playSeconds;
    request.Game = std::move(game);
    request.Map = std::move(map);
    request.TimeLimit = std::chrono::seconds(60 + playSeconds);
    TryVerdict verdict = TryInGame(request);
    EXPECT_TRUE(verdict.Result == TryVerdict::Outcome::Done ||
                verdict.Result == TryVerdict::Outcome::MapUnusable)
        << verdict.Problem;
    return verdict;
}

} // namespace twl::test
