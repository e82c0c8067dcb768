// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chat/ChatCatalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twl {

// One random list of the game's botfiles/rnd.c: a name ("HELLO3",
// "fighter") and how many messages it offers.
struct RandomList
{
    std::string Name;
    int Messages = 0;
};

// The game's rnd.c as the game's bot library reads it: "NAME = { message;
// message; }" blocks, a message being quoted texts, variables (whole
// numbers) and list names joined by "," and closed by ";". The game drops
// the whole file at the first thing it cannot read: then `Problem` says
// what and where ("line 12: ...") and `Lists` holds what came before it. A
// name given twice counts as the game counts it: the first one.
struct RandomListsRead
{
    std::vector<RandomList> Lists;
    std::optional<std::string> Problem;
};

RandomListsRead ReadRandomLists(std::string_view text);

// Makes the chat vocabulary that of the game `gameName` whose rnd.c holds
// `lists` (a list without messages counts as missing, as the game finds
// nothing in it): each chat list of the tables gets the members the game
// has and the game's spelling of member 0 ("HELLO" or "HELLO0"); the game's
// other lists become GameOnlyChatLists and GameOnlyWordLists.
void ApplyGameRandomLists(ChatCatalogue& chat,
                          const std::string& gameName,
                          const std::vector<RandomList>& lists);

} // namespace twl
