// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/BotCheck.h"
#include "services/Catalogues.h"

#include <string>
#include <vector>

namespace twl {

// A finding as the list shows it: "error: <file>:<line>: <text>".
std::string FindingLine(const Finding& finding);

// What line `line` (from 1) of a bot file that the program wrote concerns,
// so that a finding of the game's engine at that line leads to its control:
// a characteristic of a skill block (_c.c), a weight (_w.c, _i.c), a chat
// message (_t.c) or a value of the script (.bot). Nothing in particular
// for another line. `gamePath` is the file's path as the game finds it.
CheckPlace PlaceOfLine(const std::string& gamePath,
                       const std::vector<std::string>& lines,
                       int line,
                       const Catalogues& catalogues);

} // namespace twl
