// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/BotCheck.h"
#include "session/BotEditor.h"

#include <string>
#include <vector>

namespace twl {

// Where the window shows what a finding concerns: the page (0 to 7, -1 for
// the general properties beside the pages), the control's name, and for a
// chat line its chat type and line.
struct FindingTarget
{
    int Page = -1;
    std::string Control; // empty: nothing in particular
    int ChatGroup = -1;
    int ChatLine = -1;
};

FindingTarget TargetOf(const CheckPlace& place);

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

// The findings of the bot being edited, as "Make bot files" would write it.
std::vector<Finding> CheckThisBot(const BotEditor& editor);

// Before "Make bot files": with errors, the user is asked whether to make
// the files anyway. True when they may be made.
bool MayMakeWithFindings(BotEditor& editor, const std::vector<Finding>& findings);

} // namespace twl
