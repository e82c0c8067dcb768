// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/Games.h"

#include "pk3/GameArchives.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace twl {
namespace {

using test::TempFolder;
using test::WriteBytes;

void MakeFile(const std::filesystem::path& path, bool executable = false)
{
    std::filesystem::create_directories(path.parent_path());
    WriteBytes(path, "x");
    ::chmod(path.c_str(), executable ? 0755 : 0644);
}

TEST(IdentifyGameFolder, TellsTheGameOfAFolder)
{
    TempFolder root;
    PlayerFolders players{root / "home", ""};
    MakeFile(root / "q3" / "baseq3" / "pak0.pk3");
    MakeFile(root / "oa" / "baseoa" / "pak0.pk3");
    MakeFile(root / "both" / "baseq3" / "a.pk3");
    MakeFile(root / "both" / "baseoa" / "b.pk3");
    std::filesystem::create_directories(root / "emptybase" / "baseq3");
    MakeFile(root / "engine" / "ioq3ded.x86_64", true);
    MakeFile(root / "oaengine" / "openarena.x86_64", true);
    MakeFile(root / "notexec" / "ioquake3", false);
    MakeFile(root / "windows" / "Quake3.exe");
    std::filesystem::create_directories(root / "home" / ".openarena" / "baseoa");

    struct Case
    {
        std::string Folder;
        const char* Base; // nullptr: no game folder
        std::string GameFolder;
        std::size_t Archives;
    };

    const std::string r = root.Path().string();
    const std::vector<Case> cases = {
        {r + "/q3", "baseq3", r + "/q3", 1},
        {r + "/oa", "baseoa", r + "/oa", 1},
        {r + "/oa/baseoa", "baseoa", r + "/oa", 1}, // the base folder itself chosen
        {r + "/both", "baseq3", r + "/both", 1},    // as the engine takes it
        {r + "/emptybase", nullptr, "", 0},
        {r + "/engine", "baseq3", r + "/engine", 0},
        {r + "/oaengine", "baseoa", r + "/oaengine", 0},
        {r + "/notexec", nullptr, "", 0},
        {r + "/windows", "baseq3", r + "/windows", 0},
        {r + "/home/.openarena", "baseoa", r + "/home/.openarena", 0},
        {r + "/missing", nullptr, "", 0},
        {"", nullptr, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Folder);
        std::optional<IdentifiedGameFolder> game = IdentifyGameFolder(c.Folder, players);
        ASSERT_EQ(game.has_value(), c.Base != nullptr);
        if (game) {
            EXPECT_EQ(game->Game->BaseFolder, c.Base);
            EXPECT_EQ(game->Folder, c.GameFolder);
            EXPECT_EQ(game->Archives, c.Archives);
        }
    }
}

TEST(GameArchiveFolders, AGamesOwnFoldersInTheGamesOrder)
{
    TempFolder root;
    GameSearch search;
    search.Root = root.Path();
    search.Players = PlayerFolders{root / "home", root / "data"};
    MakeFile(root / "usr/share/games/openarena/baseoa/pak0.pk3");
    std::filesystem::create_directories(root / "home/.openarena/baseoa");
    MakeFile(root / "q3/baseq3/pak0.pk3");
    std::filesystem::create_directories(root / "home/.q3a/baseq3");
    std::filesystem::create_directories(root / "data/Quake3/baseq3");

    // The player's own folder: the install's data, then the player's, even
    // when the player's folder holds archives of its own.
    MakeFile(root / "home/.openarena/baseoa/bot-Avg.pk3");
    EXPECT_EQ(GameArchiveFolders(root / "home/.openarena", search),
              (std::vector<std::filesystem::path>{root / "usr/share/games/openarena/baseoa",
                                                  root / "home/.openarena/baseoa"}));
    EXPECT_EQ(GameArchiveFolders(root / "usr/share/games/openarena", search),
              (std::vector<std::filesystem::path>{root / "usr/share/games/openarena/baseoa",
                                                  root / "home/.openarena/baseoa"}));
    EXPECT_EQ(GameArchiveFolders(root / "q3", search),
              (std::vector<std::filesystem::path>{
                  root / "q3/baseq3", root / "home/.q3a/baseq3", root / "data/Quake3/baseq3"}));
    EXPECT_EQ(PlayerGameFolder(root / "q3", search.Players), root / "home/.q3a/baseq3");
    EXPECT_EQ(PlayerGameFolder(root / "nothing", search.Players), std::filesystem::path());
}

TEST(FindGames, LooksInTheUsualPlacesAndNamesEachGameOnce)
{
    TempFolder root;
    GameSearch search;
    search.Root = root.Path();
    search.Players = PlayerFolders{root / "home", ""};
    // Debian's data and its server's folder, whose archives link to the data.
    MakeFile(root / "usr/share/games/openarena/baseoa/pak0.pk3");
    std::filesystem::create_directories(root / "usr/lib/openarena-server/baseoa");
    std::filesystem::create_symlink(root / "usr/share/games/openarena/baseoa/pak0.pk3",
                                    root / "usr/lib/openarena-server/baseoa/pak0.pk3");
    // A copy under /opt, one in a Steam library named by Steam's list, and
    // players' folders with archives of their own, which belong to the
    // installs of their games found before.
    MakeFile(root / "opt/games/q3/baseq3/pak0.pk3");
    std::filesystem::create_directories(root / "home/.steam/steam/steamapps");
    WriteBytes(root / "home/.steam/steam/steamapps/libraryfolders.vdf",
               "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + (root / "lib").string() +
                   "\"\n\t}\n}\n");
    MakeFile(root / "lib/steamapps/common/Quake 3 Arena/baseq3/pak0.pk3");
    MakeFile(root / "home/.q3a/baseq3/pak9.pk3");
    MakeFile(root / "home/.openarena/baseoa/bot-Avg.pk3");

    std::vector<FoundGame> games = FindGames(search);
    std::vector<std::string> found;
    for (const FoundGame& game : games) {
        found.push_back(game.Where.Game->BaseFolder + " " +
                        std::filesystem::relative(game.Where.Folder, root.Path()).string());
    }
    EXPECT_EQ(found,
              (std::vector<std::string>{"baseoa usr/share/games/openarena",
                                        "baseq3 opt/games/q3",
                                        "baseq3 lib/steamapps/common/Quake 3 Arena"}));
    ASSERT_FALSE(games.empty());
    EXPECT_EQ(games[0].PlayerBase, root / "home/.openarena/baseoa");
}

} // namespace
} // namespace twl
