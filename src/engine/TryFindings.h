// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TryInGame.h"
#include "services/Catalogues.h"

#include <vector>

namespace twl {

// A try's verdict as the editor lists it, one finding a line: a run that
// did not finish says why (with the engine's last lines); then for each bot
// what the engine said at its skills, an error or warning said at several
// skills once with the skills named, each at the place of the tried bot's
// files it concerns (so that it leads to its control); a note a skill
// ("in the game", or why not); in a match, the bot's frags and deaths and
// the lines it said.
std::vector<Finding>
TryFindings(const TryVerdict& verdict, const TryBots& bots, const Catalogues& catalogues);

} // namespace twl
