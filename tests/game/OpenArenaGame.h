// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the engine tests share: OpenArena's installed game (Debian package
// openarena-server), its lists, and a try of bots in its engine.

#include "engine/TryInGame.h"
#include "services/Catalogues.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace twl::test {

inline const std::filesystem::path OpenArena = "/usr/lib/openarena-server";

// The catalogues with OpenArena's own bot and chat lists, read from the
// game as "Check baseq3" reads them: bots made with them name only lists
// the game has.
const Catalogues& OpenArenaCatalogues();

// The engine's own slip, not the bot's: "unknown random string X" for a
// list X that the game has. The engine draws a list's member with a random
// number that can be exactly 1, and then runs past the list's last member
// (about once in 32768 draws).
bool IsEngineSlip(const Finding& finding);

// Skips the test, saying why, when the game or its engine is not installed.
class GameTest : public testing::Test
{
protected:
    void SetUp() override;

    // The bots in OpenArena's engine at the skills; the run must finish.
    static TryVerdict Try(const TryBots& bots,
                          std::vector<double> skills = DefaultTrySkills(),
                          int playSeconds = 0,
                          GameFolders game = {OpenArena, "baseoa"},
                          std::string map = {});
};

} // namespace twl::test
