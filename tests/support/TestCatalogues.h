// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Settings.h"
#include "services/Catalogues.h"

#include <string>
#include <vector>

namespace twl::test {

// The catalogues of a first start: no user lists.
const Catalogues& FreshCatalogues();

// Settings with the author data that the file headers show.
Settings AuthorSettings();

// The skin names of a model, in order.
std::vector<std::string> SkinNames(const ModelEntry& model);

// The entry of that name (same capitals), or nothing.
const BotListEntry* FindBot(const BotList& bots, const std::string& name);

// The lines of a text as the bot file readers get them.
std::vector<std::string> Lines(const std::string& text);

} // namespace twl::test
