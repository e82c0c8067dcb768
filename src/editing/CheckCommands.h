// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/FindingPlaces.h"
#include "editing/BotEditor.h"

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

// The findings of the bot being edited, as "Make bot files" would write it.
std::vector<Finding> CheckThisBot(const BotEditor& editor);

// Before "Make bot files": with errors, the user is asked whether to make
// the files anyway. True when they may be made.
bool MayMakeWithFindings(BotEditor& editor, const std::vector<Finding>& findings);

} // namespace twl
