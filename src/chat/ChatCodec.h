// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chat/ChatCatalogue.h"

#include <string>

namespace twl {

// One chat line between the editor's form (text with {{LIST<n>}}, {WORD}
// and {POINTER} tokens) and the chat file's form (quoted texts, bare list
// and word-list names and pointer numbers, closed by ";"). The chat type
// decides which pointers a line may hold. Inside quoted texts a backslash
// is written "\\" and a double quote "\"", as the game's parser reads them.
//
// A bare name that is no list the editor knows (a random list of the game
// or of a mod, such as random_fighter) is a reference all the same: it reads
// as the token "{random_fighter}" and is written back as the same bare name.
// A variable of the message that the chat type has no button for stands as
// "{5}" and is written back as the variable it was.
// A list reference reads as the list's token only when that token is
// written back as the same name; otherwise ("TAUNT0" where the catalogue
// names member 0 "TAUNT") it stays a bare name.
// Blanks between the items and before the ";" do not matter, and a "//"
// comment after the ";" is read past. A line that is no sequence of items
// stays text. Both directions take time linear in the line's length.
std::string
EncodeChatLine(const std::string& text, std::size_t chatType, const ChatCatalogue& chat);
std::string
DecodeChatLine(const std::string& line, std::size_t chatType, const ChatCatalogue& chat);

} // namespace twl
